#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "chartable/TableHistory.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"
#include "editor/GlyphOps.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTransform>

namespace {
// The glyph tools and, in a glyph of 20 x 20, where each dot of their result comes from.
using T = QTransform;
const QMap<QString, T> tools{
    {"flip horizontal", T(-1, 0, 0, 1, 19, 0)}, {"flip vertical", T(1, 0, 0, -1, 0, 19)},
    {"rotate right", T(0, -1, 1, 0, 0, 19)},    {"move up", T(1, 0, 0, 1, 0, 1)},
    {"move down", T(1, 0, 0, 1, 0, -1)},        {"move left", T(1, 0, 0, 1, 1, 0)},
    {"move right", T(1, 0, 0, 1, -1, 0)},
};
} // namespace

class TestForm1History : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void steps_data();
    void steps();
    void undoMovesToTheCodeOfTheStep();
    void copyAndPasteBetweenCodes();
    void textBoxKeepsTheKeys();

private:
    QPoint dotCentre(int x, int y) const;
    // The grid shows the current glyph of the panel's page, dot for dot: its colour, or the
    // reference's where it is clear and the reference is shown.
    void verifyGridShowsTheTable();
};

void TestForm1History::init()
{
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->store().setPage(0, SampleTable::make());
    m_form->char_ = 65;
    m_form->drawGrid();
}

void TestForm1History::cleanup()
{
    destroyForm();
}

QPoint TestForm1History::dotCentre(int x, int y) const
{
    return QPoint(m_form->ofsX + m_form->nX * x + m_form->nX / 2,
                  m_form->ofsY + m_form->nY * y + m_form->nY / 2);
}

void TestForm1History::verifyGridShowsTheTable()
{
    const Form1& f = *m_form;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb dot = f.PictureBuf->image().pixel(f.bufX + x, f.bufY + y);
            const bool reference = f.CheckRefChar->isChecked() && !CharTable::isSetColour(dot);
            QCOMPARE(*f.PictureDOT->pixel(dotCentre(x, y)),
                     reference ? f.refCanvas->image().pixel(dotCentre(x, y)) : dot);
        }
    }
}

void TestForm1History::steps_data()
{
    // A button's caption, "paint" (a stroke), "reference" (a stroke of the right button with
    // the reference shown) or "load"; or a tool's.
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("yes"); // the answer to the question, where one is asked
    QTest::addColumn<int>("steps");

    QTest::newRow("a stroke across many dots") << "paint" << false << 1;
    for (const QString& button : tools.keys() + QStringList{"Fil", "Clr", "Rev", "AllRev"})
        QTest::newRow(qPrintable(button)) << button << false << 1;
    QTest::newRow("AllClr") << "AllClr" << true << 1;
    QTest::newRow("AllFil") << "AllFil" << true << 1;
    QTest::newRow("AllFil answered No") << "AllFil" << false << 0;
    QTest::newRow("a table load") << "load" << false << 1;
    // Rows named 82A0 work at that double-byte code: on its page of the store, the single-byte
    // table untouched; the whole-table buttons ask about the page by its name, AllRev too.
    for (const QString& step :
         tools.keys() + QStringList{"paint", "reference", "Fil", "Clr", "Rev", "AllClr", "AllRev"})
        QTest::newRow(qPrintable(QStringLiteral("82A0 ") + step)) << step << true << 1;
    QTest::newRow("82A0 AllRev answered No") << "AllRev" << false << 0;
}

void TestForm1History::steps()
{
    QFETCH(QString, step);
    QFETCH(bool, yes);
    QFETCH(int, steps);
    Form1& f = *m_form;
    const int code = QByteArray(QTest::currentDataTag()).startsWith("82A0") ? 0x82A0 : 65;
    if (code != 65) {
        f.store().setPage(GlyphStore::pageOf(code), SampleTable::make());
        if (step == QStringLiteral("reference")) // the stroke clears set dots
            CharTable::fillRect(f.store().pageForWrite(GlyphStore::pageOf(code)),
                                GlyphStore::cellRect(code), CharTable::SetColour);
        f.goToCode(code);
        f.CheckRefChar->setChecked(step == QStringLiteral("reference"));
    }
    QVERIFY(!f.mnuundo->isEnabled());
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo"));

    const QImage before = f.PictureBuf->image().copy();
    if (step == QStringLiteral("paint") || step == QStringLiteral("reference")) {
        // Over set and clear dots, and a jump: one press to one release.
        const Qt::MouseButton button =
            step == QStringLiteral("paint") ? Qt::LeftButton : Qt::RightButton;
        QTest::mousePress(f.PictureDOT, button, {}, dotCentre(0, 0));
        for (int x = 1; x < 12; ++x)
            QTest::mouseMove(f.PictureDOT, dotCentre(x, x));
        QTest::mouseMove(f.PictureDOT, dotCentre(2, 17));
        QTest::mouseRelease(f.PictureDOT, button, {}, dotCentre(2, 17));
        verifyGridShowsTheTable();
        step = QStringLiteral("paint");
    } else if (step == QStringLiteral("load")) {
        QImage file = CharTable::blank();
        file.setPixel(f.bufX, f.bufY, CharTable::SetColour);
        QVERIFY(TableFile::write(file, QStringLiteral("table.bmp")));
        QVERIFY(f.loadTable(QStringLiteral("table.bmp")));
    } else if (tools.contains(step)) {
        // By its keys, rotate right once the glyph is square.
        QVERIFY(!f.mnurotate->isEnabled());
        f.SliderDotX->setValue(20);
        const QImage glyph = f.store().glyph(code, QSize(20, 20));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        for (const QAction* item : f.mnuedit->actions())
            if (item->text() == step)
                QTest::keySequence(f.PictureDOT, item->shortcut());
        for (int i = 0; i < 400; ++i) {
            const QPoint dot(i % 20, i / 20), from = tools[step].map(dot);
            QCOMPARE(f.store().glyph(code, QSize(20, 20)).pixel(dot),
                     glyph.valid(from) ? glyph.pixel(from) : 0xffffffff);
        }
    } else {
        m_prompt.answer({yes});
        for (QPushButton* button : f.findChildren<QPushButton*>())
            if (button->text() == step)
                QTest::mouseClick(button, Qt::LeftButton);
    }
    const QImage after = f.PictureBuf->image().copy();
    QCOMPARE(after, f.store().page(GlyphStore::pageOf(code)));
    QCOMPARE(f.history().count(), steps);
    if (code > 0xFF) {
        QCOMPARE(f.store().page(0), SampleTable::make());
        if (step.startsWith(QStringLiteral("All")))
            QVERIFY(m_prompt.questions().value(0).startsWith(QStringLiteral("82xx ")));
    }
    QCOMPARE(f.mnuundo->isEnabled(), steps > 0);
    if (steps == 0) {
        QCOMPARE(after, before);
        return;
    }
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo ") + step);

    f.mnuundo->trigger();
    QCOMPARE(f.PictureBuf->image(), before);
    verifyGridShowsTheTable();
    QVERIFY(!f.mnuundo->isEnabled());
    QCOMPARE(f.mnuredo->text(), QStringLiteral("redo ") + step);

    f.mnuredo->trigger();
    QCOMPARE(f.PictureBuf->image(), after);
    verifyGridShowsTheTable();
    QVERIFY(!f.mnuredo->isEnabled());
    QCOMPARE(f.char_, code);
}

void TestForm1History::undoMovesToTheCodeOfTheStep()
{
    Form1& f = *m_form;
    f.CommandFill_Click();
    f.goToCode(70);
    f.CommandClear_Click();
    f.goToCode(0x889F);
    f.CommandFill_Click();
    f.goToCode(90);

    // Each step is shown at its code, its page in the panel, and the font server follows as
    // for a table click.
    const std::pair<QAction*, int> walk[]{{f.mnuundo, 0x889F}, {f.mnuundo, 70},
                                          {f.mnuundo, 65},     {f.mnuredo, 65},
                                          {f.mnuredo, 70},     {f.mnuredo, 0x889F}};
    for (const auto& [item, code] : walk) {
        item->trigger();
        QCOMPARE(f.char_, code);
        QCOMPARE(f.currentPage(), GlyphStore::pageOf(code));
        QCOMPARE(f.TextCode->text(), QString::number(code, 16).toUpper());
        QCOMPARE(m_ttedit->currentCode(), code);
        verifyGridShowsTheTable();
    }
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1History::textBoxKeepsTheKeys()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.CommandFill_Click();
    const QKeySequence keys[]{QKeySequence(Qt::CTRL | Qt::Key_Z),
                              QKeySequence(Qt::CTRL | Qt::Key_Y),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    // In a text box with the focus the keys are the box's own; anywhere else they take the
    // step back and make it again.
    f.TextCode->setFocus();
    for (const QKeySequence& k : keys)
        QTest::keySequence(f.TextCode, k);
    for (const QAction* item : f.mnuedit->actions()) // the glyph tools' keys too
        if (item->shortcut()[0].keyboardModifiers() & (Qt::ShiftModifier | Qt::AltModifier))
            QTest::keySequence(f.TextCode, item->shortcut());
    QCOMPARE(f.history().index(), 1);
    QCOMPARE(f.char_, 65);
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(2, 2)); // takes the focus
    for (int i : {0, 1, 0, 2}) {
        QTest::keySequence(f.PictureDOT, keys[i]);
        QCOMPARE(f.history().index(), i == 0 ? 0 : 1);
    }
    // Shift+H types an H into the character box, which goes to its code.
    f.TextChar->setFocus();
    f.TextChar->selectAll();
    QTest::keyClick(f.TextChar, 'H', Qt::ShiftModifier);
    QCOMPARE(f.char_, 0x48);
    QCOMPARE(f.history().index(), 1);
}

void TestForm1History::copyAndPasteBetweenCodes()
{
    // Through the real clipboard, as a picture and as text art, which other programs take too;
    // then a picture drawn elsewhere, whose dark opaque pixels are dots.
    Form1& f = *m_form;
    const QSize size(12, 20);
    const QImage a = f.store().glyph(65, size);
    f.mnucopyglyph->trigger();
    QClipboard* clipboard = QGuiApplication::clipboard();
    QCOMPARE(clipboard->text(), GlyphOps::toText(a));
    f.goToCode(0x82A0);
    f.mnupasteglyph->trigger();
    QCOMPARE(GlyphOps::toText(f.store().glyph(0x82A0, size)), GlyphOps::toText(a));
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(3, 1, qRgb(60, 60, 60));
    clipboard->setImage(picture);
    f.mnupasteglyph->trigger();
    QCOMPARE(f.store().glyph(0x82A0, size),
             *GlyphOps::fromText(QStringLiteral("....\n...#"), size));
    clipboard->setText(QStringLiteral("hello")); // no glyph: nothing changes, which is told
    f.mnupasteglyph->trigger();
    QCOMPARE(f.history().count(), 2);
    QCOMPARE(m_prompt.messages().size(), 1);
}

QTEST_MAIN(TestForm1History)
#include "tst_form1history.moc"

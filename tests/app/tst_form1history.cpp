#include "chartable/CharTable.h"
#include "chartable/TableHistory.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {
constexpr QRgb Black = 0xff000000;
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
    void textBoxKeepsTheKeys();
    void loadIsOneStep();

private:
    QPoint dotCentre(int x, int y) const;
    // The grid shows the current glyph of the table, dot for dot.
    void verifyGridShowsTheTable();
};

void TestForm1History::init()
{
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->PictureBuf->image() = SampleTable::make();
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
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 12; ++x)
            QCOMPARE(*f.PictureDOT->pixel(dotCentre(x, y)),
                     f.PictureBuf->image().pixel(f.bufX + x, f.bufY + y));
}

void TestForm1History::steps_data()
{
    QTest::addColumn<QString>("step"); // a button's name, or "paint" for a stroke
    QTest::addColumn<bool>("yes");     // the answer to the question, where one is asked
    QTest::addColumn<int>("steps");

    QTest::newRow("a stroke across many dots") << "paint" << false << 1;
    for (const char* button : {"Fil", "Clr", "Rev", "AllRev"})
        QTest::newRow(button) << button << false << 1;
    QTest::newRow("AllClr") << "AllClr" << true << 1;
    QTest::newRow("AllFil") << "AllFil" << true << 1;
    QTest::newRow("AllFil answered No") << "AllFil" << false << 0;
}

void TestForm1History::steps()
{
    QFETCH(QString, step);
    QFETCH(bool, yes);
    QFETCH(int, steps);
    Form1& f = *m_form;
    QVERIFY(!f.mnuundo->isEnabled());
    QVERIFY(!f.mnuredo->isEnabled());
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo"));

    const QImage before = f.PictureBuf->image().copy();
    if (step == QStringLiteral("paint")) {
        // Over set and clear dots, a jump, the Ctrl brush: one press to one release.
        QTest::mousePress(f.PictureDOT, Qt::LeftButton, {}, dotCentre(0, 0));
        for (int x = 1; x < 12; ++x)
            QTest::mouseMove(f.PictureDOT, dotCentre(x, x));
        QTest::mouseMove(f.PictureDOT, dotCentre(2, 17));
        QTest::mouseRelease(f.PictureDOT, Qt::LeftButton, {}, dotCentre(2, 17));
    } else {
        m_prompt.answer({yes});
        const auto buttons = f.findChildren<QPushButton*>();
        const auto button = std::find_if(buttons.begin(), buttons.end(),
                                         [&](QPushButton* b) { return b->text() == step; });
        QTest::mouseClick(*button, Qt::LeftButton);
    }
    const QImage after = f.PictureBuf->image().copy();
    QCOMPARE(f.history().count(), steps);
    if (steps == 0) {
        QCOMPARE(after, before);
        QVERIFY(!f.mnuundo->isEnabled());
        return;
    }
    QVERIFY(after != before);
    QVERIFY(f.mnuundo->isEnabled());
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo ") + step);

    f.mnuundo->trigger();
    QCOMPARE(f.PictureBuf->image(), before);
    verifyGridShowsTheTable();
    QVERIFY(!f.mnuundo->isEnabled());
    QVERIFY(f.mnuredo->isEnabled());
    QCOMPARE(f.mnuredo->text(), QStringLiteral("redo ") + step);

    f.mnuredo->trigger();
    QCOMPARE(f.PictureBuf->image(), after);
    verifyGridShowsTheTable();
    QVERIFY(!f.mnuredo->isEnabled());
    QCOMPARE(f.char_, 65);
}

void TestForm1History::undoMovesToTheCodeOfTheStep()
{
    Form1& f = *m_form;
    f.CommandFill_Click();
    const QImage filled = f.PictureBuf->image().copy();
    f.goToCode(70);
    QCOMPARE(m_ttedit->currentCode(), 70);
    f.CommandClear_Click();
    f.goToCode(90);

    // Each step is shown at its code, and the font server follows as it does a table click.
    f.mnuundo->trigger();
    QCOMPARE(f.char_, 70);
    QCOMPARE(f.TextCode->text(), QStringLiteral("46"));
    QCOMPARE(m_ttedit->currentCode(), 70);
    QCOMPARE(f.PictureBuf->image(), filled);
    verifyGridShowsTheTable();
    f.mnuundo->trigger();
    QCOMPARE(f.char_, 65);
    QCOMPARE(m_ttedit->currentCode(), 65);
    verifyGridShowsTheTable();
    f.mnuredo->trigger();
    QCOMPARE(f.PictureBuf->image(), filled);
    QCOMPARE(f.char_, 65);
    f.mnuredo->trigger();
    QCOMPARE(f.char_, 70);
    QCOMPARE(*f.PictureDOT->pixel(dotCentre(0, 0)), 0xffffffff);
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1History::textBoxKeepsTheKeys()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.CommandFill_Click();
    const QImage filled = f.PictureBuf->image().copy();

    // In a text box with the focus the keys are the box's own.
    for (QLineEdit* box : {f.TextFace, f.TextLSB}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("7"));
        for (const QKeySequence& keys :
             {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
            QTest::keySequence(box, keys);
        QCOMPARE(f.PictureBuf->image(), filled);
        QCOMPARE(f.history().index(), 1);
    }

    // Anywhere else they take the step back and make it again.
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(2, 2)); // takes the focus
    QTest::keySequence(f.PictureDOT, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.history().index(), 0);
    QTest::keySequence(f.PictureDOT, QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(f.PictureBuf->image(), filled);
    QTest::keySequence(f.PictureDOT, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QTest::keySequence(f.PictureDOT, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QCOMPARE(f.history().index(), 1);
}

void TestForm1History::loadIsOneStep()
{
    Form1& f = *m_form;
    const QImage before = f.PictureBuf->image().copy();
    QImage loaded = CharTable::blank();
    loaded.setPixel(f.bufX, f.bufY, Black);
    f.PictureBuf->image() = loaded;
    f.tableLoaded(before);
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo load"));
    f.mnuundo->trigger();
    QCOMPARE(f.PictureBuf->image(), before);
    verifyGridShowsTheTable();
    f.mnuredo->trigger();
    QCOMPARE(f.PictureBuf->image(), loaded);
}

QTEST_MAIN(TestForm1History)
#include "tst_form1history.moc"

#include "chartable/CharTable.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Red = 0xffff0000;
} // namespace

class TestForm1Table : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wholeTable_data();
    void wholeTable();
    void fillThenInvertGivesWhite();
    void invertTwiceRestores();
    void gridLinesStay();
    void panelWidth();
    void menuTogglesThePanel();
    void ctrlCTogglesOutsideTextBoxes();
    void ctrlCInATextBoxCopies();

private:
    QRgb canvasDot(int x, int y) const;
};

void TestForm1Table::init()
{
    // A font is open: the code boxes ask nothing.
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->PictureBuf->image() = SampleTable::make();
    m_form->drawGrid();
}

void TestForm1Table::cleanup()
{
    destroyForm();
}

QRgb TestForm1Table::canvasDot(int x, int y) const
{
    const Form1& f = *m_form;
    return *f.PictureDOT->pixel(QPoint(f.ofsX + f.nX * x + 1, f.ofsY + f.nY * y + 1));
}

void TestForm1Table::wholeTable_data()
{
    QTest::addColumn<int>("button"); // 0 AllClr, 1 AllFil, 2 AllRev
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("result"); // 0 unchanged, 1 all white, 2 all black, 3 inverted

    const QString clear = QStringLiteral("すべての文字をクリアしても良いですか？");
    const QString fill = QStringLiteral("すべての文字をフィルしても良いですか？");
    QTest::newRow("AllClr yes") << 0 << clear << true << 1;
    QTest::newRow("AllClr no") << 0 << clear << false << 0;
    QTest::newRow("AllFil yes") << 1 << fill << true << 2;
    QTest::newRow("AllFil no") << 1 << fill << false << 0;
    QTest::newRow("AllRev asks nothing") << 2 << QString() << false << 3;
}

void TestForm1Table::wholeTable()
{
    QFETCH(int, button);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    QFETCH(int, result);
    Form1& f = *m_form;

    QPushButton* target = QList{f.CommandAllClear, f.CommandAllFill, f.CommandAllRev}.at(button);

    const QImage before = f.PictureBuf->image().copy();
    QImage expected;
    switch (result) {
    case 0:
        expected = before;
        break;
    case 1:
        expected = CharTable::blank();
        break;
    case 2:
        expected = CharTable::blank();
        expected.fill(Black);
        break;
    default:
        expected = before.copy();
        expected.invertPixels(QImage::InvertRgb);
        break;
    }

    m_prompt.answer({yes});
    QTest::mouseClick(target, Qt::LeftButton);

    if (question.isEmpty()) {
        QVERIFY(m_prompt.shown().isEmpty());
    } else {
        QCOMPARE(m_prompt.questions(), QStringList{question});
        QVERIFY(!m_prompt.shown().first().systemModal);
        QVERIFY(m_prompt.messages().isEmpty());
    }
    QCOMPARE(f.PictureBuf->image(), expected);
    // The grid shows the current glyph of the changed table.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb cell = expected.pixel(f.bufX + x, f.bufY + y);
            QCOMPARE(canvasDot(x, y), cell);
        }
    }
}

void TestForm1Table::fillThenInvertGivesWhite()
{
    Form1& f = *m_form;
    m_prompt.answer({true});
    f.CommandAllFill_Click();
    QCOMPARE(canvasDot(0, 0), Black);
    f.CommandAllRev_Click();
    QCOMPARE(f.PictureBuf->image(), CharTable::blank());
    QCOMPARE(canvasDot(0, 0), White);
    QCOMPARE(canvasDot(11, 19), White);
}

void TestForm1Table::invertTwiceRestores()
{
    Form1& f = *m_form;
    const QImage before = f.PictureBuf->image().copy();
    f.CommandAllRev_Click();
    QVERIFY(f.PictureBuf->image() != before);
    f.CommandAllRev_Click();
    QCOMPARE(f.PictureBuf->image(), before);
}

void TestForm1Table::gridLinesStay()
{
    Form1& f = *m_form;
    // None of the three rebuilds the grid: a mark in the margin survives.
    f.PictureDOT->setPixel(QPoint(20, 20), Red);
    m_prompt.answer({true, true});
    f.CommandAllFill_Click();
    f.CommandAllClear_Click();
    f.CommandAllRev_Click();
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), Red);
    QVERIFY(!f.bRedraw);
}

void TestForm1Table::panelWidth()
{
    Form1& f = *m_form;
    const QList<QWidget*> panel{f.CommandAllClear, f.CommandAllFill,  f.CommandAllRev,
                                f.LabelCurChar,    f.TextBufFileName, f.CommandSave,
                                f.CheckAutoSave,   f.PictureBuf};
    QCOMPARE(f.centralWidget()->width(), Form1::ClientWidth);
    QCOMPARE(f.width(), Form1::ClientWidth);
    for (QWidget* w : panel)
        QVERIFY(w->isVisible());

    QTest::mouseClick(f.CheckChrTbl, Qt::LeftButton);
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    QCOMPARE(f.centralWidget()->height(), Form1::ClientHeight);
    for (QWidget* w : panel)
        QVERIFY2(!w->isVisible(), qPrintable(w->metaObject()->className()));
    // The editor part is whole: its right-most controls end inside the narrow window.
    for (QWidget* w : {static_cast<QWidget*>(f.PictureDOT), static_cast<QWidget*>(f.CommandRev),
                       static_cast<QWidget*>(f.TextFace)}) {
        QVERIFY(w->isVisible());
        QVERIFY(w->geometry().right() < Form1::EditorWidth);
    }

    QTest::mouseClick(f.CheckChrTbl, Qt::LeftButton);
    QCOMPARE(f.width(), Form1::ClientWidth);
    for (QWidget* w : panel)
        QVERIFY(w->isVisible());
    // Right edge of the widest panel control inside the window.
    QVERIFY(f.CommandAllRev->geometry().right() < Form1::ClientWidth);
    QVERIFY(f.PictureBuf->geometry().right() < Form1::ClientWidth);
}

void TestForm1Table::menuTogglesThePanel()
{
    Form1& f = *m_form;
    QVERIFY(f.mnutable->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_C));
    f.mnutable->trigger();
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    f.mnutable->trigger();
    QVERIFY(f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::ClientWidth);
    // Applying the box again changes nothing.
    f.CheckChrTbl_Click();
    QCOMPARE(f.width(), Form1::ClientWidth);
}

void TestForm1Table::ctrlCTogglesOutsideTextBoxes()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(2, 2)); // takes the focus
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.PictureDOT));
    QTest::keyClick(f.PictureDOT, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    QTest::keyClick(f.PictureDOT, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(f.CheckChrTbl->isChecked());
}

void TestForm1Table::ctrlCInATextBoxCopies()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.TextFace->setText(QStringLiteral("Liberation Sans"));
    f.TextFace->setFocus();
    f.TextFace->selectAll();
    QTest::keyClick(f.TextFace, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::ClientWidth);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Liberation Sans"));
}

QTEST_MAIN(TestForm1Table)
#include "tst_form1table.moc"

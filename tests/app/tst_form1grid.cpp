#include "chartable/CharTable.h"
#include "codes/Cp932.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Grey = 0xffc8c8c8;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;
} // namespace

class TestForm1Grid : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstDrawBuildsTheGrid();
    void dotsOnlyRedrawKeepsTheGridLines();
    void redrawShowsTheCell();
    void onlyExactBlackIsASetDot();
    void updateChr_data();
    void updateChr();
    void guardsKeepTheSourceBox();
    void userScrollRedraws();
    void programValueDoesNotRedraw();
    void squareOption();
    void baselineOverTheGrid();

    void clickSetsOneDot();
    void dragPaintsWhereTheMouseWas();
    void rightButtonClears();
    void brush_data();
    void brush();
    void bothButtonsOrMiddlePaintNothing();
    void gridLineHitsTheCellBefore_data();
    void gridLineHitsTheCellBefore();
    void outsideTheGridNothing_data();
    void outsideTheGridNothing();
    void paintingASetDotAgainWritesNothing();
    void moveWithoutButtonChangesNothing();
    void codeBeyondTheTablePaintsButDoesNotStore();

    void fillClearInvert();
    void invertFlipsEveryColourBit();
    void cellOutsideTheGlyphIsKept();

    void referenceShowsThroughErasedDots();
    void referenceWithoutCanvasCountsAsOff();

private:
    // Position of the centre of dot (x, y) on PictureDOT.
    QPoint dotCentre(int x, int y) const;
    QRgb canvasDot(int x, int y) const;
    bool tableDot(int x, int y) const;
    int setDotsInCell() const;
    QString setDotsText() const;
    void clickDot(int x, int y, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {});
};

void TestForm1Grid::init()
{
    // A double-byte font, so that every code of these tests stands in the code box.
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->drawGrid();
}

void TestForm1Grid::cleanup()
{
    destroyForm();
}

QPoint TestForm1Grid::dotCentre(int x, int y) const
{
    return QPoint(m_form->ofsX + m_form->nX * x + m_form->nX / 2,
                  m_form->ofsY + m_form->nY * y + m_form->nY / 2);
}

QRgb TestForm1Grid::canvasDot(int x, int y) const
{
    return *m_form->PictureDOT->pixel(dotCentre(x, y));
}

bool TestForm1Grid::tableDot(int x, int y) const
{
    return CharTable::isSet(m_form->PictureBuf->image(),
                            QPoint(m_form->bufX + x, m_form->bufY + y));
}

int TestForm1Grid::setDotsInCell() const
{
    int n = 0;
    for (int y = 0; y < CharTable::CellSize; ++y)
        for (int x = 0; x < CharTable::CellSize; ++x)
            n += tableDot(x, y);
    return n;
}

QString TestForm1Grid::setDotsText() const
{
    QString text;
    for (int y = 0; y < CharTable::CellSize; ++y)
        for (int x = 0; x < CharTable::CellSize; ++x)
            if (tableDot(x, y))
                text += QStringLiteral(" %1,%2").arg(x).arg(y);
    return text;
}

void TestForm1Grid::clickDot(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(m_form->PictureDOT, button, modifiers, dotCentre(x, y));
}

void TestForm1Grid::firstDrawBuildsTheGrid()
{
    Form1& f = *m_form;
    // Defaults: 12 x 20 dots, square.
    QCOMPARE(f.LabelDotX->text(), QStringLiteral("12"));
    QCOMPARE(f.LabelDotY->text(), QStringLiteral("20"));
    QCOMPARE(f.nX, 24);
    QCOMPARE(f.nY, 24);
    QCOMPARE(f.ofsX, 96);
    QCOMPARE(f.endX, 384);
    QVERIFY(!f.bRedraw);

    const DotCanvas& c = *f.PictureDOT;
    // Vertical lines one pixel before each column, from ofsY up to but not including endY.
    for (int i = 0; i <= 12; ++i) {
        const int x = 96 + 24 * i - 1;
        QCOMPARE(*c.pixel(QPoint(x, 0)), Grey);
        QCOMPARE(*c.pixel(QPoint(x, 479)), Grey);
    }
    // Horizontal lines from ofsX to endX, the end excluded.
    QCOMPARE(*c.pixel(QPoint(96, 23)), Grey);
    QCOMPARE(*c.pixel(QPoint(383, 479)), Grey);
    QCOMPARE(*c.pixel(QPoint(384, 479)), White);
    // Outside the grid the canvas is white, and so are the empty dots.
    QCOMPARE(*c.pixel(QPoint(94, 23)), White);
    QCOMPARE(*c.pixel(QPoint(400, 200)), White);
    QCOMPARE(canvasDot(0, 0), White);
    // A dot's box is nX - 1 by nY - 1 pixels.
    QCOMPARE(*c.pixel(QPoint(96, 0)), White);
    QCOMPARE(*c.pixel(QPoint(96 + 22, 22)), White);
}

void TestForm1Grid::dotsOnlyRedrawKeepsTheGridLines()
{
    Form1& f = *m_form;
    // Something on a grid line and in the margin: a dots-only redraw leaves both.
    f.PictureDOT->setPixel(QPoint(95, 10), Red);
    f.PictureDOT->setPixel(QPoint(20, 10), Red);
    f.drawGrid();
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Red);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 10)), Red);
    f.mnurefresh_Click();
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 10)), White);
    QVERIFY(!f.bRedraw);
}

void TestForm1Grid::redrawShowsTheCell()
{
    Form1& f = *m_form;
    QCOMPARE(f.bufX, 32); // code 33
    QCOMPARE(f.bufY, 64);
    QImage& table = f.store().pageForWrite(0);
    table.setPixel(32 + 2, 64 + 3, Black);
    table.setPixel(32 + 11, 64 + 19, Black);
    table.setPixel(32 + 12, 64 + 3, Black); // beyond the glyph's 12 columns
    f.drawGrid();
    QCOMPARE(canvasDot(2, 3), Black);
    QCOMPARE(canvasDot(11, 19), Black);
    QCOMPARE(canvasDot(3, 3), White);
    // The whole box, and not the grid lines around it.
    const QRect box(96 + 48, 72, 23, 23);
    QCOMPARE(*f.PictureDOT->pixel(box.topLeft()), Black);
    QCOMPARE(*f.PictureDOT->pixel(box.bottomRight()), Black);
    QCOMPARE(*f.PictureDOT->pixel(box.bottomRight() + QPoint(1, 0)), Grey);
    QCOMPARE(*f.PictureDOT->pixel(box.bottomRight() + QPoint(0, 1)), Grey);
    // Cleared in the table: the next redraw paints it white again.
    table.setPixel(32 + 2, 64 + 3, White);
    f.drawGrid();
    QCOMPARE(canvasDot(2, 3), White);
}

void TestForm1Grid::onlyExactBlackIsASetDot()
{
    Form1& f = *m_form;
    QImage& table = f.store().pageForWrite(0);
    const QRgb nearlyBlack = qRgb(0, 0, 1);
    table.setPixel(f.bufX + 4, f.bufY + 4, nearlyBlack);
    f.drawGrid();
    // A clear dot is painted in its own table colour.
    QCOMPARE(canvasDot(4, 4), nearlyBlack);
    QVERIFY(!tableDot(4, 4));
    // Left-painting it makes it black, since its colour is not the brush's.
    clickDot(4, 4);
    QVERIFY(tableDot(4, 4));
    QCOMPARE(canvasDot(4, 4), Black);
}

void TestForm1Grid::updateChr_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QPoint>("cell");

    QTest::newRow("!") << 33 << "21"
                       << "!" << QPoint(32, 64);
    QTest::newRow("A") << 65 << "41"
                       << "A" << QPoint(32, 128);
    QTest::newRow("space") << 32 << "20"
                           << " " << QPoint(0, 64);
    QTest::newRow("backslash") << 0x5C << "5C"
                               << "\\" << QPoint(12 * 32, 5 * 32);
    QTest::newRow("half-width katakana")
        << 0xB1 << "B1" << Cp932::toText(0xB1) << QPoint(32, 11 * 32);
    QTest::newRow("last cell") << 255 << "FF" << Cp932::toText(255) << QPoint(480, 480);
    QTest::newRow("control 0") << 0 << "0"
                               << "" << QPoint(0, 0);
    QTest::newRow("control 31") << 31 << "1F"
                                << "" << QPoint(15 * 32, 32);
    QTest::newRow("hiragana a") << 0x82A0 << "82A0" << QStringLiteral("あ")
                                << QPoint(0, 10 * 32); // in its page
    QTest::newRow("first beyond the table") << 256 << "100" << Cp932::toText(256) << QPoint(0, 512);
}

void TestForm1Grid::updateChr()
{
    QFETCH(int, code);
    QFETCH(QString, hex);
    QFETCH(QString, character);
    QFETCH(QPoint, cell);
    Form1& f = *m_form;
    // The display step alone: the boxes' change handling would check the code with the font.
    const QSignalBlocker codeBox(f.TextCode);
    const QSignalBlocker charBox(f.TextChar);
    f.char_ = code;
    f.drawGrid();
    QCOMPARE(f.TextCode->text(), hex);
    QCOMPARE(f.TextChar->text(), character);
    QCOMPARE(f.LabelChar->text(), character);
    QCOMPARE(QPoint(f.bufX, f.bufY), cell);
}

void TestForm1Grid::guardsKeepTheSourceBox()
{
    Form1& f = *m_form;
    const QSignalBlocker codeBox(f.TextCode);
    const QSignalBlocker charBox(f.TextChar);
    f.bEditCode = true;
    f.TextCode->setText(QStringLiteral("4"));
    f.char_ = 65;
    f.drawGrid();
    QCOMPARE(f.TextCode->text(), QStringLiteral("4"));
    QCOMPARE(f.TextChar->text(), QStringLiteral("A"));

    f.bEditCode = false;
    f.bEditChar = true;
    f.TextChar->setText(QStringLiteral("x"));
    f.LabelChar->setText(QStringLiteral("x"));
    f.char_ = 66;
    f.drawGrid();
    QCOMPARE(f.TextCode->text(), QStringLiteral("42"));
    QCOMPARE(f.TextChar->text(), QStringLiteral("x"));
    QCOMPARE(f.LabelChar->text(), QStringLiteral("x"));
    QCOMPARE(f.bufX, 64); // the cell follows the code whatever the boxes show
}

void TestForm1Grid::userScrollRedraws()
{
    Form1& f = *m_form;
    f.PictureDOT->setPixel(QPoint(20, 10), Red);
    f.SliderDotX->setFocus();
    QTest::keyClick(f.SliderDotX, Qt::Key_Right);
    QCOMPARE(f.SliderDotX->value(), 13);
    QCOMPARE(f.LabelDotX->text(), QStringLiteral("13"));
    // 13 x 20 square: pitch 24, offset (480 - 312) / 2.
    QCOMPARE(f.ofsX, 84);
    QCOMPARE(f.endX, 396);
    // A full redraw: the margin is white again and the new first line is drawn.
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 10)), White);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(83, 10)), Grey);
    QVERIFY(!f.bRedraw);

    QTest::keyClick(f.SliderDotX, Qt::Key_PageUp);
    QCOMPARE(f.SliderDotX->value(), 18);
    QCOMPARE(f.LabelDotX->text(), QStringLiteral("18"));

    f.SliderDotY->setFocus();
    QTest::keyClick(f.SliderDotY, Qt::Key_End);
    QCOMPARE(f.SliderDotY->value(), 32);
    QCOMPARE(f.LabelDotY->text(), QStringLiteral("32"));
    QCOMPARE(f.nY, 15);
    QCOMPARE(f.nX, 15);
}

void TestForm1Grid::programValueDoesNotRedraw()
{
    Form1& f = *m_form;
    f.SliderDotX->setValue(30);
    QCOMPARE(f.LabelDotX->text(), QStringLiteral("12"));
    QCOMPARE(f.ofsX, 96);
    f.SliderDotX_Scroll();
    QCOMPARE(f.LabelDotX->text(), QStringLiteral("30"));
    QCOMPARE(f.nX, 16);
}

void TestForm1Grid::squareOption()
{
    Form1& f = *m_form;
    QTest::mouseClick(f.CheckSquare, Qt::LeftButton);
    QVERIFY(!f.CheckSquare->isChecked());
    QCOMPARE(f.nX, 40);
    QCOMPARE(f.ofsX, 0);
    QCOMPARE(f.endX, 480);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(39, 100)), Grey); // a new line where the margin was
    f.CheckSquare->setChecked(true);
    QCOMPARE(f.nX, 24);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(39, 100)), White);
}

void TestForm1Grid::clickSetsOneDot()
{
    clickDot(3, 4);
    QVERIFY(tableDot(3, 4));
    QCOMPARE(setDotsInCell(), 1);
    QCOMPARE(canvasDot(3, 4), Black);
    QCOMPARE(canvasDot(3, 5), White);
}

void TestForm1Grid::dragPaintsWhereTheMouseWas()
{
    QTest::mousePress(m_form->PictureDOT, Qt::LeftButton, {}, dotCentre(1, 1));
    for (int x = 2; x <= 5; ++x)
        QTest::mouseMove(m_form->PictureDOT, dotCentre(x, 1));
    // A jump: the dots in between are painted too, as a slow drag paints them.
    QTest::mouseMove(m_form->PictureDOT, dotCentre(9, 1));
    QTest::mouseRelease(m_form->PictureDOT, Qt::LeftButton, {}, dotCentre(9, 1));
    for (int x = 1; x <= 9; ++x)
        QVERIFY2(tableDot(x, 1), qPrintable(QString::number(x)));
    QVERIFY(!tableDot(10, 1));
    QCOMPARE(setDotsInCell(), 9);
    QCOMPARE(canvasDot(9, 1), Black);
    QCOMPARE(canvasDot(7, 1), Black);
}

void TestForm1Grid::rightButtonClears()
{
    m_form->CommandFill_Click();
    QCOMPARE(setDotsInCell(), 12 * 20);
    QTest::mousePress(m_form->PictureDOT, Qt::RightButton, {}, dotCentre(0, 0));
    QTest::mouseMove(m_form->PictureDOT, dotCentre(0, 1));
    QTest::mouseRelease(m_form->PictureDOT, Qt::RightButton, {}, dotCentre(0, 1));
    QVERIFY(!tableDot(0, 0));
    QVERIFY(!tableDot(0, 1));
    QCOMPARE(setDotsInCell(), 12 * 20 - 2);
    QCOMPARE(canvasDot(0, 0), White);
    QCOMPARE(canvasDot(0, 1), White);
    QCOMPARE(canvasDot(0, 2), Black);
    // Cleared means white in the table, exactly.
    QCOMPARE(m_form->PictureBuf->image().pixel(m_form->bufX, m_form->bufY), White);
}

void TestForm1Grid::brush_data()
{
    QTest::addColumn<QPoint>("dot");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QList<QPoint>>("painted");

    const QList<QPoint> corner{{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    QTest::newRow("plain") << QPoint(5, 5) << Qt::KeyboardModifiers() << QList<QPoint>{{5, 5}};
    QTest::newRow("ctrl at the top-left corner")
        << QPoint(0, 0) << Qt::KeyboardModifiers(Qt::ControlModifier) << corner;
    QTest::newRow("ctrl at the bottom-right corner")
        << QPoint(11, 19) << Qt::KeyboardModifiers(Qt::ControlModifier)
        << QList<QPoint>{{10, 18}, {10, 19}, {11, 18}, {11, 19}};
    QList<QPoint> block;
    for (int a = -1; a <= 1; ++a)
        for (int b = -1; b <= 1; ++b)
            block.append(QPoint(5 + a, 5 + b));
    QTest::newRow("ctrl inside") << QPoint(5, 5) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                 << block;
    QTest::newRow("shift+ctrl") << QPoint(5, 5) << (Qt::ShiftModifier | Qt::ControlModifier)
                                << QList<QPoint>{{5, 5}};
    QTest::newRow("alt+ctrl") << QPoint(5, 5) << (Qt::AltModifier | Qt::ControlModifier)
                              << QList<QPoint>{{5, 5}};
    QTest::newRow("shift") << QPoint(5, 5) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                           << QList<QPoint>{{5, 5}};
}

void TestForm1Grid::brush()
{
    QFETCH(QPoint, dot);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QList<QPoint>, painted);

    clickDot(dot.x(), dot.y(), Qt::LeftButton, modifiers);
    QVERIFY2(setDotsInCell() == painted.size(), qPrintable(QStringLiteral("set:") + setDotsText()));
    for (const QPoint& p : painted) {
        QVERIFY2(tableDot(p.x(), p.y()), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        QCOMPARE(canvasDot(p.x(), p.y()), Black);
    }

    // The right button erases the same shape.
    clickDot(dot.x(), dot.y(), Qt::RightButton, modifiers);
    QCOMPARE(setDotsInCell(), 0);
    for (const QPoint& p : painted)
        QCOMPARE(canvasDot(p.x(), p.y()), White);
}

void TestForm1Grid::bothButtonsOrMiddlePaintNothing()
{
    DotCanvas* c = m_form->PictureDOT;
    QTest::mousePress(c, Qt::LeftButton, {}, dotCentre(1, 1));
    QVERIFY(tableDot(1, 1));
    QTest::mousePress(c, Qt::RightButton, {}, dotCentre(1, 1)); // Button 3 now
    QTest::mouseMove(c, dotCentre(2, 2));
    QTest::mouseRelease(c, Qt::RightButton, {}, dotCentre(2, 2));
    QTest::mouseRelease(c, Qt::LeftButton, {}, dotCentre(2, 2));
    QVERIFY(tableDot(1, 1));
    QVERIFY(!tableDot(2, 2));
    QCOMPARE(setDotsInCell(), 1);

    QTest::mousePress(c, Qt::MiddleButton, {}, dotCentre(3, 3));
    QTest::mouseMove(c, dotCentre(4, 3));
    QTest::mouseRelease(c, Qt::MiddleButton, {}, dotCentre(4, 3));
    QTest::mouseClick(c, Qt::MiddleButton, {}, dotCentre(1, 1));
    QCOMPARE(setDotsInCell(), 1);
    QCOMPARE(canvasDot(3, 3), White);
    QCOMPARE(canvasDot(1, 1), Black);
}

void TestForm1Grid::gridLineHitsTheCellBefore_data()
{
    QTest::addColumn<bool>("square");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("line");
    QTest::addColumn<QPoint>("dot");

    QTest::newRow("right line of column 3") << true << true << 4 << QPoint(3, 2);
    QTest::newRow("right line of the last column") << true << true << 12 << QPoint(11, 2);
    QTest::newRow("bottom line of row 5") << true << false << 6 << QPoint(2, 5);
    QTest::newRow("bottom line of the last row") << true << false << 20 << QPoint(2, 19);
    QTest::newRow("oblong: right line of column 0") << false << true << 1 << QPoint(0, 2);
}

void TestForm1Grid::gridLineHitsTheCellBefore()
{
    QFETCH(bool, square);
    QFETCH(bool, vertical);
    QFETCH(int, line);
    QFETCH(QPoint, dot);
    Form1& f = *m_form;
    f.CheckSquare->setChecked(square);
    QPoint at = dotCentre(2, 2);
    if (vertical)
        at.setX(f.ofsX + f.nX * line - 1);
    else
        at.setY(f.ofsY + f.nY * line - 1);
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, at);
    QVERIFY(tableDot(dot.x(), dot.y()));
    QCOMPARE(setDotsInCell(), 1);
}

void TestForm1Grid::outsideTheGridNothing_data()
{
    QTest::addColumn<QPoint>("imagePos");

    // 12 x 20 square: the grid spans x 96 to 383, y 0 to 479.
    QTest::newRow("left margin") << QPoint(50, 100);
    QTest::newRow("first vertical line") << QPoint(95, 100);
    QTest::newRow("at endX") << QPoint(384, 100);
    QTest::newRow("right margin") << QPoint(450, 100);
    QTest::newRow("margin row") << QPoint(200, 481);
    QTest::newRow("below the grid") << QPoint(200, 480);
}

void TestForm1Grid::outsideTheGridNothing()
{
    QFETCH(QPoint, imagePos);
    const QImage before = m_form->PictureDOT->image().copy();
    QTest::mouseClick(m_form->PictureDOT, Qt::LeftButton, {}, imagePos);
    QTest::mouseClick(m_form->PictureDOT, Qt::LeftButton, Qt::ControlModifier, imagePos);
    QCOMPARE(setDotsInCell(), 0);
    QCOMPARE(m_form->PictureDOT->image(), before);
}

void TestForm1Grid::paintingASetDotAgainWritesNothing()
{
    clickDot(2, 2);
    // Mark the box: a second left click must not repaint it.
    m_form->PictureDOT->setPixel(dotCentre(2, 2), Red);
    clickDot(2, 2);
    QCOMPARE(canvasDot(2, 2), Red);
    QVERIFY(tableDot(2, 2));
    // Right on a clear dot: the same.
    m_form->PictureDOT->setPixel(dotCentre(3, 3), Green);
    clickDot(3, 3, Qt::RightButton);
    QCOMPARE(canvasDot(3, 3), Green);
}

void TestForm1Grid::moveWithoutButtonChangesNothing()
{
    const QImage before = m_form->PictureDOT->image().copy();
    for (int x = 0; x < 12; ++x)
        QTest::mouseMove(m_form->PictureDOT, dotCentre(x, x));
    QCOMPARE(setDotsInCell(), 0);
    QCOMPARE(m_form->PictureDOT->image(), before);
}

void TestForm1Grid::codeBeyondTheTablePaintsButDoesNotStore()
{
    Form1& f = *m_form;
    CharTable::fillAll(f.store().pageForWrite(0));
    f.char_ = 0x8100; // a lead byte without a trail byte: no code
    f.drawGrid();
    QCOMPARE(QPoint(f.bufX, f.bufY), QPoint(0, 0x810 * 32));
    // Every dot reads clear even though the whole table is black.
    QCOMPARE(canvasDot(0, 0), White);
    QCOMPARE(canvasDot(11, 19), White);

    const QImage table = f.PictureBuf->image().copy();
    clickDot(4, 4);
    QCOMPARE(canvasDot(4, 4), Black); // shown until the next redraw
    QCOMPARE(f.PictureBuf->image(), table);
    f.CommandFill_Click();
    f.CommandRev_Click();
    f.CommandClear_Click();
    QCOMPARE(f.PictureBuf->image(), table);
    QCOMPARE(canvasDot(4, 4), White);

    // Code 256, the first one below the table, behaves the same.
    f.char_ = 256;
    f.drawGrid();
    clickDot(1, 1);
    QCOMPARE(f.PictureBuf->image(), table);
}

void TestForm1Grid::fillClearInvert()
{
    Form1& f = *m_form;
    f.char_ = 65;
    f.drawGrid();
    const QRect glyph(32, 128, 12, 20);
    QImage expected = f.PictureBuf->image().copy();

    f.CommandFill_Click();
    CharTable::fillRect(expected, glyph, Black);
    QCOMPARE(f.PictureBuf->image(), expected);
    QCOMPARE(canvasDot(0, 0), Black);
    QCOMPARE(canvasDot(11, 19), Black);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(95, 10)), Grey); // the grid lines stay

    clickDot(3, 3, Qt::RightButton);
    f.CommandRev_Click();
    QCOMPARE(setDotsInCell(), 1);
    QVERIFY(tableDot(3, 3));
    QCOMPARE(canvasDot(3, 3), Black);
    QCOMPARE(canvasDot(4, 3), White);

    f.CommandClear_Click();
    QCOMPARE(setDotsInCell(), 0);
    QCOMPARE(canvasDot(3, 3), White);
    // Nothing beyond the glyph was touched.
    CharTable::fillRect(expected, glyph, White);
    QCOMPARE(f.PictureBuf->image(), expected);
}

void TestForm1Grid::invertFlipsEveryColourBit()
{
    Form1& f = *m_form;
    f.store().pageForWrite(0).setPixel(f.bufX + 1, f.bufY + 1, qRgb(0x12, 0x34, 0x56));
    f.CommandRev_Click();
    QCOMPARE(f.PictureBuf->image().pixel(f.bufX + 1, f.bufY + 1),
             qRgb(0xff - 0x12, 0xff - 0x34, 0xff - 0x56));
    QCOMPARE(f.PictureBuf->image().pixel(f.bufX, f.bufY), Black);
}

void TestForm1Grid::cellOutsideTheGlyphIsKept()
{
    Form1& f = *m_form;
    f.SliderDotX->setValue(20);
    f.SliderDotX_Scroll();
    f.CommandFill_Click();
    QCOMPARE(setDotsInCell(), 20 * 20);

    f.SliderDotX->setValue(12);
    f.SliderDotX_Scroll();
    f.CommandClear_Click();
    QCOMPARE(setDotsInCell(), 8 * 20);
    f.CommandRev_Click();
    QCOMPARE(setDotsInCell(), 20 * 20);
    f.CommandRev_Click();
    for (int x = 12; x < 20; ++x)
        QVERIFY(tableDot(x, 7));
    QVERIFY(!tableDot(11, 7));
    QVERIFY(!tableDot(20, 7));

    f.SliderDotX->setValue(20);
    f.SliderDotX_Scroll();
    QCOMPARE(canvasDot(11, 7), White);
    QCOMPARE(canvasDot(12, 7), Black);
    QCOMPARE(canvasDot(19, 19), Black);
}

void TestForm1Grid::referenceShowsThroughErasedDots()
{
    Form1& f = *m_form;
    DotCanvas reference;
    reference.setCanvasSize(QSize(514, 514));
    reference.image().fill(Red);
    f.refCanvas = &reference;
    f.CheckRefChar->setChecked(true);

    clickDot(2, 2);
    QCOMPARE(canvasDot(2, 2), Black);
    f.PictureDOT->setPixel(dotCentre(5, 5), Green);

    // Erasing a set dot copies its box from the reference, the grid lines excluded.
    clickDot(2, 2, Qt::RightButton);
    QVERIFY(!tableDot(2, 2));
    QCOMPARE(canvasDot(2, 2), Red);
    const QRect box(f.ofsX + 2 * f.nX, f.ofsY + 2 * f.nY, f.nX - 1, f.nY - 1);
    QCOMPARE(*f.PictureDOT->pixel(box.topLeft()), Red);
    QCOMPARE(*f.PictureDOT->pixel(box.bottomRight()), Red);
    QCOMPARE(*f.PictureDOT->pixel(box.bottomRight() + QPoint(1, 1)), Grey);
    // A clear dot is left alone, canvas included.
    clickDot(5, 5, Qt::RightButton);
    QCOMPARE(canvasDot(5, 5), Green);

    // With the reference shown a redraw paints the set dots, and the clear ones from the
    // canvas, which now holds the capture of the sample.
    clickDot(7, 7);
    f.drawGrid();
    QCOMPARE(canvasDot(7, 7), Black);
    QCOMPARE(canvasDot(5, 5), *reference.pixel(dotCentre(5, 5)));
    QCOMPARE(canvasDot(2, 2), *reference.pixel(dotCentre(2, 2)));
}

void TestForm1Grid::referenceWithoutCanvasCountsAsOff()
{
    Form1& f = *m_form;
    f.refCanvas = nullptr;
    f.CheckRefChar->setChecked(true);
    clickDot(2, 2);
    clickDot(2, 2, Qt::RightButton);
    QVERIFY(!tableDot(2, 2));
    QCOMPARE(canvasDot(2, 2), White);
    f.PictureDOT->setPixel(dotCentre(5, 5), Green);
    f.drawGrid();
    QCOMPARE(canvasDot(5, 5), White);
}

void TestForm1Grid::baselineOverTheGrid()
{
    // On the grid line between dot rows 16 and 17 of 12 x 20 square dots; at canvas row 400
    // with oblong ones; none while View > baseline is off, which the settings keep.
    Form1& f = *m_form;
    f.SliderDotX->setValue(12);
    f.SliderDotY->setValue(20);
    f.CheckSquare->setChecked(true);
    f.drawGrid();
    QCOMPARE(f.PictureDOT->guide(), QLine(f.ofsX, 24 * 17 - 1, f.endX - 1, 24 * 17 - 1));
    f.CheckSquare->setChecked(false);
    QCOMPARE(f.PictureDOT->guide(), QLine(0, 399, 479, 399));
    QCOMPARE(f.PictureDOT->grab().toImage().pixel(200, 399), 0xff3c78d8);
    QVERIFY(f.PictureDOT->image().pixel(200, 399) != 0xff3c78d8); // not part of the picture
    f.mnubaseline->trigger();
    QVERIFY(f.PictureDOT->guide().isNull());
    f.SaveSettings();
    f.mnudefault_Click();
    QVERIFY(!f.PictureDOT->guide().isNull());
    f.LoadSettings();
    QVERIFY(!f.mnubaseline->isChecked() && f.PictureDOT->guide().isNull());
}

QTEST_MAIN(TestForm1Grid)
#include "tst_form1grid.moc"

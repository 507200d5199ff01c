#include "dots/DotGrid.h"
#include "dots/GlyphSpacing.h"
#include "dots/GridGeometry.h"

#include <QTest>

class TestGridGeometry : public QObject
{
    Q_OBJECT

private slots:
    void pitchAndCentring_data();
    void pitchAndCentring();
    void everySizeFitsTheSquare();
    void square_data();
    void square();
    void untickingSquareRestoresTheOwnPitches();
    void hitDot_data();
    void hitDot();
    void dotBoxLeavesTheGridLines();
    void gridLines();
    void wholeDotFont_data();
    void wholeDotFont();
    void spacing();
};

void TestGridGeometry::pitchAndCentring_data()
{
    QTest::addColumn<int>("dots");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("end");

    QTest::newRow("3") << 3 << 160 << 0 << 480;
    QTest::newRow("7") << 7 << 68 << 2 << 478;
    QTest::newRow("9: 1.5 rounds to 2") << 9 << 53 << 2 << 479;
    QTest::newRow("11: 3.5 rounds to 4") << 11 << 43 << 4 << 477;
    QTest::newRow("12") << 12 << 40 << 0 << 480;
    QTest::newRow("19: 2.5 rounds to 2") << 19 << 25 << 2 << 477;
    QTest::newRow("20") << 20 << 24 << 0 << 480;
    QTest::newRow("27: 10.5 rounds to 10") << 27 << 17 << 10 << 469;
    QTest::newRow("31: 7.5 rounds to 8") << 31 << 15 << 8 << 473;
    QTest::newRow("32") << 32 << 15 << 0 << 480;
}

void TestGridGeometry::pitchAndCentring()
{
    QFETCH(int, dots);
    QFETCH(int, pitch);
    QFETCH(int, offset);
    QFETCH(int, end);

    // The same rule across and down; the other direction stays at a full 12-dot grid.
    const GridGeometry across = GridGeometry::compute(dots, 12, false);
    QCOMPARE(across.nX(), pitch);
    QCOMPARE(across.ofsX(), offset);
    QCOMPARE(across.endX(), end);
    QCOMPARE(across.nY(), 40);
    QCOMPARE(across.ofsY(), 0);
    QCOMPARE(across.endY(), 480);

    const GridGeometry down = GridGeometry::compute(12, dots, false);
    QCOMPARE(down.nY(), pitch);
    QCOMPARE(down.ofsY(), offset);
    QCOMPARE(down.endY(), end);
}

void TestGridGeometry::everySizeFitsTheSquare()
{
    for (int dots = 3; dots <= 32; ++dots) {
        const GridGeometry g = GridGeometry::compute(dots, dots, false);
        QVERIFY2(g.ofsX() >= 0 && g.endX() <= GridGeometry::Extent,
                 qPrintable(QString::number(dots)));
        QCOMPARE(g.endX() - g.ofsX(), dots * g.nX());
        // Centred: the spare pixels on the two sides differ by at most one.
        QVERIFY(qAbs(g.ofsX() - (GridGeometry::Extent - g.endX())) <= 1);
    }
}

void TestGridGeometry::square_data()
{
    QTest::addColumn<int>("dotsX");
    QTest::addColumn<int>("dotsY");
    QTest::addColumn<GridGeometry>("expected");

    // ofsX, ofsY, endX, endY, nX, nY
    QTest::newRow("12 x 20") << 12 << 20 << GridGeometry(96, 0, 384, 480, 24, 24);
    QTest::newRow("20 x 12") << 20 << 12 << GridGeometry(0, 96, 480, 384, 24, 24);
    QTest::newRow("32 x 3: 217.5 rounds to 218")
        << 32 << 3 << GridGeometry(0, 218, 480, 263, 15, 15);
    QTest::newRow("9 x 9") << 9 << 9 << GridGeometry(2, 2, 479, 479, 53, 53);
}

void TestGridGeometry::square()
{
    QFETCH(int, dotsX);
    QFETCH(int, dotsY);
    QFETCH(GridGeometry, expected);
    const GridGeometry g = GridGeometry::compute(dotsX, dotsY, true);
    QCOMPARE(g.nX(), expected.nX());
    QCOMPARE(g.nY(), expected.nY());
    QCOMPARE(g.ofsX(), expected.ofsX());
    QCOMPARE(g.endX(), expected.endX());
    QCOMPARE(g.ofsY(), expected.ofsY());
    QCOMPARE(g.endY(), expected.endY());
}

void TestGridGeometry::untickingSquareRestoresTheOwnPitches()
{
    const GridGeometry g = GridGeometry::compute(12, 20, false);
    QCOMPARE(g, GridGeometry(0, 0, 480, 480, 40, 24));
}

void TestGridGeometry::hitDot_data()
{
    QTest::addColumn<double>("X");
    QTest::addColumn<double>("Y");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<QPoint>("dot");

    // 9 x 11 dots: pitch 53 from 2 to 479 across, pitch 43 from 4 to 477 down.
    QTest::newRow("first pixel") << 2.0 << 4.0 << true << QPoint(0, 0);
    QTest::newRow("left of the grid") << 1.0 << 10.0 << false << QPoint();
    QTest::newRow("just left of the grid") << 1.99 << 10.0 << false << QPoint();
    QTest::newRow("above the grid") << 10.0 << 3.0 << false << QPoint();
    QTest::newRow("right grid line of dot 0") << 54.0 << 4.0 << true << QPoint(0, 0);
    QTest::newRow("first pixel of dot 1") << 55.0 << 4.0 << true << QPoint(1, 0);
    QTest::newRow("bottom grid line of dot 0") << 2.0 << 46.0 << true << QPoint(0, 0);
    QTest::newRow("first pixel of row 1") << 2.0 << 47.0 << true << QPoint(0, 1);
    QTest::newRow("last pixel") << 478.0 << 476.0 << true << QPoint(8, 10);
    QTest::newRow("fraction inside") << 478.9 << 476.9 << true << QPoint(8, 10);
    QTest::newRow("at endX") << 479.0 << 10.0 << false << QPoint();
    QTest::newRow("at endY") << 10.0 << 477.0 << false << QPoint();
    QTest::newRow("negative") << -5.0 << -5.0 << false << QPoint();
    QTest::newRow("far away") << 1e12 << -1e12 << false << QPoint();
    QTest::newRow("not a number") << qQNaN() << 10.0 << false << QPoint();
}

void TestGridGeometry::hitDot()
{
    QFETCH(double, X);
    QFETCH(double, Y);
    QFETCH(bool, hit);
    QFETCH(QPoint, dot);
    const GridGeometry g = GridGeometry::compute(9, 11, false);
    const std::optional<QPoint> got = g.hitDot(X, Y);
    QCOMPARE(got.has_value(), hit);
    if (hit)
        QCOMPARE(*got, dot);
    QCOMPARE(g.dotNear(X, Y).has_value(), !qIsNaN(X)); // beyond the grid too, bounded
}

void TestGridGeometry::dotBoxLeavesTheGridLines()
{
    const GridGeometry g = GridGeometry::compute(9, 11, false);
    const QRect box = g.dotBox(1, 2);
    QCOMPARE(box.topLeft(), QPoint(2 + 53, 4 + 86));
    QCOMPARE(box.bottomRight(), QPoint(2 + 53 * 2 - 2, 4 + 43 * 3 - 2));
    // The next dot's box starts two pixels on: the line between them is left out.
    QCOMPARE(g.dotBox(2, 2).left(), box.right() + 2);
    QCOMPARE(g.verticalLineX(2), box.right() + 1);
    QCOMPARE(g.horizontalLineY(3), box.bottom() + 1);
}

void TestGridGeometry::gridLines()
{
    const GridGeometry g = GridGeometry::compute(12, 20, true);
    QCOMPARE(g.verticalLineX(0), 95);
    QCOMPARE(g.verticalLineX(12), 383);
    QCOMPARE(g.horizontalLineY(0), -1);
    QCOMPARE(g.horizontalLineY(20), 479);
}

void TestGridGeometry::wholeDotFont_data()
{
    QTest::addColumn<QSize>("dots");
    QTest::addColumn<int>("unitsPerDot"); // 0: no native grid
    QTest::addColumn<int>("baselineRow");
    QTest::addColumn<QPoint>("origin"); // the canvas point at the font's origin
    QTest::newRow("12 x 20: 16.67 rows to 17") << QSize(12, 20) << 48 << 17 << QPoint(96, 408);
    QTest::newRow("12 x 12: on row 10") << QSize(12, 12) << 80 << 10 << QPoint(0, 400);
    QTest::newRow("3 x 3: 2.5 rows, a tie, to 3") << QSize(3, 3) << 320 << 3 << QPoint(0, 480);
    QTest::newRow("7 x 9: 7.5 rows to 8") << QSize(7, 9) << 106 << 8 << QPoint(54, 426);
    QTest::newRow("20 x 12: below the box, held to it")
        << QSize(20, 12) << 48 << 12 << QPoint(0, 384);
    QTest::newRow("33 x 20: beyond the sliders") << QSize(33, 20) << 0 << 0 << QPoint(0, 400);
}

void TestGridGeometry::wholeDotFont()
{
    QFETCH(QSize, dots);
    QFETCH(int, unitsPerDot);
    QFETCH(int, baselineRow);
    QFETCH(QPoint, origin);
    QVERIFY(!DotGrid::of(dots.width(), dots.height(), false)); // oblong: no native size
    const std::optional<DotGrid> grid = DotGrid::of(dots.width(), dots.height(), true);
    QCOMPARE(DotGrid::canvasOrigin(grid), origin);
    QCOMPARE(DotGrid::baselinePixel(dots.width(), dots.height(), true), origin.y());
    QCOMPARE(grid.has_value(), unitsPerDot > 0);
    if (!grid)
        return;
    QCOMPARE(grid->unitsPerDot(), unitsPerDot);
    QCOMPARE(grid->unitsPerEm(), dots.height() * unitsPerDot);
    QCOMPARE(grid->baselineRow(), baselineRow);
    QCOMPARE(grid->ascender() - grid->descender(), grid->unitsPerEm());
    QCOMPARE(grid->boxWidth(), dots.width() * unitsPerDot);
}

void TestGridGeometry::spacing()
{
    using P = GlyphSpacing::Placement;
    // Without bearings the box; with them the ink between them; no ink, the box either way.
    QCOMPARE(GlyphSpacing::place(2, 9, 12, std::nullopt), (P{0, 12}));
    QCOMPARE(GlyphSpacing::place(2, 9, 12, GlyphSpacing::Bearings{1, 2}), (P{-1, 10}));
    QCOMPARE(GlyphSpacing::place(0, 0, 12, GlyphSpacing::Bearings{1, 2}), (P{0, 12}));
    // Font units to dots of 48: the nearest, halves away from zero.
    for (const auto& [units, dots] :
         {std::pair{20, 0}, {23, 0}, {24, 1}, {30, 1}, {72, 2}, {-24, -1}, {-23, 0}, {0, 0}})
        QCOMPARE(GlyphSpacing::toDots(units, 48), dots);
}

QTEST_APPLESS_MAIN(TestGridGeometry)
#include "tst_gridgeometry.moc"

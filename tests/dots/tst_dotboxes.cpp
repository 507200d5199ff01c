// The export's dot boxes: their size, their place, and that the glyph bitmap written from the
// boxes alone is the one written from the canvas they are painted on, whose ink the server
// reads as the headless build draws it.

#include "chartable/CharTable.h"
#include "dots/DotBoxes.h"
#include "fontd/BmpReader.h"
#include "fontd/FontDocument.h"
#include "ttedit/DotsBitmap.h"

#include <QRandomGenerator>
#include <QTest>

class TestDotBoxes : public QObject
{
    Q_OBJECT

private slots:
    void boxesAndBitmap_data();
    void boxesAndBitmap();
};

void TestDotBoxes::boxesAndBitmap_data()
{
    QTest::addColumn<int>("dotsX");
    QTest::addColumn<int>("dotsY");
    QTest::addColumn<bool>("square");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QPoint>("firstBox"); // of dot (0, 0)

    QTest::newRow("12 x 20 square, 100 %")
        << 12 << 20 << true << 100 << QSize(24, 24) << QPoint(96, 0);
    QTest::newRow("12 x 20 oblong, 50 %")
        << 12 << 20 << false << 50 << QSize(20, 12) << QPoint(0, 0);
    QTest::newRow("19 x 19, 50 %: 12.5 rounds to 12")
        << 19 << 19 << false << 50 << QSize(12, 12) << QPoint(2, 2);
    QTest::newRow("27 x 9, 50 %: 8.5 to 8, 26.5 to 26")
        << 27 << 9 << false << 50 << QSize(8, 26) << QPoint(10, 2);
    QTest::newRow("32 x 32, 1 %: never less than a pixel")
        << 32 << 32 << true << 1 << QSize(1, 1) << QPoint(0, 0);
    QTest::newRow("3 x 3, 100 %: 160-pixel boxes")
        << 3 << 3 << false << 100 << QSize(160, 160) << QPoint(0, 0);
    QTest::newRow("16 x 17 oblong, 100 %")
        << 16 << 17 << false << 100 << QSize(30, 28) << QPoint(0, 2);
}

void TestDotBoxes::boxesAndBitmap()
{
    QFETCH(int, dotsX);
    QFETCH(int, dotsY);
    QFETCH(bool, square);
    QFETCH(int, size);
    QFETCH(QSize, box);
    QFETCH(QPoint, firstBox);

    // A table whose cell at (64, 32) has random dots, its corner dot set, and grey and
    // near-black pixels that are not set dots.
    QImage table = CharTable::blank();
    QRandomGenerator random(quint32(dotsX * 100 + dotsY));
    const QPoint cell(64, 32);
    int set = 0;
    for (int y = 0; y < dotsY; ++y) {
        for (int x = 0; x < dotsX; ++x) {
            const quint32 r = random.bounded(4);
            const QRgb colour = r < 2    ? qRgb(0, 0, 0)
                                : r == 2 ? qRgb(0, 0, 1)
                                         : qRgb(128, 128, 128);
            const bool black = (x == 0 && y == 0) || r < 2;
            table.setPixel(cell + QPoint(x, y), black ? qRgb(0, 0, 0) : colour);
            set += black;
        }
    }
    const GridGeometry grid = GridGeometry::compute(dotsX, dotsY, square);
    QCOMPARE(DotBoxes::boxSize(grid, size), box);
    const QList<QRect> boxes =
        DotBoxes::boxes(CharTable::dots(table, cell, QSize(dotsX, dotsY)), grid, size);
    QCOMPARE(boxes.size(), set);
    QCOMPARE(boxes.first(), QRect(firstBox, box));
    for (const QRect& b : boxes) {
        const QPoint dot((b.left() - grid.ofsX()) / grid.nX(), (b.top() - grid.ofsY()) / grid.nY());
        QCOMPARE(b,
                 QRect(QPoint(dot.x() * grid.nX() + grid.ofsX(), dot.y() * grid.nY() + grid.ofsY()),
                       box));
        QVERIFY(CharTable::isSet(table, cell + dot));
    }

    // Painted over an old picture and encoded, or encoded from the boxes alone: the same file.
    // A box beyond the canvas is clipped alike.
    QList<QRect> clipped = boxes;
    clipped << QRect(470, 470, 40, 40) << QRect(-5, 100, 9, 3);
    QImage canvas(DotBoxes::CanvasSide, DotBoxes::CanvasSide, QImage::Format_ARGB32);
    canvas.fill(Qt::red);
    DotBoxes::paint(canvas, clipped, qRgb(255, 255, 255));
    QCOMPARE(canvas.format(), QImage::Format_RGB32);
    QCOMPARE(canvas.pixel(0, 479), qRgb(255, 255, 255));
    const QByteArray painted = DotsBitmap::encode(canvas);
    QVERIFY(!painted.isEmpty());
    QCOMPARE(DotsBitmap::encodeBoxes(canvas.size(), clipped), painted);
    QCOMPARE(BmpReader::read(painted), std::optional<InkMask>(DotBoxes::ink(clipped)));

    // The font's outline of the boxes, traced from their ink or from the dots: the same.
    FontDocument viaInk(FontDocument::Western), viaDots(FontDocument::Western);
    QVERIFY(viaInk.importInk('A', DotBoxes::ink(boxes)));
    QVERIFY(viaDots.importDots('A', CharTable::dots(table, cell, QSize(dotsX, dotsY)), grid, size));
    QCOMPARE(viaDots.glyphs().at('A').contours, viaInk.glyphs().at('A').contours);
}

QTEST_GUILESS_MAIN(TestDotBoxes)
#include "tst_dotboxes.moc"

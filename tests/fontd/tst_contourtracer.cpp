#include "TestBmp.h"
#include "fontd/ContourTracer.h"

#include <QTest>
#include <set>

Q_DECLARE_METATYPE(InkMask)

namespace {

// Winding number of the contours around the point (px, py), with y flipped to point up, so
// that TrueType's clockwise outer contours count -1.  The point must not lie on an edge.
int windingNumber(const QList<QPolygon>& contours, double px, double py)
{
    const double x0 = px, y0 = -py;
    int w = 0;
    for (const QPolygon& c : contours) {
        for (qsizetype i = 0; i < c.size(); ++i) {
            const QPoint a = c[i];
            const QPoint b = c[(i + 1) % c.size()];
            const double ay = -a.y(), by = -b.y();
            if (ay <= y0 && by > y0) {
                if ((b.x() - a.x()) * (y0 - ay) - (x0 - a.x()) * (by - ay) > 0)
                    ++w;
            } else if (ay > y0 && by <= y0) {
                if ((b.x() - a.x()) * (y0 - ay) - (x0 - a.x()) * (by - ay) < 0)
                    --w;
            }
        }
    }
    return w;
}

// Edges of the ink boundary, one per pixel side between ink and no ink (the image's outside
// counts as no ink).
qint64 boundaryCracks(const InkMask& m)
{
    auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < m.width() && y < m.height() && m.pixel(x, y);
    };
    qint64 n = 0;
    for (int y = -1; y < m.height(); ++y) {
        for (int x = -1; x < m.width(); ++x) {
            n += ink(x, y) != ink(x + 1, y);
            n += ink(x, y) != ink(x, y + 1);
        }
    }
    return n;
}

// Checks every property of a trace; returns an empty string or the first fault.
QString checkTrace(const InkMask& m, const QList<QPolygon>& contours)
{
    qint64 perimeter = 0;
    for (qsizetype ci = 0; ci < contours.size(); ++ci) {
        const QPolygon& c = contours[ci];
        const QString where = QStringLiteral("contour %1: ").arg(ci);
        if (c.size() < 4 || c.size() % 2)
            return where + QStringLiteral("%1 points").arg(c.size());
        std::set<std::pair<int, int>> seen;
        for (qsizetype i = 0; i < c.size(); ++i) {
            const QPoint a = c[i], b = c[(i + 1) % c.size()], n = c[(i + 2) % c.size()];
            if (!seen.insert({a.x(), a.y()}).second)
                return where + QStringLiteral("point (%1,%2) twice").arg(a.x()).arg(a.y());
            if (a == b)
                return where + QStringLiteral("duplicate point");
            if (a.x() != b.x() && a.y() != b.y())
                return where + QStringLiteral("diagonal edge");
            // Consecutive edges must turn: no collinear points.
            if ((a.x() == b.x()) == (b.x() == n.x()))
                return where + QStringLiteral("collinear at (%1,%2)").arg(b.x()).arg(b.y());
            if (a.x() < 0 || a.y() < 0 || a.x() > m.width() || a.y() > m.height())
                return where + QStringLiteral("point outside the image");
            perimeter += std::abs(b.x() - a.x()) + std::abs(b.y() - a.y());
        }
        // Simple: no two edges that are not neighbours meet.
        for (qsizetype i = 0; i < c.size(); ++i) {
            const QPoint a1 = c[i], a2 = c[(i + 1) % c.size()];
            for (qsizetype j = i + 2; j < c.size(); ++j) {
                if (i == 0 && j == c.size() - 1)
                    continue;
                const QPoint b1 = c[j], b2 = c[(j + 1) % c.size()];
                const bool meet =
                    std::max(std::min(a1.x(), a2.x()), std::min(b1.x(), b2.x())) <=
                        std::min(std::max(a1.x(), a2.x()), std::max(b1.x(), b2.x())) &&
                    std::max(std::min(a1.y(), a2.y()), std::min(b1.y(), b2.y())) <=
                        std::min(std::max(a1.y(), a2.y()), std::max(b1.y(), b2.y()));
                if (meet)
                    return where + QStringLiteral("edges %1 and %2 meet").arg(i).arg(j);
            }
        }
    }
    // Every crack of the boundary exactly once: no overlapping edges, nothing missing.
    if (perimeter != boundaryCracks(m))
        return QStringLiteral("perimeter %1, boundary %2").arg(perimeter).arg(boundaryCracks(m));
    for (int y = -1; y <= m.height(); ++y) {
        for (int x = -1; x <= m.width(); ++x) {
            const bool ink = x >= 0 && y >= 0 && x < m.width() && y < m.height() && m.pixel(x, y);
            const int w = windingNumber(contours, x + 0.5, y + 0.5);
            if (w != (ink ? -1 : 0))
                return QStringLiteral("winding %1 at pixel (%2,%3)").arg(w).arg(x).arg(y);
        }
    }
    return {};
}

} // namespace

class TestContourTracer : public QObject
{
    Q_OBJECT

private slots:
    void shapes_data();
    void shapes();
    void randomMasks_data();
    void randomMasks();
    void exactPoints();
    void reuseAcrossSizes();
    void emptyAndNull();
    void pointLimit();
};

void TestContourTracer::shapes_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("contours");
    QTest::newRow("single pixel") << QStringList{"#"} << 1;
    QTest::newRow("single pixel inside") << QStringList{"...", ".#.", "..."} << 1;
    QTest::newRow("full block") << QStringList{"####", "####", "####"} << 1;
    QTest::newRow("hole") << QStringList{"###", "#.#", "###"} << 2;
    QTest::newRow("big hole") << QStringList{"#####", "#...#", "#...#", "#####"} << 2;
    QTest::newRow("island in hole")
        << QStringList{"#######", "#.....#", "#.###.#", "#.#.#.#", "#.###.#", "#.....#", "#######"}
        << 4;
    QTest::newRow("diagonal") << QStringList{"#.", ".#"} << 2;
    QTest::newRow("anti-diagonal") << QStringList{".#", "#."} << 2;
    QTest::newRow("diagonal chain") << QStringList{"#...", ".#..", "..#.", "...#"} << 4;
    QTest::newRow("diamond of corners") << QStringList{".#.", "#.#", ".#."} << 4;
    // A ring closed only at a corner: one piece of ink around a hole that meets the outside
    // at a point.  The contour would meet itself there, so it becomes two.
    QTest::newRow("ring closed at a corner") << QStringList{"###", "#.#", "##."} << 2;
    QTest::newRow("ring closed at a corner, mirrored") << QStringList{"###", "#.#", ".##"} << 2;
    QTest::newRow("two holes touching at a corner")
        << QStringList{"####", "#.##", "##.#", "####"} << 3;
    QTest::newRow("checkerboard") << QStringList{"#.#.#.", ".#.#.#", "#.#.#.",
                                                 ".#.#.#", "#.#.#.", ".#.#.#"}
                                  << 18;
    QTest::newRow("image edges") << QStringList{"#..#", "....", "#..#"} << 4;
    QTest::newRow("frame on the edges") << QStringList{"####", "#..#", "####"} << 2;
    QTest::newRow("horizontal line") << QStringList{"..........", "##########", ".........."} << 1;
    QTest::newRow("vertical line") << QStringList{".#.", ".#.", ".#.", ".#.", ".#."} << 1;
    QTest::newRow("one-pixel L") << QStringList{"#...", "#...", "####"} << 1;
    QTest::newRow("one-pixel cross") << QStringList{".#.", "###", ".#."} << 1;
    QTest::newRow("staircase") << QStringList{"#...", "##..", "###.", "####"} << 1;
    QTest::newRow("comb") << QStringList{"#.#.#.#", "#######"} << 1;
    QTest::newRow("spiral") << QStringList{"#######", "......#", "#####.#", "#...#.#",
                                           "#.#.#.#", "#.###.#", "#.....#", "#######"}
                            << 1;
}

void TestContourTracer::shapes()
{
    QFETCH(QStringList, rows);
    QFETCH(int, contours);
    const InkMask m = InkMask::fromText(rows);
    ContourTracer tracer;
    const QList<QPolygon> result = tracer.trace(m);
    const QString fault = checkTrace(m, result);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(result.size(), contours);
}

void TestContourTracer::randomMasks_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("density");
    for (int w : {1, 2, 31, 63, 64, 65, 127, 128, 129, 200}) {
        for (double d : {0.1, 0.5, 0.9}) {
            QTest::addRow("%dx17 at %.1f", w, d) << w << 17 << d;
        }
    }
    QTest::newRow("tall") << 5 << 300 << 0.5;
}

void TestContourTracer::randomMasks()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, density);
    ContourTracer tracer;
    for (quint32 seed = 1; seed <= 3; ++seed) {
        const InkMask m = TestBmp::randomMask(width, height, density, seed * 7919 + quint32(width));
        const QList<QPolygon> result = tracer.trace(m);
        const QString fault = checkTrace(m, result);
        QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(fault)));
    }
}

void TestContourTracer::exactPoints()
{
    ContourTracer tracer;
    // One pixel: clockwise once y points up, starting at the top-left corner.
    const QList<QPolygon> one = tracer.trace(InkMask::fromText({"#"}));
    QCOMPARE(one.size(), 1);
    QCOMPARE(one[0], QPolygon({QPoint(0, 0), QPoint(1, 0), QPoint(1, 1), QPoint(0, 1)}));
    // A hole runs the other way round.
    const QList<QPolygon> ring = tracer.trace(InkMask::fromText({"###", "#.#", "###"}));
    QCOMPARE(ring.size(), 2);
    QCOMPARE(ring[0], QPolygon({QPoint(0, 0), QPoint(3, 0), QPoint(3, 3), QPoint(0, 3)}));
    QCOMPARE(ring[1], QPolygon({QPoint(1, 1), QPoint(1, 2), QPoint(2, 2), QPoint(2, 1)}));
}

void TestContourTracer::reuseAcrossSizes()
{
    ContourTracer tracer;
    const InkMask big = TestBmp::randomMask(300, 40, 0.5, 11);
    const InkMask small = InkMask::fromText({".#", "#."});
    const QList<QPolygon> first = tracer.trace(big);
    QCOMPARE(tracer.trace(small).size(), 2);
    QCOMPARE(tracer.trace(big), first);
}

void TestContourTracer::emptyAndNull()
{
    ContourTracer tracer;
    QVERIFY(tracer.trace(InkMask()).isEmpty());
    QVERIFY(tracer.trace(InkMask(0, 10)).isEmpty());
    QVERIFY(tracer.trace(InkMask(482, 482)).isEmpty());
}

void TestContourTracer::pointLimit()
{
    ContourTracer tracer;
    // Three separate pixels: 12 points.
    const InkMask m = InkMask::fromText({"#.#", "...", "#.."});
    QCOMPARE(tracer.trace(m, 12)->size(), 3);
    QVERIFY(!tracer.trace(m, 11));
    // A big checkerboard stops early instead of filling memory.
    InkMask chess(4000, 4000);
    for (int y = 0; y < 4000; ++y) {
        quint64* row = chess.row(y);
        for (int w = 0; w < chess.wordsPerRow(); ++w)
            row[w] = y % 2 ? 0x5555555555555555ull : 0xAAAAAAAAAAAAAAAAull;
    }
    chess.clearPadding();
    QVERIFY(!tracer.trace(chess, 65535));
}

QTEST_GUILESS_MAIN(TestContourTracer)
#include "tst_contourtracer.moc"

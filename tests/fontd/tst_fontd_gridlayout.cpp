// Geometry of the server window's glyph grid: which cells lie where, which ones a paint
// must draw, and where font units land inside a cell.

#include "fontd/FontDocument.h"
#include "fontd/GlyphGridLayout.h"

#include <QTest>

class TestGlyphGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void columnsAndRows_data();
    void columnsAndRows();
    void cellRectAndIndexAt_data();
    void cellRectAndIndexAt();
    void visibleRange_data();
    void visibleRange();
    void visibleRangeOfAJapaneseFontStaysSmall();
    void fontToBox();
    void codeLabel_data();
    void codeLabel();
};

void TestGlyphGridLayout::columnsAndRows_data()
{
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    const int w = GlyphGridLayout::CellWidth;
    QTest::newRow("exact fit") << 224 << 16 * w << 16 << 14;
    QTest::newRow("partial last row") << 225 << 16 * w << 16 << 15;
    QTest::newRow("one pixel short of a column") << 10 << 3 * w - 1 << 2 << 5;
    QTest::newRow("narrower than a cell") << 3 << 10 << 1 << 3;
    QTest::newRow("zero width") << 3 << 0 << 1 << 3;
    QTest::newRow("no cells") << 0 << 800 << 800 / w << 0;
}

void TestGlyphGridLayout::columnsAndRows()
{
    QFETCH(int, cells);
    QFETCH(int, width);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const GlyphGridLayout layout(cells, width);
    QCOMPARE(layout.columns(), columns);
    QCOMPARE(layout.rows(), rows);
    QCOMPARE(layout.contentHeight(), rows * GlyphGridLayout::CellHeight);
}

void TestGlyphGridLayout::cellRectAndIndexAt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("rect");
    const int w = GlyphGridLayout::CellWidth;
    const int h = GlyphGridLayout::CellHeight;
    // 10 cells in 4 columns.
    QTest::newRow("first") << 0 << QRect(0, 0, w, h);
    QTest::newRow("end of first row") << 3 << QRect(3 * w, 0, w, h);
    QTest::newRow("start of second row") << 4 << QRect(0, h, w, h);
    QTest::newRow("last") << 9 << QRect(w, 2 * h, w, h);
    QTest::newRow("past the end") << 10 << QRect();
    QTest::newRow("negative") << -1 << QRect();
}

void TestGlyphGridLayout::cellRectAndIndexAt()
{
    QFETCH(int, index);
    QFETCH(QRect, rect);
    const GlyphGridLayout layout(10, 4 * GlyphGridLayout::CellWidth + 5);
    QCOMPARE(layout.cellRect(index), rect);
    if (rect.isNull())
        return;
    QCOMPARE(layout.indexAt(rect.topLeft()), index);
    QCOMPARE(layout.indexAt(rect.bottomRight()), index);
    QCOMPARE(layout.indexAt(rect.center()), index);
}

void TestGlyphGridLayout::visibleRange_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("end");
    const int h = GlyphGridLayout::CellHeight;
    // 10 cells in 4 columns: rows [0..3] [4..7] [8, 9].
    QTest::newRow("first row exactly") << 0 << h << 0 << 4;
    QTest::newRow("one pixel into the second row") << 0 << h + 1 << 0 << 8;
    QTest::newRow("middle row only") << h << h << 4 << 8;
    QTest::newRow("last row, partly empty") << 2 * h << h << 8 << 10;
    QTest::newRow("beyond the content") << 5 * h << h << 10 << 10;
    QTest::newRow("empty band") << 0 << 0 << 0 << 0;
    QTest::newRow("everything") << 0 << 100 * h << 0 << 10;
}

void TestGlyphGridLayout::visibleRange()
{
    QFETCH(int, top);
    QFETCH(int, height);
    QFETCH(int, first);
    QFETCH(int, end);
    const GlyphGridLayout layout(10, 4 * GlyphGridLayout::CellWidth);
    const auto range = layout.visibleRange(top, height);
    QCOMPARE(range.first, first);
    QCOMPARE(range.second, end);
}

void TestGlyphGridLayout::visibleRangeOfAJapaneseFontStaysSmall()
{
    // Wherever the view stands in 7000 cells, a paint covers a screenful, not the font.
    const GlyphGridLayout layout(7000, 700);
    for (int top = 0; top < layout.contentHeight(); top += 997) {
        const auto [first, end] = layout.visibleRange(top, 600);
        QVERIFY(end - first <= (600 / GlyphGridLayout::CellHeight + 2) * layout.columns());
        QVERIFY(layout.cellRect(first).top() <= top);
        QVERIFY(end == 7000 || layout.cellRect(end - 1).bottom() >= top + 599);
    }
}

void TestGlyphGridLayout::fontToBox()
{
    const QRect cell(68, 84, GlyphGridLayout::CellWidth, GlyphGridLayout::CellHeight);
    const QRect box = GlyphGridLayout::glyphBox(cell);
    QCOMPARE(box.width(), box.height());
    QVERIFY(cell.contains(box));
    QVERIFY(!box.intersects(GlyphGridLayout::labelRect(cell)));
    const QTransform map = GlyphGridLayout::fontToBox(box);
    // The em square from the ascender to the descender fills the box.
    QCOMPARE(map.map(QPointF(0, FontDocument::Ascender)), QPointF(box.left(), box.top()));
    QCOMPARE(map.map(QPointF(FontDocument::UnitsPerEm, FontDocument::Descender)),
             QPointF(box.left() + box.width(), box.top() + box.height()));
    // The baseline lies at row 400 of 480.
    QCOMPARE(map.map(QPointF(0, 0)).y(), box.top() + box.height() * 400.0 / 480.0);
}

void TestGlyphGridLayout::codeLabel_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");
    QTest::newRow("space") << 0x20 << "20";
    QTest::newRow("upper case") << 0xAB << "AB";
    QTest::newRow("last single byte") << 0xFF << "FF";
    QTest::newRow("double byte") << 0x8140 << "8140";
    QTest::newRow("above 0xFF, padded") << 0x100 << "0100";
}

void TestGlyphGridLayout::codeLabel()
{
    QFETCH(int, code);
    QFETCH(QString, label);
    QCOMPARE(GlyphGridLayout::codeLabel(code), label);
}

QTEST_APPLESS_MAIN(TestGlyphGridLayout)
#include "tst_fontd_gridlayout.moc"

#include "chartable/CharTable.h"
#include "chartable/PixelBlock.h"
#include "chartable/TableHistory.h"
#include "common/SampleTable.h"

#include <QTest>
#include <functional>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Green = 0xff0ac81e;

using Edit = std::function<void(QImage&)>;
} // namespace

class TestTableHistory : public QObject
{
    Q_OBJECT

private slots:
    void pixelBlock_data();
    void pixelBlock();
    void steps_data();
    void steps();
    void withinBudgetAfterManySteps();
};

void TestTableHistory::pixelBlock_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QRgb>("extra"); // one pixel of this colour at the rect's top left
    QTest::addColumn<qsizetype>("bytes");

    // Row 0 of the sample table holds set dots every fifth pixel.
    QTest::newRow("one colour") << QRect(1, 1, 1, 1) << Black << qsizetype(0);
    QTest::newRow("black and white: a bit a pixel")
        << QRect(32, 0, 32, 32) << White << qsizetype(4 * 32);
    QTest::newRow("whole table black and white")
        << QRect(0, 0, 512, 512) << Black << qsizetype(64 * 512);
    QTest::newRow("another colour: every pixel")
        << QRect(64, 96, 20, 7) << Green << qsizetype(4 * 20 * 7);
}

void TestTableHistory::pixelBlock()
{
    QFETCH(QRect, rect);
    QFETCH(QRgb, extra);
    QFETCH(qsizetype, bytes);
    QImage table = SampleTable::make();
    table.setPixel(1, 1, White);
    table.setPixel(2, 1, White);
    table.setPixel(rect.topLeft(), extra);

    const PixelBlock block = PixelBlock::of(table.copy(rect), rect.topLeft());
    QCOMPARE(block.rect(), rect);
    QCOMPARE(block.bytes(), bytes);
    // Painted into a table of other content, the block gives its pixels back exactly, and
    // nothing around them changes.
    QImage other = CharTable::blank();
    CharTable::invertRect(other, QRect(0, 0, 512, 256));
    QImage expected = other.copy();
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            expected.setPixel(x, y, table.pixel(x, y));
    block.paint(other);
    QCOMPARE(other, expected);
    // A table read from a file in another format is converted first.
    QImage indexed = CharTable::blank().convertToFormat(QImage::Format_Indexed8);
    block.paint(indexed);
    QCOMPARE(indexed.format(), QImage::Format_RGB32);
    QCOMPARE(indexed.pixel(rect.topLeft()), table.pixel(rect.topLeft()));
}

void TestTableHistory::steps_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("invert"); // recorded as an inversion, else as replaced pixels
    QTest::addColumn<QRect>("rect");  // the area the change is recorded for
    QTest::addColumn<QRect>("changed");

    const QRect cell(32, 128, 32, 32); // code 65
    const QRect glyph(32, 128, 12, 20);
    const QRect table(0, 0, 512, 512);
    QTest::newRow("dots of a stroke: their bounding box") << Edit([](QImage& t) {
        CharTable::setPixel(t, QPoint(35, 131), Black);
        CharTable::setPixel(t, QPoint(40, 140), Black);
        CharTable::setPixel(t, QPoint(37, 139), White);
    }) << false << cell << QRect(QPoint(35, 131), QPoint(40, 140));
    QTest::newRow("Fil of a glyph: its clear dots")
        << Edit([glyph](QImage& t) { CharTable::fillRect(t, glyph, Black); }) << false << glyph
        << glyph;
    QTest::newRow("Rev of a glyph")
        << Edit([glyph](QImage& t) { CharTable::invertRect(t, glyph); }) << true << glyph << glyph;
    // The sample's bottom row is clear already.
    QTest::newRow("AllClr keeps the colours it cleared")
        << Edit(CharTable::clearAll) << false << table << QRect(0, 0, 512, 511);
    QTest::newRow("AllFil") << Edit(CharTable::fillAll) << false << table << table;
    QTest::newRow("AllRev") << Edit(CharTable::invertAll) << true << table << table;
    QTest::newRow("a glyph beyond the table")
        << Edit([](QImage&) {}) << true << QRect(0, 512, 32, 32) << QRect();
    QTest::newRow("a change that changes nothing")
        << Edit([](QImage& t) { CharTable::setPixel(t, QPoint(0, 0), Black); }) << false
        << QRect(0, 0, 1, 1) << QRect();
}

void TestTableHistory::steps()
{
    QFETCH(Edit, edit);
    QFETCH(bool, invert);
    QFETCH(QRect, rect);
    QFETCH(QRect, changed);
    QImage table = SampleTable::make();
    TableHistory history(table);
    const QImage before = table.copy();

    const QImage was = table.copy(rect & table.rect());
    edit(table);
    const QImage after = table.copy();
    history.record(
        invert ? TableChange::inverted(QStringLiteral("step"), 65, rect, table)
               : TableChange::replaced(QStringLiteral("step"), 65, was, rect.topLeft(), table));
    if (changed.isEmpty()) {
        QCOMPARE(history.count(), 0);
        QVERIFY(!history.nextUndo());
        return;
    }
    QCOMPARE(history.count(), 1);
    QCOMPARE(table, after); // recording does not make the change again
    QCOMPARE(history.undoText(), QStringLiteral("step"));
    QCOMPARE(history.nextUndo()->code(), 65);
    QCOMPARE(history.nextUndo()->rect(), changed);

    history.undo();
    QCOMPARE(table, before);
    QVERIFY(!history.nextUndo());
    QCOMPARE(history.nextRedo()->rect(), changed);
    history.redo();
    QCOMPARE(table, after);
    history.undo();
    QCOMPARE(table, before);
}

void TestTableHistory::withinBudgetAfterManySteps()
{
    // The dearest steps there are: strokes over cells of many colours, and now and then a
    // whole-table step over a table of many colours, which keeps every pixel.
    QImage table = CharTable::blank();
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            table.setPixel(x, y, qRgb(x / 2, y / 2, (x + y) % 255 + 1));
    const QImage colours = table.copy();
    TableHistory history(table);
    QList<QImage> states{table.copy()};
    qsizetype most = 0;
    for (int i = 0; i < 10000; ++i) {
        if (i % 500 == 250) {
            const QImage was = table.copy();
            CharTable::clearAll(table);
            history.record(TableChange::replaced(QStringLiteral("AllClr"), -1, was, {}, table));
            table = colours.copy(); // a load brings the colours back
            history.record(
                TableChange::replaced(QStringLiteral("load"), -1, CharTable::blank(), {}, table));
        } else {
            const QRect cell(CharTable::cellOrigin(i % 256), QSize(32, 32));
            const QImage was = table.copy(cell);
            CharTable::fillRect(table, QRect(cell.topLeft() + QPoint(i % 32, 0), QSize(1, 32)),
                                i % 2 ? Black : White);
            history.record(TableChange::replaced(QStringLiteral("paint"), i % 256, was,
                                                 cell.topLeft(), table));
        }
        most = std::max(most, history.bytes());
        QVERIFY(history.count() <= TableHistory::StepLimit);
        if (i >= 9995)
            states.append(table.copy());
    }
    qInfo("%d steps kept, at most %lld bytes", history.count(), qlonglong(most));
    QVERIFY(most <= TableHistory::ByteBudget);
    QVERIFY(history.count() >= 100);
    // The newest steps are still whole.
    for (int i = int(states.size()) - 2; i >= 1; --i) {
        history.undo();
        QCOMPARE(table, states[i]);
    }
}

QTEST_APPLESS_MAIN(TestTableHistory)
#include "tst_tablehistory.moc"

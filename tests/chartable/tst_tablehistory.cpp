#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "chartable/PixelBlock.h"
#include "chartable/TableHistory.h"
#include "common/SampleTable.h"

#include <QTest>

class TestTableHistory : public QObject
{
    Q_OBJECT

private slots:
    void changesKeepLittle();
    void withinBudgetAfterManySteps();
};

void TestTableHistory::changesKeepLittle()
{
    // A table of black and white takes a bit a pixel, one colour nothing: AllFil keeps 32 KB.
    QImage table = CharTable::blank();
    const QRect whole = table.rect();
    CharTable::fillRect(table, QRect(0, 0, 5, 5), CharTable::SetColour);
    PixelBlock before = PixelBlock::capture(table, whole);
    CharTable::fillAll(table);
    const TableChange allFil = TableChange::replaced(QStringLiteral("AllFil"), -1, before, table);
    QVERIFY2(allFil.bytes() < 33 * 1024, qPrintable(QString::number(allFil.bytes())));
    // Nothing changed, nothing beyond the table: nothing to record.
    before = PixelBlock::capture(table, whole);
    QVERIFY(TableChange::replaced({}, -1, before, table).isEmpty());
    before = PixelBlock::capture(table, QRect(0, 512, 32, 32));
    CharTable::clearAll(table);
    QVERIFY(TableChange::replaced({}, 256, before, table).isEmpty());
    QVERIFY(TableChange::inverted({}, 256, QRect(0, 512, 32, 32), table).isEmpty());
}

void TestTableHistory::withinBudgetAfterManySteps()
{
    // The dearest steps there are: strokes over cells of many colours, and now and then a
    // whole-table step over a table of many colours, which keeps every pixel.
    GlyphStore store;
    QImage& table = store.pageForWrite(0);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            table.setPixel(x, y, qRgb(x / 2, y / 2, (x + y) % 255 + 1));
    const QImage colours = table.copy();
    TableHistory history(store);
    // The table after each of the last steps, enough for every step the history can keep; a
    // change that changed nothing is no step.
    constexpr int Steps = 10000;
    const auto digest = [&table] {
        return qHashBits(table.constBits(), size_t(table.sizeInBytes()));
    };
    QList<size_t> states;
    const auto note = [&] {
        if (!states.isEmpty() && digest() != states.last())
            states.append(digest());
    };
    qsizetype most = 0;
    for (int i = 0; i < Steps; ++i) {
        if (i == Steps - TableHistory::StepLimit - 2)
            states.append(digest());
        if (i % 500 == 250) {
            const PixelBlock was = PixelBlock::capture(table, table.rect());
            CharTable::clearAll(table);
            history.record(TableChange::replaced(QStringLiteral("AllClr"), -1, was, table));
            note();
            const PixelBlock blank = PixelBlock::capture(table, table.rect());
            table = colours.copy(); // a load brings the colours back
            history.record(TableChange::replaced(QStringLiteral("load"), -1, blank, table));
        } else {
            const QRect cell(CharTable::cellOrigin(i % 256), QSize(32, 32));
            const PixelBlock was = PixelBlock::capture(table, cell);
            CharTable::fillRect(table, QRect(cell.topLeft() + QPoint(i % 32, 0), QSize(1, 32)),
                                i % 2 ? CharTable::SetColour : CharTable::ClearColour);
            history.record(TableChange::replaced(QStringLiteral("paint"), i % 256, was, table));
        }
        most = std::max(most, history.bytes());
        QVERIFY(history.count() <= TableHistory::StepLimit);
        note();
    }
    QVERIFY2(most <= TableHistory::ByteBudget, qPrintable(QString::number(most)));
    QVERIFY(history.count() >= 100);
    // Every step kept through the trims is whole and in its place: the table goes back
    // through each state it had, as far as the history reaches, and forward again.
    const int kept = history.count();
    for (int k = 1; k <= kept; ++k) {
        history.undo();
        QVERIFY2(digest() == states[states.size() - 1 - k], qPrintable(QString::number(k)));
    }
    QVERIFY(!history.canUndo());
    for (int k = kept - 1; k >= 0; --k) {
        history.redo();
        QVERIFY2(digest() == states[states.size() - 1 - k], qPrintable(QString::number(k)));
    }
}

QTEST_APPLESS_MAIN(TestTableHistory)
#include "tst_tablehistory.moc"

#include "chartable/CharTable.h"
#include "chartable/TableHistory.h"
#include "common/SampleTable.h"

#include <QTest>

class TestTableHistory : public QObject
{
    Q_OBJECT

private slots:
    void changeIsCutToWhatDiffers();
    void withinBudgetAfterManySteps();
};

void TestTableHistory::changeIsCutToWhatDiffers()
{
    QImage table = SampleTable::make();
    const QRect cell(32, 128, 32, 32);
    const QImage before = table.copy(cell);
    CharTable::setPixel(table, QPoint(35, 131), CharTable::SetColour);
    CharTable::setPixel(table, QPoint(40, 140), CharTable::SetColour);
    CharTable::setPixel(table, QPoint(36, 131), CharTable::SetColour); // set already
    const TableChange change =
        TableChange::replaced(QStringLiteral("paint"), 65, before, cell.topLeft(), table);
    QCOMPARE(change.rect(), QRect(QPoint(35, 131), QPoint(40, 140)));
    QVERIFY(TableChange::replaced({}, 65, table.copy(cell), cell.topLeft(), table).isEmpty());
    QVERIFY(TableChange::inverted({}, 256, QRect(0, 512, 32, 32), table).isEmpty());
    // Black and white take a bit a pixel, one colour nothing: AllFil keeps 32 KB.
    const QImage blank = CharTable::blank();
    CharTable::fillAll(table);
    const qsizetype allFil = TableChange::replaced({}, -1, blank, {}, table).bytes();
    QVERIFY2(allFil < 33 * 1024, qPrintable(QString::number(allFil)));
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
    QList<QImage> newest;
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
                                i % 2 ? CharTable::SetColour : CharTable::ClearColour);
            history.record(TableChange::replaced(QStringLiteral("paint"), i % 256, was,
                                                 cell.topLeft(), table));
        }
        most = std::max(most, history.bytes());
        QVERIFY(history.count() <= TableHistory::StepLimit);
        if (i >= 9996)
            newest.append(table.copy());
    }
    QVERIFY2(most <= TableHistory::ByteBudget, qPrintable(QString::number(most)));
    QVERIFY(history.count() >= 100);
    // The newest steps are whole: they go back step by step, and come again.
    for (int i = int(newest.size()) - 2; i >= 0; --i) {
        history.undo();
        QCOMPARE(table, newest[i]);
    }
    history.redo();
    QCOMPARE(table, newest[1]);
}

QTEST_APPLESS_MAIN(TestTableHistory)
#include "tst_tablehistory.moc"

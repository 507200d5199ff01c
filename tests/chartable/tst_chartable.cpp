#include "chartable/CharTable.h"
#include "common/SampleTable.h"

#include <QTest>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;

int countSet(const QImage& table)
{
    int n = 0;
    for (int y = 0; y < table.height(); ++y)
        for (int x = 0; x < table.width(); ++x)
            n += CharTable::isSet(table, QPoint(x, y));
    return n;
}
} // namespace

class TestCharTable : public QObject
{
    Q_OBJECT

private slots:
    void blankIsAllClear();
    void cellOrigin_data();
    void cellOrigin();
    void setColour_data();
    void setColour();
    void beyondTheTableHasNoPixels_data();
    void beyondTheTableHasNoPixels();
    void fillRectIsClipped();
    void invertRectSwapsBlackAndWhite();
    void fillThenInvertGivesWhite();
    void invertTwiceRestores();
    void clearAll();
    void otherFormatsAreConverted_data();
    void otherFormatsAreConverted();
};

void TestCharTable::blankIsAllClear()
{
    const QImage table = CharTable::blank();
    QCOMPARE(table.size(), QSize(512, 512));
    QCOMPARE(table.format(), QImage::Format_RGB32);
    QCOMPARE(countSet(table), 0);
    QCOMPARE(table.pixel(511, 511), White);
}

void TestCharTable::cellOrigin_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QPoint>("origin");

    QTest::newRow("0") << 0 << QPoint(0, 0);
    QTest::newRow("15: end of the top row") << 15 << QPoint(480, 0);
    QTest::newRow("16: second row") << 16 << QPoint(0, 32);
    QTest::newRow("33") << 33 << QPoint(32, 64);
    QTest::newRow("65: A") << 65 << QPoint(32, 128);
    QTest::newRow("255: last cell") << 255 << QPoint(480, 480);
    QTest::newRow("256: below the table") << 256 << QPoint(0, 512);
    QTest::newRow("0x8140") << 0x8140 << QPoint(0, 0x814 * 32);
    QTest::newRow("65535") << 65535 << QPoint(480, 4095 * 32);
}

void TestCharTable::cellOrigin()
{
    QFETCH(int, code);
    QFETCH(QPoint, origin);
    QCOMPARE(CharTable::cellOrigin(code), origin);
    // The cell under a point: anywhere inside the cell, and the pixel before it is the code
    // before (the last cell of the row above at the left edge).
    QCOMPARE(CharTable::codeAt(origin.x() + 31.9, origin.y() + 0.5), code);
    QCOMPARE(CharTable::codeAt(origin.x() - 0.5, origin.y() + 31.9), code - 1);
}

void TestCharTable::setColour_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<bool>("set");

    QTest::newRow("black") << qRgb(0, 0, 0) << true;
    QTest::newRow("white") << qRgb(255, 255, 255) << false;
    QTest::newRow("blue 1") << qRgb(0, 0, 1) << false;
    QTest::newRow("green 1") << qRgb(0, 1, 0) << false;
    QTest::newRow("red 1") << qRgb(1, 0, 0) << false;
    QTest::newRow("dark grey") << qRgb(8, 8, 8) << false;
    QTest::newRow("window text of a dark scheme") << qRgb(30, 30, 30) << false;
}

void TestCharTable::setColour()
{
    QFETCH(QRgb, colour);
    QFETCH(bool, set);
    QImage table = CharTable::blank();
    QVERIFY(CharTable::setPixel(table, QPoint(40, 50), colour));
    QCOMPARE(CharTable::isSet(table, QPoint(40, 50)), set);
    QCOMPARE(*CharTable::pixel(table, QPoint(40, 50)), colour);
    QCOMPARE(countSet(table), set ? 1 : 0);
}

void TestCharTable::beyondTheTableHasNoPixels_data()
{
    QTest::addColumn<QPoint>("p");

    QTest::newRow("first row below") << QPoint(0, 512);
    QTest::newRow("right of the table") << QPoint(512, 0);
    QTest::newRow("negative") << QPoint(-1, 5);
    QTest::newRow("far below") << QPoint(31, 0x814 * 32 + 31);
}

void TestCharTable::beyondTheTableHasNoPixels()
{
    QFETCH(QPoint, p);
    QImage table = CharTable::blank();
    CharTable::fillAll(table);
    const QImage before = table.copy();
    QVERIFY(!CharTable::pixel(table, p));
    QVERIFY(!CharTable::isSet(table, p)); // no colour is not black
    QVERIFY(!CharTable::setPixel(table, p, White));
    CharTable::fillRect(table, QRect(p, QSize(1, 1)), White);
    CharTable::invertRect(table, QRect(p, QSize(1, 1)));
    QCOMPARE(table, before);
}

void TestCharTable::fillRectIsClipped()
{
    QImage table = CharTable::blank();
    // A glyph rectangle of the last row of cells reaching past the bottom edge.
    CharTable::fillRect(table, QRect(480, 500, 32, 32), Black);
    QCOMPARE(countSet(table), 32 * 12);
    QVERIFY(CharTable::isSet(table, QPoint(511, 511)));
    QVERIFY(!CharTable::isSet(table, QPoint(479, 511)));
    // Corners included, nothing else.
    CharTable::fillRect(table, QRect(QPoint(10, 20), QPoint(12, 21)), Black);
    QCOMPARE(countSet(table), 32 * 12 + 3 * 2);
}

void TestCharTable::invertRectSwapsBlackAndWhite()
{
    QImage table = CharTable::blank();
    table.setPixel(5, 5, Black);
    table.setPixel(6, 5, qRgb(0x12, 0x80, 0xfe));
    CharTable::invertRect(table, QRect(5, 5, 3, 1));
    QCOMPARE(table.pixel(5, 5), White);
    QCOMPARE(table.pixel(6, 5), qRgb(0xed, 0x7f, 0x01));
    QCOMPARE(table.pixel(7, 5), Black);
    QCOMPARE(table.pixel(8, 5), White);
    QCOMPARE(countSet(table), 1);
}

void TestCharTable::fillThenInvertGivesWhite()
{
    QImage table = SampleTable::make();
    CharTable::fillAll(table);
    QCOMPARE(countSet(table), 512 * 512);
    CharTable::invertAll(table);
    QCOMPARE(countSet(table), 0);
    QCOMPARE(table, CharTable::blank());
}

void TestCharTable::invertTwiceRestores()
{
    QImage table = SampleTable::make();
    const QImage before = table.copy();
    const int set = countSet(table);
    CharTable::invertAll(table);
    QCOMPARE(countSet(table), 512 * 512 - set - 2); // only the former whites become set
    QCOMPARE(table.pixel(1, 1), qRgb(245, 55, 225));
    QCOMPARE(table.format(), QImage::Format_RGB32);
    CharTable::invertAll(table);
    QCOMPARE(table, before);
}

void TestCharTable::clearAll()
{
    QImage table = SampleTable::make();
    CharTable::clearAll(table);
    QCOMPARE(table, CharTable::blank());
}

void TestCharTable::otherFormatsAreConverted_data()
{
    QTest::addColumn<QImage::Format>("format");

    QTest::newRow("indexed") << QImage::Format_Indexed8;
    QTest::newRow("one bit") << QImage::Format_Mono;
    QTest::newRow("24 bits") << QImage::Format_RGB888;
    QTest::newRow("with alpha") << QImage::Format_ARGB32;
}

void TestCharTable::otherFormatsAreConverted()
{
    // A table read from a file may come in any format; every writer works on it all the same.
    QFETCH(QImage::Format, format);
    QImage source = SampleTable::make();
    source.setPixel(1, 1, White);
    source.setPixel(2, 1, White);
    const int set = countSet(source);
    const QImage table = source.convertToFormat(format);
    QCOMPARE(countSet(table), set);

    QImage t = table;
    QVERIFY(CharTable::setPixel(t, QPoint(1, 1), Black));
    QCOMPARE(t.format(), QImage::Format_RGB32);
    QCOMPARE(countSet(t), set + 1);

    t = table;
    CharTable::fillRect(t, QRect(0, 0, 512, 1), Black);
    QVERIFY(CharTable::isSet(t, QPoint(511, 0)));
    t = table;
    CharTable::invertRect(t, QRect(0, 0, 512, 512));
    QCOMPARE(countSet(t), 512 * 512 - set);
    t = table;
    CharTable::invertAll(t);
    QCOMPARE(countSet(t), 512 * 512 - set);
    t = table;
    CharTable::fillAll(t);
    QCOMPARE(countSet(t), 512 * 512);
    t = table;
    CharTable::clearAll(t);
    QCOMPARE(t, CharTable::blank());
}

QTEST_APPLESS_MAIN(TestCharTable)
#include "tst_chartable.moc"

#include "codes/ScanRange.h"

#include <QTest>

class TestScanRange : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void progress_data();
    void progress();
    void codeList_data();
    void codeList();
};

void TestScanRange::check_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("in order") << "65"
                              << "90" << 65 << 90;
    QTest::newRow("backwards") << "90"
                               << "65" << 65 << 90;
    QTest::newRow("both out of range, backwards") << "300"
                                                  << "10" << 32 << 255;
    QTest::newRow("one code") << "65"
                              << "65" << 65 << 65;
    QTest::newRow("empty and not a number") << ""
                                            << "abc" << 32 << 32;
    QTest::newRow("leading number, blanks") << " 1 00x"
                                            << "2e2" << 100 << 200;
    QTest::newRow("halves to even") << "64.5"
                                    << "65.5" << 64 << 66;
    QTest::newRow("hexadecimal") << "&H41"
                                 << "&H5A" << 65 << 90;
    QTest::newRow("negative") << "-5"
                              << "40" << 32 << 40;
    QTest::newRow("just past the ends") << "31.5"
                                        << "255.5" << 32 << 255;
    QTest::newRow("too large for a double") << "1e999"
                                            << "1" << 32 << 255;
}

void TestScanRange::check()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, start);
    QFETCH(int, end);
    const ScanRange::Range r = ScanRange::check(first, last);
    QCOMPARE(r.start, start);
    QCOMPARE(r.end, end);
}

void TestScanRange::progress_data()
{
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<float>("expected");
    QTest::newRow("start") << 65 << 65 << 90 << 0.0f;
    QTest::newRow("step") << 66 << 65 << 90 << 4.0f;
    QTest::newRow("end") << 90 << 65 << 90 << 100.0f;
    QTest::newRow("fraction") << 33 << 32 << 255 << float(100.0 / 223.0);
    QTest::newRow("one code") << 65 << 65 << 65 << 100.0f;
}

void TestScanRange::progress()
{
    QFETCH(int, c);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(float, expected);
    QCOMPARE(ScanRange::progress(c, start, end), expected);
}

void TestScanRange::codeList_data()
{
    QTest::addColumn<QList<qint32>>("codes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QList<qint32>{} << "";
    QTest::newRow("one") << QList<qint32>{0x41} << "41";
    QTest::newRow("two in a row stay apart") << QList<qint32>{0x41, 0x42} << "41, 42";
    QTest::newRow("spans, unsorted, repeated")
        << QList<qint32>{0x9F, 0x43, 0x80, 0x81, 0x41, 0x82, 0x43, 0x83} << "41, 43, 80-83, 9F";
    QTest::newRow("everything but DEL") << [] {
        QList<qint32> all;
        for (qint32 c = 32; c <= 255; ++c)
            if (c != 127)
                all << c;
        return all;
    }() << "20-7E, 80-FF";
}

void TestScanRange::codeList()
{
    QFETCH(QList<qint32>, codes);
    QFETCH(QString, expected);
    QCOMPARE(ScanRange::codeList(codes), expected);
}

QTEST_APPLESS_MAIN(TestScanRange)
#include "tst_scanrange.moc"

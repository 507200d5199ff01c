#include "codes/ScanRange.h"

#include <QTest>

class TestScanRange : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void progressAndCodeList();
};

void TestScanRange::check_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("backwards, out of range") << "300"
                                             << "10" << 32 << 255;
    QTest::newRow("empty, not a number") << ""
                                         << "abc" << 32 << 32;
    QTest::newRow("leading numbers") << " 1 00x"
                                     << "2e2" << 100 << 200;
    QTest::newRow("halves to even") << "64.5"
                                    << "65.5" << 64 << 66;
    QTest::newRow("hexadecimal") << "&H41"
                                 << "&H5A" << 65 << 90;
    QTest::newRow("just past the ends") << "31.5"
                                        << "255.5" << 32 << 255;
    QTest::newRow("too large for a double") << "1e999"
                                            << "-1e999" << 32 << 255;
}

void TestScanRange::check()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(int, start);
    QFETCH(int, end);
    const ScanRange::Range r = ScanRange::check(first, last);
    QCOMPARE((QList<int>{r.start, r.end}), (QList<int>{start, end}));
}

void TestScanRange::progressAndCodeList()
{
    QCOMPARE(ScanRange::progress(66, 65, 90), 4.0f);
    QCOMPARE(ScanRange::progress(33, 32, 255), float(100.0 / 223.0));
    QCOMPARE(ScanRange::progress(65, 65, 65), 100.0f); // one code: done at once
    QCOMPARE(ScanRange::codeList({}), QString());
    QCOMPARE(ScanRange::codeList({0x9F, 0x43, 0x80, 0x81, 0x41, 0x82, 0x43, 0x83, 0x50, 0x51}),
             QStringLiteral("41, 43, 50, 51, 80-83, 9F"));
}

QTEST_APPLESS_MAIN(TestScanRange)
#include "tst_scanrange.moc"

// Runs a fuzz target's entry point over its seed corpus, so that every build exercises the
// target under the sanitizers even where libFuzzer is not available.
#include <QDir>
#include <QFile>
#include <QTest>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

class TestFuzzSeeds : public QObject
{
    Q_OBJECT

private slots:
    void seeds_data();
    void seeds();
};

void TestFuzzSeeds::seeds_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(SEED_DIR));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(), SEED_DIR);
    for (const QString& name : files)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestFuzzSeeds::seeds()
{
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.constData()),
                                    size_t(data.size())),
             0);
    // Every prefix too: the cheapest way to reach each truncation.
    for (qsizetype n = 0; n < data.size(); n += std::max<qsizetype>(1, data.size() / 64))
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.constData()), size_t(n));
}

QTEST_GUILESS_MAIN(TestFuzzSeeds)
#include "tst_fuzzseeds.moc"

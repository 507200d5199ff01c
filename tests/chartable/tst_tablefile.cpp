#include "chartable/TableFile.h"
#include "common/SampleTable.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray bmp(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data;
}

// data with the 32-bit little-endian field at offset replaced.
QByteArray patched(QByteArray data, int offset, qint32 value)
{
    qToLittleEndian(value, data.data() + offset);
    return data;
}

} // namespace

class TestTableFile : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void writeKeepsEveryColour();

private:
    QTemporaryDir m_dir;
};

void TestTableFile::read_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QImage>("expected"); // null: refused

    const QImage table = SampleTable::make();
    const QByteArray good = bmp(table); // 24 bits, rows bottom-up
    QImage mono(40, 30, QImage::Format_Mono);
    mono.fill(1);
    mono.setPixel(3, 4, 0);
    QImage paletted = table.copy(0, 0, 600, 20).convertToFormat(QImage::Format_Indexed8);

    QTest::newRow("24 bits") << good << table;
    QTest::newRow("stale bytes after the picture") << good + "junk" << table;
    QTest::newRow("rows top-down") << patched(good, 22, -512) << table.mirrored();
    QTest::newRow("1 bit, 40 x 30") << bmp(mono) << mono.convertToFormat(QImage::Format_RGB32);
    QTest::newRow("8 bits, 600 x 20")
        << bmp(paletted) << paletted.convertToFormat(QImage::Format_RGB32);
    QTest::newRow("cut off by one byte") << good.left(good.size() - 1) << QImage();
    QTest::newRow("header only") << good.left(54) << QImage();
    QTest::newRow("empty") << QByteArray() << QImage();
    QTest::newRow("not a BMP") << QByteArray("GIF89a, not a table at all...........") << QImage();
    QTest::newRow("width beyond the bound") << patched(good, 18, 100000) << QImage();
    QTest::newRow("height beyond the bound") << patched(good, 22, -100000) << QImage();
    QTest::newRow("width negative") << patched(good, 18, -512) << QImage();
    QTest::newRow("run-length compressed") << patched(good, 30, 1) << QImage();
    QTest::newRow("pixels inside the header") << patched(good, 10, 20) << QImage();
}

void TestTableFile::read()
{
    QFETCH(QByteArray, data);
    QFETCH(QImage, expected);
    const QString path = m_dir.filePath(QStringLiteral("t.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
    file.close();

    QString error;
    const std::optional<QImage> picture = TableFile::read(path, &error);
    if (expected.isNull()) {
        QVERIFY(!picture);
        QVERIFY(!error.isEmpty());
    } else {
        QVERIFY2(picture, qPrintable(error));
        QCOMPARE(picture->format(), QImage::Format_RGB32);
        QCOMPARE(*picture, expected);
    }
}

void TestTableFile::writeKeepsEveryColour()
{
    const QString path = m_dir.filePath(QStringLiteral("w.bmp"));
    const QImage table = SampleTable::make();
    QString error;
    QVERIFY2(TableFile::write(table, path, &error), qPrintable(error));
    QCOMPARE(QFileInfo(path).size(), 54 + 512 * 512 * 3);
    QCOMPARE(*TableFile::read(path), table);
    // All black and white: one bit per pixel.
    QImage twoColours = table;
    twoColours.setPixel(1, 1, qRgb(255, 255, 255));
    twoColours.setPixel(2, 1, qRgb(0, 0, 0));
    QVERIFY(TableFile::write(twoColours, path));
    QCOMPARE(QFileInfo(path).size(), 62 + 512 * 512 / 8);
    QCOMPARE(*TableFile::read(path), twoColours);
    QVERIFY(!TableFile::read(m_dir.filePath(QStringLiteral("missing.bmp")), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestTableFile)
#include "tst_tablefile.moc"

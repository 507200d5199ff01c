#include "ttedit/DotsBitmap.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

quint32 le32(const QByteArray& b, int offset)
{
    return quint32(uchar(b[offset])) | quint32(uchar(b[offset + 1])) << 8 |
           quint32(uchar(b[offset + 2])) << 16 | quint32(uchar(b[offset + 3])) << 24;
}

// The pixel rows as the format describes them, built pixel by pixel.
QByteArray referenceRows(const QImage& image)
{
    const int rowBytes = ((image.width() + 7) / 8 + 3) / 4 * 4;
    QByteArray rows(qsizetype(rowBytes) * image.height(), '\0');
    for (int y = 0; y < image.height(); ++y) {
        const int fileRow = image.height() - 1 - y;
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).blue() == 0)
                rows[fileRow * rowBytes + x / 8] =
                    char(uchar(rows[fileRow * rowBytes + x / 8]) | (0x80 >> (x % 8)));
    }
    return rows;
}

QImage randomCanvas(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image = blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (random.bounded(3) == 0)
                image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

} // namespace

class TestDotsBitmap : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void headerBytes();
    void blankCanvas();
    void topLeftPixel();
    void bitOrderAndBottomUp();
    void rowsMatchReference_data();
    void rowsMatchReference();
    void inkRule_data();
    void inkRule();
    void otherFormats_data();
    void otherFormats();
    void qtReadsItBack();
    void refusesBadCanvas_data();
    void refusesBadCanvas();
    void saveWritesFile();
    void saveKeepsTailOfLongerFile();
    void saveGrowsShorterFile();
    void saveReportsUnwritable_data();
    void saveReportsUnwritable();
};

void TestDotsBitmap::sizes_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("rowBytes");
    QTest::addColumn<int>("imageBytes");
    QTest::newRow("480 x 480") << 480 << 480 << 60 << 28800;
    QTest::newRow("482 x 482") << 482 << 482 << 64 << 30848;
    QTest::newRow("1 x 1") << 1 << 1 << 4 << 4;
    QTest::newRow("32 x 2") << 32 << 2 << 4 << 8;
    QTest::newRow("33 x 3") << 33 << 3 << 8 << 24;
    QTest::newRow("31 x 1") << 31 << 1 << 4 << 4;
}

void TestDotsBitmap::sizes()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, rowBytes);
    QFETCH(int, imageBytes);
    QCOMPARE(DotsBitmap::rowBytes(w), rowBytes);
    const QByteArray file = DotsBitmap::encode(blank(w, h));
    QCOMPARE(file.size(), 62 + imageBytes);
    QCOMPARE(le32(file, 2), quint32(62 + imageBytes)); // file size
    QCOMPARE(le32(file, 18), quint32(w));
    QCOMPARE(le32(file, 22), quint32(h));
    QCOMPARE(le32(file, 34), quint32(imageBytes));
}

void TestDotsBitmap::headerBytes()
{
    // 480 x 480: file size 28862 = 0x70BE, image size 28800 = 0x7080, 480 = 0x1E0.
    const QByteArray expected = QByteArray::fromHex("424D"
                                                    "BE700000"
                                                    "0000"
                                                    "0000"
                                                    "3E000000"
                                                    "28000000"
                                                    "E0010000"
                                                    "E0010000"
                                                    "0100"
                                                    "0100"
                                                    "00000000"
                                                    "80700000"
                                                    "00000000"
                                                    "00000000"
                                                    "00000000"
                                                    "00000000"
                                                    "FFFFFF00"
                                                    "00000000");
    QCOMPARE(expected.size(), 62);
    QCOMPARE(DotsBitmap::encode(blank(480, 480)).left(62).toHex(), expected.toHex());
}

void TestDotsBitmap::blankCanvas()
{
    const QByteArray file = DotsBitmap::encode(blank(482, 482));
    QCOMPARE(file.size(), 62 + 30848);
    QCOMPARE(file.mid(62), QByteArray(30848, '\0'));
}

void TestDotsBitmap::topLeftPixel()
{
    QImage image = blank(480, 480);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    const QByteArray file = DotsBitmap::encode(image);
    QCOMPARE(file.size(), 28862);
    const int at = 62 + 479 * 60;
    QCOMPARE(uchar(file[at]), uchar(0x80));
    QByteArray rest = file.mid(62);
    rest[479 * 60] = 0;
    QCOMPARE(rest, QByteArray(28800, '\0'));
}

void TestDotsBitmap::bitOrderAndBottomUp()
{
    QImage image = blank(482, 3);
    image.setPixel(7, 2, qRgb(0, 0, 0));   // bottom row, last bit of byte 0
    image.setPixel(8, 2, qRgb(0, 0, 0));   // bottom row, first bit of byte 1
    image.setPixel(481, 1, qRgb(0, 0, 0)); // middle row, last pixel: byte 60, bit 0x40
    image.setPixel(480, 0, qRgb(0, 0, 0)); // top row, byte 60, bit 0x80
    const QByteArray rows = DotsBitmap::encode(image).mid(62);
    QCOMPARE(rows.size(), 3 * 64);
    QByteArray expected(3 * 64, '\0');
    expected[0] = char(0x01);
    expected[1] = char(0x80);
    expected[64 + 60] = char(0x40);
    expected[128 + 60] = char(0x80);
    QCOMPARE(rows.toHex(), expected.toHex());
}

void TestDotsBitmap::rowsMatchReference_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    for (int w : {1, 7, 8, 9, 31, 32, 33, 63, 480, 482})
        QTest::addRow("%d wide", w) << w << 13;
}

void TestDotsBitmap::rowsMatchReference()
{
    QFETCH(int, w);
    QFETCH(int, h);
    const QImage image = randomCanvas(w, h, quint32(w * 7919 + h));
    QCOMPARE(DotsBitmap::encode(image).mid(62).toHex(), referenceRows(image).toHex());
}

void TestDotsBitmap::inkRule_data()
{
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<bool>("ink");
    QTest::newRow("black") << qRgb(0, 0, 0) << true;
    QTest::newRow("white") << qRgb(255, 255, 255) << false;
    QTest::newRow("blue byte 0 is ink, whatever the rest") << qRgb(255, 255, 0) << true;
    QTest::newRow("dark blue is not ink") << qRgb(0, 0, 1) << false;
    QTest::newRow("mid grey") << qRgb(128, 128, 128) << false;
}

void TestDotsBitmap::inkRule()
{
    QFETCH(QRgb, color);
    QFETCH(bool, ink);
    QImage image = blank(8, 1);
    image.setPixel(0, 0, color);
    QCOMPARE(uchar(DotsBitmap::encode(image)[62]), uchar(ink ? 0x80 : 0));
}

void TestDotsBitmap::otherFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
    QTest::newRow("ARGB32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("RGB888") << int(QImage::Format_RGB888);
    QTest::newRow("mono") << int(QImage::Format_Mono);
    QTest::newRow("grayscale") << int(QImage::Format_Grayscale8);
}

void TestDotsBitmap::otherFormats()
{
    QFETCH(int, format);
    const QImage rgb = randomCanvas(45, 9, 7);
    const QImage image = rgb.convertToFormat(QImage::Format(format));
    QCOMPARE(DotsBitmap::encode(image).toHex(), DotsBitmap::encode(rgb).toHex());
}

void TestDotsBitmap::qtReadsItBack()
{
    const QImage canvas = randomCanvas(482, 37, 99);
    QImage read;
    QVERIFY(read.loadFromData(DotsBitmap::encode(canvas), "BMP"));
    QCOMPARE(read.size(), canvas.size());
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            QCOMPARE(read.pixelColor(x, y).black() > 128,
                     canvas.pixelColor(x, y) == QColor(Qt::black));
}

void TestDotsBitmap::refusesBadCanvas_data()
{
    QTest::addColumn<QImage>("canvas");
    QTest::newRow("null") << QImage();
    QTest::newRow("too wide") << blank(32768, 1);
    QTest::newRow("too tall") << blank(1, 32768);
}

void TestDotsBitmap::refusesBadCanvas()
{
    QFETCH(QImage, canvas);
    QString error;
    QVERIFY(DotsBitmap::encode(canvas, &error).isEmpty());
    QVERIFY(!error.isEmpty());
    QTemporaryDir dir;
    const QString name = dir.filePath("ptl_dots.bmp");
    error.clear();
    QVERIFY(!DotsBitmap::saveDotsBmp(name, canvas, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(name));
}

void TestDotsBitmap::saveWritesFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("ptl_dots.bmp");
    const QImage canvas = randomCanvas(480, 480, 5);
    QString error;
    QVERIFY2(DotsBitmap::saveDotsBmp(name, canvas, &error), qPrintable(error));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), DotsBitmap::encode(canvas));
}

void TestDotsBitmap::saveKeepsTailOfLongerFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("ptl_dots.bmp");
    const QByteArray old(40000, 'x');
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    const QImage canvas = randomCanvas(480, 480, 6);
    QVERIFY(DotsBitmap::saveDotsBmp(name, canvas));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QByteArray encoded = DotsBitmap::encode(canvas);
    QCOMPARE(bytes.size(), old.size());
    QCOMPARE(bytes.left(encoded.size()), encoded);
    QCOMPARE(bytes.mid(encoded.size()), old.mid(encoded.size()));
    // The header still gives the new sizes, so a reader stops before the tail.
    QCOMPARE(le32(bytes, 2), quint32(28862));
}

void TestDotsBitmap::saveGrowsShorterFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("ptl_dots.bmp");
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("short");
    }
    const QImage canvas = randomCanvas(482, 482, 8);
    QVERIFY(DotsBitmap::saveDotsBmp(name, canvas));
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), DotsBitmap::encode(canvas));
}

void TestDotsBitmap::saveReportsUnwritable_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << "no/such/folder/ptl_dots.bmp";
    QTest::newRow("a folder") << "folder";
}

void TestDotsBitmap::saveReportsUnwritable()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QString error;
    QVERIFY(!DotsBitmap::saveDotsBmp(dir.filePath(relative), blank(480, 480), &error));
    QVERIFY(error.contains(dir.filePath(relative)));
}

QTEST_GUILESS_MAIN(TestDotsBitmap)
#include "tst_dotsbitmap.moc"

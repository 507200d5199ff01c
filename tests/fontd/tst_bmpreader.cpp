#include "TestBmp.h"
#include "fontd/BmpReader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

Q_DECLARE_METATYPE(TestBmp::Options)

namespace {

TestBmp::Options options(int bpp, bool topDown = false, int header = 40)
{
    TestBmp::Options o;
    o.bitsPerPixel = bpp;
    o.topDown = topDown;
    o.headerSize = header;
    return o;
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}
void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

} // namespace

class TestBmpReader : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void writtenByQt_data();
    void writtenByQt();
    void editorCanvas();
    void staleLongerTail();
    void darkIsInk_data();
    void darkIsInk();
    void refused_data();
    void refused();
    void truncatedAnywhere();
    void hugeHeaderOnSmallFile();
    void pixelsFarBeyondTheHeader();
    void missingFile();
};

void TestBmpReader::layouts_data()
{
    QTest::addColumn<TestBmp::Options>("opts");
    QTest::addColumn<int>("width");
    for (int width : {1, 7, 8, 9, 31, 32, 33, 64, 65, 100}) {
        QTest::addRow("1 bit, width %d", width) << options(1) << width;
        QTest::addRow("1 bit top-down, width %d", width) << options(1, true) << width;
    }
    TestBmp::Options swapped = options(1);
    swapped.inkFirst = true;
    QTest::newRow("1 bit, palette swapped") << swapped << 37;
    swapped.topDown = true;
    QTest::newRow("1 bit, palette swapped, top-down") << swapped << 70;
    QTest::newRow("1 bit, core header") << options(1, false, 12) << 19;
    QTest::newRow("1 bit, V4 header") << options(1, false, 108) << 19;
    QTest::newRow("1 bit, V5 header") << options(1, true, 124) << 19;
    for (int bpp : {4, 8}) {
        QTest::addRow("%d bits", bpp) << options(bpp) << 13;
        QTest::addRow("%d bits top-down", bpp) << options(bpp, true) << 13;
        TestBmp::Options s = options(bpp);
        s.inkFirst = true;
        QTest::addRow("%d bits ink first", bpp) << s << 13;
        TestBmp::Options two = options(bpp);
        two.paletteSize = 2;
        QTest::addRow("%d bits two colours", bpp) << two << 13;
    }
    QTest::newRow("8 bits, core header") << options(8, false, 12) << 13;
    for (int bpp : {16, 24, 32}) {
        QTest::addRow("%d bits", bpp) << options(bpp) << 13;
        QTest::addRow("%d bits top-down", bpp) << options(bpp, true) << 13;
    }
    QTest::newRow("24 bits, core header") << options(24, false, 12) << 13;
    for (int bpp : {16, 32}) {
        TestBmp::Options f = options(bpp);
        f.bitFields = true;
        QTest::addRow("%d bits, bit fields", bpp) << f << 13;
        f.headerSize = 124;
        QTest::addRow("%d bits, bit fields, V5 header", bpp) << f << 13;
    }
}

void TestBmpReader::layouts()
{
    QFETCH(TestBmp::Options, opts);
    QFETCH(int, width);
    const InkMask ink =
        TestBmp::randomMask(width, 11, 0.5, quint32(width * 31 + opts.bitsPerPixel));
    QString error;
    const auto read = BmpReader::read(TestBmp::encode(ink, opts), &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->toText(), ink.toText());
    // Bits past the width stay clear: the tracer relies on it.
    QCOMPARE(*read, ink);
}

void TestBmpReader::writtenByQt_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("mono") << int(QImage::Format_Mono);
    QTest::newRow("indexed 8") << int(QImage::Format_Indexed8);
    QTest::newRow("rgb32") << int(QImage::Format_RGB32);
    QTest::newRow("argb32") << int(QImage::Format_ARGB32);
}

void TestBmpReader::writtenByQt()
{
    QFETCH(int, format);
    const InkMask ink = TestBmp::randomMask(45, 23, 0.4, 5);
    QImage image(45, 23, QImage::Format_RGB32);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 45; ++x)
            image.setPixel(x, y, ink.pixel(x, y) ? qRgb(20, 20, 20) : qRgb(250, 240, 230));
    }
    image = image.convertToFormat(QImage::Format(format));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "BMP"));
    QString error;
    const auto read = BmpReader::read(bytes, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->toText(), ink.toText());
}

void TestBmpReader::editorCanvas()
{
    const InkMask canvas = TestBmp::canvas(TestBmp::randomDots(12, 20, 0.45, 3), 100);
    const QByteArray file = TestBmp::editorFormat(canvas);
    // The layout the editor writes: 62-byte header, 64-byte rows.
    QCOMPARE(file.size(), 62 + 64 * 482);
    QString error;
    const auto read = BmpReader::read(file, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(*read, canvas);
}

void TestBmpReader::staleLongerTail()
{
    // The editor rewrites the file in place without shortening it: a small image over a big
    // one leaves the big one's bytes behind the new data.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    const InkMask big = TestBmp::randomMask(482, 482, 0.5, 1);
    const InkMask small = InkMask::fromText({"#..", ".#.", "..#"});
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(TestBmp::editorFormat(big));
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.write(TestBmp::editorFormat(small));
    f.close();
    QVERIFY(QFileInfo(path).size() > 30000);
    QString error;
    const auto read = BmpReader::readFile(path, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->toText(), small.toText());
}

void TestBmpReader::darkIsInk_data()
{
    QTest::addColumn<int>("bpp");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<QRgb>("paper");
    QTest::addColumn<bool>("inkFirst");
    QTest::newRow("1 bit greys") << 1 << qRgb(90, 90, 90) << qRgb(160, 160, 160) << false;
    QTest::newRow("1 bit greys, dark first")
        << 1 << qRgb(90, 90, 90) << qRgb(160, 160, 160) << true;
    QTest::newRow("1 bit both dark") << 1 << qRgb(0, 0, 0) << qRgb(100, 100, 100) << false;
    QTest::newRow("1 bit both light") << 1 << qRgb(150, 150, 150) << qRgb(255, 255, 255) << true;
    QTest::newRow("1 bit navy on yellow") << 1 << qRgb(0, 0, 128) << qRgb(255, 255, 0) << true;
    QTest::newRow("8 bits dark blue") << 8 << qRgb(0, 0, 200) << qRgb(255, 255, 255) << false;
    QTest::newRow("24 bits dark red") << 24 << qRgb(200, 0, 0) << qRgb(255, 255, 255) << false;
    QTest::newRow("24 bits mid grey") << 24 << qRgb(120, 120, 120) << qRgb(140, 140, 140) << false;
}

void TestBmpReader::darkIsInk()
{
    QFETCH(int, bpp);
    QFETCH(QRgb, ink);
    QFETCH(QRgb, paper);
    QFETCH(bool, inkFirst);
    TestBmp::Options o = options(bpp);
    o.ink = ink;
    o.paper = paper;
    o.inkFirst = inkFirst;
    const InkMask mask = InkMask::fromText({"##..#", ".#.#.", "#...#"});
    const auto read = BmpReader::read(TestBmp::encode(mask, o));
    QVERIFY(read);
    QCOMPARE(read->toText(), mask.toText());
}

void TestBmpReader::refused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const QByteArray good = TestBmp::editorFormat(InkMask::fromText({"#.#", ".#."}));
    auto patched = [&](qsizetype at, quint32 value, int bytes = 4) {
        QByteArray b = good;
        if (bytes == 4)
            put32(b, at, value);
        else
            put16(b, at, quint16(value));
        return b;
    };
    QTest::newRow("empty") << QByteArray() << "not a BMP";
    QTest::newRow("text") << QByteArray("hello, world") << "not a BMP";
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "not a BMP";
    QTest::newRow("only the signature") << QByteArray("BM") << "truncated";
    QTest::newRow("cut in the info header") << good.left(30) << "truncated";
    QTest::newRow("cut in the pixels") << good.left(good.size() - 1) << "truncated";
    QTest::newRow("zero width") << patched(18, 0) << "width";
    QTest::newRow("negative width") << patched(18, quint32(-5)) << "width";
    QTest::newRow("zero height") << patched(22, 0) << "height";
    QTest::newRow("100000 x 100000")
        << patched(22, 100000, 4).replace(18, 4, QByteArray("\xA0\x86\x01\x00", 4)) << "too large";
    QTest::newRow("height of INT_MIN") << patched(22, 0x80000000u) << "too large";
    QTest::newRow("header claims more rows") << patched(22, 1000) << "truncated";
    QTest::newRow("pixels beyond the end") << patched(10, 0x7FFFFFF0u) << "truncated";
    QTest::newRow("pixels inside the header") << patched(10, 20) << "inside the header";
    QTest::newRow("two planes") << patched(26, 2, 2) << "planes";
    QTest::newRow("7 bits per pixel") << patched(28, 7, 2) << "depth";
    QTest::newRow("0 bits per pixel") << patched(28, 0, 2) << "depth";
    QTest::newRow("run-length") << patched(30, 1) << "run-length";
    QTest::newRow("JPEG inside") << patched(30, 4) << "compression";
    QTest::newRow("bit fields at 1 bit") << patched(30, 3) << "bit fields";
    QTest::newRow("header of 99 bytes") << patched(14, 99) << "header";
    QTest::newRow("header of 4 GB") << patched(14, 0xFFFFFFFFu) << "header";
}

void TestBmpReader::refused()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!BmpReader::read(data, &error));
    QVERIFY2(error.contains(reason, Qt::CaseInsensitive), qPrintable(error));
}

void TestBmpReader::truncatedAnywhere()
{
    // Every cut of a small file of every depth is refused with a reason, never read wrongly.
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        const QByteArray file = TestBmp::encode(InkMask::fromText({"#.#.", ".##."}), options(bpp));
        for (qsizetype n = 0; n < file.size(); ++n) {
            QString error;
            QVERIFY2(!BmpReader::read(file.left(n), &error),
                     qPrintable(QStringLiteral("%1 bits cut at %2").arg(bpp).arg(n)));
            QVERIFY(!error.isEmpty());
        }
        QVERIFY(BmpReader::read(file));
    }
}

void TestBmpReader::hugeHeaderOnSmallFile()
{
    // The largest image the reader accepts, claimed by a file that holds almost nothing: the
    // size check comes before any allocation.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.bmp"));
    QByteArray b = TestBmp::editorFormat(InkMask::fromText({"#"}));
    put32(b, 18, BmpReader::MaxDimension);
    put32(b, 22, BmpReader::MaxDimension);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();
    QString error;
    QVERIFY(!BmpReader::readFile(path, &error));
    QVERIFY2(error.contains(QStringLiteral("truncated")), qPrintable(error));
}

void TestBmpReader::pixelsFarBeyondTheHeader()
{
    // The header puts the pixels 3.9 GB into a sparse file: the headers and the pixel rows
    // are read, the gap never.
    const InkMask ink = InkMask::fromText({"#..#", ".##."});
    const QByteArray bmp = TestBmp::editorFormat(ink);
    const quint32 start = qFromLittleEndian<quint32>(bmp.constData() + 10);
    const qint64 far = 3900000000;
    QByteArray head = bmp.left(start);
    put32(head, 10, quint32(far));
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("far.bmp")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write(head) == head.size() && f.resize(far) && f.seek(far));
    QVERIFY(f.write(bmp.mid(start)) == bmp.size() - start);
    f.close();
    QString error;
    const auto read = BmpReader::readFile(f.fileName(), &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(*read, ink);
}

void TestBmpReader::missingFile()
{
    QString error;
    QVERIFY(!BmpReader::readFile(QStringLiteral("/nonexistent/ptl_dots.bmp"), &error));
    QVERIFY2(error.contains(QStringLiteral("cannot open")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestBmpReader)
#include "tst_bmpreader.moc"

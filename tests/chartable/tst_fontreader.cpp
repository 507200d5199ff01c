#include "chartable/FontReader.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

using Kind = FontDocument::Kind;

// A glyph of a test font: its BBX offsets and its rows, '#' for a set dot.
struct Picture
{
    int xOffset;
    int yOffset;
    QList<QByteArray> rows;
};

// A frame as large as the font's bounding box (width x 12, 1 dot left of the origin and 3
// below, so 9 rows above the baseline), a letter on the baseline and a comma below it.
QList<Picture> pictures(int width)
{
    QList<QByteArray> frame(12, '#' + QByteArray(width - 2, '.') + '#');
    frame.first() = frame.last() = QByteArray(width, '#');
    return {{-1, -3, frame},
            {0, 0, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
            {-1, -2, {".#", ".#", "#."}}};
}

// A BDF font of those pictures, in turn, at points.
QByteArray bdf(const QByteArray& registry, const QList<int>& points, int width = 8)
{
    QByteArray f = "STARTFONT 2.1\nFONT -Test-Test-Medium-R-Normal--12-120-75-75-C-80-" + registry +
                   "\nSIZE 12 75 75\nFONTBOUNDINGBOX " + QByteArray::number(width) + " 12 -1 -3\n";
    f += registry.isEmpty()
             ? "STARTPROPERTIES 2\n"
             : "STARTPROPERTIES 4\nCHARSET_REGISTRY \"" + registry.split('-').first() +
                   "\"\nCHARSET_ENCODING \"" + registry.split('-').last() + "\"\n";
    f += "FONT_ASCENT 9\nFONT_DESCENT 3\nENDPROPERTIES\n";
    f += "CHARS " + QByteArray::number(points.size()) + '\n';
    const QList<Picture> all = pictures(width);
    for (int i = 0; i < points.size(); ++i) {
        const Picture& p = all[i % 3];
        const int w = int(p.rows.first().size());
        f += "STARTCHAR g\nENCODING " + QByteArray::number(points[i]) + "\nSWIDTH 666 0\nDWIDTH " +
             QByteArray::number(width) + " 0\nBBX " + QByteArray::number(w) + ' ' +
             QByteArray::number(p.rows.size()) + ' ' + QByteArray::number(p.xOffset) + ' ' +
             QByteArray::number(p.yOffset) + "\nBITMAP\n";
        for (const QByteArray& row : p.rows) {
            QByteArray bytes((w + 7) / 8, '\0');
            for (int x = 0; x < w; ++x)
                bytes[x / 8] = char(bytes[x / 8] | (row[x] == '#' ? 0x80 >> (x % 8) : 0));
            f += bytes.toHex() + '\n';
        }
        f += "ENDCHAR\n";
    }
    return f + "ENDFONT\n";
}

// A picture where the reader must put it: in a cell of size whose top row is 9 dots above the
// baseline and whose left column is 1 dot left of the origin.
QList<QByteArray> cell(const Picture& p, QSize size)
{
    QList<QByteArray> rows(size.height(), QByteArray(size.width(), '.'));
    const int top = 9 - p.yOffset - int(p.rows.size());
    for (int y = 0; y < p.rows.size(); ++y)
        for (int x = 0; x < p.rows[y].size(); ++x)
            if (p.rows[y][x] == '#' && x + p.xOffset + 1 < size.width())
                rows[top + y][x + p.xOffset + 1] = '#';
    return rows;
}

QList<QByteArray> dots(const FontReader::Glyph& g, QSize size)
{
    QList<QByteArray> rows(size.height(), QByteArray(size.width(), '.'));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            rows[y][x] = g.dot(x, y) ? '#' : '.';
    return rows;
}

bool run(const QString& command)
{
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}) == 0;
}

} // namespace

class TestFontReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }
    void registries_data();
    void registries();
    void outline_data();
    void outline();
    void badInput_data();
    void badInput();

private:
    QTemporaryDir m_dir;
};

void TestFontReader::registries_data()
{
    QTest::addColumn<QString>("file");        // font.bdf, font.pcf and either gzipped
    QTest::addColumn<QByteArray>("registry"); // empty: none
    QTest::addColumn<int>("kind");            // -1: the kind the font implies
    QTest::addColumn<int>("implied");         // -1: none
    QTest::addColumn<QList<int>>("points");
    QTest::addColumn<QList<int>>("codes"); // -1: the kind holds none
    QTest::addColumn<int>("width");

    struct Row
    {
        const char* name;
        QByteArray registry;
        int kind, implied;
        QList<int> points, codes;
        int width = 8;
    };
    const QList<Row> rows{
        {"Latin-1",
         "ISO8859-1",
         -1,
         Kind::Western,
         {'A', 0xE9, ',', 0x85, 10},
         {'A', 0xE9, ',', -1, -1}},
        {"Latin-1, cut at 32", "ISO8859-1", -1, Kind::Western, {'A'}, {'A'}, 40},
        {"Unicode as Western",
         "ISO10646-1",
         Kind::Western,
         -1,
         {0x20AC, 0xE9, 0x3042},
         {0x80, 0xE9, -1}},
        {"Unicode as Japanese",
         "ISO10646-1",
         Kind::Japanese,
         -1,
         {0xFF71, 0x3042, 0xE9, 'A'},
         {0xB1, 0x82A0, -1, 'A'}},
        {"JIS X 0201", "JISX0201.1976-0", -1, Kind::Japanese, {0xB1, 'A', 0x80}, {0xB1, 'A', -1}},
        {"JIS X 0208",
         "JISX0208.1990-0",
         -1,
         Kind::Japanese,
         {0x2422, 0x2D21, 0x7426, 0x2F21},
         {0x82A0, 0x8740, 0xEAA4, -1}},
        {"JIS X 0208 as Western",
         "JISX0208.1983-0",
         Kind::Western,
         Kind::Japanese,
         {0x2178, 0x2422},
         {0xA7, -1}},
        {"no registry", "", Kind::Western, -1, {'A', 0xE9, 0x141}, {'A', 0xE9, -1}},
    };
    for (const Row& r : rows) {
        for (const char* file : {"font.bdf", "font.pcf", "font.bdf.gz", "font.pcf.gz"})
            QTest::addRow("%s, %s", r.name, file)
                << QString::fromLatin1(file) << r.registry << r.kind << r.implied << r.points
                << r.codes << r.width;
    }
}

void TestFontReader::registries()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, registry);
    QFETCH(int, kind);
    QFETCH(int, implied);
    QFETCH(QList<int>, points);
    QFETCH(QList<int>, codes);
    QFETCH(int, width);
    QFile out(QStringLiteral("font.bdf"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bdf(registry, points, width));
    out.close();
    QVERIFY(run(QStringLiteral("bdftopcf -o font.pcf font.bdf && gzip -nkf font.bdf font.pcf")));

    FontReader reader;
    QString error;
    QVERIFY2(reader.open(file, 16, &error), qPrintable(error));
    QCOMPARE(reader.format(), file.contains(u"bdf") ? u"BDF" : u"PCF");
    QCOMPARE(reader.impliedKind() ? int(*reader.impliedKind()) : -1, implied);
    const auto font = reader.read(kind < 0 ? Kind(implied) : Kind(kind), &error);
    QVERIFY2(font, qPrintable(error));
    const QSize size(std::min(width, 32), 12);
    QCOMPARE(font->glyphSize, size);
    QCOMPARE(font->baseline, 9);
    QCOMPARE(font->box, QRect(-1, -9, width, 12));
    QCOMPARE(font->cut, width > 32 ? 1 : 0);
    QCOMPARE(font->unheld, int(codes.count(-1)));
    QList<int> read;
    for (const FontReader::Glyph& g : font->glyphs) {
        read.append(g.code);
        const int i = int(codes.indexOf(g.code));
        QCOMPARE(dots(g, size), cell(pictures(width)[i % 3], size));
    }
    QList<int> held = codes;
    held.removeAll(-1);
    std::sort(held.begin(), held.end());
    QCOMPARE(read, held);
}

void TestFontReader::outline_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("codes"); // of U+25A1, U+0041, U+3042; -1: none
    QTest::newRow("TrueType, Japanese")
        << "pixels.ttf" << int(Kind::Japanese) << QList<int>{0x81A0, 'A', 0x82A0};
    QTest::newRow("WOFF, Western")
        << "pixels.woff" << int(Kind::Western) << QList<int>{-1, 'A', -1};
    QTest::newRow("WOFF2, Japanese")
        << "pixels.woff2" << int(Kind::Japanese) << QList<int>{0x81A0, 'A', 0x82A0};
}

void TestFontReader::outline()
{
    QFETCH(QString, file);
    QFETCH(int, kind);
    QFETCH(QList<int>, codes);
    // Dots of 100 units at 1000 units per em: at 10 pixels each is a pixel.
    const QStringList pictures{
        "##########/#........#/#........#/#........#/#........#/#........#/#........#/"
        "#........#/#........#/##########",
        "........../..##....../.#..#...../#....#..../######..../#....#..../#....#....",
        "........../....#...../..######../....#...../...####.../..#.#..#../.#.#...#../"
        ".#..#..#../..##..#...",
    };
    QVERIFY(run(QStringLiteral("/usr/bin/python3 %1/tests/fontd/make_test_font.py %2 pixels "
                               "25A1=%3 41=%4 3042=%5")
                    .arg(qEnvironmentVariable("POINTILLO_SOURCE_DIR"), file, pictures[0],
                         pictures[1], pictures[2])));
    QString error;
    const auto font = FontReader::read(file, 10, Kind(kind), &error);
    QVERIFY2(font, qPrintable(error));
    QCOMPARE(font->glyphSize, QSize(10, 10));
    QCOMPARE(font->baseline, 8);
    QCOMPARE(font->unheld, int(codes.count(-1)));
    QCOMPARE(font->glyphs.size(), size_t(3 - codes.count(-1)));
    for (const FontReader::Glyph& g : font->glyphs) {
        QList<QByteArray> expected = pictures[codes.indexOf(g.code)].toLatin1().split('/');
        expected.resize(10, QByteArray(10, '.'));
        QCOMPARE(dots(g, QSize(10, 10)), expected);
    }
}

void TestFontReader::badInput_data()
{
    QTest::addColumn<QString>("make"); // shell command run on bad, if any
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<qint64>("memory");
    QTest::addColumn<QString>("message");

    const QByteArray good = bdf("ISO8859-1", {'A', 'B'});
    const qint64 all = FontReader::MaxMemoryBytes;
    QTest::newRow("no file") << "rm -f bad" << QByteArray() << 16 << all << "No such file";
    QTest::newRow("a FIFO") << "rm -f bad && mkfifo bad" << QByteArray() << 16 << all << "FIFO";
    QTest::newRow("a device") << "ln -sf /dev/zero bad" << QByteArray() << 16 << all << "device";
    QTest::newRow("65 MB, never read")
        << "truncate -s 65M bad" << QByteArray() << 16 << all << "larger than 64 MB";
    QTest::newRow("not a font") << "" << QByteArray("hello\n") << 16 << all
                                << "not a font that FreeType reads";
    QTest::newRow("gzip damaged") << "" << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03xyz", 13) << 16
                                  << all << "the gzip data";
    QTest::newRow("gzip of 17 MB") << "head -c 17000000 /dev/zero | gzip -n > bad" << QByteArray()
                                   << 16 << all << "unpacks to more than 16 MB";
    QTest::newRow("BDF of 17 MB") << "" << good + "COMMENT " + QByteArray(17 << 20, 'x') << 16
                                  << all << "larger than 16 MB";
    QTest::newRow("ten million glyphs")
        << "" << QByteArray(good).replace("CHARS 2", "CHARS 10000000") << 16 << all
        << "10000000 glyphs are more than the 65536";
    QTest::newRow("not hexadecimal")
        << "" << QByteArray(good).replace("\n81\n", "\nG1\n") << 16 << all << "not hexadecimal";
    QTest::newRow("PCF glyph of 300 dots")
        << "bdftopcf -o bad.pcf bad && mv bad.pcf bad" << bdf("ISO8859-1", {'A'}, 300) << 16 << all
        << "a glyph larger than 256 dots";
    QTest::newRow("KOI8-R") << "" << bdf("KOI8-R", {'A'}) << 16 << all
                            << "registry KOI8-R is none of those read";
    QTest::newRow("pixel size 65") << "" << good << 65 << all << "65 is not within 1 to 64";
    QTest::newRow("4 KiB for FreeType")
        << "" << good << 16 << qint64(4 << 10) << "needs more than 4";
}

void TestFontReader::badInput()
{
    QFETCH(QString, make);
    QFETCH(QByteArray, file);
    QFETCH(int, pixelSize);
    QFETCH(qint64, memory);
    QFETCH(QString, message);
    QFile::remove(QStringLiteral("bad"));
    if (!file.isNull()) {
        QFile out(QStringLiteral("bad"));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    }
    QVERIFY(make.isEmpty() || run(make));
    FontReader reader;
    reader.setMemoryLimit(memory);
    QString error;
    QVERIFY(!reader.open(QStringLiteral("bad"), pixelSize, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!reader.read(Kind::Western));
}

QTEST_GUILESS_MAIN(TestFontReader)
#include "tst_fontreader.moc"

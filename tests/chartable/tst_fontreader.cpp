#include "chartable/FontReader.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>

namespace {

using Kind = FontDocument::Kind;

// A glyph of a test font: its BBX offsets and its rows, '#' for a set dot.
using Picture = std::tuple<int, int, QList<QByteArray>>;

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
    f += "FONT_ASCENT 9\nFONT_DESCENT 3\nENDPROPERTIES\nCHARS " +
         QByteArray::number(points.size()) + '\n';
    const QList<Picture> all = pictures(width);
    for (int i = 0; i < points.size(); ++i) {
        const auto& [xOffset, yOffset, rows] = all[i % 3];
        const int w = int(rows.first().size());
        f += "STARTCHAR g\nENCODING " + QByteArray::number(points[i]) + "\nSWIDTH 666 0\nDWIDTH " +
             QByteArray::number(width) + " 0\nBBX " + QByteArray::number(w) + ' ' +
             QByteArray::number(rows.size()) + ' ' + QByteArray::number(xOffset) + ' ' +
             QByteArray::number(yOffset) + "\nBITMAP\n";
        for (const QByteArray& row : rows) {
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
    const auto& [xOffset, yOffset, glyph] = p;
    QList<QByteArray> rows(size.height(), QByteArray(size.width(), '.'));
    for (int y = 0; y < glyph.size(); ++y)
        for (int x = 0; x < glyph[y].size(); ++x)
            if (glyph[y][x] == '#' && x + xOffset + 1 < size.width())
                rows[9 - yOffset - int(glyph.size()) + y][x + xOffset + 1] = '#';
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

bool write(const QString& name, const QByteArray& bytes)
{
    QFile out(name);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
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
    QTest::addColumn<QString>("file"); // font.bdf, font.pcf and either gzipped
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QString>("kinds"); // read as, implied: W, J or - for none (as implied)
    QTest::addColumn<QString>("map");   // code point:code, - for none
    QTest::addColumn<int>("width");

    const QList<std::tuple<const char*, QByteArray, const char*, const char*, int>> rows{
        {"Latin-1", "ISO8859-1", "-W", "41:41 E9:E9 2C:2C 85:- A:-", 8},
        {"Latin-1, cut at 32", "ISO8859-1", "-W", "41:41", 40},
        {"Unicode as Western", "ISO10646-1", "W-", "20AC:80 E9:E9 3042:-", 8},
        {"Unicode as Japanese", "ISO10646-1", "J-", "FF71:B1 3042:82A0 E9:- 41:41", 8},
        {"JIS X 0201", "JISX0201.1976-0", "-J", "B1:B1 41:41 80:-", 8},
        {"JIS X 0208", "JISX0208.1990-0", "-J", "2422:82A0 2D21:8740 7426:EAA4 2F21:-", 8},
        {"JIS X 0208 as Western", "JISX0208.1983-0", "WJ", "2178:A7 2422:-", 8},
        {"no registry", "", "W-", "41:41 E9:E9 141:-", 8},
    };
    for (const auto& [name, registry, kinds, map, width] : rows) {
        for (const char* file : {"font.bdf", "font.pcf", "font.bdf.gz", "font.pcf.gz"})
            QTest::addRow("%s, %s", name, file)
                << QString::fromLatin1(file) << registry << QString::fromLatin1(kinds)
                << QString::fromLatin1(map) << width;
    }
}

void TestFontReader::registries()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, registry);
    QFETCH(QString, kinds);
    QFETCH(QString, map);
    QFETCH(int, width);
    QList<int> points, codes;
    for (const QString& pair : map.split(u' ')) {
        points.append(pair.section(u':', 0, 0).toInt(nullptr, 16));
        codes.append(pair.endsWith(u'-') ? -1 : pair.section(u':', 1).toInt(nullptr, 16));
    }
    QVERIFY(write(QStringLiteral("font.bdf"), bdf(registry, points, width)));
    QVERIFY(run(QStringLiteral("bdftopcf -o font.pcf font.bdf && gzip -nkf font.bdf font.pcf")));

    FontReader reader;
    QString error;
    QVERIFY2(reader.open(file, 16, &error), qPrintable(error));
    QCOMPARE(reader.format(), file.contains(u"bdf") ? u"BDF" : u"PCF");
    const auto kindOf = [](QChar c) { return c == u'W' ? Kind::Western : Kind::Japanese; };
    QCOMPARE(reader.impliedKind(),
             kinds[1] == u'-' ? std::nullopt : std::optional(kindOf(kinds[1])));
    const auto font = reader.read(kindOf(kinds[kinds[0] == u'-' ? 1 : 0]), &error);
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
        QCOMPARE(dots(g, size), cell(pictures(width)[codes.indexOf(g.code) % 3], size));
    }
    codes.removeAll(-1);
    std::sort(codes.begin(), codes.end());
    QCOMPARE(read, codes);
}

void TestFontReader::outline_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QList<int>>("codes"); // of U+25A1, U+0041, U+3042; -1: none
    QTest::newRow("TrueType") << "pixels.ttf" << Kind::Japanese << QList<int>{0x81A0, 'A', 0x82A0};
    QTest::newRow("WOFF") << "pixels.woff" << Kind::Western << QList<int>{-1, 'A', -1};
    QTest::newRow("WOFF2") << "pixels.woff2" << Kind::Japanese << QList<int>{0x81A0, 'A', 0x82A0};
}

void TestFontReader::outline()
{
    QFETCH(QString, file);
    QFETCH(Kind, kind);
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
    // A pixel size beyond 64 and a budget FreeType cannot work in are refused.
    FontReader reader;
    QString error;
    QVERIFY(!reader.open(file, 65, &error) && error.contains(u"65 is not within 1 to 64"));
    reader.setMemoryLimit(4 << 10);
    QVERIFY(!reader.open(file, 10, &error) && error.contains(u"needs more than 4"));
    const auto font = FontReader::read(file, 10, kind, &error);
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
    QTest::addColumn<QString>("message");

    const QByteArray good = bdf("ISO8859-1", {'A', 'B'});
    QTest::newRow("no file") << "rm -f bad" << QByteArray() << "No such file";
    QTest::newRow("a FIFO") << "rm -f bad && mkfifo bad" << QByteArray() << "FIFO";
    QTest::newRow("a device") << "ln -sf /dev/zero bad" << QByteArray() << "device";
    QTest::newRow("65 MB, never read") << "truncate -s 65M bad" << QByteArray() << "than 64 MB";
    QTest::newRow("not a font") << "" << QByteArray("hello\n") << "not a font that FreeType reads";
    QTest::newRow("gzip damaged") << "" << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03xyz", 13)
                                  << "the gzip data";
    QTest::newRow("gzip of 17 MB") << "head -c 17000000 /dev/zero | gzip -n > bad" << QByteArray()
                                   << "unpacks to more than 16 MB";
    QTest::newRow("BDF of 17 MB") << "" << good + "COMMENT " + QByteArray(17 << 20, 'x')
                                  << "larger than 16 MB";
    QTest::newRow("ten million glyphs")
        << "" << QByteArray(good).replace("CHARS 2", "CHARS 10000000")
        << "10000000 glyphs are more than the 65536";
    QTest::newRow("PCF glyph of 300 dots")
        << "bdftopcf -o bad.pcf bad && mv bad.pcf bad" << bdf("ISO8859-1", {'A'}, 300)
        << "a glyph larger than 256 dots";
    QTest::newRow("KOI8-R") << "" << bdf("KOI8-R", {'A'}) << "registry KOI8-R is none of those";
}

void TestFontReader::badInput()
{
    QFETCH(QString, make);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFile::remove(QStringLiteral("bad"));
    QVERIFY(file.isNull() || write(QStringLiteral("bad"), file));
    QVERIFY(make.isEmpty() || run(make));
    FontReader reader;
    QString error;
    QVERIFY(!reader.open(QStringLiteral("bad"), 16, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestFontReader)
#include "tst_fontreader.moc"

// pointillo-fontd --build from the command line, without a display or a session bus: the font
// of a character table, the same bytes on every run, dated by the table file or by
// SOURCE_DATE_EPOCH, and refusals that say why and write nothing.

#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "codes/Cp932.h"
#include "common/FontCheck.h"
#include "common/HeadlessBuild.h"
#include "dots/DotGrid.h"
#include "fontd/FontDocument.h"
#include "fontd/TableBuild.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QtEndian>

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

constexpr qint64 TableTime = 1614834367; // the table file's modification time

// A bitmap font of random glyphs, each filling the bounding box of size with descent rows below
// the baseline, at the code points given.
QByteArray randomBdf(const QByteArray& registry, QSize size, int descent, const QList<int>& points,
                     quint32 seed)
{
    QRandomGenerator random(seed);
    const QByteArray box = QByteArray::number(size.width()) + ' ' +
                           QByteArray::number(size.height()) + " 0 " + QByteArray::number(-descent);
    QByteArray f =
        "STARTFONT 2.1\nFONT -Test-Random-Medium-R-Normal--" + QByteArray::number(size.height()) +
        "-160-75-75-C-80-" + registry + "\nSIZE " + QByteArray::number(size.height()) +
        " 75 75\nFONTBOUNDINGBOX " + box + "\nSTARTPROPERTIES 4\nFONT_ASCENT " +
        QByteArray::number(size.height() - descent) + "\nFONT_DESCENT " +
        QByteArray::number(descent) + "\nCHARSET_REGISTRY \"" + registry.split('-').first() +
        "\"\nCHARSET_ENCODING \"" + registry.split('-').last() + "\"\nENDPROPERTIES\nCHARS " +
        QByteArray::number(points.size()) + '\n';
    for (int point : points) {
        f += "STARTCHAR g\nENCODING " + QByteArray::number(point) + "\nSWIDTH 500 0\nDWIDTH " +
             QByteArray::number(size.width()) + " 0\nBBX " + box + "\nBITMAP\n";
        for (int y = 0; y < size.height(); ++y) {
            QByteArray row((size.width() + 7) / 8, '\0');
            for (int x = 0; x < size.width(); ++x)
                if (random.bounded(100) < 45)
                    row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
            f += row.toHex() + '\n';
        }
        f += "ENDCHAR\n";
    }
    return f + "ENDFONT\n";
}

// A JIS X 0208 kanji font of 16 x 16 dots with 2 below the baseline, and a half-width Unicode
// font of 8 x 16 with 3 below: あ (JIS 2422, U+3042) in both, é in the second alone.
const QList<int> kanjiPoints{0x2422, 0x3021, 0x2421, 0x2D21, 0x7426};
const QList<int> kanaPoints{0x41, 0x5C, 0xFF71, 0x3042, 0xE9};
} // namespace

class TestFontdBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builds_data();
    void builds();
    void refusals_data();
    void refusals();
    void crispAtTheNativeSize_data();
    void crispAtTheNativeSize();
    void fromFonts();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestFontdBuild::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString table = path(QStringLiteral("ptl_buf.bmp"));
    QVERIFY(TableFile::write(HeadlessBuild::randomTable(16, 32, 32), table));
    QFile file(table);
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(QDateTime::fromSecsSinceEpoch(TableTime, QTimeZone::utc()),
                             QFileDevice::FileModificationTime));
    QVERIFY(writeFile(path(QStringLiteral("cut.bmp")), contents(table).left(20000)));
    QVERIFY(writeFile(path(QStringLiteral("paged.bmp")), contents(table)));
    QVERIFY(writeFile(path(QStringLiteral("paged.82.bmp")), contents(table).left(20000)));
    QVERIFY(writeFile(path(QStringLiteral("kanji.bdf")),
                      randomBdf("JISX0208.1983-0", QSize(16, 16), 2, kanjiPoints, 1)));
    QVERIFY(writeFile(path(QStringLiteral("kana.bdf")),
                      randomBdf("ISO10646-1", QSize(8, 16), 3, kanaPoints, 2)));
    QVERIFY(writeFile(path(QStringLiteral("latin1.bdf")),
                      randomBdf("ISO8859-1", QSize(8, 13), 2, {0xC0, 0xE9}, 3)));
    QVERIFY(writeFile(path(QStringLiteral("junk.bdf")), "STARTFONT 2.1\nnot a font\n"));
    QVERIFY(QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"),
                               QStringLiteral("cd '%1' && bdftopcf -o kanji.pcf kanji.bdf && "
                                              "gzip -nf kanji.pcf")
                                   .arg(m_dir.path())}) == 0);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("again")));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.bmp")));
}

void TestFontdBuild::builds_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("epoch"); // SOURCE_DATE_EPOCH, none when null
    QTest::addColumn<int>("glyphs");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qint64>("created");
    QTest::newRow("Western TrueType, dated by the table")
        << QStringList{"--dots", "12x20", "--square", "--lsb", "20", "--rsb", "30"} << "MyFont.ttf"
        << QString() << 223 << "MyFont" << TableTime;
    QTest::newRow("Japanese web font of its own family, dated by SOURCE_DATE_EPOCH")
        << QStringList{"--dots", "16x16",    "--size",   "50",
                       "--kind", "japanese", "--family", "Given Name"}
        << "jp.woff2"
        << "1700000000" << 158 << "Given Name" << qint64(1700000000);
}

void TestFontdBuild::builds()
{
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    QFETCH(QString, epoch);
    QFETCH(int, glyphs);
    QFETCH(QString, family);
    QFETCH(qint64, created);
    QProcessEnvironment environment;
    if (!epoch.isNull())
        environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), epoch);
    const QString font = path(output);
    for (const QString& out : {font, path(QStringLiteral("again/") + output)}) {
        const HeadlessBuild::Result r =
            HeadlessBuild::run(QStringList{"--build", path(QStringLiteral("ptl_buf.bmp"))} +
                                   options + QStringList{"-o", out},
                               environment);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        // One line: the file, its family and its glyphs.
        QVERIFY2(r.out.count(u'\n') == 1 && r.out.startsWith(out) &&
                     r.out.contains(QStringLiteral("\"%1\", %2 glyphs").arg(family).arg(glyphs)),
                 qPrintable(r.out));
    }
    QCOMPARE(contents(path(QStringLiteral("again/") + output)), contents(font));

    QString error;
    const auto doc = FontDocument::open(font, &error);
    QVERIFY2(doc, qPrintable(error));
    QCOMPARE(int(doc->glyphs().size()), glyphs);
    QCOMPARE(FontCheck::names(font).value(1), family);
    const QByteArray head = FontCheck::table(font, "head");
    QVERIFY(head.size() == 54);
    QCOMPARE(qFromBigEndian<qint64>(head.constData() + 20) - 2082844800, created);
    QString ots;
    QVERIFY2(FontCheck::otsSanitize(font, &ots) == FontCheck::OtsResult::Passed, qPrintable(ots));
}

void TestFontdBuild::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // after --build; OUT stands for the output
    QTest::addColumn<QString>("epoch");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QStringList dots{"--dots", "12x20", "-o", "OUT"};
    const auto row = [&](const char* name, const QStringList& arguments, const char* message,
                         const QString& epoch = {}, int status = 1) {
        QTest::newRow(name) << arguments << epoch << status << message;
    };
    row("no such table", QStringList{"missing.bmp"} + dots, "cannot read the character table");
    row("cut-off table", QStringList{"cut.bmp"} + dots, "shorter than its picture");
    row("a folder", QStringList{"folder.bmp"} + dots, "not a regular file");
    row("a cut-off page file", QStringList{"paged.bmp", "--kind", "japanese"} + dots,
        "cannot read the page file");
    row("SOURCE_DATE_EPOCH not seconds", QStringList{"ptl_buf.bmp"} + dots, "SOURCE_DATE_EPOCH",
        QStringLiteral("yesterday"));
    for (const char* epoch : {"-1", "+5", " 5", "9999999999999999"}) // the last lies beyond 9999
        row(epoch, QStringList{"ptl_buf.bmp"} + dots, "SOURCE_DATE_EPOCH", epoch);
    row("the table as the output", {"ptl_buf.bmp", "--dots", "12x20", "-o", "ptl_buf.bmp"},
        "is the character table itself");
    row("no such output folder", {"ptl_buf.bmp", "--dots", "12x20", "-o", "no/such/f.ttf"},
        "cannot write");
    row("side bearings beyond a glyph",
        QStringList{"ptl_buf.bmp", "--lsb", "32767", "--rsb", "0"} + dots, "code 0x20:");
    row("more dots than the editor has", {"ptl_buf.bmp", "--dots", "33x20", "-o", "OUT"},
        "3 to 32 dots", {}, 2);
    row("a font it cannot read", {"junk.bdf", "-o", "OUT"}, "cannot read the font");
    row("fonts of both kinds", {"latin1.bdf", "--build", "kanji.bdf", "-o", "OUT"},
        "is a Western font and");
    row("no glyph of the kind", {"latin1.bdf", "--kind", "japanese", "-o", "OUT"},
        "holds no glyph of a code a Japanese font holds");
}

void TestFontdBuild::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, epoch);
    QFETCH(int, status);
    QFETCH(QString, message);
    const QByteArray table = contents(path(QStringLiteral("ptl_buf.bmp")));
    const QString output = path(QStringLiteral("refused.ttf"));
    for (QString& a : arguments)
        a = a == u"OUT" ? output : a.contains(u'.') ? path(a) : a;
    QProcessEnvironment environment;
    if (!epoch.isNull())
        environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), epoch);
    const HeadlessBuild::Result r =
        HeadlessBuild::run(QStringList{"--build"} + arguments, environment);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message) && r.out.isEmpty(), qPrintable(r.err));
    QVERIFY(!QFile::exists(output));
    QCOMPARE(contents(path(QStringLiteral("ptl_buf.bmp"))), table);
}

void TestFontdBuild::crispAtTheNativeSize_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("dots");
    QTest::addColumn<int>("unitsPerEm");
    QTest::newRow("12 x 20") << QStringList{"--dots", "12x20", "--square"} << QSize(12, 20) << 960;
    QTest::newRow("7 x 9 with bearings, an em of 954 units")
        << QStringList{"--dots", "7x9", "--square", "--lsb", "60", "--rsb", "-100"} << QSize(7, 9)
        << 954;
    QTest::newRow("20 x 12 Japanese, wider than the em")
        << QStringList{"--dots", "20x12", "--square", "--kind", "japanese"} << QSize(20, 12) << 576;
}

void TestFontdBuild::crispAtTheNativeSize()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, dots);
    QFETCH(int, unitsPerEm);
    const QString font = path(QStringLiteral("crisp.ttf"));
    const QString table = path(QStringLiteral("ptl_buf.bmp"));
    const HeadlessBuild::Result r =
        HeadlessBuild::run(QStringList{"--build", table} + options + QStringList{"-o", font});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QCOMPARE(qFromBigEndian<quint16>(FontCheck::table(font, "head").constData() + 18), unitsPerEm);

    const QImage cells = *TableFile::readAsStored(table);
    QMap<int, int> setDots;
    const bool japanese = options.contains(QStringLiteral("japanese"));
    for (int code : TableBuild::codes(japanese ? FontDocument::Japanese : FontDocument::Western))
        setDots[code] = int(CharTable::dots(cells, CharTable::cellOrigin(code), dots)
                                .toText()
                                .join(QString())
                                .count(u'#'));
    const QString crisp = FontCheck::crispFault(font, setDots, dots.height());
    QVERIFY2(crisp.isEmpty(), qPrintable(crisp));
    const QString line =
        FontCheck::greyInLine(font, QStringLiteral("Hamburgefonts 0123"), dots.height());
    QVERIFY2(line.isEmpty(), qPrintable(line));

    // Read back, the font keeps its grid: saved again, the same bytes, strike and all.
    QString error;
    const auto doc = FontDocument::open(font, &error);
    QVERIFY2(doc && doc->dotGrid(), qPrintable(error));
    QCOMPARE(doc->toTrueType(&error, QDateTime::fromSecsSinceEpoch(TableTime, QTimeZone::utc())),
             contents(font));
    QString ots;
    QVERIFY2(FontCheck::otsSanitize(font, &ots) == FontCheck::OtsResult::Passed, qPrintable(ots));
    const QString python = FontCheck::fontToolsPython();
    if (!python.isEmpty()) {
        QProcess fontTools;
        fontTools.start(python,
                        {"-c",
                         "import sys; from fontTools.ttLib import TTFont; f = TTFont(sys.argv[1]); "
                         "s = f['EBLC'].strikes[0]; f['EBDT']; f['gasp']; "
                         "print(s.bitmapSizeTable.ppemY, len(f['EBDT'].strikeData[0]))",
                         font});
        QVERIFY(fontTools.waitForFinished(60000));
        QVERIFY2(fontTools.exitCode() == 0, fontTools.readAllStandardError().constData());
        QVERIFY(fontTools.readAllStandardOutput().startsWith(QByteArray::number(dots.height())));
    }
}

void TestFontdBuild::fromFonts()
{
    // Two fonts into one, on the common baseline (14 dots above it, 3 below: 16 x 17 dots),
    // the later font's あ in place of the earlier's; the same bytes again.
    const QString font = path(QStringLiteral("two.ttf"));
    for (const QString& out : {font, path(QStringLiteral("again/two.ttf"))}) {
        const HeadlessBuild::Result r =
            HeadlessBuild::run({"--build", path(QStringLiteral("kanji.pcf.gz")), "--build",
                                path(QStringLiteral("kana.bdf")), "-o", out});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY2(r.out.contains(u"\"two\", 8 glyphs of 16 x 17 dots (Japanese)"),
                 qPrintable(r.out));
        QVERIFY2(r.err.contains(u"kana.bdf: 1 glyphs of codes a Japanese font does not hold"),
                 qPrintable(r.err));
    }
    QCOMPARE(contents(path(QStringLiteral("again/two.ttf"))), contents(font));

    // FreeType reads each glyph of the font as the glyph of its source, cell by cell: the
    // cell's top row 14 dots above the baseline in the sources, the grid's in the font.
    const int ascent = DotGrid::square(16, 17)->baselineRow();
    QMap<int, int> setDots;
    for (const auto& [source, points] :
         {std::pair(QStringLiteral("kanji.bdf"), kanjiPoints), {"kana.bdf", kanaPoints}}) {
        for (int point : points) {
            const bool kanji = source == u"kanji.bdf";
            const int code = kanji ? Cp932::fromJis(point) : Cp932::toCode(QString(QChar(point)));
            if (code < 0 || (kanji && point == 0x2422))
                continue;
            QString error;
            const QList<QString> expected =
                FontCheck::bitmapCell(path(source), point, QPoint(0, 14), {16, 17}, &error);
            const QList<QString> built = FontCheck::bitmapCell(font, int(Cp932::toUnicode(code)),
                                                               QPoint(0, ascent), {16, 17}, &error);
            QVERIFY2(!expected.isEmpty(), qPrintable(error));
            const QString difference = FontCheck::firstDifference(built, expected);
            QVERIFY2(difference.isEmpty(),
                     qPrintable(QString::number(code, 16) + u' ' + difference));
            setDots[code] = int(expected.join(QString()).count(u'#'));
        }
    }
    QCOMPARE(setDots.size(), 8);
    // The outlines are the strike's pixels, crisp at the native size and above.
    const QString crisp = FontCheck::crispFault(font, setDots, 17);
    QVERIFY2(crisp.isEmpty(), qPrintable(crisp));
    QString ots;
    QVERIFY2(FontCheck::otsSanitize(font, &ots) == FontCheck::OtsResult::Passed, qPrintable(ots));
}

QTEST_GUILESS_MAIN(TestFontdBuild)
#include "tst_fontd_build.moc"

// pointillo-fontd --build from the command line, without a display or a session bus: the font
// of a character table, judged by FreeType and ots-sanitize, the same bytes on every run, and
// refusals that say why.

#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "common/FontCheck.h"
#include "common/HeadlessBuild.h"
#include "editor/DotBoxes.h"
#include "fontd/FontDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QtEndian>

namespace {
// head.created as seconds since 1970.
qint64 createdAt(const QString& font)
{
    const QByteArray head = FontCheck::table(font, "head");
    return head.size() < 28 ? -1 : qFromBigEndian<qint64>(head.constData() + 20) - 2082844800;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestFontdBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buildsTheTable_data();
    void buildsTheTable();
    void sameBytesEveryRun();
    void refusals_data();
    void refusals();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QImage m_table;
    QString m_tableFile;
    // The table file's time, which the fonts are dated by.
    const QDateTime m_modified = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
};

void TestFontdBuild::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_table = HeadlessBuild::randomTable(16, 32, 32);
    m_tableFile = path(QStringLiteral("ptl_buf.bmp"));
    QString error;
    QVERIFY2(TableFile::write(m_table, m_tableFile, &error), qPrintable(error));
    QFile file(m_tableFile);
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(m_modified, QFileDevice::FileModificationTime));
}

void TestFontdBuild::buildsTheTable_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("glyphs");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QList<int>>("codes"); // checked dot for dot

    QTest::newRow("Western TrueType")
        << QStringList{"--dots", "12x20", "--square"} << "MyFont.ttf" << 223 << "MyFont"
        << QList<int>{0x20, 0x41, 0x7E, 0x80, 0xFF};
    QTest::newRow("Japanese web font with a family of its own")
        << QStringList{"--dots", "16x16",    "--size",   "50",
                       "--kind", "japanese", "--family", "Given Name"}
        << "jp.woff2" << 158 << "Given Name" << QList<int>{0x41, 0xA1, 0xB1, 0xDF};
}

void TestFontdBuild::buildsTheTable()
{
    QFETCH(QStringList, options);
    QFETCH(QString, output);
    QFETCH(int, glyphs);
    QFETCH(QString, family);
    QFETCH(QList<int>, codes);
    const QString font = path(output);
    const HeadlessBuild::Result r =
        HeadlessBuild::run(QStringList{"--build", m_tableFile} + options + QStringList{"-o", font});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    // One line: the file, its family and its glyphs.
    QCOMPARE(r.out.count(u'\n'), 1);
    QVERIFY2(r.out.startsWith(font) && r.out.contains(QStringLiteral("\"%1\"").arg(family)) &&
                 r.out.contains(QStringLiteral("%1 glyphs").arg(glyphs)),
             qPrintable(r.out));

    QString error;
    const auto doc = FontDocument::open(font, &error);
    QVERIFY2(doc, qPrintable(error));
    QCOMPARE(int(doc->glyphs().size()), glyphs);
    QCOMPARE(FontCheck::names(font).value(1), family);
    QCOMPARE(createdAt(font), m_modified.toSecsSinceEpoch());

    // Each dot's box centre lies inside the outline exactly when the table has the dot.
    const int dotsX = options[1].section(u'x', 0, 0).toInt();
    const int dotsY = options[1].section(u'x', 1, 1).toInt();
    const GridGeometry grid = GridGeometry::compute(dotsX, dotsY, options.contains("--square"));
    const QSize box = DotBoxes::boxSize(grid, options.contains("--size") ? 50 : 100);
    for (int code : codes) {
        QList<QString> expected;
        for (int y = 0; y < dotsY; ++y) {
            QString row;
            for (int x = 0; x < dotsX; ++x)
                row += CharTable::isSet(m_table, CharTable::cellOrigin(code) + QPoint(x, y)) ? u'#'
                                                                                             : u'.';
            expected.append(row);
        }
        const QList<QString> dots = FontCheck::rasterDots(
            font, code, grid.ofsX() + box.width() / 2.0, grid.ofsY() + box.height() / 2.0,
            grid.nX(), grid.nY(), dotsX, dotsY, &error);
        QVERIFY2(!dots.isEmpty(), qPrintable(error));
        QVERIFY2(FontCheck::firstDifference(dots, expected).isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2")
                                .arg(code, 0, 16)
                                .arg(FontCheck::firstDifference(dots, expected))));
    }
    QString ots;
    QCOMPARE(FontCheck::otsSanitize(font, &ots), FontCheck::OtsResult::Passed);
}

void TestFontdBuild::sameBytesEveryRun()
{
    const QStringList options{"--build", m_tableFile, "--dots", "12x20", "--lsb",
                              "20",      "--rsb",     "30",     "-o"};
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("again")));
    const QString first = path(QStringLiteral("Same.ttf"));
    const QString second = path(QStringLiteral("again/Same.ttf"));
    QCOMPARE(HeadlessBuild::run(options + QStringList{first}).status, 0);
    QCOMPARE(HeadlessBuild::run(options + QStringList{second}).status, 0);
    const QByteArray bytes = contents(first);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(contents(second), bytes);

    // SOURCE_DATE_EPOCH dates the font instead of the table file; the glyphs stay.
    QProcessEnvironment epoch;
    epoch.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
    QCOMPARE(HeadlessBuild::run(options + QStringList{second}, epoch).status, 0);
    QCOMPARE(createdAt(second), 1700000000);
    QVERIFY(contents(second) != bytes);
    QCOMPARE(FontCheck::table(second, "glyf"), FontCheck::table(first, "glyf"));
    QCOMPARE(FontCheck::table(second, "hmtx"), FontCheck::table(first, "hmtx"));
}

void TestFontdBuild::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // TABLE and OUT stand for the files
    QTest::addColumn<QString>("epoch");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QStringList dots{"--dots", "12x20", "-o", "OUT"};
    QTest::newRow("no such table") << QStringList{"--build", "missing.bmp"} + dots << QString() << 1
                                   << "cannot read the character table";
    QTest::newRow("cut-off table")
        << QStringList{"--build", "cut.bmp"} + dots << QString() << 1 << "shorter than its picture";
    QTest::newRow("not a picture")
        << QStringList{"--build", "text.bmp"} + dots << QString() << 1 << "not a BMP";
    QTest::newRow("a folder") << QStringList{"--build", "folder.bmp"} + dots << QString() << 1
                              << "not a regular file";
    QTest::newRow("SOURCE_DATE_EPOCH not seconds")
        << QStringList{"--build", "TABLE"} + dots << "yesterday" << 1 << "SOURCE_DATE_EPOCH";
    QTest::newRow("no such output folder")
        << QStringList{"--build", "TABLE", "--dots", "12x20", "-o", "no/such/f.ttf"} << QString()
        << 1 << "cannot write";
    QTest::newRow("side bearings beyond a glyph")
        << QStringList{"--build", "TABLE", "--lsb", "32767", "--rsb", "0"} + dots << QString() << 1
        << "code 0x20:";
    QTest::newRow("the table as the output")
        << QStringList{"--build", "TABLE", "--dots", "12x20", "-o", "TABLE"} << QString() << 1
        << "is the character table itself";
    QTest::newRow("more dots than the editor has")
        << QStringList{"--build", "TABLE", "--dots", "33x20", "-o", "OUT"} << QString() << 2
        << "3 to 32 dots";
}

void TestFontdBuild::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, epoch);
    QFETCH(int, status);
    QFETCH(QString, message);
    const QByteArray table = contents(m_tableFile);
    QFile cut(path(QStringLiteral("cut.bmp")));
    QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(table.left(table.size() / 2)) > 0);
    cut.close();
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.bmp")));
    QFile text(path(QStringLiteral("text.bmp")));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
    text.close();

    const QString output = path(QStringLiteral("refused.ttf"));
    for (QString& a : arguments) {
        if (a == u"TABLE")
            a = m_tableFile;
        else if (a == u"OUT")
            a = output;
        else if (a.contains(u'.'))
            a = path(a);
    }
    QProcessEnvironment environment;
    if (!epoch.isNull())
        environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), epoch);
    const HeadlessBuild::Result r = HeadlessBuild::run(arguments, environment);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFile::exists(output));
    QCOMPARE(contents(m_tableFile), table);
}

QTEST_GUILESS_MAIN(TestFontdBuild)
#include "tst_fontd_build.moc"

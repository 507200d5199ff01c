// Glyphs through the real D-Bus interface of pointillo-fontd: the editor's one-bit files are
// imported, the font saved, and the saved file judged by FreeType and ots-sanitize.

#include "DotBitmap.h"
#include "FontdClient.h"
#include "common/FontCheck.h"

#include <QBuffer>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <sys/stat.h>

namespace {
// One glyph to send: the dots, their pitch and box size as the editor draws them.
struct GlyphCase
{
    int code;
    QStringList dots;
    int pitch;
    int percent;
};

QStringList inkRows(const DotBitmap& bitmap, int shiftX = 0)
{
    QStringList rows;
    for (int y = 0; y < DotBitmap::Height; ++y) {
        QString row(DotBitmap::Width, QLatin1Char('.'));
        for (int x = 0; x < DotBitmap::Width; ++x) {
            const int source = x - shiftX;
            if (source >= 0 && source < DotBitmap::Width && bitmap.ink(source, y))
                row[x] = QLatin1Char('#');
        }
        rows.append(row);
    }
    return rows;
}

QStringList paddedDots(const QStringList& dots)
{
    qsizetype width = 0;
    for (const QString& row : dots)
        width = std::max(width, row.size());
    QStringList padded;
    for (const QString& row : dots) {
        QString line = row;
        line.replace(QRegularExpression(QStringLiteral("[^#]")), QStringLiteral("."));
        padded.append(line.leftJustified(width, QLatin1Char('.')));
    }
    return padded;
}

// The ink's horizontal extent in image pixels, [first, last]; first > last when there is none.
std::pair<int, int> inkColumns(const DotBitmap& bitmap)
{
    int first = DotBitmap::Width, last = -1;
    for (int y = 0; y < DotBitmap::Height; ++y)
        for (int x = 0; x < DotBitmap::Width; ++x)
            if (bitmap.ink(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}
} // namespace

class TestFontdGlyphs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void importAndSave_data();
    void importAndSave();
    void japaneseGlyph();
    void selectAllDeleteEmptiesTheGlyph();
    void savedFlag();
    void sideBearings_data();
    void sideBearings();
    void impossibleSideBearingsAreRefused();
    void saveOpenSaveKeepsTheGlyphs();
    void openingAnOpenFileActivatesIt();
    void fileLongerThanItsBitmap();
    void unreadableBitmap_data();
    void unreadableBitmap();
    void emptyNamesAreRefused_data();
    void emptyNamesAreRefused();
    void unreadableFont_data();
    void unreadableFont();
    void failedSaveStaysUnsaved();
    void onlyRegularFiles_data();
    void onlyRegularFiles();
    void twoFontsNeverShareAFile();
    void untitledSaveGoesToDocuments();
    void familyNameAndWebFont();

private:
    QString writeBitmap(const DotBitmap& bitmap, const QString& name);
    // New Western font with one imported glyph, saved as name; its document path.
    QString fontWithGlyph(const DotBitmap& bitmap, int code, const QString& name);
    QString path(const QString& name) const { return m_dir.filePath(name); }

    FontdClient m_client;
    QTemporaryDir m_dir;
};

void TestFontdGlyphs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The documents folder of this test's own home starts empty on every run.
    QDir(QDir::home().filePath(QStringLiteral("Documents"))).removeRecursively();
    QVERIFY(!FontdClient::isError(m_client.callApplication(QStringLiteral("ActiveDocument"))));
}

QString TestFontdGlyphs::writeBitmap(const DotBitmap& bitmap, const QString& name)
{
    const QString file = path(name);
    if (!bitmap.write(file))
        qWarning() << "cannot write" << file;
    return file;
}

QString TestFontdGlyphs::fontWithGlyph(const DotBitmap& bitmap, int code, const QString& name)
{
    const QString document = m_client.newFile(1);
    if (document.isEmpty() || m_client.setCode(document, code) != code)
        return {};
    const QDBusMessage imported = m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(bitmap, name + ".bmp")});
    const QDBusMessage saved =
        m_client.callDocument(document, QStringLiteral("SaveAs"), {path(name)});
    if (FontdClient::isError(imported) || FontdClient::isError(saved)) {
        qWarning() << imported.errorMessage() << saved.errorMessage();
        return {};
    }
    return document;
}

void TestFontdGlyphs::importAndSave_data()
{
    QTest::addColumn<QList<GlyphCase>>("glyphs");
    QTest::addColumn<bool>("inkFirst");

    const QList<GlyphCase> shapes = {
        // A ring: one outer contour and one hole.
        {0x4F, {".###.", "#...#", "#...#", "#...#", ".###."}, 40, 100},
        // A frame of boxes around a single dot in its hole.
        {0x40, {"#####", "#...#", "#.#.#", "#...#", "#####"}, 24, 100},
        // Dots touching only at their corners.
        {0x58, {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}, 24, 100},
        {0x43, {"#.#.", ".#.#", "#.#.", ".#.#"}, 40, 100},
        // Several grid sizes, from 3 dots at 160 pixels to 32 dots at 15.
        {0x49, {"###", ".#.", "###"}, 160, 100},
        {0x52, DotBitmap::randomDots(12, 20, 20240601), 24, 100},
        {0x53, DotBitmap::randomDots(32, 32, 7), 15, 100},
        // Boxes at less than 100 % stand apart.
        {0x48, {"#..#", "#..#", "####", "#..#"}, 24, 50},
        {0x4B, DotBitmap::randomDots(20, 20, 99), 24, 75},
        {0x2E, {"......", "......", "....##", "....##"}, 40, 60},
        // The empty glyph.
        {0x20, {}, 24, 100},
        // Every dot set.
        {0x23, QStringList(10, QStringLiteral("##########")), 48, 100},
    };
    QTest::newRow("editor files") << shapes << false;
    QTest::newRow("palette with the ink first") << shapes.mid(0, 4) << true;
}

void TestFontdGlyphs::importAndSave()
{
    QFETCH(QList<GlyphCase>, glyphs);
    QFETCH(bool, inkFirst);
    const QString document = m_client.newFile(1);
    QVERIFY(!document.isEmpty());

    std::vector<DotBitmap> bitmaps;
    for (const GlyphCase& glyph : glyphs) {
        bitmaps.emplace_back(glyph.dots, glyph.pitch, glyph.percent);
        const QString file = path(QStringLiteral("g%1.bmp").arg(glyph.code));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(inkFirst ? bitmaps.back().bmpInkFirst() : bitmaps.back().bmp());
        out.close();
        QCOMPARE(m_client.setCode(document, glyph.code), glyph.code);
        QVERIFY(
            !FontdClient::isError(m_client.callDocument(document, QStringLiteral("selectall"))));
        QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Delete"))));
        const QDBusMessage reply =
            m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {file});
        QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    }
    const QString font = path(QStringLiteral("import-%1.ttf").arg(inkFirst));
    const QDBusMessage saved = m_client.callDocument(document, QStringLiteral("SaveAs"), {font});
    QVERIFY2(!FontdClient::isError(saved), qPrintable(saved.errorMessage()));
    QCOMPARE(m_client.callDocument(document, QStringLiteral("FileName")).arguments().value(0),
             QVariant(QFileInfo(font).absoluteFilePath()));

    QList<int> codes;
    for (const GlyphCase& glyph : glyphs)
        codes.append(glyph.code);
    std::sort(codes.begin(), codes.end());
    QCOMPARE(m_client.glyphCodes(document), codes);

    for (size_t i = 0; i < bitmaps.size(); ++i) {
        const GlyphCase& glyph = glyphs[qsizetype(i)];
        const DotBitmap& bitmap = bitmaps[i];
        QString error;
        // Every pixel of the canvas, sampled at its centre, is ink exactly where it was sent.
        const QStringList pixels =
            FontCheck::rasterPixels(font, glyph.code, DotBitmap::Width, DotBitmap::Height, &error);
        QVERIFY2(!pixels.isEmpty(), qPrintable(error));
        const QString difference = FontCheck::firstDifference(pixels, inkRows(bitmap));
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2").arg(glyph.code).arg(difference)));
        // And at the size that makes one dot one pixel, the dots come back.
        if (!glyph.dots.isEmpty()) {
            const QRect box = bitmap.box(0, 0);
            const QStringList dots = FontCheck::rasterDots(
                font, glyph.code, box.left() + box.width() / 2.0, box.top() + box.height() / 2.0,
                glyph.pitch, glyph.pitch, int(paddedDots(glyph.dots).constFirst().size()),
                int(glyph.dots.size()), &error);
            QCOMPARE(dots, paddedDots(glyph.dots));
        }
        // Without side bearings the advance follows the image: 482 pixels.
        int advance = 0, lsb = 0;
        QVERIFY2(FontCheck::horizontalMetrics(font, glyph.code, &advance, &lsb, &error),
                 qPrintable(error));
        QCOMPARE(advance, DotBitmap::Width * 2);
        const auto [first, last] = inkColumns(bitmap);
        if (first <= last)
            QCOMPARE(lsb, first * 2);
    }

    QString output;
    QCOMPARE(FontCheck::otsSanitize(font, &output), FontCheck::OtsResult::Passed);
    const QString python = FontCheck::fontToolsPython();
    if (!python.isEmpty()) {
        QProcess fontTools;
        fontTools.start(python, {QStringLiteral("-c"),
                                 QStringLiteral("import sys\n"
                                                "from fontTools.ttLib import TTFont\n"
                                                "f = TTFont(sys.argv[1])\n"
                                                "g = f['glyf']\n"
                                                "for name in f.getGlyphOrder():\n"
                                                "    g[name].getCoordinates(g)\n"
                                                "f['cmap'].getBestCmap()\n"),
                                 font});
        QVERIFY(fontTools.waitForFinished(60000));
        QVERIFY2(fontTools.exitCode() == 0, fontTools.readAllStandardError().constData());
    }
}

void TestFontdGlyphs::japaneseGlyph()
{
    const DotBitmap bitmap({"..#..", ".#.#.", "#####", "#...#", "#...#"}, 40);
    const QString document = m_client.newFile(0);
    QCOMPARE(m_client.setCode(document, 0x82A0), 0x82A0);
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(bitmap, "a.bmp")})));
    const QString font = path(QStringLiteral("japanese.ttf"));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {font})));
    QCOMPARE(m_client.glyphCodes(document), QList<int>{0x82A0});
    // Found through the Shift_JIS cmap and through Unicode (U+3042).
    for (const FontCheck::CharMap map :
         {FontCheck::CharMap::ShiftJis, FontCheck::CharMap::Unicode932}) {
        QString error;
        const QStringList pixels =
            FontCheck::rasterPixels(font, 0x82A0, DotBitmap::Width, DotBitmap::Height, &error, map);
        QVERIFY2(!pixels.isEmpty(), qPrintable(error));
        const QString difference = FontCheck::firstDifference(pixels, inkRows(bitmap));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    QCOMPARE(FontCheck::otsSanitize(font), FontCheck::OtsResult::Passed);
}

void TestFontdGlyphs::selectAllDeleteEmptiesTheGlyph()
{
    const DotBitmap bitmap({"###", "#.#", "###"}, 40);
    const QString document = fontWithGlyph(bitmap, 0x41, QStringLiteral("delete-before.ttf"));
    QVERIFY(!document.isEmpty());
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("selectall"))));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Delete"))));
    QCOMPARE(m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0),
             QVariant(false));
    const QString font = path(QStringLiteral("delete-after.ttf"));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {font})));

    QString error;
    QVERIFY2(FontCheck::glyphIndex(font, 0x41, &error) > 0, qPrintable(error));
    const QStringList pixels =
        FontCheck::rasterPixels(font, 0x41, DotBitmap::Width, DotBitmap::Height, &error);
    QVERIFY2(!pixels.isEmpty(), qPrintable(error));
    QVERIFY(pixels.join(QString()).indexOf(QLatin1Char('#')) < 0);
    QCOMPARE(FontCheck::otsSanitize(font), FontCheck::OtsResult::Passed);
}

void TestFontdGlyphs::savedFlag()
{
    const QString document = m_client.newFile(1);
    const auto saved = [&] {
        return m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0);
    };
    QCOMPARE(m_client.callDocument(document, QStringLiteral("saved")).signature(),
             QStringLiteral("b"));
    QCOMPARE(saved(), QVariant(true));
    // Moving around changes nothing in the font.
    m_client.setCode(document, 0x50);
    m_client.callDocument(document, QStringLiteral("viewnextcode"));
    QCOMPARE(saved(), QVariant(true));
    // A failed import changes nothing either.
    QVERIFY(FontdClient::isError(m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                       {path(QStringLiteral("missing.bmp"))})));
    QCOMPARE(saved(), QVariant(true));

    const DotBitmap bitmap({"#.#"}, 40);
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(bitmap, "flag.bmp")})));
    QCOMPARE(saved(), QVariant(false));
    QVERIFY(!FontdClient::isError(
        m_client.callDocument(document, QStringLiteral("SaveAs"), {path("flag.ttf")})));
    QCOMPARE(saved(), QVariant(true));
    QVERIFY(!FontdClient::isError(
        m_client.callDocument(document, QStringLiteral("SetLeftRightSidebearing"),
                              {FontdClient::int16(10), FontdClient::int16(10), false})));
    QCOMPARE(saved(), QVariant(false));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("save"))));
    QCOMPARE(saved(), QVariant(true));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("selectall"))));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Delete"))));
    QCOMPARE(saved(), QVariant(false));
}

void TestFontdGlyphs::sideBearings_data()
{
    QTest::addColumn<int>("lsb");
    QTest::addColumn<int>("rsb");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("100 and 50") << 100 << 50;
    QTest::newRow("odd units 7 and 13") << 7 << 13;
    QTest::newRow("negative left") << -40 << 20;
    QTest::newRow("negative right") << 30 << -10;
    QTest::newRow("wide") << 2000 << 3000;
}

void TestFontdGlyphs::sideBearings()
{
    QFETCH(int, lsb);
    QFETCH(int, rsb);
    const DotBitmap bitmap({"..##..", ".#..#.", "..##.."}, 40);
    const QString document = m_client.newFile(1);
    QCOMPARE(m_client.setCode(document, 0x6F), 0x6F);
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(bitmap, "sb.bmp")})));
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("SetLeftRightSidebearing"),
                              {FontdClient::int16(lsb), FontdClient::int16(rsb), false});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    const QString font = path(QStringLiteral("sb-%1-%2.ttf").arg(lsb).arg(rsb));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {font})));

    const auto [first, last] = inkColumns(bitmap);
    const int inkWidth = (last - first + 1) * 2;
    int advance = 0, savedLsb = 0;
    QString error;
    QVERIFY2(FontCheck::horizontalMetrics(font, 0x6F, &advance, &savedLsb, &error),
             qPrintable(error));
    QCOMPARE(savedLsb, lsb);
    QCOMPARE(advance, lsb + inkWidth + rsb);
    // The ink itself moved, unchanged, so that its left edge lies at lsb.
    if (lsb % 2 == 0) {
        const QStringList pixels =
            FontCheck::rasterPixels(font, 0x6F, DotBitmap::Width, DotBitmap::Height, &error);
        QVERIFY2(!pixels.isEmpty(), qPrintable(error));
        const QString difference =
            FontCheck::firstDifference(pixels, inkRows(bitmap, lsb / 2 - first));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    QCOMPARE(FontCheck::otsSanitize(font), FontCheck::OtsResult::Passed);
}

void TestFontdGlyphs::impossibleSideBearingsAreRefused()
{
    const DotBitmap bitmap({"####"}, 40);
    const QString document = fontWithGlyph(bitmap, 0x2D, QStringLiteral("sb-bad.ttf"));
    QVERIFY(!document.isEmpty());
    // A right bearing that would make the advance width negative.
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("SetLeftRightSidebearing"),
                              {FontdClient::int16(0), FontdClient::int16(-32768), false});
    QVERIFY(FontdClient::isError(reply));
    QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.InvalidArgument"));
    // So is a dot grid the editor cannot have.
    QCOMPARE(m_client
                 .callDocument(document, QStringLiteral("SetDotGrid"),
                               {FontdClient::int16(2), FontdClient::int16(40), true})
                 .errorName(),
             QStringLiteral("TTEdit.Error.InvalidArgument"));
    QCOMPARE(m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0),
             QVariant(true));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("save"))));
    int advance = 0, lsb = 0;
    QVERIFY(FontCheck::horizontalMetrics(path(QStringLiteral("sb-bad.ttf")), 0x2D, &advance, &lsb));
    QCOMPARE(advance, DotBitmap::Width * 2);
}

void TestFontdGlyphs::saveOpenSaveKeepsTheGlyphs()
{
    const QList<GlyphCase> glyphs = {
        {0x41, {".#.", "#.#", "###", "#.#"}, 40, 100},
        {0x42, DotBitmap::randomDots(16, 16, 5), 30, 100},
        {0x43, {"#.#", ".#.", "#.#"}, 24, 50},
        {0x20, {}, 24, 100},
    };
    const QString document = m_client.newFile(1);
    for (const GlyphCase& glyph : glyphs) {
        QCOMPARE(m_client.setCode(document, glyph.code), glyph.code);
        const QString file = writeBitmap(DotBitmap(glyph.dots, glyph.pitch, glyph.percent),
                                         QStringLiteral("rt%1.bmp").arg(glyph.code));
        QVERIFY(!FontdClient::isError(
            m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {file})));
    }
    QCOMPARE(m_client.setCode(document, 0x43), 0x43);
    QVERIFY(!FontdClient::isError(
        m_client.callDocument(document, QStringLiteral("SetLeftRightSidebearing"),
                              {FontdClient::int16(24), FontdClient::int16(36), false})));
    const QString first = path(QStringLiteral("roundtrip-1.ttf"));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {first})));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Close"))));

    const QDBusMessage opened = m_client.callApplication(QStringLiteral("OpenFile"), {first});
    QVERIFY2(!FontdClient::isError(opened), qPrintable(opened.errorMessage()));
    const QString reopened = FontdClient::value(opened).value<QDBusObjectPath>().path();
    QVERIFY(reopened.startsWith(QStringLiteral("/Document/")));
    QCOMPARE(m_client.activeDocument(), reopened);
    QCOMPARE(m_client.glyphCodes(reopened), (QList<int>{0x20, 0x41, 0x42, 0x43}));
    QCOMPARE(m_client.callDocument(reopened, QStringLiteral("saved")).arguments().value(0),
             QVariant(true));
    // A Western font stays Western: it refuses double-byte codes.
    QCOMPARE(m_client.setCode(reopened, 0x82A0), 32);

    // Edited and saved again: old glyphs kept, the new one added.
    QCOMPARE(m_client.setCode(reopened, 0x44), 0x44);
    const DotBitmap added({"##.", "#.#", "##."}, 40);
    QVERIFY(!FontdClient::isError(m_client.callDocument(reopened, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(added, "rt-added.bmp")})));
    const QString second = path(QStringLiteral("roundtrip-2.ttf"));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(reopened, QStringLiteral("SaveAs"), {second})));
    QCOMPARE(m_client.glyphCodes(reopened), (QList<int>{0x20, 0x41, 0x42, 0x43, 0x44}));

    for (const GlyphCase& glyph : glyphs) {
        QString error;
        const QStringList before =
            FontCheck::rasterPixels(first, glyph.code, DotBitmap::Width, DotBitmap::Height, &error);
        QVERIFY2(!before.isEmpty(), qPrintable(error));
        const QStringList after = FontCheck::rasterPixels(second, glyph.code, DotBitmap::Width,
                                                          DotBitmap::Height, &error);
        QVERIFY2(!after.isEmpty(), qPrintable(error));
        QVERIFY2(FontCheck::firstDifference(after, before).isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2")
                                .arg(glyph.code)
                                .arg(FontCheck::firstDifference(after, before))));
        int advance1 = 0, lsb1 = 0, advance2 = 0, lsb2 = 0;
        QVERIFY(FontCheck::horizontalMetrics(first, glyph.code, &advance1, &lsb1));
        QVERIFY(FontCheck::horizontalMetrics(second, glyph.code, &advance2, &lsb2));
        QCOMPARE(advance2, advance1);
        QCOMPARE(lsb2, lsb1);
    }
    // The side bearings set before the first save survived both trips.
    int advance = 0, lsb = 0;
    QVERIFY(FontCheck::horizontalMetrics(second, 0x43, &advance, &lsb));
    QCOMPARE(lsb, 24);
    QCOMPARE(FontCheck::otsSanitize(second), FontCheck::OtsResult::Passed);
}

void TestFontdGlyphs::openingAnOpenFileActivatesIt()
{
    const DotBitmap bitmap({"#"}, 40);
    const QString document = fontWithGlyph(bitmap, 0x31, QStringLiteral("open-twice.ttf"));
    QVERIFY(!document.isEmpty());
    m_client.newFile(0);
    QVERIFY(m_client.activeDocument() != document);
    const QDBusMessage reply = m_client.callApplication(QStringLiteral("OpenFile"),
                                                        {path(QStringLiteral("./open-twice.ttf"))});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    QCOMPARE(FontdClient::value(reply).value<QDBusObjectPath>().path(), document);
    QCOMPARE(m_client.activeDocument(), document);
}

void TestFontdGlyphs::fileLongerThanItsBitmap()
{
    // The editor rewrites its glyph file in place without shortening it: whatever follows
    // the pixels the header announces is not part of the picture.
    const DotBitmap bitmap({"#..#", ".##.", "#..#"}, 40);
    const QString file = path(QStringLiteral("long.bmp"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bitmap.bmp());
        out.write(QByteArray(200000, '\xFF'));
    }
    const QString document = m_client.newFile(1);
    QCOMPARE(m_client.setCode(document, 0x4C), 0x4C);
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {file});
    QVERIFY2(!FontdClient::isError(reply), qPrintable(reply.errorMessage()));
    const QString font = path(QStringLiteral("long.ttf"));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {font})));
    QString error;
    const QStringList pixels =
        FontCheck::rasterPixels(font, 0x4C, DotBitmap::Width, DotBitmap::Height, &error);
    QVERIFY2(!pixels.isEmpty(), qPrintable(error));
    QVERIFY2(FontCheck::firstDifference(pixels, inkRows(bitmap)).isEmpty(),
             qPrintable(FontCheck::firstDifference(pixels, inkRows(bitmap))));
}

void TestFontdGlyphs::unreadableBitmap_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");

    const QByteArray good = DotBitmap({"#.#", ".#."}, 40).bmp();
    QByteArray huge = good;
    qToLittleEndian<qint32>(100000, huge.data() + 18);
    qToLittleEndian<qint32>(100000, huge.data() + 22);
    QByteArray zeroWidth = good;
    qToLittleEndian<qint32>(0, zeroWidth.data() + 18);
    QByteArray zeroHeight = good;
    qToLittleEndian<qint32>(0, zeroHeight.data() + 22);
    QByteArray badDepth = good;
    qToLittleEndian<quint16>(3, badDepth.data() + 28);
    QByteArray pixelsBeyondEnd = good;
    qToLittleEndian<quint32>(quint32(good.size()), pixelsBeyondEnd.data() + 10);
    QByteArray png;
    {
        QImage image(482, 482, QImage::Format_Mono);
        image.fill(0);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }

    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("zero-sized file") << QByteArray() << true;
    QTest::newRow("truncated to half") << good.left(good.size() / 2) << true;
    QTest::newRow("truncated header") << good.left(30) << true;
    QTest::newRow("header claims 100000 x 100000") << huge << true;
    QTest::newRow("zero width") << zeroWidth << true;
    QTest::newRow("zero height") << zeroHeight << true;
    QTest::newRow("3 bits per pixel") << badDepth << true;
    QTest::newRow("pixels start beyond the end") << pixelsBeyondEnd << true;
    QTest::newRow("PNG") << png << true;
    QTest::newRow("text") << QByteArray("BM but not really a bitmap\n") << true;
}

void TestFontdGlyphs::unreadableBitmap()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    static int round = 0;
    ++round;
    const DotBitmap before({"##", "#."}, 40);
    const QString font = QStringLiteral("keep-%1.ttf").arg(round);
    const QString document = fontWithGlyph(before, 0x4A, font);
    QVERIFY(!document.isEmpty());

    const QString bad = path(QStringLiteral("bad-%1.bmp").arg(round));
    if (exists) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    const QDBusMessage reply =
        m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {bad});
    QVERIFY(FontdClient::isError(reply));
    QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.ImportFailed"));
    QVERIFY(reply.errorMessage().contains(bad));

    // Nothing changed: the flag, the code and, once saved again, the glyph itself.
    QCOMPARE(m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0),
             QVariant(true));
    QCOMPARE(m_client.currentCode(document), 0x4A);
    const QString again = path(QStringLiteral("keep-again-%1.ttf").arg(round));
    QVERIFY(
        !FontdClient::isError(m_client.callDocument(document, QStringLiteral("SaveAs"), {again})));
    QString error;
    const QStringList pixels =
        FontCheck::rasterPixels(again, 0x4A, DotBitmap::Width, DotBitmap::Height, &error);
    QVERIFY2(!pixels.isEmpty(), qPrintable(error));
    QVERIFY2(FontCheck::firstDifference(pixels, inkRows(before)).isEmpty(),
             qPrintable(FontCheck::firstDifference(pixels, inkRows(before))));
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Close"))));
}

void TestFontdGlyphs::emptyNamesAreRefused_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<bool>("onDocument");
    QTest::addColumn<QString>("name");
    // Relative names would resolve against the server's working folder, "/" when activated.
    for (const QString& name : {QString(), QStringLiteral("relative.ttf"),
                                QStringLiteral("./x.bmp"), QStringLiteral("../x.ttf")}) {
        const QByteArray shown = name.isEmpty() ? QByteArray("empty") : name.toUtf8();
        QTest::addRow("OpenFile, %s", shown.constData())
            << QStringLiteral("OpenFile") << false << name;
        QTest::addRow("ImportBmpfile, %s", shown.constData())
            << QStringLiteral("ImportBmpfile") << true << name;
        QTest::addRow("SaveAs, %s", shown.constData()) << QStringLiteral("SaveAs") << true << name;
    }
}

void TestFontdGlyphs::emptyNamesAreRefused()
{
    QFETCH(QString, member);
    QFETCH(bool, onDocument);
    QFETCH(QString, name);
    const QString document = m_client.newFile(1);
    const int before = int(m_client.documents().size());
    const QDBusMessage reply = onDocument ? m_client.callDocument(document, member, {name})
                                          : m_client.callApplication(member, {name});
    QVERIFY(FontdClient::isError(reply));
    QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.InvalidArgument"));
    QVERIFY2(reply.errorMessage().contains(name), qPrintable(reply.errorMessage()));
    QCOMPARE(int(m_client.documents().size()), before);
    QCOMPARE(m_client.callDocument(document, QStringLiteral("FileName")).arguments().value(0),
             QVariant(QString()));
}

void TestFontdGlyphs::unreadableFont_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QFile dejavu(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    QByteArray real;
    if (dejavu.open(QIODevice::ReadOnly))
        real = dejavu.read(2048);
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("garbage") << QByteArray(5000, '\x5A') << true;
    QTest::newRow("text") << QByteArray("not a font\n") << true;
    QTest::newRow("table directory only")
        << QByteArray::fromHex("0001000000090080000300100000") << true;
    if (!real.isEmpty())
        QTest::newRow("truncated real font") << real << true;
}

void TestFontdGlyphs::unreadableFont()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    static int round = 0;
    const QString file = path(QStringLiteral("unreadable-%1.ttf").arg(++round));
    if (exists) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
    }
    const QString active = m_client.activeDocument();
    const QStringList before = m_client.documents();
    const QDBusMessage reply = m_client.callApplication(QStringLiteral("OpenFile"), {file});
    QVERIFY(FontdClient::isError(reply));
    QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.OpenFailed"));
    QVERIFY(reply.errorMessage().contains(file));
    QCOMPARE(m_client.documents(), before);
    QCOMPARE(m_client.activeDocument(), active);
}

void TestFontdGlyphs::failedSaveStaysUnsaved()
{
    const QString document = m_client.newFile(1);
    const DotBitmap bitmap({"#"}, 40);
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("ImportBmpfile"),
                                                        {writeBitmap(bitmap, "unsaved.bmp")})));
    for (const QString& target :
         {path(QStringLiteral("no/such/folder/x.ttf")), m_dir.path() /* a folder */}) {
        const QDBusMessage reply =
            m_client.callDocument(document, QStringLiteral("SaveAs"), {target});
        QVERIFY(FontdClient::isError(reply));
        QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.SaveFailed"));
        QCOMPARE(m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0),
                 QVariant(false));
        QCOMPARE(m_client.callDocument(document, QStringLiteral("FileName")).arguments().value(0),
                 QVariant(QString()));
    }
    QVERIFY(QFileInfo(m_dir.path()).isDir());
}

void TestFontdGlyphs::onlyRegularFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("saveOnto"); // a device is not ours to replace, not even by mistake
    const QString fifo = path(QStringLiteral("fifo"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("FIFO") << fifo << "FIFO" << true;
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << "device" << false;
    QTest::newRow("folder") << m_dir.path() << "folder" << true;
}

void TestFontdGlyphs::onlyRegularFiles()
{
    // Each refused at once with the reason: a FIFO held the server in open() for every
    // client until someone wrote to it, /dev/zero made it read until memory ran out.
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QFETCH(bool, saveOnto);
    const QString document = m_client.newFile(1);
    QList<std::pair<QDBusMessage, QString>> replies = {
        {m_client.callApplication(QStringLiteral("OpenFile"), {file}), "OpenFailed"},
        {m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {file}), "ImportFailed"}};
    if (saveOnto)
        replies.append({m_client.callDocument(document, QStringLiteral("SaveAs"), {file}),
                        QStringLiteral("SaveFailed")});
    for (const auto& [reply, error] : replies) {
        QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.") + error);
        QVERIFY2(reply.errorMessage().contains(reason), qPrintable(reply.errorMessage()));
    }
    QVERIFY(!QFileInfo(file).isFile());
}

void TestFontdGlyphs::twoFontsNeverShareAFile()
{
    const QString first = fontWithGlyph(DotBitmap({"#"}, 40), 0x41, QStringLiteral("shared.ttf"));
    const QString file = path(QStringLiteral("shared.ttf"));
    const QString second = m_client.newFile(1);
    // By its name or another: refused, naming the font that has the file.
    QVERIFY(QFile::link(file, path(QStringLiteral("link.ttf"))));
    for (const QString& target : {file, path(QStringLiteral("link.ttf"))}) {
        const QDBusMessage reply =
            m_client.callDocument(second, QStringLiteral("SaveAs"), {target});
        QCOMPARE(reply.errorName(), QStringLiteral("TTEdit.Error.SaveFailed"));
        QVERIFY2(reply.errorMessage().contains(first), qPrintable(reply.errorMessage()));
    }
    QCOMPARE(FontdClient::value(m_client.callDocument(second, QStringLiteral("FileName"))),
             QVariant(QString()));
    QVERIFY(FontCheck::glyphIndex(file, 0x41) > 0);
    QVERIFY(!FontdClient::isError(m_client.callDocument(first, QStringLiteral("save"))));
}

void TestFontdGlyphs::untitledSaveGoesToDocuments()
{
    QDir documents(QDir::home().filePath(QStringLiteral("Documents")));
    QVERIFY(documents.removeRecursively());
    const auto saveNew = [&](int code) -> QString {
        const QString document = m_client.newFile(1);
        if (m_client.setCode(document, code) != code)
            return {};
        const QString bitmap =
            writeBitmap(DotBitmap({"#.#"}, 40), QStringLiteral("untitled%1.bmp").arg(code));
        if (FontdClient::isError(
                m_client.callDocument(document, QStringLiteral("ImportBmpfile"), {bitmap})))
            return {};
        const QDBusMessage reply = m_client.callDocument(document, QStringLiteral("save"));
        if (FontdClient::isError(reply)) {
            qWarning() << reply.errorMessage();
            return {};
        }
        if (m_client.callDocument(document, QStringLiteral("saved")).arguments().value(0) !=
            QVariant(true))
            return {};
        return m_client.callDocument(document, QStringLiteral("FileName"))
            .arguments()
            .value(0)
            .toString();
    };

    // The documents folder does not exist yet: the save makes it.
    const QString first = saveNew(0x41);
    QVERIFY(!first.isEmpty());
    QCOMPARE(QFileInfo(first).absolutePath(), documents.absolutePath());
    QVERIFY(first.endsWith(QStringLiteral(".ttf")));
    QVERIFY(FontCheck::glyphIndex(first, 0x41) > 0);
    const QByteArray firstBytes = [&] {
        QFile file(first);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY(!firstBytes.isEmpty());

    // Someone else's file under the next default name must survive too.
    const QString taken = documents.filePath(QStringLiteral("Pointillo Western 2.ttf"));
    {
        QFile sentinel(taken);
        QVERIFY(sentinel.open(QIODevice::WriteOnly | QIODevice::NewOnly));
        sentinel.write("someone else's file");
    }
    const QString second = saveNew(0x42);
    QVERIFY(!second.isEmpty());
    QCOMPARE(QFileInfo(second).absolutePath(), documents.absolutePath());
    QVERIFY(second != first);
    QVERIFY(second != taken);
    QVERIFY(FontCheck::glyphIndex(second, 0x42) > 0);
    QFile sentinel(taken);
    QVERIFY(sentinel.open(QIODevice::ReadOnly));
    QCOMPARE(sentinel.readAll(), QByteArray("someone else's file"));
    QFile firstFile(first);
    QVERIFY(firstFile.open(QIODevice::ReadOnly));
    QCOMPARE(firstFile.readAll(), firstBytes);
}

void TestFontdGlyphs::familyNameAndWebFont()
{
    const QString property = QStringLiteral("org.freedesktop.DBus.Properties");
    const QString iface = QStringLiteral("TTEdit.Document");
    const auto family = [&](const QString& document) {
        return FontdClient::value(m_client.call(document, property, QStringLiteral("Get"),
                                                {iface, QStringLiteral("FamilyName")}))
            .value<QDBusVariant>()
            .variant()
            .toString();
    };

    // An untitled font is named after the file of its first SaveAs, and so is the font file.
    const DotBitmap bitmap(DotBitmap::randomDots(12, 20, 16), 24, 100);
    const QString document = fontWithGlyph(bitmap, 0x41, QStringLiteral("MyPixel.ttf"));
    QVERIFY(!document.isEmpty());
    QCOMPARE(family(document), QStringLiteral("MyPixel"));
    QString error;
    const QMap<int, QString> names = FontCheck::names(path(QStringLiteral("MyPixel.ttf")), &error);
    QVERIFY2(!names.isEmpty(), qPrintable(error));
    QCOMPARE(names.value(1), QStringLiteral("MyPixel"));
    QCOMPARE(names.value(4), QStringLiteral("MyPixel"));
    QCOMPARE(names.value(6), QStringLiteral("MyPixel-Regular"));

    // The property renames it; later saves keep the name they are given.
    QVERIFY(!FontdClient::isError(
        m_client.call(document, property, QStringLiteral("Set"),
                      {iface, QStringLiteral("FamilyName"),
                       QVariant::fromValue(QDBusVariant(QStringLiteral("Dots Für Alle")))})));
    QCOMPARE(family(document), QStringLiteral("Dots Für Alle"));
    QCOMPARE(FontdClient::value(m_client.callDocument(document, QStringLiteral("saved"))),
             QVariant(false));
    const QString ttf = path(QStringLiteral("dots.ttf"));
    const QString woff2 = path(QStringLiteral("dots.woff2"));
    for (const QString& file : {ttf, woff2}) {
        const QDBusMessage saved =
            m_client.callDocument(document, QStringLiteral("SaveAs"), {file});
        QVERIFY2(!FontdClient::isError(saved), qPrintable(saved.errorMessage()));
    }
    QFile web(woff2);
    QVERIFY(web.open(QIODevice::ReadOnly));
    QCOMPARE(web.read(4), QByteArray("wOF2"));
    QVERIFY(web.size() < QFileInfo(ttf).size());

    // FreeType reads the web font as the TrueType one; fontTools unpacks the same tables.
    QCOMPARE(FontCheck::names(woff2).value(1), QStringLiteral("Dots Für Alle"));
    const QStringList pixels = FontCheck::rasterPixels(ttf, 0x41, 482, 482, &error);
    QVERIFY2(!pixels.isEmpty(), qPrintable(error));
    QCOMPARE(pixels, inkRows(bitmap));
    QCOMPARE(FontCheck::rasterPixels(woff2, 0x41, 482, 482, &error), pixels);
    const QString python = FontCheck::fontToolsPython();
    if (!python.isEmpty()) {
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(python, {QStringLiteral(FONTD_TEST_DIR "/check_woff2.py"), ttf, woff2});
        QVERIFY(check.waitForFinished(120000));
        QVERIFY2(check.exitCode() == 0, check.readAll().constData());
    }

    // The web font opens again, names and glyphs and all.
    QVERIFY(!FontdClient::isError(m_client.callDocument(document, QStringLiteral("Close"))));
    const QString reopened =
        FontdClient::value(m_client.callApplication(QStringLiteral("OpenFile"), {woff2}))
            .value<QDBusObjectPath>()
            .path();
    QVERIFY(!reopened.isEmpty() && reopened != document);
    QCOMPARE(family(reopened), QStringLiteral("Dots Für Alle"));
    QCOMPARE(m_client.glyphCodes(reopened), QList<int>{0x41});
}

QTEST_MAIN(TestFontdGlyphs)
#include "tst_fontd_glyphs.moc"

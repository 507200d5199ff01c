#include "HostileFont.h"
#include "TestBmp.h"
#include "common/FontCheck.h"
#include "fontd/FontDocument.h"
#include "fontd/TrueTypeWriter.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// A small font of our own: three glyphs, one with a hole, one empty.
QByteArray smallFont(FontDocument::Kind kind)
{
    FontDocument doc(kind);
    FontGlyph ring;
    ring.contours = {QPolygon({QPoint(0, 0), QPoint(0, 60), QPoint(60, 60), QPoint(60, 0)}),
                     QPolygon({QPoint(20, 20), QPoint(40, 20), QPoint(40, 40), QPoint(20, 40)})};
    ring.advanceWidth = 80;
    FontGlyph bar;
    bar.contours = {QPolygon({QPoint(10, -40), QPoint(10, 700), QPoint(30, 700), QPoint(30, -40)})};
    bar.advanceWidth = 50;
    bar.leftSideBearing = 10;
    doc.setGlyph(0x41, ring);
    doc.setGlyph(0x42, bar);
    doc.setGlyph(0x43, FontGlyph{{}, 300, 0});
    return TrueTypeWriter::write(doc);
}

// Offset of a table in a font file, or -1.
qsizetype tableOffset(const QByteArray& font, const char* tag)
{
    const auto* p = reinterpret_cast<const uchar*>(font.constData());
    const int count = qFromBigEndian<quint16>(p + 4);
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(p + 12 + 16 * i, tag, 4) == 0)
            return qFromBigEndian<quint32>(p + 12 + 16 * i + 8);
    }
    return -1;
}

// Offset of glyph gid's data (the font uses short loca).
qsizetype glyphOffset(const QByteArray& font, int gid)
{
    const auto* p = reinterpret_cast<const uchar*>(font.constData());
    return tableOffset(font, "glyf") +
           2 * qFromBigEndian<quint16>(p + tableOffset(font, "loca") + 2 * gid);
}

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToBigEndian(v, b.data() + at);
}

} // namespace

class TestTrueTypeReader : public QObject
{
    Q_OBJECT

private slots:
    void readsOwnFonts_data();
    void readsOwnFonts();
    void familyNameKept();
    void refused_data();
    void refused();
    void everyTruncation();
    void randomDamage();
    void foreignFonts_data();
    void foreignFonts();
};

void TestTrueTypeReader::readsOwnFonts_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("Western") << int(FontDocument::Western);
    QTest::newRow("Japanese") << int(FontDocument::Japanese);
}

void TestTrueTypeReader::readsOwnFonts()
{
    QFETCH(int, kind);
    QString error;
    const auto doc = FontDocument::fromTrueType(smallFont(FontDocument::Kind(kind)), &error);
    QVERIFY2(doc, qPrintable(error));
    QCOMPARE(int(doc->kind()), kind);
    QCOMPARE(doc->glyphs().size(), size_t(3));
    QCOMPARE(doc->glyph(0x41)->contours.size(), 2);
    QCOMPARE(doc->glyph(0x41)->advanceWidth, 80);
    QCOMPARE(doc->glyph(0x42)->leftSideBearing, 10);
    QCOMPARE(doc->glyph(0x42)->contours.front(),
             QPolygon({QPoint(10, -40), QPoint(10, 700), QPoint(30, 700), QPoint(30, -40)}));
    QVERIFY(doc->glyph(0x43)->contours.isEmpty());
    QCOMPARE(doc->glyph(0x43)->advanceWidth, 300);
    QVERIFY(doc->isSaved());
    QVERIFY(doc->fileName().isEmpty());
}

void TestTrueTypeReader::familyNameKept()
{
    FontDocument doc(FontDocument::Western);
    doc.setFamilyName(QStringLiteral("Dots Für Alle"));
    const auto back = FontDocument::fromTrueType(TrueTypeWriter::write(doc));
    QVERIFY(back);
    QCOMPARE(back->familyName(), QStringLiteral("Dots Für Alle"));
}

void TestTrueTypeReader::refused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const QByteArray good = smallFont(FontDocument::Western);
    QTest::newRow("empty") << QByteArray() << "too short";
    QTest::newRow("WOFF") << QByteArray("wOFF").append(20, '\0') << "WOFF";
    QTest::newRow("CFF") << QByteArray("OTTO").append(20, '\0') << "CFF";

    QByteArray curve = good;
    // Glyph 1 (code 0x41): the first flag byte follows the two contour ends and an empty
    // instruction block.
    const qsizetype glyph = glyphOffset(good, 1);
    curve[glyph + 10 + 4 + 2] = char(uchar(curve[glyph + 16]) & ~1);
    QTest::newRow("curves") << curve << "curves";

    QByteArray composite = good;
    put16(composite, glyph, 0xFFFF);
    QTest::newRow("composite") << composite << "composite";

    QByteArray upem = good;
    put16(upem, tableOffset(good, "head") + 18, 1000);
    QTest::newRow("1000 units per em") << upem << "units per em";

    QByteArray loca = good;
    put16(loca, tableOffset(good, "loca") + 8, 0xFFFF); // the end of the last glyph
    QTest::newRow("glyph outside glyf") << loca << "beyond the 'glyf'";
    QByteArray back = good;
    put16(back, tableOffset(good, "loca") + 4, 0xFFFF);
    QTest::newRow("loca going back") << back << "goes back at glyph 3";

    // Fonts that cost the reader most per byte, refused before any outline is read: every
    // code reading one glyph of 32767 contours through a loca that goes back and forth; one
    // glyph for 7000 codes, just beyond the bound of 4 M contours in all (599 are within);
    // glyphs of their own beyond it; glyphs of 65535 points.
    using Layout = HostileFont::Layout;
    QTest::newRow("loca back and forth")
        << HostileFont::make(Layout::BackAndForth, 7000, 32767) << "goes back";
    QTest::newRow("one glyph of 600 contours for 7000 codes")
        << HostileFont::make(Layout::Shared, 7000, 600) << "contours in all";
    QTest::newRow("130 glyphs of 32767 contours")
        << HostileFont::make(Layout::Distinct, 130, 32767) << "contours in all";
    QTest::newRow("7000 codes of 65535 points")
        << HostileFont::make(Layout::Shared, 7000, 1, 65535) << "points";

    QByteArray glyphs = good;
    put16(glyphs, tableOffset(good, "maxp") + 4, 2);
    QTest::newRow("cmap beyond the glyphs") << glyphs << "glyphs";

    QByteArray noGlyphs = good;
    put16(noGlyphs, tableOffset(good, "maxp") + 4, 0);
    QTest::newRow("no glyphs") << noGlyphs << "no glyphs";

    QByteArray noCmap = good;
    noCmap.replace(12 + 16 * 1, 4, "xmap");
    QTest::newRow("no cmap") << noCmap << "'cmap'";

    QByteArray beyond = good;
    qToBigEndian<quint32>(0x7FFFFFFF, beyond.data() + 12 + 16 * 2 + 8);
    QTest::newRow("table beyond the end") << beyond << "beyond the end";

    QByteArray ends = good;
    put16(ends, glyph + 10, 9);
    put16(ends, glyph + 12, 3);
    QTest::newRow("contour ends going back") << ends << "contour ends";

    QByteArray flags = good;
    // Glyph 2 (code 0x42): one contour of 4 points, flags repeated beyond them.
    const qsizetype bar = glyphOffset(good, 2);
    flags[bar + 12 + 2] = char(0x01 | 0x08);
    flags[bar + 12 + 3] = char(200);
    QTest::newRow("flags repeated too far") << flags << "flags";
}

void TestTrueTypeReader::refused()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!FontDocument::fromTrueType(data, &error));
    QVERIFY2(error.contains(reason, Qt::CaseInsensitive), qPrintable(error));
}

void TestTrueTypeReader::everyTruncation()
{
    // Whatever the cut, a clear refusal (the last tables are optional, so late cuts may read).
    const QByteArray good = smallFont(FontDocument::Japanese);
    for (qsizetype n = 0; n < good.size(); ++n) {
        QString error;
        const auto doc = FontDocument::fromTrueType(good.left(n), &error);
        QVERIFY2(doc || !error.isEmpty(), qPrintable(QString::number(n)));
    }
}

void TestTrueTypeReader::randomDamage()
{
    // Bytes overwritten at random: the reader refuses or reads, never crashes (the sanitizers
    // watch the memory).
    const QByteArray good = smallFont(FontDocument::Western);
    QRandomGenerator rng(20240601);
    int refusedCount = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bad = good;
        const int hits = 1 + int(rng.bounded(8));
        for (int h = 0; h < hits; ++h)
            bad[qsizetype(rng.bounded(quint32(bad.size())))] = char(rng.bounded(256));
        QString error;
        if (!FontDocument::fromTrueType(bad, &error)) {
            QVERIFY(!error.isEmpty());
            ++refusedCount;
        }
    }
    QVERIFY(refusedCount > 0);
}

void TestTrueTypeReader::foreignFonts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("Japanese by code page, Unicode cmap") << "japanese-unicode" << QString();
    QTest::newRow("format 12") << "western-format12" << QString();
    QTest::newRow("curves") << "curves"
                            << "curves";
    QTest::newRow("composite") << "composite"
                               << "composite";
    QTest::newRow("1000 units per em") << "upem1000"
                                       << "units per em";
}

void TestTrueTypeReader::foreignFonts()
{
    // Fonts that fontTools wrote, not this program.
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString python = FontCheck::fontToolsPython();
    if (python.isEmpty())
        QSKIP("fontTools is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("foreign.ttf"));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(python, {QStringLiteral(FONTD_TEST_DIR "/make_test_font.py"), path, kind});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAll().constData());
    QString error;
    const auto doc = FontDocument::open(path, &error);
    if (!reason.isEmpty()) {
        QVERIFY(!doc);
        QVERIFY2(error.contains(reason), qPrintable(error));
        return;
    }
    QVERIFY2(doc, qPrintable(error));
    QCOMPARE(doc->familyName(), QStringLiteral("Foreign Test"));
    const QPolygon square({QPoint(100, 0), QPoint(100, 100), QPoint(200, 100), QPoint(200, 0)});
    if (kind == QStringLiteral("japanese-unicode")) {
        QCOMPARE(doc->kind(), FontDocument::Japanese);
        QCOMPARE(doc->glyphs().size(), size_t(2));
        QVERIFY(doc->glyph(0x82A0));
        QCOMPARE(doc->glyph(0x82A0)->contours, QList<QPolygon>{square});
        QCOMPARE(doc->glyph(0x82A0)->advanceWidth, 310);
        QVERIFY(doc->glyph(0x41));
    } else {
        QCOMPARE(doc->kind(), FontDocument::Western);
        QCOMPARE(doc->glyphs().size(), size_t(2));
        QVERIFY(doc->glyph(0xE9));
        QVERIFY(doc->glyph(0x80)); // the euro sign
        QCOMPARE(doc->glyph(0x80)->advanceWidth, 300);
    }
    // And it saves as a font of ours.
    QVERIFY(doc->saveAs(dir.filePath(QStringLiteral("ours.ttf"))));
    QVERIFY(FontDocument::open(dir.filePath(QStringLiteral("ours.ttf"))));
}

QTEST_GUILESS_MAIN(TestTrueTypeReader)
#include "tst_truetypereader.moc"

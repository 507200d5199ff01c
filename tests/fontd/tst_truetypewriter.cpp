#include "TestBmp.h"
#include "codes/Cp932.h"
#include "common/FontCheck.h"
#include "fontd/CmapSubtable.h"
#include "fontd/FontCodes.h"
#include "fontd/FontDocument.h"
#include "fontd/TrueTypeWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QtEndian>

namespace {

// One glyph as the editor sends it.
struct Sent
{
    int code;
    QList<QString> dots;
    int sizePercent;
    bool square;
};

bool writeBmp(const QString& path, const InkMask& ink)
{
    QFile f(path);
    const QByteArray data = TestBmp::editorFormat(ink);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// Rows of '#'/'.' from the dots of a glyph as the checker expects them.
QString expectationLine(const Sent& s)
{
    const TestBmp::Grid g =
        TestBmp::grid(int(s.dots.front().size()), int(s.dots.size()), s.sizePercent, s.square);
    return QStringLiteral("%1 %2 %3 %4 %5 %6\n")
        .arg(s.code)
        .arg(g.originX + g.boxW / 2.0)
        .arg(g.originY + g.boxH / 2.0)
        .arg(g.pitchX)
        .arg(g.pitchY)
        .arg(s.dots.join(u' '));
}

QString runFontTools(const QString& font, const QString& expect = {})
{
    const QString python = FontCheck::fontToolsPython();
    if (python.isEmpty())
        return QStringLiteral("skip");
    QStringList args{QStringLiteral(FONTD_TEST_DIR "/check_font.py"), font};
    if (!expect.isEmpty())
        args << QStringLiteral("--expect") << expect;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(python, args);
    if (!p.waitForFinished(300000))
        return QStringLiteral("check_font.py did not finish");
    const QString out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? QString() : out;
}

// The glyph of a Japanese test font that spells its code in binary: 16 dots in a row, and a
// dot below the row so that no glyph is empty.
QList<QString> codeDots(int code)
{
    QString row(16, u'.');
    for (int b = 0; b < 16; ++b) {
        if (code & (1 << (15 - b)))
            row[b] = u'#';
    }
    return {row, QStringLiteral("#...............")};
}

FontGlyph glyphOfDots(const QList<QString>& dots)
{
    // Straight from the dots at 30 font units per dot, rows downwards from y = 600.
    FontGlyph g;
    for (int y = 0; y < dots.size(); ++y) {
        for (int x = 0; x < dots[y].size(); ++x) {
            if (dots[y][x] != u'#')
                continue;
            const int x0 = 30 * x, y0 = 600 - 30 * y;
            g.contours.append(QPolygon({QPoint(x0, y0), QPoint(x0 + 20, y0),
                                        QPoint(x0 + 20, y0 - 20), QPoint(x0, y0 - 20)}));
        }
    }
    g.advanceWidth = 30 * 16;
    g.leftSideBearing = 0;
    return g;
}

} // namespace

class TestTrueTypeWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dotsReachTheFont_data();
    void dotsReachTheFont();
    void westernFontOfRandomGlyphs();
    void emptyFont();
    void sideBearingsReachHmtx();
    void saveOpenSave_data();
    void saveOpenSave();
    void japaneseCodes();
    void sharedUnicodeValues();
    void westernCodePage();
    void japaneseFontWithEveryCode();
    void cmapFormats();
    void namesAgreeEverywhere_data();
    void namesAgreeEverywhere();

private:
    QTemporaryDir m_dir;
    int m_fileNumber = 0;
    QString nextPath(const QString& suffix)
    {
        return m_dir.filePath(QStringLiteral("f%1%2").arg(++m_fileNumber).arg(suffix));
    }
};

void TestTrueTypeWriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestTrueTypeWriter::dotsReachTheFont_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("dots");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("square");
    const int w = FontDocument::Western, j = FontDocument::Japanese;
    QTest::newRow("3x3 full") << w << 65 << QStringList{"###", "###", "###"} << 100 << true;
    QTest::newRow("3x3 ring, a hole") << w << 66 << QStringList{"###", "#.#", "###"} << 100 << true;
    QTest::newRow("5x5 island in a hole")
        << w << 67 << QStringList{"#####", "#...#", "#.#.#", "#...#", "#####"} << 100 << true;
    QTest::newRow("diagonal contacts")
        << w << 68 << QStringList{"#..#", ".##.", ".##.", "#..#"} << 100 << true;
    QTest::newRow("checkerboard") << w << 69
                                  << QStringList{"#.#.#", ".#.#.", "#.#.#", ".#.#.", "#.#.#"} << 100
                                  << true;
    QTest::newRow("ring closed at a corner")
        << w << 70 << QStringList{"###", "#.#", "##."} << 100 << true;
    QTest::newRow("empty glyph") << w << 32 << QStringList{"....", "....", "...."} << 100 << true;
    QTest::newRow("12x20 random") << w << 71 << QStringList(TestBmp::randomDots(12, 20, 0.45, 71))
                                  << 100 << true;
    QTest::newRow("12x20 random, boxes at 50 %")
        << w << 72 << QStringList(TestBmp::randomDots(12, 20, 0.45, 72)) << 50 << true;
    QTest::newRow("12x20 random, boxes at 10 %")
        << w << 73 << QStringList(TestBmp::randomDots(12, 20, 0.6, 73)) << 10 << true;
    QTest::newRow("12x20 oblong dots")
        << w << 74 << QStringList(TestBmp::randomDots(12, 20, 0.45, 74)) << 100 << false;
    QTest::newRow("32x32 random") << w << 255 << QStringList(TestBmp::randomDots(32, 32, 0.5, 75))
                                  << 100 << true;
    QTest::newRow("7x32 random at 80 %")
        << w << 0x80 << QStringList(TestBmp::randomDots(7, 32, 0.5, 76)) << 80 << true;
    QTest::newRow("Japanese hiragana a")
        << j << 0x82A0 << QStringList(TestBmp::randomDots(16, 16, 0.5, 77)) << 100 << true;
    QTest::newRow("Japanese half-width")
        << j << 0xB1 << QStringList(TestBmp::randomDots(8, 16, 0.5, 78)) << 100 << true;
}

void TestTrueTypeWriter::dotsReachTheFont()
{
    QFETCH(int, kind);
    QFETCH(int, code);
    QFETCH(QStringList, dots);
    QFETCH(int, size);
    QFETCH(bool, square);
    const InkMask canvas = TestBmp::canvas(dots, size, square);
    const QString bmp = nextPath(QStringLiteral(".bmp"));
    QVERIFY(writeBmp(bmp, canvas));
    FontDocument doc{FontDocument::Kind(kind)};
    QVERIFY(doc.setCurrentCode(code));
    doc.selectAll();
    doc.deleteSelection();
    QString error;
    QVERIFY2(doc.importBitmap(bmp, &error), qPrintable(error));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY2(doc.saveAs(font, &error), qPrintable(error));

    // FreeType, one dot per pixel, sampled at each box's centre.
    const TestBmp::Grid g = TestBmp::grid(int(dots.front().size()), int(dots.size()), size, square);
    const QList<QString> raster = FontCheck::rasterDots(
        font, code, g.originX + g.boxW / 2.0, g.originY + g.boxH / 2.0, g.pitchX, g.pitchY,
        int(dots.front().size()), int(dots.size()), &error);
    QVERIFY2(!raster.isEmpty(), qPrintable(error));
    QCOMPARE(QStringList(raster), dots);
    // And at one pixel per canvas pixel, the very image that was sent.
    QCOMPARE(FontCheck::rasterPixels(font, code, 482, 482, &error), canvas.toText());

    // The sanitizer browsers use.
    QString output;
    const FontCheck::OtsResult ots = FontCheck::otsSanitize(font, &output);
    QVERIFY2(ots != FontCheck::OtsResult::Failed, qPrintable(output));

    // fontTools: structure and the winding number at every dot.
    const QString expect = nextPath(QStringLiteral(".txt"));
    QFile e(expect);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.write(expectationLine({code, dots, size, square}).toUtf8());
    e.close();
    const QString fontTools = runFontTools(font, expect);
    if (fontTools != QStringLiteral("skip"))
        QVERIFY2(fontTools.isEmpty(), qPrintable(fontTools));
}

void TestTrueTypeWriter::westernFontOfRandomGlyphs()
{
    // Every code of a Western font, each with its own glyph, in one file.
    FontDocument doc(FontDocument::Western);
    QList<Sent> sent;
    const QString bmp = nextPath(QStringLiteral(".bmp"));
    for (int code = 32; code <= 255; code += 3) {
        const Sent s{code, TestBmp::randomDots(12, 20, 0.45, quint32(code)), 100, true};
        QVERIFY(writeBmp(bmp, TestBmp::canvas(s.dots, s.sizePercent)));
        QVERIFY(doc.setCurrentCode(code));
        QVERIFY(doc.importBitmap(bmp));
        sent.append(s);
    }
    const QString font = nextPath(QStringLiteral(".ttf"));
    QString error;
    QVERIFY2(doc.saveAs(font, &error), qPrintable(error));
    const TestBmp::Grid g = TestBmp::grid(12, 20, 100);
    QString expect;
    for (const Sent& s : sent) {
        const QList<QString> raster =
            FontCheck::rasterDots(font, s.code, g.originX + g.boxW / 2.0, g.originY + g.boxH / 2.0,
                                  g.pitchX, g.pitchY, 12, 20, &error);
        QVERIFY2(raster == s.dots, qPrintable(QStringLiteral("code %1 %2").arg(s.code).arg(error)));
        expect += expectationLine(s);
    }
    QString output;
    QVERIFY2(FontCheck::otsSanitize(font, &output) != FontCheck::OtsResult::Failed,
             qPrintable(output));
    const QString expectPath = nextPath(QStringLiteral(".txt"));
    QFile e(expectPath);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.write(expect.toUtf8());
    e.close();
    const QString fontTools = runFontTools(font, expectPath);
    if (fontTools != QStringLiteral("skip"))
        QVERIFY2(fontTools.isEmpty(), qPrintable(fontTools));
}

void TestTrueTypeWriter::emptyFont()
{
    for (auto kind : {FontDocument::Western, FontDocument::Japanese}) {
        FontDocument doc(kind);
        const QString font = nextPath(QStringLiteral(".ttf"));
        QString error;
        QVERIFY2(doc.saveAs(font, &error), qPrintable(error));
        QCOMPARE(FontCheck::glyphIndex(font, 65, &error), 0);
        QString output;
        QVERIFY2(FontCheck::otsSanitize(font, &output) != FontCheck::OtsResult::Failed,
                 qPrintable(output));
        const QString fontTools = runFontTools(font);
        if (fontTools != QStringLiteral("skip"))
            QVERIFY2(fontTools.isEmpty(), qPrintable(fontTools));
        const auto back = FontDocument::open(font, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->kind(), kind);
        QVERIFY(back->glyphs().empty());
    }
}

void TestTrueTypeWriter::sideBearingsReachHmtx()
{
    const QString bmp = nextPath(QStringLiteral(".bmp"));
    QVERIFY(writeBmp(bmp, TestBmp::canvas({"..#..", ".###.", "#####"}, 100)));
    FontDocument doc(FontDocument::Western);
    struct Case
    {
        int code, lsb, rsb;
    };
    const QList<Case> cases{{65, 0, 0}, {66, 40, 60}, {67, -20, 100}, {68, 300, -50}};
    for (const Case& c : cases) {
        QVERIFY(doc.setCurrentCode(c.code));
        QVERIFY(doc.importBitmap(bmp));
        QVERIFY(doc.setSideBearings(c.lsb, c.rsb));
    }
    QVERIFY(doc.setCurrentCode(69));
    QVERIFY(doc.setSideBearings(100, 150)); // an empty glyph
    // Without side bearings the advance is the image width.
    QVERIFY(doc.setCurrentCode(70));
    QVERIFY(doc.importBitmap(bmp));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY(doc.saveAs(font));
    // The ink spans 5 dots of 96 pixels: 960 units wide.
    for (const Case& c : cases) {
        int advance = 0, lsb = 0;
        QString error;
        QVERIFY2(FontCheck::horizontalMetrics(font, c.code, &advance, &lsb, &error),
                 qPrintable(error));
        QCOMPARE(lsb, c.lsb);
        QCOMPARE(advance, c.lsb + 960 + c.rsb);
    }
    int advance = 0, lsb = 0;
    QVERIFY(FontCheck::horizontalMetrics(font, 69, &advance, &lsb));
    QCOMPARE(advance, 250);
    QCOMPARE(lsb, 0);
    QVERIFY(FontCheck::horizontalMetrics(font, 70, &advance, &lsb));
    QCOMPARE(advance, 964);
    QCOMPARE(lsb, 0);

    // The widest empty glyph: its advance of 65534 and .notdef's 480 average 33007, which
    // OS/2's signed 16-bit xAvgCharWidth (OS/2 is the first table) holds at its end.
    FontDocument wide(FontDocument::Western);
    QVERIFY(wide.setSideBearings(32767, 32767));
    const QByteArray bytes = TrueTypeWriter::write(wide);
    QCOMPARE(bytes.mid(12, 4), QByteArray("OS/2"));
    const quint32 os2 = qFromBigEndian<quint32>(bytes.constData() + 12 + 8);
    QCOMPARE(qFromBigEndian<qint16>(bytes.constData() + os2 + 2), qint16(32767));
}

void TestTrueTypeWriter::saveOpenSave_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("Western") << int(FontDocument::Western);
    QTest::newRow("Japanese") << int(FontDocument::Japanese);
}

void TestTrueTypeWriter::saveOpenSave()
{
    QFETCH(int, kind);
    FontDocument doc{FontDocument::Kind(kind)};
    const QString bmp = nextPath(QStringLiteral(".bmp"));
    const auto codes = doc.codes();
    for (size_t i = 0; i < codes.size(); i += codes.size() / 40) {
        QVERIFY(writeBmp(bmp, TestBmp::canvas(TestBmp::randomDots(12, 20, 0.45, quint32(i)), 100)));
        QVERIFY(doc.setCurrentCode(codes[i]));
        QVERIFY(doc.importBitmap(bmp));
        if (i % 3 == 0)
            QVERIFY(doc.setSideBearings(int(i % 97), int(i % 89)));
    }
    const QString first = nextPath(QStringLiteral(".ttf"));
    QVERIFY(doc.saveAs(first));
    QString error;
    auto back = FontDocument::open(first, &error);
    QVERIFY2(back, qPrintable(error));
    // Edit, save again, and open the second file: the edit is there, the rest unchanged.
    QVERIFY(back->setCurrentCode(codes[1]));
    QVERIFY(back->importBitmap(bmp));
    const QString second = nextPath(QStringLiteral(".ttf"));
    QVERIFY(back->saveAs(second));
    auto again = FontDocument::open(second, &error);
    QVERIFY2(again, qPrintable(error));
    QCOMPARE(again->glyphs().size(), doc.glyphs().size() + 1);
    for (const auto& [code, glyph] : back->glyphs()) {
        const FontGlyph* g = again->glyph(code);
        QVERIFY(g);
        QCOMPARE(g->contours, glyph.contours);
        QCOMPARE(g->advanceWidth, glyph.advanceWidth);
        QCOMPARE(g->leftSideBearing, glyph.leftSideBearing);
    }
    // Unchanged fonts come out byte for byte the same.
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    QCOMPARE(TrueTypeWriter::write(*again, nullptr, when),
             TrueTypeWriter::write(*back, nullptr, when));
}

void TestTrueTypeWriter::japaneseCodes()
{
    FontDocument doc(FontDocument::Japanese);
    const QList<int> codes{0x20,   0x41,   0x5C,   0x7E,   0xA1,   0xDF,  0x8140,
                           0x82A0, 0x889F, 0x9872, 0xEAA4, 0xFA40, 0xF040};
    QString error;
    for (int code : codes)
        QVERIFY2(doc.setGlyph(code, glyphOfDots(codeDots(code)), &error), qPrintable(error));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY2(doc.saveAs(font, &error), qPrintable(error));
    for (int code : codes) {
        // 30 units per dot: dot (i, j) at canvas (15 i + 5, 100 + 15 j + 5).
        const auto viaSjis = FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, &error,
                                                   FontCheck::CharMap::ShiftJis);
        QVERIFY2(viaSjis == codeDots(code), qPrintable(QString::number(code, 16) + error));
        const auto viaUnicode = FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, &error,
                                                      FontCheck::CharMap::Unicode932);
        QVERIFY2(viaUnicode == codeDots(code), qPrintable(QString::number(code, 16) + error));
    }
    QString output;
    QVERIFY2(FontCheck::otsSanitize(font, &output) != FontCheck::OtsResult::Failed,
             qPrintable(output));
}

void TestTrueTypeWriter::sharedUnicodeValues()
{
    // 0x81E0 and the NEC duplicate 0x8790 are both U+2252; 0x8754 (NEC) and 0xFA4A (IBM) are
    // both U+2160.  (3,1) takes the code Windows writes when it has a glyph, else the other.
    QCOMPARE(Cp932::toUnicode(0x8790), Cp932::toUnicode(0x81E0));
    QCOMPARE(Cp932::toUnicode(0xFA4A), Cp932::toUnicode(0x8754));
    FontDocument doc(FontDocument::Japanese);
    for (int code : {0x81E0, 0x8790, 0xFA4A})
        QVERIFY(doc.setGlyph(code, glyphOfDots(codeDots(code))));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY(doc.saveAs(font));
    const int windows = FontCodes::fromUnicode(FontDocument::Japanese, Cp932::toUnicode(0x81E0));
    QCOMPARE(windows, 0x81E0);
    QCOMPARE(FontCheck::rasterDots(font, 0x8790, 5, 105, 15, 15, 16, 2, nullptr,
                                   FontCheck::CharMap::Unicode932),
             codeDots(0x81E0));
    QCOMPARE(FontCheck::rasterDots(font, 0x8754, 5, 105, 15, 15, 16, 2, nullptr,
                                   FontCheck::CharMap::Unicode932),
             codeDots(0xFA4A));
    // Every code keeps its own glyph in (3,2) and after reading the font back.
    for (int code : {0x81E0, 0x8790, 0xFA4A})
        QCOMPARE(FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, nullptr,
                                       FontCheck::CharMap::ShiftJis),
                 codeDots(code));
    const auto back = FontDocument::open(font);
    QVERIFY(back);
    QCOMPARE(back->glyphs().size(), size_t(3));
}

void TestTrueTypeWriter::westernCodePage()
{
    FontDocument doc(FontDocument::Western);
    for (int code : {0x41, 0x80, 0x81, 0x8D, 0x9F, 0xA0, 0xFF})
        QVERIFY(doc.setGlyph(code, glyphOfDots(codeDots(code))));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY(doc.saveAs(font));
    for (int code : {0x41, 0x80, 0x81, 0x8D, 0x9F, 0xA0, 0xFF}) {
        QString error;
        QCOMPARE(FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, &error), codeDots(code));
    }
    const auto back = FontDocument::open(font);
    QVERIFY(back);
    QCOMPARE(back->kind(), FontDocument::Western);
    QCOMPARE(back->glyphs().size(), size_t(7));
}

void TestTrueTypeWriter::japaneseFontWithEveryCode()
{
    FontDocument doc(FontDocument::Japanese);
    QString error;
    for (int code : doc.codes())
        QVERIFY(doc.setGlyph(code, glyphOfDots(codeDots(code)), &error));
    const QString font = nextPath(QStringLiteral(".ttf"));
    QVERIFY2(doc.saveAs(font, &error), qPrintable(error));
    QVERIFY(QFileInfo(font).size() > 2 * 65535); // long loca
    const auto codes = doc.codes();
    for (size_t i = 0; i < codes.size(); i += 61) {
        const int code = codes[i];
        QVERIFY2(FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, &error,
                                       FontCheck::CharMap::ShiftJis) == codeDots(code),
                 qPrintable(QString::number(code, 16) + error));
        const int writes = FontCodes::fromUnicode(FontDocument::Japanese, Cp932::toUnicode(code));
        QVERIFY2(FontCheck::rasterDots(font, code, 5, 105, 15, 15, 16, 2, &error,
                                       FontCheck::CharMap::Unicode932) == codeDots(writes),
                 qPrintable(QString::number(code, 16) + error));
    }
    QString output;
    QVERIFY2(FontCheck::otsSanitize(font, &output) != FontCheck::OtsResult::Failed,
             qPrintable(output));
    const QString fontTools = runFontTools(font);
    if (fontTools != QStringLiteral("skip"))
        QVERIFY2(fontTools.isEmpty(), qPrintable(fontTools));
    const auto back = FontDocument::open(font, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->glyphs().size(), doc.glyphs().size());
}

void TestTrueTypeWriter::cmapFormats()
{
    // A small mapping fits format 4; codes scattered over 40 000 values do not.
    auto lookup = [](const QByteArray& t, quint32 code) -> quint32 {
        const auto* p = reinterpret_cast<const uchar*>(t.constData());
        if (qFromBigEndian<quint16>(p) == 12) {
            const quint32 groups = qFromBigEndian<quint32>(p + 12);
            for (quint32 i = 0; i < groups; ++i) {
                const uchar* g = p + 16 + 12 * i;
                const quint32 s = qFromBigEndian<quint32>(g), e = qFromBigEndian<quint32>(g + 4);
                if (code >= s && code <= e)
                    return qFromBigEndian<quint32>(g + 8) + code - s;
            }
            return 0;
        }
        const int segs = qFromBigEndian<quint16>(p + 6) / 2;
        for (int i = 0; i < segs; ++i) {
            const quint16 end = qFromBigEndian<quint16>(p + 14 + 2 * i);
            const quint16 start = qFromBigEndian<quint16>(p + 16 + 2 * segs + 2 * i);
            if (code < start || code > end)
                continue;
            const quint16 delta = qFromBigEndian<quint16>(p + 16 + 4 * segs + 2 * i);
            const qsizetype rangeAt = 16 + 6 * segs + 2 * i;
            const quint16 range = qFromBigEndian<quint16>(p + rangeAt);
            if (range == 0)
                return (code + delta) & 0xFFFF;
            const quint16 g = qFromBigEndian<quint16>(p + rangeAt + range + 2 * (code - start));
            return g ? (g + delta) & 0xFFFF : 0;
        }
        return 0;
    };
    auto bytes = [](const CmapSubtable& t) {
        QByteArray b(qsizetype(t.size()), '\0');
        BigEndianWriter w(std::span<uchar>(reinterpret_cast<uchar*>(b.data()), size_t(b.size())));
        t.write(w);
        return w.finishedExactly() ? b : QByteArray();
    };

    std::vector<CmapSubtable::Mapping> small;
    for (quint32 c = 0x20; c < 0x7F; ++c)
        small.push_back({c, quint16(c - 0x1F)});
    for (quint32 c : {0x3042u, 0x3044u, 0x3046u, 0x4E00u, 0x4E01u, 0x4E03u, 0xFF61u})
        small.push_back({c, quint16(c % 1000 + 200)});
    const auto f4 = CmapSubtable::format4(small);
    QVERIFY(f4);
    QCOMPARE(f4->format(), 4);
    const QByteArray b4 = bytes(*f4);
    QVERIFY(!b4.isEmpty());
    for (const auto& m : small)
        QCOMPARE(lookup(b4, m.code), quint32(m.glyph));
    QCOMPARE(lookup(b4, 0x3043), 0u);
    QCOMPARE(lookup(b4, 0x4E02), 0u);

    std::vector<CmapSubtable::Mapping> scattered;
    for (quint32 c = 0x100; c < 0xF000; c += 3)
        scattered.push_back({c, quint16((c * 7) % 30000 + 1)});
    QVERIFY(!CmapSubtable::format4(scattered));
    const QByteArray b12 = bytes(CmapSubtable::format12(scattered));
    QVERIFY(!b12.isEmpty());
    for (size_t i = 0; i < scattered.size(); i += 7)
        QCOMPARE(lookup(b12, scattered[i].code), quint32(scattered[i].glyph));
    QCOMPARE(lookup(b12, 0x101), 0u);

    // Codes beyond 16 bits never go into format 4.
    const std::vector<CmapSubtable::Mapping> wide{{0x41, 1}, {0x1F600, 2}};
    QVERIFY(!CmapSubtable::format4(wide));
}

using NameMap = QMap<int, QString>;

void TestTrueTypeWriter::namesAgreeEverywhere_data()
{
    QTest::addColumn<QStringList>("given"); // family, style, version, copyright
    QTest::addColumn<NameMap>("records");
    QTest::addColumn<int>("fsSelection");
    QTest::addColumn<int>("macStyle");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("revision");

    QTest::newRow("new font") << QStringList{"", "", "", ""}
                              << NameMap{{1, "Pointillo Western"},
                                         {2, "Regular"},
                                         {3, "1.000;PTLO;PointilloWestern-Regular"},
                                         {4, "Pointillo Western"},
                                         {5, "Version 1.000"},
                                         {6, "PointilloWestern-Regular"}}
                              << 0x40 << 0 << 400 << 0x10000;
    QTest::newRow("bold italic, with a copyright")
        << QStringList{" My Pixel\n", "bold italic", "Version 2.5", "(c) 2024 Me"}
        << NameMap{{0, "(c) 2024 Me"},          {1, "My Pixel"},
                   {2, "Bold Italic"},          {3, "2.500;PTLO;MyPixel-BoldItalic"},
                   {4, "My Pixel Bold Italic"}, {5, "Version 2.5"},
                   {6, "MyPixel-BoldItalic"}}
        << 0x21 << 3 << 700 << 0x28000;
    QTest::newRow("a style beyond the four, PostScript delimiters")
        << QStringList{"Dots [x]/(y) {%}", "Light", "3", ""}
        << NameMap{{1, "Dots [x]/(y) {%} Light"}, {2, "Regular"}, {3, "3.000;PTLO;Dotsxy-Light"},
                   {4, "Dots [x]/(y) {%} Light"}, {5, "3"},       {6, "Dotsxy-Light"},
                   {16, "Dots [x]/(y) {%}"},      {17, "Light"}}
        << 0x40 << 0 << 400 << 0x30000;
    const QString longFamily(80, u'W');
    QTest::newRow("long family: PostScript name of 63")
        << QStringList{longFamily, "Italic", "", ""}
        << NameMap{{1, longFamily},
                   {2, "Italic"},
                   {3, "1.000;PTLO;" + longFamily.left(56) + "-Italic"},
                   {4, longFamily + " Italic"},
                   {5, "Version 1.000"},
                   {6, longFamily.left(56) + "-Italic"}}
        << 0x01 << 2 << 400 << 0x10000;
    // Cut at 255 UTF-16 units, the emoji goes whole; the top version keeps the field positive.
    const QString cut(254, u'W'), ps = cut.left(55) + "-Regular";
    QTest::newRow("emoji across the cut, the largest version")
        << QStringList{cut + QStringLiteral("\U0001F600"), "", "Version 32767.99999", ""}
        << NameMap{{1, cut},
                   {2, "Regular"},
                   {3, "32768.000;PTLO;" + ps},
                   {4, cut},
                   {5, "Version 32767.99999"},
                   {6, ps}}
        << 0x40 << 0 << 400 << 0x7FFFFFFF;
}

void TestTrueTypeWriter::namesAgreeEverywhere()
{
    QFETCH(QStringList, given);
    QFETCH(NameMap, records);
    QFETCH(int, fsSelection);
    QFETCH(int, macStyle);
    QFETCH(int, weight);
    QFETCH(int, revision);
    FontDocument doc(FontDocument::Western);
    doc.setNames({given[0], given[1], given[2], given[3]});
    const QString path = nextPath(QStringLiteral(".ttf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(doc.toTrueType()) > 0);
    file.close();

    // As FreeType reads the name table and the fields that follow the style.
    QCOMPARE(FontCheck::names(path), records);
    const QByteArray os2 = FontCheck::table(path, "OS/2");
    const QByteArray head = FontCheck::table(path, "head");
    QVERIFY(os2.size() >= 64 && head.size() >= 54);
    QCOMPARE(qFromBigEndian<quint16>(os2.constData() + 4), quint16(weight));
    QCOMPARE(qFromBigEndian<quint16>(os2.constData() + 62), quint16(fsSelection));
    QCOMPARE(qFromBigEndian<quint16>(head.constData() + 44), quint16(macStyle));
    QCOMPARE(qFromBigEndian<quint32>(head.constData() + 4), quint32(revision));
    const QString fontTools = runFontTools(path);
    if (fontTools != QStringLiteral("skip"))
        QVERIFY2(fontTools.isEmpty(), qPrintable(fontTools));

    // Read back, the names are the ones given.
    QString error;
    const auto back = FontDocument::open(path, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->names(), doc.names());
    QVERIFY(back->familyGiven());
}

QTEST_GUILESS_MAIN(TestTrueTypeWriter)
#include "tst_truetypewriter.moc"

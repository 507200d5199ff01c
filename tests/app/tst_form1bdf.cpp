// The window's font import (every font FontReader reads, into the glyph store) and its BDF
// export of the whole store, checked by bdftopcf and FreeType.

#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "chartable/TableHistory.h"
#include "codes/Cp1252.h"
#include "codes/Cp932.h"
#include "common/FontCheck.h"
#include "common/Form1Fixture.h"
#include "common/HeadlessBuild.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <sys/stat.h>

namespace {

// A glyph of an outside font: its ENCODING, its BBX offsets and its rows, '#' for a set dot.
struct OutsideGlyph
{
    int encoding;
    int xOffset;
    int yOffset;
    QList<QByteArray> rows;
};

// A BDF font as another program writes it: CRLF line ends, comments, glyphs of boxes of every
// size and offset, packed to whole bytes.  Its bounding box is 8 x 12, 1 dot left of the origin
// and 3 below: the ascent is 9.
QByteArray outsideBdf(const QByteArray& registry, const QList<OutsideGlyph>& glyphs)
{
    QByteArray f = "STARTFONT 2.1\r\nCOMMENT written by hand\r\nFONT -Misc-Test-Medium-R-Normal--"
                   "12-120-75-75-C-80-" +
                   registry +
                   "\r\nSIZE 12 75 75\r\nFONTBOUNDINGBOX 8 12 -1 -3\r\n"
                   "STARTPROPERTIES 4\r\nFONT_ASCENT 9\r\nFONT_DESCENT 3\r\n"
                   "CHARSET_REGISTRY \"" +
                   registry.split('-').first() + "\"\r\nCHARSET_ENCODING \"" +
                   registry.split('-').last() + "\"\r\nENDPROPERTIES\r\n\r\nCHARS " +
                   QByteArray::number(glyphs.size()) + "\r\n";
    for (const OutsideGlyph& g : glyphs) {
        const int w = g.rows.isEmpty() ? 0 : int(g.rows.first().size());
        f += "STARTCHAR g\r\nENCODING " + QByteArray::number(g.encoding) + "\r\nSWIDTH 666 0\r\n" +
             "DWIDTH 8 0\r\nBBX " + QByteArray::number(w) + ' ' +
             QByteArray::number(g.rows.size()) + ' ' + QByteArray::number(g.xOffset) + ' ' +
             QByteArray::number(g.yOffset) + "\r\nBITMAP\r\n";
        for (const QByteArray& row : g.rows) {
            QByteArray bytes((w + 7) / 8, '\0');
            for (int x = 0; x < w; ++x)
                bytes[x / 8] = char(bytes[x / 8] | (row[x] == '#' ? 0x80 >> (x % 8) : 0));
            f += bytes.toHex() + "\r\n";
        }
        f += "ENDCHAR\r\n";
    }
    return f + "ENDFONT\r\n";
}

QList<QString> cellPicture(const GlyphStore& store, int code, QSize size)
{
    QList<QString> rows;
    for (int y = 0; y < size.height(); ++y) {
        QString row;
        for (int x = 0; x < size.width(); ++x)
            row += store.isSet(code, QPoint(x, y)) ? u'#' : u'.';
        rows.append(row);
    }
    return rows;
}

bool writeFile(const QString& name, const QByteArray& data)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool run(const QString& command)
{
    return QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), command}) == 0;
}

} // namespace

class TestForm1Bdf : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void cleanup();

    void roundTrip_data();
    void roundTrip();
    void outsideFont_data();
    void outsideFont();
    void pixelFont();
    void badInput_data();
    void badInput();

private:
    Form1& start(FakeTTEdit::Kind kind);
    QSize glyphSize() const
    {
        return QSize(m_form->SliderDotX->value(), m_form->SliderDotY->value());
    }
};

Form1& TestForm1Bdf::start(FakeTTEdit::Kind kind)
{
    showForm(kind);
    m_form->store().setPage(0, SampleTable::make());
    m_form->drawGrid(); // the font's kind is probed
    return *m_form;
}

void TestForm1Bdf::cleanup()
{
    destroyForm();
}

void TestForm1Bdf::roundTrip_data()
{
    QTest::addColumn<FakeTTEdit::Kind>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("name");   // of the file, without .bdf
    QTest::addColumn<QString>("family"); // the font's, from the file's name
    QTest::newRow("Western, 12 x 20") << FakeTTEdit::Kind::Western << QSize(12, 20) << "mine"
                                      << "mine";
    QTest::newRow("Japanese, 9 x 32")
        << FakeTTEdit::Kind::Japanese << QSize(9, 32) << "わたしの-font*1"
        << "font 1";
    QTest::newRow("Western, 32 x 3") << FakeTTEdit::Kind::Western << QSize(32, 3) << "a\"b"
                                     << "a b";
}

void TestForm1Bdf::roundTrip()
{
    QFETCH(FakeTTEdit::Kind, kind);
    QFETCH(QSize, size);
    QFETCH(QString, name);
    QFETCH(QString, family);
    const QString bdf = name + QStringLiteral(".bdf");
    Form1& f = start(kind);
    const bool western = kind == FakeTTEdit::Kind::Western;
    // Double-byte glyphs too, stored in a Japanese font's pages: 8790 is the NEC twin of 81E0,
    // both U+2252, and only the code Windows writes for it gets the character.
    QList<int> codes;
    for (int code = 32; code < 256; ++code)
        codes.append(code);
    if (!western) {
        QRandomGenerator random(5);
        codes += {0x81E0, 0x8260, 0x82A0, 0x8790, 0x889F, 0xEAA4};
        for (int code : codes.mid(224))
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    if (random.bounded(2))
                        f.store().setPixel(code, QPoint(x, y), CharTable::SetColour);
    }
    const auto unicode = [western](int code) {
        return code == 127 ? 0 : western ? Cp1252::toUnicode(code) : Cp932::toUnicode(code);
    };
    f.SliderDotX->setValue(size.width());
    f.SliderDotY->setValue(size.height());
    GlyphStore stored;
    for (int page : f.store().pages())
        stored.setPage(page, f.store().page(page));
    // Where no file can be, a message says why.
    QVERIFY(!f.exportBdf(QStringLiteral("nowhere/") + bdf));
    QCOMPARE(m_prompt.messages().value(0).split(u'\n').first(),
             QStringLiteral("BDFフォントを書き出せませんでした"));
    QVERIFY(m_prompt.messages().value(0).endsWith(QStringLiteral("No such file or directory")));
    m_prompt.clear();
    QVERIFY(f.exportBdf(bdf));
    QVERIFY(f.said().contains(QFileInfo(bdf).absoluteFilePath()));
    QCOMPARE(m_prompt.messages(),
             western ? QStringList()
                     : QStringList{QStringLiteral(
                           "1 文字は、同じ文字の別のコード（Windows がその文字に使うコード）で"
                           "書き出したため、書き出しませんでした")});

    // X11's compiler takes it as it is, and FreeType reads both files as the store's glyphs on
    // one baseline at the glyph size, each at its Unicode character.
    QStringList fonts{bdf};
    const QString bdftopcf = QStandardPaths::findExecutable(QStringLiteral("bdftopcf"));
    if (bdftopcf.isEmpty()) {
        qWarning("bdftopcf is not installed (Debian: xfonts-utils): the PCF is not checked");
    } else {
        QProcess compile;
        compile.start(bdftopcf, {QStringLiteral("-o"), QStringLiteral("mine.pcf"), fonts.first()});
        QVERIFY(compile.waitForFinished());
        QCOMPARE(compile.readAllStandardError(), QByteArray());
        QCOMPARE(compile.exitCode(), 0);
        fonts.append(QStringLiteral("mine.pcf"));
    }
    const int ascent = size.height() - BdfFont::descent(size.height());
    for (const QString& font : fonts) {
        QString error;
        QCOMPARE(FontCheck::bitmapFace(font, &error),
                 QStringLiteral("%1 %2 px").arg(family).arg(size.height()));
        for (int code : codes) {
            const int shown = code == 0x8790 ? 0x81E0 : code;
            const QList<QString> glyph =
                FontCheck::bitmapCell(font, int(unicode(code)), QPoint(0, ascent), size, &error);
            QVERIFY2(unicode(code) == 0 ? glyph.isEmpty()
                                        : glyph == cellPicture(stored, shown, size),
                     qPrintable(font + u' ' + QString::number(code, 16) + u' ' + error));
        }
    }

    // Back into a blank store: nothing without a Yes; then the same glyphs at the same size.
    for (int page : f.store().pages())
        CharTable::clearAll(f.store().pageForWrite(page));
    f.drawGrid();
    GlyphStore cleared;
    for (int page : f.store().pages())
        cleared.setPage(page, f.store().page(page));
    f.SliderDotX->setValue(20);
    f.SliderDotY->setValue(7);
    m_prompt.clear();
    m_prompt.answer({false, true});
    QVERIFY(!f.importFont(bdf));
    QCOMPARE(f.store().page(0), cleared.page(0));
    QCOMPARE(glyphSize(), QSize(20, 7));
    QVERIFY(f.importFont(bdf));
    const QString question = western ? QStringLiteral("キャラクタテーブル")
                                     : QStringLiteral("キャラクタテーブルとページ 81xx～82xx, "
                                                      "88xx, EAxx");
    QCOMPARE(m_prompt.questions(),
             QStringList(
                 2, question + QStringLiteral("の文字をフォントの文字で置き換えても良いですか？")));
    QCOMPARE(m_prompt.messages(), QStringList());
    QVERIFY(f.said().contains(QFileInfo(bdf).absoluteFilePath()));
    QCOMPARE(glyphSize(), size);
    QCOMPARE(f.LabelDotY->text(), QString::number(size.height()));
    QCOMPARE(f.LabelDotX->text(), QString::number(size.width()));
    // Each written glyph in its cell at the glyph size, the rest of the cell and every other
    // cell as they were.
    const auto importedAsStored = [&] {
        for (int code : codes) {
            const bool written = unicode(code) != 0 && code != 0x8790;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (f.store().pixel(code, {x, y}) !=
                        (written && x < size.width() && y < size.height() ? stored : cleared)
                            .pixel(code, {x, y}))
                        return QStringLiteral("%1 at %2, %3").arg(code, 0, 16).arg(x).arg(y);
        }
        return QString();
    };
    QCOMPARE(importedAsStored(), QString());
    QCOMPARE(f.PictureBuf->image(), f.store().page(0));

    // One step of the history, of every page it wrote.
    QCOMPARE(f.history().count(), 1);
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo import font"));
    f.mnuundo->trigger();
    for (int page : f.store().pages())
        QCOMPARE(f.store().page(page), cleared.page(page));
    QCOMPARE(f.PictureBuf->image(), cleared.page(0));
    f.mnuredo->trigger();
    QCOMPARE(importedAsStored(), QString());
}

void TestForm1Bdf::outsideFont_data()
{
    QTest::addColumn<QString>("file"); // outside.bdf, or the PCF bdftopcf makes of it
    QTest::addColumn<FakeTTEdit::Kind>("kind");
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QList<int>>("points"); // of A, g, comma, ^, space, W, then one more
    QTest::addColumn<QList<int>>("codes");  // where they go in the store, -1 nowhere
    QTest::addColumn<int>("unheld");        // glyphs of codes the kind does not hold

    const QList<int> ascii{'A', 'g', ',', '^', ' ', 'W'};
    const QList<int> fullWidth{0x2341, 0x2367, 0x2124, 0x2130, 0x2121, 0x2357};
    QList<int> jisCodes;
    for (int point : fullWidth)
        jisCodes.append(Cp932::fromJis(point));
    const auto w = FakeTTEdit::Kind::Western;
    const auto j = FakeTTEdit::Kind::Japanese;
    // A Unicode font is read as the font's kind; other fonts' code points say the kind.
    const QList<std::tuple<const char*, FakeTTEdit::Kind, QByteArray, QList<int>, QList<int>, int>>
        rows{
            {"ISO8859-1: é", w, "ISO8859-1", ascii + QList<int>{0xE9}, ascii + QList<int>{0xE9}, 2},
            {"JISX0201: ｱ", j, "JISX0201.1976-0", ascii + QList<int>{0xB1},
             ascii + QList<int>{0xB1}, 2},
            {"Unicode, Western: euro sign", w, "ISO10646-1", ascii + QList<int>{0x20AC},
             ascii + QList<int>{0x80}, 2},
            {"Unicode, Western: ｱ", w, "ISO10646-1", ascii + QList<int>{0xFF71},
             ascii + QList<int>{-1}, 3},
            {"Unicode, Japanese: ｱ", j, "ISO10646-1", ascii + QList<int>{0xFF71},
             ascii + QList<int>{0xB1}, 2},
            {"Unicode, Japanese: é", j, "ISO10646-1", ascii + QList<int>{0xE9},
             ascii + QList<int>{-1}, 3},
            {"JISX0208: あ", j, "JISX0208.1983-0", fullWidth + QList<int>{0x2422},
             jisCodes + QList<int>{0x82A0}, 2},
            {"JISX0208 into a Western font: §", w, "JISX0208.1990-0",
             fullWidth + QList<int>{0x2178}, QList<int>(6, -1) + QList<int>{0xA7}, 8},
        };
    for (const auto& [name, kind, registry, points, codes, unheld] : rows) {
        for (const char* file : {"outside.bdf", "outside.pcf", "outside.pcf.gz"})
            QTest::addRow("%s, %s", name, file)
                << QString::fromLatin1(file) << kind << registry << points << codes << unheld;
    }
}

void TestForm1Bdf::outsideFont()
{
    QFETCH(QString, file);
    QFETCH(FakeTTEdit::Kind, kind);
    QFETCH(QByteArray, registry);
    QFETCH(QList<int>, points);
    QFETCH(QList<int>, codes);
    QFETCH(int, unheld);
    Form1& f = start(kind);
    const QList<QList<QByteArray>> pictures{
        {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},
        {".####", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."},
        {".#", ".#", "#."},
        {".#.", "#.#"},
        {},
        // Wider than the box: its last column is cut.
        {"#........#", ".#......#.", "..#....#..", "...#..#..."},
        {"###", "#..", "##.", "#..", "###"},
    };
    const QList<QPoint> offsets{{0, 0}, {0, -3}, {-1, -2}, {1, 7}, {0, 0}, {-1, 0}, {0, 1}};
    QList<OutsideGlyph> glyphs;
    for (int i = 0; i < 7; ++i)
        glyphs.append({points[i], offsets[i].x(), offsets[i].y(), pictures[i]});
    // No code of a font here: passed over, and counted where the font maps them.
    glyphs += {{-1, 0, 0, {"#"}}, {10, 0, 0, {"#"}}, {300, 0, 0, {"#"}}};
    QVERIFY(writeFile(QStringLiteral("outside.bdf"), outsideBdf(registry, glyphs)));
    QVERIFY(run(QStringLiteral("bdftopcf -o outside.pcf outside.bdf && gzip -nkf outside.pcf")));
    GlyphStore before;
    before.setPage(0, f.store().page(0));
    m_prompt.answer({true});
    QVERIFY(f.importFont(file));
    // A BDF font's box is its FONTBOUNDINGBOX, which the wide glyph overreaches; bdftopcf makes
    // the box of a PCF font hold every glyph.
    const bool cut = file == u"outside.bdf" && codes[5] >= 0;
    const QSize size(file == u"outside.bdf" ? 8 : 10, 12);
    QCOMPARE(glyphSize(), size);
    const QString kindName =
        kind == FakeTTEdit::Kind::Western ? QStringLiteral("欧文") : QStringLiteral("日本語");
    QCOMPARE(m_prompt.messages(),
             QStringList{(cut ? QStringLiteral("1 文字がグリフの大きさ（8 × 12 ドット）に収まら"
                                               "ないため、はみ出したドットを切り取りました\n")
                              : QString()) +
                         QStringLiteral("%1 文字は%2フォントのコードにない文字のため、読み込みませ"
                                        "んでした")
                             .arg(unheld)
                             .arg(kindName)});

    // Each glyph where FreeType puts it: the cell's top row on the ascent line, its left
    // column on the box's x offset.
    const GlyphStore& store = f.store();
    for (int i = 0; i < 7; ++i) {
        if (codes[i] < 0)
            continue;
        QString error;
        const QList<QString> expected = FontCheck::bitmapCell(
            QStringLiteral("outside.bdf"), points[i], QPoint(-1, 9), size, &error);
        QVERIFY2(!expected.isEmpty(), qPrintable(error));
        const QString difference =
            FontCheck::firstDifference(cellPicture(store, codes[i], size), expected);
        QVERIFY2(difference.isEmpty(), qPrintable(QString::number(codes[i]) + u' ' + difference));
    }
    // The comma hangs below the baseline, between rows 8 and 9.
    if (codes[2] >= 0)
        QCOMPARE(cellPicture(store, codes[2], QSize(2, 12)).mid(7, 4),
                 (QList<QString>{"..", ".#", ".#", "#."}));
    // The rest of an imported cell, and every cell of a code the font lacks, as it was.
    for (int c : {codes[0], int('B'), 10, 127, 0xE9, 0xB1}) {
        const QRect glyph(QPoint(0, 0), size);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (!codes.contains(c) || !glyph.contains(x, y))
                    QCOMPARE(store.pixel(c, {x, y}), before.pixel(c, {x, y}));
    }
}

void TestForm1Bdf::pixelFont()
{
    // A pixel font as the server builds it, of square dots: read at its own size, its strike's,
    // every dot is a pixel again.
    Form1& f = start(FakeTTEdit::Kind::Western);
    const QImage table = HeadlessBuild::randomTable(7, 12, 20);
    QVERIFY(TableFile::write(table, QStringLiteral("pixels.bmp")));
    const HeadlessBuild::Result built = HeadlessBuild::run(
        {"--build", "pixels.bmp", "--dots", "12x20", "--square", "-o", "pixels.ttf"});
    QVERIFY2(built.status == 0, qPrintable(built.err));
    m_prompt.answer({true});
    QVERIFY(f.importFont(QStringLiteral("pixels.ttf")));
    QCOMPARE(glyphSize(), QSize(12, 20));
    QCOMPARE(m_prompt.messages(), QStringList());
    GlyphStore expected;
    expected.setPage(0, table);
    for (int code = 32; code < 256; ++code) {
        if (code != 127)
            QCOMPARE(cellPicture(f.store(), code, QSize(12, 20)),
                     cellPicture(expected, code, QSize(12, 20)));
    }
}

void TestForm1Bdf::badInput_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QString>("message");

    const QByteArray good = "STARTFONT 2.1\nFONT -Misc-Good-Medium-R-Normal--2-20-75-75-C-90-\n"
                            "SIZE 2 75 75\nFONTBOUNDINGBOX 9 2 0 0\n"
                            "STARTPROPERTIES 1\nFONT_ASCENT 2\nENDPROPERTIES\nCHARS 2\n"
                            "STARTCHAR a\nENCODING 97\nBBX 9 2 0 0\nBITMAP\nFF80\n8080\nENDCHAR\n"
                            "STARTCHAR b\nENCODING 98\nBBX 2 1 0 0\nBITMAP\nC0\nENDCHAR\n"
                            "ENDFONT\n";
    const auto edited = [&good](const char* from, const char* to) {
        return QByteArray(good).replace(from, to);
    };
    QTest::newRow("no file") << QByteArray() << "No such file or directory";
    QTest::newRow("a FIFO, never opened") << QByteArray("<fifo>") << "FIFO";
    QTest::newRow("not a font") << QByteArray("\x01"
                                              "fcp binary")
                                << "not a font that FreeType reads";
    QTest::newRow("cut in a glyph") << good.left(good.indexOf("8080")) << "before ENDCHAR";
    QTest::newRow("no ENDFONT") << good.chopped(8) << "ends after line 21, before ENDFONT";
    QTest::newRow("no box") << edited("FONTBOUNDINGBOX", "COMMENT") << "no FONTBOUNDINGBOX";
    QTest::newRow("absurd box") << edited("9 2 0 0", "99999 2 0 0") << "line 4: FONTBOUNDINGBOX";
    QTest::newRow("BBX of 257") << edited("BBX 2 1", "BBX 257 1") << "line 18: BBX needs";
    QTest::newRow("not hexadecimal")
        << edited("C0\n", "G0\n") << "line 20: a BITMAP row that is not hexadecimal";
    QTest::newRow("row too narrow") << edited("FF80", "FF") << "narrower than its BBX";
    QTest::newRow("a row short") << edited("C0\n", "") << "BBX says 1 rows, BITMAP holds 0";
    QTest::newRow("a row more") << edited("C0\n", "C0\nC0\n") << "BITMAP holds more";
    QTest::newRow("ten million glyphs")
        << edited("CHARS 2", "CHARS 10000000") << "10000000 glyphs are more than the 65536";
    QTest::newRow("more glyphs than CHARS") << edited("CHARS 2", "CHARS 1") << "holds more";
    QTest::newRow("fewer") << edited("CHARS 2", "CHARS 3")
                           << "CHARS says 3 glyphs, the file holds 2";
    QTest::newRow("properties") << edited("PROPERTIES 1", "PROPERTIES 2") << "says 2 properties";
    QTest::newRow("17 MB") << good + "COMMENT " + QByteArray(17 << 20, 'x')
                           << "the file is larger than 16 MB";
    QTest::newRow("no code of the font's kind")
        << edited("ENCODING 9", "ENCODING 30")
        << "フォントに欧文フォントのコードの文字がありません";
    // Beyond BDF: what FreeType refuses, gzip that does not unpack, registries not read.
    QTest::newRow("BDF without SIZE")
        << edited("SIZE 2 75 75\n", "") << "not a font that FreeType reads";
    QTest::newRow("gzip damaged") << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03xyz", 13)
                                  << "the gzip data";
    QTest::newRow("TrueType cut short")
        << QByteArray("\0\1\0\0\0\x0a\0\x80", 8) << "not a font that FreeType reads";
    QTest::newRow("KOI8-R") << edited("STARTPROPERTIES 1\n",
                                      "STARTPROPERTIES 3\nCHARSET_REGISTRY \"KOI8\"\n"
                                      "CHARSET_ENCODING \"R\"\n")
                            << "registry KOI8-R is none of those";
}

void TestForm1Bdf::badInput()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    Form1& f = start(FakeTTEdit::Kind::Western);
    if (file == "<fifo>")
        QCOMPARE(mkfifo("bad.bdf", 0600), 0);
    else
        QVERIFY(file.isNull() || writeFile(QStringLiteral("bad.bdf"), file));

    QVERIFY(!f.importFont(QStringLiteral("bad.bdf")));
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY2(m_prompt.messages().first().contains(message),
             qPrintable(m_prompt.messages().first()));
    QVERIFY(m_prompt.questions().isEmpty());
    QCOMPARE(f.PictureBuf->image(), SampleTable::make());
    QCOMPARE(glyphSize(), QSize(12, 20));
    QCOMPARE(f.history().count(), 0);
}

QTEST_MAIN(TestForm1Bdf)
#include "tst_form1bdf.moc"

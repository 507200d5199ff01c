#include "chartable/CharTable.h"
#include "chartable/TableHistory.h"
#include "codes/Cp1252.h"
#include "common/FontCheck.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
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

QList<QString> cellPicture(const QImage& table, int code, QSize size)
{
    QList<QString> rows;
    const QPoint cell = CharTable::cellOrigin(code);
    for (int y = 0; y < size.height(); ++y) {
        QString row;
        for (int x = 0; x < size.width(); ++x)
            row += CharTable::isSet(table, cell + QPoint(x, y)) ? u'#' : u'.';
        rows.append(row);
    }
    return rows;
}

bool writeFile(const QString& name, const QByteArray& data)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
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
    f.SliderDotX->setValue(size.width());
    f.SliderDotY->setValue(size.height());
    const QImage table = f.PictureBuf->image().copy();
    // Where no file can be, a message says why.
    QVERIFY(!f.exportBdf(QStringLiteral("nowhere/") + bdf));
    QCOMPARE(m_prompt.messages().value(0).split(u'\n').first(),
             QStringLiteral("BDFフォントを書き出せませんでした"));
    QVERIFY(m_prompt.messages().value(0).endsWith(QStringLiteral("No such file or directory")));
    QVERIFY(f.exportBdf(bdf));
    QVERIFY(f.said().contains(QFileInfo(bdf).absoluteFilePath()));

    // X11's compiler takes it as it is, and FreeType reads both files as the table's glyphs on
    // one baseline at the glyph size.
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
        for (int code = 32; code < 256; ++code) {
            // A Western font is Unicode: 0x80 is the euro sign, no control character.
            const int character =
                kind == FakeTTEdit::Kind::Western ? int(Cp1252::toUnicode(code)) : code;
            const QList<QString> glyph =
                FontCheck::bitmapCell(font, character, QPoint(0, ascent), size, &error);
            QVERIFY2(code == 127 ? glyph.isEmpty() : glyph == cellPicture(table, code, size),
                     qPrintable(font + u' ' + QString::number(code) + u' ' + error));
        }
    }

    // Back into a blank table: nothing without a Yes; then the same glyphs at the same size.
    CharTable::clearAll(f.store().pageForWrite(0));
    const QImage cleared = f.store().page(0).copy();
    QImage glyphs = cleared.copy();
    for (int code = 32; code < 256; ++code) {
        const QRect glyph(CharTable::cellOrigin(code), size);
        if (code != 127)
            QPainter(&glyphs).drawImage(glyph.topLeft(), table.copy(glyph));
    }
    f.SliderDotX->setValue(20);
    f.SliderDotY->setValue(7);
    m_prompt.answer({false, true});
    QVERIFY(!f.importBdf(bdf));
    QCOMPARE(f.store().page(0), cleared);
    QCOMPARE(glyphSize(), QSize(20, 7));
    QVERIFY(f.importBdf(bdf));
    QVERIFY(f.said().contains(QFileInfo(bdf).absoluteFilePath()) && f.said().contains(u" 223 "));
    QCOMPARE(
        m_prompt.questions(),
        QStringList(
            2, QStringLiteral("キャラクタテーブルをBDFフォントの文字で置き換えても良いですか？")));
    QCOMPARE(f.PictureBuf->image(), glyphs);
    QCOMPARE(glyphSize(), size);
    QCOMPARE(f.LabelDotY->text(), QString::number(size.height()));
    QCOMPARE(f.LabelDotX->text(), QString::number(size.width()));

    // One step of the history, of the table only.
    QCOMPARE(f.history().count(), 1);
    QCOMPARE(f.mnuundo->text(), QStringLiteral("undo import BDF"));
    f.mnuundo->trigger();
    QCOMPARE(f.PictureBuf->image(), cleared);
    f.mnuredo->trigger();
    QCOMPARE(f.PictureBuf->image(), glyphs);
}

void TestForm1Bdf::outsideFont_data()
{
    QTest::addColumn<FakeTTEdit::Kind>("kind");
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<int>("encoding"); // of a glyph beyond ASCII
    QTest::addColumn<int>("code");     // where it goes in the table, -1 nowhere

    // A Unicode font is read as the table's charset; other fonts' encodings are the codes.
    QTest::newRow("ISO8859-1: é") << FakeTTEdit::Kind::Western << QByteArray("ISO8859-1") << 0xE9
                                  << 0xE9;
    QTest::newRow("JISX0201: ｱ") << FakeTTEdit::Kind::Japanese << QByteArray("JISX0201.1976-0")
                                 << 0xB1 << 0xB1;
    QTest::newRow("Unicode, Western: é")
        << FakeTTEdit::Kind::Western << QByteArray("ISO10646-1") << 0xE9 << 0xE9;
    QTest::newRow("Unicode, Western: euro sign")
        << FakeTTEdit::Kind::Western << QByteArray("ISO10646-1") << 0x20AC << 0x80;
    QTest::newRow("Unicode, Western: ｱ")
        << FakeTTEdit::Kind::Western << QByteArray("ISO10646-1") << 0xFF71 << -1;
    QTest::newRow("Unicode, Japanese: ｱ")
        << FakeTTEdit::Kind::Japanese << QByteArray("ISO10646-1") << 0xFF71 << 0xB1;
    QTest::newRow("Unicode, Japanese: é")
        << FakeTTEdit::Kind::Japanese << QByteArray("ISO10646-1") << 0xE9 << -1;
}

void TestForm1Bdf::outsideFont()
{
    QFETCH(FakeTTEdit::Kind, kind);
    QFETCH(QByteArray, registry);
    QFETCH(int, encoding);
    QFETCH(int, code);
    Form1& f = start(kind);
    const QList<OutsideGlyph> glyphs{
        {'A', 0, 0, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'g', 0, -3, {".####", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}},
        {',', -1, -2, {".#", ".#", "#."}},
        {'^', 1, 6, {".#.", "#.#"}},
        {' ', 0, 0, {}},
        // Wider than the box: its last column is cut.
        {'W', -1, 0, {"#........#", ".#......#.", "..#....#..", "...#..#..."}},
        {encoding, 0, 1, {"###", "#..", "##.", "#..", "###"}},
        // Not in the table: passed over.
        {-1, 0, 0, {"#"}},
        {10, 0, 0, {"#"}},
        {300, 0, 0, {"#"}},
    };
    QVERIFY(writeFile(QStringLiteral("outside.bdf"), outsideBdf(registry, glyphs)));
    const QImage before = f.PictureBuf->image().copy();
    m_prompt.answer({true});
    QVERIFY(f.importBdf(QStringLiteral("outside.bdf")));
    QCOMPARE(glyphSize(), QSize(8, 12));
    QCOMPARE(m_prompt.messages(),
             QStringList{QStringLiteral("1 文字がグリフの大きさ（8 × 12 ドット）に収まらないため、"
                                        "はみ出したドットを切り取りました")});

    // Each glyph where FreeType puts it: the cell's top row on the ascent line, its left
    // column on the box's x offset.
    const QImage& table = f.PictureBuf->image();
    QList<int> imported{'A', 'g', ',', '^', ' ', 'W'};
    if (code >= 0)
        imported.append(code);
    for (int c : imported) {
        QString error;
        const int fontCode = c == code ? encoding : c;
        const QList<QString> expected = FontCheck::bitmapCell(
            QStringLiteral("outside.bdf"), fontCode, QPoint(-1, 9), QSize(8, 12), &error);
        QVERIFY2(!expected.isEmpty(), qPrintable(error));
        const QString difference =
            FontCheck::firstDifference(cellPicture(table, c, QSize(8, 12)), expected);
        QVERIFY2(difference.isEmpty(), qPrintable(QString::number(c) + u' ' + difference));
    }
    // The comma hangs below the baseline, between rows 8 and 9.
    QCOMPARE(cellPicture(table, ',', QSize(2, 12)).mid(7, 4),
             (QList<QString>{"..", ".#", ".#", "#."}));
    // The rest of an imported cell, and every cell of a code the font lacks, as it was.
    for (int c : {int('A'), int('B'), 10, 127, 0xE9, 0xB1}) {
        const QRect cell(CharTable::cellOrigin(c), QSize(32, 32));
        const QRect glyph(cell.topLeft(), QSize(8, 12));
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (!imported.contains(c) || !glyph.contains(x, y))
                    QCOMPARE(table.pixel(x, y), before.pixel(x, y));
    }
}

void TestForm1Bdf::badInput_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QString>("message");

    const QByteArray good = "STARTFONT 2.1\nFONTBOUNDINGBOX 9 2 0 0\n"
                            "STARTPROPERTIES 1\nFONT_ASCENT 2\nENDPROPERTIES\nCHARS 2\n"
                            "STARTCHAR a\nENCODING 97\nBBX 9 2 0 0\nBITMAP\nFF80\n8080\nENDCHAR\n"
                            "STARTCHAR b\nENCODING 98\nBBX 2 1 0 0\nBITMAP\nC0\nENDCHAR\n"
                            "ENDFONT\n";
    const auto edited = [&good](const char* from, const char* to) {
        return QByteArray(good).replace(from, to);
    };
    QTest::newRow("no file") << QByteArray() << "No such file or directory";
    QTest::newRow("a FIFO, never opened") << QByteArray("<fifo>") << "not a regular file";
    QTest::newRow("not BDF") << QByteArray("\x01"
                                           "fcp binary")
                             << "not a BDF font (no STARTFONT)";
    QTest::newRow("cut in a glyph") << good.left(good.indexOf("8080")) << "before ENDCHAR";
    QTest::newRow("no ENDFONT") << good.chopped(8) << "ends after line 19, before ENDFONT";
    QTest::newRow("no box") << edited("FONTBOUNDINGBOX", "COMMENT") << "no FONTBOUNDINGBOX";
    QTest::newRow("absurd box") << edited("9 2 0 0", "99999 2 0 0") << "line 2: FONTBOUNDINGBOX";
    QTest::newRow("BBX of 257") << edited("BBX 2 1", "BBX 257 1") << "line 16: BBX needs";
    QTest::newRow("not hexadecimal")
        << edited("C0\n", "G0\n") << "line 18: a BITMAP row that is not hexadecimal";
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
    QTest::newRow("no code 32..255")
        << edited("ENCODING 9", "ENCODING 30") << "BDFフォントに文字コード20～FFの文字がありません";
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

    QVERIFY(!f.importBdf(QStringLiteral("bad.bdf")));
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

// The headless build against the editor's own way to the same font: the window's batch run
// over 32..255, or its send-all with double-byte pages, exports a table to the real
// pointillo-fontd, which saves the font; pointillo-fontd --build makes a font of the same table
// file and the page files beside it.  The two hold the same glyphs: table for table, and read
// by FreeType, dot for dot.

#include "app/Form1.h"
#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "common/FontCheck.h"
#include "common/Form1Fixture.h"
#include "common/HeadlessBuild.h"
#include "common/ScriptedPrompt.h"
#include "common/TestFontServer.h"
#include "dots/DotBoxes.h"
#include "dots/DotGrid.h"
#include "fontd/TableBuild.h"
#include "ttedit/DBusAutomationHost.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDir>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

class TestForm1Build : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameFontAsTheExports_data();
    void sameFontAsTheExports();
};

void TestForm1Build::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
}

void TestForm1Build::sameFontAsTheExports_data()
{
    QTest::addColumn<int>("kind"); // as NewFile takes it
    QTest::addColumn<int>("dotsX");
    QTest::addColumn<int>("dotsY");
    QTest::addColumn<bool>("square");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("lsb"); // as typed into the boxes; empty: SetSB off
    QTest::addColumn<QString>("rsb");
    QTest::addColumn<bool>("colours"); // near-black and grey pixels: a 24-bit table file
    QTest::addColumn<bool>("pages");   // double-byte glyphs too, and Edit > send all glyphs
    QTest::newRow("Western, oblong dots, bearings") << 1 << 13 << 17 << false << 70 << "20.5"
                                                    << "-6" << false << false;
    QTest::newRow("Japanese, square dots, colours") << 0 << 12 << 20 << true << 100 << ""
                                                    << "" << true << false;
    QTest::newRow("Japanese, pages, send all") << 0 << 16 << 16 << false << 80 << "10"
                                               << "10" << false << true;
    QTest::newRow("Western, square dots, bearings") << 1 << 16 << 16 << true << 100 << "70"
                                                    << "-24" << false << false;
}

void TestForm1Build::sameFontAsTheExports()
{
    QFETCH(int, kind);
    QFETCH(int, dotsX);
    QFETCH(int, dotsY);
    QFETCH(bool, square);
    QFETCH(int, size);
    QFETCH(QString, lsb);
    QFETCH(QString, rsb);
    QFETCH(bool, colours);
    QFETCH(bool, pages);
    QVERIFY(TestFontServer::stop());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString tableFile = dir.filePath(QStringLiteral("ptl_buf.bmp"));
    QImage table = HeadlessBuild::randomTable(quint32(kind + 7), 32, 32);
    for (int code = 32; colours && code < 256; code += 3) {
        const QPoint cell = CharTable::cellOrigin(code);
        CharTable::setPixel(table, cell + QPoint(code % 12, 1), qRgb(0, 0, 1));
        CharTable::setPixel(table, cell + QPoint(1, code % 20), qRgb(128, 128, 128));
    }
    QVERIFY(TableFile::write(table, tableFile));

    // The server with a new font, then the editor: its table loaded, its controls set as a
    // user sets them.
    DBusAutomationHost host;
    const AutomationPtr app = host.createObject(TestFontServer::progId());
    QVERIFY(app);
    QVERIFY(app->call(QStringLiteral("NewFile"), {QVariant::fromValue(qint16(kind)), true}));
    ScriptedPrompt prompt;
    Form1 f(&prompt);
    f.dotsFileName = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    Form1Fixture::showAtOrigin(f);
    QVERIFY(f.loadTable(tableFile));
    f.SliderDotX->setValue(dotsX);
    f.SliderDotY->setValue(dotsY);
    f.CheckSquare->setChecked(square);
    f.SliderDotX_Scroll();
    f.SliderSize->setValue(size);
    f.SliderSize_Scroll();
    f.CheckSB->setChecked(!lsb.isEmpty());
    f.TextLSB->setText(lsb);
    f.TextRSB->setText(rsb);

    QList<int> codes =
        TableBuild::codes(kind == 1 ? FontDocument::Western : FontDocument::Japanese);
    if (pages) {
        // Glyphs on three pages, saved beside the table; every stored glyph is sent, and the
        // single-byte codes the font lacks are passed over unasked.
        QRandomGenerator random(21);
        for (int code : {0x829F, 0x82A0, 0x82F1, 0x889F, 0x9872, 0xEAA4}) {
            for (int dot = 0; dot < dotsX * dotsY; ++dot)
                if (dot == 0 || random.bounded(100) < 45)
                    f.store().setPixel(code, QPoint(dot % dotsX, dot / dotsX),
                                       CharTable::SetColour);
            codes.append(code);
        }
        f.store().setPixel(0x8140, QPoint(dotsX, 0), CharTable::SetColour); // beyond the glyph
        f.TextBufFileName->setText(tableFile);
        QVERIFY(f.saveTable());
        QCOMPARE(f.sendAllGlyphs(), codes.size());
        QCOMPARE(prompt.messages().size(), 0);
    } else {
        // A.Scan over 32..255: the codes the font lacks are skipped and told once at the end.
        f.startchar = 32;
        f.endchar = 255;
        QCOMPARE(f.scanRange(), codes.size());
        QCOMPARE(prompt.messages().size(), kind == 1 ? 0 : 1);
    }
    QCOMPARE(prompt.questions(), QStringList());
    QList<int> sent;
    for (const QVariant& code : f.ttDoc->call(QStringLiteral("GlyphCodes"))->toList())
        sent.append(code.toInt());
    QCOMPARE(sent, codes);
    const QString exported = dir.filePath(QStringLiteral("Same.ttf"));
    QVERIFY(f.ttDoc->call(QStringLiteral("SaveAs"), {exported}));

    // The same table, built without the editor, the server or a bus.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("built")));
    const QString built = dir.filePath(QStringLiteral("built/Same.ttf"));
    QStringList arguments{"--build", tableFile,
                          "--dots",  QStringLiteral("%1x%2").arg(dotsX).arg(dotsY),
                          "--size",  QString::number(size),
                          "--kind",  kind == 1 ? "western" : "japanese",
                          "-o",      built};
    if (square)
        arguments << "--square";
    if (!lsb.isEmpty())
        arguments << "--lsb" << lsb << "--rsb" << rsb;
    const HeadlessBuild::Result r = HeadlessBuild::run(arguments);
    QVERIFY2(r.status == 0, qPrintable(r.err));

    // Every table alike; head but for its dates and the checksum over the whole file.
    for (const char* tag : {"EBDT", "EBLC", "OS/2", "cmap", "gasp", "glyf", "hhea", "hmtx", "loca",
                            "maxp", "name", "post"})
        QVERIFY2(FontCheck::table(built, tag) == FontCheck::table(exported, tag), tag);
    QByteArray headBuilt = FontCheck::table(built, "head");
    QByteArray headExported = FontCheck::table(exported, "head");
    QCOMPARE(headBuilt.size(), 54);
    for (QByteArray* head : {&headBuilt, &headExported}) {
        head->replace(8, 4, QByteArray(4, '\0'));
        head->replace(20, 16, QByteArray(16, '\0'));
    }
    QCOMPARE(headBuilt, headExported);

    const GridGeometry grid = GridGeometry::compute(dotsX, dotsY, square);
    const QSize box = DotBoxes::boxSize(grid, size);
    const std::optional<DotGrid> dotGrid = DotGrid::of(dotsX, dotsY, square);
    QString error;
    QMap<int, int> setDots;
    for (int code : codes) {
        const InkMask cell = CharTable::dots(table, CharTable::cellOrigin(code), {dotsX, dotsY});
        const QList<QString> sent = cell.toText();
        setDots[code] = int(sent.join(QString()).count(u'#'));
        QList<QString> dots[2];
        for (int i = 0; i < 2; ++i) {
            dots[i] = FontCheck::rasterDots(
                i ? built : exported, code, grid.ofsX() + box.width() / 2.0,
                grid.ofsY() + box.height() / 2.0, grid.nX(), grid.nY(), dotsX, dotsY, &error,
                FontCheck::CharMap::Auto, DotGrid::canvasOrigin(dotGrid));
            QVERIFY2(!dots[i].isEmpty(), qPrintable(error));
        }
        // Without bearings the ink stays where the dots were drawn.
        QVERIFY2(dots[0] == dots[1] && (!lsb.isEmpty() || dots[0] == sent),
                 qPrintable(QStringLiteral("code %1").arg(code)));
    }
    // Square dots: crisp at the native size, the exported font as the built one.
    if (dotGrid)
        QVERIFY2(FontCheck::crispFault(exported, setDots, dotsY).isEmpty(),
                 qPrintable(FontCheck::crispFault(exported, setDots, dotsY)));
}

QTEST_MAIN(TestForm1Build)
#include "tst_form1build.moc"

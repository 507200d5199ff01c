// The editor window against the real pointillo-fontd on a private session bus: the set-up and
// its questions, the code boxes and the stepping, glyphs painted with the mouse or a whole
// table of them sent by the batch run, exported, saved and read back from the font by FreeType
// and ots-sanitize.

#include "app/DialogScanAll.h"
#include "app/Form1.h"
#include "app/SettingsTable.h"
#include "chartable/CharTable.h"
#include "chartable/PreviewWindow.h"
#include "common/FontCheck.h"
#include "common/Form1Fixture.h"
#include "common/ScriptedPrompt.h"
#include "common/TestFontServer.h"
#include "dots/DotGrid.h"
#include "dots/GlyphSpacing.h"
#include "editor/DotCanvas.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"

#include <QAction>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <csignal>

namespace {

const QString progId = QStringLiteral("TTEdit.Application");

const QString noFont =
    QStringLiteral("フォントファイルが開かれていません。新規作成しますか？\r\r新規作成する場合は "
                   "Yes(はい)、既存のファイルを開く場合は、自分で開いた後に No(いいえ)を押してく"
                   "ださい。");
const QString whichKind =
    QStringLiteral("欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。");
const QString cannotCreate = QStringLiteral("フォントファイルを新規作成できませんでした");
const QString refused33 = QStringLiteral("TTEditは文字コード 21 の文字を受け付けませんでした");
const QString noGlyphs = QStringLiteral("フォントに送るグリフがありません");
const QString noCell =
    QStringLiteral("この文字コードはキャラクタテーブルにありません。TTEditの文字は"
                   "空のグリフで置き換えられます。よろしいですか？");

QVariant i16(int v)
{
    return QVariant::fromValue(qint16(v));
}

// The font's current code as the editor reads it, or -1.
int currentCode(const AutomationPtr& doc)
{
    const std::optional<QVariant> code = doc->call(QStringLiteral("getcode"), {i16(0), false});
    return code ? (code->toInt() < 0 ? code->toInt() + 65536 : code->toInt()) : -1;
}

// One glyph painted and exported: the grid, the dot box size and the dots.
struct Glyph
{
    int code;
    int dotsX, dotsY;
    bool square;
    int size;
    QPoint pitch, offset; // of the grid, as the geometry table gives them
    QSize box;            // of one exported dot
    QList<QPoint> clicks; // dots set one click each
    int dragRow;          // a row painted by one drag across it, -1 for none
    int lsb = 0, rsb = 0; // side bearings in font units when sideBearings
    bool sideBearings = false;

    QList<QPoint> dots() const
    {
        QList<QPoint> all = clicks;
        if (dragRow >= 0)
            for (int x = 0; x < dotsX; ++x)
                all << QPoint(x, dragRow);
        return all;
    }

    // The export's picture as '#' and '.' rows: every dot a box from its cell's top-left.
    QStringList picture(int shiftX = 0) const
    {
        QStringList rows(482, QString(482, QLatin1Char('.')));
        for (QPoint d : dots()) {
            const QRect r(offset.x() + d.x() * pitch.x() + shiftX, offset.y() + d.y() * pitch.y(),
                          box.width(), box.height());
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (x >= 0 && x < 482 && y >= 0 && y < 482)
                        rows[y][x] = QLatin1Char('#');
        }
        return rows;
    }

    std::pair<int, int> inkColumns() const
    {
        int first = 482, last = -1;
        const QStringList rows = picture();
        for (const QString& row : rows) {
            const qsizetype a = row.indexOf(QLatin1Char('#'));
            if (a >= 0) {
                first = std::min<int>(first, int(a));
                last = std::max<int>(last, int(row.lastIndexOf(QLatin1Char('#'))));
            }
        }
        return {first, last};
    }
};

// The session bus's font server, which cannot be started again once startable is cleared.
class NoRestartHost : public DBusAutomationHost
{
public:
    bool startable = true;
    AutomationPtr createObject(const QString& id) override
    {
        return startable ? DBusAutomationHost::createObject(id) : AutomationPtr();
    }
};

} // namespace

class TestForm1Fontd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void probeFindsTheKind_data();
    void probeFindsTheKind();
    void questionTextsReachThePrompt();
    void fontOpenedAtTheQuestion();
    void typedCodeTheFontLacksIsRefused_data();
    void typedCodeTheFontLacksIsRefused();
    void nextAndPrevStepAndStop();
    void doubleByteStep();
    void killedServerIsStartedAgain();
    void paintedGlyphsReachTheFont();
    void codeWithoutCellEmptiesTheGlyph_data();
    void codeWithoutCellEmptiesTheGlyph();
    void lostFocusInsideTheQuestion_data();
    void lostFocusInsideTheQuestion();
    void refusedGlyphIsTold_data();
    void refusedGlyphIsTold();
    void batchSendsTheWholeTable();
    void exportAfterLoadAndReset();
    void sendAllSendsTheStoredGlyphs();
    void statusBarTellsWhatHappened();

private:
    // A running server with a new font of kind (1 Western, 0 Japanese); its document object.
    AutomationPtr newFont(int kind);
    // The editor attached to the font that is open, boxes drawn; calls and texts cleared.
    void attach();
    QPoint dotCentre(int x, int y) const;
    void paint(const Glyph& glyph);
    // A glyph with a dot at pixel (100, 100) in the font at code, imported by the test; true
    // when the font, saved, has it there still.
    void seedGlyph(const AutomationPtr& doc, int code);
    bool seedKept(const AutomationPtr& doc, int code);
    // Types text over the code box's selected content, as the user does.
    void typeInCodeBox(const QString& text);
    void typeCode(int code) { typeInCodeBox(QString::number(code, 16)); }

    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<Form1> m_form;
    AutomationPtr m_app; // the test's own handle on the server
};

void TestForm1Fontd::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    QVERIFY2(QFileInfo(TestFontServer::program()).isExecutable(),
             qPrintable(TestFontServer::program() + " is not built"));
    QVERIFY(m_dir.isValid());
}

// Every test starts with no font server on the bus.
void TestForm1Fontd::init()
{
    QVERIFY(TestFontServer::stop());
    m_prompt.clear();
    m_form = std::make_unique<Form1>(&m_prompt);
    m_form->dotsFileName = m_dir.filePath(QStringLiteral("ptl_dots.bmp"));
    Form1Fixture::showAtOrigin(*m_form);
}

void TestForm1Fontd::cleanup()
{
    m_form.reset();
    m_app.reset();
}

void TestForm1Fontd::cleanupTestCase()
{
    init();
    cleanup();
}

AutomationPtr TestForm1Fontd::newFont(int kind)
{
    DBusAutomationHost host;
    m_app = host.createObject(progId);
    if (!m_app) {
        qWarning("no server: %s", qPrintable(host.lastError()));
        return {};
    }
    return AutomationObject::toObject(m_app->call(QStringLiteral("NewFile"), {i16(kind), true}));
}

void TestForm1Fontd::attach()
{
    m_form->drawGrid();
    m_prompt.clear();
}

QPoint TestForm1Fontd::dotCentre(int x, int y) const
{
    const Form1& f = *m_form;
    return QPoint(f.ofsX + f.nX * x + f.nX / 2, f.ofsY + f.nY * y + f.nY / 2);
}

void TestForm1Fontd::seedGlyph(const AutomationPtr& doc, int code)
{
    QImage canvas(482, 482, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    canvas.setPixel(100, 100, qRgb(0, 0, 0));
    const QString bmp = m_dir.filePath(QStringLiteral("seed.bmp"));
    QVERIFY(canvas.save(bmp, "BMP"));
    QVERIFY(doc->call(QStringLiteral("setcode"), {i16(0), code, false}));
    QVERIFY(doc->call(QStringLiteral("ImportBmpfile"), {bmp}));
}

bool TestForm1Fontd::seedKept(const AutomationPtr& doc, int code)
{
    const QString font = m_dir.filePath(QStringLiteral("seeded.ttf"));
    QString error;
    return doc->call(QStringLiteral("SaveAs"), {font}) &&
           FontCheck::rasterPixels(font, code, 482, 482, &error).value(100).mid(100, 1) == u"#";
}

void TestForm1Fontd::typeInCodeBox(const QString& text)
{
    Form1& f = *m_form;
    f.TextCode->setFocus();
    f.TextCode->selectAll();
    QTest::keyClicks(f.TextCode, text);
}

void TestForm1Fontd::paint(const Glyph& glyph)
{
    Form1& f = *m_form;
    for (QPoint d : glyph.clicks)
        QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, dotCentre(d.x(), d.y()));
    if (glyph.dragRow >= 0) {
        QTest::mousePress(f.PictureDOT, Qt::LeftButton, {}, dotCentre(0, glyph.dragRow));
        for (int x = 1; x < glyph.dotsX; ++x)
            QTest::mouseMove(f.PictureDOT, dotCentre(x, glyph.dragRow));
        QTest::mouseRelease(f.PictureDOT, Qt::LeftButton, {},
                            dotCentre(glyph.dotsX - 1, glyph.dragRow));
    }
}

void TestForm1Fontd::probeFindsTheKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fontKind");
    QTest::newRow("Western") << 1 << 1;
    QTest::newRow("Japanese") << 0 << 2;
}

void TestForm1Fontd::probeFindsTheKind()
{
    QFETCH(int, kind);
    QFETCH(int, fontKind);
    const AutomationPtr doc = newFont(kind);
    QVERIFY(doc);
    QVERIFY(doc->call(QStringLiteral("setcode"), {i16(0), 0x41, false}));
    Form1& f = *m_form;
    QVERIFY(f.SetupTTEdit(false));
    QVERIFY(m_prompt.shown().isEmpty());
    QCOMPARE(f.fontKind, fontKind);
    QVERIFY(!f.bAskSave);
    // The probe left the font where it found it.
    QCOMPARE(currentCode(doc), 0x41);
}

void TestForm1Fontd::questionTextsReachThePrompt()
{
    Form1& f = *m_form;
    // No server runs: the set-up starts one, which has no font.
    m_prompt.answer({false, true, false});
    f.char_ = 0x82A0;
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(m_prompt.questions(), (QStringList{noFont, noFont, whichKind}));
    for (const ScriptedPrompt::Shown& s : m_prompt.shown())
        QVERIFY(s.systemModal);
    QVERIFY(f.bAskSave);
    QCOMPARE(f.fontKind, 2);
    // A Japanese font was made and moved to the editor's code.
    QCOMPARE(f.char_, 0x82A0);
    QCOMPARE(currentCode(f.ttDoc), 0x82A0);
}

void TestForm1Fontd::fontOpenedAtTheQuestion()
{
    Form1& f = *m_form;
    DBusAutomationHost host;
    m_app = host.createObject(progId);
    QVERIFY(m_app);
    m_prompt.onAsk = [this](const QString&) {
        // The user makes a font in the server, then answers No.
        m_app->call(QStringLiteral("NewFile"), {i16(1), true});
        return false;
    };
    QVERIFY(f.SetupTTEdit(false));
    QCOMPARE(m_prompt.questions(), QStringList{noFont});
    QVERIFY(f.bAskSave);
    QCOMPARE(f.fontKind, 1);
    const std::optional<QVariant> documents = m_app->call(QStringLiteral("Documents"));
    QVERIFY(documents);
    QCOMPARE(documents->toList().size(), 1); // taken, not created
}

void TestForm1Fontd::typedCodeTheFontLacksIsRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    // Every prefix of these is refused too, so char_ keeps 33 throughout.
    QTest::newRow("0x100 in a Western font") << 1 << "100";
    QTest::newRow("0xFFFF in a Japanese font") << 0 << "ffff";
}

void TestForm1Fontd::typedCodeTheFontLacksIsRefused()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    const AutomationPtr doc = newFont(kind);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;
    QCOMPARE(currentCode(doc), 33);

    typeInCodeBox(typed);
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextCode->text(), typed);
    QCOMPARE(currentCode(doc), 33);

    typeCode(0x41);
    QCOMPARE(f.char_, 0x41);
    QCOMPARE(currentCode(doc), 0x41);
    QCOMPARE(f.TextChar->text(), QStringLiteral("A"));
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Fontd::nextAndPrevStepAndStop()
{
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;

    typeCode(0xFE);
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(f.char_, 0xFF);
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(f.char_, 0xFF); // the last code of a Western font
    QCOMPARE(f.TextCode->text(), QStringLiteral("FF"));

    typeCode(0x21);
    QTest::mouseClick(f.CommandPrev, Qt::LeftButton);
    QCOMPARE(f.char_, 0x20);
    QTest::mouseClick(f.CommandPrev, Qt::LeftButton);
    QCOMPARE(f.char_, 0x20);
    QCOMPARE(currentCode(doc), 0x20);
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Fontd::doubleByteStep()
{
    const AutomationPtr doc = newFont(0);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;
    typeCode(0x82A0);
    QCOMPARE(f.char_, 0x82A0);
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(f.char_, 0x82A1);
    QCOMPARE(f.TextChar->text(), QStringLiteral("ぃ"));
    typeCode(0x8140);
    QTest::mouseClick(f.CommandPrev, Qt::LeftButton);
    QCOMPARE(f.char_, 0xDF); // back over the end of the single bytes
    QVERIFY(m_prompt.shown().isEmpty());
}

void TestForm1Fontd::killedServerIsStartedAgain()
{
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(f.char_, 34);

    const QString before = std::static_pointer_cast<DBusAutomationObject>(m_app)->service();
    const qint64 pid = TestFontServer::pidOf(before);
    QVERIFY(pid > 0); // kill(0) would end the test's whole process group
    QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
    QVERIFY(TestFontServer::waitForNoServer());

    // The next step starts a server again, whose font the user makes at the questions.
    m_prompt.answer({true, true});
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(m_prompt.questions(), (QStringList{noFont, whichKind}));
    QCOMPARE(f.char_, 35);
    const QString after = std::static_pointer_cast<DBusAutomationObject>(f.ttDoc)->service();
    QVERIFY(after != before);
    QCOMPARE(currentCode(f.ttDoc), 35);
}

void TestForm1Fontd::paintedGlyphsReachTheFont()
{
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;

    QList<Glyph> glyphs;
    // 100 %: the boxes tile; square and oblong cells.
    glyphs.append({0x41,
                   12,
                   20,
                   true,
                   100,
                   {24, 24},
                   {96, 0},
                   {24, 24},
                   {{0, 0}, {11, 0}, {5, 5}, {6, 5}, {0, 19}, {11, 19}, {3, 10}, {3, 11}},
                   15});
    glyphs.append({0x42,
                   12,
                   20,
                   false,
                   100,
                   {40, 24},
                   {0, 0},
                   {40, 24},
                   {{0, 0}, {11, 19}, {1, 1}, {2, 1}, {2, 2}},
                   8});
    // 50 %: each box half the pitch, from its cell's top-left.
    glyphs.append({0x43,
                   12,
                   20,
                   false,
                   50,
                   {40, 24},
                   {0, 0},
                   {20, 12},
                   {{0, 0}, {1, 0}, {11, 19}, {6, 7}, {6, 8}},
                   12});
    glyphs.append({0x44,
                   32,
                   32,
                   true,
                   50,
                   {15, 15},
                   {0, 0},
                   {8, 8},
                   {{0, 0}, {31, 31}, {16, 16}, {17, 16}, {16, 17}},
                   24});
    glyphs.append(
        {0x45, 9, 9, true, 100, {53, 53}, {2, 2}, {53, 53}, {{0, 0}, {8, 8}, {4, 4}}, -1});
    // Side bearings: the ink moves to lsb, the advance is its right edge plus rsb.
    Glyph bearings{0x46, 12, 20, true, 100, {24, 24}, {96, 0}, {24, 24}, {{2, 2}, {9, 17}, {5, 9}},
                   14};
    bearings.sideBearings = true;
    bearings.lsb = 20;
    bearings.rsb = 30;
    glyphs.append(bearings);

    for (const Glyph& g : glyphs) {
        typeCode(g.code);
        QCOMPARE(f.char_, g.code);
        f.SliderDotX->setValue(g.dotsX);
        f.SliderDotY->setValue(g.dotsY);
        f.CheckSquare->setChecked(g.square);
        f.SliderDotX_Scroll();
        QCOMPARE(f.nX, g.pitch.x());
        QCOMPARE(f.nY, g.pitch.y());
        paint(g);
        f.SliderSize->setValue(g.size);
        f.SliderSize_Scroll();
        f.CheckSB->setChecked(g.sideBearings);
        f.TextLSB->setText(QString::number(g.lsb));
        f.TextRSB->setText(QString::number(g.rsb));
        QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
        QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(" / ")));
    }

    const QString font = m_dir.filePath(QStringLiteral("painted.ttf"));
    QVERIFY(f.ttDoc->call(QStringLiteral("SaveAs"), {font}));
    QCOMPARE(f.ttDoc->call(QStringLiteral("saved"))->toBool(), true);
    QCOMPARE(f.ttDoc->call(QStringLiteral("FileName"))->toString(), font);

    for (const Glyph& g : glyphs) {
        QString error;
        const auto [first, last] = g.inkColumns();
        // Square dots are placed on whole dots: the box's left edge at x = 0, the baseline on
        // a dot row, side bearings rounded to dots (here 20 units to none, 30 to one).
        const std::optional<DotGrid> grid = DotGrid::of(g.dotsX, g.dotsY, g.square);
        const QPoint origin = DotGrid::canvasOrigin(grid);
        const int lsbUnits =
            grid ? GlyphSpacing::toDots(g.lsb, grid->unitsPerDot()) * grid->unitsPerDot() : g.lsb;
        const int rsbUnits =
            grid ? GlyphSpacing::toDots(g.rsb, grid->unitsPerDot()) * grid->unitsPerDot() : g.rsb;
        const int shift = g.sideBearings ? origin.x() + lsbUnits / 2 - first : 0;
        const QStringList pixels = FontCheck::rasterPixels(font, g.code, 482, 482, &error,
                                                           FontCheck::CharMap::Auto, origin);
        QVERIFY2(!pixels.isEmpty(), qPrintable(error));
        const QString difference = FontCheck::firstDifference(pixels, g.picture(shift));
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2").arg(g.code, 0, 16).arg(difference)));

        int advance = 0, lsb = 0;
        QVERIFY2(FontCheck::horizontalMetrics(font, g.code, &advance, &lsb, &error),
                 qPrintable(error));
        if (g.sideBearings) {
            QCOMPARE(lsb, lsbUnits);
            QCOMPARE(advance, lsbUnits + (last - first + 1) * 2 + rsbUnits);
        } else {
            QCOMPARE(lsb, (first - origin.x()) * 2);
            QCOMPARE(advance, grid ? grid->boxWidth() : 964);
        }
    }

    QString output;
    QCOMPARE(FontCheck::otsSanitize(font, &output), FontCheck::OtsResult::Passed);
}

void TestForm1Fontd::codeWithoutCellEmptiesTheGlyph_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestForm1Fontd::codeWithoutCellEmptiesTheGlyph()
{
    QFETCH(bool, yes);
    const AutomationPtr doc = newFont(0);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;

    // A glyph at 0x82A0 in the font first.
    typeCode(0x82A0);
    QCOMPARE(f.char_, 0x82A0);
    seedGlyph(doc, 0x82A0);

    // A double-byte glyph without a dot is asked about, as a code without a cell.
    m_prompt.answer({yes});
    QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
    QCOMPARE(m_prompt.questions(), QStringList{noCell});

    const QString font = m_dir.filePath(QStringLiteral("cell.ttf"));
    QVERIFY(doc->call(QStringLiteral("SaveAs"), {font}));
    QString error;
    QVERIFY(FontCheck::glyphIndex(font, 0x82A0, &error) > 0);
    const QStringList pixels = FontCheck::rasterPixels(font, 0x82A0, 482, 482, &error);
    QVERIFY2(!pixels.isEmpty(), qPrintable(error));
    const bool empty = !pixels.join(QString()).contains(QLatin1Char('#'));
    // Yes: the export goes on with an empty glyph; No: the font's glyph stays.
    QCOMPARE(empty, yes);
    if (!yes)
        QCOMPARE(pixels[100][100], QChar(u'#'));
}

void TestForm1Fontd::lostFocusInsideTheQuestion_data()
{
    QTest::addColumn<bool>("serverGone");
    QTest::newRow("server there") << false;
    QTest::newRow("server gone") << true;
}

void TestForm1Fontd::lostFocusInsideTheQuestion()
{
    QFETCH(bool, serverGone);
    NoRestartHost host;
    m_form = std::make_unique<Form1>(&m_prompt, &host);
    Form1& f = *m_form;
    Form1Fixture::showAtOrigin(f);
    f.bLoading = true; // the boxes show char_, as after loading the settings
    f.drawGrid();
    f.bLoading = false;
    m_app = host.createObject(progId); // a server without a font
    QVERIFY(m_app);
    f.activateWindow();
    f.TextCode->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(f.TextCode->hasFocus());

    // The press on Next queues the code box's lost focus; the release's set-up asks for a
    // font, and the question's event loop runs it.
    int open = 0, mostOpen = 0;
    m_prompt.onAsk = [&](const QString& question) {
        mostOpen = std::max(mostOpen, ++open);
        if (serverGone && question == noFont) {
            host.startable = false;
            TestFontServer::stop();
        }
        QCoreApplication::processEvents();
        --open;
        return true;
    };
    QTest::mouseClick(f.CommandNext, Qt::LeftButton);
    QCOMPARE(mostOpen, 1);
    QCOMPARE(m_prompt.questions(), (QStringList{noFont, whichKind}));
    QCOMPARE(m_prompt.messages(), serverGone ? QStringList{cannotCreate} : QStringList());
    QCOMPARE(f.char_, serverGone ? 33 : 34);
    if (!serverGone)
        QCOMPARE(m_app->call(QStringLiteral("Documents"))->toList().size(), 1);
    m_form.reset(); // before its host
}

void TestForm1Fontd::refusedGlyphIsTold_data()
{
    QTest::addColumn<bool>("badFile"); // else side bearings that give a negative advance
    QTest::addColumn<bool>("interactive");
    QTest::newRow("unreadable file") << true << true;
    QTest::newRow("side bearings") << false << true;
    QTest::newRow("side bearings in a batch") << false << false;
}

void TestForm1Fontd::refusedGlyphIsTold()
{
    QFETCH(bool, badFile);
    QFETCH(bool, interactive);
    Form1& f = *m_form;
    m_app = DBusAutomationHost().createObject(progId);
    QVERIFY(m_app);
    // The font's glyph of 33 stays as it was whatever is refused.
    AutomationPtr doc;
    if (badFile) {
        // The file is cut short after its writing, while the set-up asks for a font; the user
        // opens one meanwhile.
        m_prompt.onAsk = [&](const QString&) {
            QFile::resize(f.dotsFileName, 100);
            doc =
                AutomationObject::toObject(m_app->call(QStringLiteral("NewFile"), {i16(1), true}));
            seedGlyph(doc, 33);
            return false;
        };
    } else {
        doc = AutomationObject::toObject(m_app->call(QStringLiteral("NewFile"), {i16(1), true}));
        seedGlyph(doc, 33);
        QVERIFY(f.SetupTTEdit(true));
        f.CheckSB->setChecked(true);
        f.TextRSB->setText(QStringLiteral("-32768"));
        // Bearings go around ink: an empty glyph of square dots advances its box whatever they say.
        f.drawGrid();
        f.store().setPixel(f.char_, QPoint(0, 0), CharTable::SetColour);
    }
    f.bInteractive = interactive;
    const Form1::ExportResult result = f.exportGlyph();
    QCOMPARE(result.status, Form1::ExportStatus::Refused);
    QVERIFY2(result.reason.contains(badFile ? "ImportFailed" : "side bearings"),
             qPrintable(result.reason));
    QCOMPARE(m_prompt.messages(),
             interactive ? QStringList{refused33 + u'\n' + result.reason} : QStringList());
    QVERIFY(seedKept(doc, 33));
}

void TestForm1Fontd::batchSendsTheWholeTable()
{
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;
    f.SliderDotX->setValue(12);
    f.SliderDotY->setValue(20);
    f.CheckSquare->setChecked(true);
    f.SliderDotX_Scroll();
    // Random glyphs in every cell, 127's too, and the glyph of 33 in the font beforehand.
    QRandomGenerator random(1208);
    QImage& table = f.store().pageForWrite(0);
    for (int c = 32; c <= 255; ++c) {
        const QPoint cell = CharTable::cellOrigin(c);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 12; ++x)
                if (random.bounded(100) < 45)
                    CharTable::setPixel(table, cell + QPoint(x, y), CharTable::SetColour);
    }
    QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
    // The run writes glyphs to a ring of files beside the dots file while the server reads
    // the ones before; one of them is a device, which the server refuses to read.
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), m_dir.filePath("ptl_dots.3.bmp")));

    DialogScanAll& range = f.scanAllDialog();
    Form1Fixture::whenShown(&range, [&range] {
        range.Text1->setText(QStringLiteral("32"));
        range.Text2->setText(QStringLiteral("255"));
        QTest::mouseClick(range.OKButton, Qt::LeftButton);
    });
    QTest::mouseClick(f.CommandScanAll, Qt::LeftButton);
    // The glyphs written there are refused, each named, and the others land on their codes.
    const QStringList messages = m_prompt.messages();
    QCOMPARE(m_prompt.shown().size(), 1);
    QVERIFY2(messages.size() == 1 && messages.first().contains("device"),
             qPrintable(messages.join(" / ")));
    const QString told = messages.first().section(u'\n', 0, 0);
    const QString listed = told.section(u' ', 1).section(QStringLiteral(" の文字"), 0, 0);
    QSet<int> refused;
    for (const QString& code : listed.split(QStringLiteral(", ")))
        refused.insert(code.toInt(nullptr, 16));
    QVERIFY(refused.size() > 20);
    QCOMPARE(told,
             QStringLiteral("TTEditは文字コード %1 の文字を受け付けませんでした").arg(listed));
    QCOMPARE(QDir(m_dir.path()).entryList({"ptl_dots*"}), QStringList{"ptl_dots.bmp"});
    QCOMPARE(f.char_, 33);
    QCOMPARE(currentCode(doc), 255); // where the run left the font

    const QString font = m_dir.filePath(QStringLiteral("batch.ttf"));
    QVERIFY(doc->call(QStringLiteral("SaveAs"), {font}));
    // Each dot's centre, one pixel per dot: the 100 % boxes tile, so it is inside the outline
    // exactly when the dot is set.
    for (int c = 32; c <= 255; ++c) {
        QString error;
        // 127 is never sent, and a refused glyph leaves none (33 keeps the one sent before).
        if (c == 127 || (refused.contains(c) && c != 33)) {
            QCOMPARE(FontCheck::glyphIndex(font, c, &error), 0);
            continue;
        }
        const QStringList dots = FontCheck::rasterDots(
            font, c, f.ofsX + f.nX / 2.0, f.ofsY + f.nY / 2.0, f.nX, f.nY, 12, 20, &error,
            FontCheck::CharMap::Auto, DotGrid::canvasOrigin(DotGrid::of(12, 20, true)));
        QVERIFY2(!dots.isEmpty(), qPrintable(error));
        QStringList expected;
        const QPoint cell = CharTable::cellOrigin(c);
        for (int y = 0; y < 20; ++y) {
            QString row;
            for (int x = 0; x < 12; ++x)
                row += CharTable::isSet(table, cell + QPoint(x, y)) ? u'#' : u'.';
            expected << row;
        }
        const QString difference = FontCheck::firstDifference(dots, expected);
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2").arg(c).arg(difference)));
    }
    QString output;
    QCOMPARE(FontCheck::otsSanitize(font, &output), FontCheck::OtsResult::Passed);
}

void TestForm1Fontd::exportAfterLoadAndReset()
{
    // Load and reset move the editor to another code, the glyph size and Square stay: each
    // export sends that code's own glyph (41 full, 21 empty).  The range dialog offers the
    // range each set, the preview, first opened after the reset, its default text.
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    user->remove(QString());
    user->setValue(QStringLiteral("Char"), QStringLiteral("65"));
    user->setValue(QStringLiteral("StartChar"), QStringLiteral("48"));
    user->setValue(QStringLiteral("PreviewText"), QStringLiteral("mine"));
    user->sync();
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc);
    Form1& f = *m_form;
    f.iniFileName = m_dir.filePath(QStringLiteral("none.ini"));
    CharTable::fillRect(f.store().pageForWrite(GlyphStore::SingleBytePage),
                        QRect(CharTable::cellOrigin(0x41), QSize(12, 20)), CharTable::SetColour);
    attach();
    DialogScanAll& range = f.scanAllDialog();
    for (QAction* command : {f.mnuloadsetting, f.mnudefault}) {
        range.show();
        range.hide();
        command->trigger();
        QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
        range.show();
        QCOMPARE(range.Text1->text(), command == f.mnudefault ? "32" : "48");
        range.hide();
    }
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(" / ")));
    f.mnupreview->trigger();
    QCOMPARE(f.preview()->TextSample->text(), PreviewWindow::defaultText());

    const QString font = m_dir.filePath(QStringLiteral("moved.ttf"));
    QVERIFY(doc->call(QStringLiteral("SaveAs"), {font}));
    QString error;
    for (const int code : {0x41, 0x21})
        QCOMPARE(FontCheck::rasterDots(
                     font, code, f.ofsX + f.nX / 2.0, f.ofsY + f.nY / 2.0, f.nX, f.nY, 12, 20,
                     &error, FontCheck::CharMap::Auto,
                     DotGrid::canvasOrigin(DotGrid::of(12, 20, f.CheckSquare->isChecked()))),
                 QStringList(20, QString(12, code == 0x41 ? u'#' : u'.')));
}

void TestForm1Fontd::sendAllSendsTheStoredGlyphs()
{
    const AutomationPtr doc = newFont(0);
    QVERIFY(doc);
    attach();
    Form1& f = *m_form;
    f.mnusendall->trigger();
    QCOMPARE(m_prompt.messages(), QStringList{noGlyphs});
    m_prompt.clear();

    // Random glyphs at codes of each kind; 127 and 0x80, which the font lacks, and a glyph
    // whose dots lie beyond the glyph's 12 x 20 are never sent.
    f.SliderDotX->setValue(12);
    f.SliderDotY->setValue(20);
    f.CheckSquare->setChecked(true);
    f.SliderDotX_Scroll();
    const QList<int> codes{0x21, 0x41, 0xB1, 0x8140, 0x82A0, 0x889F, 0xEAA4, 0xFC4B};
    QRandomGenerator random(2108);
    for (int c : codes + QList<int>{0x7F, 0x80})
        for (int dot = 0; dot < 240; ++dot)
            if (dot == 239 || random.bounded(100) < 45)
                f.store().setPixel(c, QPoint(dot % 12, dot / 12), CharTable::SetColour);
    f.store().setPixel(0x82A2, QPoint(12, 0), CharTable::SetColour);
    // Ctrl+T sends a double-byte glyph unasked; send-all sends it again with the others.
    typeCode(0x82A0);
    f.mnuttedit->trigger();
    f.mnusendall->trigger();
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(" / ")));
    QCOMPARE(f.char_, 0x82A0); // the editor back where it was
    QList<int> sent;
    for (const QVariant& code : doc->call(QStringLiteral("GlyphCodes"))->toList())
        sent.append(code.toInt());
    QCOMPARE(sent, codes);

    // Read back by FreeType, dot for dot, through the font's Shift_JIS map.
    const QString font = m_dir.filePath(QStringLiteral("all.ttf"));
    QVERIFY(doc->call(QStringLiteral("SaveAs"), {font}));
    for (int c : codes) {
        QString error;
        const QStringList dots = FontCheck::rasterDots(
            font, c, f.ofsX + f.nX / 2.0, f.ofsY + f.nY / 2.0, f.nX, f.nY, 12, 20, &error,
            FontCheck::CharMap::Auto,
            DotGrid::canvasOrigin(DotGrid::of(12, 20, f.CheckSquare->isChecked())));
        QVERIFY2(!dots.isEmpty(), qPrintable(error));
        QStringList expected(20, QString(12, u'.'));
        f.store().forEachDot(c, QSize(12, 20), [&](QPoint d, QRgb colour) {
            if (CharTable::isSetColour(colour))
                expected[d.y()][d.x()] = u'#';
        });
        const QString difference = FontCheck::firstDifference(dots, expected);
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("code %1: %2").arg(c, 0, 16).arg(difference)));
    }
}

void TestForm1Fontd::statusBarTellsWhatHappened()
{
    // The font the glyphs go to (its family after its first file), of which kind and whether
    // unsaved, and a line for the export, the batch and the table's save.
    const AutomationPtr doc = newFont(1);
    QVERIFY(doc && doc->call(QStringLiteral("SaveAs"), {m_dir.filePath("MyPixel.ttf")}));
    attach();
    Form1& f = *m_form;
    typeCode(0x41);
    QCOMPARE(f.StatusFont->text(), QStringLiteral("フォント: MyPixel (欧文)"));
    QTest::mouseClick(f.CommandTTEdit, Qt::LeftButton);
    QCOMPARE(f.said(), QStringLiteral("41 A を MyPixel に送りました"));
    QCOMPARE(f.StatusFont->text(), QStringLiteral("フォント: MyPixel* (欧文)"));
    f.startchar = 120;
    f.endchar = 130;
    f.scanRange();
    QCOMPARE(f.said(), QStringLiteral("A.Scan: 10 文字を送り、1 文字を飛ばしました (7F)"));
    const QString table = m_dir.filePath(QStringLiteral("table.bmp"));
    f.TextBufFileName->setText(table);
    QTest::mouseClick(f.CommandSave, Qt::LeftButton);
    QCOMPARE(f.said(), QStringLiteral("キャラクタテーブルを %1 に保存しました").arg(table));
    // Saved in the server's window meanwhile: the next set-up, as every activation runs one,
    // drops the mark.
    QVERIFY(doc->call(QStringLiteral("save")) && f.SetupTTEdit(false));
    QCOMPARE(f.StatusFont->text(), QStringLiteral("フォント: MyPixel (欧文)"));
}

QTEST_MAIN(TestForm1Fontd)
#include "tst_form1fontd.moc"

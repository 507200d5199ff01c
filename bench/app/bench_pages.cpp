// Prints the cost of the glyph store's double-byte pages: saving and loading the 30 pages of
// the JIS X 0208 kanji area (lead bytes 0x88..0x9F and 0xE0..0xE5), the panel's switch from
// one page to another, and Edit > send all glyphs of some 7000 glyphs against the real
// pointillo-fontd, per glyph.
//
//   dbus-run-session -- <build>/bin/bench_pages [--runs N] [--glyphs N]
//
// The pages' files are written to a temporary folder on disk, where every file is synced
// before it takes its name, and again on tmpfs (/dev/shm), where the sync costs nothing.

#include "BenchFigures.h"
#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/GlyphStore.h"
#include "chartable/PageFiles.h"
#include "codes/Cp932.h"
#include "ttedit/DBusAutomationHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Dots = 16;

class TellingPrompt : public Prompt
{
public:
    void inform(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool ask(const QString&, const QString&, const QString&, bool) override { return true; }
};

// Random glyphs of Dots x Dots at every code of the pages, 45 % of the dots set.
void fill(GlyphStore& store, const QList<int>& codes)
{
    QRandomGenerator random(2121);
    for (int code : codes)
        for (int y = 0; y < Dots; ++y)
            for (int x = 0; x < Dots; ++x)
                if (random.bounded(100) < 45)
                    store.setPixel(code, QPoint(x, y), 0xff000000);
}

QList<int> codesOnPages(const QList<int>& pages)
{
    QList<int> codes;
    for (int code : Cp932::definedCodes())
        if (pages.contains(GlyphStore::pageOf(code)) && code > 0xFF)
            codes.append(code);
    return codes;
}

void files(const char* where, const QString& folder, const GlyphStore& full, int runs)
{
    const QString table = folder + QStringLiteral("/ptl_buf.bmp");
    BenchFigures::measure(runs, [&] {
        GlyphStore store = full;
        PageFiles().save(store, table);
    }).print(qPrintable(QStringLiteral("save of 30 pages, all written, %1").arg(where)), "us");
    GlyphStore store = full;
    PageFiles pageFiles;
    pageFiles.save(store, table);
    BenchFigures::measure(runs, [&](int i) {
        store.setPixel(0x889F, QPoint(Dots - 1, Dots - 1), i % 2 ? 0xff000000 : 0xffffffff);
        pageFiles.save(store, table);
    }).print(qPrintable(QStringLiteral("save of 30 pages, one changed, %1").arg(where)), "us");
    BenchFigures::measure(runs, [&] {
        GlyphStore loaded;
        PageFiles().load(loaded, table);
    }).print(qPrintable(QStringLiteral("load of 30 pages, %1").arg(where)), "us");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addOptions({{"runs", "Runs of each file and panel figure (default 51).", "n", "51"},
                        {"glyphs", "Glyphs that send-all sends (default 7000).", "n", "7000"}});
    options.addHelpOption();
    options.process(app);
    const int runs = std::max(11, options.value("runs").toInt());
    const int glyphs = std::max(1, options.value("glyphs").toInt());

    // The files of 30 pages.
    QList<int> kanjiPages;
    for (int lead = 0x88; lead <= 0x9F; ++lead)
        kanjiPages.append(lead);
    for (int lead = 0xE0; lead <= 0xE5; ++lead)
        kanjiPages.append(lead);
    GlyphStore full;
    const QList<int> kanji = codesOnPages(kanjiPages);
    fill(full, kanji);
    std::printf("%lld glyphs of %d x %d dots on %lld pages\n", qlonglong(kanji.size()), Dots, Dots,
                qlonglong(full.pages().size() - 1));
    QTemporaryDir disk;
    files("on disk (synced)", disk.path(), full, runs);
    QTemporaryDir memory(QStringLiteral("/dev/shm/bench_pages-XXXXXX"));
    if (memory.isValid())
        files("on tmpfs (no sync)", memory.path(), full, runs);

    // The window on a new Japanese font of the real server.
    DBusAutomationHost host;
    const AutomationPtr server = host.createObject(QStringLiteral("TTEdit.Application"));
    if (!server ||
        !server->call(QStringLiteral("NewFile"), {QVariant::fromValue(qint16(0)), true})) {
        std::printf("no font server on the session bus: %s\n", qPrintable(host.lastError()));
        return 1;
    }
    QTemporaryDir dir;
    TellingPrompt prompt;
    Form1 f(&prompt, &host);
    f.dotsFileName = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    f.TextBufFileName->setText(dir.filePath(QStringLiteral("ptl_buf.bmp")));
    f.show();
    f.Form_Activate();
    f.SliderDotX->setValue(Dots);
    f.SliderDotY->setValue(Dots);
    f.CheckSquare->setChecked(true);
    f.SliderDotX_Scroll();
    f.store() = full;

    // The window's save: the table file and the 30 pages, each file synced.
    BenchFigures::measure(runs, [&](int i) {
        f.store().setPixel(0x9872 - i % 2, QPoint(0, 0), 0xff000000);
        f.saveTable();
    }).print("window save, table + 30 pages, one page changed (synced)", "us");

    // The panel between two pages, and within one, as a table click or a step moves it: the
    // codes, the font server, the grid and the panel repainted.
    const auto switchBetween = [&](int a, int b, bool server) {
        f.bLoading = !server; // the code box's handling leaves the server alone
        return BenchFigures::measure(runs, [&, a, b](int i) {
            f.goToCode(i % 2 ? a : b);
            QApplication::processEvents();
        });
    };
    switchBetween(0x889F, 0x9872, true).print("panel to another page, with the server", "us");
    switchBetween(0x889F, 0x88A0, true).print("  the same page, with the server", "us");
    switchBetween(0x889F, 0x9872, false).print("panel to another page, window alone", "us");
    switchBetween(0x889F, 0x88A0, false).print("  the same page, window alone", "us");
    f.bLoading = false;

    // Send all: the single bytes and the double-byte codes from 0x8140 on, up to glyphs.
    GlyphStore many;
    QList<int> codes;
    for (int code : Cp932::definedCodes())
        if (code >= 0x20 && code != 0x7F && codes.size() < glyphs)
            codes.append(code);
    fill(many, codes);
    f.store() = many;
    f.drawGrid();
    QElapsedTimer clock;
    clock.start();
    const int sent = f.sendAllGlyphs();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    std::printf("%-52s %10.2f s, %d glyphs, %.3f ms a glyph\n", "send all glyphs", seconds, sent,
                seconds * 1000 / std::max(1, sent));
    clock.restart();
    f.ttDoc->call(QStringLiteral("SaveAs"), {dir.filePath(QStringLiteral("all.ttf"))});
    std::printf("%-52s %10.2f s\n", "SaveAs of that font in the server",
                double(clock.nsecsElapsed()) / 1e9);
    return 0;
}

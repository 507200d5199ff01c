// Prints what File > import font... costs in the editor for a whole Japanese bitmap font: the
// 6879 glyphs of a 16-dot JIS X 0208 font as Debian ships it (PCF, gzipped) and the same
// glyphs as BDF, into a window with a Japanese font open, from the call until the window has
// painted, with the store blank before each run; then its parts: reading the font, writing
// the glyphs into a glyph store, and the history's step of the pages.
//
//   bench_fontimport [--font FONT] [--runs N]
//
// FONT defaults to j90-16.pcf.gz of Debian's xfonts-intl-japanese.  Runs headless on the
// offscreen platform unless a platform is chosen.

#include "BenchFigures.h"
#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/BdfFont.h"
#include "chartable/CharTable.h"
#include "chartable/FontImport.h"
#include "chartable/FontReader.h"
#include "chartable/TableHistory.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Every question is answered Yes; nothing is shown.
class SilentPrompt : public Prompt
{
public:
    void inform(const QString&) override {}
    bool ask(const QString&, const QString&, const QString&, bool) override { return true; }
};

// No font server: the window is told its font is Japanese instead.
class NoServer : public AutomationHost
{
public:
    AutomationPtr getObject(const QString&) override { return {}; }
    AutomationPtr createObject(const QString&) override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString fontPath = QStringLiteral("/usr/share/fonts/X11/misc/j90-16.pcf.gz");
    int runs = 15;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--font")
            fontPath = args[i + 1];
        else if (args[i] == u"--runs")
            runs = std::max(1, args[i + 1].toInt());
    }
    QString error;
    const auto font =
        FontReader::read(fontPath, FontReader::OwnSize, FontDocument::Japanese, &error);
    if (!font || font->glyphs.empty()) {
        std::fprintf(stderr, "%s: %s\n(Debian: apt-get install xfonts-intl-japanese)\n",
                     qPrintable(fontPath), qPrintable(error));
        return 1;
    }
    std::printf("%s: %zu glyphs, %d x %d dots\n", qPrintable(fontPath), font->glyphs.size(),
                font->glyphSize.width(), font->glyphSize.height());

    // The same glyphs as a BDF font, as the editor's export writes them.
    QTemporaryDir dir;
    const QString bdfPath = dir.filePath(QStringLiteral("font.bdf"));
    GlyphStore glyphs;
    FontImport::write(glyphs, *font, FontImport::Layout{font->glyphSize, font->baseline});
    if (!BdfFont::write(glyphs, font->glyphSize, bdfPath, FontDocument::Japanese, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    SilentPrompt prompt;
    NoServer server;
    Form1 f(&prompt, &server);
    f.fontKind = 2;
    f.show();
    QApplication::processEvents();
    const auto blank = [&f] {
        for (int page : f.store().pages())
            f.store().setPage(page, CharTable::blank());
        f.store().dropEmptyPages();
        f.history().clear();
        f.drawGrid();
        QApplication::processEvents();
    };
    // Once each first: the files in the page cache, the code tables made.
    for (const QString& path : {fontPath, bdfPath})
        f.importFont(path);
    for (const QString& path : {fontPath, bdfPath}) {
        std::vector<double> samples;
        for (int i = 0; i < runs; ++i) {
            blank();
            samples.push_back(BenchFigures::measure(1, [&] {
                                  f.importFont(path);
                                  QApplication::processEvents();
                              }).median);
        }
        BenchFigures::of(samples).print(path == fontPath
                                            ? "import font, PCF (gzipped), in the window"
                                            : "import font, BDF, in the window",
                                        "us");
    }
    std::printf("  history: %d step, %lld bytes\n", f.history().count(),
                qlonglong(f.history().bytes()));

    // The parts.
    BenchFigures::measure(runs, [&] {
        FontReader::read(fontPath, FontReader::OwnSize, FontDocument::Japanese);
    }).print("  read the font (PCF)", "us");
    BenchFigures::measure(runs, [&] {
        GlyphStore store;
        FontImport::write(store, *font, FontImport::Layout{font->glyphSize, font->baseline});
    }).print("  write its glyphs into a new store", "us");
    return 0;
}

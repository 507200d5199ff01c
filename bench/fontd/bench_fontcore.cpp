// Prints what the font core of pointillo-fontd costs, in process, without D-Bus: reading a
// glyph BMP, tracing it, one whole import, the editor's 223-glyph Western font (imports and
// save), the headless build of a 223-glyph table of square dots with and without its bitmap
// strike, and a 7000-glyph Japanese font (build and save).
//
//   bench_fontcore [--bmps DIR] [--runs N] [--out FONT.ttf]
//   bench_fontcore --job DIR FONT.ttf     one Western font from DIR/g32.bmp ... g255.bmp, once
//   bench_fontcore --jp-job FONT.ttf      one Japanese font of 7000 random glyphs, once
//
// DIR holds g<code>.bmp files as the editor writes them (the peers' gen_bmps.py writes such
// a folder); without --bmps the benchmark draws its own 223 random 12 x 20 glyphs first.
// The jobs do their work once and exit, for timing whole processes from outside (hyperfine).

#include "BenchFigures.h"
#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "dots/DotBoxes.h"
#include "fontd/BitmapStrike.h"
#include "fontd/BmpReader.h"
#include "fontd/ContourTracer.h"
#include "fontd/FontDocument.h"
#include "fontd/GlyphBuilder.h"
#include "fontd/TableBuild.h"
#include "ttedit/DotsBitmap.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double microseconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1000.0;
}

// The 482 x 482 canvas of the editor for dotsX x dotsY random dots at a square pitch.
InkMask randomCanvas(QRandomGenerator& rng, int dotsX, int dotsY, double density)
{
    const int pitch = std::min(480 / dotsX, 480 / dotsY);
    const int originX = (480 - dotsX * pitch) / 2;
    const int originY = (480 - dotsY * pitch) / 2;
    InkMask mask(482, 482);
    for (int y = 0; y < dotsY; ++y) {
        for (int x = 0; x < dotsX; ++x) {
            if (rng.generateDouble() >= density)
                continue;
            for (int py = 0; py < pitch; ++py) {
                for (int px = 0; px < pitch; ++px)
                    mask.setPixel(originX + x * pitch + px, originY + y * pitch + py, true);
            }
        }
    }
    return mask;
}

QList<int> westernCodes()
{
    QList<int> codes;
    for (int c = 32; c < 256; ++c) {
        if (c != 127)
            codes.append(c);
    }
    return codes;
}

// Writes 223 glyph files like the editor's into dir (Qt's BMP writer, one bit per pixel).
bool drawGlyphFiles(const QString& dir)
{
    QRandomGenerator rng(20240601);
    for (int code : westernCodes()) {
        const InkMask mask = randomCanvas(rng, 12, 20, code == 32 ? 0.0 : 0.45);
        QImage image(482, 482, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        for (int y = 0; y < 482; ++y) {
            for (int x = 0; x < 482; ++x)
                image.setPixel(x, y, mask.pixel(x, y) ? 1 : 0);
        }
        if (!image.save(QDir(dir).filePath(QStringLiteral("g%1.bmp").arg(code)), "BMP"))
            return false;
    }
    return true;
}

// The editor's export of a whole Western font: per code setcode, selectall, Delete,
// ImportBmpfile; then save.
bool westernJob(const QString& dir, const QString& out, double* importMs, double* saveMs)
{
    QElapsedTimer t;
    t.start();
    FontDocument doc(FontDocument::Western);
    for (int code : westernCodes()) {
        doc.setCurrentCode(code);
        doc.selectAll();
        doc.deleteSelection();
        QString error;
        if (!doc.importBitmap(QDir(dir).filePath(QStringLiteral("g%1.bmp").arg(code)), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return false;
        }
    }
    const qint64 imported = t.nsecsElapsed();
    QString error;
    if (!doc.saveAs(out, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    if (importMs)
        *importMs = double(imported) / 1e6;
    if (saveMs)
        *saveMs = double(t.nsecsElapsed() - imported) / 1e6;
    return true;
}

// 7000 glyphs of a Japanese font, each traced from one of a few random canvases.
bool japaneseJob(const std::vector<InkMask>& canvases, ContourTracer& tracer, const QString& out,
                 double* buildMs, double* saveMs)
{
    QElapsedTimer t;
    t.start();
    FontDocument jp(FontDocument::Japanese);
    const auto all = jp.codes();
    for (size_t i = 0; i < 7000 && i < all.size(); ++i) {
        FontGlyph g;
        GlyphBuilder::fromInk(canvases[i % canvases.size()], tracer, &g);
        jp.setGlyph(all[i], g);
    }
    const qint64 built = t.nsecsElapsed();
    QString error;
    if (!jp.saveAs(out, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    if (buildMs)
        *buildMs = double(built) / 1e6;
    if (saveMs)
        *saveMs = double(t.nsecsElapsed() - built) / 1e6;
    return true;
}

std::vector<InkMask> japaneseCanvases()
{
    QRandomGenerator rng(7000);
    std::vector<InkMask> canvases;
    for (int i = 0; i < 64; ++i)
        canvases.push_back(randomCanvas(rng, 12, 20, 0.45));
    return canvases;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QStringLiteral("--job"))
        return westernJob(args[1], args[2], nullptr, nullptr) ? 0 : 1;
    if (args.size() == 2 && args[0] == QStringLiteral("--jp-job")) {
        ContourTracer tracer;
        return japaneseJob(japaneseCanvases(), tracer, args[1], nullptr, nullptr) ? 0 : 1;
    }

    QString bmps;
    QString out;
    int runs = 7;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QStringLiteral("--bmps"))
            bmps = args[i + 1];
        else if (args[i] == QStringLiteral("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QStringLiteral("--out"))
            out = args[i + 1];
    }
    QTemporaryDir temp;
    if (bmps.isEmpty()) {
        bmps = temp.filePath(QStringLiteral("bmps"));
        QDir().mkpath(bmps);
        if (!drawGlyphFiles(bmps)) {
            std::fprintf(stderr, "cannot write the glyph files\n");
            return 1;
        }
    }
    if (out.isEmpty())
        out = temp.filePath(QStringLiteral("western.ttf"));
    const QList<int> codes = westernCodes();
    std::printf("pointillo-fontd font core, %d runs, glyphs from %s\n", runs, qPrintable(bmps));

    // Read, trace, whole import: per glyph, every file every run.
    std::vector<double> read, trace, import;
    qint64 contours = 0, points = 0;
    ContourTracer tracer;
    FontDocument doc(FontDocument::Western);
    for (int r = 0; r < runs; ++r) {
        for (int code : codes) {
            const QString path = QDir(bmps).filePath(QStringLiteral("g%1.bmp").arg(code));
            QElapsedTimer t;
            t.start();
            const auto mask = BmpReader::readFile(path);
            read.push_back(microseconds(t));
            if (!mask) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            t.restart();
            const QList<QPolygon> traced = tracer.trace(*mask);
            trace.push_back(microseconds(t));
            doc.setCurrentCode(code);
            t.restart();
            doc.importBitmap(path);
            import.push_back(microseconds(t));
            if (r == 0) {
                contours += traced.size();
                for (const QPolygon& c : traced)
                    points += c.size();
            }
        }
    }
    BenchFigures::of(read).print("read one 482x482 BMP", "us");
    BenchFigures::of(trace).print("trace it", "us");
    BenchFigures::of(import).print("import it (read + trace + font units)", "us");
    std::printf("%-52s %lld contours, %lld points\n", "traced 223 glyphs", contours, points);

    // The editor's whole Western font.
    std::vector<double> total, imports, saves;
    for (int r = 0; r < runs; ++r) {
        double importMs = 0, saveMs = 0;
        if (!westernJob(bmps, out, &importMs, &saveMs))
            return 1;
        imports.push_back(importMs);
        saves.push_back(saveMs);
        total.push_back(importMs + saveMs);
    }
    BenchFigures::of(imports).print("223 imports", "ms");
    BenchFigures::of(saves).print("save of the Western font (build + write)", "ms");
    BenchFigures::of(total).print("223 imports + save", "ms");
    std::printf("%-52s %lld bytes\n", "Western font", QFileInfo(out).size());

    // The headless build of a table of 12 x 20 square dots: the glyph's ink from its boxes
    // through a BMP in memory (the way the build went before) and directly; the whole build
    // and save of the font of whole dots with its strike, and of the same glyphs without it
    // (what the save wrote before), in the same run.
    {
        QImage table = CharTable::blank();
        QRandomGenerator rng(2312);
        for (int code = 32; code < 256; ++code) {
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 12; ++x)
                    if (rng.bounded(100) < 45)
                        CharTable::setPixel(table, CharTable::cellOrigin(code) + QPoint(x, y),
                                            CharTable::SetColour);
        }
        GlyphStore store;
        store.setPage(GlyphStore::SingleBytePage, table);
        TableBuild::Settings settings;
        settings.square = true;
        const GridGeometry grid = GridGeometry::compute(12, 20, true);
        std::vector<double> viaBmp, direct, withStrike, withoutStrike, strikeAlone;
        for (int r = 0; r < runs; ++r) {
            for (int code : codes) {
                const QList<QRect> boxes = DotBoxes::boxes(
                    CharTable::dots(table, CharTable::cellOrigin(code), QSize(12, 20)), grid, 100);
                QElapsedTimer t;
                t.start();
                const auto read = BmpReader::read(DotsBitmap::encodeBoxes(
                    QSize(DotBoxes::CanvasSide, DotBoxes::CanvasSide), boxes));
                viaBmp.push_back(microseconds(t));
                t.restart();
                const InkMask ink = DotBoxes::ink(boxes);
                direct.push_back(microseconds(t));
                if (!read || *read != ink) {
                    std::fprintf(stderr, "the two ways to the ink differ at code %d\n", code);
                    return 1;
                }
            }
            for (bool strike : {true, false}) {
                QElapsedTimer t;
                t.start();
                const auto built = TableBuild::build(store, settings);
                if (!strike)
                    built->setDotGrid(std::nullopt);
                const QByteArray font = built->toTrueType();
                (strike ? withStrike : withoutStrike).push_back(double(t.nsecsElapsed()) / 1e6);
                if (strike) {
                    std::vector<const FontGlyph*> glyphs;
                    for (const auto& [code, glyph] : built->glyphs())
                        glyphs.push_back(&glyph);
                    t.restart();
                    BitmapStrike::build(glyphs, *built->dotGrid(), 17, -3);
                    strikeAlone.push_back(double(t.nsecsElapsed()) / 1e6);
                }
            }
        }
        BenchFigures::of(viaBmp).print("glyph ink from its boxes, through a BMP", "us");
        BenchFigures::of(direct).print("glyph ink from its boxes, directly", "us");
        BenchFigures::of(withoutStrike).print("build + save, 12x20 square, no strike", "ms");
        BenchFigures::of(withStrike).print("build + save, 12x20 square, with strike", "ms");
        BenchFigures::of(strikeAlone).print("the strike alone (EBLC + EBDT of 223 glyphs)", "ms");
        const auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::printf("%-52s %+.1f %%\n", "strike's share (medians, with vs without)",
                    100.0 * (median(withStrike) / median(withoutStrike) - 1.0));
    }

    // A Japanese font of 7000 glyphs: traced from canvases in memory, then saved.
    const std::vector<InkMask> canvases = japaneseCanvases();
    std::vector<double> builds, jpSaves;
    const QString jpOut = temp.filePath(QStringLiteral("japanese.ttf"));
    for (int r = 0; r < std::max(1, runs / 2); ++r) {
        double buildMs = 0, saveMs = 0;
        if (!japaneseJob(canvases, tracer, jpOut, &buildMs, &saveMs))
            return 1;
        builds.push_back(buildMs);
        jpSaves.push_back(saveMs);
    }
    const qint64 jpSize = QFileInfo(jpOut).size();
    BenchFigures::of(builds).print("Japanese 7000 glyphs: trace and build", "ms");
    BenchFigures::of(jpSaves).print("Japanese 7000 glyphs: save (incl. rename)", "ms");
    std::printf("%-52s %lld bytes\n", "Japanese font", jpSize);
    return 0;
}

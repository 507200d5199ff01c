// Prints the cost of the batch run against the real pointillo-fontd: the whole run over 32..255
// from the range dialog's OK until the editor is back (223 exports, 127 skipped), then the
// save in the server; and, per glyph, where the time goes.
//
//   dbus-run-session -- <build>/bin/bench_batch [--dots DOTS.txt] [--runs N] [--out FONT]
//
// --dots takes the glyphs of the peers' gen_bmps.py (dots.txt: a code, then its 20 rows of 12
// dots as 0 and 1), so that the batch sends the same glyphs from which the peers build their
// fonts: 12 x 20 dots, square 24-pixel pitch, boxes at 100 %.  Without it the glyphs are random
// at the same density.  --out keeps the font of the last run for checking.  The last line,
// "batch+save median <seconds>", is for scripts.

#include "BenchFigures.h"
#include "app/DialogAutoScanning.h"
#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "editor/DotCanvas.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DotsBitmap.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <cstdio>
#include <utility>

namespace {

constexpr int DotsX = 12;
constexpr int DotsY = 20;

// Every question is answered Yes: a Western font is created when none is open.
class YesPrompt : public Prompt
{
public:
    void inform(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool ask(const QString&, const QString&, const QString&, bool) override { return true; }
};

// The peers' glyphs into the table; false when the file cannot be read.
bool loadDots(const QString& fileName, QImage& table)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().simplified().split(' ');
        bool ok = false;
        const int code = fields.first().toInt(&ok);
        if (!ok || code < 32 || code > 255 || fields.size() != DotsY + 1)
            continue;
        const QPoint cell = CharTable::cellOrigin(code);
        for (int y = 0; y < DotsY; ++y)
            for (int x = 0; x < DotsX && x < fields[y + 1].size(); ++x)
                if (fields[y + 1][x] == '1')
                    CharTable::setPixel(table, cell + QPoint(x, y), CharTable::SetColour);
    }
    return true;
}

void randomDots(QImage& table)
{
    QRandomGenerator random(20240601);
    for (int c = 33; c <= 255; ++c)
        for (int y = 0; y < DotsY; ++y)
            for (int x = 0; x < DotsX; ++x)
                if (random.bounded(100) < 45)
                    CharTable::setPixel(table, CharTable::cellOrigin(c) + QPoint(x, y),
                                        CharTable::SetColour);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addOptions({{"dots", "The peers' dots.txt.", "file"},
                        {"runs", "Runs of the whole batch (default 21).", "n", "21"},
                        {"out", "Keeps the font of the last run here.", "file"}});
    options.addHelpOption();
    options.process(app);
    const int runs = std::max(3, options.value("runs").toInt());

    QTemporaryDir dir;
    YesPrompt prompt;
    DBusAutomationHost host;
    Form1 f(&prompt, &host);
    f.dotsFileName = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    f.show();
    QApplication::processEvents();
    f.Form_Activate();
    if (!f.ttDoc || f.fontKind != 1) {
        std::printf("no Western font in the font server: nothing measured\n");
        return 1;
    }

    f.SliderDotX->setValue(DotsX);
    f.SliderDotY->setValue(DotsY);
    f.CheckSquare->setChecked(true);
    f.SliderSize->setValue(100);
    f.SliderDotX_Scroll();
    QImage& table = f.store().pageForWrite(0);
    if (options.isSet("dots")) {
        if (!loadDots(options.value("dots"), table)) {
            std::printf("cannot read %s\n", qPrintable(options.value("dots")));
            return 1;
        }
    } else {
        randomDots(table);
    }
    f.startchar = 32;
    f.endchar = 255;
    const QString font = dir.filePath(QStringLiteral("batch.ttf"));
    const QVariantList saveAs{font};
    std::printf("223 glyphs of %d x %d dots, pitch %d, %d runs\n", DotsX, DotsY, f.nX, runs);

    // The batch as the user starts it: the range dialog's OK runs scanRange.
    std::vector<double> batchMs, saveMs, bothMs;
    int sent = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        sent = f.scanRange();
        batchMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.restart();
        f.ttDoc->call(QStringLiteral("SaveAs"), saveAs);
        saveMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        bothMs.push_back(batchMs.back() + saveMs.back());
    }
    if (sent != 223)
        std::printf("only %d glyphs reached the font\n", sent);
    BenchFigures::of(batchMs).print("batch 32..255, OK to the editor back", "ms");
    BenchFigures::of(saveMs).print("SaveAs in the server", "ms");
    const BenchFigures both = BenchFigures::of(bothMs);
    both.print("batch + save", "ms");

    // One glyph of the run, taken apart: the export cycling through the codes as the run does,
    // then its parts on code 0x41.
    std::printf("per glyph:\n");
    const int glyphRuns = 2001;
    f.bInteractive = false;
    auto moveTo = [&f](int c) {
        f.char_ = c;
        f.bufX = CharTable::cellOrigin(c).x();
        f.bufY = CharTable::cellOrigin(c).y();
    };
    // The i-th code of the run, round and round.
    const auto exportCode = [&](int i) {
        const int c = 32 + i % 223;
        moveTo(c >= 127 ? c + 1 : c);
        f.exportGlyph();
    };
    BenchFigures::measure(glyphRuns, exportCode)
        .print("  export: render, file, two round trips, import");
    {
        // Without a document the export stops before the server.
        const AutomationPtr doc = std::exchange(f.ttDoc, nullptr);
        BenchFigures::measure(glyphRuns, exportCode).print("    render and file alone");
        f.ttDoc = doc;
    }
    moveTo(0x41);
    f.exportGlyph();
    const QImage rendered = f.PictureDOT->image().copy();
    BenchFigures::measure(glyphRuns, [&] {
        DotsBitmap::saveDotsBmp(f.dotsFileName, rendered);
    }).print("    ptl_dots.bmp encoded and written");
    const QVariantList setcode{QVariant::fromValue(qint16(0)), QVariant::fromValue(qint32(0x41)),
                               false};
    const QVariantList getcode{QVariant::fromValue(qint16(0)), false};
    BenchFigures::measure(glyphRuns, [&] {
        f.ttDoc->callAll(
            {{QStringLiteral("setcode"), setcode}, {QStringLiteral("getcode"), getcode}});
    }).print("    round trip 1: setcode, getcode");
    BenchFigures::measure(glyphRuns, [&] {
        f.ttDoc->call(QStringLiteral("ImportBmpfile"), {f.dotsFileName});
    }).print("    round trip 2: ImportBmpfile");
    BenchFigures::measure(glyphRuns, [&] {
        f.ttDoc->call(QStringLiteral("getcode"), getcode);
    }).print("      of which one bare round trip (getcode)");
    DialogAutoScanning& progress = f.autoScanningDialog();
    progress.show();
    BenchFigures::measure(glyphRuns, [&](int i) {
        f.PictureDOT->update();
        QCoreApplication::processEvents();
        progress.ProgressBar1->setValue(i % 101);
    }).print("  pending events and the bar: canvas and bar repainted");
    progress.hide();
    f.bInteractive = true;

    if (options.isSet("out")) {
        QFile::remove(options.value("out"));
        QFile::copy(font, options.value("out"));
    }
    std::printf("batch+save median %.4f s\n", both.median / 1000);
    return 0;
}

// Prints the cost of the editor's redraw, with and without the reference glyph, of painting
// one dot, of saving and loading the character table file, of undo and redo, and of the
// preview's update after a dot.
//
//   <build>/bin/bench_editor [runs]
//
// Runs headless on the offscreen platform unless a platform is chosen.  The window is shown,
// so the figures include the repaint of the canvas that drawGrid lets run.  The table file is
// written in a temporary folder.

#include "BenchFigures.h"
#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "chartable/PreviewView.h"
#include "chartable/PreviewWindow.h"
#include "chartable/TableFile.h"
#include "chartable/TableHistory.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// No message box blocks the run; questions get the answer set here.
class SilentPrompt : public Prompt
{
public:
    void inform(const QString&) override {}
    bool ask(const QString&, const QString&, const QString&, bool) override { return yes; }
    bool yes = false;
};

// No font server: the code box's change handling reaches none, so only the editor is timed.
class NoServer : public AutomationHost
{
public:
    AutomationPtr getObject(const QString&) override { return {}; }
    AutomationPtr createObject(const QString&) override { return {}; }
};

// Centre of dot (x, y) in PictureDOT's widget coordinates.
QPointF dotCentre(const Form1& f, int x, int y)
{
    return QPointF(f.ofsX + f.nX * x + f.nX / 2, f.ofsY + f.nY * y + f.nY / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(11, QString::fromLocal8Bit(argv[1]).toInt()) : 2001;

    SilentPrompt prompt;
    NoServer server;
    Form1 f(&prompt, &server);
    f.show();
    QApplication::processEvents();

    f.SliderDotX->setValue(32);
    f.SliderDotY->setValue(32);
    f.CheckSquare->setChecked(true);
    f.char_ = 65;
    // Half the dots of the glyph set, at random: every box is filled either way.
    QRandomGenerator random(7);
    const QPoint cell = CharTable::cellOrigin(f.char_);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (random.bounded(2))
                CharTable::setPixel(f.store().pageForWrite(0), cell + QPoint(x, y),
                                    CharTable::SetColour);
    f.bRedraw = true;
    f.drawGrid();
    std::printf("32 x 32 dots, pitch %d, code %d\n", f.nX, f.char_);

    const auto fullRedraw = [&] {
        f.bRedraw = true;
        f.drawGrid();
    };
    BenchFigures::measure(runs, fullRedraw).print("drawGrid, full redraw (bRedraw), window shown");
    BenchFigures::measure(runs, [&] { f.drawGrid(); }).print("drawGrid, dots only");
    // The same without the window on screen: the redraw's own work, no repaint.
    f.hide();
    BenchFigures::measure(runs, fullRedraw).print("drawGrid, full redraw, window hidden");
    f.show();
    QApplication::processEvents();

    // The reference glyph: every redraw renders the sample, stretches it onto the grid and
    // copies it into the clear dots; then its parts alone.
    f.CheckRefChar->setChecked(true);
    BenchFigures::measure(runs, [&] { f.drawGrid(); }).print("drawGrid, reference on");
    BenchFigures::measure(runs, fullRedraw).print("drawGrid, full redraw, reference on");
    BenchFigures::measure(runs, [&] { f.LabelChar->sample(); }).print("  sample render (37 x 37)");
    BenchFigures::measure(runs, [&] { f.captureRefChar(); }).print("  captureRefChar");
    BenchFigures::measure(runs, [&] { f.redrawRefChar(); }).print("  redrawRefChar");
    f.CheckRefChar->setChecked(false);

    // The table file: written through a temporary file and renamed, read after its header is
    // checked.  The table holds the random glyph and a pattern across all cells.
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    for (int y = 0; y < CharTable::Size; y += 3)
        for (int x = y % 7; x < CharTable::Size; x += 5)
            CharTable::setPixel(f.store().pageForWrite(0), QPoint(x, y), CharTable::SetColour);
    const int fileRuns = std::max(11, runs / 10);
    BenchFigures::measure(fileRuns, [&] { f.saveTable(); }).print("table save (CommandSave)");
    const QString name = QStringLiteral("ptl_buf.bmp");
    BenchFigures::measure(fileRuns, [&] {
        TableFile::write(f.store().page(0), name);
    }).print("  TableFile::write");
    // The same in memory (tmpfs), where the sync that commits the file costs nothing: what
    // remains is the encoding and the file calls.
    QTemporaryDir memory(QStringLiteral("/dev/shm/bench_editor-XXXXXX"));
    if (memory.isValid()) {
        const QString inMemory = memory.filePath(name);
        BenchFigures::measure(fileRuns, [&] {
            TableFile::write(f.store().page(0), inMemory);
        }).print("  TableFile::write on tmpfs (no disk sync)");
    }
    BenchFigures::measure(fileRuns, [&] { f.loadTable(name); }).print("table load (loadTable)");
    BenchFigures::measure(fileRuns, [&] { TableFile::read(name); }).print("  TableFile::read");

    // A drag that paints at every report: the left button over the dots in turn, then the
    // right button over them again, so that each call changes one dot.
    CharTable::clearAll(f.store().pageForWrite(0));
    f.drawGrid();
    const auto drag = [&](qint16 shift) {
        return [&f, shift](int i) {
            const int dot = i % 1024;
            const qint16 button = (i / 1024) % 2 ? 2 : 1;
            const QPointF p = dotCentre(f, dot % 32, dot / 32);
            f.putDot(button, shift, float(p.x()), float(p.y()));
        };
    };
    const int dragRuns = std::max(runs, 2048);
    BenchFigures::measure(dragRuns, drag(0)).print("putDot, painting drag (one dot changes)");
    BenchFigures::measure(dragRuns, drag(2)).print("putDot, Ctrl 3 x 3 block");

    // The same drag as the window system delivers it: a mouse move event with the left
    // button held, through Qt's event dispatch to the canvas and on to putDot.
    CharTable::clearAll(f.store().pageForWrite(0));
    f.drawGrid();
    BenchFigures::measure(dragRuns, [&](int i) {
        const int dot = i % 1024;
        const bool right = (i / 1024) % 2;
        const Qt::MouseButton held = right ? Qt::RightButton : Qt::LeftButton;
        const QPointF p = dotCentre(f, dot % 32, dot / 32);
        QMouseEvent move(QEvent::MouseMove, p, f.PictureDOT->mapToGlobal(p), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(f.PictureDOT, &move);
    }).print("mouse move with the button held (event to putDot)");
    // Let the queued repaints of the canvas and the table run once, as the event loop would.
    QElapsedTimer paint;
    paint.start();
    QApplication::processEvents();
    std::printf("%-52s %10.2f us\n", "repaint after the drag",
                double(paint.nsecsElapsed()) / 1000.0);
    // The drags end: their dots are one step of the history.
    f.PictureDOT_MouseUp(1, 0, 0, 0);

    // Undo and redo in turn, through the menu items' handlers (the table, then the dots-only
    // redraw) and in the history alone.
    const auto undoRedo = [&](const char* step) {
        const auto inTurn = [&](const char* how, const std::function<void()>& undo,
                                const std::function<void()>& redo) {
            std::vector<double> undone;
            std::vector<double> redone;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer clock;
                clock.start();
                undo();
                undone.push_back(double(clock.nsecsElapsed()) / 1000.0);
                clock.start();
                redo();
                redone.push_back(double(clock.nsecsElapsed()) / 1000.0);
            }
            BenchFigures::of(undone).print(
                qPrintable(QStringLiteral("undo %1, %2").arg(step, how)));
            BenchFigures::of(redone).print(
                qPrintable(QStringLiteral("redo %1, %2").arg(step, how)));
        };
        inTurn(
            "with redraw", [&] { f.mnuundo_Click(); }, [&] { f.mnuredo_Click(); });
        inTurn(
            "table only", [&] { f.history().undo(); }, [&] { f.history().redo(); });
    };
    // Half the dots of the glyph set, at random, then Fil: a 32 x 32 step.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            CharTable::setPixel(f.store().pageForWrite(0), cell + QPoint(x, y),
                                random.bounded(2) ? CharTable::SetColour : CharTable::ClearColour);
    f.CommandFill_Click();
    undoRedo("Fil, 32 x 32");
    // AllFil over a table with half of every glyph's dots set.
    for (int y = 0; y < CharTable::Size; ++y)
        for (int x = 0; x < CharTable::Size; ++x)
            if (random.bounded(2))
                CharTable::setPixel(f.store().pageForWrite(0), QPoint(x, y), CharTable::SetColour);
    prompt.yes = true;
    f.CommandAllFill_Click();
    prompt.yes = false;
    undoRedo("AllFil");
    std::printf("%-52s %10lld bytes in %d steps\n", "history", qlonglong(f.history().bytes()),
                f.history().count());

    // The preview of an 80-character line at 32 x 32 dots, its window large enough for all
    // three scales: one dot painted, the line set again, the view repainted.
    f.mnupreview_Click();
    PreviewWindow& preview = *f.preview();
    preview.resize(1200, 400);
    preview.TextSample->setText(QStringLiteral("ABCDEFGHIJ").repeated(8));
    QApplication::processEvents();
    const QPointF dot = dotCentre(f, 5, 5);
    const auto paintDot = [&](int i) {
        f.putDot(i % 2 ? 2 : 1, 0, float(dot.x()), float(dot.y()));
        f.PictureDOT_MouseUp(0, 0, float(dot.x()), float(dot.y()));
    };
    BenchFigures::measure(runs, paintDot).print("dot painted, preview line set again");
    BenchFigures::measure(runs, [&](int i) {
        paintDot(i);
        preview.PictureLine->repaint();
    }).print("dot painted, preview repainted (1x, 2x, 4x)");
    std::printf("%-52s %d x %d pixels\n", "preview line at 4x",
                preview.PictureLine->lineRect(4).width(),
                preview.PictureLine->lineRect(4).height());
    return 0;
}

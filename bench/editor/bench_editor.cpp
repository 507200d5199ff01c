// Prints the cost of the editor's redraw and of painting one dot.
//
//   <build>/bin/bench_editor [runs]
//
// Runs headless on the offscreen platform unless a platform is chosen.  The window is shown,
// so the figures include the repaint of the canvas that drawGrid lets run.

#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSlider>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Nothing here asks a question; a stray one must not block the run.
class SilentPrompt : public Prompt
{
public:
    void inform(const QString&) override {}
    bool ask(const QString&, bool) override { return false; }
};

// No font server: the code box's change handling reaches none, so only the editor is timed.
class NoServer : public AutomationHost
{
public:
    AutomationPtr getObject(const QString&) override { return {}; }
    AutomationPtr createObject(const QString&) override { return {}; }
};

struct Figures
{
    double median;
    double p90;
    double min;
};

Figures measure(int runs, const std::function<void(int)>& work)
{
    std::vector<double> us;
    us.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work(i);
        us.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 9 / 10], us.front()};
}

void print(const char* what, int runs, const Figures& f)
{
    std::printf("%-52s median %8.1f us   p90 %8.1f us   min %8.1f us   (%d runs)\n", what, f.median,
                f.p90, f.min, runs);
}

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
                CharTable::setPixel(f.PictureBuf->image(), cell + QPoint(x, y),
                                    CharTable::SetColour);
    f.bRedraw = true;
    f.drawGrid();
    std::printf("32 x 32 dots, pitch %d, code %d\n", f.nX, f.char_);

    print("drawGrid, full redraw (bRedraw), window shown", runs, measure(runs, [&](int) {
              f.bRedraw = true;
              f.drawGrid();
          }));
    print("drawGrid, dots only", runs, measure(runs, [&](int) { f.drawGrid(); }));
    // The same without the window on screen: the redraw's own work, no repaint.
    f.hide();
    print("drawGrid, full redraw, window hidden", runs, measure(runs, [&](int) {
              f.bRedraw = true;
              f.drawGrid();
          }));
    f.show();
    QApplication::processEvents();

    // A drag that paints at every report: the left button over the dots in turn, then the
    // right button over them again, so that each call changes one dot.
    CharTable::clearAll(f.PictureBuf->image());
    f.drawGrid();
    auto dragStep = [&](int i) {
        const int dot = i % 1024;
        const qint16 button = (i / 1024) % 2 ? 2 : 1;
        const QPointF p = dotCentre(f, dot % 32, dot / 32);
        f.putDot(button, 0, float(p.x()), float(p.y()));
    };
    const int dragRuns = std::max(runs, 2048);
    print("putDot, painting drag (one dot changes)", dragRuns, measure(dragRuns, dragStep));
    print("putDot, Ctrl 3 x 3 block", dragRuns, measure(dragRuns, [&](int i) {
              const int dot = i % 1024;
              const qint16 button = (i / 1024) % 2 ? 2 : 1;
              const QPointF p = dotCentre(f, dot % 32, dot / 32);
              f.putDot(button, 2, float(p.x()), float(p.y()));
          }));

    // The same drag as the window system delivers it: a mouse move event with the left
    // button held, through Qt's event dispatch to the canvas and on to putDot.
    CharTable::clearAll(f.PictureBuf->image());
    f.drawGrid();
    print("mouse move with the button held (event to putDot)", dragRuns,
          measure(dragRuns, [&](int i) {
              const int dot = i % 1024;
              const bool right = (i / 1024) % 2;
              const Qt::MouseButton held = right ? Qt::RightButton : Qt::LeftButton;
              const QPointF p = dotCentre(f, dot % 32, dot / 32);
              QMouseEvent move(QEvent::MouseMove, p, f.PictureDOT->mapToGlobal(p), Qt::NoButton,
                               held, Qt::NoModifier);
              QApplication::sendEvent(f.PictureDOT, &move);
          }));
    // Let the queued repaints of the canvas and the table run once, as the event loop would.
    QElapsedTimer paint;
    paint.start();
    QApplication::processEvents();
    std::printf("%-52s %8.1f us\n", "repaint after the drag",
                double(paint.nsecsElapsed()) / 1000.0);
    return 0;
}

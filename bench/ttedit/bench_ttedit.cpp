// Prints the cost of the automation bridge and of the glyph bitmap writer.
//
//   dbus-run-session -- <build>/bin/bench_ttedit
//
// The font server is attached, activated or started from the program's folder as the editor
// does it; the bitmap figures need no bus.

#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"
#include "ttedit/DotsBitmap.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double median;
    double p90;
    double min;
};

Figures measure(int runs, const std::function<void()>& work)
{
    std::vector<double> us;
    us.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        us.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 9 / 10], us.front()};
}

void print(const char* what, int runs, const Figures& f)
{
    std::printf("%-44s median %9.1f us   p90 %9.1f us   min %9.1f us   (%d runs)\n", what, f.median,
                f.p90, f.min, runs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    QImage canvas(482, 482, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QRandomGenerator random(1);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (random.bounded(2))
                canvas.setPixel(x, y, qRgb(0, 0, 0));

    constexpr int encodeRuns = 500;
    QByteArray sink;
    print("encode 482 x 482 canvas", encodeRuns,
          measure(encodeRuns, [&] { sink = DotsBitmap::encode(canvas); }));
    QTemporaryDir dir;
    const QString file = dir.filePath("ptl_dots.bmp");
    print("saveDotsBmp 482 x 482 canvas", encodeRuns,
          measure(encodeRuns, [&] { DotsBitmap::saveDotsBmp(file, canvas); }));

    DBusAutomationHost host;
    const QString progId = QStringLiteral("TTEdit.Application");
    AutomationPtr server = host.getObject(progId);
    if (!server) {
        QElapsedTimer clock;
        clock.start();
        server = host.createObject(progId);
        if (!server) {
            std::printf("no font server (%s): bus figures skipped\n", qPrintable(host.lastError()));
            return 0;
        }
        std::printf("%-44s %9.1f ms (once)\n", "createObject (server start)",
                    double(clock.nsecsElapsed()) / 1e6);
    }
    AutomationPtr doc = AutomationObject::toObject(server->call("ActiveDocument"));
    if (!doc)
        doc = AutomationObject::toObject(
            server->call("NewFile", {QVariant::fromValue(qint16(1)), true}));
    if (!doc) {
        std::printf("no font document: call figures skipped\n");
        return 0;
    }

    constexpr int callRuns = 2000;
    print("getObject (name owner on the bus)", callRuns,
          measure(callRuns, [&] { host.getObject(progId); }));
    const QVariantList getcodeArgs{QVariant::fromValue(qint16(0)), false};
    print("getcode round trip", callRuns,
          measure(callRuns, [&] { doc->call("getcode", getcodeArgs); }));
    const QVariantList setcodeArgs{QVariant::fromValue(qint16(0)), 65, false};
    print("setcode round trip", callRuns,
          measure(callRuns, [&] { doc->call("setcode", setcodeArgs); }));
    print("getObject + ActiveDocument + getcode", callRuns, measure(callRuns, [&] {
              const AutomationPtr a = host.getObject(progId);
              const AutomationPtr d = AutomationObject::toObject(a->call("ActiveDocument"));
              d->call("getcode", getcodeArgs);
          }));
    return 0;
}

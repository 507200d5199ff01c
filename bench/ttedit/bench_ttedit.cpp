// Prints the cost of the automation bridge and of the glyph bitmap writer.
//
//   dbus-run-session -- <build>/bin/bench_ttedit
//
// The font server is attached, activated or started from the program's folder as the editor
// does it; the bitmap figures need no bus.

#include "BenchFigures.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"
#include "ttedit/DotsBitmap.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

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
    BenchFigures::measure(encodeRuns, [&] {
        sink = DotsBitmap::encode(canvas);
    }).print("encode 482 x 482 canvas");
    QTemporaryDir dir;
    const QString file = dir.filePath("ptl_dots.bmp");
    BenchFigures::measure(encodeRuns, [&] {
        DotsBitmap::saveDotsBmp(file, canvas);
    }).print("saveDotsBmp 482 x 482 canvas");

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
        std::printf("%-52s %10.2f ms (once)\n", "createObject (server start)",
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
    BenchFigures::measure(callRuns, [&] {
        host.getObject(progId);
    }).print("getObject (name owner on the bus)");
    const QVariantList getcodeArgs{QVariant::fromValue(qint16(0)), false};
    BenchFigures::measure(callRuns, [&] {
        doc->call("getcode", getcodeArgs);
    }).print("getcode round trip");
    const QVariantList setcodeArgs{QVariant::fromValue(qint16(0)), 65, false};
    BenchFigures::measure(callRuns, [&] {
        doc->call("setcode", setcodeArgs);
    }).print("setcode round trip");
    BenchFigures::measure(callRuns, [&] {
        const AutomationPtr a = host.getObject(progId);
        const AutomationPtr d = AutomationObject::toObject(a->call("ActiveDocument"));
        d->call("getcode", getcodeArgs);
    }).print("getObject + ActiveDocument + getcode");
    return 0;
}

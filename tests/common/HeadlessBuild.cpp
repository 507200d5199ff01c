#include "common/HeadlessBuild.h"

#include "chartable/CharTable.h"
#include "common/TestFontServer.h"

#include <QProcess>
#include <QRandomGenerator>

HeadlessBuild::Result HeadlessBuild::run(const QStringList& arguments,
                                         const QProcessEnvironment& extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                             "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "SOURCE_DATE_EPOCH"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(extra);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(TestFontServer::program(), arguments);
    Result result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QImage HeadlessBuild::randomTable(quint32 seed, int dotsX, int dotsY)
{
    QImage table = CharTable::blank();
    QRandomGenerator random(seed);
    for (int code = 32; code < 256; ++code) {
        const QPoint cell = CharTable::cellOrigin(code);
        for (int y = 0; y < dotsY; ++y) {
            for (int x = 0; x < dotsX; ++x) {
                if (random.bounded(100) < 45)
                    CharTable::setPixel(table, cell + QPoint(x, y), CharTable::SetColour);
            }
        }
    }
    return table;
}

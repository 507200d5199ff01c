#pragma once

#include "fontd/TableBuild.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The command line of pointillo-fontd, read before any Qt application object exists (whether
// the program may open a window decides which application class it creates):
//   pointillo-fontd [--headless] [FILE.ttf]
//   pointillo-fontd --build SOURCE [--build SOURCE ...] [--dots WxH] [--size PERCENT] [--square]
//                   [--lsb N --rsb N] [--kind western|japanese] [--family NAME]
//                   -o OUT.ttf|OUT.woff2
// where a SOURCE is a character table (TABLE.bmp, which needs --dots) or a bitmap font.
class LaunchOptions
{
    Q_DECLARE_TR_FUNCTIONS(LaunchOptions)

public:
    // arguments includes the program name first, like argv.
    static LaunchOptions parse(const QStringList& arguments,
                               const QProcessEnvironment& environment);
    // The command line as main() receives it, before any Qt application object exists.
    static QStringList arguments(int argc, char** argv);

    // True when Qt can reach a display with the platform the environment selects: offscreen
    // and minimal never show anything, xcb needs DISPLAY, wayland needs WAYLAND_DISPLAY.
    static bool displayAvailable(const QProcessEnvironment& environment);

    // The QT_QPA_PLATFORM to start a windowed server with: the chosen platform followed by
    // offscreen, so that a display that cannot be opened after all (a stale DISPLAY in the
    // bus's activation environment) leaves a server without a window instead of an abort.
    static QString platformWithFallback(const QProcessEnvironment& environment);

    static QString usage();

    bool headless = false; // no window: --headless, or no display to show one on
    QString fileName;      // the font to open at start, empty for none
    // --build: a font from character tables and bitmap fonts, then the end; no window, no bus.
    TableBuild::Request build; // no sources: the server runs
    bool help = false;
    bool version = false;
    QString error; // a usage error; the program prints it with the usage and ends
};

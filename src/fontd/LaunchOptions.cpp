#include "fontd/LaunchOptions.h"

LaunchOptions LaunchOptions::parse(const QStringList& arguments,
                                   const QProcessEnvironment& environment)
{
    LaunchOptions options;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (argument == QLatin1String("--"))
                optionsEnded = true;
            else if (argument == QLatin1String("--headless"))
                options.headless = true;
            else if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
                options.help = true;
            else if (argument == QLatin1String("--version"))
                options.version = true;
            else if (options.error.isEmpty())
                options.error = QStringLiteral("unknown option %1").arg(argument);
            continue;
        }
        if (!options.fileName.isEmpty()) {
            if (options.error.isEmpty())
                options.error = QStringLiteral("only one font file can be opened at start");
            continue;
        }
        options.fileName = argument;
    }
    if (!displayAvailable(environment))
        options.headless = true;
    return options;
}

bool LaunchOptions::displayAvailable(const QProcessEnvironment& environment)
{
    // QT_QPA_PLATFORM may list fallbacks ("xcb;offscreen") and carry options ("xcb:foo=1");
    // the first platform decides.
    QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM")).trimmed();
    platform = platform.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty();
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (platform.isEmpty())
        return x11 || wayland;
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    if (platform == QLatin1String("xcb"))
        return x11;
    if (platform.startsWith(QLatin1String("wayland")))
        return wayland;
    // vnc, eglfs, linuxfb and the like bring their own screen.
    return true;
}

QString LaunchOptions::platformWithFallback(const QProcessEnvironment& environment)
{
    const QString offscreen = QStringLiteral("offscreen");
    QString platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM")).trimmed();
    if (platforms.isEmpty()) {
        platforms = environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
                        ? QStringLiteral("xcb")
                        : QStringLiteral("wayland;xcb");
    }
    for (const QString& platform : platforms.split(QLatin1Char(';')))
        if (platform.section(QLatin1Char(':'), 0, 0) == offscreen)
            return platforms;
    return platforms + QLatin1Char(';') + offscreen;
}

QString LaunchOptions::usage()
{
    return QStringLiteral(
        "Usage: pointillo-fontd [--headless] [FILE.ttf]\n"
        "The TrueType font document server behind the TTEdit.Application D-Bus interface.\n"
        "\n"
        "  --headless   run without a window (also the case when there is no display)\n"
        "  --version    print the version and end\n"
        "  -h, --help   print this help and end\n"
        "  FILE.ttf     open this font at start\n");
}

#include "fontd/LaunchOptions.h"

#include "codes/NumericText.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The options of --build that take a value, and the flag among them.
const QStringList buildValueOptions = {
    QStringLiteral("--build"),  QStringLiteral("--dots"), QStringLiteral("--size"),
    QStringLiteral("--lsb"),    QStringLiteral("--rsb"),  QStringLiteral("--kind"),
    QStringLiteral("--family"), QStringLiteral("-o"),     QStringLiteral("--output")};

// Reads the value of a --build option into options; returns an error or an empty string.
QString takeBuildValue(LaunchOptions& options, const QString& option, const QString& value,
                       bool* lsbGiven, bool* rsbGiven)
{
    TableBuild::Settings& b = options.build.settings;
    if (option == u"--build") {
        options.build.sources.append(value);
    } else if (option == u"-o" || option == u"--output") {
        options.build.output = value;
    } else if (option == u"--dots") {
        static const QRegularExpression dots(QStringLiteral("^(\\d{1,3})[xX](\\d{1,3})$"));
        const QRegularExpressionMatch m = dots.match(value);
        if (!m.hasMatch())
            return LaunchOptions::tr("--dots takes WIDTHxHEIGHT in dots, such as 12x20, not \"%1\"")
                .arg(value);
        b.dotsX = m.captured(1).toInt();
        b.dotsY = m.captured(2).toInt();
    } else if (option == u"--size") {
        bool ok = false;
        b.sizePercent = value.toInt(&ok);
        if (!ok)
            return LaunchOptions::tr("--size takes a whole percentage, not \"%1\"").arg(value);
    } else if (option == u"--lsb" || option == u"--rsb") {
        // As the editor reads its side-bearing boxes: halves round to the even neighbour.
        bool ok = false;
        const double number = value.toDouble(&ok);
        const std::optional<qint16> units = ok ? NumericText::toInt16(number) : std::nullopt;
        if (!units)
            return LaunchOptions::tr("%1 takes font units from -32768 to 32767, not \"%2\"")
                .arg(option, value);
        (option == u"--lsb" ? b.lsb : b.rsb) = *units;
        *(option == u"--lsb" ? lsbGiven : rsbGiven) = true;
    } else if (option == u"--kind") {
        if (value.compare(u"western", Qt::CaseInsensitive) == 0)
            b.kind = FontDocument::Western;
        else if (value.compare(u"japanese", Qt::CaseInsensitive) == 0)
            b.kind = FontDocument::Japanese;
        else
            return LaunchOptions::tr("--kind takes western or japanese, not \"%1\"").arg(value);
    } else if (option == u"--family") {
        if (value.trimmed().isEmpty())
            return LaunchOptions::tr("--family needs a name");
        b.family = value;
    }
    return {};
}

} // namespace

QStringList LaunchOptions::arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

LaunchOptions LaunchOptions::parse(const QStringList& arguments,
                                   const QProcessEnvironment& environment)
{
    LaunchOptions options;
    const auto error = [&options](const QString& message) {
        if (options.error.isEmpty())
            options.error = message;
    };
    bool optionsEnded = false;
    bool buildOptions = false, dotsGiven = false, kindGiven = false;
    bool lsbGiven = false, rsbGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            // --option=value, or --option value.
            const QString option = argument.section(QLatin1Char('='), 0, 0);
            if (buildValueOptions.contains(option)) {
                QString value;
                if (option != argument) {
                    value = argument.mid(option.size() + 1);
                } else if (i + 1 < arguments.size()) {
                    value = arguments.at(++i);
                } else {
                    error(tr("%1 needs a value").arg(option));
                    continue;
                }
                buildOptions = buildOptions || option != u"--build";
                dotsGiven = dotsGiven || option == u"--dots";
                kindGiven = kindGiven || option == u"--kind";
                error(takeBuildValue(options, option, value, &lsbGiven, &rsbGiven));
            } else if (argument == QLatin1String("--square")) {
                options.build.settings.square = true;
                buildOptions = true;
            } else if (argument == QLatin1String("--"))
                optionsEnded = true;
            else if (argument == QLatin1String("--headless"))
                options.headless = true;
            else if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
                options.help = true;
            else if (argument == QLatin1String("--version"))
                options.version = true;
            else
                error(tr("unknown option %1").arg(argument));
            continue;
        }
        if (!options.fileName.isEmpty()) {
            error(tr("only one font file can be opened at start"));
            continue;
        }
        options.fileName = argument;
    }
    TableBuild::Request& build = options.build;
    if (build.sources.isEmpty()) {
        if (buildOptions)
            error(tr("--dots, --size, --square, --lsb, --rsb, --kind, --family and "
                     "-o go with --build"));
    } else {
        build.settings.sideBearings = lsbGiven || rsbGiven;
        build.dotsGiven = dotsGiven;
        build.kindGiven = kindGiven;
        // A font brings its glyph size, a table does not.
        const bool tables = std::any_of(build.sources.begin(), build.sources.end(),
                                        [](const QString& s) { return TableBuild::isTable(s); });
        if (!options.fileName.isEmpty())
            error(tr("--build opens no font file (%1)").arg(options.fileName));
        else if (tables && !dotsGiven)
            error(tr("--build needs --dots WIDTHxHEIGHT for a character table"));
        else if (build.output.isEmpty())
            error(tr("--build needs -o OUTPUT.ttf or OUTPUT.woff2"));
        else if (lsbGiven != rsbGiven)
            error(tr("--lsb and --rsb go together"));
        else
            error(TableBuild::check(build.settings));
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
    return tr("Usage: pointillo-fontd [--headless] [FILE.ttf|FILE.woff2]\n"
              "       pointillo-fontd --build SOURCE [--build SOURCE ...] [--dots WxH]\n"
              "                       [--size PERCENT] [--square] [--lsb N --rsb N]\n"
              "                       [--kind western|japanese] [--family NAME]\n"
              "                       -o OUT.ttf|OUT.woff2\n"
              "The TrueType font document server behind the TTEdit.Application D-Bus interface.\n"
              "\n"
              "  --headless   run without a window (also the case when there is no display)\n"
              "  --version    print the version and end\n"
              "  -h, --help   print this help and end\n"
              "  FILE         open this font at start\n"
              "\n"
              "--build makes a font, without a window or a bus, and ends.  A SOURCE is a\n"
              "character table (TABLE.bmp: the editor's batch export of the codes 32 to 255)\n"
              "or a bitmap font (BDF or PCF, also gzipped); of two sources with a glyph for\n"
              "one code the later one's is taken:\n"
              "  --dots WxH        glyph size in dots, 3 to 32 each way; needed with a table,\n"
              "                    else the fonts' own (the box that holds them all)\n"
              "  --size PERCENT    exported dot size in percent of the dot pitch (default 100)\n"
              "  --square          square dot cells (always, for fonts alone)\n"
              "  --lsb N --rsb N   side bearings in font units\n"
              "  --kind KIND       western or japanese (with a table, its single-byte codes\n"
              "                    and the double-byte ones of TABLE.82.bmp... beside it); by\n"
              "                    default the fonts' registries decide, else western\n"
              "  --family NAME     the family name (default: the output file's name)\n"
              "  -o FILE           the font to write: WOFF2 when it ends in .woff2, else TrueType\n"
              "The font's dates come from SOURCE_DATE_EPOCH when it is set, else from the newest\n"
              "source's modification time.\n");
}

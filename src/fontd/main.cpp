// pointillo-fontd as it is run: the command line's own runs (a build, the help, a usage
// error) here, and every other run handed over to the font server's program.  So a build
// starts without the server's libraries (Qt Widgets) and without looking for a display or a
// bus.

#include "fontd/HandOver.h"
#include "fontd/LaunchOptions.h"
#include "fontd/TableBuild.h"
#include "i18n/UiLanguage.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
void printError(const QString& message)
{
    std::fprintf(stderr, "pointillo-fontd: %s\n", qUtf8Printable(message));
}

// The runs that end at the command line: a usage error, the help, else a build.
int commandLine(const LaunchOptions& options)
{
    if (!options.error.isEmpty()) {
        printError(options.error);
        std::fputs(qUtf8Printable(LaunchOptions::usage()), stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(qUtf8Printable(LaunchOptions::usage()), stdout);
        return 0;
    }
    QString summary, error;
    QStringList notes;
    const bool built = TableBuild::run(options.build, QProcessEnvironment::systemEnvironment(),
                                       &summary, &notes, &error);
    for (const QString& note : notes)
        printError(note);
    if (!built) {
        printError(error);
        return 1;
    }
    std::printf("%s\n", qUtf8Printable(summary));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList arguments = LaunchOptions::arguments(argc, argv);
    const LaunchOptions options =
        LaunchOptions::parse(arguments, QProcessEnvironment::systemEnvironment());
    // A usage error, the help or a build needs neither a display nor a bus, only the user's
    // language.  A build's table is a BMP, which Qt reads without plugins: looking through the
    // image plugins first would take longer than building the font.
    if (!options.error.isEmpty() || options.help || !options.build.sources.isEmpty()) {
        QCoreApplication::setLibraryPaths({});
        QCoreApplication app(argc, argv);
        UiLanguage::install(app);
        // Read again, so that its texts are in that language.
        return commandLine(
            LaunchOptions::parse(arguments, QProcessEnvironment::systemEnvironment()));
    }

    if (options.version) {
        std::printf("pointillo-fontd %s\n", POINTILLO_VERSION);
        return 0;
    }
    // Every other run is the server's: its own program, in this process.
    printError(
        HandOver::exec(HandOver::programPath(QStringLiteral(POINTILLO_SERVER_PROGRAM)), argv));
    return 1;
}

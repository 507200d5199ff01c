// The font server of pointillo-fontd, which the program hands every run over to but the
// command line's own (see main.cpp): the TrueType font document server behind
// TTEdit.Application.  The session bus starts it directly.

#include "fontd/DocumentObject.h"
#include "fontd/FontServer.h"
#include "fontd/FontWindow.h"
#include "fontd/HandOver.h"
#include "fontd/LaunchOptions.h"
#include "fontd/SignalWatcher.h"
#include "i18n/UiLanguage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {
void printError(const QString& message)
{
    std::fprintf(stderr, "pointillo-fontd: %s\n", qUtf8Printable(message));
}
} // namespace

int main(int argc, char* argv[])
{
    const QStringList arguments = LaunchOptions::arguments(argc, argv);
    const LaunchOptions options =
        LaunchOptions::parse(arguments, QProcessEnvironment::systemEnvironment());
    // Started by its own path with what is not a server's run: the command line does that.
    if (!options.error.isEmpty() || options.help || options.version ||
        !options.build.sources.isEmpty()) {
        printError(
            HandOver::exec(HandOver::programPath(QStringLiteral(POINTILLO_COMMAND_PROGRAM)), argv));
        return 1;
    }

    // Without a display QApplication would abort trying to open one.
    bool headless = options.headless;
    std::unique_ptr<QCoreApplication> app;
    if (headless) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        qputenv("QT_QPA_PLATFORM",
                LaunchOptions::platformWithFallback(QProcessEnvironment::systemEnvironment())
                    .toLocal8Bit());
        app = std::make_unique<QApplication>(argc, argv);
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            qCInfo(lcFontd) << "no display could be opened; running without a window";
            headless = true;
        }
    }
    UiLanguage::install(*app);
    QCoreApplication::setApplicationName(QStringLiteral("pointillo-fontd"));
    QCoreApplication::setApplicationVersion(QStringLiteral(POINTILLO_VERSION));
    // Read the font before touching the bus: a file that cannot be read ends the program
    // without ever claiming the name.
    std::unique_ptr<FontDocument> initial;
    if (!options.fileName.isEmpty()) {
        QString error;
        initial = FontDocument::open(options.fileName, &error);
        if (!initial) {
            printError(QCoreApplication::translate("main", "cannot open %1: %2")
                           .arg(options.fileName, error));
            return 1;
        }
    }

    FontServer server(QDBusConnection::sessionBus());
    QString error;
    if (!server.registerObjects(&error)) {
        printError(error);
        return 1;
    }
    if (initial && !server.addDocument(std::move(initial), &error)) {
        printError(error);
        return 1;
    }
    // Last, so that a client woken by the name finds every object in place.
    if (!server.claimServiceName(&error)) {
        printError(error);
        return 1;
    }

    SignalWatcher watcher;
    if (!watcher.watch({SIGTERM, SIGINT}, &error)) {
        printError(error);
        return 1;
    }
    QObject::connect(&watcher, &SignalWatcher::signalled, app.get(), [](int signalNumber) {
        qCInfo(lcFontd) << "signal" << signalNumber << "received; ending";
        QCoreApplication::quit();
    });
    QObject::connect(&server, &FontServer::quitRequested, app.get(), &QCoreApplication::quit);
    QObject::connect(&server, &FontServer::connectionLost, app.get(), &QCoreApplication::quit);

    std::unique_ptr<FontWindow> window;
    if (!headless) {
        window = std::make_unique<FontWindow>(server);
        FontWindow* shown = window.get();
        server.setWindowIdSource([shown] { return qint32(quint32(shown->winId())); });
        window->show();
    }

    const int status = app->exec();
    server.setWindowIdSource({});
    window.reset();
    return status;
}

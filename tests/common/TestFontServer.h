#pragma once

#include <QDBusConnection>
#include <QString>

// The real pointillo-fontd as the tests find it on their session bus and end it.
class TestFontServer
{
public:
    // The name the editor knows the server by, on the bus and as its ProgID.
    static QString progId();
    // The built program: $POINTILLO_BIN_DIR/pointillo-fontd.
    static QString program();

    // The process behind a connection name, as the bus tells it; 0 when the bus does not know it.
    static qint64 pidOf(const QString& service,
                        const QDBusConnection& bus = QDBusConnection::sessionBus());
    // Waits up to 10 s until no process owns the server's name; false when one still does.
    static bool waitForNoServer(const QDBusConnection& bus = QDBusConnection::sessionBus());
    // Ends the server that owns the name, if one does: Quit, then SIGKILL when it does not go.
    // True when no server is left.
    static bool stop(const QDBusConnection& bus = QDBusConnection::sessionBus());
};

#include "common/TestFontServer.h"

#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DBusAutomationObject.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

#include <csignal>

QString TestFontServer::progId()
{
    return QStringLiteral("TTEdit.Application");
}

QString TestFontServer::program()
{
    return qEnvironmentVariable("POINTILLO_BIN_DIR") + QStringLiteral("/pointillo-fontd");
}

qint64 TestFontServer::pidOf(const QString& service, const QDBusConnection& bus)
{
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    m << service;
    const QDBusMessage reply = bus.call(m, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toLongLong() : 0;
}

bool TestFontServer::waitForNoServer(const QDBusConnection& bus)
{
    DBusAutomationHost host(bus);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (!host.getObject(progId()))
            return true;
        QThread::msleep(10);
    }
    return false;
}

bool TestFontServer::stop(const QDBusConnection& bus)
{
    DBusAutomationHost host(bus);
    const AutomationPtr app = host.getObject(progId());
    if (!app)
        return true;
    app->call(QStringLiteral("Quit"));
    if (waitForNoServer(bus))
        return true;
    // Never kill(0): that would be this test's whole process group.
    const qint64 pid = pidOf(std::static_pointer_cast<DBusAutomationObject>(app)->service(), bus);
    if (pid > 0)
        ::kill(pid_t(pid), SIGKILL);
    return waitForNoServer(bus);
}

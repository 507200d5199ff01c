#include "ttedit/DBusAutomationHost.h"

#include "ttedit/DBusAutomationObject.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace {

const QString busService = QStringLiteral("org.freedesktop.DBus");
const QString busPath = QStringLiteral("/org/freedesktop/DBus");
const QString busInterface = QStringLiteral("org.freedesktop.DBus");

// StartServiceByName's answers.
constexpr uint startReplySuccess = 1;
constexpr uint startReplyAlreadyRunning = 2;

// How often the bus is asked for a started program's name.
constexpr int startPollMs = 5;

} // namespace

DBusAutomationHost::DBusAutomationHost(const QDBusConnection& connection, const QString& programDir)
    : m_connection(connection)
    , m_programDir(programDir)
{
    addServer(QStringLiteral("TTEdit.Application"),
              {QStringLiteral("TTEdit.Application"), QStringLiteral("/Application"),
               QStringLiteral("TTEdit.Application"), QStringLiteral("TTEdit.Document"),
               QStringLiteral("pointillo-fontd")});
}

void DBusAutomationHost::addServer(const QString& progId, const Server& server)
{
    m_servers.insert(progId, server);
}

QString DBusAutomationHost::programDir() const
{
    return m_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_programDir;
}

const DBusAutomationHost::Server* DBusAutomationHost::serverOf(const QString& progId)
{
    m_lastError.clear();
    const auto it = m_servers.constFind(progId);
    if (it == m_servers.constEnd()) {
        m_lastError = tr("unknown ProgID %1").arg(progId);
        return nullptr;
    }
    return &*it;
}

AutomationPtr DBusAutomationHost::getObject(const QString& progId)
{
    const Server* server = serverOf(progId);
    if (!server)
        return {};
    const QString owner = nameOwner(server->busName);
    if (owner.isEmpty()) {
        m_lastError = tr("%1 is not running").arg(server->busName);
        return {};
    }
    return objectOf(*server, owner);
}

AutomationPtr DBusAutomationHost::attach(const QString& progId, const QList<AutomationCall>& calls,
                                         QList<std::optional<QVariant>>* answers)
{
    *answers = QList<std::optional<QVariant>>(calls.size());
    const Server* server = serverOf(progId);
    if (!server)
        return {};
    QDBusMessage question =
        QDBusMessage::createMethodCall(busService, busPath, busInterface, "GetNameOwner");
    question << server->busName;
    QDBusPendingCall owner = m_connection.asyncCall(question, BusTimeoutMs);
    DBusAutomationObject byName(m_connection, server->busName, server->objectPath,
                                server->interface, server->objectInterface);
    byName.setAutoStart(false);
    QList<QDBusPendingCall> pending;
    for (const AutomationCall& c : calls)
        pending.append(byName.sendMessage(c));
    owner.waitForFinished();
    const QDBusMessage ownerReply = owner.reply();
    const QString ownerName =
        ownerReply.type() == QDBusMessage::ReplyMessage && ownerReply.arguments().size() == 1
            ? ownerReply.arguments().first().toString()
            : QString();
    for (qsizetype i = 0; i < calls.size(); ++i) {
        pending[i].waitForFinished();
        const QDBusMessage reply = pending[i].reply();
        if (!ownerName.isEmpty() && reply.service() == ownerName)
            (*answers)[i] = byName.decode(calls[i].member, reply);
    }
    if (ownerName.isEmpty()) {
        m_lastError = tr("%1 is not running").arg(server->busName);
        return {};
    }
    return objectOf(*server, ownerName);
}

AutomationPtr DBusAutomationHost::createObject(const QString& progId)
{
    const Server* server = serverOf(progId);
    if (!server)
        return {};
    bool unknownToBus = false;
    if (!activate(*server, &unknownToBus) && !(unknownToBus && startProgram(*server))) {
        qCWarning(lcAutomation) << "cannot start" << server->busName << ":" << m_lastError;
        return {};
    }
    const QString owner = nameOwner(server->busName);
    if (owner.isEmpty()) {
        m_lastError = tr("%1 ended right after its start").arg(server->busName);
        return {};
    }
    m_lastError.clear();
    return objectOf(*server, owner);
}

QString DBusAutomationHost::nameOwner(const QString& busName) const
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(busService, busPath, busInterface, "GetNameOwner");
    message << busName;
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, BusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return {};
    return reply.arguments().first().toString();
}

AutomationPtr DBusAutomationHost::objectOf(const Server& server, const QString& owner) const
{
    return std::make_shared<DBusAutomationObject>(m_connection, owner, server.objectPath,
                                                  server.interface, server.objectInterface);
}

bool DBusAutomationHost::activate(const Server& server, bool* unknownToBus)
{
    *unknownToBus = false;
    if (!m_connection.isConnected()) {
        m_lastError = tr("no D-Bus session: %1").arg(m_connection.lastError().message());
        return false;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(busService, busPath, busInterface, "StartServiceByName");
    message << server.busName << 0u;
    // The bus answers once the started server owns the name.
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, StartTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        const uint answer = reply.arguments().value(0).toUInt();
        if (answer == startReplySuccess || answer == startReplyAlreadyRunning)
            return true;
        m_lastError = tr("unexpected activation answer %1").arg(answer);
        return false;
    }
    m_lastError = reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
    // A server that is still starting must not get a twin; any other failure (no service
    // file, a service file whose program is missing) leaves the program directory to try.
    const QDBusError::ErrorType type = QDBusError(reply).type();
    *unknownToBus = type != QDBusError::NoReply && type != QDBusError::Timeout &&
                    type != QDBusError::TimedOut && type != QDBusError::Disconnected;
    return false;
}

bool DBusAutomationHost::startProgram(const Server& server)
{
    // A folder Qt cannot name comes back empty: the name would run whatever program of that
    // name the current folder holds.
    if (QDir::isRelativePath(programDir())) {
        m_lastError =
            tr("%1 is not activatable and the program's folder has no name").arg(server.busName);
        return false;
    }
    const QString program = QDir(programDir()).filePath(server.program);
    if (!QFileInfo(program).isExecutable()) {
        m_lastError = tr("%1 is not activatable and %2 is not there").arg(server.busName, program);
        return false;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, {}, QString(), &pid)) {
        m_lastError = tr("cannot run %1").arg(program);
        return false;
    }
    qCInfo(lcAutomation) << "started" << program << "pid" << pid;

    // Polled without an event loop, so that no window event runs in between.
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (!nameOwner(server.busName).isEmpty())
            return true;
        // A program that ends at once (another instance won the name, a broken install)
        // need not be waited for.
        if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
            if (!nameOwner(server.busName).isEmpty())
                return true;
            m_lastError = tr("%1 ended without taking %2").arg(program, server.busName);
            return false;
        }
        QThread::msleep(startPollMs);
    }
    m_lastError =
        tr("%1 did not take %2 within %3 ms").arg(program, server.busName).arg(StartTimeoutMs);
    return false;
}

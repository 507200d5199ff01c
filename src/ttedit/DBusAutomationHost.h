#pragma once

#include "ttedit/AutomationObject.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QHash>

// Automation objects over D-Bus.  A ProgID names a well-known bus name and the object path and
// interface of its application object; "TTEdit.Application" is known from the start and is
// served by pointillo-fontd.
class DBusAutomationHost : public AutomationHost
{
    Q_DECLARE_TR_FUNCTIONS(DBusAutomationHost)

public:
    struct Server
    {
        QString busName;
        QString objectPath;
        QString interface;
        // The interface of the objects that members answer as object paths.
        QString objectInterface;
        // The program started from programDir() when the bus cannot activate busName.
        QString program;
    };

    // How long a question to the bus itself may take; it answers at once unless it is gone.
    static constexpr int BusTimeoutMs = 1000;
    // How long a server may take from its start until its name appears on the bus.
    static constexpr int StartTimeoutMs = 5000;

    // programDir empty: the folder of the running program, read when a server is started.
    explicit DBusAutomationHost(const QDBusConnection& connection = QDBusConnection::sessionBus(),
                                const QString& programDir = QString());

    void addServer(const QString& progId, const Server& server);

    // The application object of the server that owns the ProgID's bus name now, or null when
    // the name has no owner (or the ProgID is unknown).  One short question to the bus.
    AutomationPtr getObject(const QString& progId) override;

    // The question for the owner and the calls, sent to the bus name itself without
    // activation, go out together: one wait.  Answers that come from another server than the
    // one that owned the name (it changed hands in between) count as failed.
    AutomationPtr attach(const QString& progId, const QList<AutomationCall>& calls,
                         QList<std::optional<QVariant>>* answers) override;

    // Starts the server by D-Bus activation, or, where the bus knows no service file for the
    // name, by running its program from programDir(); waits at most StartTimeoutMs for the
    // name.  Answers the object of a server that runs already.  Null when none could be had.
    AutomationPtr createObject(const QString& progId) override;

    QString programDir() const;

    // Why the last getObject or createObject gave null; empty after one that succeeded.
    QString lastError() const { return m_lastError; }

private:
    // The server registered for progId, or null with m_lastError set.
    const Server* serverOf(const QString& progId);
    // The unique connection name that owns busName, or an empty string.
    QString nameOwner(const QString& busName) const;
    AutomationPtr objectOf(const Server& server, const QString& owner) const;
    bool activate(const Server& server, bool* triedAndUnknown);
    bool startProgram(const Server& server);

    QDBusConnection m_connection;
    QString m_programDir;
    QHash<QString, Server> m_servers;
    QString m_lastError;
};

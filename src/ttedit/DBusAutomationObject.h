#pragma once

#include "ttedit/AutomationObject.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAutomation)

// An automation object served over D-Bus: members are method calls on one object path and
// interface of one connection.  Arguments travel with the D-Bus type of their QVariant
// (qint16 'n', qint32 'i', bool 'b', QString 's'); a result that is an object path becomes
// another DBusAutomationObject of the same server on objectInterface, "/" becomes null.
class DBusAutomationObject : public AutomationObject
{
    Q_DECLARE_TR_FUNCTIONS(DBusAutomationObject)

public:
    // How long one call may take before it counts as failed: a hung server costs the user
    // seconds, never the 25 s of the D-Bus default.
    static constexpr int CallTimeoutMs = 3000;

    // service should be the server's unique connection name: then the object stays with the
    // server instance that made it, and its calls fail once that server is gone, even when
    // another one has taken the well-known name since.
    DBusAutomationObject(const QDBusConnection& connection, const QString& service,
                         const QString& path, const QString& interface,
                         const QString& objectInterface);

    std::optional<QVariant> call(const QString& member, const QVariantList& args = {}) override;
    // Sends every call before it waits for the first answer: the bus keeps the order of one
    // connection's messages, so the server takes them in turn, and the sequence costs about
    // one round trip.  Each call has its own time-out.
    QList<std::optional<QVariant>> callAll(const QList<AutomationCall>& calls) override;
    // A property of the object's interface, through org.freedesktop.DBus.Properties.
    std::optional<QVariant> get(const QString& property) override;
    // Sends the call and does not wait; its answer is dropped when it comes.
    void post(const QString& member, const QVariantList& args = {}) override;
    // Sends the call; the answer is awaited without an event loop when it is asked for.  A
    // call counts as not answered when no server took it, when it timed out, or when the
    // connection was lost; any other error is the server's refusal.
    AutomationReplyPtr send(const QString& member, const QVariantList& args = {}) override;

    // Sends the call and answers its pending reply; a call that cannot be made (an argument
    // without a D-Bus type) is an error reply at once.
    QDBusPendingCall sendMessage(const AutomationCall& call);
    // The result of a call from its reply, as call() gives it; lastError() tells a failure.
    std::optional<QVariant> decode(const QString& member, const QDBusMessage& reply);

    // Off: calls to a well-known name that has no owner fail at once, rather than have the bus
    // start a server for them.
    void setAutoStart(bool autoStart) { m_autoStart = autoStart; }

    QString service() const { return m_service; }
    QString path() const { return m_path; }
    QString interface() const { return m_interface; }

    QString lastError() const override { return m_lastError; }

private:
    // The message of a call, or an invalid one (with m_lastError set) when an argument has
    // no D-Bus type here.
    QDBusMessage message(const QString& member, const QVariantList& args);
    QDBusMessage message(const AutomationCall& call);
    std::optional<QVariant> fromDBus(const QVariant& value, const QString& sender) const;

    QDBusConnection m_connection;
    QString m_service;
    QString m_path;
    QString m_interface;
    QString m_objectInterface;
    QString m_lastError;
    bool m_autoStart = true;
};

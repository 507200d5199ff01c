#include "ttedit/DBusAutomationObject.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>

Q_LOGGING_CATEGORY(lcAutomation, "pointillo.ttedit.automation")

namespace {

// The QVariant types that have one D-Bus type each and that the automation members take.
bool isSendable(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Bool:
    case QMetaType::QString:
        return true;
    default:
        return false;
    }
}

// The errors of a call that no server answered: none took it, or its answer never came.
bool isNoAnswer(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return reply.type() != QDBusMessage::ReplyMessage;
    switch (QDBusError(reply).type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::Disconnected:
    case QDBusError::ServiceUnknown:
    case QDBusError::NoServer:
        return true;
    default:
        return reply.errorName() == u"org.freedesktop.DBus.Error.NameHasNoOwner";
    }
}

} // namespace

// A call in flight, decoded as the object that sent it decodes its answers.
class DBusAutomationReply : public AutomationReply
{
public:
    DBusAutomationReply(const DBusAutomationObject& object, const QString& member,
                        const QDBusPendingCall& pending)
        : m_object(object)
        , m_member(member)
        , m_pending(pending)
    {}

    std::optional<QVariant> result() override
    {
        if (m_pending) {
            // Waits without an event loop: no window event runs in between.
            m_pending->waitForFinished();
            const QDBusMessage reply = m_pending->reply();
            m_pending.reset();
            m_answered = !isNoAnswer(reply);
            m_result = m_object.decode(m_member, reply);
        }
        return m_result;
    }
    bool answered() const override { return m_answered; }
    QString error() const override { return m_object.lastError(); }

private:
    DBusAutomationObject m_object;
    QString m_member;
    std::optional<QDBusPendingCall> m_pending;
    std::optional<QVariant> m_result;
    bool m_answered = true;
};

DBusAutomationObject::DBusAutomationObject(const QDBusConnection& connection,
                                           const QString& service, const QString& path,
                                           const QString& interface, const QString& objectInterface)
    : m_connection(connection)
    , m_service(service)
    , m_path(path)
    , m_interface(interface)
    , m_objectInterface(objectInterface)
{}

QDBusMessage DBusAutomationObject::message(const QString& member, const QVariantList& args)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!isSendable(args[i])) {
            m_lastError = tr("argument %1 of %2 has type %3, which has no D-Bus type here")
                              .arg(i + 1)
                              .arg(member, QString::fromLatin1(args[i].typeName()));
            qCWarning(lcAutomation) << m_lastError;
            return QDBusMessage();
        }
    }
    QDBusMessage message = QDBusMessage::createMethodCall(m_service, m_path, m_interface, member);
    message.setArguments(args);
    message.setAutoStartService(m_autoStart);
    return message;
}

QDBusMessage DBusAutomationObject::message(const AutomationCall& call)
{
    if (!call.property)
        return message(call.member, call.args);
    QDBusMessage get = QDBusMessage::createMethodCall(
        m_service, m_path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setArguments({m_interface, call.member});
    get.setAutoStartService(m_autoStart);
    return get;
}

std::optional<QVariant> DBusAutomationObject::call(const QString& member, const QVariantList& args)
{
    m_lastError.clear();
    const QDBusMessage request = message(member, args);
    if (request.type() != QDBusMessage::MethodCallMessage)
        return std::nullopt;
    // Block, not BlockWithGui: no window event may run inside a call.
    return decode(member, m_connection.call(request, QDBus::Block, CallTimeoutMs));
}

std::optional<QVariant> DBusAutomationObject::get(const QString& property)
{
    m_lastError.clear();
    // The answer is a variant, which the decoding unpacks.
    return decode(property,
                  m_connection.call(message({property, {}, true}), QDBus::Block, CallTimeoutMs));
}

QList<std::optional<QVariant>> DBusAutomationObject::callAll(const QList<AutomationCall>& calls)
{
    // Every call is sent before the first answer is awaited.
    QList<QDBusPendingCall> pending;
    pending.reserve(calls.size());
    for (const AutomationCall& c : calls)
        pending.append(sendMessage(c));
    QList<std::optional<QVariant>> results;
    results.reserve(calls.size());
    // The first failure is the one to tell.
    QString firstError;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        // Waits without an event loop: no window event runs in between.
        pending[i].waitForFinished();
        results.append(decode(calls[i].member, pending[i].reply()));
        if (firstError.isEmpty())
            firstError = m_lastError;
    }
    m_lastError = firstError;
    return results;
}

void DBusAutomationObject::post(const QString& member, const QVariantList& args)
{
    m_lastError.clear();
    const QDBusMessage request = message(member, args);
    if (request.type() == QDBusMessage::MethodCallMessage && !m_connection.send(request))
        m_lastError = tr("cannot send %1").arg(member);
}

QDBusPendingCall DBusAutomationObject::sendMessage(const AutomationCall& call)
{
    m_lastError.clear();
    const QDBusMessage request = message(call);
    if (request.type() != QDBusMessage::MethodCallMessage)
        return QDBusPendingCall::fromError(QDBusError(QDBusError::InvalidArgs, m_lastError));
    return m_connection.asyncCall(request, CallTimeoutMs);
}

AutomationReplyPtr DBusAutomationObject::send(const QString& member, const QVariantList& args)
{
    return std::make_shared<DBusAutomationReply>(*this, member, sendMessage({member, args}));
}

std::optional<QVariant> DBusAutomationObject::decode(const QString& member,
                                                     const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage) {
        m_lastError = reply.type() == QDBusMessage::ErrorMessage
                          ? reply.errorName() + QStringLiteral(": ") + reply.errorMessage()
                          : tr("no reply");
        qCDebug(lcAutomation) << m_path << member << "failed:" << m_lastError;
        return std::nullopt;
    }
    m_lastError.clear();
    const QVariantList out = reply.arguments();
    if (out.isEmpty())
        return QVariant();
    if (out.size() > 1) {
        m_lastError = tr("%1 answered %2 values").arg(member).arg(out.size());
        qCWarning(lcAutomation) << m_lastError;
        return std::nullopt;
    }
    const std::optional<QVariant> result = fromDBus(out.first(), reply.service());
    if (!result) {
        m_lastError = tr("%1 answered a value of signature %2, which is not understood")
                          .arg(member, reply.signature());
        qCWarning(lcAutomation) << m_lastError;
    }
    return result;
}

std::optional<QVariant> DBusAutomationObject::fromDBus(const QVariant& value,
                                                       const QString& sender) const
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) {
        const QString path = value.value<QDBusObjectPath>().path();
        if (path == u"/")
            return QVariant::fromValue(AutomationPtr());
        // Replies come from the server's unique name; keep the object with that instance.
        const QString service = m_service.startsWith(u':') || sender.isEmpty() ? m_service : sender;
        return QVariant::fromValue(AutomationPtr(std::make_shared<DBusAutomationObject>(
            m_connection, service, path, m_objectInterface, m_objectInterface)));
    }
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return fromDBus(value.value<QDBusVariant>().variant(), sender);
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        // Arrays of plain values or object paths ("ai", "ao"); structures and maps are not
        // part of the automation members.
        const QDBusArgument arg = value.value<QDBusArgument>();
        if (arg.currentType() != QDBusArgument::ArrayType)
            return std::nullopt;
        QVariantList list;
        arg.beginArray();
        while (!arg.atEnd()) {
            const std::optional<QVariant> element = fromDBus(arg.asVariant(), sender);
            if (!element)
                return std::nullopt;
            list.append(*element);
        }
        arg.endArray();
        return list;
    }
    return value;
}

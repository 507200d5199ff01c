#include "FontdClient.h"

#include <QDBusObjectPath>

namespace {
const QString service = QStringLiteral("TTEdit.Application");
const QString applicationInterface = QStringLiteral("TTEdit.Application");
const QString documentInterface = QStringLiteral("TTEdit.Document");
} // namespace

FontdClient::FontdClient(int timeoutMs)
    : FontdClient(QDBusConnection::sessionBus(), timeoutMs)
{}

FontdClient::FontdClient(const QDBusConnection& connection, int timeoutMs)
    : m_connection(connection)
    , m_timeoutMs(timeoutMs)
{}

QDBusMessage FontdClient::call(const QString& path, const QString& interface, const QString& member,
                               const QVariantList& args) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, member);
    message.setArguments(args);
    return m_connection.call(message, QDBus::Block, m_timeoutMs);
}

QDBusMessage FontdClient::callApplication(const QString& member, const QVariantList& args) const
{
    return call(QStringLiteral("/Application"), applicationInterface, member, args);
}

QDBusMessage FontdClient::callDocument(const QString& path, const QString& member,
                                       const QVariantList& args) const
{
    return call(path, documentInterface, member, args);
}

QString FontdClient::newFile(int kind) const
{
    const QDBusMessage reply = callApplication(QStringLiteral("NewFile"), {int16(kind), true});
    if (isError(reply))
        return {};
    return value(reply).value<QDBusObjectPath>().path();
}

int FontdClient::setCode(const QString& document, int code) const
{
    const QDBusMessage reply =
        callDocument(document, QStringLiteral("setcode"), {int16(0), int32(code), false});
    if (isError(reply))
        return -1;
    return currentCode(document);
}

int FontdClient::currentCode(const QString& document) const
{
    const QDBusMessage reply = callDocument(document, QStringLiteral("getcode"), {int16(0), false});
    if (isError(reply) || value(reply).metaType() != QMetaType::fromType<qint16>())
        return -1;
    return quint16(value(reply).value<qint16>());
}

QString FontdClient::activeDocument() const
{
    return value(callApplication(QStringLiteral("ActiveDocument"))).value<QDBusObjectPath>().path();
}

QStringList FontdClient::documents() const
{
    const QDBusMessage reply = callApplication(QStringLiteral("Documents"));
    if (isError(reply) || reply.signature() != QLatin1String("ao"))
        return {};
    QStringList paths;
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(value(reply)))
        paths.append(path.path());
    return paths;
}

QList<int> FontdClient::glyphCodes(const QString& document) const
{
    const QDBusMessage reply = callDocument(document, QStringLiteral("GlyphCodes"));
    if (isError(reply) || reply.signature() != QLatin1String("ai"))
        return {};
    return qdbus_cast<QList<int>>(value(reply));
}

QVariant FontdClient::value(const QDBusMessage& reply)
{
    if (isError(reply) || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst();
}

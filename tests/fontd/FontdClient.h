#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// Calls pointillo-fontd members on the session bus the way a script would: one message per
// call, the exact D-Bus types given by the caller, a bounded wait, the server activated by
// the first call.
class FontdClient
{
public:
    explicit FontdClient(int timeoutMs = 30000);
    // A client on a connection of its own (its own unique name on the bus).
    explicit FontdClient(const QDBusConnection& connection, int timeoutMs = 30000);

    QDBusMessage callApplication(const QString& member, const QVariantList& args = {}) const;
    QDBusMessage callDocument(const QString& path, const QString& member,
                              const QVariantList& args = {}) const;
    // Any interface, for calls with deliberately wrong names or types.
    QDBusMessage call(const QString& path, const QString& interface, const QString& member,
                      const QVariantList& args = {}) const;

    // NewFile(kind, true): the document's path, or an empty string on an error reply.
    QString newFile(int kind) const;
    // setcode with an int32 code, then getcode as an unsigned code (0..65535); -1 on failure.
    int setCode(const QString& document, int code) const;
    int currentCode(const QString& document) const;
    // ActiveDocument, Documents and GlyphCodes, empty on an error reply.
    QString activeDocument() const;
    QStringList documents() const;
    QList<int> glyphCodes(const QString& document) const;

    static QVariant int16(int value) { return QVariant::fromValue<qint16>(qint16(value)); }
    static QVariant int32(int value) { return QVariant::fromValue<qint32>(value); }

    static bool isError(const QDBusMessage& reply)
    {
        return reply.type() != QDBusMessage::ReplyMessage;
    }
    // The first argument of a good reply, or an invalid QVariant.
    static QVariant value(const QDBusMessage& reply);

    QDBusConnection connection() const { return m_connection; }

private:
    QDBusConnection m_connection;
    int m_timeoutMs;
};

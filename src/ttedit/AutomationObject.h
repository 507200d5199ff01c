#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class AutomationObject;
using AutomationPtr = std::shared_ptr<AutomationObject>;

// The answer to a call sent with AutomationObject::send, taken when it is needed.
class AutomationReply
{
public:
    virtual ~AutomationReply() = default;

    // Waits for the answer (at most the call's time-out) and gives the result as call() does.
    virtual std::optional<QVariant> result() = 0;
    // After result(): whether the server answered at all, with a result or a refusal; false
    // when no server took the call, or its answer did not come in time.
    virtual bool answered() const = 0;
    // After result(): why the call failed, in the server's or the connection's words.
    virtual QString error() const = 0;
};
using AutomationReplyPtr = std::shared_ptr<AutomationReply>;

// An answer that is there already.
class ReadyReply : public AutomationReply
{
public:
    ReadyReply(std::optional<QVariant> result, bool answered, QString error)
        : m_result(std::move(result))
        , m_answered(answered)
        , m_error(std::move(error))
    {}

    std::optional<QVariant> result() override { return m_result; }
    bool answered() const override { return m_answered; }
    QString error() const override { return m_error; }

private:
    std::optional<QVariant> m_result;
    bool m_answered;
    QString m_error;
};

// One member call of a sequence, or the read of a property (member names it, args are empty).
struct AutomationCall
{
    QString member;
    QVariantList args;
    bool property = false;
};

// One late-bound object of an automation server.  Members are called by name; arguments carry
// their exact types (qint16, qint32, bool, QString), as the server declares them.
class AutomationObject
{
public:
    virtual ~AutomationObject() = default;

    // Calls member.  Returns its result, or std::nullopt when the call failed in any way (no
    // server, error reply, time-out, a reply of the wrong type): the caller skips it.  A member
    // that answers an object gives a QVariant holding an AutomationPtr, null for "nothing".
    virtual std::optional<QVariant> call(const QString& member, const QVariantList& args = {}) = 0;

    // Calls the members in this order and answers their results in the same order, each as
    // call() would.  A server that takes the calls of one client in the order they were sent
    // answers the whole sequence within one wait; this default makes one call after the other.
    virtual QList<std::optional<QVariant>> callAll(const QList<AutomationCall>& calls)
    {
        QList<std::optional<QVariant>> results;
        results.reserve(calls.size());
        for (const AutomationCall& c : calls)
            results.append(c.property ? get(c.member) : call(c.member, c.args));
        return results;
    }

    // Reads a property, answered as call() answers.  This default calls a member of its name,
    // as late binding does for a server that has no properties of its own.
    virtual std::optional<QVariant> get(const QString& property) { return call(property); }

    // Calls member without waiting for its answer, for a call whose result and failure do not
    // matter.  Later calls on objects of the same server are taken after it.  This default
    // makes the call and drops its result.
    virtual void post(const QString& member, const QVariantList& args = {}) { call(member, args); }

    // Sends member and returns at once; the answer is awaited when it is needed.  Later calls
    // on objects of the same server are taken after it.  This default makes the call at once;
    // a failure it tells no reason for counts as no answer.
    virtual AutomationReplyPtr send(const QString& member, const QVariantList& args = {})
    {
        std::optional<QVariant> result = call(member, args);
        const QString error = lastError();
        const bool answered = result.has_value() || !error.isEmpty();
        return std::make_shared<ReadyReply>(std::move(result), answered, error);
    }

    // Why the last call failed, in the server's or the connection's words; after callAll, why
    // the first call of the sequence that failed did.  Empty after a success, and where the
    // object cannot tell.
    virtual QString lastError() const { return {}; }

    // The object in a call's result, or null when the call failed or answered nothing.
    static AutomationPtr toObject(const std::optional<QVariant>& result)
    {
        return result && result->canConvert<AutomationPtr>() ? result->value<AutomationPtr>()
                                                             : AutomationPtr();
    }
};

Q_DECLARE_METATYPE(AutomationPtr)

// Where automation objects come from, by ProgID.
class AutomationHost
{
public:
    virtual ~AutomationHost() = default;

    // The running object registered under progId, or null when none runs.
    virtual AutomationPtr getObject(const QString& progId) = 0;

    // Starts a server for progId and answers its object, or null when it cannot be started.
    virtual AutomationPtr createObject(const QString& progId) = 0;

    // getObject, with calls on that object made in the same go: they reach the server that
    // runs, never start one.  Their results, as call() gives them, go to answers, in order;
    // all fail when none runs.  This default asks for the object, then calls.
    virtual AutomationPtr attach(const QString& progId, const QList<AutomationCall>& calls,
                                 QList<std::optional<QVariant>>* answers)
    {
        const AutomationPtr object = getObject(progId);
        *answers = object ? object->callAll(calls) : QList<std::optional<QVariant>>(calls.size());
        return object;
    }
};

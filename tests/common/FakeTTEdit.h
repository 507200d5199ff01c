#pragma once

#include "ttedit/AutomationObject.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// An in-process font server for unit tests of the editor's rules: the application object
// "TTEdit.Application" and its documents, with the argument types and answers of the real
// server's D-Bus contract.  Arguments of the wrong type fail the call, as on the bus.  Every
// call is recorded, with the types of its arguments, so that tests can check order and types.
class FakeTTEdit : public AutomationHost
{
public:
    // The values of NewFile's first argument.
    enum class Kind { Japanese = 0, Western = 1 };

    struct Call
    {
        QString object; // "Host", "Application" or "Document/<n>"
        QString member;
        QVariantList args;
        QList<int> types; // QMetaType ids of args
        bool ok;          // false when the call failed
    };

    struct Glyph
    {
        bool present = false;           // the font has a glyph at this code (maybe empty)
        QByteArray bitmap;              // the file's bytes at the last import, empty when emptied
        QString bitmapFile;             // the file name of the last import
        std::optional<qint16> lsb, rsb; // the side bearings last set
    };

    FakeTTEdit();
    ~FakeTTEdit() override;
    Q_DISABLE_COPY_MOVE(FakeTTEdit)

    AutomationPtr getObject(const QString& progId) override;
    AutomationPtr createObject(const QString& progId) override;

    // The server process: not running means getObject gives null; not startable means
    // createObject gives null too.  Stopping it makes every object's calls fail.
    void setRunning(bool running);
    bool isRunning() const;
    void setStartable(bool startable);

    // Opens a document and makes it active (also while a question is being asked); the codes
    // of a kind are 32..255 (Western) or every code page 932 code from 0x20 (Japanese).
    // Returns the document's number.
    int openDocument(Kind kind);
    int openDocument(Kind kind, std::vector<int> codes);
    // The active document disappears: its object's calls fail from now on.
    void closeDocument();
    bool hasDocument() const;

    // NewFile answers "nothing" while refused.
    void setNewFileRefused(bool refused);
    // Calls of member (on any object) fail while set.
    void setFailing(const QString& member, bool failing = true);
    // Runs before every call is answered, with the call as it will be recorded.
    std::function<void(const Call&)> beforeCall;

    // The active document's state.
    Kind kind() const;
    const std::vector<int>& codes() const;
    int currentCode() const;
    void setCurrentCode(int code);
    bool isSaved() const;
    void setSaved(bool saved);
    int saveCount() const;
    const Glyph* glyph(int code) const;
    qint32 hwnd() const;

    const QList<Call>& calls() const;
    // "object.member" of every call, in order, for short comparisons.
    QStringList callNames() const;
    void clearCalls();

    struct State;

private:
    std::shared_ptr<State> m_state;
};

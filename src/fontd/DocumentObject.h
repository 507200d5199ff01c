#pragma once

#include "fontd/FontDocument.h"

#include <QDBusContext>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class FontServer;

// One open font as the D-Bus object /Document/<n> (interface TTEdit.Document).  The
// lower-case and capitalised members are the D-Bus ones, called through the generated adaptor;
// a failing one answers a D-Bus error and leaves the font as it was.  The window uses the C++
// members below them.
//
// Every client (unique bus name) has a current code of its own here, so that clients working
// on one font never put a glyph on each other's code: setcode, getcode, viewnextcode,
// viewpreviouscode, selectall, Delete, ImportBmpfile and SetLeftRightSidebearing act on the
// caller's.  A client starts where the font last moved, on its first call; the font's own
// current code (what the window shows) follows every move; the server itself (the window,
// calls from within) works at that one.  One client alone, or a script whose every call is a
// new client, sees the single current code it always did.
class DocumentObject : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_PROPERTY(QString FamilyName READ FamilyName WRITE setFamilyName)

public:
    // Belongs to server, which the file checks ask about the other fonts.
    DocumentObject(std::unique_ptr<FontDocument> document, const QString& objectPath,
                   FontServer* server);
    ~DocumentObject() override;

    QString objectPath() const { return m_objectPath; }
    const FontDocument& document() const { return *m_document; }

    // The file's name without its folder, or "Untitled" while the font has no file.
    QString displayName() const;

    // Makes code the font's current one when the font holds it; false and no change otherwise.
    bool selectCode(int code);
    // Saves; an untitled font passes over the files of the other open fonts.
    bool saveFile(QString* error = nullptr);
    // Refuses the file of another open font, naming it.
    bool saveFileAs(const QString& path, QString* error = nullptr);
    // The font's names, from the window's properties dialog.
    void setNames(const FontNames& names);

    // The client has left the bus: its current code goes.
    void forgetClient(const QString& name);
    // Clients that have a current code here.
    qsizetype clientCount() const { return m_cursors.size(); }

    // D-Bus members of TTEdit.Document.
    void setcode(short unused, int code, bool flag);
    void setcode(short unused, short code, bool flag);
    short getcode(short unused, bool flag);
    void viewnextcode();
    void viewpreviouscode();
    void selectall();
    void Delete();
    void ImportBmpfile(const QString& path);
    void SetLeftRightSidebearing(short lsb, short rsb, bool flag);
    void SetDotGrid(short dotsX, short dotsY, bool square);
    bool saved();
    void save();
    void SaveAs(const QString& path);
    QString FileName();
    QList<int> GlyphCodes();
    void Close();
    // The D-Bus property FamilyName.
    QString FamilyName() const;
    void setFamilyName(const QString& name);

signals:
    // A glyph, the names, the saved flag or the file name changed.
    void changed();
    // The font's own current code moved (a client moved, or the window).
    void currentCodeChanged(int code);
    void closeRequested(DocumentObject* document);
    // A client called for the first time: the server watches for it to leave.
    void clientArrived(const QString& name);

private:
    // Where a client stands: its code, and whether it selected that code's glyph.
    struct Cursor
    {
        int code = 0;
        bool selected = false;
    };
    // The D-Bus caller's cursor, made at the font's current code on its first call; nullptr
    // for calls from within the server.
    Cursor* clientCursor();
    int callerCode();
    void moveCaller(int code);
    // The font's last move becomes the client's.
    void follow(const Cursor& cursor);
    void replyError(const char* name, const QString& message);

    std::unique_ptr<FontDocument> m_document;
    QString m_objectPath;
    FontServer* m_server;
    QHash<QString, Cursor> m_cursors;
    // Whether the client that moved last selected the glyph there.
    bool m_lastSelected = false;
};

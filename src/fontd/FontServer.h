#pragma once

#include "fontd/FontDocument.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QSet>
#include <functional>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcFontd)

class DocumentObject;

// The application object of pointillo-fontd: owns the open documents, publishes each one as a
// D-Bus object and answers the TTEdit.Application members at /Application.  The window and
// main() use the C++ members; the capitalised members are the D-Bus ones, called through the
// generated adaptor.
class FontServer : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    static constexpr const char* ServiceName = "TTEdit.Application";
    static constexpr const char* ObjectPath = "/Application";
    // The object path that stands for "no document".
    static constexpr const char* NoDocumentPath = "/";

    explicit FontServer(const QDBusConnection& connection, QObject* parent = nullptr);
    ~FontServer() override;

    // Publishes /Application and starts watching the connection.  Returns false with a reason
    // when the connection is down or the object cannot be registered.
    bool registerObjects(QString* error);
    // Claims the well-known name without queueing.  Returns false with a reason when another
    // process owns it already or the bus refuses it.
    bool claimServiceName(QString* error);

    // Takes a document, publishes it and makes it active.  Returns nullptr with a reason when
    // its object cannot be registered.
    DocumentObject* addDocument(std::unique_ptr<FontDocument> document, QString* error = nullptr);
    DocumentObject* newDocument(FontDocument::Kind kind, QString* error = nullptr);
    // Opens a .ttf; a file that is open already just becomes active again.
    DocumentObject* openDocument(const QString& path, QString* error = nullptr);
    // Withdraws the document from the bus and deletes it later; the most recently added of the
    // others becomes active.
    void closeDocument(DocumentObject* document);

    // The open document other than except whose file is path, under any name (a symbolic or
    // hard link, a path through other folders); nullptr when there is none.
    DocumentObject* documentOnFile(const QString& path,
                                   const DocumentObject* except = nullptr) const;

    DocumentObject* activeDocument() const { return m_active; }
    void setActiveDocument(DocumentObject* document);
    const QList<DocumentObject*>& documents() const { return m_documents; }

    // Where hwnd gets the window's native id; without one it answers 0.
    void setWindowIdSource(std::function<qint32()> source) { m_windowId = std::move(source); }

    // D-Bus members of TTEdit.Application.
    QDBusObjectPath ActiveDocument();
    QDBusObjectPath NewFile(short kind, bool visible);
    int hwnd();
    QDBusObjectPath OpenFile(const QString& path);
    QList<QDBusObjectPath> Documents();
    void Quit();

signals:
    void activeDocumentChanged(DocumentObject* document);
    void documentsChanged();
    // Quit was called over D-Bus.
    void quitRequested();
    // The bus connection went away: nobody can reach this server any more.
    void connectionLost();

private slots:
    // Connected by name: QDBusConnection::connect takes no function pointers.
    void onBusDisconnected();

private:
    // Watches a client that has a current code in some document, to drop its codes when it
    // leaves the bus.
    void watchClient(const QString& name);
    void forgetClient(const QString& name);
    void replyError(const char* name, const QString& message);

    QDBusConnection m_connection;
    QDBusServiceWatcher m_clientWatcher;
    QSet<QString> m_clients;
    QList<DocumentObject*> m_documents;
    DocumentObject* m_active = nullptr;
    int m_nextNumber = 1;
    bool m_registered = false;
    std::function<qint32()> m_windowId;
};

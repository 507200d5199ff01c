#include "fontd/FontServer.h"

#include "ApplicationAdaptor.h"
#include "fontd/DocumentObject.h"
#include "fontd/FontdError.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcFontd, "pointillo.fontd", QtInfoMsg)

namespace {
QDBusObjectPath noDocument()
{
    return QDBusObjectPath(QString::fromLatin1(FontServer::NoDocumentPath));
}
} // namespace

FontServer::FontServer(const QDBusConnection& connection, QObject* parent)
    : QObject(parent)
    , m_connection(connection)
{
    new ApplicationAdaptor(this);
    m_clientWatcher.setConnection(connection);
    m_clientWatcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_clientWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &FontServer::forgetClient);
}

FontServer::~FontServer()
{
    // Withdraw the objects first, so that a call arriving during shutdown finds nothing rather
    // than a half-destroyed document.
    for (DocumentObject* document : std::as_const(m_documents))
        m_connection.unregisterObject(document->objectPath());
    if (m_registered)
        m_connection.unregisterObject(QString::fromLatin1(ObjectPath));
}

bool FontServer::registerObjects(QString* error)
{
    if (!m_connection.isConnected()) {
        if (error)
            *error = tr("cannot connect to the D-Bus session bus: %1")
                         .arg(m_connection.lastError().message());
        return false;
    }
    if (!m_connection.registerObject(QString::fromLatin1(ObjectPath), this,
                                     QDBusConnection::ExportAdaptors)) {
        if (error)
            *error = tr("cannot register the object %1 on the session bus")
                         .arg(QString::fromLatin1(ObjectPath));
        return false;
    }
    m_registered = true;

    // The bus daemon going away (a test's private bus ending, the session closing) leaves a
    // server nobody can reach; libdbus reports it as this local signal.
    m_connection.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                         QStringLiteral("org.freedesktop.DBus.Local"),
                         QStringLiteral("Disconnected"), this, SLOT(onBusDisconnected()));
    return true;
}

bool FontServer::claimServiceName(QString* error)
{
    QDBusConnectionInterface* bus = m_connection.interface();
    if (!bus) {
        if (error)
            *error = tr("the session bus offers no bus interface");
        return false;
    }
    const QString name = QString::fromLatin1(ServiceName);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(name, QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        if (error)
            *error = tr("cannot claim the name %1: %2").arg(name, reply.error().message());
        return false;
    }
    if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        if (error)
            *error = tr("another server already owns the name %1 on this session bus").arg(name);
        return false;
    }
    return true;
}

DocumentObject* FontServer::addDocument(std::unique_ptr<FontDocument> document, QString* error)
{
    Q_ASSERT(document);
    const QString path = QStringLiteral("/Document/%1").arg(m_nextNumber++);
    auto* object = new DocumentObject(std::move(document), path, this);
    connect(object, &DocumentObject::clientArrived, this, &FontServer::watchClient);
    if (!m_connection.registerObject(path, object, QDBusConnection::ExportAdaptors)) {
        delete object;
        if (error)
            *error = tr("cannot register the document object %1 on the session bus").arg(path);
        return nullptr;
    }
    connect(object, &DocumentObject::closeRequested, this, &FontServer::closeDocument);
    m_documents.append(object);
    qCDebug(lcFontd) << "document" << path << "added";
    // On stderr for a server without a window; the window shows them too.
    const QString file = object->document().fileName();
    for (const QString& warning : object->document().readWarnings())
        qCWarning(lcFontd).noquote() << tr("%1: %2").arg(
            file.isEmpty() ? object->displayName() : QDir::toNativeSeparators(file), warning);
    emit documentsChanged();
    setActiveDocument(object);
    return object;
}

DocumentObject* FontServer::newDocument(FontDocument::Kind kind, QString* error)
{
    return addDocument(std::make_unique<FontDocument>(kind), error);
}

DocumentObject* FontServer::openDocument(const QString& path, QString* error)
{
    if (path.isEmpty()) {
        if (error)
            *error = tr("no file name given");
        return nullptr;
    }
    // Two documents on one file would overwrite each other's saves.
    if (DocumentObject* document = documentOnFile(path)) {
        setActiveDocument(document);
        return document;
    }
    QString reason;
    std::unique_ptr<FontDocument> document = FontDocument::open(path, &reason);
    if (!document) {
        if (error)
            *error = tr("cannot open %1: %2").arg(path, reason);
        return nullptr;
    }
    return addDocument(std::move(document), error);
}

DocumentObject* FontServer::documentOnFile(const QString& path, const DocumentObject* except) const
{
    if (path.isEmpty())
        return nullptr;
    const QByteArray name = QFile::encodeName(path);
    struct stat file;
    const bool exists = ::stat(name.constData(), &file) == 0;
    // A file not there (yet, or any more) by the absolute path its folder is reached by.
    const auto where = [](const QString& p) {
        const QFileInfo info(p);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
    };
    const QString place = where(path);
    for (DocumentObject* document : m_documents) {
        const QString other = document->document().fileName();
        if (document == except || other.isEmpty())
            continue;
        struct stat otherFile;
        if (::stat(QFile::encodeName(other).constData(), &otherFile) == 0) {
            if (exists && file.st_dev == otherFile.st_dev && file.st_ino == otherFile.st_ino)
                return document;
        } else if (where(other) == place) {
            return document;
        }
    }
    return nullptr;
}

void FontServer::watchClient(const QString& name)
{
    if (m_clients.contains(name))
        return;
    m_clients.insert(name);
    m_clientWatcher.addWatchedService(name);
    // A client that left before the watch began is never reported: ask after it, behind the
    // watch's request, so that one of the two answers tells.
    QDBusConnectionInterface* bus = m_connection.interface();
    if (!bus)
        return;
    auto* call =
        new QDBusPendingCallWatcher(bus->asyncCall(QStringLiteral("NameHasOwner"), name), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, name](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<bool> reply = *w;
                w->deleteLater();
                if (reply.isValid() && !reply.value())
                    forgetClient(name);
            });
}

void FontServer::forgetClient(const QString& name)
{
    if (!m_clients.remove(name))
        return;
    m_clientWatcher.removeWatchedService(name);
    for (DocumentObject* document : std::as_const(m_documents))
        document->forgetClient(name);
}

void FontServer::closeDocument(DocumentObject* document)
{
    const qsizetype index = m_documents.indexOf(document);
    if (index < 0)
        return;
    m_connection.unregisterObject(document->objectPath());
    m_documents.removeAt(index);
    qCDebug(lcFontd) << "document" << document->objectPath() << "closed";
    emit documentsChanged();
    if (m_active == document)
        setActiveDocument(m_documents.isEmpty() ? nullptr : m_documents.constLast());
    // It may be answering the Close call that brought us here.
    document->deleteLater();
}

void FontServer::setActiveDocument(DocumentObject* document)
{
    Q_ASSERT(!document || m_documents.contains(document));
    if (m_active == document)
        return;
    m_active = document;
    emit activeDocumentChanged(document);
}

QDBusObjectPath FontServer::ActiveDocument()
{
    return m_active ? QDBusObjectPath(m_active->objectPath()) : noDocument();
}

QDBusObjectPath FontServer::NewFile(short kind, bool visible)
{
    Q_UNUSED(visible)
    if (kind != FontDocument::Japanese && kind != FontDocument::Western)
        return noDocument();
    QString error;
    DocumentObject* document = newDocument(FontDocument::Kind(kind), &error);
    if (!document) {
        replyError(FontdError::Failed, error);
        return noDocument();
    }
    return QDBusObjectPath(document->objectPath());
}

int FontServer::hwnd()
{
    return m_windowId ? m_windowId() : 0;
}

QDBusObjectPath FontServer::OpenFile(const QString& path)
{
    if (path.isEmpty()) {
        replyError(FontdError::InvalidArgument, tr("OpenFile needs a file name"));
        return noDocument();
    }
    // The server's working folder means nothing to its clients ("/" when it was activated).
    if (QDir::isRelativePath(path)) {
        replyError(FontdError::InvalidArgument,
                   tr("OpenFile needs an absolute file name, not %1").arg(path));
        return noDocument();
    }
    QString error;
    DocumentObject* document = openDocument(path, &error);
    if (!document) {
        replyError(FontdError::OpenFailed, error);
        return noDocument();
    }
    return QDBusObjectPath(document->objectPath());
}

QList<QDBusObjectPath> FontServer::Documents()
{
    QList<QDBusObjectPath> paths;
    paths.reserve(m_documents.size());
    for (const DocumentObject* document : std::as_const(m_documents))
        paths.append(QDBusObjectPath(document->objectPath()));
    return paths;
}

void FontServer::Quit()
{
    // Queued, so that the reply to this call leaves before the event loop ends.
    QMetaObject::invokeMethod(this, &FontServer::quitRequested, Qt::QueuedConnection);
}

void FontServer::onBusDisconnected()
{
    qCInfo(lcFontd) << "the session bus connection is gone; ending";
    emit connectionLost();
}

void FontServer::replyError(const char* name, const QString& message)
{
    qCDebug(lcFontd) << name << message;
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(name), message);
}

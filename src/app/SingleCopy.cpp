#include "app/SingleCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcSingleCopy, "pointillo.singlecopy")

namespace {
// How long a claim waits for another copy's claim, and for a running copy to answer.
constexpr int LockWaitMs = 5000;
constexpr int ConnectWaitMs = 1000;
} // namespace

SingleCopy::SingleCopy(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleCopy::takeRequests);
}

SingleCopy::~SingleCopy() = default;

QString SingleCopy::defaultName()
{
    const QByteArray home =
        QCryptographicHash::hash(QDir::homePath().toUtf8(), QCryptographicHash::Sha256);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Never the current folder: without a runtime folder, the shared one for temporary files.
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Pointillo-") +
                                 QString::fromLatin1(home.toHex().left(16)));
}

bool SingleCopy::claim()
{
    // The look and the listen are one step for all copies: without the lock, two copies that
    // both found a stale socket would each remove the other's.
    QLockFile lock(m_name + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs))
        qCWarning(lcSingleCopy) << "cannot lock" << lock.fileName() << ":" << lock.error();

    QLocalSocket running;
    running.connectToServer(m_name);
    if (running.waitForConnected(ConnectWaitMs)) {
        running.disconnectFromServer();
        return false;
    }
    // Nobody answers: what is there was left by a copy that ended without closing it.
    QLocalServer::removeServer(m_name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_name))
        qCWarning(lcSingleCopy) << "cannot listen on" << m_name << ":" << m_server.errorString();
    return true;
}

void SingleCopy::takeRequests()
{
    // The connection is the request; nothing is read from it.
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        socket->disconnectFromServer();
        socket->deleteLater();
    }
    emit comeForward();
}

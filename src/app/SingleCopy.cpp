#include "app/SingleCopy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSingleCopy, "pointillo.singlecopy")

namespace {

// How long a claim waits for another copy's claim, and for a running copy to answer.
constexpr int LockWaitMs = 5000;
constexpr int ConnectWaitMs = 1000;

// An exclusive lock on a file for as long as it lives, or until the process ends, whatever
// way it ends; the empty file stays for the next claim.  QLockFile would sync its file to disk at
// every start, milliseconds that a lock held for the length of a claim does not need.
class ClaimLock
{
public:
    explicit ClaimLock(const QString& fileName)
        : m_fd(::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd < 0)
            qCWarning(lcSingleCopy) << "cannot open" << fileName << ":" << strerror(errno);
        const QDeadlineTimer deadline(LockWaitMs);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK || deadline.hasExpired()) {
                qCWarning(lcSingleCopy) << "cannot lock" << fileName << ":" << strerror(errno);
                break;
            }
            QThread::msleep(1);
        }
    }
    ~ClaimLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(ClaimLock)

private:
    int m_fd;
};

} // namespace

SingleCopy::SingleCopy(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleCopy::takeRequests);
}

SingleCopy::~SingleCopy() = default;

QString SingleCopy::defaultName(const QString& home)
{
    const QByteArray digest = QCryptographicHash::hash(home.toUtf8(), QCryptographicHash::Sha256);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Never a folder that others can write, as the shared one for temporary files: another
    // user could take the name there first and keep Pointillo from starting.  Without a
    // runtime folder, one of the user's cache, which only the user may enter.
    if (folder.isEmpty()) {
        const QString cache =
            QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        if (cache.isEmpty() || !QDir().mkpath(cache + QStringLiteral("/pointillo")))
            return QString();
        folder = cache + QStringLiteral("/pointillo");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return QDir(folder).filePath(QStringLiteral("Pointillo-") +
                                 QString::fromLatin1(digest.toHex().left(16)));
}

bool SingleCopy::claim()
{
    if (m_name.isEmpty())
        return true;
    // The look and the listen are one step for all copies: without the lock, two copies that
    // both found a stale socket would each remove the other's.
    const ClaimLock lock(m_name + QStringLiteral(".lock"));

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

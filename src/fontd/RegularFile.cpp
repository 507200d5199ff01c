#include "fontd/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool failErrno(QString* error)
{
    return fail(error, qt_error_string(errno));
}

// Nothing for a regular file, else why it is refused.
QString refusal(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return RegularFile::tr("it is a folder, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return RegularFile::tr("it is a device, not a regular file");
    if (S_ISFIFO(mode))
        return RegularFile::tr("it is a FIFO (named pipe), not a regular file");
    if (S_ISSOCK(mode))
        return RegularFile::tr("it is a socket, not a regular file");
    return RegularFile::tr("it is not a regular file");
}

} // namespace

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RegularFile::open(const QString& path, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before;
    if (::stat(name.constData(), &before) != 0)
        return failErrno(error);
    if (const QString why = refusal(before.st_mode); !why.isEmpty())
        return fail(error, why);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failErrno(error);
    struct stat after;
    if (::fstat(fd, &after) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(error, qt_error_string(code));
    }
    if (const QString why = refusal(after.st_mode); !why.isEmpty()) {
        ::close(fd);
        return fail(error, why);
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_size = after.st_size;
    return true;
}

bool RegularFile::readAt(qint64 offset, char* data, qint64 length, QString* error) const
{
    if (m_fd < 0)
        return fail(error, RegularFile::tr("the file is not open"));
    while (length > 0) {
        const ssize_t n = ::pread(m_fd, data, size_t(length), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failErrno(error);
        if (n == 0)
            return fail(error, RegularFile::tr("the file ends early"));
        data += n;
        offset += n;
        length -= n;
    }
    return true;
}

bool RegularFile::checkTarget(const QString& path, QString* error)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? true : failErrno(error);
    const QString why = refusal(st.st_mode);
    return why.isEmpty() || fail(error, why);
}

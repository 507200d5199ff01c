#include "fontd/AtomicFile.h"

#include "fontd/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
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

bool failErrno(QString* error, int code = errno)
{
    return fail(error, qt_error_string(code));
}

// A file written in full and flushed to disk, waiting for its name; it goes with this object
// unless it was given one.
class Stage
{
public:
    enum class Link { Done, NameTaken, Failed };

    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
    Stage(const QString& folder, AtomicFile::Flush flush)
        : m_folder(QFile::encodeName(folder))
        , m_flush(flush == AtomicFile::Flush::ToDisk)
    {
        // The fallbacks of filesystems without nameless files or an exclusive rename, taken
        // on any filesystem when tests ask for them.
        const QByteArray fallback = qgetenv(AtomicFile::FallbackVariable);
        m_nameless = fallback.isEmpty();
        m_exclusiveRename = fallback != "link";
    }
    ~Stage()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_hiddenName.isEmpty())
            ::unlink(m_hiddenName.constData());
    }

    bool write(QByteArrayView data, QString* error)
    {
        if (m_nameless)
            m_fd = ::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // Filesystems without nameless files answer one of these.
        if (!m_nameless ||
            (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)))
            m_fd = openHidden(&m_hiddenName);
        if (m_fd < 0)
            return failErrno(error);
        const char* p = data.data();
        qint64 left = data.size();
        while (left > 0) {
            const ssize_t n = ::write(m_fd, p, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return failErrno(error);
            p += n;
            left -= n;
        }
        if (m_flush && ::fsync(m_fd) != 0)
            return failErrno(error);
        return true;
    }

    bool setPermissions(mode_t mode, QString* error) const
    {
        return ::fchmod(m_fd, mode) == 0 || failErrno(error);
    }

    // Gives the file the name path, in the same folder, only when nothing has that name.
    Link link(const QByteArray& path, QString* error)
    {
        int result;
        if (m_hiddenName.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
            result =
                ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW);
        } else {
            result = m_exclusiveRename ? ::renameat2(AT_FDCWD, m_hiddenName.constData(), AT_FDCWD,
                                                     path.constData(), RENAME_NOREPLACE)
                                       : -1;
            // Filesystems without an exclusive rename: a hard link fails on a taken name too.
            if (!m_exclusiveRename || (result != 0 && (errno == EINVAL || errno == ENOSYS))) {
                result = ::link(m_hiddenName.constData(), path.constData());
                if (result == 0)
                    ::unlink(m_hiddenName.constData());
            }
            if (result == 0)
                m_hiddenName.clear();
        }
        if (result == 0)
            return Link::Done;
        if (errno == EEXIST)
            return Link::NameTaken;
        failErrno(error);
        return Link::Failed;
    }

    // Gives the file the name path, in the same folder, in place of what has that name.
    bool replace(const QByteArray& path, QString* error)
    {
        // A nameless file cannot be renamed: a hidden name first.
        for (int attempt = 0; m_hiddenName.isEmpty(); ++attempt) {
            if (attempt == 100)
                return fail(error, AtomicFile::tr("no free temporary name"));
            const QByteArray candidate = hiddenCandidate();
            const Link result = link(candidate, error);
            if (result == Link::Failed)
                return false;
            if (result == Link::Done)
                m_hiddenName = candidate;
        }
        if (::rename(m_hiddenName.constData(), path.constData()) != 0)
            return failErrno(error);
        m_hiddenName.clear();
        return true;
    }

    // Once the file has its name: the folder goes to disk too, so that the name survives a
    // crash.
    void finish()
    {
        ::close(m_fd);
        m_fd = -1;
        if (!m_flush)
            return;
        const int folder = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }

private:
    QByteArray hiddenCandidate() const
    {
        return m_folder + "/.pointillo-" +
               QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
    }

    int openHidden(QByteArray* name) const
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray candidate = hiddenCandidate();
            const int fd =
                ::open(candidate.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd >= 0 || errno != EEXIST) {
                if (fd >= 0)
                    *name = candidate;
                return fd;
            }
        }
        return -1;
    }

    QByteArray m_folder;
    bool m_flush;
    bool m_nameless = true;
    bool m_exclusiveRename = true;
    QByteArray m_hiddenName;
    int m_fd = -1;
};

} // namespace

bool AtomicFile::replace(const QString& path, QByteArrayView data, QString* error, Flush flush)
{
    if (!RegularFile::checkTarget(path, error))
        return false;
    // Through a symbolic link, the file it names is the one replaced.
    const QFileInfo info(path);
    const QString target =
        info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    Stage stage(QFileInfo(target).absolutePath(), flush);
    if (!stage.write(data, error))
        return false;
    struct stat old;
    if (::stat(QFile::encodeName(target).constData(), &old) == 0 &&
        !stage.setPermissions(old.st_mode & 07777, error))
        return false;
    if (!stage.replace(QFile::encodeName(target), error))
        return false;
    stage.finish();
    return true;
}

QString AtomicFile::create(const QString& folder, const std::function<QString(int)>& nameAt,
                           QByteArrayView data, QString* error)
{
    Stage stage(folder, Flush::ToDisk);
    if (!stage.write(data, error))
        return {};
    for (int n = 1; n <= MaxNames; ++n) {
        const QString path = nameAt(n);
        if (path.isEmpty())
            continue;
        switch (stage.link(QFile::encodeName(path), error)) {
        case Stage::Link::Done:
            stage.finish();
            return path;
        case Stage::Link::NameTaken:
            continue;
        case Stage::Link::Failed:
            return {};
        }
    }
    fail(error, AtomicFile::tr("no free file name in %1").arg(QDir::toNativeSeparators(folder)));
    return {};
}

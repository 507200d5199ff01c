#include "fontd/Woff2.h"

#include <woff2/decode.h>
#include <woff2/encode.h>
#include <woff2/output.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// Debian's libwoff2 tells every compression on stderr ("Compressed 95655 to 23579."), which
// would reach the log of every save and the output of every build: stderr goes to /dev/null
// while it works.  Its failures come back as a false result.
class QuietStderr
{
public:
    QuietStderr()
    {
        std::fflush(stderr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0)
            return;
        m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        if (m_saved >= 0)
            ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    ~QuietStderr()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved = -1;
};

const uint8_t* bytes(QByteArrayView data)
{
    return reinterpret_cast<const uint8_t*>(data.data());
}

} // namespace

bool Woff2::isWoff2(QByteArrayView data)
{
    return data.startsWith("wOF2");
}

bool Woff2::isWoff2Name(const QString& path)
{
    return path.endsWith(QLatin1String(".woff2"), Qt::CaseInsensitive);
}

QByteArray Woff2::compress(QByteArrayView trueType, QString* error)
{
    size_t length = woff2::MaxWOFF2CompressedSize(bytes(trueType), size_t(trueType.size()));
    QByteArray out(qsizetype(length), Qt::Uninitialized);
    const QuietStderr quiet;
    if (!woff2::ConvertTTFToWOFF2(bytes(trueType), size_t(trueType.size()),
                                  reinterpret_cast<uint8_t*>(out.data()), &length)) {
        fail(error, tr("the WOFF2 encoder refused the font"));
        return {};
    }
    out.truncate(qsizetype(length));
    return out;
}

QByteArray Woff2::decompress(QByteArrayView woff2, qint64 maxSize, QString* error)
{
    std::string buffer;
    woff2::WOFF2StringOut out(&buffer);
    out.SetMaxSize(size_t(maxSize));
    const QuietStderr quiet;
    if (!woff2::ConvertWOFF2ToTTF(bytes(woff2), size_t(woff2.size()), &out)) {
        fail(error, tr("not a WOFF2 font that can be read, or one of more than %1 "
                       "bytes unpacked")
                        .arg(maxSize));
        return {};
    }
    return QByteArray(buffer.data(), qsizetype(out.Size()));
}

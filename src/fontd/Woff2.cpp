#include "fontd/Woff2.h"

#include "fontd/BigEndianReader.h"
#include "fontd/TrueTypeFormat.h"

#include <woff2/decode.h>
#include <woff2/encode.h>
#include <woff2/output.h>

#include <QDir>
#include <algorithm>
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
// would reach the output of every build.  Where this is the process's only thread (a build
// from the command line) no other thread can write to stderr or start while libwoff2 works,
// so stderr goes to /dev/null meanwhile.  With other threads (the server, with its D-Bus
// thread) the descriptor is left alone and the line reaches the log: pointing it elsewhere
// would lose what the other threads write meanwhile.  libwoff2's failures come back as a
// false result.
class QuietStderr
{
public:
    QuietStderr()
    {
        const QDir threads(QStringLiteral("/proc/self/task"), {}, QDir::NoSort,
                           QDir::Dirs | QDir::NoDotAndDotDot);
        if (threads.count() != 1)
            return;
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

// Reads a UIntBase128 of the WOFF2 table directory at pos, which moves past it.  False when it
// is cut off, has a leading zero byte or passes 32 bits.
bool readBase128(const BigEndianReader& in, qint64* pos, quint32* value)
{
    quint32 v = 0;
    for (int i = 0; i < 5; ++i) {
        if (!in.contains(*pos, 1))
            return false;
        const quint8 b = in.uint8At((*pos)++);
        if ((i == 0 && b == 0x80) || (v & 0xFE000000))
            return false;
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// libwoff2 allocates and clears the unpacked tables, as large as the directory says (up to 100
// times the file), before it looks at them: the declared sizes are checked first against the
// limit a TrueType file has.
bool checkDirectory(QByteArrayView woff2, qint64 maxSize, QString* error)
{
    const BigEndianReader in(
        std::span<const uchar>(reinterpret_cast<const uchar*>(woff2.data()), size_t(woff2.size())));
    constexpr qint64 HeaderSize = 48;
    if (!in.contains(0, HeaderSize))
        return fail(error, Woff2::tr("the WOFF2 header is cut off"));
    if (in.uint32BEAt(4) == TrueTypeFormat::tag("ttcf"))
        return fail(error, Woff2::tr("font collections are not supported"));
    const quint16 numTables = in.uint16BEAt(12);
    // Stored: the tables as they are packed (transformed or not); unpacked: the TrueType file.
    qint64 stored = 0;
    qint64 unpacked = 12 + 16 * qint64(numTables);
    qint64 pos = HeaderSize;
    for (int i = 0; i < numTables; ++i) {
        if (!in.contains(pos, 1))
            return fail(error, Woff2::tr("the WOFF2 table directory is cut off"));
        const quint8 flags = in.uint8At(pos++);
        quint32 tag = 0;
        if ((flags & 0x3F) == 0x3F) {
            if (!in.contains(pos, 4))
                return fail(error, Woff2::tr("the WOFF2 table directory is cut off"));
            tag = in.uint32BEAt(pos);
            pos += 4;
        }
        // Known tags 10 and 11 are glyf and loca, whose null transform is version 3; every
        // other table's is version 0.
        const bool glyfOrLoca = (flags & 0x3F) == 10 || (flags & 0x3F) == 11 ||
                                tag == TrueTypeFormat::tag("glyf") ||
                                tag == TrueTypeFormat::tag("loca");
        const int version = flags >> 6;
        const bool transformed = glyfOrLoca ? version != 3 : version != 0;
        quint32 origLength = 0, transformLength = 0;
        if (!readBase128(in, &pos, &origLength) ||
            (transformed && !readBase128(in, &pos, &transformLength)))
            return fail(error, Woff2::tr("the WOFF2 table directory is cut off or malformed"));
        stored += transformed ? transformLength : origLength;
        unpacked += (qint64(origLength) + 3) & ~qint64(3);
    }
    if (stored > maxSize || unpacked > maxSize)
        return fail(error, Woff2::tr("the WOFF2 table directory declares a font of %1 bytes, "
                                     "more than the %2 bytes a font may have")
                               .arg(std::max(stored, unpacked))
                               .arg(maxSize));
    return true;
}

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
    if (!checkDirectory(woff2, maxSize, error))
        return {};
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

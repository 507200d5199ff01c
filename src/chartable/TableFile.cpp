#include "chartable/TableFile.h"

#include "chartable/WholeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>
#include <algorithm>

#include <sys/stat.h>

namespace {

// BITMAPFILEHEADER, then the first fields of BITMAPCOREHEADER or BITMAPINFOHEADER.
constexpr qint64 FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint32 BI_RGB = 0;
constexpr quint32 BI_BITFIELDS = 3;

// Decoding a picture of MaxSide x MaxSide at 32 bits per pixel takes 16 MiB; twice that leaves
// room for the conversion and refuses anything beyond it.
constexpr int AllocationLimitMiB = 32;

struct BmpHeader
{
    quint32 bfOffBits = 0;
    quint32 biSize = 0;
    qint64 biWidth = 0;
    qint64 biHeight = 0; // negative for rows stored top-down
    int biBitCount = 0;
    quint32 biCompression = BI_RGB;
};

// The header fields of a BMP file's first bytes, or nothing when they are not a BMP header.
std::optional<BmpHeader> parseHeader(const QByteArray& head)
{
    if (head.size() < FileHeaderSize + CoreHeaderSize || !head.startsWith("BM"))
        return std::nullopt;
    const uchar* p = reinterpret_cast<const uchar*>(head.constData());
    BmpHeader h;
    h.bfOffBits = qFromLittleEndian<quint32>(p + 10);
    h.biSize = qFromLittleEndian<quint32>(p + 14);
    if (h.biSize == CoreHeaderSize) {
        h.biWidth = qFromLittleEndian<quint16>(p + 18);
        h.biHeight = qFromLittleEndian<quint16>(p + 20);
        h.biBitCount = qFromLittleEndian<quint16>(p + 24);
    } else if (h.biSize >= InfoHeaderSize && head.size() >= FileHeaderSize + InfoHeaderSize) {
        h.biWidth = qFromLittleEndian<qint32>(p + 18);
        h.biHeight = qFromLittleEndian<qint32>(p + 22);
        h.biBitCount = qFromLittleEndian<quint16>(p + 28);
        h.biCompression = qFromLittleEndian<quint32>(p + 30);
    } else {
        return std::nullopt;
    }
    return h;
}

// The table as a one-bit picture, index 0 black and 1 white, when it holds no other colour:
// a file of 32 KiB rather than 768 KiB, quicker to write and to sync.  Nothing otherwise.
std::optional<QImage> blackAndWhite(const QImage& table)
{
    const QImage rgb = table.convertToFormat(QImage::Format_RGB32);
    QImage mono(rgb.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    // Eight pixels a byte without a branch a pixel: a save of many pages is mostly this loop.
    const int width = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* bits = mono.scanLine(y);
        for (int x0 = 0; x0 < width; x0 += 8) {
            const int n = std::min(8, width - x0);
            unsigned white = 0;
            unsigned other = 0;
            for (int k = 0; k < n; ++k) {
                const QRgb c = line[x0 + k] & 0x00ffffff;
                white |= unsigned(c == 0x00ffffff) << (7 - k);
                other |= unsigned(c != 0x00ffffff && c != 0);
            }
            if (other)
                return std::nullopt;
            bits[x0 >> 3] = uchar(white);
        }
    }
    return mono;
}

} // namespace

std::optional<QImage> TableFile::read(const QString& path, QString* error)
{
    std::optional<QImage> picture = readAsStored(path, error);
    // Any alpha is dropped, not blended: a transparent white pixel stays white, not black.
    if (picture)
        picture->convertTo(QImage::Format_RGB32);
    return picture;
}

std::optional<QImage> TableFile::readAsStored(const QString& path, QString* error)
{
    const auto refuse = [error](const QString& reason) -> std::optional<QImage> {
        if (error)
            *error = reason;
        return std::nullopt;
    };

    // A FIFO's open would wait for a writer, and the start with it; a device never ends.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return refuse(tr("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    const std::optional<BmpHeader> h = parseHeader(file.read(FileHeaderSize + InfoHeaderSize));
    if (!h)
        return refuse(tr("not a BMP picture"));

    const qint64 width = h->biWidth;
    const qint64 height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide)
        return refuse(tr("a picture of %1 x %2 pixels is not read").arg(width).arg(height));
    const int bits = h->biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return refuse(tr("%1 bits per pixel are not read").arg(bits));
    const bool bitFields = h->biCompression == BI_BITFIELDS && (bits == 16 || bits == 32);
    if (h->biCompression != BI_RGB && !bitFields)
        return refuse(tr("compressed BMP pictures are not read"));
    if (h->bfOffBits < FileHeaderSize + h->biSize)
        return refuse(tr("the BMP header is damaged"));

    // Every row is padded to four bytes.  Qt's reader would read a cut-off file and fill the
    // missing rows with black, which here would be set dots.
    const qint64 stride = (width * bits + 31) / 32 * 4;
    if (file.size() < qint64(h->bfOffBits) + stride * height)
        return refuse(tr("the file is shorter than its picture"));

    file.seek(0);
    QImageReader reader(&file, "bmp");
    reader.setAllocationLimit(AllocationLimitMiB);
    QImage picture = reader.read();
    if (picture.isNull())
        return refuse(reader.errorString());
    return picture;
}

bool TableFile::write(const QImage& table, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(blackAndWhite(table).value_or(table))) {
        if (error)
            *error = writer.errorString();
        return false;
    }
    return WholeFile::write(path, bytes, error);
}

std::optional<TableFile::Identity> TableFile::identity(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return Identity{quint64(st.st_dev), quint64(st.st_ino)};
}

QString TableFile::asideName(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString name =
        info.dir().filePath(info.completeBaseName() + QStringLiteral(".unread") + suffix);
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = info.dir().filePath(info.completeBaseName() + QStringLiteral(".unread-%1").arg(n) +
                                   suffix);
    return name;
}

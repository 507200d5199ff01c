#include "ttedit/DotsBitmap.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace {

// Appends little-endian fields at a moving position of a buffer whose size was set first.
class LittleEndianWriter
{
public:
    explicit LittleEndianWriter(char* data)
        : m_pos(data)
    {}
    void putU16(quint16 v) { put(v); }
    void putU32(quint32 v) { put(v); }
    void putI32(qint32 v) { put(v); }

private:
    template <typename T> void put(T v)
    {
        qToLittleEndian<T>(v, m_pos);
        m_pos += sizeof(T);
    }
    char* m_pos;
};

bool checkSize(QSize canvas, QString* error)
{
    if (canvas.isEmpty()) {
        if (error)
            *error = DotsBitmap::tr("The canvas is empty.");
        return false;
    }
    if (canvas.width() > DotsBitmap::MaxSide || canvas.height() > DotsBitmap::MaxSide) {
        if (error)
            *error =
                DotsBitmap::tr("The canvas of %1 x %2 pixels is larger than a glyph bitmap can be.")
                    .arg(canvas.width())
                    .arg(canvas.height());
        return false;
    }
    return true;
}

// A file of w x h pixels, all 0-bits, with its headers and palette.
QByteArray emptyFile(int w, int h)
{
    const qsizetype imageBytes = qsizetype(DotsBitmap::rowBytes(w)) * h;
    QByteArray file(DotsBitmap::HeaderBytes + imageBytes, '\0');

    LittleEndianWriter out(file.data());
    // BITMAPFILEHEADER
    out.putU16(0x4D42);                  // bfType "BM"
    out.putU32(quint32(file.size()));    // bfSize
    out.putU16(0);                       // bfReserved1
    out.putU16(0);                       // bfReserved2
    out.putU32(DotsBitmap::HeaderBytes); // bfOffBits
    // BITMAPINFOHEADER
    out.putU32(40);                  // biSize
    out.putI32(w);                   // biWidth
    out.putI32(h);                   // biHeight, positive: bottom-up rows
    out.putU16(1);                   // biPlanes
    out.putU16(1);                   // biBitCount
    out.putU32(0);                   // biCompression BI_RGB
    out.putU32(quint32(imageBytes)); // biSizeImage
    out.putI32(0);                   // biXPelsPerMeter
    out.putI32(0);                   // biYPelsPerMeter
    out.putU32(0);                   // biClrUsed
    out.putU32(0);                   // biClrImportant
    // RGBQUAD palette: blue, green, red, reserved
    out.putU32(0x00FFFFFF); // entry 0: white, the background
    out.putU32(0x00000000); // entry 1: black, the ink
    return file;
}

} // namespace

QByteArray DotsBitmap::encode(const QImage& canvas, QString* error)
{
    if (!checkSize(canvas.size(), error))
        return {};
    const int w = canvas.width();
    const int h = canvas.height();

    // Pixels are read as 32-bit words, whose low byte is the blue one.
    QImage pixels = canvas;
    switch (canvas.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        break;
    default:
        pixels = canvas.convertToFormat(QImage::Format_RGB32);
        break;
    }

    const int stride = rowBytes(w);
    QByteArray file = emptyFile(w, h);
    uchar* row = reinterpret_cast<uchar*>(file.data()) + HeaderBytes;
    const int fullBytes = w / 8;
    const int restBits = w % 8;
    for (int y = h - 1; y >= 0; --y, row += stride) {
        const quint32* px = reinterpret_cast<const quint32*>(pixels.constScanLine(y));
        for (int j = 0; j < fullBytes; ++j, px += 8) {
            uint byte = 0;
            for (int k = 0; k < 8; ++k)
                byte = (byte << 1) | uint((px[k] & 0xFFu) == 0);
            row[j] = uchar(byte);
        }
        if (restBits) {
            uint byte = 0;
            for (int k = 0; k < restBits; ++k)
                byte |= uint((px[k] & 0xFFu) == 0) << (7 - k);
            row[fullBytes] = uchar(byte);
        }
    }
    return file;
}

QByteArray DotsBitmap::encodeBoxes(QSize canvas, const QList<QRect>& boxes, QString* error)
{
    if (!checkSize(canvas, error))
        return {};
    const int w = canvas.width();
    const int h = canvas.height();
    const int stride = rowBytes(w);
    QByteArray file = emptyFile(w, h);
    uchar* rows = reinterpret_cast<uchar*>(file.data()) + HeaderBytes;
    for (const QRect& box : boxes) {
        const QRect area = box & QRect(QPoint(0, 0), canvas);
        if (area.isEmpty())
            continue;
        // The box's bits in one file row, leftmost pixel in the most significant bit.
        const int first = area.left() / 8;
        const int last = area.right() / 8;
        const uchar firstMask = uchar(0xFFu >> (area.left() % 8));
        const uchar lastMask = uchar(0xFFu << (7 - area.right() % 8));
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar* row = rows + qsizetype(h - 1 - y) * stride;
            if (first == last) {
                row[first] |= firstMask & lastMask;
                continue;
            }
            row[first] |= firstMask;
            std::fill(row + first + 1, row + last, uchar(0xFF));
            row[last] |= lastMask;
        }
    }
    return file;
}

bool DotsBitmap::saveDotsBmp(const QString& fileName, const QImage& canvas, QString* error)
{
    const QByteArray bytes = encode(canvas, error);
    return !bytes.isEmpty() && writeFile(fileName, bytes, error);
}

bool DotsBitmap::writeFile(const QString& fileName, const QByteArray& bytes, QString* error)
{
    QFile file(fileName);
    // ReadWrite opens from the first byte without truncating (WriteOnly would truncate).  A
    // file we may write but not read is still written, shortened then.
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("Cannot open %1 for writing: %2").arg(fileName, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = tr("Cannot write %1: %2").arg(fileName, file.errorString());
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = tr("Cannot write %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

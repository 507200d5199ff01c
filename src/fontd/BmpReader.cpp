#include "fontd/BmpReader.h"

#include "fontd/RegularFile.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 BI_RGB = 0;
constexpr quint32 BI_RLE8 = 1;
constexpr quint32 BI_RLE4 = 2;
constexpr quint32 BI_BITFIELDS = 3;

quint16 uint16LE(const uchar* p)
{
    return qFromLittleEndian<quint16>(p);
}
quint32 uint32LE(const uchar* p)
{
    return qFromLittleEndian<quint32>(p);
}
qint32 int32LE(const uchar* p)
{
    return qFromLittleEndian<qint32>(p);
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool failTruncated(QString* error, qint64 needed, qint64 held)
{
    return fail(error, BmpReader::tr("truncated BMP file: the image needs %1 bytes, the file "
                                     "holds %2")
                           .arg(needed)
                           .arg(held));
}

// Luma times 1000, Rec. 601 weights.
int luma1000(int r, int g, int b)
{
    return 299 * r + 587 * g + 114 * b;
}
bool isDark(int r, int g, int b)
{
    return luma1000(r, g, b) < 128 * 1000;
}

// One colour channel described by a bit-field mask.
struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;

    explicit Channel(quint32 m = 0)
        : mask(m)
        , shift(m ? std::countr_zero(m) : 0)
        , max(m ? (m >> shift) : 0)
    {}
    int value(quint32 pixel) const
    {
        if (max == 0)
            return 0;
        const quint32 v = std::min((pixel & mask) >> shift, max);
        return int((quint64(v) * 255 + max / 2) / max);
    }
};

// What the header says, with every size already checked.
struct Layout
{
    qint64 headerSize = 0;
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    quint32 compression = BI_RGB;
    qint64 pixelOffset = 0;
    qint64 rowBytes = 0;
    qint64 pixelBytes = 0;
    qint64 paletteOffset = 0;
    int paletteEntrySize = 4;
    int paletteCount = 0;
    std::array<Channel, 3> channels; // red, green, blue for bit fields
    qint64 needed = 0;               // bytes from the start of the file up to the last pixel row
};

// Reads the headers from the first bytes of the file (the whole header must be there).
bool parseLayout(QByteArrayView data, Layout* l, QString* error)
{
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    if (size < 2 || p[0] != 'B' || p[1] != 'M')
        return fail(error, BmpReader::tr("not a BMP file (it does not start with \"BM\")"));
    if (size < FileHeaderSize + 4)
        return fail(error, BmpReader::tr("truncated BMP file: the header is incomplete"));
    l->pixelOffset = uint32LE(p + 10);
    l->headerSize = uint32LE(p + 14);
    const qint64 h = l->headerSize;
    if (h != 12 && h != 40 && h != 52 && h != 56 && h != 108 && h != 124)
        return fail(error, BmpReader::tr("unsupported BMP header of %1 bytes").arg(h));
    if (size < FileHeaderSize + h)
        return fail(error, BmpReader::tr("truncated BMP file: the header is incomplete"));
    const uchar* info = p + FileHeaderSize;
    qint64 width = 0;
    qint64 height = 0;
    int planes = 0;
    quint32 colorsUsed = 0;
    if (h == 12) {
        width = uint16LE(info + 4);
        height = uint16LE(info + 6);
        planes = uint16LE(info + 8);
        l->bitsPerPixel = uint16LE(info + 10);
        l->paletteEntrySize = 3;
    } else {
        width = int32LE(info + 4);
        height = int32LE(info + 8);
        planes = uint16LE(info + 12);
        l->bitsPerPixel = uint16LE(info + 14);
        l->compression = uint32LE(info + 16);
        colorsUsed = uint32LE(info + 32);
    }
    if (planes != 1)
        return fail(error, BmpReader::tr("invalid BMP header: %1 colour planes").arg(planes));
    const int bpp = l->bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(error, BmpReader::tr("unsupported BMP depth of %1 bits per pixel").arg(bpp));
    if (l->compression == BI_RLE8 || l->compression == BI_RLE4)
        return fail(error, BmpReader::tr("run-length compressed BMP files are not supported"));
    if (l->compression == BI_BITFIELDS && bpp != 16 && bpp != 32)
        return fail(error,
                    BmpReader::tr("invalid BMP header: bit fields at %1 bits per pixel").arg(bpp));
    if (l->compression != BI_RGB && l->compression != BI_BITFIELDS)
        return fail(error, BmpReader::tr("unsupported BMP compression %1").arg(l->compression));
    if (width <= 0)
        return fail(error, BmpReader::tr("invalid BMP size: the width is %1").arg(width));
    if (height == 0)
        return fail(error, BmpReader::tr("invalid BMP size: the height is 0"));
    l->topDown = height < 0;
    height = std::abs(height);
    if (width > BmpReader::MaxDimension || height > BmpReader::MaxDimension)
        return fail(error, BmpReader::tr("BMP image too large: %1 x %2 pixels (at most %3 x %3)")
                               .arg(width)
                               .arg(height)
                               .arg(BmpReader::MaxDimension));
    if (l->topDown && l->compression != BI_RGB && l->compression != BI_BITFIELDS)
        return fail(error, BmpReader::tr("invalid BMP header: a top-down compressed image"));
    l->width = int(width);
    l->height = int(height);
    l->rowBytes = (width * bpp + 31) / 32 * 4;
    l->pixelBytes = l->rowBytes * height;
    if (l->pixelBytes > BmpReader::MaxPixelBytes)
        return fail(
            error, BmpReader::tr("BMP image too large: %1 bytes of pixel data").arg(l->pixelBytes));

    qint64 afterHeader = FileHeaderSize + h;
    if (l->compression == BI_BITFIELDS) {
        const uchar* masks = info + 40;
        if (h == 40) {
            // The three masks follow the header.
            if (size < afterHeader + 12)
                return fail(error, BmpReader::tr("truncated BMP file: the colour masks are "
                                                 "incomplete"));
            masks = p + afterHeader;
            afterHeader += 12;
        }
        for (int i = 0; i < 3; ++i)
            l->channels[size_t(i)] = Channel(uint32LE(masks + 4 * i));
    } else if (bpp == 16) {
        l->channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
    } else if (bpp >= 24) {
        l->channels = {Channel(0xFF0000), Channel(0x00FF00), Channel(0x0000FF)};
    }
    if (l->pixelOffset < afterHeader)
        return fail(error, BmpReader::tr("invalid BMP header: the pixel data starts at byte %1, "
                                         "inside the header")
                               .arg(l->pixelOffset));
    l->paletteOffset = afterHeader;
    if (bpp <= 8) {
        const qint64 full = qint64(1) << bpp;
        const qint64 declared = colorsUsed == 0 ? full : std::min<qint64>(colorsUsed, full);
        // Some writers declare more entries than they store before the pixels.
        const qint64 stored = (l->pixelOffset - afterHeader) / l->paletteEntrySize;
        l->paletteCount = int(std::min(declared, stored));
    }
    l->needed = l->pixelOffset + l->pixelBytes;
    return true;
}

// Which palette entries are ink.  Entries the file does not hold read as black.
std::vector<bool> inkPalette(const uchar* palette, const Layout& l)
{
    const int full = 1 << l.bitsPerPixel;
    std::vector<int> luma(size_t(full), 0);
    for (int i = 0; i < l.paletteCount; ++i) {
        const uchar* e = palette + qsizetype(i) * l.paletteEntrySize;
        luma[size_t(i)] = luma1000(e[2], e[1], e[0]);
    }
    std::vector<bool> ink(static_cast<size_t>(full));
    if (l.paletteCount == 2 && luma[0] != luma[1]) {
        // Two colours: the darker one is the ink, whichever entry holds it.
        const size_t dark = luma[0] < luma[1] ? 0 : 1;
        for (size_t i = 0; i < ink.size(); ++i)
            ink[i] = i == dark || i >= 2;
        return ink;
    }
    for (size_t i = 0; i < ink.size(); ++i)
        ink[i] = luma[i] < 128 * 1000;
    return ink;
}

void readOneBit(const uchar* pixels, const Layout& l, const std::vector<bool>& ink, InkMask* mask)
{
    const bool invert = ink[0];
    const bool any = ink[0] || ink[1];
    const bool all = ink[0] && ink[1];
    const int words = mask->wordsPerRow();
    const qint64 copy = std::min<qint64>(l.rowBytes, qint64(words) * 8);
    std::vector<uchar> buffer(size_t(words) * 8, 0);
    for (int y = 0; y < l.height; ++y) {
        const int source = l.topDown ? y : l.height - 1 - y;
        quint64* out = mask->row(y);
        if (!any)
            continue;
        if (all) {
            std::fill(out, out + words, ~quint64(0));
            continue;
        }
        std::memcpy(buffer.data(), pixels + source * l.rowBytes, size_t(copy));
        for (int w = 0; w < words; ++w) {
            const quint64 v = qFromBigEndian<quint64>(buffer.data() + 8 * w);
            out[w] = invert ? ~v : v;
        }
    }
    mask->clearPadding();
}

void readIndexed(const uchar* pixels, const Layout& l, const std::vector<bool>& ink, InkMask* mask)
{
    const int bpp = l.bitsPerPixel;
    for (int y = 0; y < l.height; ++y) {
        const uchar* row = pixels + (l.topDown ? y : l.height - 1 - y) * l.rowBytes;
        for (int x = 0; x < l.width; ++x) {
            const int index = bpp == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
            if (ink[size_t(index)])
                mask->setPixel(x, y, true);
        }
    }
}

void readDirect(const uchar* pixels, const Layout& l, InkMask* mask)
{
    const int bytes = l.bitsPerPixel / 8;
    for (int y = 0; y < l.height; ++y) {
        const uchar* row = pixels + (l.topDown ? y : l.height - 1 - y) * l.rowBytes;
        for (int x = 0; x < l.width; ++x) {
            const uchar* px = row + qsizetype(x) * bytes;
            const quint32 v = bytes == 2 ? uint16LE(px)
                              : bytes == 3
                                  ? quint32(px[0]) | quint32(px[1]) << 8 | quint32(px[2]) << 16
                                  : uint32LE(px);
            if (isDark(l.channels[0].value(v), l.channels[1].value(v), l.channels[2].value(v)))
                mask->setPixel(x, y, true);
        }
    }
}

InkMask decode(const Layout& l, const uchar* palette, const uchar* pixels)
{
    InkMask mask(l.width, l.height);
    if (l.bitsPerPixel <= 8) {
        const std::vector<bool> ink = inkPalette(palette, l);
        if (l.bitsPerPixel == 1)
            readOneBit(pixels, l, ink, &mask);
        else
            readIndexed(pixels, l, ink, &mask);
    } else {
        readDirect(pixels, l, &mask);
    }
    return mask;
}

} // namespace

std::optional<InkMask> BmpReader::read(QByteArrayView data, QString* error)
{
    Layout l;
    if (!parseLayout(data, &l, error))
        return std::nullopt;
    if (data.size() < l.needed) {
        failTruncated(error, l.needed, data.size());
        return std::nullopt;
    }
    const auto* base = reinterpret_cast<const uchar*>(data.data());
    return decode(l, base + l.paletteOffset, base + l.pixelOffset);
}

std::optional<InkMask> BmpReader::readFile(const QString& path, QString* error)
{
    RegularFile file;
    QString reason;
    if (!file.open(path, &reason)) {
        fail(error, BmpReader::tr("cannot open the file: %1").arg(reason));
        return std::nullopt;
    }
    // The headers first, to learn what to read.  Of the rest only the palette and the pixel
    // rows the sizes imply: the header may put the pixels far beyond (a sparse file's gap).
    QByteArray header(qsizetype(std::min<qint64>(file.size(), FileHeaderSize + 124 + 12)),
                      Qt::Uninitialized);
    Layout l;
    if (!file.readAt(0, header.data(), header.size(), &reason) || !parseLayout(header, &l, error)) {
        if (!reason.isEmpty())
            fail(error, BmpReader::tr("cannot read the file: %1").arg(reason));
        return std::nullopt;
    }
    if (file.size() < l.needed) {
        failTruncated(error, l.needed, file.size());
        return std::nullopt;
    }
    QByteArray palette(qsizetype(l.paletteCount) * l.paletteEntrySize, Qt::Uninitialized);
    QByteArray pixels(qsizetype(l.pixelBytes), Qt::Uninitialized);
    if (!file.readAt(l.paletteOffset, palette.data(), palette.size(), &reason) ||
        !file.readAt(l.pixelOffset, pixels.data(), pixels.size(), &reason)) {
        fail(error, BmpReader::tr("cannot read the file: %1").arg(reason));
        return std::nullopt;
    }
    return decode(l, reinterpret_cast<const uchar*>(palette.constData()),
                  reinterpret_cast<const uchar*>(pixels.constData()));
}

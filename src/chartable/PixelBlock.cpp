#include "chartable/PixelBlock.h"

#include "chartable/CharTable.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr QRgb Opaque = 0xff000000;

// The eight pixels of each byte of a black-and-white block, most significant bit first: a
// whole table comes back in one copy of 32 bytes a byte, not one test a pixel.
using Octet = std::array<QRgb, 8>;
constexpr std::array<Octet, 256> Octets = [] {
    std::array<Octet, 256> octets{};
    for (int byte = 0; byte < 256; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            octets[byte][bit] =
                byte & (0x80 >> bit) ? CharTable::SetColour : CharTable::ClearColour;
    return octets;
}();

QRgb bitPixel(const uchar* bits, int i)
{
    return Octets[bits[i >> 3]][i & 7];
}

} // namespace

PixelBlock PixelBlock::of(const QImage& pixels, QPoint at)
{
    PixelBlock block;
    if (pixels.isNull())
        return block;
    const QImage rgb = pixels.format() == QImage::Format_RGB32
                           ? pixels
                           : pixels.convertToFormat(QImage::Format_RGB32);
    block.m_rect = QRect(at, rgb.size());
    const QRgb first = rgb.pixel(0, 0) | Opaque;
    bool uniform = true;
    bool blackAndWhite = true;
    for (int y = 0; y < rgb.height() && (uniform || blackAndWhite); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = line[x] | Opaque;
            uniform = uniform && c == first;
            blackAndWhite =
                blackAndWhite && (c == CharTable::SetColour || c == CharTable::ClearColour);
        }
    }
    if (uniform) {
        block.m_colour = first;
        return block;
    }
    if (!blackAndWhite) {
        block.m_kind = Kind::Colour;
        block.m_pixels = rgb;
        return block;
    }
    block.m_kind = Kind::BlackAndWhite;
    QImage bits(rgb.size(), QImage::Format_Mono);
    bits.fill(0);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = bits.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            if ((line[x] | Opaque) == CharTable::SetColour)
                out[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    block.m_pixels = bits;
    return block;
}

void PixelBlock::paint(QImage& table) const
{
    const QRect area = m_rect & table.rect();
    if (area.isEmpty())
        return;
    if (table.format() != QImage::Format_RGB32)
        table.convertTo(QImage::Format_RGB32);
    const QPoint from = area.topLeft() - m_rect.topLeft();
    for (int y = 0; y < area.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(table.scanLine(area.top() + y)) + area.left();
        switch (m_kind) {
        case Kind::Uniform:
            std::fill_n(line, area.width(), m_colour);
            break;
        case Kind::Colour: {
            const QRgb* source =
                reinterpret_cast<const QRgb*>(m_pixels.constScanLine(from.y() + y)) + from.x();
            std::transform(source, source + area.width(), line, [](QRgb c) { return c | Opaque; });
            break;
        }
        case Kind::BlackAndWhite: {
            const uchar* bits = m_pixels.constScanLine(from.y() + y);
            int x = 0;
            for (; x < area.width() && (from.x() + x) % 8; ++x)
                line[x] = bitPixel(bits, from.x() + x);
            for (; x + 8 <= area.width(); x += 8)
                std::memcpy(line + x, Octets[bits[(from.x() + x) >> 3]].data(), sizeof(Octet));
            for (; x < area.width(); ++x)
                line[x] = bitPixel(bits, from.x() + x);
            break;
        }
        }
    }
}

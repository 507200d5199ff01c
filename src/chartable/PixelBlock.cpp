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

PixelBlock PixelBlock::capture(const QImage& table, const QRect& rect)
{
    PixelBlock block;
    const QRect area = rect & table.rect();
    if (area.isEmpty())
        return block;
    // The whole table is not copied: when its colours are kept, the block shares them until
    // the table is next written.
    QImage rgb = area == table.rect() ? table : table.copy(area);
    if (rgb.format() != QImage::Format_RGB32)
        rgb.convertTo(QImage::Format_RGB32);
    block.m_rect = area;
    // One pass: the bits are packed while the colours are looked at.
    const QRgb first = rgb.pixel(0, 0) | Opaque;
    QImage bits(rgb.size(), QImage::Format_Mono);
    bool uniform = true;
    bool blackAndWhite = true;
    for (int y = 0; y < rgb.height() && (uniform || blackAndWhite); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = bits.scanLine(y);
        for (int x0 = 0; x0 < rgb.width(); x0 += 8) {
            // Eight pixels without a test that branches, as a byte of bits.
            const int n = std::min(8, rgb.width() - x0);
            unsigned set = 0;
            unsigned same = 1;
            unsigned known = 1;
            for (int k = 0; k < 8; ++k) {
                const QRgb c = (k < n ? line[x0 + k] : first) | Opaque;
                const unsigned black = c == CharTable::SetColour;
                set |= black << (7 - k);
                same &= c == first;
                known &= black | (c == CharTable::ClearColour);
            }
            out[x0 >> 3] = uchar(set & (0xff00u >> n)); // no bits past the row's end
            uniform = uniform && same;
            blackAndWhite = blackAndWhite && known;
        }
    }
    if (uniform) {
        block.m_colour = first;
    } else if (blackAndWhite) {
        block.m_kind = Kind::BlackAndWhite;
        block.m_pixels = bits;
    } else {
        block.m_kind = Kind::Colour;
        block.m_pixels = rgb;
    }
    return block;
}

bool PixelBlock::operator==(const PixelBlock& other) const
{
    if (m_rect != other.m_rect || m_kind != other.m_kind || m_colour != other.m_colour)
        return false;
    if (m_kind == Kind::Uniform || m_pixels.constBits() == other.m_pixels.constBits())
        return true;
    // Row by row: QImage's own comparison goes pixel by pixel through the one-bit format.  The
    // bits past a row's end are zero.
    const qsizetype rowBytes = m_kind == Kind::Colour ? m_rect.width() * qsizetype(sizeof(QRgb))
                                                      : (m_rect.width() + 7) / 8;
    for (int y = 0; y < m_rect.height(); ++y) {
        if (std::memcmp(m_pixels.constScanLine(y), other.m_pixels.constScanLine(y),
                        size_t(rowBytes)) != 0)
            return false;
    }
    return true;
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

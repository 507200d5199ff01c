#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

// A rectangle of character-table pixels kept for the undo history, in as little memory as its
// content allows: one colour when every pixel has it, one bit per pixel when there is only
// black and white (every table this program writes), else each pixel's exact colour.  The
// alpha byte of a pixel is not kept: the table is an RGB32 image.
class PixelBlock
{
public:
    PixelBlock() = default;

    // The pixels of the part of rect inside table.
    static PixelBlock capture(const QImage& table, const QRect& rect);

    // Writes the pixels back where they stood; the part outside table is left out.
    void paint(QImage& table) const;

    QRect rect() const { return m_rect; }
    bool isEmpty() const { return m_rect.isEmpty(); }
    // The memory the block holds beyond its own object.
    qsizetype bytes() const { return m_pixels.sizeInBytes(); }

    // True when both hold the same pixels at the same place.
    bool operator==(const PixelBlock& other) const;

private:
    enum class Kind { Uniform, BlackAndWhite, Colour };

    QRect m_rect;
    Kind m_kind = Kind::Uniform;
    QRgb m_colour = 0; // Uniform
    QImage m_pixels;   // BlackAndWhite: Format_Mono, 1 for black; Colour: Format_RGB32
};

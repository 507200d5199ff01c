#pragma once

#include "dots/GlyphSpacing.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QStringView>
#include <optional>

// A line of text set in the glyphs of the character table, at one pixel a dot: each character
// takes the glyph-size pixels at the top left of its code's cell, characters stand as the font
// spaces them (GlyphSpacing: boxes side by side, or each glyph's ink between its side bearings),
// and their bottom rows, the baseline, are the line's bottom row.
class PreviewLine
{
public:
    static constexpr QRgb Background = 0xffffffff;
    // The outline of the empty box that stands for a character without a glyph.
    static constexpr QRgb BoxColour = 0xffc8c8c8;

    // The code of each character of text (a surrogate pair is one character) as the character
    // box reads it; nothing for a character that has no code.
    static QList<std::optional<int>> codes(QStringView text);

    // The table pixels of a code's glyph, or nothing when the code has none: the control codes
    // 0 to 31 and the codes of 256 and above, which have no cell.
    static std::optional<QRect> glyphRect(int code, QSize glyph);

    // The line of text at glyph size, with the side bearings in dots when they are sent; a null
    // image for an empty text or an empty glyph size.
    static QImage render(const QImage& table, QStringView text, QSize glyph,
                         const std::optional<GlyphSpacing::Bearings>& bearings = {});
};

#pragma once

#include "codes/CodeText.h"
#include "dots/GlyphSpacing.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QStringView>
#include <optional>

class GlyphStore;

// A line of text set in the glyphs of the glyph store, at one pixel a dot: each character takes
// the glyph-size pixels at the top left of its code's cell, characters stand as the font spaces
// them (GlyphSpacing: boxes side by side, or each glyph's ink between its side bearings), and
// their bottom rows, the baseline, are the line's bottom row.  A double-byte character whose
// glyph has no set dot has not been drawn: it shows as the empty box.
class PreviewLine
{
public:
    static constexpr QRgb Background = 0xffffffff;
    // The outline of the empty box that stands for a character without a glyph.
    static constexpr QRgb BoxColour = 0xffc8c8c8;

    // The code of each character of text (a surrogate pair is one character) as the character
    // box reads it in page; nothing for a character that has no code.
    static QList<std::optional<int>> codes(QStringView text, CodePage page = CodePage::Cp932);

    // The pixels of a code's glyph in its page of the store, or nothing when the code has none:
    // the control codes 0 to 31 and the codes without a cell.
    static std::optional<QRect> glyphRect(int code, QSize glyph);

    // The line of text at glyph size, its characters read in page, with the side bearings in
    // dots when they are sent; a null image for an empty text or an empty glyph size.
    static QImage render(const GlyphStore& store, QStringView text, QSize glyph,
                         CodePage page = CodePage::Cp932,
                         const std::optional<GlyphSpacing::Bearings>& bearings = {});
};

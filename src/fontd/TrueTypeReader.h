#pragma once

#include "fontd/FontDocument.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>
#include <memory>

// Reads a TrueType font with glyf outlines into a font document: the glyph of every code the
// font's character map reaches, with its advance width, and the family name.
//
// The kind is Japanese when the font has a (3,2) Shift_JIS subtable or sets the code page 932
// bit in OS/2, Western otherwise.  Codes come from the (3,2) subtable when there is one, else
// from a Unicode subtable ((3,10), (3,1) or (0,*)) through code page 932 or 1252.  Glyphs are
// kept as they are: a font whose reached glyphs have curves (off-curve points) or are
// composites is refused, as is one of other than 960 units per em, since imported dots would
// not fit its grid, unless it is a font of square dots made here: its dot grid is read back
// from its metrics (see dotGrid in the source), so that it keeps its whole-dot geometry.  Other
// tables (kerning, layout, hinting, the bitmap strike, which a save makes anew from the
// outlines) and glyphs no code reaches are not kept.  Every offset and count is checked against
// the data; bad input gives a reason, never a crash.  A damaged part of the character map costs
// only itself: a subtable beyond the cmap or cut off is skipped for the next one that serves, a
// segment whose glyph list lies outside its subtable gives its codes no glyph, and the
// document's readWarnings() say so.
//
// The work is bounded by the data and the format's limits: loca must ascend (no glyph's bytes
// are read as another's), and the glyphs of all codes together, a glyph reached by several
// codes counted for each, may hold at most MaxTotalPoints points and MaxTotalContours
// contours.  That holds every font drawn here with room to spare (all 7336 Japanese glyphs of
// IPA Gothic at 32 x 32 dots are 2.3 M dots, so 2.3 M contours and 9 M points when every dot
// stands apart) and keeps a hostile file of any size near a second and a few hundred MB at
// worst; a file beyond the bounds is refused before any outline is read.
class TrueTypeReader
{
    Q_DECLARE_TR_FUNCTIONS(TrueTypeReader)

public:
    static constexpr qint64 MaxTotalPoints = qint64(16) << 20;
    static constexpr qint64 MaxTotalContours = qint64(4) << 20;

    static std::unique_ptr<FontDocument> read(QByteArrayView data, QString* error = nullptr);
};

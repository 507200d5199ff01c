#pragma once

#include "dots/DotGrid.h"
#include "dots/InkMask.h"
#include "fontd/FontDocument.h"

#include <QByteArray>
#include <QPoint>
#include <span>
#include <vector>

// The embedded bitmap strike of a font of square dots (EBLC and EBDT, version 2.0): at the
// native size, dotsY pixels per em, each glyph's dots as a one-bit bitmap, so that renderers
// that prefer bitmaps at that size (Windows GDI, FreeType with embedded bitmaps) show exactly
// the dots.
//
// A glyph's dots come from its outline, so a font read from a file gets the same strike as the
// one it was saved from: dot (i, j) of the whole-dot lattice is set when the point half a unit
// inside its top-left corner lies inside the outline (non-zero winding), the corner where the
// export's boxes begin whatever their size.  Each bitmap is its dots' bounding box, byte-aligned
// rows with big metrics (EBDT format 6), all in one index subtable of format 1.  A glyph without
// dots, or one whose bitmap or metrics do not fit the format's bytes, has no bitmap: renderers
// take its outline.
class BitmapStrike
{
public:
    struct Tables
    {
        QByteArray eblc;
        QByteArray ebdt;
    };

    // The strike of the glyphs, in glyph order.  ascender and descender are the line's
    // metrics in dots (descender negative).  Empty tables when no glyph has dots.
    static Tables build(std::span<const FontGlyph* const> glyphs, const DotGrid& grid, int ascender,
                        int descender);

    // The dots the outline covers, as a mask of their lattice's bounding box of the outline,
    // top row first; topLeft receives the mask's top-left dot: its column from the origin and
    // the height of its top edge above the baseline, in dots.  A null mask for no contours.
    static InkMask dots(const FontGlyph& glyph, int unitsPerDot, QPoint* topLeft);

private:
    struct Crossing
    {
        int row; // mask row, top first
        int x;
        int dir;
    };
    struct Span
    {
        int row;
        int from;
        int to;
    };
    // Work buffers kept from one glyph to the next.
    struct Scratch
    {
        std::vector<Crossing> crossings;
        std::vector<Crossing> sorted;
        std::vector<int> rowStart;
        std::vector<int> rowNext;
        std::vector<Span> spans;
    };
    static InkMask dots(const FontGlyph& glyph, int unitsPerDot, QPoint* topLeft, Scratch& scratch);
};

#pragma once

#include "chartable/FontReader.h"

#include <QList>
#include <QMap>
#include <QRect>
#include <QSize>

class GlyphStore;

// Glyphs of outside fonts (FontReader) into the glyph store, every glyph in the top-left of its
// code's cell and all of them on one common baseline, as the editor's import and the server's
// build from fonts put them.
class FontImport
{
public:
    // Where the glyphs of one or more fonts go in their cells: the rows above the common
    // baseline (the most any font has), and the glyph size that holds every font's cell below
    // that, each side within FontReader::MinDots..MaxDots.
    struct Layout
    {
        QSize glyphSize;
        int baseline = 0;
    };
    static Layout layout(const QList<const FontReader::Font*>& fonts);

    // The pages font's glyphs are written to, each with the part of it their cells' top-left
    // size takes.
    static QMap<int, QRect> area(const FontReader::Font& font, QSize size);

    // Writes every glyph of font into store: the top-left layout.glyphSize of its code's cell
    // is cleared, then takes the glyph's dots, moved down so that the font's baseline lies on
    // the layout's.  The rest of each cell, and every other cell, stay as they were.  Returns
    // how many glyphs lost set dots beyond the glyph size, here or in the reader.  With a page
    // given, only the glyphs of that page.
    static int write(GlyphStore& store, const FontReader::Font& font, const Layout& layout,
                     int page = -1);
};

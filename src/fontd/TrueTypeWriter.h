#pragma once

#include "fontd/FontDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// Builds a TrueType font file from a font document.
//
// Tables: OS/2 (version 4), cmap, glyf, head, hhea, hmtx, loca, maxp, name and post (3.0, no
// glyph names), sorted by tag, each 4-byte aligned with its checksum, and the whole-file
// checksum adjustment in head.  Glyph 0 is .notdef (a hollow box); then comes one glyph per
// code that has a glyph, by ascending code.  cmap: (3,1) Unicode for every font, through code
// page 1252 for a Western font and code page 932 for a Japanese one, which also gets a (3,2)
// Shift_JIS subtable; format 4 where it fits, else format 12 (as (3,10) and (3,1)).
//
// Every table's size is computed first; the tables are then written into one buffer of that
// size through bounds-checked writers.
class TrueTypeWriter
{
    Q_DECLARE_TR_FUNCTIONS(TrueTypeWriter)

public:
    // Returns the file's bytes, or an empty array with a reason when the glyphs do not fit a
    // TrueType font.  created and modified go into head; invalid means now.
    static QByteArray write(const FontDocument& font, QString* error = nullptr,
                            const QDateTime& timestamp = {});
};

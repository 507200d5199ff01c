#pragma once

#include "fontd/BigEndianWriter.h"

#include <QtGlobal>
#include <optional>
#include <span>
#include <vector>

// One character-to-glyph subtable of a TrueType cmap: format 4 (segments, 16-bit codes, at
// most 64 KiB) or format 12 (groups, 32-bit codes).
class CmapSubtable
{
public:
    struct Mapping
    {
        quint32 code;
        quint16 glyph;
    };

    // Mappings must be sorted by code without repeats (glyph 0 entries map to nothing anyway).
    // Returns nothing when a code does not fit 16 bits (0xFFFF is reserved) or the table
    // would pass the 65535-byte limit of its length field.
    static std::optional<CmapSubtable> format4(std::span<const Mapping> mappings);
    static CmapSubtable format12(std::span<const Mapping> mappings);

    int format() const { return m_format; }
    qint64 size() const;
    void write(BigEndianWriter& out) const;

private:
    struct Segment
    {
        quint32 start;
        quint32 end;
        quint32 startGlyph; // delta segments (format 4) and groups (format 12)
        int arrayStart;     // format 4 segments that list their glyphs, else -1
    };

    int m_format = 4;
    std::vector<Segment> m_segments;
    std::vector<quint16> m_glyphArray;
};

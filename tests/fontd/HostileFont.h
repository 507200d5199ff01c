#pragma once

#include <QByteArray>

// TrueType files made to cost a reader as much as they can: every table the reader needs is
// well formed, but the Japanese font's codes reach glyphs of many contours, each one point
// at (0, 0) (their flags repeat, their coordinates take no bytes).
class HostileFont
{
public:
    enum class Layout {
        // The loca entries go back and forth between the one glyph's start and end, and
        // the codes reach the odd glyph ids: every one of them reads that glyph.
        BackAndForth,
        // Loca ascending; every code reaches glyph 1.
        Shared,
        // Loca ascending; every code has a glyph of its own, each as heavy as the others.
        Distinct,
    };

    // A font of the first `codes` codes of a Japanese font (at most about 7900), whose glyphs
    // have `contours` contours of pointsPerContour points (at most 65535 points in all).
    static QByteArray make(Layout layout, int codes, int contours, int pointsPerContour = 1);

    // A font of this program's writer with one fault in its character map: a Japanese font of
    // 0x41-0x43 whose first record lies beyond the cmap (a good (3,1) follows), or a Western one
    // of 0x41, 0x43, 0x50, 0x52, 0x60, 0x62 whose first segment's glyph list does.
    enum class CmapFault { RecordBeyondCmap, WildSegment };
    static QByteArray damagedCmap(CmapFault fault);
};

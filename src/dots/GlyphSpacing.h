#pragma once

#include <optional>

// Where a glyph's ink stands in its advance, in whole dots: the spacing of the fonts made of
// square dots, which the preview sets its line by too.
//
// Without side bearings a glyph advances its box and its ink stays where it was drawn.  With
// them the ink moves so that it begins lsb dots after the origin, and the advance ends rsb dots
// after the ink.  A glyph without ink (the space) advances its box either way: bearings around
// no ink would make a space of their sum alone.
class GlyphSpacing
{
public:
    struct Bearings
    {
        int lsb = 0;
        int rsb = 0;
    };
    struct Placement
    {
        int shift = 0; // dots the ink moves right
        int advance = 0;
        bool operator==(const Placement&) const = default;
    };

    // inkLeft up to inkRight (not included) are the columns of the ink; none when inkRight is
    // not beyond inkLeft.
    static Placement place(int inkLeft, int inkRight, int boxWidth,
                           const std::optional<Bearings>& bearings);

    // A side bearing typed in font units, in whole dots of unitsPerDot units: the nearest,
    // halves away from zero, so that half a dot of bearing still makes one.
    static int toDots(int units, int unitsPerDot);
};

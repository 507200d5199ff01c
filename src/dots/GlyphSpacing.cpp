#include "dots/GlyphSpacing.h"

#include <cstdlib>

GlyphSpacing::Placement GlyphSpacing::place(int inkLeft, int inkRight, int boxWidth,
                                            const std::optional<Bearings>& bearings)
{
    if (!bearings || inkRight <= inkLeft)
        return {0, boxWidth};
    return {bearings->lsb - inkLeft, bearings->lsb + (inkRight - inkLeft) + bearings->rsb};
}

int GlyphSpacing::toDots(int units, int unitsPerDot)
{
    const int whole = (2 * std::abs(units) + unitsPerDot) / (2 * unitsPerDot);
    return units < 0 ? -whole : whole;
}

#pragma once

#include "dots/GridGeometry.h"

#include <QPoint>
#include <optional>

// How the export canvas maps to font units, and the whole-dot metrics of a font of square dots.
//
// A canvas pixel is UnitsPerPixel font units square.  Without a native grid (oblong dots, or a
// font never told its grid) the canvas's left edge is x = 0, its row CanvasBaseline lies on the
// baseline and the em is UnitsPerEm, the editor's 480-pixel square.  With square dots the font
// is made of whole dots, so that at dotsY pixels per em, the native size, every dot is one
// pixel: a dot is 2 * pitch units, the em is dotsY dots, the glyph box's left edge is x = 0
// and the baseline is the dot-row boundary nearest to canvas row CanvasBaseline, held within
// the box.
class DotGrid
{
public:
    static constexpr int UnitsPerPixel = 2;
    static constexpr int CanvasBaseline = 400;
    static constexpr int UnitsPerEm = GridGeometry::Extent * UnitsPerPixel;
    // The glyph sizes the editor's sliders allow.
    static constexpr int MinDots = 3;
    static constexpr int MaxDots = 32;

    // The grid of dotsX x dotsY square dots; nothing outside MinDots..MaxDots.
    static std::optional<DotGrid> square(int dotsX, int dotsY);
    // The editor's grid: square dots have a native size, oblong ones none.
    static std::optional<DotGrid> of(int dotsX, int dotsY, bool square);

    int dotsX() const { return m_dotsX; }
    int dotsY() const { return m_dotsY; }
    const GridGeometry& geometry() const { return m_geometry; }

    int unitsPerDot() const { return UnitsPerPixel * m_geometry.nY(); }
    int unitsPerEm() const { return m_dotsY * unitsPerDot(); }
    // Dot rows above the baseline.
    int baselineRow() const { return m_baselineRow; }
    int ascender() const { return m_baselineRow * unitsPerDot(); }
    int descender() const { return (m_baselineRow - m_dotsY) * unitsPerDot(); }
    int boxWidth() const { return m_dotsX * unitsPerDot(); }

    // The canvas pixel corner at the font's origin: the box's left edge on the baseline.
    QPoint canvasOrigin() const;
    // The same for a font with or without a native grid.
    static QPoint canvasOrigin(const std::optional<DotGrid>& grid);

    // The canvas row on the baseline of the editor's grid: the boundary above it.
    static int baselinePixel(int dotsX, int dotsY, bool square);

    bool operator==(const DotGrid&) const = default;

private:
    DotGrid(int dotsX, int dotsY);

    int m_dotsX = 0;
    int m_dotsY = 0;
    GridGeometry m_geometry;
    int m_baselineRow = 0;
};

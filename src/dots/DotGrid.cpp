#include "dots/DotGrid.h"

#include <algorithm>

DotGrid::DotGrid(int dotsX, int dotsY)
    : m_dotsX(dotsX)
    , m_dotsY(dotsY)
    , m_geometry(GridGeometry::compute(dotsX, dotsY, true))
{
    // The nearest boundary, a tie going down (more ascent); a box that ends above row 400
    // sits on the baseline.
    const int pitch = m_geometry.nY();
    const int above = CanvasBaseline - m_geometry.ofsY();
    m_baselineRow = std::clamp((2 * above + pitch) / (2 * pitch), 0, dotsY);
}

std::optional<DotGrid> DotGrid::square(int dotsX, int dotsY)
{
    if (dotsX < MinDots || dotsX > MaxDots || dotsY < MinDots || dotsY > MaxDots)
        return std::nullopt;
    return DotGrid(dotsX, dotsY);
}

std::optional<DotGrid> DotGrid::of(int dotsX, int dotsY, bool square)
{
    if (!square)
        return std::nullopt;
    return DotGrid::square(dotsX, dotsY);
}

QPoint DotGrid::canvasOrigin() const
{
    return QPoint(m_geometry.ofsX(), m_geometry.ofsY() + m_baselineRow * m_geometry.nY());
}

QPoint DotGrid::canvasOrigin(const std::optional<DotGrid>& grid)
{
    return grid ? grid->canvasOrigin() : QPoint(0, CanvasBaseline);
}

int DotGrid::baselinePixel(int dotsX, int dotsY, bool square)
{
    return canvasOrigin(of(dotsX, dotsY, square)).y();
}

#include "dots/GridGeometry.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

GridGeometry::GridGeometry(int ofsX, int ofsY, int endX, int endY, int nX, int nY)
    : m_ofsX(ofsX)
    , m_ofsY(ofsY)
    , m_endX(endX)
    , m_endY(endY)
    , m_nX(nX)
    , m_nY(nY)
{}

int GridGeometry::centredOffset(int dots, int pitch)
{
    const int spare = Extent - dots * pitch;
    const int half = spare / 2;
    // An odd spare leaves half + 0.5: the tie goes to the even neighbour.
    if (spare % 2 == 0 || half % 2 == 0)
        return half;
    return half + 1;
}

GridGeometry GridGeometry::compute(int dotsX, int dotsY, bool square)
{
    Q_ASSERT(dotsX > 0 && dotsY > 0);
    int nX = Extent / dotsX;
    int nY = Extent / dotsY;
    if (square) {
        nX = std::min(nX, nY);
        nY = nX;
    }
    int ofsX = 0;
    int ofsY = 0;
    int endX = Extent;
    int endY = Extent;
    if (dotsX * nX != Extent) {
        ofsX = centredOffset(dotsX, nX);
        endX = dotsX * nX + ofsX;
    }
    if (dotsY * nY != Extent) {
        ofsY = centredOffset(dotsY, nY);
        endY = dotsY * nY + ofsY;
    }
    return GridGeometry(ofsX, ofsY, endX, endY, nX, nY);
}

std::optional<QPoint> GridGeometry::hitDot(double X, double Y) const
{
    if (!(X >= m_ofsX && Y >= m_ofsY && X < m_endX && Y < m_endY))
        return std::nullopt;
    return dotNear(X, Y);
}

std::optional<QPoint> GridGeometry::dotNear(double X, double Y) const
{
    if (std::isnan(X) || std::isnan(Y))
        return std::nullopt;
    // Pointer positions are screen-sized; the bound only keeps a wild one inside int.
    static constexpr double bound = 1 << 24;
    const double dx = std::floor((std::clamp(X, -bound, bound) - m_ofsX) / m_nX);
    const double dy = std::floor((std::clamp(Y, -bound, bound) - m_ofsY) / m_nY);
    return QPoint(int(dx), int(dy));
}

QRect GridGeometry::dotBox(int x, int y) const
{
    return QRect(m_ofsX + m_nX * x, m_ofsY + m_nY * y, m_nX - 1, m_nY - 1);
}

#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

// Where the dot grid sits on the 480 x 480 drawing square of the glyph canvas: the dot pitch in
// each direction and the grid rectangle, centred when the dots do not fill the square.
class GridGeometry
{
public:
    // Side of the square the grid is fitted into, in canvas pixels.
    static constexpr int Extent = 480;

    GridGeometry() = default;
    GridGeometry(int ofsX, int ofsY, int endX, int endY, int nX, int nY);

    // The geometry of a grid of dotsX x dotsY dots (each at least 1).  With square set both
    // pitches become the smaller one, so that every dot cell is square.
    static GridGeometry compute(int dotsX, int dotsY, bool square);

    // (Extent - dots * pitch) / 2 rounded to the nearest integer, halves to even.
    static int centredOffset(int dots, int pitch);

    int ofsX() const { return m_ofsX; }
    int ofsY() const { return m_ofsY; }
    int endX() const { return m_endX; }
    int endY() const { return m_endY; }
    int nX() const { return m_nX; }
    int nY() const { return m_nY; }

    // The grid rectangle: from (ofsX, ofsY) up to, but not including, (endX, endY).
    QRect gridRect() const { return QRect(m_ofsX, m_ofsY, m_endX - m_ofsX, m_endY - m_ofsY); }

    // The dot under the canvas position (X, Y), or nothing when the position lies outside the
    // grid rectangle.  The grid line on the right and bottom edge of a dot cell belongs to
    // that cell.
    std::optional<QPoint> hitDot(double X, double Y) const;
    // The dot whose cell the position (X, Y) falls in, as if the grid went on beyond its
    // rectangle: where a drag that leaves the grid is heading.  Nothing when X or Y is not a
    // number.
    std::optional<QPoint> dotNear(double X, double Y) const;

    // The box painted for dot (x, y): the cell without its last column and row, which carry
    // the grid lines.
    QRect dotBox(int x, int y) const;

    // Canvas column of vertical grid line i (0..dotsX) and row of horizontal line j; line 0
    // lies one pixel before the grid's origin.
    int verticalLineX(int i) const { return m_ofsX + m_nX * i - 1; }
    int horizontalLineY(int j) const { return m_ofsY + m_nY * j - 1; }

    bool operator==(const GridGeometry&) const = default;

private:
    int m_ofsX = 0;
    int m_ofsY = 0;
    int m_endX = Extent;
    int m_endY = Extent;
    int m_nX = Extent;
    int m_nY = Extent;
};

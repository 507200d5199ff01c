#pragma once

#include "dots/InkMask.h"

#include <QList>
#include <QPolygon>
#include <optional>
#include <vector>

// Traces the ink of a one-bit image as exact orthogonal polygons along the pixel cracks.
//
// Points are pixel corners: the pixel (x, y) is the square from (x, y) to (x + 1, y + 1), y
// pointing down.  Each maximal straight run of the ink boundary is one edge, so every point is
// a corner: no collinear and no repeated points, and the first point is not repeated at the
// end.  Walking a polygon, the ink lies on the right once y points up (font space): outer
// contours run clockwise there and holes counter-clockwise, the TrueType winding, so the
// winding number is -1 inside ink and 0 elsewhere.  Pixels that share an edge lie inside one
// contour; pixels that touch only at a corner are separated there (the walk turns right,
// hugging the pixel it follows), and a contour that would meet itself at such a corner is cut
// there into two, so every contour is a simple polygon and contours meet at most at corners.
//
// The scan works on 64-bit words of the mask and visits only corner points afterwards.  A
// tracer keeps its work buffers between calls; use one per thread.
class ContourTracer
{
public:
    QList<QPolygon> trace(const InkMask& mask);
    // The same, giving up (and answering nothing) as soon as the contours need more than
    // maxPoints points in all: a large image of fine detail could otherwise take gigabytes.
    std::optional<QList<QPolygon>> trace(const InkMask& mask, qsizetype maxPoints);

private:
    bool collectCorners(const InkMask& mask, qsizetype maxPoints);
    void sortByColumn(int width);
    void walk(QList<QPolygon>* out);

    // One entry per corner point, two for a point where ink touches ink only diagonally; in
    // the order of the rows (y, then x), so that entry e ^ 1 ends the horizontal edge of e.
    std::vector<int> m_x;
    std::vector<int> m_y;
    std::vector<quint8> m_outHorizontal; // the edge leaving the entry is horizontal
    std::vector<int> m_sibling;          // the other entry of a diagonal point, or -1
    std::vector<bool> m_swapInColumn;    // first entry of a diagonal point that goes down first
    // The entries in column order (x, then y), and each entry's place in it: the entry at
    // place p ^ 1 ends the vertical edge.
    std::vector<int> m_columnOrder;
    std::vector<int> m_columnPlace;
    std::vector<int> m_columnStart;
    // Walk state.
    std::vector<quint8> m_visited;
    std::vector<int> m_place;
    std::vector<QPoint> m_points;
    std::vector<int> m_pointEntry;
    std::vector<quint64> m_zeroRow;
};

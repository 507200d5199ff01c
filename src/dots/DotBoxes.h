#pragma once

#include "dots/GridGeometry.h"
#include "dots/InkMask.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The picture the export sends for a glyph: on a cleared canvas, one black box for every set
// dot, from the top-left pixel of the dot's grid cell, its sides a percentage of the dot
// pitch.  No grid lines.  The editor paints it on its canvas and writes it as the glyph bitmap;
// the headless build traces the boxes' ink straight away, the same ink the server reads from
// that bitmap.
class DotBoxes
{
public:
    // The export canvas: the grid's 480-pixel square and the two pixels its last grid lines
    // take beyond it.
    static constexpr int CanvasSide = GridGeometry::Extent + 2;

    // Sides of one box: sizePercent of the pitch rounded to the nearest integer, halves to
    // even, and at least one pixel, so that a set dot never vanishes from the export.
    static QSize boxSize(const GridGeometry& grid, int sizePercent);

    // The boxes of the set dots of a glyph, one bit a dot, row by row.
    static QList<QRect> boxes(const InkMask& dots, const GridGeometry& grid, int sizePercent);

    // The ink of the export canvas with the boxes on it, clipped to the canvas: the mask the
    // font server reads from the glyph bitmap of that canvas, without the bitmap.
    static InkMask ink(const QList<QRect>& boxes);

    // Fills canvas with background, then every box, clipped to the canvas, black.  The canvas
    // becomes Format_RGB32 if it is not.
    static void paint(QImage& canvas, const QList<QRect>& boxes, QRgb background);
};

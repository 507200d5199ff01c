#pragma once

#include "dots/DotGrid.h"
#include "dots/GridGeometry.h"
#include "dots/InkMask.h"
#include "fontd/ContourTracer.h"
#include "fontd/FontDocument.h"

#include <QCoreApplication>
#include <QRect>
#include <QString>

// Turns traced ink into a glyph in font units and sets side bearings, within the limits of a
// TrueType simple glyph.
//
// The image maps to font units at DotGrid::UnitsPerPixel units per pixel: pixel corner (x, y)
// becomes (2 (x - origin.x), 2 (origin.y - y)), so every corner is a whole number and boxes
// that touch in the image touch exactly in the font.  Without a grid the origin is (0, 400):
// the image's left edge lies on x = 0 and its row 400 on the baseline.
class GlyphBuilder
{
    Q_DECLARE_TR_FUNCTIONS(GlyphBuilder)

public:
    // Limits of one simple glyph: contour and point counts and the coordinate range.
    static constexpr int MaxContours = 32767;
    static constexpr int MaxPoints = 65535;
    static constexpr int MinCoordinate = -32768;
    static constexpr int MaxCoordinate = 32767;
    static constexpr int MaxAdvance = 65535;

    // The glyph of the ink with the image pixel corner origin at the font's origin: its
    // contours, the advance given (the image width when none) and a left side bearing of the
    // leftmost ink.  Returns false with a reason, leaving glyph alone, when the outline does
    // not fit one TrueType glyph.
    static bool fromInk(const InkMask& ink, ContourTracer& tracer, QPoint origin,
                        std::optional<int> advance, FontGlyph* glyph, QString* error = nullptr);
    // The same without a grid.
    static bool fromInk(const InkMask& ink, ContourTracer& tracer, FontGlyph* glyph,
                        QString* error = nullptr);
    // The same for the boxes DotBoxes draws for dots on grid when they fill their cells: the
    // dots are traced and their corners scaled to the grid, which the tracer's corners keep
    // their order under, so the outline is the one of the boxes' ink at a hundredth of the
    // pixels.
    static bool fromDots(const InkMask& dots, const GridGeometry& grid, ContourTracer& tracer,
                         QPoint origin, std::optional<int> advance, FontGlyph* glyph,
                         QString* error = nullptr);
    // The same for contours already traced, in pixel corners of an image width pixels wide.
    static bool fromContours(QList<QPolygon> contours, int width, QPoint origin,
                             std::optional<int> advance, FontGlyph* glyph,
                             QString* error = nullptr);

    // Moves the contours so that the leftmost ink lies at lsb and sets the advance to the
    // rightmost ink plus rsb, lsb + rsb for an empty glyph; with a grid both bearings are whole
    // dots, the ink is measured in whole dots and an empty glyph advances the box width
    // (GlyphSpacing).  Returns false with a reason, leaving glyph alone, when the result would
    // not fit (a negative advance or coordinates beyond 16 bits).
    static bool setSideBearings(FontGlyph* glyph, int lsb, int rsb,
                                const std::optional<DotGrid>& grid, QString* error = nullptr);
    static bool setSideBearings(FontGlyph* glyph, int lsb, int rsb, QString* error = nullptr)
    {
        return setSideBearings(glyph, lsb, rsb, std::nullopt, error);
    }

    // Checks what a TrueType simple glyph can hold; the reason names the first problem.
    static bool fits(const FontGlyph& glyph, QString* error = nullptr);

    // The bounding box of the contours' points (left, top = smallest x and y, right and bottom
    // = largest x and y, QRect's inclusive convention); a null rectangle when there are none.
    static QRect bounds(const FontGlyph& glyph);
};

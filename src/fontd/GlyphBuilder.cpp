#include "fontd/GlyphBuilder.h"

#include "dots/DotBoxes.h"
#include "dots/GlyphSpacing.h"

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool GlyphBuilder::fromInk(const InkMask& ink, ContourTracer& tracer, FontGlyph* glyph,
                           QString* error)
{
    return fromInk(ink, tracer, DotGrid::canvasOrigin(std::nullopt), std::nullopt, glyph, error);
}

bool GlyphBuilder::fromInk(const InkMask& ink, ContourTracer& tracer, QPoint origin,
                           std::optional<int> advance, FontGlyph* glyph, QString* error)
{
    constexpr int unit = DotGrid::UnitsPerPixel;
    if (!advance && qint64(ink.width()) * unit > MaxAdvance)
        return fail(error,
                    GlyphBuilder::tr("the image is %1 pixels wide; a glyph can be at most %2")
                        .arg(ink.width())
                        .arg(MaxAdvance / unit));
    std::optional<QList<QPolygon>> contours = tracer.trace(ink, MaxPoints);
    if (!contours)
        return fail(error, GlyphBuilder::tr("the outline needs more than %1 points, the most a "
                                            "glyph holds")
                               .arg(MaxPoints));
    return fromContours(std::move(*contours), ink.width(), origin, advance, glyph, error);
}

bool GlyphBuilder::fromDots(const InkMask& dots, const GridGeometry& grid, ContourTracer& tracer,
                            QPoint origin, std::optional<int> advance, FontGlyph* glyph,
                            QString* error)
{
    QList<QPolygon> contours = tracer.trace(dots);
    for (QPolygon& contour : contours) {
        for (QPoint& p : contour)
            p = QPoint(grid.ofsX() + p.x() * grid.nX(), grid.ofsY() + p.y() * grid.nY());
    }
    return fromContours(std::move(contours), DotBoxes::CanvasSide, origin, advance, glyph, error);
}

bool GlyphBuilder::fromContours(QList<QPolygon> contours, int width, QPoint origin,
                                std::optional<int> advance, FontGlyph* glyph, QString* error)
{
    constexpr int unit = DotGrid::UnitsPerPixel;
    FontGlyph result;
    result.contours = std::move(contours);
    for (QPolygon& contour : result.contours) {
        for (QPoint& p : contour)
            p = QPoint((p.x() - origin.x()) * unit, (origin.y() - p.y()) * unit);
    }
    result.advanceWidth = advance.value_or(width * unit);
    result.leftSideBearing = result.contours.isEmpty() ? 0 : bounds(result).left();
    if (!fits(result, error))
        return false;
    *glyph = std::move(result);
    return true;
}

bool GlyphBuilder::setSideBearings(FontGlyph* glyph, int lsb, int rsb,
                                   const std::optional<DotGrid>& grid, QString* error)
{
    // The ink moves so that its left edge lies at lsb.  An empty glyph has no ink to move; its
    // advance is lsb + rsb, or with a grid the box width, bearings around no ink making no
    // space.
    const bool empty = glyph->contours.isEmpty();
    const QRect box = empty ? QRect() : bounds(*glyph);
    qint64 shift = empty ? 0 : qint64(lsb) - box.left();
    qint64 advance = empty ? qint64(lsb) + rsb : box.right() + shift + rsb;
    if (grid) {
        // Whole dots: the ink's dot columns, the bearings rounded to dots.
        const int d = grid->unitsPerDot();
        const auto floorDiv = [d](int v) { return v >= 0 ? v / d : -((-v + d - 1) / d); };
        const int inkLeft = empty ? 0 : floorDiv(box.left());
        const int inkRight = empty ? 0 : -floorDiv(-box.right());
        const GlyphSpacing::Placement p = GlyphSpacing::place(
            inkLeft, inkRight, grid->dotsX(),
            GlyphSpacing::Bearings{GlyphSpacing::toDots(lsb, d), GlyphSpacing::toDots(rsb, d)});
        shift = empty ? 0 : qint64(p.shift) * d;
        advance = qint64(p.advance) * d;
    }
    const qint64 left = empty ? 0 : box.left() + shift;
    const qint64 right = empty ? 0 : box.right() + shift;
    if (!empty && (left < MinCoordinate || right > MaxCoordinate))
        return fail(error, GlyphBuilder::tr("a left side bearing of %1 moves the glyph outside the "
                                            "coordinate range %2..%3")
                               .arg(lsb)
                               .arg(MinCoordinate)
                               .arg(MaxCoordinate));
    if (advance < 0 || advance > MaxAdvance)
        return fail(error, GlyphBuilder::tr("side bearings %1 and %2 give an advance width of %3, "
                                            "outside 0..%4")
                               .arg(lsb)
                               .arg(rsb)
                               .arg(advance)
                               .arg(MaxAdvance));
    for (QPolygon& contour : glyph->contours)
        contour.translate(int(shift), 0);
    glyph->advanceWidth = int(advance);
    glyph->leftSideBearing = int(left);
    return true;
}

bool GlyphBuilder::fits(const FontGlyph& glyph, QString* error)
{
    if (glyph.contours.size() > MaxContours)
        return fail(error, GlyphBuilder::tr("the outline has %1 contours; a glyph holds at most %2")
                               .arg(glyph.contours.size())
                               .arg(MaxContours));
    qint64 points = 0;
    for (const QPolygon& contour : glyph.contours)
        points += contour.size();
    if (points > MaxPoints)
        return fail(error, GlyphBuilder::tr("the outline has %1 points; a glyph holds at most %2")
                               .arg(points)
                               .arg(MaxPoints));
    if (!glyph.contours.isEmpty()) {
        const QRect box = bounds(glyph);
        if (box.left() < MinCoordinate || box.right() > MaxCoordinate ||
            box.top() < MinCoordinate || box.bottom() > MaxCoordinate)
            return fail(error, GlyphBuilder::tr("the outline reaches beyond the coordinate range "
                                                "%1..%2")
                                   .arg(MinCoordinate)
                                   .arg(MaxCoordinate));
    }
    if (glyph.advanceWidth < 0 || glyph.advanceWidth > MaxAdvance)
        return fail(error, GlyphBuilder::tr("the advance width %1 lies outside 0..%2")
                               .arg(glyph.advanceWidth)
                               .arg(MaxAdvance));
    return true;
}

QRect GlyphBuilder::bounds(const FontGlyph& glyph)
{
    int left = 0, top = 0, right = -1, bottom = -1;
    bool first = true;
    for (const QPolygon& contour : glyph.contours) {
        for (const QPoint& p : contour) {
            if (first) {
                left = right = p.x();
                top = bottom = p.y();
                first = false;
                continue;
            }
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    }
    if (first)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

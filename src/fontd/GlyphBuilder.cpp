#include "fontd/GlyphBuilder.h"

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
    constexpr int unit = FontDocument::UnitsPerPixel;
    constexpr int top = FontDocument::Ascender;
    if (qint64(ink.width()) * unit > MaxAdvance)
        return fail(error,
                    GlyphBuilder::tr("the image is %1 pixels wide; a glyph can be at most %2")
                        .arg(ink.width())
                        .arg(MaxAdvance / unit));
    FontGlyph result;
    std::optional<QList<QPolygon>> contours = tracer.trace(ink, MaxPoints);
    if (!contours)
        return fail(error, GlyphBuilder::tr("the outline needs more than %1 points, the most a "
                                            "glyph holds")
                               .arg(MaxPoints));
    result.contours = std::move(*contours);
    for (QPolygon& contour : result.contours) {
        for (QPoint& p : contour)
            p = QPoint(p.x() * unit, top - p.y() * unit);
    }
    result.advanceWidth = ink.width() * unit;
    result.leftSideBearing = result.contours.isEmpty() ? 0 : bounds(result).left();
    if (!fits(result, error))
        return false;
    *glyph = std::move(result);
    return true;
}

bool GlyphBuilder::setSideBearings(FontGlyph* glyph, int lsb, int rsb, QString* error)
{
    // The ink moves so that its left edge lies at lsb; an empty glyph has no ink to move, and
    // its advance is lsb + rsb.
    const bool empty = glyph->contours.isEmpty();
    const QRect box = empty ? QRect() : bounds(*glyph);
    const qint64 shift = empty ? 0 : qint64(lsb) - box.left();
    const qint64 right = empty ? lsb : box.right() + shift;
    const qint64 advance = right + rsb;
    if (!empty && (lsb < MinCoordinate || right > MaxCoordinate))
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
    glyph->leftSideBearing = empty ? 0 : lsb;
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

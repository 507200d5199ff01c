#include "editor/GlyphOps.h"

#include "chartable/CharTable.h"

#include <QPainter>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cstdlib>

namespace {

QImage rgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

QImage blankGlyph(QSize size)
{
    QImage glyph(size, QImage::Format_RGB32);
    glyph.fill(CharTable::ClearColour);
    return glyph;
}

QImage moved(const QImage& glyph, QPoint by)
{
    QImage result = blankGlyph(glyph.size());
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(by, glyph);
    return result;
}

} // namespace

QImage GlyphOps::transformed(const QImage& glyph, Transform t)
{
    const QImage source = rgb32(glyph);
    switch (t) {
    case Transform::FlipHorizontal:
        return source.mirrored(true, false);
    case Transform::FlipVertical:
        return source.mirrored(false, true);
    case Transform::RotateRight:
        if (source.width() != source.height())
            return QImage();
        // A quarter turn is a plain move of pixels in Qt, without any smoothing.
        return rgb32(source.transformed(QTransform().rotate(90)));
    case Transform::MoveUp:
        return moved(source, QPoint(0, -1));
    case Transform::MoveDown:
        return moved(source, QPoint(0, 1));
    case Transform::MoveLeft:
        return moved(source, QPoint(-1, 0));
    case Transform::MoveRight:
        return moved(source, QPoint(1, 0));
    }
    return QImage();
}

QImage GlyphOps::toPicture(const QImage& glyph)
{
    QImage picture = blankGlyph(glyph.size());
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (CharTable::isSetColour(glyph.pixel(x, y)))
                picture.setPixel(x, y, CharTable::SetColour);
    return picture;
}

QString GlyphOps::toText(const QImage& glyph)
{
    QString text;
    text.reserve((glyph.width() + 1) * glyph.height());
    for (int y = 0; y < glyph.height(); ++y) {
        for (int x = 0; x < glyph.width(); ++x)
            text += CharTable::isSetColour(glyph.pixel(x, y)) ? u'#' : u'.';
        text += u'\n';
    }
    return text;
}

std::optional<QImage> GlyphOps::fromPicture(const QImage& picture, QSize size)
{
    if (picture.isNull())
        return std::nullopt;
    QImage glyph = blankGlyph(size);
    // Only the part that lands on the glyph is converted: a screenshot may be large.
    const QRect used = picture.rect() & QRect(QPoint(0, 0), size);
    const QImage part = picture.copy(used).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            const QRgb c = part.pixel(x, y);
            if (qAlpha(c) > 127 && qGray(c) < 128)
                glyph.setPixel(x, y, CharTable::SetColour);
        }
    }
    return glyph;
}

std::optional<QImage> GlyphOps::fromText(const QString& text, QSize size)
{
    QStringList rows = text.split(u'\n');
    for (QString& row : rows) {
        while (!row.isEmpty() && row.back().isSpace())
            row.chop(1);
    }
    while (!rows.isEmpty() && rows.front().isEmpty())
        rows.removeFirst();
    while (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    if (rows.isEmpty())
        return std::nullopt;
    QImage glyph = blankGlyph(size);
    for (int y = 0; y < rows.size(); ++y) {
        const QString& row = rows.at(y);
        for (int x = 0; x < row.size(); ++x) {
            if (row.at(x) != u'#' && row.at(x) != u'.')
                return std::nullopt;
            if (row.at(x) == u'#' && x < size.width() && y < size.height())
                glyph.setPixel(x, y, CharTable::SetColour);
        }
    }
    return glyph;
}

QList<QPoint> GlyphOps::line(QPoint from, QPoint to)
{
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    QList<QPoint> dots;
    dots.reserve(std::max(dx, -dy) + 1);
    QPoint p = from;
    int error = dx + dy;
    for (;;) {
        dots.append(p);
        if (p == to)
            break;
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (e2 <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
    return dots;
}

#include "dots/DotBoxes.h"

#include "codes/NumericText.h"

#include <algorithm>

QSize DotBoxes::boxSize(const GridGeometry& grid, int sizePercent)
{
    const auto side = [sizePercent](int pitch) {
        return std::max(1, int(NumericText::roundHalfEven(sizePercent * pitch / 100.0)));
    };
    return QSize(side(grid.nX()), side(grid.nY()));
}

QList<QRect> DotBoxes::boxes(const InkMask& dots, const GridGeometry& grid, int sizePercent)
{
    const QSize box = boxSize(grid, sizePercent);
    QList<QRect> result;
    for (int y = 0; y < dots.height(); ++y) {
        for (int x = 0; x < dots.width(); ++x) {
            if (dots.pixel(x, y))
                result.append(
                    QRect(QPoint(x * grid.nX() + grid.ofsX(), y * grid.nY() + grid.ofsY()), box));
        }
    }
    return result;
}

InkMask DotBoxes::ink(const QList<QRect>& boxes)
{
    InkMask mask(CanvasSide, CanvasSide);
    const QRect canvas(0, 0, CanvasSide, CanvasSide);
    for (const QRect& box : boxes) {
        const QRect area = box & canvas;
        if (area.isEmpty())
            continue;
        // The box's bits of one row, word by word, then or-ed into every row it covers.
        for (int w = area.left() / 64; w <= area.right() / 64; ++w) {
            const int from = std::max(area.left(), w * 64) - w * 64;
            const int to = std::min(area.right(), w * 64 + 63) - w * 64;
            const quint64 bits = (~quint64(0) >> from) & (~quint64(0) << (63 - to));
            for (int y = area.top(); y <= area.bottom(); ++y)
                mask.row(y)[w] |= bits;
        }
    }
    return mask;
}

void DotBoxes::paint(QImage& canvas, const QList<QRect>& boxes, QRgb background)
{
    if (canvas.format() != QImage::Format_RGB32)
        canvas.convertTo(QImage::Format_RGB32);
    canvas.fill(background);
    for (const QRect& box : boxes) {
        const QRect area = box & canvas.rect();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
            std::fill_n(line + area.left(), area.width(), qRgb(0, 0, 0));
        }
    }
}

#include "dots/DotBoxes.h"

#include "chartable/CharTable.h"
#include "codes/NumericText.h"

#include <algorithm>

QSize DotBoxes::boxSize(const GridGeometry& grid, int sizePercent)
{
    const auto side = [sizePercent](int pitch) {
        return std::max(1, int(NumericText::roundHalfEven(sizePercent * pitch / 100.0)));
    };
    return QSize(side(grid.nX()), side(grid.nY()));
}

QList<QRect> DotBoxes::boxes(const QImage& table, QPoint cell, int dotsX, int dotsY,
                             const GridGeometry& grid, int sizePercent)
{
    const QSize box = boxSize(grid, sizePercent);
    QList<QRect> result;
    for (int y = 0; y < dotsY; ++y) {
        for (int x = 0; x < dotsX; ++x) {
            if (CharTable::isSet(table, cell + QPoint(x, y)))
                result.append(
                    QRect(QPoint(x * grid.nX() + grid.ofsX(), y * grid.nY() + grid.ofsY()), box));
        }
    }
    return result;
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
            std::fill_n(line + area.left(), area.width(), CharTable::SetColour);
        }
    }
}

#include "chartable/CharTable.h"

#include <algorithm>
#include <cmath>

QImage CharTable::blank()
{
    QImage table(Size, Size, QImage::Format_RGB32);
    table.fill(ClearColour);
    return table;
}

void CharTable::toRgb32(QImage& table)
{
    if (table.format() != QImage::Format_RGB32)
        table.convertTo(QImage::Format_RGB32);
}

QPoint CharTable::cellOrigin(int code)
{
    // The same arithmetic for every code: 256 and above land below the image.
    return QPoint(code % Columns * CellSize, code / Columns * CellSize);
}

int CharTable::codeAt(double X, double Y)
{
    // Pointer positions are screen-sized; the bound only keeps a wild one inside int.
    static constexpr double bound = 1 << 24;
    const auto cell = [](double v) {
        return int(std::floor(std::clamp(v, -bound, bound) / CellSize));
    };
    return Columns * cell(Y) + cell(X);
}

std::optional<QRgb> CharTable::pixel(const QImage& table, QPoint p)
{
    if (!table.valid(p))
        return std::nullopt;
    return table.pixel(p);
}

bool CharTable::isSet(const QImage& table, QPoint p)
{
    const std::optional<QRgb> colour = pixel(table, p);
    return colour && isSetColour(*colour);
}

bool CharTable::setPixel(QImage& table, QPoint p, QRgb colour)
{
    if (!table.valid(p))
        return false;
    toRgb32(table);
    table.setPixel(p, colour | 0xff000000);
    return true;
}

void CharTable::fillRect(QImage& table, const QRect& rect, QRgb colour)
{
    const QRect area = rect & table.rect();
    if (area.isEmpty())
        return;
    toRgb32(table);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(table.scanLine(y));
        std::fill_n(line + area.left(), area.width(), colour | 0xff000000);
    }
}

void CharTable::invertRect(QImage& table, const QRect& rect)
{
    const QRect area = rect & table.rect();
    if (area.isEmpty())
        return;
    toRgb32(table);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(table.scanLine(y)) + area.left();
        std::for_each(line, line + area.width(), [](QRgb& c) { c ^= 0x00ffffff; });
    }
}

void CharTable::clearAll(QImage& table)
{
    toRgb32(table);
    table.fill(ClearColour);
}

void CharTable::fillAll(QImage& table)
{
    toRgb32(table);
    table.fill(SetColour);
}

void CharTable::invertAll(QImage& table)
{
    toRgb32(table);
    table.invertPixels(QImage::InvertRgb);
}

InkMask CharTable::dots(const QImage& table, QPoint cell, QSize glyph)
{
    InkMask mask(glyph.width(), glyph.height());
    // Pixels beyond the table are not set.
    const QRect area = QRect(cell, glyph) & table.rect();
    const bool rgb32 =
        table.format() == QImage::Format_RGB32 || table.format() == QImage::Format_ARGB32;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        // The table's own format a row at a time; any other through QImage::pixel.
        const QRgb* line = rgb32 ? reinterpret_cast<const QRgb*>(table.constScanLine(y)) : nullptr;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isSetColour(line ? line[x] : table.pixel(x, y)))
                mask.setPixel(x - cell.x(), y - cell.y(), true);
        }
    }
    return mask;
}

#include "chartable/CharTable.h"

#include <algorithm>

QImage CharTable::blank()
{
    QImage table(Size, Size, QImage::Format_RGB32);
    table.fill(ClearColour);
    return table;
}

QPoint CharTable::cellOrigin(int code)
{
    // The same arithmetic for every code: 256 and above land below the image.
    return QPoint(code % Columns * CellSize, code / Columns * CellSize);
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
    Q_ASSERT(table.format() == QImage::Format_RGB32);
    table.setPixel(p, colour | 0xff000000);
    return true;
}

void CharTable::fillRect(QImage& table, const QRect& rect, QRgb colour)
{
    Q_ASSERT(table.format() == QImage::Format_RGB32);
    const QRect area = rect & table.rect();
    if (area.isEmpty())
        return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(table.scanLine(y));
        std::fill_n(line + area.left(), area.width(), colour | 0xff000000);
    }
}

void CharTable::invertRect(QImage& table, const QRect& rect)
{
    Q_ASSERT(table.format() == QImage::Format_RGB32);
    const QRect area = rect & table.rect();
    if (area.isEmpty())
        return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(table.scanLine(y)) + area.left();
        std::for_each(line, line + area.width(), [](QRgb& c) { c ^= 0x00ffffff; });
    }
}

void CharTable::clearAll(QImage& table)
{
    table.fill(ClearColour);
}

void CharTable::fillAll(QImage& table)
{
    table.fill(SetColour);
}

void CharTable::invertAll(QImage& table)
{
    table.invertPixels(QImage::InvertRgb);
}

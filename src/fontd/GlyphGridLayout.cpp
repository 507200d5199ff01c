#include "fontd/GlyphGridLayout.h"

#include "fontd/FontDocument.h"

#include <algorithm>

GlyphGridLayout::GlyphGridLayout(int cellCount, int viewportWidth)
    : m_cellCount(std::max(0, cellCount))
    , m_viewportWidth(std::max(0, viewportWidth))
{}

void GlyphGridLayout::setCellCount(int cellCount)
{
    m_cellCount = std::max(0, cellCount);
}

void GlyphGridLayout::setViewportWidth(int width)
{
    m_viewportWidth = std::max(0, width);
}

int GlyphGridLayout::columns() const
{
    return std::max(1, m_viewportWidth / CellWidth);
}

int GlyphGridLayout::rows() const
{
    return (m_cellCount + columns() - 1) / columns();
}

QRect GlyphGridLayout::cellRect(int index) const
{
    if (index < 0 || index >= m_cellCount)
        return {};
    return {(index % columns()) * CellWidth, (index / columns()) * CellHeight, CellWidth,
            CellHeight};
}

int GlyphGridLayout::indexAt(QPoint point) const
{
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const int column = point.x() / CellWidth;
    if (column >= columns())
        return -1;
    const int index = (point.y() / CellHeight) * columns() + column;
    return index < m_cellCount ? index : -1;
}

std::pair<int, int> GlyphGridLayout::visibleRange(int top, int height) const
{
    if (height <= 0 || m_cellCount == 0)
        return {0, 0};
    const int firstRow = std::max(0, top / CellHeight);
    const int lastRow = std::max(0, (top + height - 1) / CellHeight);
    const int first = std::min(m_cellCount, firstRow * columns());
    const int end = std::min(m_cellCount, (lastRow + 1) * columns());
    return {first, std::max(first, end)};
}

QRect GlyphGridLayout::labelRect(const QRect& cell)
{
    return {cell.left() + Margin, cell.top(), cell.width() - 2 * Margin, LabelHeight};
}

QString GlyphGridLayout::codeLabel(int code)
{
    return QString::number(code, 16).toUpper().rightJustified(code > 255 ? 4 : 2, u'0');
}

QRect GlyphGridLayout::glyphBox(const QRect& cell)
{
    const int side = std::min(cell.width(), cell.height() - LabelHeight) - 2 * Margin;
    const int left = cell.left() + (cell.width() - side) / 2;
    return {left, cell.top() + LabelHeight + Margin, side, side};
}

QTransform GlyphGridLayout::fontToBox(const QRect& box, int unitsPerEm, int ascender)
{
    const qreal scale = qreal(box.height()) / unitsPerEm;
    return QTransform(scale, 0, 0, -scale, box.left(), box.top() + ascender * scale);
}

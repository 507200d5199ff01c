#pragma once

#include "fontd/FontDocument.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QTransform>
#include <utility>

// Where the cells of the window's glyph grid lie: one cell per code the font holds, row by
// row, a label strip on top of each cell and the em square below it.  Content coordinates:
// the whole grid from (0, 0), before scrolling.  Plain geometry, so that the paint event only
// draws what these functions say.
class GlyphGridLayout
{
public:
    static constexpr int CellWidth = 68;
    static constexpr int CellHeight = 84;
    static constexpr int LabelHeight = 16;
    static constexpr int Margin = 4;

    GlyphGridLayout() = default;
    GlyphGridLayout(int cellCount, int viewportWidth);

    void setCellCount(int cellCount);
    void setViewportWidth(int width);
    int cellCount() const { return m_cellCount; }

    // At least one column, however narrow the view.
    int columns() const;
    int rows() const;
    int contentHeight() const { return rows() * CellHeight; }

    QRect cellRect(int index) const;
    // The cell under a content point, or -1.
    int indexAt(QPoint point) const;
    // The cells that meet the band of content rows [top, top + height): first index and one
    // past the last, an empty range when none does.
    std::pair<int, int> visibleRange(int top, int height) const;

    static QRect labelRect(const QRect& cell);
    // The code as a cell's label and the status bar write it: upper-case hexadecimal, two
    // digits up to 0xFF and four above.
    static QString codeLabel(int code);
    // The em square of a cell, where the glyph is drawn.
    static QRect glyphBox(const QRect& cell);
    // Font units (y up, baseline at 0) to the pixels of glyphBox: the em from the ascender
    // down to the descender fills the box, x = 0 at its left edge; the em and ascender are the
    // font's (a font of square dots has its own).
    static QTransform fontToBox(const QRect& box, int unitsPerEm = FontDocument::UnitsPerEm,
                                int ascender = FontDocument::Ascender);

private:
    int m_cellCount = 0;
    int m_viewportWidth = 0;
};

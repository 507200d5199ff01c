#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

// The reference sample: the current character as the sample label shows it, and the rules of
// the label's box.  The label paints this picture, and the reference behind the grid is a
// stretched copy of part of it, so the grid shows what the label shows.
class ReferenceSample
{
public:
    // The sample's font size, in points.
    static constexpr int PointSize = 24;
    // While the label is dragged, each side must stay above this many pixels.
    static constexpr int MinimumSide = 5;

    // text in font and ink on paper, on a picture of size: centred horizontally, drawn from
    // the top edge, clipped to the box.
    static QImage render(const QString& text, const QFont& font, QSize size, const QColor& ink,
                         const QColor& paper);

    // The part of a sample of size that is stretched onto the grid: the box less its first
    // row and column.
    static QRect capturedRect(QSize size) { return QRect(QPoint(1, 1), size - QSize(1, 1)); }

    // The label's size after the pointer moved by delta pixels while it is dragged: each side
    // grows by its part of the move if it then stays above MinimumSide and within maximum,
    // and keeps its length otherwise.
    static QSize dragged(QSize size, QPointF delta, QSize maximum);
};

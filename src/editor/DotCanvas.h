#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QList>
#include <QWidget>
#include <optional>
#include <utility>

// A picture box with a persistent image: everything is drawn into a kept Format_RGB32 image in
// pixel coordinates, and the widget shows it.  The drawing operations below refresh the area
// they touch; code that writes into image() directly calls refresh() itself.
//
// Mouse presses and moves are reported with the bit set of pressed buttons (1 left, 2 right,
// 4 middle) and of held modifiers (1 Shift, 2 Ctrl, 4 Alt).  Mouse tracking is on, so a move
// with no button pressed arrives too, with Button 0.
class DotCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit DotCanvas(QWidget* parent = nullptr);

    // Sets the size of the widget and its image; the image keeps its top-left content, new
    // parts are background.
    void setCanvasSize(QSize size);

    QColor background() const { return m_background; }
    void setBackground(const QColor& colour) { m_background = colour; }

    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }

    // The colour of a pixel, or nothing outside the image.
    std::optional<QRgb> pixel(QPoint p) const;
    // Writes one pixel; outside the image nothing happens.
    void setPixel(QPoint p, QRgb colour);

    // Fills rect (clipped to the image).
    void fillBox(const QRect& rect, QRgb colour);
    // Fills each box with its colour, then refreshes them together: a redraw of the grid fills
    // a thousand, and a refresh for each would cost more than the fills.
    void fillBoxes(const QList<std::pair<QRect, QRgb>>& boxes);

    // A one-pixel line from `from` up to, but not including, `to`, as a pen moved from one
    // point to the next draws it: two lines that meet do not overlap.
    void drawLine(QPoint from, QPoint to, QRgb colour);

    // Copies the source rectangle unchanged to dest (clipped to both images).
    void copyFrom(const QImage& source, const QRect& sourceRect, QPoint dest);
    // Stretches the source rectangle onto destRect by pixel replication, without smoothing.
    void stretchFrom(const QImage& source, const QRect& sourceRect, const QRect& destRect);

    // Fills the whole image with the background colour.
    void clear();

    // A one-pixel line shown over the image but not part of it (a guide such as the baseline);
    // a null line shows none.
    void setGuide(const QLine& line, QRgb colour);
    QLine guide() const { return m_guide; }

    // Lines shown over the image, blended, along the last row and column of every cell of the
    // given size (cells from the top-left corner), but not part of it; an empty size shows
    // none.
    void setCellLines(QSize cell, const QColor& colour);
    QSize cellLines() const { return m_cellLines; }
    // A frame shown over the image, blended, along the inside of rect, but not part of it; an
    // empty rect shows none.
    void setMark(const QRect& rect, const QColor& colour);
    QRect mark() const { return m_mark; }

    // Shows what was drawn into the image.
    void refresh() { refresh(m_image.rect()); }
    void refresh(const QRect& imageRect);

    QSize sizeHint() const override;

signals:
    void mouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void mouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void mouseUp(qint16 Button, qint16 Shift, float X, float Y);
    // The image changed in imageRect: every drawing operation, and refresh() after a write into
    // image(), report it.
    void refreshed(const QRect& imageRect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Fills rect (clipped to the image) without showing it; the area filled.
    QRect fill(const QRect& rect, QRgb colour);
    static qint16 buttonBits(Qt::MouseButtons buttons);
    static qint16 shiftBits(Qt::KeyboardModifiers modifiers);

    QImage m_image;
    QColor m_background = Qt::white;
    QRect m_dirty; // area waiting for its repaint
    QLine m_guide;
    QRgb m_guideColour = 0;
    QSize m_cellLines;
    QColor m_cellLineColour;
    QRect m_mark;
    QColor m_markColour;
};

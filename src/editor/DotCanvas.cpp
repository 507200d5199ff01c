#include "editor/DotCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

DotCanvas::DotCanvas(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void DotCanvas::setCanvasSize(QSize size)
{
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    image.fill(m_background.rgb());
    if (!m_image.isNull()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }
    m_image = image;
    setFixedSize(m_image.size());
    update();
}

std::optional<QRgb> DotCanvas::pixel(QPoint p) const
{
    if (!m_image.valid(p))
        return std::nullopt;
    return m_image.pixel(p);
}

void DotCanvas::setPixel(QPoint p, QRgb colour)
{
    if (!m_image.valid(p))
        return;
    m_image.setPixel(p, colour | 0xff000000);
    refresh(QRect(p, QSize(1, 1)));
}

void DotCanvas::fillBox(const QRect& rect, QRgb colour)
{
    const QRect area = fill(rect, colour);
    if (!area.isEmpty())
        refresh(area);
}

void DotCanvas::fillBoxes(const QList<std::pair<QRect, QRgb>>& boxes)
{
    QRect touched;
    for (const auto& [rect, colour] : boxes)
        touched |= fill(rect, colour);
    if (!touched.isEmpty())
        refresh(touched);
}

QRect DotCanvas::fill(const QRect& rect, QRgb colour)
{
    // Straight into the scan lines: a full redraw fills a thousand small boxes, and a painter
    // per box would cost more than the fills.
    const QRect area = rect & m_image.rect();
    if (area.isEmpty())
        return area;
    // An image put in through image() may come in another format.
    if (m_image.format() != QImage::Format_RGB32)
        m_image.convertTo(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill_n(line + area.left(), area.width(), colour | 0xff000000);
    }
    return area;
}

void DotCanvas::drawLine(QPoint from, QPoint to, QRgb colour)
{
    if (from == to)
        return;
    if (from.x() == to.x() || from.y() == to.y()) {
        // Step back one pixel from the end along the line's direction.
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                          (to.y() > from.y()) - (to.y() < from.y()));
        const QPoint last = to - step;
        fillBox(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                      QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                colour);
        return;
    }
    const std::optional<QRgb> endPixel = pixel(to);
    {
        QPainter painter(&m_image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgb(colour), 0));
        painter.drawLine(from, to);
    }
    if (endPixel)
        m_image.setPixel(to, *endPixel);
    refresh(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                  QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
}

void DotCanvas::copyFrom(const QImage& source, const QRect& sourceRect, QPoint dest)
{
    if (source.format() != QImage::Format_RGB32) {
        stretchFrom(source, sourceRect, QRect(dest, sourceRect.size()));
        return;
    }
    // Row by row: the reference repaint copies a thousand small boxes, and a painter per box
    // would cost more than the copies.  Clip to the source, then to this image.
    const QRect from = sourceRect & source.rect();
    const QPoint shift = dest - sourceRect.topLeft();
    const QRect to = from.translated(shift) & m_image.rect();
    if (to.isEmpty())
        return;
    if (m_image.format() != QImage::Format_RGB32)
        m_image.convertTo(QImage::Format_RGB32);
    const int left = to.left() - shift.x();
    for (int y = to.top(); y <= to.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(source.constScanLine(y - shift.y()));
        std::copy_n(line + left, to.width(),
                    reinterpret_cast<QRgb*>(m_image.scanLine(y)) + to.left());
    }
    refresh(to);
}

void DotCanvas::stretchFrom(const QImage& source, const QRect& sourceRect, const QRect& destRect)
{
    if (sourceRect.isEmpty() || destRect.isEmpty())
        return;
    {
        QPainter painter(&m_image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(destRect, source, sourceRect);
    }
    refresh(destRect);
}

void DotCanvas::clear()
{
    m_image.fill(m_background.rgb());
    refresh(m_image.rect());
}

void DotCanvas::refresh(const QRect& imageRect)
{
    // One growing rectangle rather than a region of many small ones: a redraw fills a thousand
    // boxes, and merging as many rectangles into the pending region costs more than painting
    // their bounding box.
    m_dirty |= imageRect;
    update(m_dirty);
    emit refreshed(imageRect);
}

QSize DotCanvas::sizeHint() const
{
    return m_image.size();
}

void DotCanvas::paintEvent(QPaintEvent* event)
{
    m_dirty = QRect();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect target = event->rect() & m_image.rect();
    if (!target.isEmpty())
        painter.drawImage(target, m_image, target);
    if (!m_guide.isNull()) {
        painter.setPen(QColor::fromRgb(m_guideColour));
        painter.drawLine(m_guide);
    }
    // Each overlay as one region, so that crossing lines are blended once.
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!m_cellLines.isEmpty()) {
        QRegion lines;
        for (int x = m_cellLines.width() - 1; x < m_image.width(); x += m_cellLines.width())
            lines += QRect(x, 0, 1, m_image.height());
        for (int y = m_cellLines.height() - 1; y < m_image.height(); y += m_cellLines.height())
            lines += QRect(0, y, m_image.width(), 1);
        painter.setClipRegion(lines);
        painter.fillRect(m_image.rect(), m_cellLineColour);
    }
    if (!m_mark.isEmpty()) {
        painter.setClipRegion(QRegion(m_mark) - QRegion(m_mark.adjusted(2, 2, -2, -2)));
        painter.fillRect(m_mark, m_markColour);
    }
}

void DotCanvas::setCellLines(QSize cell, const QColor& colour)
{
    m_cellLines = cell;
    m_cellLineColour = colour;
    update();
}

void DotCanvas::setMark(const QRect& rect, const QColor& colour)
{
    if (rect == m_mark && colour == m_markColour)
        return;
    update(m_mark);
    m_mark = rect;
    m_markColour = colour;
    update(m_mark);
}

void DotCanvas::setGuide(const QLine& line, QRgb colour)
{
    if (line == m_guide && colour == m_guideColour)
        return;
    const QRect before = QRect(m_guide.p1(), m_guide.p2()).normalized();
    m_guide = line;
    m_guideColour = colour;
    update(before.united(QRect(line.p1(), line.p2()).normalized()));
}

qint16 DotCanvas::buttonBits(Qt::MouseButtons buttons)
{
    qint16 bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= 1;
    if (buttons & Qt::RightButton)
        bits |= 2;
    if (buttons & Qt::MiddleButton)
        bits |= 4;
    return bits;
}

qint16 DotCanvas::shiftBits(Qt::KeyboardModifiers modifiers)
{
    qint16 bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

void DotCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseDown(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void DotCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseMove(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                   float(p.y()));
}

void DotCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    // The release names the button let go, which is no longer in buttons().
    const QPointF p = event->position();
    emit mouseUp(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                 float(p.y()));
}

#include "chartable/PreviewView.h"

#include "chartable/PreviewLine.h"

#include <QPaintEvent>
#include <QPainter>

PreviewView::PreviewView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewView::setLine(const QImage& line)
{
    const bool resized = line.size() != m_line.size();
    m_line = line;
    if (resized)
        resize(sizeHint());
    update();
}

QRect PreviewView::lineRect(int scale) const
{
    int top = Margin;
    for (int s : Scales) {
        if (s == scale)
            break;
        top += m_line.height() * s + Margin;
    }
    return QRect(Margin, top, m_line.width() * scale, m_line.height() * scale);
}

QSize PreviewView::sizeHint() const
{
    const QRect last = lineRect(Scales.back());
    return QSize(last.right() + 1 + Margin, last.bottom() + 1 + Margin);
}

void PreviewView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgb(PreviewLine::Background));
    if (m_line.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int scale : Scales) {
        const QRect target = lineRect(scale) & event->rect();
        if (target.isEmpty())
            continue;
        // Only the exposed part: a long line at 4x is ten thousand pixels wide.
        const QRect whole = lineRect(scale);
        const QRect source(
            QPoint((target.left() - whole.left()) / scale, (target.top() - whole.top()) / scale),
            QPoint((target.right() - whole.left()) / scale,
                   (target.bottom() - whole.top()) / scale));
        const QRect covered(whole.topLeft() + source.topLeft() * scale, source.size() * scale);
        painter.save();
        painter.setClipRect(target);
        painter.drawImage(covered, m_line, source);
        painter.restore();
    }
}

#include "codes/ReferenceSample.h"

#include <QPainter>

QImage ReferenceSample::render(const QString& text, const QFont& font, QSize size,
                               const QColor& ink, const QColor& paper)
{
    QImage sample(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    sample.fill(paper);
    QPainter painter(&sample);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(sample.rect(), Qt::AlignHCenter | Qt::AlignTop, text);
    return sample;
}

QSize ReferenceSample::dragged(QSize size, QPointF delta, QSize maximum)
{
    const auto side = [](int length, double move, int most) {
        const double moved = length + move;
        return moved > MinimumSide && moved <= most ? qRound(moved) : length;
    };
    return QSize(side(size.width(), delta.x(), maximum.width()),
                 side(size.height(), delta.y(), maximum.height()));
}

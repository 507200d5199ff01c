#include "codes/SampleLabel.h"

#include "codes/ReferenceSample.h"

#include <QMouseEvent>
#include <QPainter>

SampleLabel::SampleLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage SampleLabel::sample() const
{
    // The size the widget's own screen resolution gives the font, whatever the image's.
    QFont font = this->font();
    font.setPixelSize(fontInfo().pixelSize());
    return ReferenceSample::render(text(), font, size(), palette().color(QPalette::WindowText),
                                   palette().color(QPalette::Window));
}

void SampleLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, sample());
}

void SampleLabel::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(float(event->position().x()), float(event->position().y()));
}

void SampleLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(float(event->position().x()), float(event->position().y()));
}

void SampleLabel::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseUp(float(event->position().x()), float(event->position().y()));
}

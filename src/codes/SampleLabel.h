#pragma once

#include <QImage>
#include <QLabel>

// The sample label: shows its caption as ReferenceSample renders it, in the label's font and its
// palette's WindowText on Window colours, and reports the presses, moves and releases of the
// mouse that resize it.  Positions are in the label's pixels; moves arrive only while a button
// is held, and none at all while the label is disabled.
class SampleLabel : public QLabel
{
    Q_OBJECT

public:
    explicit SampleLabel(QWidget* parent = nullptr);

    // The picture the label shows, one image pixel per widget pixel.
    QImage sample() const;

signals:
    void mouseDown(float X, float Y);
    void mouseMove(float X, float Y);
    void mouseUp(float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

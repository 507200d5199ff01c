#pragma once

#include <QImage>
#include <QWidget>
#include <array>

// Shows a line image three times, one under the other, at 1x, 2x and 4x: every pixel a square
// of scale x scale screen pixels, without smoothing.
class PreviewView : public QWidget
{
    Q_OBJECT

public:
    static constexpr std::array<int, 3> Scales{1, 2, 4};
    static constexpr int Margin = 8;

    explicit PreviewView(QWidget* parent = nullptr);

    void setLine(const QImage& line);
    const QImage& line() const { return m_line; }

    // Where the line is drawn at scale, one of Scales.
    QRect lineRect(int scale) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_line;
};

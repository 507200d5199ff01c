#pragma once

#include "dots/GlyphSpacing.h"

#include <QImage>
#include <QSize>
#include <QWidget>

class PreviewView;
class QLineEdit;
class QScrollArea;

// A tool window that sets a line of sample text in the glyphs of the character table at 1x,
// 2x and 4x.  The line is set afresh by refresh(), which the owner calls whenever the table or
// the glyph size changes, and whenever the sample text changes.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    static QString defaultText();

    // table is the character table, read at every refresh; it must outlive the window.
    explicit PreviewWindow(const QImage& table, QWidget* parent = nullptr);

    // Sets the line from the table at glyph size, spaced with the side bearings in dots when
    // they are sent.
    void refresh(QSize glyph, const std::optional<GlyphSpacing::Bearings>& bearings = {});
    QSize glyphSize() const { return m_glyph; }

    QLineEdit* TextSample = nullptr;
    PreviewView* PictureLine = nullptr;

signals:
    // The window was closed or hidden.
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    const QImage& m_table;
    QSize m_glyph;
    std::optional<GlyphSpacing::Bearings> m_bearings;
    QScrollArea* m_scroll = nullptr;
};

#pragma once

#include "codes/CodeText.h"
#include "dots/GlyphSpacing.h"

#include <QImage>
#include <QSize>
#include <QWidget>

class GlyphStore;
class PreviewView;
class QLineEdit;
class QScrollArea;

// A tool window that sets a line of sample text in the glyphs of the glyph store at 1x, 2x and
// 4x.  The line is set afresh by refresh(), which the owner calls whenever a glyph or the glyph
// size changes, and whenever the sample text changes.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    static QString defaultText();

    // store holds the glyphs, read at every refresh; it must outlive the window.
    explicit PreviewWindow(const GlyphStore& store, QWidget* parent = nullptr);

    // Sets the line from the store at glyph size, its characters read in page, spaced with the
    // side bearings in dots when they are sent.
    void refresh(QSize glyph, CodePage page,
                 const std::optional<GlyphSpacing::Bearings>& bearings = {});
    QSize glyphSize() const { return m_glyph; }

    QLineEdit* TextSample = nullptr;
    PreviewView* PictureLine = nullptr;

signals:
    // The window was closed or hidden.
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    const GlyphStore& m_store;
    QSize m_glyph;
    CodePage m_page = CodePage::Cp932;
    std::optional<GlyphSpacing::Bearings> m_bearings;
    QScrollArea* m_scroll = nullptr;
};

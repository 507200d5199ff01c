#pragma once

#include "fontd/GlyphGridLayout.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPainterPath>
#include <QPointer>

class DocumentObject;

// The window's view of one font: every code the font holds as a cell with its code, its
// character and the glyph's outline, the current code marked.  Only the cells in sight are
// painted, so a Japanese font of thousands of glyphs scrolls as freely as a Western one.
class GlyphGridView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit GlyphGridView(QWidget* parent = nullptr);

    // nullptr shows an empty view.
    void setDocument(DocumentObject* document);
    DocumentObject* document() const { return m_document; }

    const GlyphGridLayout& gridLayout() const { return m_layout; }
    // The cell index of a code, or -1 when the font does not hold it.
    int indexOfCode(int code) const;
    // Scrolls the least needed to bring the current code's cell into sight.
    void ensureCurrentVisible();
    // How many cells the last paint drew.
    int lastPaintedCells() const { return m_lastPaintedCells; }

signals:
    void codeClicked(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void documentChanged();
    void currentCodeChanged();
    void updateScrollBars();
    const QPainterPath& outline(int code);

    QPointer<DocumentObject> m_document;
    GlyphGridLayout m_layout;
    // Outlines of the cells drawn so far, in font units; dropped whenever a glyph changes.
    QHash<int, QPainterPath> m_outlines;
    int m_lastPaintedCells = 0;
};

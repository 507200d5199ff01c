#pragma once

#include "chartable/PixelBlock.h"

#include <QImage>
#include <QRect>
#include <QString>

// One change of a page of the glyph store as the undo history keeps it: the pixels of a
// rectangle before and after, or the inversion of a rectangle, which is its own undo and needs
// no pixels.  It is made before it is recorded: the page already holds its result.
class TableChange
{
public:
    TableChange() = default;

    // The change from before, pixels captured from table, to what table holds in their place
    // now; empty when nothing differs.  text names it; code is the code whose glyph it changes,
    // -1 for the whole page; table is the glyph store's page of that number (GlyphStore).
    static TableChange replaced(const QString& text, int code, const PixelBlock& before,
                                const QImage& table, int page = 0);
    // The inversion of the part of rect inside table.
    static TableChange inverted(const QString& text, int code, const QRect& rect,
                                const QImage& table, int page = 0);

    bool isEmpty() const { return m_rect.isEmpty(); }
    const QString& text() const { return m_text; }
    int code() const { return m_code; }
    int page() const { return m_page; }
    // The table pixels it changes.
    QRect rect() const { return m_rect; }
    // The memory it holds, its own object included.
    qsizetype bytes() const;

    // Takes the change back, and makes it again.
    void undo(QImage& table) const;
    void redo(QImage& table) const;

private:
    QString m_text;
    int m_code = -1;
    int m_page = 0;
    QRect m_rect;
    bool m_invert = false;
    PixelBlock m_before;
    PixelBlock m_after;
};

#pragma once

#include "chartable/CharTable.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// The glyphs of every code, in pages of the character table's layout: 16 x 16 cells of 32 x 32
// pixels, exactly black for a set dot (CharTable's rules).  Page 0 is the single-byte table,
// one cell per code 0..255.  Each Shift_JIS lead byte is a page of its own, one cell per trail
// byte: it is made by the first write into it, and dropEmptyPages drops it again once it is
// all clear.  A code has a cell when it is a byte, or a double-byte code that code page 932
// defines; any other code has none, reads as clear and takes no writes.
//
// Pages are Format_RGB32 images of 512 x 512 pixels; a page not made yet reads as a blank one.
class GlyphStore
{
public:
    static constexpr int SingleBytePage = 0;
    static constexpr QSize CellSize{CharTable::CellSize, CharTable::CellSize};

    GlyphStore();

    // The page of code's cell: 0 for 0..255, the lead byte of a double-byte code that code
    // page 932 defines, -1 for any other code.
    static int pageOf(int code);
    // The cell of code in its page; an empty rectangle when the code has none.
    static QRect cellRect(int code);
    // The code of the cell under (X, Y) in the pixels of page, cell or not; -1 beyond the page.
    static int codeAt(int page, double X, double Y);
    // A page as a user names it: "82xx" (upper-case hexadecimal, as codes are written).
    static QString pageName(int page);
    // Every page a code can be on: 0, then each lead byte of a code page 932 code, ascending.
    static QList<int> allPages();

    // The pixels of page; a blank page when it has none yet.
    const QImage& page(int page) const;
    // The page to write into, made blank when it has none yet.  Every call counts as a change
    // of the page (revision).  page must be one of allPages().
    QImage& pageForWrite(int page);
    // Replaces the pixels of page by picture's top-left 512 x 512, clear where it does not
    // reach; any colours, in any format.
    void setPage(int page, const QImage& picture);
    bool hasPage(int page) const;
    // The pages made, ascending; the single-byte page always.
    QList<int> pages() const;
    // How often page was handed out for writing: a view that shows it compares the number with
    // the one it last showed.
    quint64 revision(int page) const { return m_revisions[size_t(page & 0xFF)]; }
    // True when every pixel of page is clear white.
    bool isBlank(int page) const;
    // Drops page when it is a blank double-byte page; true when it is dropped.
    bool dropIfBlank(int page);
    // Drops the double-byte pages that are blank; returns them.
    QList<int> dropEmptyPages();
    // Lets go of the pixels of page, whatever they are: a double-byte page is no longer made,
    // the single-byte page blank.
    void dropPage(int page);

    // A glyph's dots: dot (x, y) of code is the pixel cellRect(code).topLeft() + (x, y).  Dots
    // outside the cell, and every dot of a code without one, have no colour and read as clear.
    std::optional<QRgb> pixel(int code, QPoint dot) const;
    bool isSet(int code, QPoint dot) const;
    // Writes one dot; returns false, changing nothing, outside the cell or without one.
    bool setPixel(int code, QPoint dot, QRgb colour);
    // The top-left size pixels of code's cell as a Format_RGB32 image; a null image without a
    // cell.
    QImage glyph(int code, QSize size = CellSize) const;
    // Writes dots to the top-left of code's cell, cut to the cell; false without a cell.
    bool setGlyph(int code, const QImage& dots);
    // Visits the dots of the top-left size of code's cell row by row with their colours; a
    // code without a cell has none.
    void forEachDot(int code, QSize size,
                    const std::function<void(QPoint dot, QRgb colour)>& visit) const;
    // True when a dot of the top-left size of code's cell is set.
    bool hasDots(int code, QSize size = CellSize) const;
    // The codes whose top-left size has a set dot, ascending, single-byte codes first.
    QList<int> codes(QSize size = CellSize) const;

private:
    static size_t slot(int page) { return size_t(page & 0xFF); }

    std::array<QImage, 256> m_pages; // by page number; null: not made
    std::array<quint64, 256> m_revisions{};
    QImage m_blank;
};

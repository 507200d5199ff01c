#include "chartable/FontImport.h"

#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"

#include <algorithm>
#include <ranges>

FontImport::Layout FontImport::layout(const QList<const FontReader::Font*>& fonts)
{
    int above = 0, below = 0, width = 0;
    for (const FontReader::Font* font : fonts) {
        above = std::max(above, font->baseline);
        below = std::max(below, font->glyphSize.height() - font->baseline);
        width = std::max(width, font->glyphSize.width());
    }
    return Layout{QSize(std::clamp(width, FontReader::MinDots, FontReader::MaxDots),
                        std::clamp(above + below, FontReader::MinDots, FontReader::MaxDots)),
                  above};
}

QMap<int, QRect> FontImport::area(const FontReader::Font& font, QSize size)
{
    QMap<int, QRect> pages;
    for (const FontReader::Glyph& g : font.glyphs) {
        const QRect cell = GlyphStore::cellRect(g.code);
        if (!cell.isEmpty())
            pages[GlyphStore::pageOf(g.code)] |= QRect(cell.topLeft(), size);
    }
    return pages;
}

int FontImport::write(GlyphStore& store, const FontReader::Font& font, const Layout& layout,
                      int onlyPage)
{
    const int width = layout.glyphSize.width();
    const int height = layout.glyphSize.height();
    // Rows the font's glyphs move down by, and the mask of a row's dots within the width.
    const int down = std::max(0, layout.baseline - font.baseline);
    const quint32 inside = ~quint32(0) << (32 - width);
    int cut = 0;
    int page = -1;
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    // Glyphs come by code: one page's are a run of them.
    auto first = font.glyphs.begin(), last = font.glyphs.end();
    if (onlyPage >= 0) {
        const auto byCode = [](const FontReader::Glyph& g, int code) { return g.code < code; };
        const int low = onlyPage == GlyphStore::SingleBytePage ? 0 : onlyPage * 256;
        first = std::lower_bound(first, last, low, byCode);
        last = std::lower_bound(first, last, low + 256, byCode);
    }
    for (const FontReader::Glyph& g : std::ranges::subrange(first, last)) {
        const QRect cell = GlyphStore::cellRect(g.code);
        if (cell.isEmpty())
            continue;
        // Glyphs come by code: a page is asked for once for all of its glyphs.
        if (GlyphStore::pageOf(g.code) != page) {
            page = GlyphStore::pageOf(g.code);
            QImage& image = store.pageForWrite(page);
            bits = image.bits();
            bytesPerLine = image.bytesPerLine();
        }
        bool lost = g.cut;
        for (int y = 0; y < FontReader::MaxDots; ++y) {
            const quint32 dots = y < down ? 0 : g.rows[size_t(y - down)];
            if (y >= height) {
                lost |= dots != 0;
                continue;
            }
            QRgb* line =
                reinterpret_cast<QRgb*>(bits + (cell.top() + y) * bytesPerLine) + cell.left();
            for (int x = 0; x < width; ++x)
                line[x] = dots >> (31 - x) & 1 ? CharTable::SetColour : CharTable::ClearColour;
            lost |= (dots & ~inside) != 0;
        }
        // Rows pushed out at the bottom.
        for (int y = std::max(0, FontReader::MaxDots - down); y < FontReader::MaxDots; ++y)
            lost |= g.rows[size_t(y)] != 0;
        cut += lost;
    }
    return cut;
}

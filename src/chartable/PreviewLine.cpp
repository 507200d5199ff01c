#include "chartable/PreviewLine.h"

#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "codes/CodeText.h"

#include <algorithm>
#include <cstring>

QList<std::optional<int>> PreviewLine::codes(QStringView text, CodePage page)
{
    QList<std::optional<int>> codes;
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        const std::optional<qint32> code = CodeText::fromCharacter(character, page);
        codes.append(code ? std::optional<int>(*code) : std::nullopt);
    }
    return codes;
}

std::optional<QRect> PreviewLine::glyphRect(int code, QSize glyph)
{
    const QRect cell = GlyphStore::cellRect(code);
    if (code < 32 || cell.isEmpty())
        return std::nullopt;
    return QRect(cell.topLeft(), glyph);
}

QImage PreviewLine::render(const GlyphStore& store, QStringView text, QSize glyph, CodePage page,
                           const std::optional<GlyphSpacing::Bearings>& bearings)
{
    const QList<std::optional<int>> line = codes(text, page);
    if (line.isEmpty() || glyph.isEmpty())
        return QImage();
    // Glyphs are at most a cell.
    glyph = glyph.boundedTo(QSize(CharTable::CellSize, CharTable::CellSize));

    // Where each character stands, and which columns of its box show: the whole box, or with
    // side bearings the ink alone, which may come close to its neighbours.
    struct Placed
    {
        QImage cells; // the glyph's page, shared
        std::optional<QRect> source;
        int x = 0;
        int from = 0;
        int to = 0;
    };
    QList<Placed> placed;
    int pen = 0, left = 0, right = 0;
    for (const std::optional<int>& code : line) {
        Placed p;
        const std::optional<QRect> source = code ? glyphRect(*code, glyph) : std::optional<QRect>();
        if (source && (*code <= 0xFF || store.hasDots(*code, glyph))) {
            const QImage& page = store.page(GlyphStore::pageOf(*code));
            p.cells = page.format() == QImage::Format_RGB32
                          ? page
                          : page.convertToFormat(QImage::Format_RGB32);
            p.source = source;
        }
        int inkLeft = 0, inkRight = 0;
        if (p.source) {
            const InkMask dots = CharTable::dots(p.cells, p.source->topLeft(), glyph);
            inkLeft = glyph.width();
            for (int y = 0; y < dots.height(); ++y) {
                for (int x = 0; x < dots.width(); ++x) {
                    if (dots.pixel(x, y)) {
                        inkLeft = std::min(inkLeft, x);
                        inkRight = std::max(inkRight, x + 1);
                    }
                }
            }
        }
        const GlyphSpacing::Placement at =
            GlyphSpacing::place(inkLeft, inkRight, glyph.width(), bearings);
        p.x = pen + at.shift;
        p.to = glyph.width();
        if (bearings && p.source && inkRight > inkLeft) {
            p.from = inkLeft;
            p.to = inkRight;
        }
        left = std::min(left, p.x + p.from);
        right = std::max(right, p.x + p.to);
        pen += std::max(0, at.advance);
        placed.append(p);
    }
    right = std::max(right, pen);

    QImage image(right - left, glyph.height(), QImage::Format_RGB32);
    image.fill(Background);
    for (const Placed& p : placed) {
        const int x = p.x - left;
        if (p.source) {
            for (int y = 0; y < glyph.height(); ++y)
                std::memcpy(image.scanLine(y) + (x + p.from) * sizeof(QRgb),
                            p.cells.constScanLine(p.source->top() + y) +
                                (p.source->left() + p.from) * sizeof(QRgb),
                            size_t(p.to - p.from) * sizeof(QRgb));
            continue;
        }
        // An empty box: the outline of the glyph's place.
        const QRect place(x, 0, glyph.width(), glyph.height());
        for (int px = place.left(); px <= place.right(); ++px) {
            image.setPixel(px, place.top(), BoxColour);
            image.setPixel(px, place.bottom(), BoxColour);
        }
        for (int py = place.top(); py <= place.bottom(); ++py) {
            image.setPixel(place.left(), py, BoxColour);
            image.setPixel(place.right(), py, BoxColour);
        }
    }
    return image;
}

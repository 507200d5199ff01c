#include "chartable/PreviewLine.h"

#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "codes/CodeText.h"

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

QRect PreviewLine::characterRect(int i, QSize glyph)
{
    return QRect(i * (glyph.width() + Spacing), 0, glyph.width(), glyph.height());
}

QImage PreviewLine::render(const GlyphStore& store, QStringView text, QSize glyph, CodePage page)
{
    const QList<std::optional<int>> line = codes(text, page);
    if (line.isEmpty() || glyph.isEmpty())
        return QImage();
    // Glyphs are at most a cell.
    glyph = glyph.boundedTo(QSize(CharTable::CellSize, CharTable::CellSize));
    QImage image(characterRect(int(line.size()) - 1, glyph).right() + 1, glyph.height(),
                 QImage::Format_RGB32);
    image.fill(Background);
    const size_t rowBytes = size_t(glyph.width()) * sizeof(QRgb);
    for (int i = 0; i < line.size(); ++i) {
        const QRect place = characterRect(i, glyph);
        const int code = line[i].value_or(-1);
        const std::optional<QRect> source = glyphRect(code, glyph);
        if (source && (code <= 0xFF || store.hasDots(code, glyph))) {
            const QImage& page = store.page(GlyphStore::pageOf(code));
            const QImage cells = page.format() == QImage::Format_RGB32
                                     ? page
                                     : page.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < glyph.height(); ++y)
                std::memcpy(image.scanLine(y) + place.left() * sizeof(QRgb),
                            cells.constScanLine(source->top() + y) + source->left() * sizeof(QRgb),
                            rowBytes);
            continue;
        }
        // An empty box: the outline of the glyph's place.
        for (int x = place.left(); x <= place.right(); ++x) {
            image.setPixel(x, place.top(), BoxColour);
            image.setPixel(x, place.bottom(), BoxColour);
        }
        for (int y = place.top(); y <= place.bottom(); ++y) {
            image.setPixel(place.left(), y, BoxColour);
            image.setPixel(place.right(), y, BoxColour);
        }
    }
    return image;
}

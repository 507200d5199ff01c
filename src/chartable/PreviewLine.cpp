#include "chartable/PreviewLine.h"

#include "chartable/CharTable.h"
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
    if (code < 32 || code >= CharTable::Columns * CharTable::Columns)
        return std::nullopt;
    return QRect(CharTable::cellOrigin(code), glyph);
}

QRect PreviewLine::characterRect(int i, QSize glyph)
{
    return QRect(i * (glyph.width() + Spacing), 0, glyph.width(), glyph.height());
}

QImage PreviewLine::render(const QImage& table, QStringView text, QSize glyph, CodePage page)
{
    const QList<std::optional<int>> line = codes(text, page);
    if (line.isEmpty() || glyph.isEmpty())
        return QImage();
    // Glyphs are at most a cell.
    glyph = glyph.boundedTo(QSize(CharTable::CellSize, CharTable::CellSize));
    QImage image(characterRect(int(line.size()) - 1, glyph).right() + 1, glyph.height(),
                 QImage::Format_RGB32);
    image.fill(Background);
    const QImage cells = table.format() == QImage::Format_RGB32
                             ? table
                             : table.convertToFormat(QImage::Format_RGB32);
    const size_t rowBytes = size_t(glyph.width()) * sizeof(QRgb);
    for (int i = 0; i < line.size(); ++i) {
        const QRect place = characterRect(i, glyph);
        const std::optional<QRect> source =
            line[i] ? glyphRect(*line[i], glyph) : std::optional<QRect>();
        if (source && cells.rect().contains(*source)) {
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

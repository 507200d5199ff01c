#include "HostileFont.h"

#include "fontd/FontCodes.h"

#include <QtEndian>
#include <algorithm>
#include <vector>

namespace {

void put16(QByteArray& b, quint16 v)
{
    const quint16 be = qToBigEndian(v);
    b.append(reinterpret_cast<const char*>(&be), 2);
}
void put32(QByteArray& b, quint32 v)
{
    const quint32 be = qToBigEndian(v);
    b.append(reinterpret_cast<const char*>(&be), 4);
}

QByteArray heavyGlyph(int contours, int pointsPerContour)
{
    QByteArray g;
    put16(g, quint16(contours));
    for (int i = 0; i < 4; ++i)
        put16(g, 0); // bounding box
    for (int c = 1; c <= contours; ++c)
        put16(g, quint16(c * pointsPerContour - 1));
    put16(g, 0); // no instructions
    // On curve, x and y the same as before, repeated: two bytes per 256 points.
    for (int left = contours * pointsPerContour; left > 0; left -= 256) {
        g.append(char(0x39));
        g.append(char(std::min(left, 256) - 1));
    }
    return g;
}

} // namespace

QByteArray HostileFont::make(Layout layout, int codes, int contours, int pointsPerContour)
{
    const std::span<const int> all = FontCodes::codes(FontDocument::Japanese);
    codes = std::min(codes, int(all.size()));
    const QByteArray glyph = heavyGlyph(contours, pointsPerContour);
    const quint32 length = quint32(glyph.size());

    QByteArray glyf;
    std::vector<quint32> loca;
    std::vector<quint32> glyphOfCode;
    switch (layout) {
    case Layout::BackAndForth:
        glyf = glyph;
        for (int k = 0; k <= 2 * codes + 1; ++k)
            loca.push_back(k % 2 ? length : 0);
        for (int i = 0; i < codes; ++i)
            glyphOfCode.push_back(quint32(2 * (i + 1)));
        break;
    case Layout::Shared:
        glyf = glyph;
        loca = {0, 0, length};
        glyphOfCode.assign(size_t(codes), 1);
        break;
    case Layout::Distinct:
        loca = {0, 0};
        for (int i = 0; i < codes; ++i) {
            glyf += glyph;
            loca.push_back(quint32(glyf.size()));
            glyphOfCode.push_back(quint32(i + 1));
        }
        break;
    }
    const quint16 numGlyphs = quint16(loca.size() - 1);

    QByteArray head;
    put32(head, 0x00010000);
    put32(head, 0x00010000);
    put32(head, 0);
    put32(head, 0x5F0F3CF5);
    put16(head, 0);
    put16(head, 960);                          // unitsPerEm
    head.append(QByteArray(16 + 8 + 6, '\0')); // dates, bounding box, style, hints
    put16(head, 1);                            // long loca
    put16(head, 0);
    QByteArray maxp;
    put32(maxp, 0x00005000);
    put16(maxp, numGlyphs);
    QByteArray hhea(34, '\0');
    put16(hhea, 1); // numberOfHMetrics
    QByteArray hmtx;
    put16(hmtx, 480);
    put16(hmtx, 0);
    QByteArray locaTable;
    for (quint32 offset : loca)
        put32(locaTable, offset);
    // (3,2) Shift_JIS, format 12: one group per code.
    QByteArray cmap;
    put16(cmap, 0);
    put16(cmap, 1);
    put16(cmap, 3);
    put16(cmap, 2);
    put32(cmap, 12);
    put16(cmap, 12);
    put16(cmap, 0);
    put32(cmap, quint32(16 + 12 * codes));
    put32(cmap, 0);
    put32(cmap, quint32(codes));
    for (int i = 0; i < codes; ++i) {
        put32(cmap, quint32(all[size_t(i)]));
        put32(cmap, quint32(all[size_t(i)]));
        put32(cmap, glyphOfCode[size_t(i)]);
    }

    const std::vector<std::pair<const char*, const QByteArray*>> tables = {
        {"cmap", &cmap}, {"glyf", &glyf},      {"head", &head}, {"hhea", &hhea},
        {"hmtx", &hmtx}, {"loca", &locaTable}, {"maxp", &maxp}};
    QByteArray font;
    put32(font, 0x00010000);
    put16(font, quint16(tables.size()));
    put16(font, 0);
    put16(font, 0);
    put16(font, 0);
    quint32 offset = quint32(12 + 16 * tables.size());
    for (const auto& [tag, data] : tables) {
        font.append(tag, 4);
        put32(font, 0); // checksum: not checked by readers of this kind
        put32(font, offset);
        put32(font, quint32(data->size()));
        offset += quint32((data->size() + 3) & ~3);
    }
    for (const auto& [tag, data] : tables) {
        font += *data;
        font.append(QByteArray((4 - data->size() % 4) % 4, '\0'));
    }
    return font;
}

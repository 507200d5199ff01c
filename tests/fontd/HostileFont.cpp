#include "HostileFont.h"

#include "fontd/FontCodes.h"
#include "fontd/TrueTypeWriter.h"

#include <QList>
#include <QtEndian>
#include <vector>

namespace {

// Big-endian 16- and 32-bit values appended in turn.
QByteArray& operator<<(QByteArray& b, quint16 v)
{
    return b.append(char(v >> 8)).append(char(v));
}
QByteArray& operator<<(QByteArray& b, quint32 v)
{
    return b << quint16(v >> 16) << quint16(v);
}

} // namespace

QByteArray HostileFont::make(Layout layout, int codes, int contours, int pointsPerContour)
{
    const std::span<const int> all = FontCodes::codes(FontDocument::Japanese);
    codes = std::min(codes, int(all.size()));
    // Contours of pointsPerContour points, all on curve at (0, 0): two flag bytes (a flag and
    // its repeat count) for every 256 points, no coordinate bytes.
    QByteArray glyph;
    glyph << quint16(contours) << quint32(0) << quint32(0);
    for (int c = 1; c <= contours; ++c)
        glyph << quint16(c * pointsPerContour - 1);
    glyph << quint16(0);
    for (int left = contours * pointsPerContour; left > 0; left -= 256)
        glyph.append(char(0x39)).append(char(std::min(left, 256) - 1));
    const auto length = quint32(glyph.size());

    QByteArray glyf = glyph;
    std::vector<quint32> loca{0, 0, length}; // .notdef empty, then the glyph
    std::vector<quint32> glyphOfCode(size_t(codes), 1);
    for (int i = 1; i < codes && layout != Layout::Shared; ++i) {
        if (layout == Layout::BackAndForth) {
            // Odd glyphs read the glyph again from 0; the even ones end before they begin.
            loca.insert(loca.end(), {0, length});
            glyphOfCode[size_t(i)] = quint32(2 * i + 1);
        } else {
            glyf += glyph;
            loca.push_back(quint32(glyf.size()));
            glyphOfCode[size_t(i)] = quint32(i + 1);
        }
    }

    QByteArray head;
    head << quint32(0x00010000) << quint32(0x00010000) << quint32(0) << quint32(0x5F0F3CF5)
         << quint16(0) << quint16(960);        // flags, unitsPerEm
    head.append(QByteArray(16 + 8 + 6, '\0')); // dates, bounding box, style, hints
    head << quint16(1) << quint16(0);          // long loca
    QByteArray maxp;
    maxp << quint32(0x00005000) << quint16(loca.size() - 1);
    QByteArray hhea(34, '\0');
    hhea << quint16(1); // numberOfHMetrics
    QByteArray hmtx;
    hmtx << quint16(480) << quint16(0);
    QByteArray locaTable;
    for (quint32 offset : loca)
        locaTable << offset;
    // (3,2) Shift_JIS, format 12, one group per code.
    QByteArray cmap;
    cmap << quint16(0) << quint16(1) << quint16(3) << quint16(2) << quint32(12) << quint16(12)
         << quint16(0) << quint32(16 + 12 * codes) << quint32(0) << quint32(codes);
    for (int i = 0; i < codes; ++i)
        cmap << quint32(all[size_t(i)]) << quint32(all[size_t(i)]) << glyphOfCode[size_t(i)];

    const std::vector<std::pair<const char*, const QByteArray*>> tables = {
        {"cmap", &cmap}, {"glyf", &glyf},      {"head", &head}, {"hhea", &hhea},
        {"hmtx", &hmtx}, {"loca", &locaTable}, {"maxp", &maxp}};
    QByteArray font;
    font << quint32(0x00010000) << quint16(tables.size()) << quint32(0) << quint16(0);
    auto offset = quint32(12 + 16 * tables.size());
    for (const auto& [tag, data] : tables) {
        font.append(tag, 4) << quint32(0) << offset << quint32(data->size()); // no checksums
        offset += quint32((data->size() + 3) & ~3);
    }
    for (const auto& [tag, data] : tables)
        font.append(*data).append(QByteArray((4 - data->size() % 4) % 4, '\0'));
    return font;
}

QByteArray HostileFont::damagedCmap(CmapFault fault)
{
    const bool wild = fault == CmapFault::WildSegment;
    FontDocument doc(wild ? FontDocument::Western : FontDocument::Japanese);
    for (int code : wild ? QList{0x41, 0x43, 0x50, 0x52, 0x60, 0x62} : QList{0x41, 0x42, 0x43})
        doc.setGlyph(code, FontGlyph{{QPolygon(QRect(0, 0, 100, 100))}, 200, 0});
    QByteArray font = TrueTypeWriter::write(doc);
    char* cmap = font.data() + qFromBigEndian<quint32>(font.constData() + font.indexOf("cmap") + 8);
    const quint32 first = qFromBigEndian<quint32>(cmap + 8);
    char* subtable = cmap + first;
    if (wild) { // idRangeOffset[0]: after the header, the pad and three arrays of segCountX2 bytes
        qToBigEndian(quint16(0xFFF0), subtable + 16 + 3 * qFromBigEndian<quint16>(subtable + 6));
    } else { // records (3,1) and (3,2) become a (3,1) beyond the cmap and a good (3,1)
        qToBigEndian(quint32(0xFFFFFF00), cmap + 8);
        qToBigEndian(quint16(1), cmap + 14);
        qToBigEndian(first, cmap + 16);
    }
    return font;
}

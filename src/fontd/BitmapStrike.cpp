#include "fontd/BitmapStrike.h"

#include "fontd/BigEndianWriter.h"
#include "fontd/GlyphBuilder.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int ceilDiv(int a, int b)
{
    return -floorDiv(-a, b);
}

bool fitsInt8(int v)
{
    return v >= -128 && v <= 127;
}

// One glyph's bitmap and its big metrics, in dots.
struct StrikeGlyph
{
    InkMask mask;
    int bearingX = 0;
    int bearingY = 0;
    int advance = 0;

    int rowBytes() const { return (mask.width() + 7) / 8; }
    qint64 size() const { return mask.isNull() ? 0 : 8 + qint64(rowBytes()) * mask.height(); }
};

// Sizes of the fixed parts of EBLC.
constexpr int EblcHeader = 8;
constexpr int BitmapSizeTable = 48;
constexpr int IndexSubTableArray = 8;
constexpr int IndexSubHeader = 8;

} // namespace

InkMask BitmapStrike::dots(const FontGlyph& glyph, int d, QPoint* topLeft)
{
    *topLeft = QPoint(0, 0);
    if (glyph.contours.isEmpty())
        return InkMask();
    const QRect box = GlyphBuilder::bounds(glyph);
    const int col0 = floorDiv(box.left(), d);
    const int col1 = ceilDiv(box.right(), d);
    const int row0 = floorDiv(box.top(), d); // dot j covers j * d up to (j + 1) * d
    const int row1 = ceilDiv(box.bottom(), d);
    if (col1 <= col0 || row1 <= row0)
        return InkMask();

    // Each vertical edge crosses the sample line of the dots it spans: dot j's samples lie at
    // y = (j + 1) * d - 1/2, x = i * d + 1/2, never on an edge.
    struct Crossing
    {
        int row; // mask row, top first
        int x;
        int dir;
    };
    std::vector<Crossing> crossings;
    for (const QPolygon& contour : glyph.contours) {
        for (qsizetype k = 0; k < contour.size(); ++k) {
            const QPoint p = contour[k];
            const QPoint q = contour[(k + 1) % contour.size()];
            if (p.x() != q.x() || p.y() == q.y())
                continue;
            const int lo = std::min(p.y(), q.y());
            const int hi = std::max(p.y(), q.y());
            const int dir = q.y() > p.y() ? 1 : -1;
            for (int top = ceilDiv(lo + 1, d); top <= floorDiv(hi, d); ++top)
                crossings.push_back({row1 - top, p.x(), dir});
        }
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) {
        return a.row != b.row ? a.row < b.row : a.x < b.x;
    });

    InkMask mask(col1 - col0, row1 - row0);
    auto it = crossings.begin();
    for (int r = 0; r < mask.height(); ++r) {
        int winding = 0;
        for (int c = 0; c < mask.width(); ++c) {
            // The crossings left of the sample at x = (col0 + c) * d + 1/2.
            const int sample = (col0 + c) * d;
            while (it != crossings.end() && it->row == r && it->x <= sample)
                winding += (it++)->dir;
            if (winding != 0)
                mask.setPixel(c, r, true);
        }
        while (it != crossings.end() && it->row == r)
            ++it;
    }

    // Cropped to the set dots.
    int left = mask.width(), right = -1, top = mask.height(), bottom = -1;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixel(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return InkMask();
    InkMask cropped(right - left + 1, bottom - top + 1);
    for (int y = 0; y < cropped.height(); ++y) {
        for (int x = 0; x < cropped.width(); ++x)
            cropped.setPixel(x, y, mask.pixel(left + x, top + y));
    }
    *topLeft = QPoint(col0 + left, row1 - top);
    return cropped;
}

BitmapStrike::Tables BitmapStrike::build(std::span<const FontGlyph* const> glyphs,
                                         const DotGrid& grid, int ascender, int descender)
{
    const int d = grid.unitsPerDot();
    const int ppem = grid.dotsY();
    std::vector<StrikeGlyph> strike(glyphs.size());
    int first = -1, last = -1;
    int widthMax = 0;
    int minOriginSB = 127, minAdvanceSB = 127, maxBeforeBL = -128, minAfterBL = 127;
    qint64 imageBytes = 0;
    for (size_t gid = 0; gid < glyphs.size(); ++gid) {
        StrikeGlyph& g = strike[gid];
        QPoint topLeft;
        InkMask mask = dots(*glyphs[gid], d, &topLeft);
        const int advance = (glyphs[gid]->advanceWidth + d / 2) / d;
        const int width = mask.width();
        const int height = mask.height();
        if (mask.isNull() || width > 255 || height > 255 || advance > 255 ||
            !fitsInt8(topLeft.x()) || !fitsInt8(topLeft.y()) ||
            !fitsInt8(advance - topLeft.x() - width) || !fitsInt8(topLeft.y() - height))
            continue;
        g.mask = std::move(mask);
        g.bearingX = topLeft.x();
        g.bearingY = topLeft.y();
        g.advance = advance;
        imageBytes += g.size();
        if (first < 0)
            first = int(gid);
        last = int(gid);
        widthMax = std::max({widthMax, advance, width});
        minOriginSB = std::min(minOriginSB, g.bearingX);
        minAdvanceSB = std::min(minAdvanceSB, advance - g.bearingX - width);
        maxBeforeBL = std::max(maxBeforeBL, g.bearingY);
        minAfterBL = std::min(minAfterBL, g.bearingY - height);
    }
    if (first < 0)
        return {};

    // EBDT: its header, then each glyph's metrics and rows.
    QByteArray ebdt(qsizetype(4 + imageBytes), '\0');
    BigEndianWriter data(std::span<uchar>(reinterpret_cast<uchar*>(ebdt.data()), ebdt.size()));
    data.putUInt16BE(2);          // majorVersion
    data.putUInt16BE(0);          // minorVersion
    std::vector<quint32> offsets; // from the first glyph's image, as the index subtable has them
    offsets.reserve(size_t(last - first + 2));
    for (int gid = first; gid <= last; ++gid) {
        const StrikeGlyph& g = strike[size_t(gid)];
        offsets.push_back(quint32(data.position() - 4));
        if (g.mask.isNull())
            continue;
        const int width = g.mask.width();
        // bigGlyphMetrics
        data.putUInt8(quint8(g.mask.height()));
        data.putUInt8(quint8(width));
        data.putUInt8(quint8(qint8(g.bearingX)));   // horiBearingX
        data.putUInt8(quint8(qint8(g.bearingY)));   // horiBearingY
        data.putUInt8(quint8(g.advance));           // horiAdvance
        data.putUInt8(quint8(qint8(-(width / 2)))); // vertBearingX
        data.putUInt8(0);                           // vertBearingY
        data.putUInt8(quint8(ppem));                // vertAdvance
        for (int y = 0; y < g.mask.height(); ++y) {
            const quint64* row = g.mask.row(y);
            for (int k = 0; k < g.rowBytes(); ++k)
                data.putUInt8(quint8(row[k / 8] >> (56 - 8 * (k % 8))));
        }
    }
    offsets.push_back(quint32(data.position() - 4));

    const qint64 subtableSize = IndexSubHeader + 4 * qint64(offsets.size());
    QByteArray eblc(qsizetype(EblcHeader + BitmapSizeTable + IndexSubTableArray + subtableSize),
                    '\0');
    BigEndianWriter index(std::span<uchar>(reinterpret_cast<uchar*>(eblc.data()), eblc.size()));
    index.putUInt16BE(2); // majorVersion
    index.putUInt16BE(0); // minorVersion
    index.putUInt32BE(1); // numSizes
    // BitmapSize
    index.putUInt32BE(EblcHeader + BitmapSizeTable);               // indexSubTableArrayOffset
    index.putUInt32BE(quint32(IndexSubTableArray + subtableSize)); // indexTablesSize
    index.putUInt32BE(1);                                          // numberOfIndexSubTables
    index.putUInt32BE(0);                                          // colorRef
    for (int direction = 0; direction < 2; ++direction) {
        // SbitLineMetrics, horizontal and vertical alike
        index.putUInt8(quint8(qint8(std::clamp(ascender, -128, 127))));
        index.putUInt8(quint8(qint8(std::clamp(descender, -128, 127))));
        index.putUInt8(quint8(std::min(widthMax, 255)));
        index.putUInt8(1); // caretSlopeNumerator: upright
        index.putUInt8(0); // caretSlopeDenominator
        index.putUInt8(0); // caretOffset
        index.putUInt8(quint8(qint8(minOriginSB)));
        index.putUInt8(quint8(qint8(minAdvanceSB)));
        index.putUInt8(quint8(qint8(maxBeforeBL)));
        index.putUInt8(quint8(qint8(minAfterBL)));
        index.putUInt16BE(0); // pad1, pad2
    }
    index.putUInt16BE(quint16(first)); // startGlyphIndex
    index.putUInt16BE(quint16(last));  // endGlyphIndex
    index.putUInt8(quint8(ppem));      // ppemX
    index.putUInt8(quint8(ppem));      // ppemY
    index.putUInt8(1);                 // bitDepth
    index.putUInt8(0x01);              // flags: horizontal metrics
    // IndexSubTableArray
    index.putUInt16BE(quint16(first));
    index.putUInt16BE(quint16(last));
    index.putUInt32BE(IndexSubTableArray); // additionalOffsetToIndexSubtable
    // IndexSubTable1
    index.putUInt16BE(1); // indexFormat
    index.putUInt16BE(6); // imageFormat: big metrics, byte-aligned
    index.putUInt32BE(4); // imageDataOffset: past EBDT's header
    for (quint32 offset : offsets)
        index.putUInt32BE(offset);
    if (!data.finishedExactly() || !index.finishedExactly())
        return {};
    return {eblc, ebdt};
}

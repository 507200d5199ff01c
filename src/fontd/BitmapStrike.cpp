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
    Scratch scratch;
    return dots(glyph, d, topLeft, scratch);
}

InkMask BitmapStrike::dots(const FontGlyph& glyph, int d, QPoint* topLeft, Scratch& scratch)
{
    *topLeft = QPoint(0, 0);
    if (glyph.contours.isEmpty())
        return InkMask();
    const QRect box = GlyphBuilder::bounds(glyph);
    const int row1 = ceilDiv(box.bottom(), d); // above the top row: dot j covers j d .. (j + 1) d

    // Each vertical edge crosses the sample line of the dots it spans: dot j's samples lie at
    // y = (j + 1) d - 1/2 and x = i d + 1/2, never on an edge.
    std::vector<Crossing>& crossings = scratch.crossings;
    crossings.clear();
    for (const QPolygon& contour : glyph.contours) {
        const qsizetype n = contour.size();
        for (qsizetype k = 0; k < n; ++k) {
            const QPoint p = contour[k];
            const QPoint q = contour[k + 1 == n ? 0 : k + 1];
            if (p.x() != q.x() || p.y() == q.y())
                continue;
            const int lo = std::min(p.y(), q.y());
            const int hi = std::max(p.y(), q.y());
            const int dir = q.y() > p.y() ? 1 : -1;
            for (int top = ceilDiv(lo + 1, d); top <= floorDiv(hi, d); ++top)
                crossings.push_back({row1 - top, p.x(), dir});
        }
    }
    // By row, then by x: a counting sort over the few rows, then each row's handful in order.
    const int rows = row1 - floorDiv(box.top(), d);
    std::vector<int>& start = scratch.rowStart;
    start.assign(size_t(rows) + 1, 0);
    for (const Crossing& c : crossings)
        ++start[size_t(c.row) + 1];
    for (int r = 0; r < rows; ++r)
        start[size_t(r) + 1] += start[size_t(r)];
    std::vector<Crossing>& sorted = scratch.sorted;
    sorted.resize(crossings.size());
    std::vector<int>& next = scratch.rowNext;
    next.assign(start.begin(), start.end() - 1);
    for (const Crossing& c : crossings)
        sorted[size_t(next[size_t(c.row)]++)] = c;
    for (int r = 0; r < rows; ++r) {
        const auto begin = sorted.begin() + start[size_t(r)];
        const auto end = sorted.begin() + start[size_t(r) + 1];
        for (auto i = begin; i != end; ++i) {
            for (auto j = i; j != begin && std::prev(j)->x > j->x; --j)
                std::iter_swap(j, std::prev(j));
        }
    }
    crossings.swap(sorted);

    // The runs of dots inside, row by row: dot i is inside when the crossings at x <= i d
    // wind non-zero.
    std::vector<Span>& spans = scratch.spans;
    spans.clear();
    int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
    for (size_t k = 0; k < crossings.size();) {
        const int row = crossings[k].row;
        int winding = 0, from = 0;
        for (; k < crossings.size() && crossings[k].row == row; ++k) {
            const int before = winding;
            winding += crossings[k].dir;
            if (before == 0 && winding != 0) {
                from = ceilDiv(crossings[k].x, d);
            } else if (before != 0 && winding == 0) {
                const int to = ceilDiv(crossings[k].x, d);
                if (to > from) {
                    spans.push_back({row, from, to});
                    left = std::min(left, from);
                    right = std::max(right, to);
                }
            }
        }
    }
    if (spans.empty())
        return InkMask();

    const int top = spans.front().row;
    InkMask mask(right - left, spans.back().row - top + 1);
    for (const Span& span : spans) {
        quint64* row = mask.row(span.row - top);
        for (int x = span.from - left; x < span.to - left;) {
            // Whole words where the run allows.
            const int bit = x & 63;
            const int count = std::min(64 - bit, span.to - left - x);
            const quint64 ones = count == 64 ? ~quint64(0) : ((quint64(1) << count) - 1);
            row[x >> 6] |= ones << (64 - bit - count);
            x += count;
        }
    }
    *topLeft = QPoint(left, row1 - top);
    return mask;
}

BitmapStrike::Tables BitmapStrike::build(std::span<const FontGlyph* const> glyphs,
                                         const DotGrid& grid, int ascender, int descender)
{
    const int d = grid.unitsPerDot();
    const int ppem = grid.dotsY();
    std::vector<StrikeGlyph> strike(glyphs.size());
    Scratch scratch;
    int first = -1, last = -1;
    int widthMax = 0;
    int minOriginSB = 127, minAdvanceSB = 127, maxBeforeBL = -128, minAfterBL = 127;
    qint64 imageBytes = 0;
    for (size_t gid = 0; gid < glyphs.size(); ++gid) {
        StrikeGlyph& g = strike[gid];
        QPoint topLeft;
        InkMask mask = dots(*glyphs[gid], d, &topLeft, scratch);
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

#include "fontd/CmapSubtable.h"

#include <bit>

namespace {

// End of the run of consecutive codes with consecutive glyphs that starts at i.
size_t runEnd(std::span<const CmapSubtable::Mapping> m, size_t i)
{
    size_t j = i;
    while (j + 1 < m.size() && m[j + 1].code == m[j].code + 1 && m[j + 1].glyph == m[j].glyph + 1)
        ++j;
    return j;
}

// A segment costs 8 bytes and a listed glyph 2, so short runs close together share one segment
// that lists its glyphs (0 for the codes between them) and long runs get a segment each.
constexpr quint32 LongRun = 4;
constexpr quint32 MaxGap = 4;

} // namespace

std::optional<CmapSubtable> CmapSubtable::format4(std::span<const Mapping> mappings)
{
    CmapSubtable t;
    t.m_format = 4;
    size_t i = 0;
    while (i < mappings.size() && mappings[i].glyph == 0)
        ++i;
    while (i < mappings.size()) {
        if (mappings[i].code >= 0xFFFF)
            return std::nullopt;
        size_t j = runEnd(mappings, i);
        if (mappings[j].code >= 0xFFFF)
            return std::nullopt;
        if (j - i + 1 >= LongRun) {
            t.m_segments.push_back({mappings[i].code, mappings[j].code, mappings[i].glyph, -1});
            i = j + 1;
            continue;
        }
        const int arrayStart = int(t.m_glyphArray.size());
        quint32 end = mappings[j].code;
        int runs = 1;
        for (size_t k = i; k <= j; ++k)
            t.m_glyphArray.push_back(mappings[k].glyph);
        size_t k = j + 1;
        while (k < mappings.size() && mappings[k].code < 0xFFFF &&
               mappings[k].code - end - 1 <= MaxGap) {
            const size_t m = runEnd(mappings, k);
            if (m - k + 1 >= LongRun || mappings[m].code >= 0xFFFF)
                break;
            t.m_glyphArray.insert(t.m_glyphArray.end(), mappings[k].code - end - 1, 0);
            for (size_t q = k; q <= m; ++q)
                t.m_glyphArray.push_back(mappings[q].glyph);
            end = mappings[m].code;
            ++runs;
            k = m + 1;
        }
        if (runs == 1) {
            // A lone short run is cheaper as a delta segment.
            t.m_glyphArray.resize(size_t(arrayStart));
            t.m_segments.push_back({mappings[i].code, end, mappings[i].glyph, -1});
        } else {
            t.m_segments.push_back({mappings[i].code, end, 0, arrayStart});
        }
        i = k;
    }
    if (t.size() > 0xFFFF)
        return std::nullopt;
    return t;
}

CmapSubtable CmapSubtable::format12(std::span<const Mapping> mappings)
{
    CmapSubtable t;
    t.m_format = 12;
    for (size_t i = 0; i < mappings.size();) {
        if (mappings[i].glyph == 0) {
            ++i;
            continue;
        }
        const size_t j = runEnd(mappings, i);
        t.m_segments.push_back({mappings[i].code, mappings[j].code, mappings[i].glyph, -1});
        i = j + 1;
    }
    return t;
}

qint64 CmapSubtable::size() const
{
    if (m_format == 12)
        return 16 + 12 * qint64(m_segments.size());
    // Header, four arrays over the segments plus the closing 0xFFFF one, the pad word, and
    // the listed glyphs.
    const qint64 segCount = qint64(m_segments.size()) + 1;
    return 14 + 8 * segCount + 2 + 2 * qint64(m_glyphArray.size());
}

void CmapSubtable::write(BigEndianWriter& out) const
{
    if (m_format == 12) {
        out.putUInt16BE(12);
        out.putUInt16BE(0); // reserved
        out.putUInt32BE(quint32(size()));
        out.putUInt32BE(0); // language
        out.putUInt32BE(quint32(m_segments.size()));
        for (const Segment& g : m_segments) {
            out.putUInt32BE(g.start);
            out.putUInt32BE(g.end);
            out.putUInt32BE(g.startGlyph);
        }
        return;
    }
    const int segCount = int(m_segments.size()) + 1;
    const int floorLog2 = std::bit_width(unsigned(segCount)) - 1;
    const int searchRange = 2 * (1 << floorLog2);
    out.putUInt16BE(4);
    out.putUInt16BE(quint16(size()));
    out.putUInt16BE(0); // language
    out.putUInt16BE(quint16(2 * segCount));
    out.putUInt16BE(quint16(searchRange));
    out.putUInt16BE(quint16(floorLog2));
    out.putUInt16BE(quint16(2 * segCount - searchRange));
    for (const Segment& s : m_segments)
        out.putUInt16BE(quint16(s.end));
    out.putUInt16BE(0xFFFF);
    out.putUInt16BE(0); // reservedPad
    for (const Segment& s : m_segments)
        out.putUInt16BE(quint16(s.start));
    out.putUInt16BE(0xFFFF);
    for (const Segment& s : m_segments)
        out.putUInt16BE(s.arrayStart < 0 ? quint16(s.startGlyph - s.start) : 0);
    out.putUInt16BE(1); // maps 0xFFFF to glyph 0
    for (int i = 0; i < segCount - 1; ++i) {
        const Segment& s = m_segments[size_t(i)];
        // Counted in bytes from this idRangeOffset word to the segment's first listed glyph.
        out.putUInt16BE(s.arrayStart < 0 ? 0 : quint16(2 * (segCount - i) + 2 * s.arrayStart));
    }
    out.putUInt16BE(0);
    for (quint16 g : m_glyphArray)
        out.putUInt16BE(g);
}

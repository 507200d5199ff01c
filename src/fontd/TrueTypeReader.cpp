#include "fontd/TrueTypeReader.h"

#include "fontd/BigEndianReader.h"
#include "fontd/FontCodes.h"
#include "fontd/FontNaming.h"
#include "fontd/TrueTypeFormat.h"

#include <QStringList>
#include <QtEndian>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace {

using namespace TrueTypeFormat;

QString tagName(quint32 t)
{
    QString s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((t >> shift) & 0xFF);
        s += c >= 32 && c < 127 ? QChar(c) : QChar(u'?');
    }
    return s;
}

// Answers the glyph of a code from one cmap subtable; 0 when there is none.  A damaged part
// costs only itself: reads are checked before they are made, so that no fault marks the
// subtable (or the cmap) failed for the lookups and subtables after it.
class CmapLookup
{
public:
    // Nothing when the subtable's format is not one of 0, 4, 6, 12, or (with a reason in
    // fault) when it lies beyond the cmap or its header is cut off.
    static std::optional<CmapLookup> make(const BigEndianReader& cmap, qint64 offset,
                                          QString* fault)
    {
        if (!cmap.contains(offset, 2)) {
            *fault = TrueTypeReader::tr("lies beyond the 'cmap' table");
            return std::nullopt;
        }
        CmapLookup l;
        // The subtable runs to the end of cmap at most; its own length field is not trusted.
        l.m_table = cmap.sub(offset, cmap.size() - offset);
        const BigEndianReader& t = l.m_table;
        l.m_format = t.uint16BEAt(0);
        bool whole = true;
        switch (l.m_format) {
        case 0:
            whole = t.contains(6, 256);
            break;
        case 4:
            whole = t.contains(0, 14);
            l.m_count = whole ? t.uint16BEAt(6) / 2 : 0;
            whole = whole && l.m_count > 0 && t.contains(14, 8 * qint64(l.m_count) + 2);
            if (whole)
                l.findBadSegments();
            break;
        case 6:
            whole = t.contains(0, 10);
            l.m_first = whole ? t.uint16BEAt(6) : 0;
            l.m_count = whole ? t.uint16BEAt(8) : 0;
            whole = whole && t.contains(10, 2 * qint64(l.m_count));
            break;
        case 12:
            whole = t.contains(0, 16);
            l.m_count = whole ? t.uint32BEAt(12) : 0;
            whole = whole && t.contains(16, 12 * qint64(l.m_count));
            break;
        default:
            return std::nullopt;
        }
        if (!whole) {
            *fault = TrueTypeReader::tr("is a format %1 subtable cut off").arg(l.m_format);
            return std::nullopt;
        }
        return l;
    }

    // The codes of format 4 segments whose glyph list lies outside the subtable, as
    // "0x20-0x7e"; those codes map to nothing.
    const QStringList& badSegments() const { return m_badSegmentCodes; }

    quint32 glyph(quint32 code) const
    {
        const BigEndianReader& t = m_table;
        switch (m_format) {
        case 0:
            return code < 256 ? t.uint8At(6 + code) : 0;
        case 4: {
            if (code > 0xFFFF)
                return 0;
            // The first segment whose end is at or after code.
            qint64 lo = 0, hi = m_count;
            while (lo < hi) {
                const qint64 mid = (lo + hi) / 2;
                if (t.uint16BEAt(ends() + 2 * mid) < code)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            if (lo == m_count || t.uint16BEAt(starts() + 2 * lo) > code ||
                m_badSegments[size_t(lo)])
                return 0;
            const quint16 start = t.uint16BEAt(starts() + 2 * lo);
            const quint16 delta = t.uint16BEAt(deltas() + 2 * lo);
            const quint16 range = t.uint16BEAt(ranges() + 2 * lo);
            if (range == 0)
                return (code + delta) & 0xFFFF;
            const quint16 g = t.uint16BEAt(ranges() + 2 * lo + range + 2 * qint64(code - start));
            return g == 0 ? 0 : (g + delta) & 0xFFFF;
        }
        case 6:
            if (code < m_first || code - m_first >= m_count)
                return 0;
            return t.uint16BEAt(10 + 2 * qint64(code - m_first));
        case 12: {
            qint64 lo = 0, hi = m_count;
            while (lo < hi) {
                const qint64 mid = (lo + hi) / 2;
                if (t.uint32BEAt(16 + 12 * mid + 4) < code)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            if (lo == m_count)
                return 0;
            const quint32 start = t.uint32BEAt(16 + 12 * lo);
            if (start > code)
                return 0;
            const quint64 g = quint64(t.uint32BEAt(16 + 12 * lo + 8)) + (code - start);
            return g > 0xFFFF ? 0 : quint32(g);
        }
        default:
            return 0;
        }
    }

private:
    // The arrays of a format 4 subtable.
    qint64 ends() const { return 14; }
    qint64 starts() const { return ends() + 2 * qint64(m_count) + 2; }
    qint64 deltas() const { return starts() + 2 * qint64(m_count); }
    qint64 ranges() const { return deltas() + 2 * qint64(m_count); }

    // A segment whose listed glyphs do not all lie inside the subtable is left out whole: its
    // entries that do are other data read as glyphs.
    void findBadSegments()
    {
        const BigEndianReader& t = m_table;
        m_badSegments.assign(m_count, false);
        for (quint32 i = 0; i < m_count; ++i) {
            const quint16 start = t.uint16BEAt(starts() + 2 * qint64(i));
            const quint16 end = t.uint16BEAt(ends() + 2 * qint64(i));
            const quint16 range = t.uint16BEAt(ranges() + 2 * qint64(i));
            if (range == 0 || end < start)
                continue;
            const qint64 first = ranges() + 2 * qint64(i) + range;
            if (!t.contains(first, 2 * (qint64(end) - start + 1))) {
                m_badSegments[i] = true;
                m_badSegmentCodes.append(
                    QStringLiteral("0x%1-0x%2").arg(start, 0, 16).arg(end, 0, 16));
            }
        }
    }

    BigEndianReader m_table;
    int m_format = 0;
    quint32 m_first = 0;
    quint32 m_count = 0;
    std::vector<bool> m_badSegments;
    QStringList m_badSegmentCodes;
};

class Parser
{
public:
    explicit Parser(QByteArrayView data)
        : m_file(std::span<const uchar>(reinterpret_cast<const uchar*>(data.data()),
                                        size_t(data.size())))
    {}

    std::unique_ptr<FontDocument> run()
    {
        if (!readDirectory() || !readHeaders())
            return nullptr;
        const FontDocument::Kind kind = detectKind();
        if (!m_sjis && !m_unicode) {
            QString reason =
                TrueTypeReader::tr("the font has no Unicode or Shift_JIS character map");
            if (!m_warnings.isEmpty())
                reason += QStringLiteral(" (%1)").arg(m_warnings.join(QStringLiteral("; ")));
            fail(reason);
            return nullptr;
        }
        // Which glyph each code reaches, and what those glyphs hold in all by their headers
        // alone, a glyph counted for every code that reaches it (each such code costs its own
        // work here and in every save): a font beyond the bounds is refused before any outline
        // is read.
        std::vector<std::pair<int, quint32>> reached;
        qint64 points = 0, contours = 0;
        for (int code : FontCodes::codes(kind)) {
            quint32 gid = 0;
            if (m_sjis && kind == FontDocument::Japanese) {
                gid = m_sjis->glyph(quint32(code));
            } else {
                const char32_t u = FontCodes::toUnicode(kind, code);
                // Of the codes that share a Unicode value, the one it is written with.
                if (u == 0 || FontCodes::fromUnicode(kind, u) != code)
                    continue;
                gid = m_unicode->glyph(u);
            }
            if (gid == 0)
                continue;
            if (gid >= m_numGlyphs) {
                fail(TrueTypeReader::tr(
                         "the character map sends code 0x%1 to glyph %2, but the font "
                         "has %3 glyphs")
                         .arg(code, 0, 16)
                         .arg(gid)
                         .arg(m_numGlyphs));
                return nullptr;
            }
            const auto [glyphContours, glyphPoints] = outlineSize(gid);
            contours += glyphContours;
            points += glyphPoints;
            if (points > TrueTypeReader::MaxTotalPoints ||
                contours > TrueTypeReader::MaxTotalContours) {
                fail(TrueTypeReader::tr("the glyphs of its codes hold more than %1 points or %2 "
                                        "contours in all, more than a font here may hold")
                         .arg(TrueTypeReader::MaxTotalPoints)
                         .arg(TrueTypeReader::MaxTotalContours));
                return nullptr;
            }
            reached.emplace_back(code, gid);
        }

        auto doc = std::make_unique<FontDocument>(kind);
        doc->setNames(FontNaming::fromRecords(names()));
        doc->setReadWarnings(m_warnings);
        doc->setDotGrid(m_grid);
        std::map<quint32, FontGlyph> cache;
        for (const auto& [code, gid] : reached) {
            auto it = cache.find(gid);
            if (it == cache.end()) {
                FontGlyph g;
                if (!readGlyph(gid, code, &g))
                    return nullptr;
                it = cache.emplace(gid, std::move(g)).first;
            }
            QString reason;
            if (!doc->setGlyph(code, it->second, &reason)) {
                fail(reason);
                return nullptr;
            }
        }
        return doc;
    }

    QString error() const { return m_error; }

private:
    bool fail(const QString& reason)
    {
        m_error = reason;
        return false;
    }

    bool readDirectory()
    {
        if (m_file.size() < 12)
            return fail(TrueTypeReader::tr("not a TrueType font: the file is too short"));
        const quint32 version = m_file.uint32BEAt(0);
        if (version == tag("OTTO"))
            return fail(TrueTypeReader::tr("OpenType fonts with PostScript (CFF) outlines are not "
                                           "supported, only TrueType outlines"));
        if (version == tag("ttcf"))
            return fail(TrueTypeReader::tr("font collections are not supported"));
        if (version == tag("wOFF") || version == tag("wOF2"))
            return fail(TrueTypeReader::tr("WOFF fonts are not supported"));
        if (version != 0x00010000 && version != tag("true"))
            return fail(TrueTypeReader::tr("not a TrueType font"));
        const quint16 count = m_file.uint16BEAt(4);
        if (!m_file.contains(12, 16 * qint64(count)))
            return fail(TrueTypeReader::tr("truncated font: the table directory is cut off"));
        for (int i = 0; i < count; ++i) {
            const qint64 r = 12 + 16 * qint64(i);
            const quint32 t = m_file.uint32BEAt(r);
            const quint32 offset = m_file.uint32BEAt(r + 8);
            const quint32 length = m_file.uint32BEAt(r + 12);
            if (!m_file.contains(offset, length))
                return fail(TrueTypeReader::tr("truncated font: the '%1' table lies beyond the end "
                                               "of the file")
                                .arg(tagName(t)));
            m_tables.try_emplace(t, m_file.sub(offset, length));
        }
        for (const quint32 t : {tag("head"), tag("maxp"), tag("hhea"), tag("hmtx"), tag("loca"),
                                tag("glyf"), tag("cmap")}) {
            if (!m_tables.count(t)) {
                if (t == tag("glyf") && m_tables.count(tag("CFF ")))
                    return fail(TrueTypeReader::tr("OpenType fonts with PostScript (CFF) outlines "
                                                   "are not supported, only TrueType outlines"));
                return fail(TrueTypeReader::tr("the font has no '%1' table").arg(tagName(t)));
            }
        }
        return true;
    }

    bool readHeaders()
    {
        const BigEndianReader& head = m_tables[tag("head")];
        const BigEndianReader& maxp = m_tables[tag("maxp")];
        const BigEndianReader& hhea = m_tables[tag("hhea")];
        if (!head.contains(0, 54))
            return fail(TrueTypeReader::tr("the 'head' table is too short"));
        if (!maxp.contains(0, 6))
            return fail(TrueTypeReader::tr("the 'maxp' table is too short"));
        if (!hhea.contains(0, 36))
            return fail(TrueTypeReader::tr("the 'hhea' table is too short"));
        const int unitsPerEm = head.uint16BEAt(18);
        const int locaFormat = head.int16BEAt(50);
        if (locaFormat != 0 && locaFormat != 1)
            return fail(TrueTypeReader::tr("unknown glyph location format %1").arg(locaFormat));
        m_longLoca = locaFormat == 1;
        m_numGlyphs = maxp.uint16BEAt(4);
        if (m_numGlyphs == 0)
            return fail(TrueTypeReader::tr("the font has no glyphs"));
        m_numberOfHMetrics = std::min<quint32>(hhea.uint16BEAt(34), m_numGlyphs);
        if (m_numberOfHMetrics == 0)
            return fail(TrueTypeReader::tr("the 'hhea' table lists no horizontal metrics"));
        if (!m_tables[tag("hmtx")].contains(0, 4 * qint64(m_numberOfHMetrics)))
            return fail(TrueTypeReader::tr("the 'hmtx' table is too short"));
        m_grid = dotGrid(unitsPerEm);
        if (!m_grid && unitsPerEm != FontDocument::UnitsPerEm)
            return fail(
                TrueTypeReader::tr("the font has %1 units per em; only fonts of %2 units per "
                                   "em (%3 per dot pixel), or of square dots made here, can be "
                                   "edited")
                    .arg(unitsPerEm)
                    .arg(FontDocument::UnitsPerEm)
                    .arg(FontDocument::UnitsPerPixel));
        if (!m_tables[tag("loca")].contains(0, (m_longLoca ? 4 : 2) * (qint64(m_numGlyphs) + 1)))
            return fail(TrueTypeReader::tr("the 'loca' table is too short"));
        // Ascending offsets keep the glyphs apart, so that no byte of glyf is read as two glyphs.
        for (quint32 gid = 0; gid < m_numGlyphs; ++gid) {
            if (glyphOffset(gid + 1) < glyphOffset(gid))
                return fail(
                    TrueTypeReader::tr("the 'loca' table goes back at glyph %1").arg(gid + 1));
        }
        if (glyphOffset(m_numGlyphs) > m_tables[tag("glyf")].size())
            return fail(TrueTypeReader::tr("the 'loca' table points beyond the 'glyf' table"));

        const BigEndianReader& cmap = m_tables[tag("cmap")];
        const quint16 subtables = cmap.uint16BEAt(2);
        if (cmap.failed() || !cmap.contains(4, 8 * qint64(subtables)))
            return fail(TrueTypeReader::tr("the 'cmap' table is cut off"));
        std::optional<CmapLookup> unicodeFull, unicodeBmp, unicodeOther;
        for (int i = 0; i < subtables; ++i) {
            const qint64 r = 4 + 8 * qint64(i);
            const quint16 platform = cmap.uint16BEAt(r);
            const quint16 encoding = cmap.uint16BEAt(r + 2);
            QString fault;
            const std::optional<CmapLookup> l =
                CmapLookup::make(cmap, cmap.uint32BEAt(r + 4), &fault);
            if (!fault.isEmpty())
                m_warnings.append(
                    TrueTypeReader::tr("the character map of platform %1, encoding %2 %3; skipped")
                        .arg(platform)
                        .arg(encoding)
                        .arg(fault));
            if (!l)
                continue;
            if (platform == 3 && encoding == 2 && !m_sjis)
                m_sjis = l;
            else if (platform == 3 && encoding == 10 && !unicodeFull)
                unicodeFull = l;
            else if (platform == 3 && encoding == 1 && !unicodeBmp)
                unicodeBmp = l;
            else if (platform == 0 && !unicodeOther)
                unicodeOther = l;
        }
        m_unicode = unicodeFull ? unicodeFull : unicodeBmp ? unicodeBmp : unicodeOther;
        // The glyph list of a segment is a count of bytes from its own field: one wild value
        // costs that segment's codes, not the font.
        const std::optional<CmapLookup>& used = m_sjis ? m_sjis : m_unicode;
        if (used && !used->badSegments().isEmpty())
            m_warnings.append(
                TrueTypeReader::tr("the character map lists the glyphs of the codes %1 outside "
                                   "itself; those codes have no glyph")
                    .arg(used->badSegments().join(QStringLiteral(", "))));
        return true;
    }

    // The grid of square dots a font made here was saved with: its strike's size is the dots'
    // height, its em that many dots, its .notdef as wide as the glyph box and its typographic
    // ascender and descender the grid's.  Nothing for any other font.
    std::optional<DotGrid> dotGrid(int unitsPerEm)
    {
        const auto eblc = m_tables.find(tag("EBLC"));
        const auto os2 = m_tables.find(tag("OS/2"));
        if (eblc == m_tables.end() || os2 == m_tables.end())
            return std::nullopt;
        const BigEndianReader& e = eblc->second;
        const BigEndianReader& o = os2->second;
        if (!e.contains(0, 56) || e.uint32BEAt(4) == 0 || !o.contains(0, 72))
            return std::nullopt;
        const int dotsY = e.uint8At(8 + 45); // the first strike's ppemY
        if (dotsY == 0 || unitsPerEm % dotsY != 0)
            return std::nullopt;
        const int dot = unitsPerEm / dotsY;
        const int notdefAdvance = m_tables[tag("hmtx")].uint16BEAt(0);
        const std::optional<DotGrid> grid = DotGrid::square(notdefAdvance / dot, dotsY);
        if (!grid || grid->unitsPerEm() != unitsPerEm || grid->boxWidth() != notdefAdvance ||
            grid->ascender() != o.int16BEAt(68) || grid->descender() != o.int16BEAt(70))
            return std::nullopt;
        return grid;
    }

    FontDocument::Kind detectKind()
    {
        if (m_sjis)
            return FontDocument::Japanese;
        const auto os2 = m_tables.find(tag("OS/2"));
        if (os2 != m_tables.end()) {
            const BigEndianReader& t = os2->second;
            if (t.contains(0, 86) && t.uint16BEAt(0) >= 1 && (t.uint32BEAt(78) & (1u << 17)))
                return FontDocument::Japanese;
        }
        return FontDocument::Western;
    }

    // The texts of the names FontNaming reads, each from its best record.
    std::map<int, QString> names()
    {
        const auto it = m_tables.find(tag("name"));
        if (it == m_tables.end())
            return {};
        const BigEndianReader& name = it->second;
        const quint16 count = name.uint16BEAt(2);
        const quint16 storage = name.uint16BEAt(4);
        if (name.failed() || !name.contains(6, 12 * qint64(count)))
            return {};
        // Best first: Windows Unicode US English, other Windows Unicode, Unicode, Mac Roman.
        std::map<int, int> bestRank;
        std::map<int, QString> best;
        for (int i = 0; i < count; ++i) {
            const qint64 r = 6 + 12 * qint64(i);
            const quint16 platform = name.uint16BEAt(r);
            const quint16 encoding = name.uint16BEAt(r + 2);
            const quint16 language = name.uint16BEAt(r + 4);
            const quint16 id = name.uint16BEAt(r + 6);
            const quint16 length = name.uint16BEAt(r + 8);
            const quint16 offset = name.uint16BEAt(r + 10);
            if ((id > 2 && id != 5 && id != 16 && id != 17) ||
                !name.contains(qint64(storage) + offset, length))
                continue;
            int rank = 0;
            bool utf16 = true;
            if (platform == 3 && (encoding == 1 || encoding == 10))
                rank = language == 0x0409 ? 4 : 3;
            else if (platform == 0)
                rank = 2;
            else if (platform == 1 && encoding == 0)
                rank = 1, utf16 = false;
            if (rank <= bestRank[id])
                continue;
            const BigEndianReader s = name.sub(qint64(storage) + offset, length);
            QString text;
            if (utf16) {
                for (qint64 k = 0; k + 1 < length; k += 2)
                    text += QChar(s.uint16BEAt(k));
            } else {
                for (qint64 k = 0; k < length; ++k) {
                    const quint8 c = s.uint8At(k);
                    text += c < 128 ? QChar(c) : QChar(u'?');
                }
            }
            bestRank[id] = rank;
            best[id] = text;
        }
        return best;
    }

    // Where the glyph's data begins in glyf; gid up to numGlyphs, whose offset is the end of
    // the last glyph.
    qint64 glyphOffset(quint32 gid)
    {
        const BigEndianReader& loca = m_tables[tag("loca")];
        return m_longLoca ? loca.uint32BEAt(4 * qint64(gid))
                          : 2 * qint64(loca.uint16BEAt(2 * qint64(gid)));
    }

    // The contours and points of a glyph as its header gives them; none for an empty or a
    // composite glyph, or one cut off (which readGlyph refuses).
    std::pair<qint64, qint64> outlineSize(quint32 gid)
    {
        const BigEndianReader& glyf = m_tables[tag("glyf")];
        const qint64 start = glyphOffset(gid);
        const qint16 contours = glyf.contains(start, 10) ? glyf.int16BEAt(start) : 0;
        if (glyphOffset(gid + 1) <= start || contours <= 0 ||
            !glyf.contains(start, 10 + 2 * qint64(contours)))
            return {0, 0};
        return {contours, qint64(glyf.uint16BEAt(start + 8 + 2 * qint64(contours))) + 1};
    }

    bool readGlyph(quint32 gid, int code, FontGlyph* glyph)
    {
        const QString which = TrueTypeReader::tr("glyph %1 (code 0x%2)").arg(gid).arg(code, 0, 16);
        const BigEndianReader& glyf = m_tables[tag("glyf")];
        const BigEndianReader& hmtx = m_tables[tag("hmtx")];
        const qint64 start = glyphOffset(gid);
        const qint64 end = glyphOffset(gid + 1);
        if (end < start || !glyf.contains(start, end - start))
            return fail(TrueTypeReader::tr("%1 lies outside the 'glyf' table").arg(which));
        const quint32 metric = std::min(gid, m_numberOfHMetrics - 1);
        glyph->advanceWidth = hmtx.uint16BEAt(4 * qint64(metric));
        glyph->contours.clear();
        glyph->leftSideBearing = 0;
        if (end == start)
            return true;

        const BigEndianReader g = glyf.sub(start, end - start);
        const qint16 contours = g.int16BEAt(0);
        if (g.failed() || !g.contains(0, 10))
            return fail(TrueTypeReader::tr("%1 is cut off").arg(which));
        if (contours < 0)
            return fail(TrueTypeReader::tr("%1 is a composite glyph; only simple outlines can be "
                                           "edited")
                            .arg(which));
        if (contours == 0)
            return true;
        if (!g.contains(10, 2 * qint64(contours) + 2))
            return fail(TrueTypeReader::tr("%1 is cut off").arg(which));
        std::vector<int> ends(static_cast<size_t>(contours));
        const uchar* endPtsOfContours = g.bytes().data() + 10;
        for (int i = 0; i < contours; ++i) {
            ends[size_t(i)] = qFromBigEndian<quint16>(endPtsOfContours + 2 * i);
            if (i > 0 && ends[size_t(i)] <= ends[size_t(i) - 1])
                return fail(TrueTypeReader::tr("%1 has malformed contour ends").arg(which));
        }
        const int points = ends.back() + 1;
        qint64 pos = 10 + 2 * qint64(contours);
        pos += 2 + g.uint16BEAt(pos); // skip the instructions

        // The flags, and from them how many bytes the coordinates take: checked once, the
        // coordinates are then read without a check each.
        const std::span<const uchar> bytes = g.bytes();
        const qint64 size = g.size();
        std::vector<quint8> flags;
        flags.reserve(size_t(points));
        qint64 xBytes = 0, yBytes = 0;
        while (int(flags.size()) < points) {
            if (pos >= size)
                return fail(TrueTypeReader::tr("%1 is cut off").arg(which));
            const quint8 f = bytes[size_t(pos++)];
            if (!(f & ON_CURVE_POINT))
                return fail(TrueTypeReader::tr("%1 has curves; only outlines of straight lines can "
                                               "be edited")
                                .arg(which));
            int repeat = 1;
            if (f & REPEAT_FLAG) {
                if (pos >= size)
                    return fail(TrueTypeReader::tr("%1 is cut off").arg(which));
                repeat += bytes[size_t(pos++)];
                if (int(flags.size()) + repeat > points)
                    return fail(TrueTypeReader::tr("%1 has malformed flags").arg(which));
            }
            flags.insert(flags.end(), size_t(repeat), f);
            xBytes += repeat * deltaBytes(f, X_SHORT_VECTOR, X_IS_SAME_OR_POSITIVE_X_SHORT_VECTOR);
            yBytes += repeat * deltaBytes(f, Y_SHORT_VECTOR, Y_IS_SAME_OR_POSITIVE_Y_SHORT_VECTOR);
        }
        if (xBytes + yBytes > size - pos)
            return fail(TrueTypeReader::tr("%1 is cut off").arg(which));

        const uchar* xData = bytes.data() + pos;
        const uchar* yData = xData + xBytes;
        int x = 0, y = 0, first = 0;
        int left = std::numeric_limits<int>::max();
        glyph->contours.reserve(contours);
        for (int e : ends) {
            QPolygon contour(e - first + 1);
            QPoint* out = contour.data();
            for (int i = first; i <= e; ++i) {
                const quint8 f = flags[size_t(i)];
                x += delta(xData, f, X_SHORT_VECTOR, X_IS_SAME_OR_POSITIVE_X_SHORT_VECTOR);
                y += delta(yData, f, Y_SHORT_VECTOR, Y_IS_SAME_OR_POSITIVE_Y_SHORT_VECTOR);
                if (x < -32768 || x > 32767 || y < -32768 || y > 32767)
                    return fail(TrueTypeReader::tr("%1 has coordinates beyond 16 bits").arg(which));
                *out++ = QPoint(x, y);
                left = std::min(left, x);
            }
            glyph->contours.append(std::move(contour));
            first = e + 1;
        }
        glyph->leftSideBearing = left;
        return true;
    }

    // The bytes a point's coordinate delta takes on one axis.
    static int deltaBytes(quint8 flag, quint8 shortVector, quint8 sameOrPositive)
    {
        return (flag & shortVector) ? 1 : (flag & sameOrPositive) ? 0 : 2;
    }
    // The delta itself, at data, which moves past it.
    static int delta(const uchar*& data, quint8 flag, quint8 shortVector, quint8 sameOrPositive)
    {
        if (flag & shortVector) {
            const int d = *data++;
            return (flag & sameOrPositive) ? d : -d;
        }
        if (flag & sameOrPositive)
            return 0;
        const int d = qint16(quint16(data[0]) << 8 | data[1]);
        data += 2;
        return d;
    }

    BigEndianReader m_file;
    std::map<quint32, BigEndianReader> m_tables;
    bool m_longLoca = false;
    quint32 m_numGlyphs = 0;
    quint32 m_numberOfHMetrics = 0;
    std::optional<CmapLookup> m_sjis;
    std::optional<CmapLookup> m_unicode;
    QStringList m_warnings;
    std::optional<DotGrid> m_grid;
    QString m_error;
};

} // namespace

std::unique_ptr<FontDocument> TrueTypeReader::read(QByteArrayView data, QString* error)
{
    Parser parser(data);
    std::unique_ptr<FontDocument> doc = parser.run();
    if (!doc && error)
        *error = parser.error();
    return doc;
}

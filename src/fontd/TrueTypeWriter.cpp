#include "fontd/TrueTypeWriter.h"

#include "fontd/BigEndianWriter.h"
#include "fontd/BitmapStrike.h"
#include "fontd/CmapSubtable.h"
#include "fontd/FontCodes.h"
#include "fontd/FontNaming.h"
#include "fontd/GlyphBuilder.h"
#include "fontd/TrueTypeFormat.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace {

using namespace TrueTypeFormat;

// Seconds from 1904-01-01 (TrueType's LONGDATETIME) to 1970-01-01.
constexpr qint64 SecondsFrom1904To1970 = 2082844800;

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

quint32 checksum(std::span<const uchar> table)
{
    quint32 sum = 0;
    size_t i = 0;
    for (; i + 4 <= table.size(); i += 4)
        sum += qFromBigEndian<quint32>(table.data() + i);
    if (i < table.size()) {
        uchar last[4] = {0, 0, 0, 0};
        std::copy(table.begin() + qsizetype(i), table.end(), last);
        sum += qFromBigEndian<quint32>(last);
    }
    return sum;
}

// A summary of many glyphs (an average, a least bearing) in a signed 16-bit field: computed
// wide, held at the field's ends.
qint16 clampedInt16(qint64 v)
{
    return qint16(std::clamp<qint64>(v, -32768, 32767));
}

qint64 padded4(qint64 n)
{
    return (n + 3) & ~qint64(3);
}

// The flag bits of one coordinate delta, and the bytes it takes added to bytes: none when it
// repeats the last value, one up to 255 with its sign in the flag, else two.
inline quint8 deltaFlag(int d, quint8 shortVector, quint8 sameOrPositive, qint64& bytes)
{
    if (d == 0)
        return sameOrPositive;
    if (d >= -255 && d <= 255) {
        bytes += 1;
        return shortVector | (d > 0 ? sameOrPositive : 0);
    }
    bytes += 2;
    return 0;
}

// A simple glyph in glyf form.  Its flags, packed with repeats, go to a store shared by all
// glyphs (one allocation for the font, not one per glyph); the coordinates are written from
// the contours.
struct GlyphEncoding
{
    const FontGlyph* glyph = nullptr;
    int points = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    size_t flagsBegin = 0, flagsEnd = 0;
    qint64 xBytes = 0;
    qint64 yBytes = 0;

    GlyphEncoding(const FontGlyph* g, std::vector<quint8>& flagStore)
        : glyph(g)
    {
        flagsBegin = flagStore.size();
        // Locals, not members: the flag bytes written in the loop could alias members and
        // force a reload of each after every byte.
        int n = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        qint64 xb = 0, yb = 0;
        QPoint last(0, 0);
        quint8 runFlag = 0;
        int run = 0; // points in the current run of one flag, written once it ends
        auto endRun = [&] {
            if (run >= 3) {
                flagStore.push_back(runFlag | REPEAT_FLAG);
                flagStore.push_back(quint8(run - 1));
            } else {
                flagStore.insert(flagStore.end(), size_t(run), runFlag);
            }
            run = 0;
        };
        for (const QPolygon& c : g->contours) {
            for (const QPoint& p : c) {
                if (n == 0) {
                    x0 = x1 = p.x();
                    y0 = y1 = p.y();
                } else {
                    x0 = std::min(x0, p.x());
                    x1 = std::max(x1, p.x());
                    y0 = std::min(y0, p.y());
                    y1 = std::max(y1, p.y());
                }
                ++n;
                const int dx = p.x() - last.x();
                const int dy = p.y() - last.y();
                last = p;
                const quint8 f =
                    ON_CURVE_POINT |
                    deltaFlag(dx, X_SHORT_VECTOR, X_IS_SAME_OR_POSITIVE_X_SHORT_VECTOR, xb) |
                    deltaFlag(dy, Y_SHORT_VECTOR, Y_IS_SAME_OR_POSITIVE_Y_SHORT_VECTOR, yb);
                // A flag that comes three times or more in a row is written once with a
                // repeat count (at most 255 repeats).
                if (run > 0 && (f != runFlag || run == 256))
                    endRun();
                runFlag = f;
                ++run;
            }
        }
        if (run > 0)
            endRun();
        flagsEnd = flagStore.size();
        points = n;
        xMin = x0;
        yMin = y0;
        xMax = x1;
        yMax = y1;
        xBytes = xb;
        yBytes = yb;
    }

    // The reason this glyph does not fit a TrueType simple glyph, or an empty string.
    QString fault() const
    {
        if (glyph->contours.size() > GlyphBuilder::MaxContours)
            return TrueTypeWriter::tr("%1 contours (at most %2)")
                .arg(glyph->contours.size())
                .arg(GlyphBuilder::MaxContours);
        if (points > GlyphBuilder::MaxPoints)
            return TrueTypeWriter::tr("%1 points (at most %2)")
                .arg(points)
                .arg(GlyphBuilder::MaxPoints);
        if (points > 0 &&
            (xMin < GlyphBuilder::MinCoordinate || yMin < GlyphBuilder::MinCoordinate ||
             xMax > GlyphBuilder::MaxCoordinate || yMax > GlyphBuilder::MaxCoordinate))
            return TrueTypeWriter::tr("coordinates beyond 16 bits");
        if (glyph->advanceWidth < 0 || glyph->advanceWidth > GlyphBuilder::MaxAdvance)
            return TrueTypeWriter::tr("advance width %1").arg(glyph->advanceWidth);
        return {};
    }

    qint64 size() const
    {
        if (points == 0)
            return 0;
        return 10 + 2 * qint64(glyph->contours.size()) + 2 + qint64(flagsEnd - flagsBegin) +
               xBytes + yBytes;
    }

    void write(BigEndianWriter& out, const std::vector<quint8>& flagStore) const
    {
        if (points == 0)
            return;
        out.putInt16BE(qint16(glyph->contours.size()));
        out.putInt16BE(qint16(xMin));
        out.putInt16BE(qint16(yMin));
        out.putInt16BE(qint16(xMax));
        out.putInt16BE(qint16(yMax));
        int end = -1;
        for (const QPolygon& c : glyph->contours) {
            end += int(c.size());
            out.putUInt16BE(quint16(end));
        }
        out.putUInt16BE(0); // instructionLength
        out.putBytes(std::span<const quint8>(flagStore.data() + flagsBegin, flagsEnd - flagsBegin));
        for (int axis = 0; axis < 2; ++axis) {
            int last = 0;
            for (const QPolygon& c : glyph->contours) {
                for (const QPoint& p : c) {
                    const int v = axis == 0 ? p.x() : p.y();
                    const int d = v - last;
                    last = v;
                    if (d == 0)
                        continue;
                    if (d >= -255 && d <= 255)
                        out.putUInt8(quint8(std::abs(d)));
                    else
                        out.putInt16BE(qint16(d));
                }
            }
        }
    }
};

// OS/2 Unicode range bits for the blocks code pages 1252 and 932 reach.
struct UnicodeRange
{
    char32_t first;
    char32_t last;
    int bit;
};
constexpr std::array<UnicodeRange, 33> unicodeRanges = {{
    {0x0000, 0x007F, 0},     {0x0080, 0x00FF, 1},  {0x0100, 0x017F, 2},  {0x0180, 0x024F, 3},
    {0x0250, 0x02AF, 4},     {0x02B0, 0x02FF, 5},  {0x0300, 0x036F, 6},  {0x0370, 0x03FF, 7},
    {0x0400, 0x052F, 9},     {0x2000, 0x206F, 31}, {0x2070, 0x209F, 32}, {0x20A0, 0x20CF, 33},
    {0x2100, 0x214F, 35},    {0x2150, 0x218F, 36}, {0x2190, 0x21FF, 37}, {0x2200, 0x22FF, 38},
    {0x2300, 0x23FF, 39},    {0x2460, 0x24FF, 42}, {0x2500, 0x257F, 43}, {0x2580, 0x259F, 44},
    {0x25A0, 0x25FF, 45},    {0x2600, 0x26FF, 46}, {0x3000, 0x303F, 48}, {0x3040, 0x309F, 49},
    {0x30A0, 0x30FF, 50},    {0x3200, 0x32FF, 54}, {0x3300, 0x33FF, 55}, {0x4E00, 0x9FFF, 59},
    {0xE000, 0xF8FF, 60},    {0xF900, 0xFAFF, 61}, {0xFE30, 0xFE4F, 65}, {0xFF00, 0xFFEF, 68},
    {0x10000, 0x10FFFF, 57},
}};

// A clockwise box and, where it leaves room, a counter-clockwise hole one step inside it.
QList<QPolygon> hollowBox(int left, int bottom, int right, int top, int step)
{
    QList<QPolygon> box{QPolygon(
        {QPoint(left, bottom), QPoint(left, top), QPoint(right, top), QPoint(right, bottom)})};
    if (right - left > 2 * step && top - bottom > 2 * step)
        box.append(
            QPolygon({QPoint(left + step, bottom + step), QPoint(right - step, bottom + step),
                      QPoint(right - step, top - step), QPoint(left + step, top - step)}));
    return box;
}

// The .notdef glyph: a hollow box; with a grid one of whole dots, one dot in from the glyph
// box's sides, as wide as the box advances (so a font read back tells its box width by it).
FontGlyph notdefGlyph(const std::optional<DotGrid>& grid)
{
    FontGlyph g;
    if (!grid) {
        g.contours = hollowBox(40, 0, 440, 800, 40);
        g.advanceWidth = 480;
        g.leftSideBearing = 40;
        return g;
    }
    const int d = grid->unitsPerDot();
    g.contours = hollowBox(d, grid->descender(), grid->boxWidth() - d, grid->ascender(), d);
    g.advanceWidth = grid->boxWidth();
    g.leftSideBearing = d;
    return g;
}

struct Table
{
    quint32 tag;
    qint64 length = 0;
    bool present = true;
    qint64 offset = 0;
};

// In the order of their tags, as the directory lists them.
enum TableIndex {
    EBDT,
    EBLC,
    OS2,
    CMAP,
    GASP,
    GLYF,
    HEAD,
    HHEA,
    HMTX,
    LOCA,
    MAXP,
    NAME,
    POST,
    TableCount
};

qint64 roundUp(qint64 v, qint64 step)
{
    return (v + step - 1) / step * step;
}

} // namespace

QByteArray TrueTypeWriter::write(const FontDocument& font, QString* error,
                                 const QDateTime& timestamp)
{
    const FontDocument::Kind kind = font.kind();
    const std::optional<DotGrid>& grid = font.dotGrid();
    const int unitsPerEm = font.unitsPerEm();
    const int d = grid ? grid->unitsPerDot() : 1;
    // Values of the 960-unit em at the font's em.
    const auto scaled = [unitsPerEm](int v) { return qint16(v * unitsPerEm / 960); };

    // Glyph order: .notdef, then the codes with a glyph, ascending; a font of whole dots that was
    // sent no space still has one.
    const FontGlyph notdef = notdefGlyph(grid);
    FontGlyph space;
    space.advanceWidth = font.emptyAdvance();
    std::vector<GlyphEncoding> glyphs;
    std::vector<int> codeOfGlyph;
    std::vector<quint8> flagStore;
    glyphs.reserve(font.glyphs().size() + 1);
    glyphs.emplace_back(&notdef, flagStore);
    codeOfGlyph.push_back(-1);
    if (grid && font.holds(32) && !font.glyph(32)) {
        glyphs.emplace_back(&space, flagStore);
        codeOfGlyph.push_back(32);
    }
    for (const auto& [code, glyph] : font.glyphs()) {
        if (!FontCodes::holds(kind, code)) {
            fail(error, TrueTypeWriter::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
            return {};
        }
        const GlyphEncoding& g = glyphs.emplace_back(&glyph, flagStore);
        if (const QString fault = g.fault(); !fault.isEmpty()) {
            fail(error, TrueTypeWriter::tr("the glyph of code 0x%1 does not fit TrueType: %2")
                            .arg(code, 0, 16)
                            .arg(fault));
            return {};
        }
        codeOfGlyph.push_back(code);
    }
    if (glyphs.size() > 65535) {
        fail(error, TrueTypeWriter::tr("%1 glyphs; a font holds at most 65535").arg(glyphs.size()));
        return {};
    }
    const int numGlyphs = int(glyphs.size());

    // Metrics over the glyphs with an outline.
    int maxPoints = 0, maxContours = 0, advanceMax = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int minLsb = 0, minRsb = 0, xMaxExtent = 0;
    bool anyBox = false;
    qint64 advanceSum = 0, advanceCount = 0;
    qint64 glyfLength = 0;
    for (const GlyphEncoding& g : glyphs) {
        maxPoints = std::max(maxPoints, g.points);
        maxContours = std::max(maxContours, int(g.glyph->contours.size()));
        advanceMax = std::max(advanceMax, g.glyph->advanceWidth);
        if (g.glyph->advanceWidth > 0) {
            advanceSum += g.glyph->advanceWidth;
            ++advanceCount;
        }
        glyfLength += padded4(g.size());
        if (g.points == 0)
            continue;
        const int rsb = g.glyph->advanceWidth - g.xMax;
        if (!anyBox) {
            xMin = g.xMin;
            yMin = g.yMin;
            xMax = g.xMax;
            yMax = g.yMax;
            minLsb = g.xMin;
            minRsb = rsb;
            xMaxExtent = g.xMax;
            anyBox = true;
            continue;
        }
        xMin = std::min(xMin, g.xMin);
        yMin = std::min(yMin, g.yMin);
        xMax = std::max(xMax, g.xMax);
        yMax = std::max(yMax, g.yMax);
        minLsb = std::min(minLsb, g.xMin);
        minRsb = std::min(minRsb, rsb);
        xMaxExtent = std::max(xMaxExtent, g.xMax);
    }
    const bool longLoca = glyfLength > 2 * 0xFFFF;
    // Whole dots with a grid, so that lines stand whole dots apart.
    const int winAscent =
        int(std::clamp<qint64>(roundUp(std::max(yMax, font.ascender()), d), 0, 0xFFFF));
    const int winDescent =
        int(std::clamp<qint64>(roundUp(std::max(-yMin, -font.descender()), d), 0, 0xFFFF));
    BitmapStrike::Tables strike;
    if (grid) {
        std::vector<const FontGlyph*> order;
        order.reserve(glyphs.size());
        for (const GlyphEncoding& g : glyphs)
            order.push_back(g.glyph);
        strike = BitmapStrike::build(order, *grid, winAscent / d, -winDescent / d);
    }

    // cmap: Unicode for every font; where several codes share a value the one Windows writes
    // wins, or else the lowest code that has a glyph.
    struct UnicodeEntry
    {
        char32_t unicode;
        bool preferred;
        int code;
        quint16 glyph;
    };
    std::vector<UnicodeEntry> unicodeEntries;
    std::vector<CmapSubtable::Mapping> sjis;
    quint32 unicodeRange[4] = {0, 0, 0, 0};
    for (int gid = 1; gid < numGlyphs; ++gid) {
        const int code = codeOfGlyph[size_t(gid)];
        const char32_t u = FontCodes::toUnicode(kind, code);
        if (u != 0) {
            unicodeEntries.push_back(
                {u, FontCodes::fromUnicode(kind, u) == code, code, quint16(gid)});
        }
        if (kind == FontDocument::Japanese)
            sjis.push_back({quint32(code), quint16(gid)});
    }
    std::sort(unicodeEntries.begin(), unicodeEntries.end(), [](const auto& a, const auto& b) {
        if (a.unicode != b.unicode)
            return a.unicode < b.unicode;
        if (a.preferred != b.preferred)
            return a.preferred;
        return a.code < b.code;
    });
    std::vector<CmapSubtable::Mapping> unicode;
    for (const UnicodeEntry& e : unicodeEntries) {
        if (!unicode.empty() && unicode.back().code == e.unicode)
            continue;
        unicode.push_back({quint32(e.unicode), e.glyph});
        for (const UnicodeRange& r : unicodeRanges) {
            if (e.unicode >= r.first && e.unicode <= r.last)
                unicodeRange[r.bit / 32] |= quint32(1) << (r.bit % 32);
        }
    }
    const quint16 firstChar =
        unicode.empty() ? 0 : quint16(std::min<quint32>(unicode.front().code, 0xFFFF));
    const quint16 lastChar =
        unicode.empty() ? 0 : quint16(std::min<quint32>(unicode.back().code, 0xFFFF));

    struct CmapRecord
    {
        quint16 platform;
        quint16 encoding;
        int subtable;
    };
    std::vector<CmapSubtable> subtables;
    std::vector<CmapRecord> records;
    if (std::optional<CmapSubtable> t = CmapSubtable::format4(unicode)) {
        subtables.push_back(std::move(*t));
        records.push_back({3, 1, 0});
    } else {
        subtables.push_back(CmapSubtable::format12(unicode));
        records.push_back({3, 1, 0});
    }
    if (kind == FontDocument::Japanese) {
        std::optional<CmapSubtable> t = CmapSubtable::format4(sjis);
        subtables.push_back(t ? std::move(*t) : CmapSubtable::format12(sjis));
        records.push_back({3, 2, int(subtables.size()) - 1});
    }
    if (subtables.front().format() == 12)
        records.push_back({3, 10, 0});
    qint64 cmapLength = 4 + 8 * qint64(records.size());
    std::vector<qint64> subtableOffsets;
    for (const CmapSubtable& t : subtables) {
        subtableOffsets.push_back(cmapLength);
        cmapLength += padded4(t.size());
    }

    // name: Windows platform, Unicode BMP, US English.
    const QDateTime when = timestamp.isValid() ? timestamp : QDateTime::currentDateTimeUtc();
    const FontNames& fontNames = font.names();
    const std::map<int, QString> names = FontNaming::records(fontNames);
    qint64 nameStorage = 0;
    for (const auto& [id, text] : names)
        nameStorage += 2 * qint64(text.size());
    const qint64 nameLength = 6 + 12 * qint64(names.size()) + nameStorage;

    std::array<Table, TableCount> tables = {{
        {tag("EBDT"), strike.ebdt.size(), !strike.ebdt.isEmpty()},
        {tag("EBLC"), strike.eblc.size(), !strike.eblc.isEmpty()},
        {tag("OS/2"), 96},
        {tag("cmap"), cmapLength},
        {tag("gasp"), 8, grid.has_value()},
        {tag("glyf"), glyfLength},
        {tag("head"), 54},
        {tag("hhea"), 36},
        {tag("hmtx"), 4 * qint64(numGlyphs)},
        {tag("loca"), (longLoca ? 4 : 2) * qint64(numGlyphs + 1)},
        {tag("maxp"), 32},
        {tag("name"), nameLength},
        {tag("post"), 32},
    }};
    const int tableCount =
        int(std::count_if(tables.begin(), tables.end(), [](const Table& t) { return t.present; }));
    qint64 offset = 12 + 16 * qint64(tableCount);
    for (Table& t : tables) {
        if (!t.present)
            continue;
        t.offset = offset;
        offset += padded4(t.length);
    }
    const qint64 fileSize = offset;
    if (fileSize > (qint64(1) << 31)) {
        fail(error, TrueTypeWriter::tr("the font would exceed 2 GiB"));
        return {};
    }

    QByteArray file(qsizetype(fileSize), '\0');
    auto* base = reinterpret_cast<uchar*>(file.data());
    auto region = [&](TableIndex i) {
        return BigEndianWriter(std::span<uchar>(base + tables[i].offset, size_t(tables[i].length)));
    };
    bool ok = true;
    auto finish = [&ok](const BigEndianWriter& w) { ok = ok && w.finishedExactly(); };

    {
        BigEndianWriter w = region(OS2);
        w.putUInt16BE(4); // version
        w.putInt16BE(
            clampedInt16(advanceCount ? (advanceSum + advanceCount / 2) / advanceCount : 0));
        w.putUInt16BE(FontNaming::weightClass(fontNames));
        w.putUInt16BE(5);          // usWidthClass: medium
        w.putUInt16BE(0);          // fsType: installable
        w.putInt16BE(scaled(624)); // ySubscriptXSize
        w.putInt16BE(scaled(576)); // ySubscriptYSize
        w.putInt16BE(0);           // ySubscriptXOffset
        w.putInt16BE(scaled(72));  // ySubscriptYOffset
        w.putInt16BE(scaled(624)); // ySuperscriptXSize
        w.putInt16BE(scaled(576)); // ySuperscriptYSize
        w.putInt16BE(0);           // ySuperscriptXOffset
        w.putInt16BE(scaled(336)); // ySuperscriptYOffset
        // One dot thick, a dot row near three tenths of the ascent.
        w.putInt16BE(grid ? qint16(d) : 48); // yStrikeoutSize
        w.putInt16BE(grid ? qint16((3 * grid->baselineRow() + 5) / 10 * d) : 240);
        w.putInt16BE(0); // sFamilyClass
        w.putZeros(10);  // panose: any
        for (quint32 r : unicodeRange)
            w.putUInt32BE(r);
        w.putBytes(std::span<const uchar>(reinterpret_cast<const uchar*>("PTLO"), 4));
        w.putUInt16BE(FontNaming::fsSelection(fontNames));
        w.putUInt16BE(firstChar);
        w.putUInt16BE(lastChar);
        w.putInt16BE(qint16(font.ascender()));  // sTypoAscender
        w.putInt16BE(qint16(font.descender())); // sTypoDescender
        w.putInt16BE(0);                        // sTypoLineGap
        w.putUInt16BE(quint16(winAscent));
        w.putUInt16BE(quint16(winDescent));
        w.putUInt32BE(kind == FontDocument::Western ? 1u << 0 : 1u << 17); // 1252 or 932
        w.putUInt32BE(0);
        w.putInt16BE(0);   // sxHeight: not known for drawn glyphs
        w.putInt16BE(0);   // sCapHeight
        w.putUInt16BE(0);  // usDefaultChar
        w.putUInt16BE(32); // usBreakChar
        w.putUInt16BE(0);  // usMaxContext: no layout tables
        finish(w);
    }
    if (tables[EBLC].present) {
        BigEndianWriter ebdt = region(EBDT);
        ebdt.putBytes(std::span<const uchar>(
            reinterpret_cast<const uchar*>(strike.ebdt.constData()), size_t(strike.ebdt.size())));
        finish(ebdt);
        BigEndianWriter eblc = region(EBLC);
        eblc.putBytes(std::span<const uchar>(
            reinterpret_cast<const uchar*>(strike.eblc.constData()), size_t(strike.eblc.size())));
        finish(eblc);
    }
    if (tables[GASP].present) {
        // A pixel font: grid-fitted and never smoothed, at every size.
        BigEndianWriter gasp = region(GASP);
        gasp.putUInt16BE(1);               // version
        gasp.putUInt16BE(1);               // numRanges
        gasp.putUInt16BE(0xFFFF);          // rangeMaxPPEM
        gasp.putUInt16BE(0x0001 | 0x0004); // GASP_GRIDFIT | GASP_SYMMETRIC_GRIDFIT
        finish(gasp);
    }
    {
        BigEndianWriter w = region(CMAP);
        w.putUInt16BE(0); // version
        w.putUInt16BE(quint16(records.size()));
        for (const CmapRecord& r : records) {
            w.putUInt16BE(r.platform);
            w.putUInt16BE(r.encoding);
            w.putUInt32BE(quint32(subtableOffsets[size_t(r.subtable)]));
        }
        for (const CmapSubtable& t : subtables) {
            t.write(w);
            w.putZeros(padded4(t.size()) - t.size());
        }
        finish(w);
    }
    {
        BigEndianWriter glyf = region(GLYF);
        BigEndianWriter loca = region(LOCA);
        BigEndianWriter hmtx = region(HMTX);
        for (const GlyphEncoding& g : glyphs) {
            const qint64 at = glyf.position();
            if (longLoca)
                loca.putUInt32BE(quint32(at));
            else
                loca.putUInt16BE(quint16(at / 2));
            g.write(glyf, flagStore);
            glyf.putZeros(padded4(g.size()) - g.size());
            hmtx.putUInt16BE(quint16(g.glyph->advanceWidth));
            hmtx.putInt16BE(qint16(g.points ? g.xMin : 0));
        }
        if (longLoca)
            loca.putUInt32BE(quint32(glyf.position()));
        else
            loca.putUInt16BE(quint16(glyf.position() / 2));
        finish(glyf);
        finish(loca);
        finish(hmtx);
    }
    {
        const qint64 longDateTime = when.toSecsSinceEpoch() + SecondsFrom1904To1970;
        BigEndianWriter w = region(HEAD);
        w.putUInt32BE(0x00010000); // version 1.0
        w.putUInt32BE(FontNaming::fontRevision(fontNames.version));
        w.putUInt32BE(0);          // checkSumAdjustment, set last
        w.putUInt32BE(0x5F0F3CF5); // magicNumber
        // Baseline at y = 0, left side bearing at x = 0, integer scaling.
        w.putUInt16BE(0x000B);
        w.putUInt16BE(quint16(unitsPerEm));
        w.putInt64BE(longDateTime); // created
        w.putInt64BE(longDateTime); // modified
        w.putInt16BE(qint16(xMin));
        w.putInt16BE(qint16(yMin));
        w.putInt16BE(qint16(xMax));
        w.putInt16BE(qint16(yMax));
        w.putUInt16BE(FontNaming::macStyle(fontNames));
        w.putUInt16BE(grid ? quint16(grid->dotsY()) : 8); // lowestRecPPEM: the native size
        w.putInt16BE(2);                                  // fontDirectionHint
        w.putInt16BE(longLoca ? 1 : 0);
        w.putInt16BE(0); // glyphDataFormat
        finish(w);
    }
    {
        BigEndianWriter w = region(HHEA);
        w.putUInt32BE(0x00010000);
        // Line spacing that holds every glyph, the same as OS/2's Windows metrics.
        w.putInt16BE(clampedInt16(winAscent));
        w.putInt16BE(clampedInt16(-winDescent));
        w.putInt16BE(0); // lineGap
        w.putUInt16BE(quint16(advanceMax));
        w.putInt16BE(clampedInt16(minLsb));
        w.putInt16BE(clampedInt16(minRsb));
        w.putInt16BE(clampedInt16(xMaxExtent));
        w.putInt16BE(1);                   // caretSlopeRise
        w.putInt16BE(0);                   // caretSlopeRun
        w.putInt16BE(0);                   // caretOffset
        w.putZeros(8);                     // reserved
        w.putInt16BE(0);                   // metricDataFormat
        w.putUInt16BE(quint16(numGlyphs)); // numberOfHMetrics
        finish(w);
    }
    {
        BigEndianWriter w = region(MAXP);
        w.putUInt32BE(0x00010000);
        w.putUInt16BE(quint16(numGlyphs));
        w.putUInt16BE(quint16(maxPoints));
        w.putUInt16BE(quint16(maxContours));
        w.putUInt16BE(0); // maxCompositePoints
        w.putUInt16BE(0); // maxCompositeContours
        w.putUInt16BE(2); // maxZones
        w.putUInt16BE(0); // maxTwilightPoints
        w.putUInt16BE(0); // maxStorage
        w.putUInt16BE(0); // maxFunctionDefs
        w.putUInt16BE(0); // maxInstructionDefs
        w.putUInt16BE(0); // maxStackElements
        w.putUInt16BE(0); // maxSizeOfInstructions
        w.putUInt16BE(0); // maxComponentElements
        w.putUInt16BE(0); // maxComponentDepth
        finish(w);
    }
    {
        BigEndianWriter w = region(NAME);
        w.putUInt16BE(0); // format
        w.putUInt16BE(quint16(names.size()));
        w.putUInt16BE(quint16(6 + 12 * names.size())); // storage offset
        qint64 stringOffset = 0;
        for (const auto& [id, text] : names) {
            w.putUInt16BE(3);      // Windows
            w.putUInt16BE(1);      // Unicode BMP
            w.putUInt16BE(0x0409); // English (United States)
            w.putUInt16BE(quint16(id));
            w.putUInt16BE(quint16(2 * text.size()));
            w.putUInt16BE(quint16(stringOffset));
            stringOffset += 2 * text.size();
        }
        for (const auto& [id, text] : names) {
            for (QChar c : text)
                w.putUInt16BE(c.unicode());
        }
        finish(w);
    }
    {
        BigEndianWriter w = region(POST);
        w.putUInt32BE(0x00030000); // version 3.0: no glyph names
        w.putUInt32BE(0);          // italicAngle
        // One dot thick, its top a dot under the baseline where the descent leaves room.
        w.putInt16BE(grid ? qint16(font.descender() <= -2 * d ? -d : 0) : -96); // underlinePosition
        w.putInt16BE(grid ? qint16(d) : 48); // underlineThickness
        w.putUInt32BE(0);                    // isFixedPitch
        w.putZeros(16);                      // memory usage: unknown
        finish(w);
    }
    if (!ok) {
        fail(error, TrueTypeWriter::tr("internal error: a table did not fill its computed size"));
        return {};
    }

    // Directory: sfnt version, table count and the binary-search fields, then the records.
    int entrySelector = 0;
    while ((2 << entrySelector) <= tableCount)
        ++entrySelector;
    const int searchRange = 16 << entrySelector; // 16 * the largest power of two <= count
    BigEndianWriter dir(std::span<uchar>(base, 12 + 16 * size_t(tableCount)));
    dir.putUInt32BE(0x00010000);
    dir.putUInt16BE(quint16(tableCount));
    dir.putUInt16BE(quint16(searchRange));
    dir.putUInt16BE(quint16(entrySelector));
    dir.putUInt16BE(quint16(16 * tableCount - searchRange));
    for (const Table& t : tables) {
        if (!t.present)
            continue;
        dir.putUInt32BE(t.tag);
        dir.putUInt32BE(
            checksum(std::span<const uchar>(base + t.offset, size_t(padded4(t.length)))));
        dir.putUInt32BE(quint32(t.offset));
        dir.putUInt32BE(quint32(t.length));
    }
    if (!dir.finishedExactly()) {
        fail(error, TrueTypeWriter::tr("internal error: the table directory did not fit"));
        return {};
    }
    const quint32 adjustment =
        0xB1B0AFBA - checksum(std::span<const uchar>(base, size_t(fileSize)));
    qToBigEndian(adjustment, base + tables[HEAD].offset + 8);
    return file;
}

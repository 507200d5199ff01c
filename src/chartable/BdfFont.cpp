#include "chartable/BdfFont.h"

#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "chartable/WholeFile.h"
#include "codes/Cp1252.h"
#include "codes/Cp932.h"
#include "fontd/FontCodes.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <algorithm>
#include <array>
#include <limits>

namespace {

constexpr int Del = 127;

// The lines of a file one by one, without their line ends and surrounding blanks, counted
// from 1 for the messages.
class Lines
{
public:
    explicit Lines(QByteArrayView data)
        : m_data(data)
    {}

    bool next(QByteArrayView* line)
    {
        if (m_pos >= m_data.size())
            return false;
        qsizetype end = m_data.indexOf('\n', m_pos);
        if (end < 0)
            end = m_data.size();
        *line = m_data.sliced(m_pos, end - m_pos).trimmed();
        m_pos = end + 1;
        ++m_number;
        return true;
    }
    int number() const { return m_number; }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
    int m_number = 0;
};

QByteArrayView keyword(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    const qsizetype tab = line.indexOf('\t');
    qsizetype end = blank < 0 ? tab : (tab < 0 ? blank : std::min(blank, tab));
    return end < 0 ? line : line.first(end);
}

// The first count (at most 4) blank-separated words after the keyword as integers within
// -limit..limit, or nothing.
std::optional<std::array<int, 4>> integers(QByteArrayView line, int count, int limit)
{
    std::array<int, 4> values{};
    qsizetype i = keyword(line).size();
    for (int n = 0; n < count; ++n) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        bool ok = false;
        const qlonglong v = line.sliced(start, i - start).toLongLong(&ok);
        if (!ok || v < -limit || v > limit)
            return std::nullopt;
        values[size_t(n)] = int(v);
    }
    return values;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A property's value: a string's quotes taken off, a doubled quote inside made one.
QByteArray propertyValue(QByteArrayView line)
{
    QByteArrayView value = line.sliced(keyword(line).size()).trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        return value.sliced(1, value.size() - 2).toByteArray().replace("\"\"", "\"");
    return value.toByteArray();
}

// The code of a glyph's ENCODING in the table, or -1 when it has none there.
class CodeMap
{
public:
    CodeMap(const QByteArray& registry, BdfFont::Charset charset)
    {
        if (registry.toUpper() != "ISO10646")
            return;
        m_unicode = true;
        for (int code = BdfFont::FirstCode; code <= BdfFont::LastCode; ++code) {
            const char32_t u = charset == BdfFont::Charset::Cp932 ? Cp932::toUnicode(code)
                                                                  : Cp1252::toUnicode(code);
            if (u != 0)
                m_codes.insert(u, code);
        }
    }

    int code(int encoding) const
    {
        if (m_unicode)
            return encoding < 0 ? -1 : m_codes.value(char32_t(encoding), -1);
        return encoding >= BdfFont::FirstCode && encoding <= BdfFont::LastCode ? encoding : -1;
    }

private:
    bool m_unicode = false;
    QHash<char32_t, int> m_codes;
};

} // namespace

bool BdfFont::Glyph::dot(int x, int y) const
{
    const int stride = (box.width + 7) / 8;
    return uchar(rows[y * stride + x / 8]) & (0x80 >> (x % 8));
}

std::optional<BdfFont> BdfFont::read(const QString& path, Charset charset, QString* error)
{
    // A FIFO or a device would block the open or never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        if (error)
            *error = tr("not a regular file");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    // No more than the bound is read, whatever the size says.
    const QByteArray data = file.read(MaxFileBytes + 1);
    if (data.size() > MaxFileBytes) {
        if (error)
            *error = tr("the file is larger than %1 MB").arg(MaxFileBytes >> 20);
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return parse(data, charset, error);
}

std::optional<BdfFont> BdfFont::parse(QByteArrayView data, Charset charset, QString* error)
{
    return parse(data, charset, true, error);
}

std::optional<BdfFont::Box> BdfFont::check(QByteArrayView data, QString* error)
{
    const std::optional<BdfFont> font = parse(data, Charset::Cp1252, false, error);
    return font ? std::optional<Box>(font->m_box) : std::nullopt;
}

std::optional<BdfFont> BdfFont::parse(QByteArrayView data, Charset charset, bool keepGlyphs,
                                      QString* error)
{
    Lines lines(data);
    QByteArrayView line;
    const auto fail = [&](const QString& reason) -> std::optional<BdfFont> {
        if (error)
            *error =
                lines.number() > 0 ? tr("line %1: %2").arg(lines.number()).arg(reason) : reason;
        return std::nullopt;
    };
    const auto truncated = [&](const char* expected) -> std::optional<BdfFont> {
        if (error)
            *error = tr("the file ends after line %1, before %2")
                         .arg(lines.number())
                         .arg(QLatin1String(expected));
        return std::nullopt;
    };
    // FONTBOUNDINGBOX and BBX: a width and a height, then the offsets.
    const auto boxOf = [](QByteArrayView line) -> std::optional<Box> {
        const auto v = integers(line, 4, MaxOffset);
        if (!v || (*v)[0] < 0 || (*v)[0] > MaxSide || (*v)[1] < 0 || (*v)[1] > MaxSide)
            return std::nullopt;
        return Box{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    };
    const auto badBox = [](QByteArrayView word) {
        return tr("%1 needs a width and a height of 0 to %2 and two offsets of -%3 to %3")
            .arg(QString::fromLatin1(word))
            .arg(MaxSide)
            .arg(MaxOffset);
    };
    // The next line that is neither empty nor a comment.
    const auto nextLine = [&] {
        while (lines.next(&line)) {
            if (!line.isEmpty() && keyword(line) != "COMMENT")
                return true;
        }
        return false;
    };

    if (!nextLine() || keyword(line) != "STARTFONT")
        return fail(tr("not a BDF font (no STARTFONT)"));

    BdfFont font;
    bool haveBox = false;
    QByteArray registry;
    int declared = -1; // CHARS
    while (declared < 0) {
        if (!nextLine())
            return truncated("CHARS");
        const QByteArrayView word = keyword(line);
        if (word == "FONTBOUNDINGBOX") {
            const std::optional<Box> box = boxOf(line);
            if (!box)
                return fail(badBox(word));
            font.m_box = *box;
            haveBox = true;
        } else if (word == "STARTPROPERTIES") {
            const auto n = integers(line, 1, MaxGlyphs);
            if (!n || (*n)[0] < 0)
                return fail(tr("STARTPROPERTIES needs a count"));
            int count = 0;
            for (;;) {
                if (!nextLine())
                    return truncated("ENDPROPERTIES");
                if (keyword(line) == "ENDPROPERTIES")
                    break;
                if (keyword(line) == "CHARSET_REGISTRY")
                    registry = propertyValue(line);
                ++count;
            }
            if (count != (*n)[0])
                return fail(tr("STARTPROPERTIES says %1 properties, the file holds %2")
                                .arg((*n)[0])
                                .arg(count));
        } else if (word == "CHARS") {
            const auto n = integers(line, 1, std::numeric_limits<int>::max());
            if (!n || (*n)[0] < 0)
                return fail(tr("CHARS needs a count"));
            if ((*n)[0] > MaxGlyphs)
                return fail(tr("%1 glyphs are more than the %2 read").arg((*n)[0]).arg(MaxGlyphs));
            if (!haveBox)
                return fail(tr("no FONTBOUNDINGBOX before CHARS"));
            declared = (*n)[0];
        } else if (word == "ENDFONT" || word == "STARTCHAR") {
            return fail(tr("no CHARS before %1").arg(QString::fromLatin1(word)));
        }
        // Other global keywords (SIZE, FONT, METRICSSET, ...) do not change the table.
    }

    const CodeMap codes(registry, charset);
    int count = 0;
    for (;;) {
        if (!nextLine())
            return truncated("ENDFONT");
        if (keyword(line) == "ENDFONT")
            break;
        if (keyword(line) != "STARTCHAR")
            return fail(tr("STARTCHAR or ENDFONT expected"));
        if (++count > declared)
            return fail(tr("CHARS says %1 glyphs, the file holds more").arg(declared));

        std::optional<int> encoding;
        std::optional<Box> box;
        for (;;) {
            if (!nextLine())
                return truncated("BITMAP");
            const QByteArrayView word = keyword(line);
            if (word == "BITMAP")
                break;
            if (word == "ENDCHAR" || word == "STARTCHAR" || word == "ENDFONT")
                return fail(tr("BITMAP expected"));
            if (word == "ENCODING") {
                const auto v = integers(line, 1, std::numeric_limits<int>::max());
                if (!v)
                    return fail(tr("ENCODING needs a number"));
                encoding = (*v)[0];
            } else if (word == "BBX") {
                box = boxOf(line);
                if (!box)
                    return fail(badBox(word));
            }
        }
        if (!encoding)
            return fail(tr("a glyph without ENCODING"));
        if (!box)
            return fail(tr("a glyph without BBX"));

        // The rows are read and checked whether or not the glyph is kept.
        const int code = keepGlyphs ? codes.code(*encoding) : -1;
        const int stride = (box->width + 7) / 8;
        Glyph glyph;
        glyph.box = *box;
        if (code >= 0)
            glyph.rows = QByteArray(qsizetype(stride) * box->height, '\0');
        for (int y = 0; y < box->height; ++y) {
            // A row of a glyph zero dots wide may be an empty line.
            if (!lines.next(&line))
                return truncated("ENDCHAR");
            if (line.startsWith("ENDCHAR") && keyword(line) == "ENDCHAR")
                return fail(tr("BBX says %1 rows, BITMAP holds %2").arg(box->height).arg(y));
            if (line.size() < 2 * stride)
                return fail(tr("a BITMAP row narrower than its BBX"));
            for (qsizetype i = 0; i < line.size(); ++i) {
                if (hexDigit(line[i]) < 0)
                    return fail(tr("a BITMAP row that is not hexadecimal"));
            }
            for (int i = 0; code >= 0 && i < stride; ++i)
                glyph.rows[y * stride + i] =
                    char(hexDigit(line[2 * i]) << 4 | hexDigit(line[2 * i + 1]));
        }
        if (!nextLine())
            return truncated("ENDCHAR");
        if (keyword(line) != "ENDCHAR")
            return fail(tr("BBX says %1 rows, BITMAP holds more").arg(box->height));

        if (code >= 0)
            font.m_glyphs.insert(code, std::move(glyph));
    }
    if (count != declared)
        return fail(tr("CHARS says %1 glyphs, the file holds %2").arg(declared).arg(count));
    return font;
}

QSize BdfFont::glyphSize() const
{
    return QSize(std::clamp(m_box.width, MinDots, MaxDots),
                 std::clamp(m_box.height, MinDots, MaxDots));
}

int BdfFont::paint(QImage& table) const
{
    const QSize size = glyphSize();
    const int ascent = m_box.height + m_box.yOffset;
    int cut = 0;
    for (auto it = m_glyphs.cbegin(); it != m_glyphs.cend(); ++it) {
        const Glyph& g = it.value();
        const QPoint cell = CharTable::cellOrigin(it.key());
        CharTable::fillRect(table, QRect(cell, size), CharTable::ClearColour);
        // The glyph's top row, and its left column, in the cell.
        const int top = ascent - g.box.yOffset - g.box.height;
        const int left = g.box.xOffset - m_box.xOffset;
        bool lost = false;
        for (int y = 0; y < g.box.height; ++y) {
            for (int x = 0; x < g.box.width; ++x) {
                if (!g.dot(x, y))
                    continue;
                const QPoint at(left + x, top + y);
                if (at.x() < 0 || at.y() < 0 || at.x() >= size.width() || at.y() >= size.height())
                    lost = true;
                else
                    CharTable::setPixel(table, cell + at, CharTable::SetColour);
            }
        }
        cut += lost;
    }
    return cut;
}

int BdfFont::descent(int height)
{
    return height - (5 * height + 3) / 6;
}

QByteArray BdfFont::format(const GlyphStore& store, QSize glyphSize, const QString& family,
                           FontDocument::Kind kind, int* leftOut)
{
    const int w = std::clamp(glyphSize.width(), MinDots, MaxDots);
    const int h = std::clamp(glyphSize.height(), MinDots, MaxDots);
    const int down = descent(h);
    // An XLFD field holds no '-' and no wildcard, a property string no quote: they become
    // blanks ("my-font" is "my font").  Other printable ASCII stays, the rest goes.
    QByteArray name;
    for (const QChar c : family) {
        if (QStringLiteral("-*?,\"").contains(c))
            name += ' ';
        else if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            name += char(c.unicode());
    }
    name = name.simplified().left(64);
    if (name.isEmpty())
        name = "Pointillo";

    // The glyphs by code, each at its character.
    const bool western = kind == FontDocument::Western;
    QList<std::pair<int, char32_t>> glyphs;
    int duplicates = 0;
    for (int code = FirstCode; code <= LastCode; ++code) {
        const char32_t u = western ? Cp1252::toUnicode(code) : Cp932::toUnicode(code);
        if (code != Del && u != 0 && FontCodes::holds(kind, code))
            glyphs.append({code, u});
    }
    if (!western) {
        for (int code : store.codes(QSize(w, h))) {
            const char32_t u = Cp932::toUnicode(code);
            if (code <= LastCode || u == 0)
                continue;
            if (FontCodes::fromUnicode(kind, u) == code)
                glyphs.append({code, u});
            else
                ++duplicates;
        }
    }
    if (leftOut)
        *leftOut = duplicates;

    // At 72 dots per inch a point is a dot: the pixel and point sizes are the glyph height.
    const QByteArray cellBox =
        QByteArray::number(w) + ' ' + QByteArray::number(h) + " 0 " + QByteArray::number(-down);
    QByteArray out;
    const auto line = [&out](const QByteArray& text) { out += text + '\n'; };
    line("STARTFONT 2.1");
    line("FONT -Pointillo-" + name + "-Medium-R-Normal--" + QByteArray::number(h) + '-' +
         QByteArray::number(h * 10) + "-72-72-C-" + QByteArray::number(w * 10) + "-ISO10646-1");
    line("SIZE " + QByteArray::number(h) + " 72 72");
    line("FONTBOUNDINGBOX " + cellBox);
    const QList<std::pair<QByteArray, QByteArray>> properties{
        {"FOUNDRY", "\"Pointillo\""},
        {"FAMILY_NAME", '"' + name + '"'},
        {"WEIGHT_NAME", "\"Medium\""},
        {"SLANT", "\"R\""},
        {"SETWIDTH_NAME", "\"Normal\""},
        {"ADD_STYLE_NAME", "\"\""},
        {"PIXEL_SIZE", QByteArray::number(h)},
        {"POINT_SIZE", QByteArray::number(h * 10)},
        {"RESOLUTION_X", "72"},
        {"RESOLUTION_Y", "72"},
        {"SPACING", "\"C\""},
        {"AVERAGE_WIDTH", QByteArray::number(w * 10)},
        {"CHARSET_REGISTRY", "\"ISO10646\""},
        {"CHARSET_ENCODING", "\"1\""},
        {"FONT_ASCENT", QByteArray::number(h - down)},
        {"FONT_DESCENT", QByteArray::number(down)},
        {"DEFAULT_CHAR", QByteArray::number(FirstCode)},
    };
    line("STARTPROPERTIES " + QByteArray::number(properties.size()));
    for (const auto& [key, value] : properties)
        line(key + ' ' + value);
    line("ENDPROPERTIES");
    line("CHARS " + QByteArray::number(glyphs.size()));

    // Every glyph fills the cell: the font is of cell spacing, and reading it back gives the
    // same dots at the same place.
    const QByteArray swidth = "SWIDTH " + QByteArray::number((w * 1000 + h / 2) / h) + " 0";
    const QByteArray dwidth = "DWIDTH " + QByteArray::number(w) + " 0";
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const auto& [code, u] : glyphs) {
        line("STARTCHAR " + (code > LastCode ? QByteArray::number(code, 16).toUpper()
                                             : "char" + QByteArray::number(code)));
        line("ENCODING " + QByteArray::number(quint32(u)));
        line(swidth);
        line(dwidth);
        line("BBX " + cellBox);
        line("BITMAP");
        const QImage& page = store.page(GlyphStore::pageOf(code));
        const QPoint cell = GlyphStore::cellRect(code).topLeft();
        for (int y = 0; y < h; ++y) {
            const QRgb* pixels = reinterpret_cast<const QRgb*>(page.constScanLine(cell.y() + y));
            for (int x = 0; x < w; x += 4) {
                int nibble = 0;
                for (int i = 0; i < 4; ++i)
                    nibble |= (x + i < w && CharTable::isSetColour(pixels[cell.x() + x + i]))
                              << (3 - i);
                out += hex[nibble];
            }
            // Whole bytes: an odd number of digits gets a zero.
            if ((w + 3) / 4 % 2)
                out += '0';
            out += '\n';
        }
        line("ENDCHAR");
    }
    line("ENDFONT");
    return out;
}

bool BdfFont::write(const GlyphStore& store, QSize glyphSize, const QString& path,
                    FontDocument::Kind kind, QString* error, int* leftOut)
{
    return WholeFile::write(
        path, format(store, glyphSize, QFileInfo(path).completeBaseName(), kind, leftOut), error);
}

#include "chartable/FontReader.h"

#include "chartable/BdfFont.h"
#include "fontd/RegularFile.h"

#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_BITMAP_H
#include FT_FONT_FORMATS_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include <zlib.h>

namespace {

// FreeType's own words for its error codes, from its list.
const char* freeTypeMessage(FT_Error error)
{
#undef FTERRORS_H_
#define FT_ERROR_START_LIST switch (FT_ERROR_BASE(error)) {
#define FT_ERRORDEF(e, v, s)                                                                       \
    case v:                                                                                        \
        return s;
#define FT_ERROR_END_LIST }
#include FT_ERRORS_H
    return "unknown error";
}

// Every allocation FreeType makes for one font, counted against a limit: a file that claims
// huge boxes or millions of glyphs runs out of it instead of out of the machine's memory.
struct MemoryBudget
{
    // Room for the block's size before the block, aligned as malloc aligns.
    static constexpr size_t Header = alignof(std::max_align_t);

    size_t used = 0;
    size_t limit = 0;
    bool exceeded = false;

    static MemoryBudget& of(FT_Memory memory) { return *static_cast<MemoryBudget*>(memory->user); }

    static void* allocate(FT_Memory memory, long size)
    {
        MemoryBudget& b = of(memory);
        if (size <= 0 || size_t(size) > b.limit - b.used) {
            b.exceeded = size > 0;
            return nullptr;
        }
        auto* block = static_cast<char*>(std::malloc(Header + size_t(size)));
        if (!block)
            return nullptr;
        std::memcpy(block, &size, sizeof size);
        b.used += size_t(size);
        return block + Header;
    }

    static void release(FT_Memory memory, void* p)
    {
        if (!p)
            return;
        char* block = static_cast<char*>(p) - Header;
        long size = 0;
        std::memcpy(&size, block, sizeof size);
        of(memory).used -= size_t(size);
        std::free(block);
    }

    static void* reallocate(FT_Memory memory, long, long newSize, void* p)
    {
        if (!p)
            return allocate(memory, newSize);
        MemoryBudget& b = of(memory);
        char* block = static_cast<char*>(p) - Header;
        long size = 0;
        std::memcpy(&size, block, sizeof size);
        if (newSize <= 0 || (newSize > size && size_t(newSize - size) > b.limit - b.used)) {
            b.exceeded = newSize > 0;
            return nullptr;
        }
        auto* grown = static_cast<char*>(std::realloc(block, Header + size_t(newSize)));
        if (!grown)
            return nullptr;
        std::memcpy(grown, &newSize, sizeof newSize);
        b.used = b.used - size_t(size) + size_t(newSize);
        return grown + Header;
    }
};

bool isGzip(const QByteArray& data)
{
    return data.size() >= 2 && uchar(data[0]) == 0x1F && uchar(data[1]) == 0x8B;
}

// A BDF font starts with STARTFONT, after blank and COMMENT lines.
bool isBdf(QByteArrayView data)
{
    for (qsizetype i = 0; i < data.size();) {
        qsizetype end = data.indexOf('\n', i);
        if (end < 0)
            end = data.size();
        const QByteArrayView line = data.sliced(i, end - i).trimmed();
        if (line.startsWith("STARTFONT"))
            return true;
        if (!line.isEmpty() && !line.startsWith("COMMENT"))
            return false;
        i = end + 1;
    }
    return false;
}

bool isPcf(const QByteArray& data)
{
    return data.startsWith("\x01"
                           "fcp");
}

// The whole of a gzip file (every member of it), or nothing when it is damaged or unpacks to
// more than limit bytes.
std::optional<QByteArray> gunzip(const QByteArray& packed, qint64 limit, QString* error)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
        *error = FontReader::tr("the gzip data cannot be unpacked");
        return std::nullopt;
    }
    QByteArray out(std::min<qint64>(limit + 1, std::max<qint64>(4 * packed.size(), 1 << 16)),
                   Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    qint64 done = 0;
    int status = Z_OK;
    for (;;) {
        if (done == out.size()) {
            if (done > limit)
                break;
            out.resize(std::min<qint64>(limit + 1, 2 * out.size()));
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data() + done);
        z.avail_out = uInt(out.size() - done);
        status = inflate(&z, Z_NO_FLUSH);
        done = out.size() - z.avail_out;
        if (status == Z_STREAM_END) {
            // Another member may follow, as gzip writes concatenated files.
            if (z.avail_in < 2 || z.next_in[0] != 0x1F || z.next_in[1] != 0x8B)
                break;
            inflateReset(&z);
        } else if (status != Z_OK && !(status == Z_BUF_ERROR && z.avail_out == 0)) {
            break;
        }
    }
    const QString reason = z.msg ? QString::fromUtf8(z.msg) : QString();
    inflateEnd(&z);
    if (done > limit) {
        *error = FontReader::tr("the file unpacks to more than %1 MB").arg(limit >> 20);
        return std::nullopt;
    }
    if (status != Z_STREAM_END) {
        *error = status == Z_BUF_ERROR
                     ? FontReader::tr("the gzip data ends early")
                     : FontReader::tr("the gzip data is damaged (%1)").arg(reason);
        return std::nullopt;
    }
    out.truncate(done);
    return out;
}

int floorDots(FT_Pos v)
{
    return int(v >> 6);
}

int ceilDots(FT_Pos v)
{
    return int((v + 63) >> 6);
}

// Sets the dots of a bitmap of one bit (or of grey levels) per pixel in glyph, its top-left
// pixel at at, within size.  Returns true when set dots fell beyond size.
bool place(const FT_Bitmap& b, QPoint at, QSize size, FontReader::Glyph& glyph)
{
    if (b.rows == 0 || b.width == 0)
        return false;
    const bool mono = b.pixel_mode == FT_PIXEL_MODE_MONO;
    // The first row is where the pitch says: the last one in memory when it is negative.
    const uchar* first = b.buffer;
    if (b.pitch < 0)
        first -= qsizetype(b.pitch) * (int(b.rows) - 1);
    // A row of the cell with column x at bit 63 - x; the bits beyond the size are cut.
    const quint64 inside = ~quint64(0) << (64 - size.width());
    const int width = int(b.width);
    bool lost = false;
    for (int y = 0; y < int(b.rows); ++y) {
        const uchar* row = first + qsizetype(y) * b.pitch;
        quint64 dots = 0;
        // Eight pixels at a time, the first one the highest bit.
        for (int x = 0; x < width; x += 8) {
            uint eight = 0;
            if (mono) {
                eight = row[x >> 3] & (width - x < 8 ? 0xFF00 >> (width - x) & 0xFF : 0xFF);
            } else {
                for (int i = 0; i < 8 && x + i < width; ++i)
                    eight |= uint(2 * int(row[x + i]) >= int(b.num_grays)) << (7 - i);
            }
            if (eight == 0)
                continue;
            const int cx = at.x() + x;
            if (cx <= -8 || cx > 56) {
                lost = true;
                continue;
            }
            // Left of the cell: the first -cx pixels are cut, the others shift in.
            if (cx < 0 && (eight >> (8 + cx)) != 0)
                lost = true;
            dots |= quint64(eight) << (56 - cx);
        }
        const int cy = at.y() + y;
        if (dots & ~inside)
            lost = true;
        if (cy < 0 || cy >= size.height())
            lost |= dots != 0;
        else
            glyph.rows[size_t(cy)] |= quint32((dots & inside) >> 32);
    }
    return lost;
}

} // namespace

struct FontReader::Face
{
    MemoryBudget budget;
    FT_MemoryRec_ memory{};
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    QByteArray data; // FreeType reads the font from here
    FontRegistry registry = FontRegistry::bytes();
    QString format;
    QRect box;
    bool bitmapFont = false; // BDF or PCF
    int pixelSize = 0;

    explicit Face(qint64 memoryLimit)
    {
        budget.limit = size_t(memoryLimit);
        memory.user = &budget;
        memory.alloc = &MemoryBudget::allocate;
        memory.free = &MemoryBudget::release;
        memory.realloc = &MemoryBudget::reallocate;
    }
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_Library(library);
    }

    // Why FreeType failed, in words.
    QString reason(FT_Error e) const
    {
        if (budget.exceeded)
            return FontReader::tr("the font needs more than %1 of memory")
                .arg(QLocale::system().formattedDataSize(qint64(budget.limit)));
        return QString::fromLatin1(freeTypeMessage(e));
    }

    // Loads a glyph as a one-bit-deep bitmap (or a bitmap of grey levels), after a look at its
    // size.  Outlines are drawn as designed: FreeType's hinting, meant for text on screens,
    // moved dots of a pixel font that had no instructions at all.
    FT_Error load(FT_UInt index, QString* error) const
    {
        const FT_Int32 flags = FT_IS_SCALABLE(face) ? FT_LOAD_TARGET_MONO | FT_LOAD_NO_HINTING : 0;
        if (const FT_Error e = FT_Load_Glyph(face, index, flags)) {
            *error = reason(e);
            return e;
        }
        const FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_BBox b;
            FT_Outline_Get_CBox(&slot->outline, &b);
            if (ceilDots(b.xMax) - floorDots(b.xMin) > MaxSide ||
                ceilDots(b.yMax) - floorDots(b.yMin) > MaxSide) {
                *error = FontReader::tr("a glyph larger than %1 dots").arg(MaxSide);
                return FT_Err_Invalid_Glyph_Format;
            }
            if (const FT_Error e = FT_Render_Glyph(slot, FT_RENDER_MODE_MONO)) {
                *error = reason(e);
                return e;
            }
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP) {
            *error = QString::fromLatin1(freeTypeMessage(FT_Err_Invalid_Glyph_Format));
            return FT_Err_Invalid_Glyph_Format;
        }
        if (slot->bitmap.width > unsigned(MaxSide) || slot->bitmap.rows > unsigned(MaxSide)) {
            *error = FontReader::tr("a glyph larger than %1 dots").arg(MaxSide);
            return FT_Err_Invalid_Glyph_Format;
        }
        return FT_Err_Ok;
    }

    // The union of every glyph's box, for a font that names none.
    bool unionOfGlyphs(QString* error)
    {
        box = QRect();
        for (FT_Long i = 0; i < face->num_glyphs; ++i) {
            if (const FT_Error e = FT_Load_Glyph(face, FT_UInt(i), FT_LOAD_BITMAP_METRICS_ONLY)) {
                *error = reason(e);
                return false;
            }
            const FT_GlyphSlot slot = face->glyph;
            if (slot->bitmap.width > unsigned(MaxSide) || slot->bitmap.rows > unsigned(MaxSide)) {
                *error = FontReader::tr("a glyph larger than %1 dots").arg(MaxSide);
                return false;
            }
            if (slot->bitmap.width > 0 && slot->bitmap.rows > 0)
                box |= QRect(slot->bitmap_left, -slot->bitmap_top, int(slot->bitmap.width),
                             int(slot->bitmap.rows));
        }
        return true;
    }
};

FontReader::FontReader() = default;
FontReader::~FontReader() = default;

bool FontReader::open(const QString& path, int pixelSize, QString* error)
{
    QString reason;
    RegularFile file;
    if (!file.open(path, &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    if (file.size() > MaxFileBytes) {
        if (error)
            *error = tr("the file is larger than %1 MB").arg(MaxFileBytes >> 20);
        return false;
    }
    QByteArray data(file.size(), Qt::Uninitialized);
    if (!file.readAt(0, data.data(), data.size(), &reason)) {
        if (error)
            *error = reason;
        return false;
    }
    return openData(std::move(data), pixelSize, error);
}

bool FontReader::openData(QByteArray data, int pixelSize, QString* error)
{
    m_face.reset();
    QString reason;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (pixelSize != OwnSize && (pixelSize < 1 || pixelSize > MaxPixelSize))
        return fail(
            tr("a pixel size of %1 is not within 1 to %2").arg(pixelSize).arg(MaxPixelSize));
    if (isGzip(data)) {
        std::optional<QByteArray> unpacked = gunzip(data, MaxBitmapFileBytes, &reason);
        if (!unpacked)
            return fail(reason);
        data = std::move(*unpacked);
    }
    const bool bdf = isBdf(data);
    if ((bdf || isPcf(data)) && data.size() > MaxBitmapFileBytes)
        return fail(tr("the file is larger than %1 MB").arg(MaxBitmapFileBytes >> 20));

    auto f = std::make_unique<Face>(m_memoryLimit);
    // FreeType takes what it can of a damaged BDF font without a word: wrong counts, rows that
    // are not hexadecimal or are cut short, boxes beyond 16 bits.  The BDF reader refuses such a
    // font and names the line; FreeType then reads the font it has let through.  Its
    // FONTBOUNDINGBOX, which FreeType keeps to itself, is the font's box.
    const auto checkBdf = [&](const QByteArray& bytes) {
        const std::optional<BdfFont::Box> checked = BdfFont::check(bytes, &reason);
        if (!checked)
            return false;
        const BdfFont::Box& b = *checked;
        f->box = QRect(b.xOffset, -(b.height + b.yOffset), b.width, b.height);
        return true;
    };
    if (bdf && !checkBdf(data))
        return fail(reason);

    if (const FT_Error e = FT_New_Library(&f->memory, &f->library))
        return fail(f->reason(e));
    FT_Add_Default_Modules(f->library);
    f->data = std::move(data);
    if (const FT_Error e =
            FT_New_Memory_Face(f->library, reinterpret_cast<const FT_Byte*>(f->data.constData()),
                               FT_Long(f->data.size()), 0, &f->face)) {
        return fail(f->budget.exceeded
                        ? f->reason(e)
                        : tr("not a font that FreeType reads (%1)").arg(f->reason(e)));
    }
    FT_Face face = f->face;
    if (face->num_glyphs > MaxGlyphs)
        return fail(tr("%1 glyphs are more than the %2 read").arg(face->num_glyphs).arg(MaxGlyphs));
    f->format = QString::fromLatin1(FT_Get_Font_Format(face));
    f->bitmapFont = f->format == u"BDF" || f->format == u"PCF";
    // A BDF font that FreeType knew and the look at its start did not.
    if (f->format == u"BDF" && !bdf && !checkBdf(f->data))
        return fail(reason);

    if (f->bitmapFont) {
        const char* encoding = nullptr;
        const char* registry = nullptr;
        if (FT_Get_BDF_Charset_ID(face, &encoding, &registry) == 0 && registry && encoding) {
            const std::optional<FontRegistry> r = FontRegistry::fromXlfd(registry, encoding);
            if (!r)
                return fail(tr("the font's registry %1-%2 is none of those read (ISO8859-1, "
                               "ISO10646-1, JISX0201.1976-0, JISX0208.1983-0, JISX0208.1990-0)")
                                .arg(QString::fromLatin1(registry), QString::fromLatin1(encoding)));
            f->registry = *r;
        }
        if (!face->charmap && face->num_charmaps > 0)
            FT_Set_Charmap(face, face->charmaps[0]);
    } else if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
        f->registry = FontRegistry::unicode();
    } else if (FT_Select_Charmap(face, FT_ENCODING_SJIS) == 0) {
        f->registry = FontRegistry::shiftJis();
    } else {
        return fail(tr("the font has no Unicode or Shift_JIS character map"));
    }

    // The font's own size: its largest strike of at most MaxDots pixels, else its smallest.
    if (pixelSize == OwnSize) {
        QList<int> strikes;
        for (int i = 0; i < face->num_fixed_sizes; ++i)
            strikes.append(ceilDots(face->available_sizes[i].y_ppem));
        std::sort(strikes.begin(), strikes.end());
        const auto beyond = std::upper_bound(strikes.begin(), strikes.end(), MaxDots);
        pixelSize = strikes.isEmpty()           ? DefaultPixelSize
                    : beyond == strikes.begin() ? strikes.first()
                                                : *(beyond - 1);
    }
    f->pixelSize = pixelSize;

    if (FT_IS_SCALABLE(face)) {
        if (const FT_Error e = FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)))
            return fail(f->reason(e));
        const FT_Size_Metrics& m = face->size->metrics;
        const int left = floorDots(FT_MulFix(face->bbox.xMin, m.x_scale));
        const int right = ceilDots(FT_MulFix(face->bbox.xMax, m.x_scale));
        const int top = ceilDots(FT_MulFix(face->bbox.yMax, m.y_scale));
        const int bottom = floorDots(FT_MulFix(face->bbox.yMin, m.y_scale));
        f->box = QRect(left, -top, right - left, top - bottom);
    } else {
        // A bitmap font in sfnt form may hold several strikes: the one of the pixel size.
        int strike = f->bitmapFont ? 0 : -1;
        if (f->bitmapFont && face->num_fixed_sizes > 0)
            f->pixelSize = ceilDots(face->available_sizes[0].y_ppem);
        QStringList sizes;
        for (int i = 0; strike < 0 && i < face->num_fixed_sizes; ++i) {
            const int ppem = ceilDots(face->available_sizes[i].y_ppem);
            if (ppem == pixelSize)
                strike = i;
            sizes.append(QString::number(ppem));
        }
        if (strike < 0)
            return fail(tr("the font has bitmaps of %1 pixels only").arg(sizes.join(u", ")));
        if (const FT_Error e = FT_Select_Size(face, strike))
            return fail(f->reason(e));
        if (f->format != u"BDF" && !f->unionOfGlyphs(&reason))
            return fail(reason);
    }
    m_face = std::move(f);
    return true;
}

QString FontReader::format() const
{
    return m_face ? m_face->format : QString();
}

FontRegistry FontReader::registry() const
{
    return m_face ? m_face->registry : FontRegistry::bytes();
}

bool FontReader::scalable() const
{
    return m_face && FT_IS_SCALABLE(m_face->face);
}

QList<int> FontReader::strikeSizes() const
{
    QList<int> sizes;
    for (int i = 0; m_face && i < m_face->face->num_fixed_sizes; ++i)
        sizes.append(ceilDots(m_face->face->available_sizes[i].y_ppem));
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

int FontReader::pixelSize() const
{
    return m_face ? m_face->pixelSize : 0;
}

std::optional<FontReader::Font> FontReader::read(Kind kind, QString* error) const
{
    const auto fail = [error](const QString& why) -> std::optional<Font> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!m_face)
        return fail(tr("no font is open"));
    const Face& f = *m_face;

    Font font;
    font.kind = kind;
    font.box = f.box;
    font.glyphSize = QSize(std::clamp(f.box.width(), MinDots, MaxDots),
                           std::clamp(f.box.height(), MinDots, MaxDots));
    font.baseline = -f.box.top();

    FT_UInt index = 0;
    for (FT_ULong point = FT_Get_First_Char(f.face, &index); index != 0;
         point = FT_Get_Next_Char(f.face, point, &index)) {
        const int code = f.registry.code(kind, quint32(point));
        if (code < 0) {
            ++font.unheld;
            continue;
        }
        QString reason;
        if (f.load(index, &reason) != FT_Err_Ok)
            return fail(tr("code point %1: %2").arg(point, 4, 16, QLatin1Char('0')).arg(reason));

        const FT_GlyphSlot slot = f.face->glyph;
        FT_Bitmap grey;
        FT_Bitmap_Init(&grey);
        const FT_Bitmap* b = &slot->bitmap;
        if (b->pixel_mode != FT_PIXEL_MODE_MONO) {
            if (const FT_Error e = FT_Bitmap_Convert(f.library, b, &grey, 1)) {
                FT_Bitmap_Done(f.library, &grey);
                return fail(
                    tr("code point %1: %2").arg(point, 4, 16, QLatin1Char('0')).arg(f.reason(e)));
            }
            b = &grey;
        }
        // Where the bitmap's top-left dot lands in the cell.
        Glyph glyph;
        glyph.code = code;
        const bool lost =
            place(*b, QPoint(slot->bitmap_left - f.box.left(), -slot->bitmap_top - f.box.top()),
                  font.glyphSize, glyph);
        FT_Bitmap_Done(f.library, &grey);
        glyph.cut = lost;
        font.cut += lost;
        font.glyphs.push_back(glyph);
    }
    // Code points come in order, and most registries keep it.
    const auto byCode = [](const Glyph& a, const Glyph& b) { return a.code < b.code; };
    if (!std::is_sorted(font.glyphs.begin(), font.glyphs.end(), byCode))
        std::stable_sort(font.glyphs.begin(), font.glyphs.end(), byCode);
    font.glyphs.erase(std::unique(font.glyphs.begin(), font.glyphs.end(),
                                  [](const Glyph& a, const Glyph& b) { return a.code == b.code; }),
                      font.glyphs.end());
    return font;
}

std::optional<FontReader::Font> FontReader::read(const QString& path, int pixelSize, Kind fallback,
                                                 QString* error)
{
    FontReader reader;
    if (!reader.open(path, pixelSize, error))
        return std::nullopt;
    return reader.read(reader.impliedKind().value_or(fallback), error);
}

#include "common/FontCheck.h"

#include "codes/Cp932.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BITMAP_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_SFNT_NAMES_H

namespace {

// pointillo-fontd's mapping of canvas pixels to font units.
constexpr double UnitsPerPixel = 2.0;

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

struct LibraryDeleter
{
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceDeleter
{
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};

// A face with the glyph of one code chosen.
class LoadedFace
{
public:
    // The face alone, no character map chosen.
    bool open(const QString& path, QString* error)
    {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib))
            return fail(error, QStringLiteral("FreeType does not start"));
        m_library.reset(lib);
        FT_Face face = nullptr;
        if (const FT_Error e = FT_New_Face(lib, QFile::encodeName(path).constData(), 0, &face))
            return fail(error,
                        QStringLiteral("FreeType cannot load %1 (error %2)").arg(path).arg(e));
        m_face.reset(face);
        return true;
    }

    bool load(const QString& path, int code, FontCheck::CharMap map, QString* error)
    {
        if (!open(path, error))
            return false;
        FT_Face face = m_face.get();
        FT_CharMap sjis = nullptr, unicode = nullptr;
        for (int i = 0; i < face->num_charmaps; ++i) {
            FT_CharMap c = face->charmaps[i];
            if (c->platform_id == 3 && c->encoding_id == 2)
                sjis = c;
            if (c->platform_id == 3 && (c->encoding_id == 1 || c->encoding_id == 10) &&
                (!unicode || c->encoding_id == 10))
                unicode = c;
        }
        if (map == FontCheck::CharMap::Auto)
            map = sjis ? FontCheck::CharMap::ShiftJis : FontCheck::CharMap::Unicode1252;
        FT_ULong charCode = 0;
        FT_CharMap chosen = nullptr;
        switch (map) {
        case FontCheck::CharMap::ShiftJis:
            chosen = sjis;
            charCode = FT_ULong(code);
            break;
        case FontCheck::CharMap::Unicode932:
            chosen = unicode;
            charCode = Cp932::toUnicode(code);
            break;
        default: {
            chosen = unicode;
            const char byte = char(code);
            QStringDecoder decoder("windows-1252");
            const QString text =
                code >= 0 && code < 256 ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
            charCode = text.isEmpty() ? 0 : text[0].unicode();
            break;
        }
        }
        if (!chosen)
            return fail(error, QStringLiteral("%1 has no %2 character map")
                                   .arg(path, map == FontCheck::CharMap::ShiftJis
                                                  ? QStringLiteral("(3,2) Shift_JIS")
                                                  : QStringLiteral("(3,1) Unicode")));
        if (charCode == 0)
            return fail(error, QStringLiteral("code 0x%1 has no character").arg(code, 0, 16));
        FT_Set_Charmap(face, chosen);
        m_glyph = FT_Get_Char_Index(face, charCode);
        return true;
    }

    FT_Library library() const { return m_library.get(); }
    FT_Face face() const { return m_face.get(); }
    FT_UInt glyph() const { return m_glyph; }

private:
    // The face goes before the library.
    std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter> m_library;
    std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter> m_face;
    FT_UInt m_glyph = 0;
};

QByteArray sfntTable(FT_Face face, FT_ULong tag)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) || length == 0 || length > (64u << 20))
        return {};
    QByteArray data(qsizetype(length), '\0');
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(data.data()), &length))
        return {};
    return data;
}

// A bitmap font at its first strike, with a character map chosen.
bool openBitmapFace(LoadedFace& f, const QString& path, QString* error)
{
    if (!f.open(path, error))
        return false;
    FT_Face face = f.face();
    if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0))
        return fail(error, QStringLiteral("%1 has no bitmap strike").arg(path));
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);
    return true;
}

} // namespace

QList<QString> FontCheck::bitmapCell(const QString& path, int code, QPoint origin, QSize cell,
                                     QString* error)
{
    LoadedFace f;
    if (!openBitmapFace(f, path, error))
        return {};
    const FT_UInt index = FT_Get_Char_Index(f.face(), FT_ULong(code));
    if (index == 0 || FT_Load_Glyph(f.face(), index, FT_LOAD_DEFAULT) ||
        f.face()->glyph->format != FT_GLYPH_FORMAT_BITMAP ||
        f.face()->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        fail(error, QStringLiteral("no one-bit glyph for code %1").arg(code));
        return {};
    }
    const FT_GlyphSlot slot = f.face()->glyph;
    const FT_Bitmap& b = slot->bitmap;
    QList<QString> rows;
    for (int y = 0; y < cell.height(); ++y) {
        QString row(cell.width(), u'.');
        // The bitmap's row and column under the cell's dot.
        const int i = slot->bitmap_top - origin.y() + y;
        for (int x = 0; x < cell.width(); ++x) {
            const int j = origin.x() + x - slot->bitmap_left;
            if (i >= 0 && j >= 0 && i < int(b.rows) && j < int(b.width) &&
                (b.buffer[i * b.pitch + j / 8] & (0x80 >> (j % 8))))
                row[x] = u'#';
        }
        rows.append(row);
    }
    return rows;
}

QString FontCheck::bitmapFace(const QString& path, QString* error)
{
    LoadedFace f;
    if (!openBitmapFace(f, path, error))
        return {};
    return QStringLiteral("%1 %2 px")
        .arg(QString::fromUtf8(f.face()->family_name))
        .arg(f.face()->available_sizes[0].y_ppem / 64);
}

QList<QString> FontCheck::rasterDots(const QString& path, int code, double originX, double originY,
                                     double pitchX, double pitchY, int dotsX, int dotsY,
                                     QString* error, CharMap map, QPoint canvasOrigin)
{
    if (dotsX <= 0 || dotsY <= 0 || dotsX > 4096 || dotsY > 4096 || pitchX <= 0 || pitchY <= 0) {
        fail(error, QStringLiteral("bad raster geometry"));
        return {};
    }
    LoadedFace f;
    if (!f.load(path, code, map, error))
        return {};
    if (f.glyph() == 0) {
        fail(error, QStringLiteral("the font has no glyph for code 0x%1").arg(code, 0, 16));
        return {};
    }
    if (const FT_Error e = FT_Load_Glyph(
            f.face(), f.glyph(), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) {
        fail(error,
             QStringLiteral("FreeType cannot load glyph %1 (error %2)").arg(f.glyph()).arg(e));
        return {};
    }
    const FT_GlyphSlot slot = f.face()->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        fail(error, QStringLiteral("glyph %1 is not an outline").arg(f.glyph()));
        return {};
    }

    const int pitch = (dotsX + 31) / 32 * 4;
    std::vector<unsigned char> buffer(size_t(pitch) * size_t(dotsY), 0);
    const FT_Outline& source = slot->outline;
    if (source.n_points > 0) {
        FT_Outline outline;
        if (FT_Outline_New(f.library(), FT_UInt(source.n_points), source.n_contours, &outline)) {
            fail(error, QStringLiteral("FreeType cannot copy the outline"));
            return {};
        }
        FT_Outline_Copy(&source, &outline);
        // Font units -> canvas pixels -> dots, with dot (i, j)'s point at the centre of the
        // bitmap's pixel (i, j); the bitmap's y axis points up from its bottom row.
        for (int i = 0; i < outline.n_points; ++i) {
            const double px = canvasOrigin.x() + double(outline.points[i].x) / UnitsPerPixel;
            const double py = canvasOrigin.y() - double(outline.points[i].y) / UnitsPerPixel;
            const double u = (px - originX) / pitchX + 0.5;
            const double v = dotsY - ((py - originY) / pitchY + 0.5);
            outline.points[i].x = FT_Pos(std::lround(u * 64));
            outline.points[i].y = FT_Pos(std::lround(v * 64));
        }
        outline.flags |= FT_OUTLINE_IGNORE_DROPOUTS;
        FT_Bitmap bitmap;
        FT_Bitmap_Init(&bitmap);
        bitmap.rows = unsigned(dotsY);
        bitmap.width = unsigned(dotsX);
        bitmap.pitch = pitch;
        bitmap.buffer = buffer.data();
        bitmap.pixel_mode = FT_PIXEL_MODE_MONO;
        bitmap.num_grays = 2;
        const FT_Error e = FT_Outline_Get_Bitmap(f.library(), &outline, &bitmap);
        FT_Outline_Done(f.library(), &outline);
        if (e) {
            fail(error, QStringLiteral("FreeType cannot rasterise glyph %1 (error %2)")
                            .arg(f.glyph())
                            .arg(e));
            return {};
        }
    }
    QList<QString> rows;
    rows.reserve(dotsY);
    for (int y = 0; y < dotsY; ++y) {
        QString row(dotsX, u'.');
        const unsigned char* line = buffer.data() + size_t(y) * size_t(pitch);
        for (int x = 0; x < dotsX; ++x) {
            if (line[x / 8] & (0x80 >> (x % 8)))
                row[x] = u'#';
        }
        rows.append(row);
    }
    return rows;
}

QList<QString> FontCheck::rasterPixels(const QString& path, int code, int width, int height,
                                       QString* error, CharMap map, QPoint canvasOrigin)
{
    return rasterDots(path, code, 0.5, 0.5, 1.0, 1.0, width, height, error, map, canvasOrigin);
}

QString FontCheck::crispFault(const QString& path, const QMap<int, int>& dots, int ppem)
{
    // Each glyph as FreeType renders it: '#' full, '.' clear, '+' grey, with its placement.
    const auto render = [&](int code, int size, FT_Int32 flags, QPoint* at, QString* error) {
        LoadedFace f;
        QList<QString> rows;
        if (!f.load(path, code, CharMap::Auto, error))
            return rows;
        FT_GlyphSlot slot = f.face()->glyph;
        if (FT_Set_Pixel_Sizes(f.face(), 0, FT_UInt(size)) ||
            FT_Load_Glyph(f.face(), f.glyph(), flags) ||
            (slot->format == FT_GLYPH_FORMAT_OUTLINE &&
             FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL))) {
            fail(error, QStringLiteral("FreeType cannot draw code 0x%1").arg(code, 0, 16));
            return rows;
        }
        const FT_Bitmap& b = slot->bitmap;
        const bool mono = b.pixel_mode == FT_PIXEL_MODE_MONO;
        for (unsigned y = 0; y < b.rows; ++y) {
            QString row(int(b.width), u'.');
            for (unsigned x = 0; x < b.width; ++x) {
                const unsigned char* line = b.buffer + qsizetype(y) * b.pitch;
                const int v = mono ? ((line[x / 8] >> (7 - x % 8)) & 1) * 255 : line[x];
                row[x] = v == 255 ? u'#' : v == 0 ? u'.' : u'+';
            }
            rows.append(row);
        }
        *at = QPoint(slot->bitmap_left, slot->bitmap_top);
        if (flags == FT_LOAD_DEFAULT && slot->format != FT_GLYPH_FORMAT_BITMAP && !rows.isEmpty())
            fail(error,
                 QStringLiteral("code 0x%1 has no bitmap at %2 px").arg(code, 0, 16).arg(size));
        return rows;
    };
    for (auto it = dots.begin(); it != dots.end(); ++it) {
        for (int k = 1; k <= 3; ++k) {
            QPoint at, strikeAt;
            QString error;
            const QList<QString> rows =
                render(it.key(), k * ppem, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP, &at, &error);
            const QString all = rows.join(QString());
            if (!error.isEmpty() || all.contains(u'+') || all.count(u'#') != it.value() * k * k)
                return QStringLiteral("code 0x%1 at %2 px: %3 full pixels for %4 dots%5 %6")
                    .arg(it.key(), 0, 16)
                    .arg(k * ppem)
                    .arg(all.count(u'#'))
                    .arg(it.value())
                    .arg(all.contains(u'+') ? QStringLiteral(", grey ones") : QString(), error);
            if (k > 1)
                continue;
            const QList<QString> strike =
                render(it.key(), ppem, FT_LOAD_DEFAULT, &strikeAt, &error);
            if (!error.isEmpty() || strike != rows || (!rows.isEmpty() && strikeAt != at))
                return QStringLiteral("code 0x%1: the bitmap strike is not the outline's pixels "
                                      "%2")
                    .arg(it.key(), 0, 16)
                    .arg(error);
        }
    }
    return {};
}

QString FontCheck::greyInLine(const QString& path, const QString& text, int size)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("hb-view"));
    if (program.isEmpty())
        return QStringLiteral("hb-view is not installed (Debian: libharfbuzz-bin)");
    const QString png = path + QStringLiteral(".line.png");
    QProcess hb;
    hb.start(program, {QStringLiteral("--font-size=%1").arg(size), QStringLiteral("-O"),
                       QStringLiteral("png"), QStringLiteral("-o"), png, path, text});
    if (!hb.waitForFinished(60000) || hb.exitCode() != 0)
        return QStringLiteral("hb-view fails: %1")
            .arg(QString::fromLocal8Bit(hb.readAllStandardError()));
    const QImage line = QImage(png).convertToFormat(QImage::Format_RGB32);
    QFile::remove(png);
    if (line.isNull())
        return QStringLiteral("hb-view wrote no picture");
    int black = 0;
    for (int y = 0; y < line.height(); ++y) {
        for (int x = 0; x < line.width(); ++x) {
            const QRgb c = line.pixel(x, y);
            black += c == qRgb(0, 0, 0);
            if (c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255))
                return QStringLiteral("grey at (%1, %2) of the line").arg(x).arg(y);
        }
    }
    return black > 0 ? QString() : QStringLiteral("nothing drawn");
}

QString FontCheck::firstDifference(const QList<QString>& actual, const QList<QString>& expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("%1 rows instead of %2").arg(actual.size()).arg(expected.size());
    for (qsizetype y = 0; y < actual.size(); ++y) {
        for (qsizetype x = 0; x < std::max(actual[y].size(), expected[y].size()); ++x) {
            const QChar a = x < actual[y].size() ? actual[y][x] : QLatin1Char(' ');
            const QChar e = x < expected[y].size() ? expected[y][x] : QLatin1Char(' ');
            if (a != e)
                return QStringLiteral("pixel (%1, %2) is '%3', expected '%4'")
                    .arg(x)
                    .arg(y)
                    .arg(a)
                    .arg(e);
        }
    }
    return {};
}

int FontCheck::glyphIndex(const QString& path, int code, QString* error, CharMap map)
{
    LoadedFace f;
    if (!f.load(path, code, map, error))
        return -1;
    return int(f.glyph());
}

bool FontCheck::horizontalMetrics(const QString& path, int code, int* advanceWidth,
                                  int* leftSideBearing, QString* error, CharMap map)
{
    LoadedFace f;
    if (!f.load(path, code, map, error))
        return false;
    if (f.glyph() == 0)
        return fail(error, QStringLiteral("the font has no glyph for code 0x%1").arg(code, 0, 16));
    const QByteArray hhea = sfntTable(f.face(), TTAG_hhea);
    const QByteArray hmtx = sfntTable(f.face(), TTAG_hmtx);
    if (hhea.size() < 36 || hmtx.isEmpty())
        return fail(error, QStringLiteral("the font has no usable hhea or hmtx table"));
    const auto* h = reinterpret_cast<const uchar*>(hhea.constData());
    const qsizetype longMetrics = qFromBigEndian<quint16>(h + 34);
    const qsizetype g = f.glyph();
    const auto* m = reinterpret_cast<const uchar*>(hmtx.constData());
    const qsizetype advanceAt = 4 * std::min(g, longMetrics - 1);
    const qsizetype lsbAt = g < longMetrics ? 4 * g + 2 : 4 * longMetrics + 2 * (g - longMetrics);
    if (longMetrics == 0 || advanceAt + 2 > hmtx.size() || lsbAt + 2 > hmtx.size())
        return fail(error, QStringLiteral("the hmtx table is too short"));
    *advanceWidth = qFromBigEndian<quint16>(m + advanceAt);
    *leftSideBearing = qFromBigEndian<qint16>(m + lsbAt);
    return true;
}

QByteArray FontCheck::table(const QString& path, const char* tag, QString* error)
{
    LoadedFace f;
    if (!f.open(path, error))
        return {};
    const QByteArray data = sfntTable(f.face(), FT_MAKE_TAG(tag[0], tag[1], tag[2], tag[3]));
    if (data.isEmpty())
        fail(error, QStringLiteral("%1 has no %2 table").arg(path, QLatin1String(tag)));
    return data;
}

QMap<int, QString> FontCheck::names(const QString& path, QString* error)
{
    LoadedFace f;
    QMap<int, QString> names;
    if (!f.open(path, error))
        return names;
    for (FT_UInt i = 0; i < FT_Get_Sfnt_Name_Count(f.face()); ++i) {
        FT_SfntName n;
        if (FT_Get_Sfnt_Name(f.face(), i, &n) || n.platform_id != 3 || n.encoding_id != 1 ||
            n.language_id != 0x0409)
            continue;
        QString text;
        for (FT_UInt k = 0; k + 1 < n.string_len; k += 2)
            text += QChar(char16_t(n.string[k] << 8 | n.string[k + 1]));
        names.insert(n.name_id, text);
    }
    return names;
}

FontCheck::OtsResult FontCheck::otsSanitize(const QString& path, QString* output)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ots-sanitize"));
    if (program.isEmpty())
        return OtsResult::NotInstalled;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, {path});
    const bool finished = p.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
               ? OtsResult::Passed
               : OtsResult::Failed;
}

QString FontCheck::fontToolsPython()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        return {};
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QStringLiteral("import fontTools.ttLib")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return python;
}

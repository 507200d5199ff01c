#pragma once

#include "codes/FontRegistry.h"
#include "fontd/FontDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QRect>
#include <QSize>
#include <QString>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

// Outside fonts read into this program's codes through FreeType: X11 bitmap fonts (BDF, PCF),
// TrueType, OpenType, WOFF and WOFF2 fonts rasterized one bit per pixel at a pixel size the
// caller picks, any of them gzipped.
//
// Every glyph comes out on the font's common baseline, in a cell as large as the font's
// bounding box: the cell's top row is the box's top, its left column the box's left edge.  The
// box is the font's own: FONTBOUNDINGBOX of a BDF font, the head table's box of an outline
// font scaled to the pixel size, else the union of all its glyphs' boxes.
//
// Open a font, look at the kind it implies, then read its glyphs as codes of a kind.
class FontReader
{
    Q_DECLARE_TR_FUNCTIONS(FontReader)

public:
    using Kind = FontDocument::Kind;

    static constexpr int MinDots = 3;
    static constexpr int MaxDots = 32;

    // What is refused unread.  A bitmap font (and anything gzipped, once unpacked) beyond
    // MaxBitmapFileBytes, any other file beyond MaxFileBytes, more than MaxGlyphs glyphs, a glyph
    // more than MaxSide dots wide or high.  FreeType works within MaxMemoryBytes (see
    // setMemoryLimit), whatever a file claims.
    static constexpr qint64 MaxBitmapFileBytes = 16 * 1024 * 1024;
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    static constexpr int MaxGlyphs = 65536;
    static constexpr int MaxSide = 256;
    static constexpr qint64 MaxMemoryBytes = 256 * 1024 * 1024;
    static constexpr int MaxPixelSize = 2 * MaxDots;
    // The pixel size that asks open() for the font's own: a bitmap font's, a bitmap strike's
    // (the largest of at most MaxDots pixels, else the smallest), DefaultPixelSize for an
    // outline font without a strike.
    static constexpr int OwnSize = 0;
    static constexpr int DefaultPixelSize = 16;

    // One glyph of at most MaxDots x MaxDots dots: row y, column x is bit 31 - x of rows[y].
    struct Glyph
    {
        int code = 0;
        std::array<quint32, MaxDots> rows{};
        bool cut = false; // set dots fell beyond the glyph size

        bool dot(int x, int y) const { return rows[size_t(y)] >> (31 - x) & 1; }
        void set(int x, int y) { rows[size_t(y)] |= quint32(1) << (31 - x); }
    };

    struct Font
    {
        Kind kind = FontDocument::Western; // the kind whose codes the glyphs have
        // The box in dots, y down from the baseline: box.top() is minus the rows above it.
        QRect box;
        // The box's size, each side within MinDots..MaxDots.
        QSize glyphSize;
        // Rows of the cell above the baseline: it lies between rows baseline - 1 and baseline.
        int baseline = 0;
        // Ascending by code, one glyph a code; every glyph of a code kind holds, blank ones too.
        std::vector<Glyph> glyphs;
        // Glyphs with set dots beyond glyphSize, cut off.
        int cut = 0;
        // Glyphs of code points that kind holds no code for, passed over.
        int unheld = 0;
    };

    FontReader();
    ~FontReader();
    FontReader(const FontReader&) = delete;
    FontReader& operator=(const FontReader&) = delete;

    // Opens the font in a file.  pixelSize (1..MaxPixelSize, or OwnSize) is the size an outline
    // font is rasterized at and the strike taken from a bitmap font in sfnt form; a BDF or PCF
    // font has its one size.  Returns false, with the reason in error, when the file cannot be
    // read, is not a regular file (a FIFO or a device is never opened), is too large, or is not a
    // font FreeType reads whole; a BDF font is also checked line by line (see BdfFont::parse).  A
    // font whose registry is none of FontRegistry's, or an outline font without a Unicode or
    // Shift_JIS character map, is refused too.
    bool open(const QString& path, int pixelSize, QString* error = nullptr);
    // The same with the file's bytes.
    bool openData(QByteArray data, int pixelSize, QString* error = nullptr);

    // Of the open font: FreeType's name of its format ("BDF", "PCF", "TrueType", "CFF", ...),
    // its registry and the kind that implies.
    QString format() const;
    FontRegistry registry() const;
    // True when the glyphs are outlines, drawn at the pixel size; the sizes of the font's bitmap
    // strikes, ascending; the pixel size it was opened at.
    bool scalable() const;
    QList<int> strikeSizes() const;
    int pixelSize() const;
    std::optional<Kind> impliedKind() const { return registry().impliedKind(); }

    // Every glyph of the open font whose code point kind holds, as codes of kind.  Returns
    // nothing, with the reason in error, when a glyph cannot be loaded or is larger than
    // MaxSide, or FreeType would need more than MaxMemoryBytes.
    std::optional<Font> read(Kind kind, QString* error = nullptr) const;

    // The memory FreeType may take for the fonts opened from now on; MaxMemoryBytes at first.
    void setMemoryLimit(qint64 bytes) { m_memoryLimit = std::max<qint64>(0, bytes); }

    // open() then read() as the kind the font implies, else as fallback.
    static std::optional<Font> read(const QString& path, int pixelSize, Kind fallback,
                                    QString* error = nullptr);

private:
    struct Face;
    std::unique_ptr<Face> m_face;
    qint64 m_memoryLimit = MaxMemoryBytes;
};

#pragma once

#include "fontd/FontDocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QImage>
#include <QMap>
#include <QSize>
#include <QString>
#include <optional>

class GlyphStore;

// X11 bitmap fonts (BDF 2.1): the line-by-line check of a font that FontReader reads through
// FreeType, which takes damaged ones without a word, and the export of the glyph store.
//
// Read on its own, a glyph's ENCODING is the table's single-byte code: glyphs of codes 32..255
// are kept, the others read and passed over.  Only a Unicode font (CHARSET_REGISTRY
// "ISO10646") is mapped: its code points become codes by the charset the table is meant for.
//
// In the table a font's glyphs share one baseline: the glyph size is the font's bounding box
// (FONTBOUNDINGBOX), each side within 3..32 dots, the cell's top row lies on the box's top
// (its height plus its y offset above the baseline) and its left column on the box's x offset.
class BdfFont
{
    Q_DECLARE_TR_FUNCTIONS(BdfFont)

public:
    // What a single-byte code beyond ASCII means.  Cp1252: code page 1252, a Western font (the
    // euro sign at 0x80, Latin-1 from 0xA0); Latin1 is its former name.  Cp932: code page 932,
    // half-width katakana at 0xA1..0xDF, a Japanese font.
    enum class Charset { Cp1252, Latin1 = Cp1252, Cp932 };

    static constexpr int FirstCode = 32;
    static constexpr int LastCode = 255;
    static constexpr int MinDots = 3;
    static constexpr int MaxDots = 32;

    // What a file may hold before it is refused unread: a real font of 65536 glyphs of 16 x 16
    // dots takes about 6 MB.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    static constexpr int MaxGlyphs = 65536;
    static constexpr int MaxSide = 256;    // width and height of a box
    static constexpr int MaxOffset = 1024; // its offsets from the origin, either way

    // A box in BDF terms: its size and the offset of its lower-left corner from the origin,
    // y upwards.
    struct Box
    {
        int width = 0;
        int height = 0;
        int xOffset = 0;
        int yOffset = 0;
    };

    struct Glyph
    {
        Box box;         // BBX
        QByteArray rows; // the BITMAP rows, (width + 7) / 8 bytes each, the first bit leftmost
        bool dot(int x, int y) const;
    };

    // Reads a BDF font.  Returns nothing, with the reason in error, when the file cannot be
    // read, is not a regular file, is larger than MaxFileBytes, or is not a whole BDF font: no
    // STARTFONT or ENDFONT, no FONTBOUNDINGBOX before CHARS, more than MaxGlyphs glyphs, a count
    // (CHARS, STARTPROPERTIES, a BBX's rows) that the data does not match, a box beyond MaxSide or
    // MaxOffset, a BITMAP row that is not hexadecimal or narrower than its box.  charset maps
    // the code points of a Unicode font.
    static std::optional<BdfFont> read(const QString& path, Charset charset,
                                       QString* error = nullptr);
    static std::optional<BdfFont> parse(QByteArrayView data, Charset charset,
                                        QString* error = nullptr);
    // The same check of a whole font, keeping nothing of it but its FONTBOUNDINGBOX.
    static std::optional<Box> check(QByteArrayView data, QString* error = nullptr);

    // FONTBOUNDINGBOX.
    Box boundingBox() const { return m_box; }
    // The glyph size the table takes the font at: the bounding box, each side within
    // MinDots..MaxDots.
    QSize glyphSize() const;
    // The glyphs of codes FirstCode..LastCode by code; of two with one code the later one.
    const QMap<int, Glyph>& glyphs() const { return m_glyphs; }

    // Replaces the glyphSize() dots at the top left of each glyph's cell in table by the
    // glyph; the rest of those cells and every other cell stay.  Returns how many glyphs had
    // set dots that fell outside the glyph size and were cut.
    int paint(QImage& table) const;

    // The descent of an exported font of height dots: the editor's em has its baseline at row
    // 400 of 480, so the font's ascent is five sixths of the height, rounded.
    static int descent(int height);

    // The glyphs of store that a font of kind holds, at glyphSize, as a monospaced BDF font of
    // family with the properties an X server needs: every single-byte code of 32..255 but 127
    // (DEL), blank ones too, and every double-byte code whose glyph has a set dot.  The font is
    // a Unicode font (ISO10646-1), each glyph at its code's character in the kind's code page
    // (1252 for a Western font, so that no cell of 0x80..0x9F is taken for a control
    // character; 932 for a Japanese one).  Of the codes of one character (the NEC and IBM
    // duplicates of code page 932) the one Windows writes for it is written; leftOut, when
    // given, counts the others that have a set dot.
    static QByteArray format(const GlyphStore& store, QSize glyphSize, const QString& family,
                             FontDocument::Kind kind, int* leftOut = nullptr);
    // Writes format() to path, the family named after the file, through a temporary file that
    // then takes the name.  Returns false, with the reason in error, on failure; a former file
    // is then left as it was.
    static bool write(const GlyphStore& store, QSize glyphSize, const QString& path,
                      FontDocument::Kind kind, QString* error = nullptr, int* leftOut = nullptr);

private:
    static std::optional<BdfFont> parse(QByteArrayView data, Charset charset, bool keepGlyphs,
                                        QString* error);

    Box m_box;
    QMap<int, Glyph> m_glyphs;
};

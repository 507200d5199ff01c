#pragma once

#include "dots/DotBoxes.h"
#include "dots/DotGrid.h"
#include "dots/InkMask.h"
#include "fontd/AtomicFile.h"
#include "fontd/ContourTracer.h"
#include "fontd/FontNaming.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPolygon>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>

// One glyph in font units: closed orthogonal contours of on-curve points only, outer contours
// clockwise and holes counter-clockwise (TrueType), no two contours overlapping.
struct FontGlyph
{
    QList<QPolygon> contours;
    int advanceWidth = 0;
    int leftSideBearing = 0; // xMin of the contours, 0 for an empty glyph
};

// A font being built: which codes it can hold, the current code, the glyphs drawn so far and
// the file it lives in.  Plain rules, no D-Bus and no widgets: the server wraps it.
class FontDocument
{
    Q_DECLARE_TR_FUNCTIONS(FontDocument)

public:
    // The values NewFile receives as its first argument.
    enum Kind { Japanese = 0, Western = 1 };

    // How an imported image maps to font units without a dot grid: every pixel is
    // UnitsPerPixel units square, the image's left edge is x = 0 and its row BaselineRow lies on
    // the baseline.  A 480-pixel tall grid is then exactly one em high.  With a grid of square
    // dots the font is made of whole dots instead (see DotGrid).
    static constexpr int UnitsPerEm = DotGrid::UnitsPerEm;
    static constexpr int UnitsPerPixel = DotGrid::UnitsPerPixel;
    static constexpr int BaselineRow = DotGrid::CanvasBaseline;
    static constexpr int Ascender = BaselineRow * UnitsPerPixel;
    static constexpr int Descender = Ascender - UnitsPerEm;
    // The advance of an empty glyph without a grid: the export canvas's width.
    static constexpr int CanvasAdvance = DotBoxes::CanvasSide * UnitsPerPixel;

    explicit FontDocument(Kind kind);
    FontDocument(const FontDocument&) = delete;
    FontDocument& operator=(const FontDocument&) = delete;

    // The family name of a new font: "Pointillo Western" or "Pointillo Japanese".
    static QString defaultFamilyName(Kind kind);

    Kind kind() const { return m_kind; }

    // The grid of square dots the font is made of, or nothing (oblong dots, or never told):
    // imports and side bearings after it follow it, and the saved font has its whole-dot
    // metrics, a bitmap strike at its native size and a gasp table.  The glyphs already in
    // the font keep their outlines.  A change marks the font changed.
    const std::optional<DotGrid>& dotGrid() const { return m_grid; }
    void setDotGrid(const std::optional<DotGrid>& grid);
    // The font's vertical metrics in font units: the grid's, or 960, 800 and -160.
    int unitsPerEm() const;
    int ascender() const;
    int descender() const;
    // What an empty import advances: the grid's box, or the export canvas's width.
    int emptyAdvance() const;

    // The font's names (see FontNaming): the family, the style, the version and the copyright.
    const FontNames& names() const { return m_names; }
    // Takes the names as FontNaming::normalized gives them (an empty family stands for the
    // default one); marks the font changed when they differ.
    void setNames(const FontNames& names);
    QString familyName() const { return m_names.family; }
    void setFamilyName(const QString& name);
    // Whether the family was given: by setNames with another family, or by the font file the
    // font was read from.  An untitled font whose family was not given takes the name of the
    // file of its first saveAs ("MyPixel.ttf" gives "MyPixel"), so that fonts saved under
    // different names do not share a family once installed.
    bool familyGiven() const { return m_familyGiven; }

    // The codes this font can hold, ascending: 32..255 for a Western font, every code that code
    // page 932 defines from 0x20 up for a Japanese one.
    std::span<const int> codes() const;
    bool holds(int code) const;

    // The code the font holds after or before code; nothing at either end.
    std::optional<int> codeAfter(int code) const;
    std::optional<int> codeBefore(int code) const;

    // The document's own current code.  The members without a code act there; the server
    // keeps one for each of its clients besides and passes it to the members with a code.
    int currentCode() const { return m_current; }
    // Makes code current when the font can hold it; otherwise returns false and changes nothing.
    bool setCurrentCode(int code);
    // Step to the next or previous code the font holds; false (and no change) at either end.
    bool nextCode();
    bool previousCode();

    // selectAll marks the current glyph; deleteSelection then empties it (the glyph stays in the
    // font, with no contours).  Changing the current code drops the selection.
    void selectAll();
    void deleteSelection();
    // Empties the glyph of code, a code the font holds.
    void clearGlyph(int code);

    // Makes the ink of a BMP file the outline of the glyph of code (the current one when not
    // given), placed as the grid says; its advance width is the grid's box width, or without a
    // grid the image width.  Returns false with a reason, leaving
    // the glyph unchanged, when the file cannot be read or the font cannot hold code.
    bool importBitmap(const QString& path, QString* error = nullptr);
    bool importBitmap(int code, const QString& path, QString* error = nullptr);
    // The same for a BMP file's bytes held in memory.
    bool importBitmapData(int code, QByteArrayView bmp, QString* error = nullptr);
    // The same for an export canvas's ink held in memory.
    bool importInk(int code, const InkMask& canvas, QString* error = nullptr);
    // The same for the boxes the export draws for dots on grid at sizePercent of the pitch
    // (DotBoxes): the outline importInk makes of their ink.  Boxes that fill their cells are
    // traced as the dots themselves, scaled to the grid: the same outline, a hundredth of the
    // pixels.
    bool importDots(int code, const InkMask& dots, const GridGeometry& grid, int sizePercent,
                    QString* error = nullptr);

    // Left and right side bearings of the glyph of code (the current one when not given)
    // around its ink, in font units: the contours move so that the leftmost ink lies at lsb,
    // and the advance width becomes the rightmost ink plus rsb (lsb + rsb for an empty glyph;
    // a code without a glyph gets an empty one).  With a grid both are whole dots and an
    // empty glyph advances the box width (see GlyphSpacing).  Returns false with a reason, changing
    // nothing, when the result does not fit a TrueType glyph (a negative advance width,
    // coordinates beyond 16 bits) or the font cannot hold code.
    bool setSideBearings(int lsb, int rsb, QString* error = nullptr);
    bool setSideBearings(int code, int lsb, int rsb, QString* error = nullptr);

    // Makes glyph the glyph of code.  Returns false with a reason, changing nothing, when the
    // font cannot hold code or the glyph does not fit a TrueType glyph.
    bool setGlyph(int code, const FontGlyph& glyph, QString* error = nullptr);

    // nullptr when the font has no glyph at code yet (it was never imported, emptied or read).
    const FontGlyph* glyph(int code) const;
    const std::map<int, FontGlyph>& glyphs() const { return m_glyphs; }

    // The file; empty while the font is untitled.
    QString fileName() const { return m_fileName; }
    // False after any change until the next successful save.
    bool isSaved() const { return m_saved; }

    // Names that an untitled save must pass over although no file has them yet (the files of
    // other open fonts).
    using ReservedName = std::function<bool(const QString& path)>;

    // Writes the font atomically to fileName(); an untitled font gets the first free name in
    // the user's documents folder (see untitledFileName), never replacing a file, and a kill
    // during the save leaves no file or the whole font there.  Returns false with a reason
    // (the system's, where it gave one), and stays unsaved, when the file cannot be written.
    bool save(QString* error = nullptr, const ReservedName& reserved = {});
    // Writes the font atomically to path, which becomes fileName() (as an absolute path):
    // WOFF2 when the name ends in .woff2, else TrueType.  Anything but a regular file at path
    // is refused.  The dates in the file are timestamp's, or the time of the save when it is
    // invalid.
    bool saveAs(const QString& path, QString* error = nullptr, const QDateTime& timestamp = {},
                AtomicFile::Flush flush = AtomicFile::Flush::ToDisk);
    // The name an untitled font is saved under: "<family name> <n>.ttf" in the user's
    // documents folder, with the smallest n >= 1 that names no existing file (folder
    // separators and control characters in the family name become '_').
    QString untitledFileName(const ReservedName& reserved = {}) const;

    // The font as a TrueType file, or an empty array with a reason when it cannot be built.
    // The dates in it are timestamp's, or now when it is invalid.
    QByteArray toTrueType(QString* error = nullptr, const QDateTime& timestamp = {}) const;
    // The font as a file named path is written: WOFF2 or TrueType (see saveAs).
    QByteArray fileData(const QString& path, QString* error = nullptr,
                        const QDateTime& timestamp = {}) const;

    // Reads a TrueType font with glyf outlines (at least every font this class writes), or a
    // WOFF2 file of one, from a regular file.  Returns nullptr with a reason when the file
    // cannot be read.
    static std::unique_ptr<FontDocument> open(const QString& path, QString* error = nullptr);
    // The same for a font held in memory; the document stays untitled.
    static std::unique_ptr<FontDocument> fromTrueType(QByteArrayView data,
                                                      QString* error = nullptr);
    // Largest font file open() reads.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;

    // What reading the font's file left out because it was damaged (a character map or a part
    // of one), for the user to be told; empty for a font made here or read whole.
    const QStringList& readWarnings() const { return m_readWarnings; }
    void setReadWarnings(const QStringList& warnings) { m_readWarnings = warnings; }

private:
    // The file's bytes, or an empty array with a reason.
    QByteArray encode(const QString& path, QString* error, const QDateTime& timestamp = {}) const;
    bool importImage(int code, const InkMask* ink, QString reason, const QString& source,
                     QString* error);
    QString untitledPath(const QString& folder, int n) const;
    void markSaved(const QString& path);

    Kind m_kind;
    std::optional<DotGrid> m_grid;
    FontNames m_names;
    bool m_familyGiven = false;
    QString m_fileName;
    int m_current = 32;
    bool m_selected = false;
    bool m_saved = true;
    std::map<int, FontGlyph> m_glyphs;
    ContourTracer m_tracer;
    QStringList m_readWarnings;
};

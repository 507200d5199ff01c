#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QSize>
#include <QString>

// Checks of TrueType files with tools nobody here wrote: FreeType reads the outlines and the
// metrics, ots-sanitize (the sanitizer browsers use) judges the whole file.
//
// Codes are the fonts' character codes as pointillo-fontd knows them.  A code is looked up
// through the font's (3,2) Shift_JIS cmap when it has one, else through its Unicode cmap,
// the code turned into Unicode by code page 1252 (Qt's converter); CharMap picks a subtable
// explicitly (Unicode932 turns the code into Unicode by code page 932).
//
// Geometry: glyphs are laid out as pointillo-fontd imports an image: one canvas pixel is 2
// font units, the canvas's left edge is x = 0 and its pixel row 400 lies on the baseline, so
// row 0 is y = 800 (ascender) and row 480 is y = -160 (descender).  A font told its grid of
// square dots puts another canvas point at its origin: pass it as canvasOrigin.
class FontCheck
{
public:
    enum class CharMap { Auto, Unicode1252, Unicode932, ShiftJis };

    // Rasterises the glyph of code so that one dot becomes one pixel and returns dotsY rows
    // of dotsX characters, '#' where the glyph covers the dot and '.' where it does not.
    // Dot (i, j) is the canvas point (originX + i * pitchX, originY + j * pitchY), in canvas
    // pixels (fractions allowed): pass the centre of dot (0, 0)'s box and the dot pitch.  The
    // outline is loaded unscaled and unhinted, transformed here, and filled by FreeType's
    // monochrome rasteriser with drop-out control off, so a dot is '#' exactly when its point
    // lies inside the outline (non-zero winding).  On failure (no file, no glyph for the code,
    // a FreeType error) returns an empty list with the reason in error.
    static QList<QString> rasterDots(const QString& path, int code, double originX, double originY,
                                     double pitchX, double pitchY, int dotsX, int dotsY,
                                     QString* error = nullptr, CharMap map = CharMap::Auto,
                                     QPoint canvasOrigin = QPoint(0, 400));

    // The same at one dot per canvas pixel: width x height pixels from the canvas's top left,
    // comparable with the image that was imported.
    static QList<QString> rasterPixels(const QString& path, int code, int width, int height,
                                       QString* error = nullptr, CharMap map = CharMap::Auto,
                                       QPoint canvasOrigin = QPoint(0, 400));

    // A font of square dots at its native size ppem and at twice and three times it, as
    // FreeType draws it from the outlines without hinting, smoothed: for every code of dots
    // (its number of set dots), every pixel black or white and k x k pixels a dot; and at ppem
    // the embedded bitmap FreeType takes equal to the outline's pixels.  Empty when all holds,
    // else the first fault.
    static QString crispFault(const QString& path, const QMap<int, int>& dots, int ppem);
    // The first pixel neither black nor white of text set by HarfBuzz (hb-view) at size pixels
    // per em; empty when there is none, a reason when hb-view fails.
    static QString greyInLine(const QString& path, const QString& text, int size);

    // The glyph index FreeType finds for code, 0 when the font has none, -1 with a reason when
    // the font cannot be loaded.
    static int glyphIndex(const QString& path, int code, QString* error = nullptr,
                          CharMap map = CharMap::Auto);

    // The advance width and left side bearing of code's glyph as hmtx stores them (FreeType
    // hands over the raw hhea and hmtx tables).  Returns false with a reason on failure.
    static bool horizontalMetrics(const QString& path, int code, int* advanceWidth,
                                  int* leftSideBearing, QString* error = nullptr,
                                  CharMap map = CharMap::Auto);

    // A table of the font ("head", "glyf"; of a WOFF2 file, unpacked) as FreeType hands it
    // over, or an empty array with a reason.
    static QByteArray table(const QString& path, const char* tag, QString* error = nullptr);
    // The Windows Unicode US English records of the name table by name ID, as FreeType reads
    // them.
    static QMap<int, QString> names(const QString& path, QString* error = nullptr);
    // Bitmap fonts (BDF, PCF), read at their first strike through the font's own character
    // map.  The cell of code's glyph as FreeType places it: cell.height() rows of cell.width()
    // characters, '#' for a set pixel; origin is the cell's top-left corner from the glyph's
    // origin, x to the right and y up (the font's left x offset and its ascent).  Empty with the
    // reason in error when the font or the glyph cannot be loaded.
    static QList<QString> bitmapCell(const QString& path, int code, QPoint origin, QSize cell,
                                     QString* error = nullptr);
    // "<family> <pixel size> px" of a bitmap font, or empty with the reason in error.
    static QString bitmapFace(const QString& path, QString* error = nullptr);

    // Where two pictures of '#' and '.' rows (rasterPixels and the image they should match)
    // first differ, for a readable failure; empty when they are the same.
    static QString firstDifference(const QList<QString>& actual, const QList<QString>& expected);

    enum class OtsResult { Passed, Failed, NotInstalled };
    // Runs ots-sanitize on the file; output receives what it printed.
    static OtsResult otsSanitize(const QString& path, QString* output = nullptr);

    // /usr/bin/python3 when it can import fontTools, else an empty string.
    static QString fontToolsPython();
};

#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

// The operations on one glyph as a whole, and its forms on the clipboard.  A glyph is an image
// of dotsX x dotsY pixels, a set dot exactly black (CharTable's rule); the results are
// Format_RGB32.  Moves, flips and the rotation carry every pixel's colour with it, so a table of
// many colours loses none.
class GlyphOps
{
public:
    enum class Transform {
        FlipHorizontal, // left and right swap
        FlipVertical,   // top and bottom swap
        RotateRight,    // a quarter turn clockwise; square glyphs only
        MoveUp,         // one dot; the dots pushed past the edge are dropped, the freed row or
        MoveDown,       // column is clear
        MoveLeft,
        MoveRight,
    };

    // The glyph after t; a null image for RotateRight of a glyph that is not square.
    static QImage transformed(const QImage& glyph, Transform t);

    // The glyph for other programs: one pixel a dot, black on white.
    static QImage toPicture(const QImage& glyph);
    // The glyph as text art: a row a line, '#' for a set dot, '.' for a clear one, each line
    // ended by a newline.
    static QString toText(const QImage& glyph);

    // A glyph of size from any picture, its top-left corner at the glyph's: a pixel is a set dot
    // when it is dark (luminance below 128, qGray's weights) and opaque (alpha above 127).
    // Dots beyond the picture are clear.  Nothing for a null picture.
    static std::optional<QImage> fromPicture(const QImage& picture, QSize size);
    // A glyph of size from text art as toText writes it: trailing blanks, carriage returns and
    // blank lines before and after are passed over, short rows are clear at the end, the rest
    // is cut at size.  Nothing when any other character is in it, or no row.
    static std::optional<QImage> fromText(const QString& text, QSize size);

    // The dots of the line from one dot to another, both included, each a step of one dot from
    // the one before (Bresenham): the dots a drag passes over between two pointer reports.
    static QList<QPoint> line(QPoint from, QPoint to);
};

#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// The one-bit glyph bitmap the font server imports: a bottom-up Windows BMP with a 40-byte
// information header and a two-colour palette (entry 0 white, entry 1 black).  A canvas pixel
// is ink, a 1-bit, when its blue byte is 0: the export draws pure black boxes on white.
class DotsBitmap
{
    Q_DECLARE_TR_FUNCTIONS(DotsBitmap)

public:
    // Bytes before the pixel rows: file header, information header, palette.
    static constexpr int HeaderBytes = 14 + 40 + 8;
    // The largest width or height: both travel as 16-bit values.
    static constexpr int MaxSide = 32767;

    // Bytes of one pixel row: ceil(width / 8) rounded up to a multiple of 4.
    static int rowBytes(int width) { return ((width + 31) / 32) * 4; }

    // The whole file for canvas.  Returns an empty array, with the reason in *error, when the
    // canvas is null or wider or taller than MaxSide.
    static QByteArray encode(const QImage& canvas, QString* error = nullptr);

    // The file of a white canvas of the given size with black boxes on it (clipped to the
    // canvas): the bytes encode() gives for that canvas, without drawing it first.  Returns an
    // empty array, with the reason in *error, for an empty or too large canvas.
    static QByteArray encodeBoxes(QSize canvas, const QList<QRect>& boxes,
                                  QString* error = nullptr);

    // Writes encode(canvas) to fileName from its first byte.  An existing longer file is not
    // shortened: its tail stays behind the new data, outside the sizes the header gives.
    // Returns false, with the reason in *error, when the canvas cannot be encoded or the file
    // cannot be opened or written completely; the file must not be used then.
    static bool saveDotsBmp(const QString& fileName, const QImage& canvas,
                            QString* error = nullptr);
    // Writes a file encode() or encodeBoxes() gave, as saveDotsBmp does.
    static bool writeFile(const QString& fileName, const QByteArray& bytes,
                          QString* error = nullptr);
};

#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// A glyph as the editor sends it: a grid of dots drawn as black boxes on a 482 x 482 canvas
// and written as a one-bit BMP (bottom-up rows, palette entry 0 white and 1 black).  Built by
// hand, byte by byte, so that the server meets exactly the files it will get.
class DotBitmap
{
public:
    static constexpr int Width = 482;
    static constexpr int Height = 482;

    // dots: one string per dot row, '#' for a set dot, anything else clear.  A dot (x, y)
    // covers the pixels from origin + (x, y) * pitch over percent % of the pitch.
    DotBitmap(const QStringList& dots, int pitch, int percent = 100, int originX = 1,
              int originY = 1);

    // columns x rows dots, each set with a chance of 45 %, the same for the same seed.
    static QStringList randomDots(int columns, int rows, quint32 seed);

    const QStringList& dots() const { return m_dots; }
    int pitch() const { return m_pitch; }
    int originX() const { return m_originX; }
    int originY() const { return m_originY; }
    // The pixels one dot's box covers.
    QRect box(int x, int y) const;
    bool ink(int x, int y) const { return m_ink[size_t(y) * Width + size_t(x)]; }

    // The file's bytes.
    QByteArray bmp() const;
    bool write(const QString& path) const;

    // The same picture with the palette entries swapped (0 black, 1 white, bits inverted), which
    // other writers produce: ink is the dark colour, whatever its index.
    QByteArray bmpInkFirst() const;

private:
    QByteArray encode(bool inkBit) const;

    QStringList m_dots;
    int m_pitch;
    int m_percent;
    int m_originX;
    int m_originY;
    std::vector<bool> m_ink;
};

#include "TestBmp.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <cmath>
#include <vector>

namespace {

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

int roundHalfEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

QByteArray TestBmp::encode(const InkMask& ink, const Options& o)
{
    const int w = ink.width();
    const int h = ink.height();
    const int bpp = o.bitsPerPixel;
    const bool core = o.headerSize == 12;
    const int entrySize = core ? 3 : 4;
    int paletteEntries = 0;
    if (bpp <= 8)
        paletteEntries = o.paletteSize ? o.paletteSize : (bpp == 1 ? 2 : 1 << bpp);
    const bool masksAfterHeader = o.bitFields && o.headerSize == 40;
    const qsizetype paletteAt = 14 + o.headerSize + (masksAfterHeader ? 12 : 0);
    const qsizetype pixelsAt = paletteAt + qsizetype(paletteEntries) * entrySize;
    const qsizetype rowBytes = (qsizetype(w) * bpp + 31) / 32 * 4;
    QByteArray b(pixelsAt + rowBytes * h, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, quint32(b.size()));
    put32(b, 10, quint32(pixelsAt));
    put32(b, 14, quint32(o.headerSize));
    if (core) {
        put16(b, 18, quint16(w));
        put16(b, 20, quint16(h));
        put16(b, 22, 1);
        put16(b, 24, quint16(bpp));
    } else {
        put32(b, 18, quint32(w));
        put32(b, 22, quint32(o.topDown ? -h : h));
        put16(b, 26, 1);
        put16(b, 28, quint16(bpp));
        put32(b, 30, o.bitFields ? 3 : 0);
        put32(b, 34, quint32(rowBytes * h));
        put32(b, 46, quint32(bpp <= 8 && paletteEntries != (1 << bpp) ? paletteEntries : 0));
    }
    const quint32 red = bpp == 16 ? 0xF800 : 0xFF0000;
    const quint32 green = bpp == 16 ? 0x07E0 : 0x00FF00;
    const quint32 blue = bpp == 16 ? 0x001F : 0x0000FF;
    if (o.bitFields) {
        const qsizetype at = 14 + 40; // after a 40-byte header, or inside a longer one
        put32(b, at, red);
        put32(b, at + 4, green);
        put32(b, at + 8, blue);
    }
    // Palette: ink and paper first (in the asked order), the rest light colours.
    const int inkIndex = o.inkFirst ? 0 : 1;
    const int paperIndex = 1 - inkIndex;
    for (int i = 0; i < paletteEntries; ++i) {
        QRgb c = qRgb(200 + i % 50, 220, 240);
        if (i == inkIndex)
            c = o.ink;
        else if (i == paperIndex)
            c = o.paper;
        const qsizetype at = paletteAt + qsizetype(i) * entrySize;
        b[at] = char(qBlue(c));
        b[at + 1] = char(qGreen(c));
        b[at + 2] = char(qRed(c));
    }
    for (int y = 0; y < h; ++y) {
        const qsizetype row = pixelsAt + qsizetype(o.topDown ? y : h - 1 - y) * rowBytes;
        for (int x = 0; x < w; ++x) {
            const bool on = ink.pixel(x, y);
            const QRgb c = on ? o.ink : o.paper;
            switch (bpp) {
            case 1:
                if ((on ? inkIndex : paperIndex) == 1)
                    b[row + x / 8] = char(uchar(b[row + x / 8]) | (0x80 >> (x % 8)));
                break;
            case 4: {
                const int index = on ? inkIndex : paperIndex;
                b[row + x / 2] = char(uchar(b[row + x / 2]) | (x % 2 ? index : index << 4));
                break;
            }
            case 8:
                b[row + x] = char(on ? inkIndex : paperIndex);
                break;
            case 16: {
                const quint16 v =
                    o.bitFields
                        ? quint16((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | (qBlue(c) >> 3))
                        : quint16((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3));
                put16(b, row + 2 * x, v);
                break;
            }
            case 24:
                b[row + 3 * x] = char(qBlue(c));
                b[row + 3 * x + 1] = char(qGreen(c));
                b[row + 3 * x + 2] = char(qRed(c));
                break;
            case 32:
                put32(b, row + 4 * x, quint32(0xFF000000) | (c & 0xFFFFFF));
                break;
            }
        }
    }
    return b;
}

TestBmp::Grid TestBmp::grid(int dotsX, int dotsY, int sizePercent, bool square)
{
    Grid g{};
    g.pitchX = 480 / dotsX;
    g.pitchY = 480 / dotsY;
    if (square) {
        if (dotsX < dotsY)
            g.pitchX = g.pitchY;
        else if (dotsY < dotsX)
            g.pitchY = g.pitchX;
    }
    g.originX = dotsX * g.pitchX != 480 ? roundHalfEven((480 - dotsX * g.pitchX) / 2.0) : 0;
    g.originY = dotsY * g.pitchY != 480 ? roundHalfEven((480 - dotsY * g.pitchY) / 2.0) : 0;
    g.boxW = roundHalfEven(sizePercent * g.pitchX / 100.0);
    g.boxH = roundHalfEven(sizePercent * g.pitchY / 100.0);
    return g;
}

InkMask TestBmp::canvas(const QList<QString>& dots, int sizePercent, bool square)
{
    const int dotsY = int(dots.size());
    const int dotsX = dotsY ? int(dots.front().size()) : 0;
    InkMask mask(482, 482);
    if (dotsX == 0 || dotsY == 0)
        return mask;
    const Grid g = grid(dotsX, dotsY, sizePercent, square);
    for (int y = 0; y < dotsY; ++y) {
        for (int x = 0; x < dotsX; ++x) {
            if (dots[y][x] != u'#')
                continue;
            for (int py = 0; py < g.boxH; ++py) {
                for (int px = 0; px < g.boxW; ++px)
                    mask.setPixel(x * g.pitchX + g.originX + px, y * g.pitchY + g.originY + py,
                                  true);
            }
        }
    }
    return mask;
}

QList<QString> TestBmp::randomDots(int dotsX, int dotsY, double density, quint32 seed)
{
    QRandomGenerator rng(seed);
    QList<QString> rows;
    for (int y = 0; y < dotsY; ++y) {
        QString row(dotsX, u'.');
        for (int x = 0; x < dotsX; ++x) {
            if (rng.generateDouble() < density)
                row[x] = u'#';
        }
        rows.append(row);
    }
    return rows;
}

InkMask TestBmp::randomMask(int width, int height, double density, quint32 seed)
{
    QRandomGenerator rng(seed);
    InkMask mask(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            mask.setPixel(x, y, rng.generateDouble() < density);
    }
    return mask;
}

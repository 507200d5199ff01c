#pragma once

#include "dots/InkMask.h"

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>

// BMP files for the tests, written byte by byte from an ink mask in the layouts BmpReader must
// understand, and the editor's export canvas: dots drawn as boxes on 482 x 482 pixels.
class TestBmp
{
public:
    struct Options
    {
        int bitsPerPixel = 1;
        bool topDown = false;
        int headerSize = 40;    // 12, 40, 108 or 124
        bool bitFields = false; // 16 and 32 bits: masks 5-6-5 / 8-8-8 in BI_BITFIELDS
        QRgb ink = qRgb(0, 0, 0);
        QRgb paper = qRgb(255, 255, 255);
        bool inkFirst = false; // palette entry 0 is the ink colour
        int paletteSize = 0;   // entries written for palette images; 0: 2 for 1 bit, else full
    };

    static QByteArray encode(const InkMask& ink, const Options& options);
    static QByteArray editorFormat(const InkMask& ink) { return encode(ink, Options()); }

    // The editor's grid geometry for dotsX x dotsY dots on the 480-pixel grid.
    struct Grid
    {
        int pitchX, pitchY, originX, originY, boxW, boxH;
    };
    static Grid grid(int dotsX, int dotsY, int sizePercent, bool square = true);
    // The 482 x 482 canvas with a box for every '#' of dots.
    static InkMask canvas(const QList<QString>& dots, int sizePercent, bool square = true);

    // Random dots at a density, reproducible from the seed.
    static QList<QString> randomDots(int dotsX, int dotsY, double density, quint32 seed);
    // A mask whose every pixel is ink with probability density, reproducible from the seed.
    static InkMask randomMask(int width, int height, double density, quint32 seed);
};

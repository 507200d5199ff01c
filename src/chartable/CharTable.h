#pragma once

#include "dots/InkMask.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <optional>

// The character table: one 512 x 512 image of 16 x 16 cells of 32 x 32 pixels, one cell per
// single-byte code.  A pixel that is exactly black is a set dot; any other colour is clear.
// Cells of codes 256 and above fall below the image and have no pixels: they read as clear and
// writes to them change nothing.  The table is a Format_RGB32 image; the writers below convert
// one of another format first.
class CharTable
{
public:
    static constexpr int Size = 512;
    static constexpr int CellSize = 32;
    static constexpr int Columns = Size / CellSize;
    static constexpr QRgb SetColour = 0xff000000;   // black
    static constexpr QRgb ClearColour = 0xffffffff; // white

    // A fresh table: all clear.
    static QImage blank();

    // Top-left pixel of the cell of code: (32 * (code mod 16), 32 * (code / 16)).
    static QPoint cellOrigin(int code);

    // The code of the cell under (X, Y) in table pixels: 16 * floor(Y / 32) + floor(X / 32).
    // Points beyond the table give codes outside 0..255.
    static int codeAt(double X, double Y);

    // True when the colour is a set dot; the alpha byte of an RGB32 pixel is not looked at.
    static bool isSetColour(QRgb colour) { return (colour & 0x00ffffff) == 0; }

    // The colour of a pixel, or nothing when it lies outside the image.
    static std::optional<QRgb> pixel(const QImage& table, QPoint p);

    // True when the pixel lies inside the image and is exactly black.
    static bool isSet(const QImage& table, QPoint p);
    // The set dots of the glyph of size glyph whose top-left dot is the pixel cell: one bit a
    // dot, what the export draws and the font server traces.
    static InkMask dots(const QImage& table, QPoint cell, QSize glyph);

    // Writes one pixel; returns false (and changes nothing) outside the image.
    static bool setPixel(QImage& table, QPoint p, QRgb colour);

    // Fills the part of rect that lies inside the image.
    static void fillRect(QImage& table, const QRect& rect, QRgb colour);

    // Replaces every pixel of the part of rect inside the image by its complement (black and
    // white swap).
    static void invertRect(QImage& table, const QRect& rect);

    static void clearAll(QImage& table);
    static void fillAll(QImage& table);
    static void invertAll(QImage& table);

private:
    // Writing raw RGB values needs the table's own format.
    static void toRgb32(QImage& table);
};

#include "DotBitmap.h"

#include <QFile>
#include <QtEndian>

namespace {
void put16(QByteArray& data, qsizetype at, quint16 value)
{
    qToLittleEndian(value, data.data() + at);
}

void put32(QByteArray& data, qsizetype at, quint32 value)
{
    qToLittleEndian(value, data.data() + at);
}
} // namespace

DotBitmap::DotBitmap(const QStringList& dots, int pitch, int percent, int originX, int originY)
    : m_dots(dots)
    , m_pitch(pitch)
    , m_percent(percent)
    , m_originX(originX)
    , m_originY(originY)
    , m_ink(size_t(Width) * Height, false)
{
    for (int y = 0; y < dots.size(); ++y) {
        for (int x = 0; x < dots.at(y).size(); ++x) {
            if (dots.at(y).at(x) != QLatin1Char('#'))
                continue;
            const QRect pixels = box(x, y).intersected(QRect(0, 0, Width, Height));
            for (int py = pixels.top(); py <= pixels.bottom(); ++py)
                for (int px = pixels.left(); px <= pixels.right(); ++px)
                    m_ink[size_t(py) * Width + size_t(px)] = true;
        }
    }
}

QStringList DotBitmap::randomDots(int columns, int rows, quint32 seed)
{
    QStringList dots;
    for (int y = 0; y < rows; ++y) {
        QString row;
        for (int x = 0; x < columns; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row += (seed >> 16) % 100 < 45 ? QLatin1Char('#') : QLatin1Char('.');
        }
        dots.append(row);
    }
    return dots;
}

QRect DotBitmap::box(int x, int y) const
{
    // The editor rounds the box size half to even; the tests use sizes that need no rounding.
    const int side = m_pitch * m_percent / 100;
    return {m_originX + x * m_pitch, m_originY + y * m_pitch, side, side};
}

QByteArray DotBitmap::bmp() const
{
    return encode(true);
}

QByteArray DotBitmap::bmpInkFirst() const
{
    return encode(false);
}

QByteArray DotBitmap::encode(bool inkBit) const
{
    const int stride = (Width + 31) / 32 * 4;
    const int headerSize = 14 + 40 + 8;
    QByteArray data(headerSize + stride * Height, '\0');
    data[0] = 'B';
    data[1] = 'M';
    put32(data, 2, quint32(data.size()));
    put32(data, 10, headerSize);
    put32(data, 14, 40);
    put32(data, 18, Width);
    put32(data, 22, Height); // positive: bottom-up
    put16(data, 26, 1);
    put16(data, 28, 1);
    put32(data, 30, 0); // BI_RGB
    put32(data, 34, quint32(stride * Height));
    put32(data, 38, 3780);
    put32(data, 42, 3780);
    put32(data, 46, 2);
    put32(data, 50, 0);
    const quint32 white = 0x00FFFFFF;
    const quint32 black = 0x00000000;
    put32(data, 54, inkBit ? white : black);
    put32(data, 58, inkBit ? black : white);
    for (int y = 0; y < Height; ++y) {
        char* row = data.data() + headerSize + qsizetype(Height - 1 - y) * stride;
        for (int x = 0; x < Width; ++x) {
            if (ink(x, y) == inkBit)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
    }
    return data;
}

bool DotBitmap::write(const QString& path) const
{
    const QByteArray data = bmp();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

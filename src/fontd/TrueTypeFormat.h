#pragma once

#include <QtGlobal>

// What the TrueType reader and writer both know of the file format, named as the format's
// documentation names it: table tags and the flags of a simple glyph's points.
namespace TrueTypeFormat {

constexpr quint8 ON_CURVE_POINT = 0x01;
constexpr quint8 X_SHORT_VECTOR = 0x02;
constexpr quint8 Y_SHORT_VECTOR = 0x04;
constexpr quint8 REPEAT_FLAG = 0x08;
constexpr quint8 X_IS_SAME_OR_POSITIVE_X_SHORT_VECTOR = 0x10;
constexpr quint8 Y_IS_SAME_OR_POSITIVE_Y_SHORT_VECTOR = 0x20;

// A four-character tag ("head", "OS/2") as the 32-bit number the file holds.
constexpr quint32 tag(const char (&s)[5])
{
    return quint32(uchar(s[0])) << 24 | quint32(uchar(s[1])) << 16 | quint32(uchar(s[2])) << 8 |
           quint32(uchar(s[3]));
}

} // namespace TrueTypeFormat

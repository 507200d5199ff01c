#pragma once

#include <QStringView>
#include <QtGlobal>
#include <optional>

// Numbers typed into text boxes or read from the INI file, read the way BASIC's Val reads
// them, and their rounding to the integer types that travel to the font server.
class NumericText
{
public:
    // The leading number of text, 0 when there is none.  Blanks, tabs and line feeds are
    // skipped wherever they stand ("1 2" is 12).  A decimal number has an optional sign, a "."
    // as decimal point and an optional exponent after E or D; "&H" and "&O" start a
    // hexadecimal or octal number, which is a signed 16-bit value when it fits 16 bits
    // ("&HFFFF" is -1), a signed 32-bit value when it fits 32 bits, and its plain value beyond
    // that.  A decimal number too large for a double gives an infinity.
    static double value(QStringView text);

    // Rounds to the nearest integer, halves to the even neighbour (12.5 gives 12, 13.5 gives
    // 14, -12.5 gives -12).  Not-a-number stays as it is.
    static double roundHalfEven(double v);

    // v rounded half to even, or nothing when the result lies outside the type's range (or v
    // is not a number).
    static std::optional<qint16> toInt16(double v);
    static std::optional<qint32> toInt32(double v);
};

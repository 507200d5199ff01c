#pragma once

#include <QString>
#include <QStringView>

// Code page 1252 (Windows Western), the codes of a Western font: the bytes 0x00..0xFF, Latin-1
// but for 0x80..0x9F, which hold the euro sign, curly quotes, dashes and a few letters.  The
// five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1
// control of the same value, as a font's character map gives them.
class Cp1252
{
public:
    // The Unicode value of a byte, or 0 for a value outside 0..255 (code 0 itself gives 0).
    static char32_t toUnicode(int code);

    // The byte a Unicode value is written with, or -1 when the code page has none for it.
    static int fromUnicode(char32_t unicode);

    // The byte of the first character of text (a surrogate pair is one character), or -1 when
    // the text is empty or its first character has no byte in the code page.
    static int toCode(QStringView text);

    // True for the five bytes without a character of their own.
    static bool isUndefined(int code);
};

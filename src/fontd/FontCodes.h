#pragma once

#include "fontd/FontDocument.h"

#include <span>

// The character codes a font of each kind holds and their Unicode values: a Western font holds
// the bytes 32..255 of code page 1252, a Japanese one every code of code page 932 from 0x20 up.
class FontCodes
{
public:
    // Ascending.
    static std::span<const int> codes(FontDocument::Kind kind);
    static bool holds(FontDocument::Kind kind, int code);

    // The Unicode value of a code the font holds, 0 for any other code.  The five bytes that
    // code page 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
    // of the same value.
    static char32_t toUnicode(FontDocument::Kind kind, int code);

    // The character of a code as a label shows it: code page 1252 for a Western font (0xC9 is
    // "É"), code page 932 for a Japanese one (0xC9 is "ﾉ"); empty for a code the font does not
    // hold or a control character.
    static QString character(FontDocument::Kind kind, int code);

    // The code a Unicode value is written with, or -1 when the font holds none for it.  Where
    // several codes of code page 932 share one value (the NEC and IBM duplicates) this is the
    // one Windows writes for it, so the answer is the same every time.
    static int fromUnicode(FontDocument::Kind kind, char32_t unicode);
};

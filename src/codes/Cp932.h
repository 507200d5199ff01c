#pragma once

#include <QString>
#include <QStringView>
#include <span>

// Code page 932 (Windows Shift_JIS) over glibc iconv "CP932".  A code is the byte of a
// single-byte character or lead byte * 256 + trail byte of a double-byte one.  glibc's
// "SHIFT_JIS" (0x5C as the yen sign) and Qt's ICU decoder differ from Windows on a few bytes
// and must not be used for this.
class Cp932
{
public:
    // The character of a code as text; empty when the code defines no character (a lone lead
    // byte, an unassigned code, a value outside 0..65535).
    static QString toText(int code);

    // The Unicode scalar value of a code, or 0 when it defines none (code 0 itself gives 0).
    static char32_t toUnicode(int code);

    // The code of the first character of text (a surrogate pair is one character), or -1 when
    // the text is empty or its first character has no code in the code page.  Where several
    // codes share one character, this is the code Windows writes for it.
    static int toCode(QStringView text);

    // True for the bytes that start a double-byte character (0x81..0x9F, 0xE0..0xFC).
    static bool isLeadByte(int byte)
    {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }

    // True when the code defines a character (toText is not empty, or the code is 0).
    static bool isDefined(int code);

    // Every code that defines a character, single-byte codes 0x00..0xFF first, ascending.
    static std::span<const int> definedCodes();

    // A JIS X 0208 code (row byte * 256 + cell byte, each 0x21..0x7E) as the Shift_JIS code
    // of the same place, or -1 for a value that is no such code.  The places code page 932
    // leaves unassigned come out too: isDefined() tells.
    static int fromJis(int jis);
    // The other way: the JIS X 0208 code of a double-byte code of lead 0x81..0x9F or
    // 0xE0..0xEF, or -1 for any other value.
    static int toJis(int code);
};

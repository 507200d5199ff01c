#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

// The code page the codes of the font are read in: 932 (Shift_JIS) for a Japanese font, and
// while no font is known, 1252 (Windows Western) for a Western one, as the font server maps
// them.
enum class CodePage { Cp932, Cp1252 };

// The views of a character code: the hexadecimal text of the code box, the character of the
// character box and the short caption of the table read-out.  Codes are values of a code page:
// a byte, or for code page 932 lead byte * 256 + trail byte.
class CodeText
{
public:
    // A code delivered as a signed 16-bit number back in 0..65535: l + 65536 when l is
    // negative, else l.  Applying it twice is harmless.
    static qint32 unsignedLong(qint32 l);

    // The code box's text read as "&H" + text: hexadecimal digits from the left up to the first
    // other character, 0 when there is none.  Up to four digits (a value up to 0xFFFF) give
    // the plain value 0..65535 (read as a signed 16-bit number, then unsignedLong).  Larger
    // values give their plain value too, capped at 0x7FFFFFFF: they never wrap round into a
    // valid code, so a font refuses them.
    static qint32 fromHex(QStringView text);

    // Upper-case hexadecimal digits without leading zeros ("20", "FF", "8140"); a negative
    // value gives its 32-bit two's complement.
    static QString toHex(qint32 code);

    // The character of a code as text (one byte up to 255, else two bytes, high byte first);
    // empty when the code defines no character in the code page (in code page 1252 nothing
    // beyond 255, and nothing for its five undefined bytes).
    static QString toCharacter(qint32 code, CodePage page = CodePage::Cp932);

    // The text of the character box for a code: its character, nothing for the control codes
    // 0..31, which have no glyph.
    static QString boxCharacter(qint32 code, CodePage page = CodePage::Cp932);

    // The code of the first character of text, or nothing when text is empty or its first
    // character has no code in the code page.
    static std::optional<qint32> fromCharacter(QStringView text, CodePage page = CodePage::Cp932);

    // The text that names a code in one short label: "CTRL( 9 )" for codes up to 31 (the
    // number with a leading blank when it is not negative), otherwise the code in hexadecimal
    // and its character ("41 A"), the code alone where it has none.
    static QString caption(qint32 code, CodePage page = CodePage::Cp932);
};

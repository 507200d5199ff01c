#include "codes/Cp1252.h"

#include <array>

namespace {

// 0x80..0x9F, where the code page differs from Latin-1.
constexpr std::array<char16_t, 32> high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char32_t Cp1252::toUnicode(int code)
{
    if (code < 0 || code > 0xFF)
        return 0;
    return code >= 0x80 && code < 0xA0 ? high[size_t(code - 0x80)] : char32_t(code);
}

int Cp1252::fromUnicode(char32_t unicode)
{
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF))
        return int(unicode);
    for (size_t i = 0; i < high.size(); ++i) {
        if (high[i] == unicode)
            return 0x80 + int(i);
    }
    return -1;
}

int Cp1252::toCode(QStringView text)
{
    if (text.isEmpty())
        return -1;
    const char32_t u = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate()
                           ? QChar::surrogateToUcs4(text[0], text[1])
                           : text[0].unicode();
    return fromUnicode(u);
}

bool Cp1252::isUndefined(int code)
{
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

#include "codes/CodeText.h"

#include "codes/Cp1252.h"
#include "codes/Cp932.h"

#include <algorithm>
#include <limits>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

qint32 CodeText::unsignedLong(qint32 l)
{
    return l < 0 ? l + 65536 : l;
}

qint32 CodeText::fromHex(QStringView text)
{
    constexpr quint64 cap = std::numeric_limits<qint32>::max();
    quint64 value = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        // Saturate: a long run of digits must not wrap round into a small value.
        value = std::min<quint64>(value * 16 + quint64(digit), cap + 1);
    }
    if (value <= 0xFFFF)
        return unsignedLong(qint16(quint16(value)));
    return qint32(std::min(value, cap));
}

QString CodeText::toHex(qint32 code)
{
    return QString::number(quint32(code), 16).toUpper();
}

QString CodeText::toCharacter(qint32 code, CodePage page)
{
    if (page == CodePage::Cp932)
        return Cp932::toText(code);
    if (code == 0)
        return QString(QChar(0));
    const char32_t u = Cp1252::toUnicode(code);
    if (u == 0 || Cp1252::isUndefined(code))
        return QString();
    return QString::fromUcs4(&u, 1);
}

QString CodeText::boxCharacter(qint32 code, CodePage page)
{
    return code >= 0 && code <= 31 ? QString() : toCharacter(code, page);
}

std::optional<qint32> CodeText::fromCharacter(QStringView text, CodePage page)
{
    if (page == CodePage::Cp1252) {
        const int code = Cp1252::toCode(text);
        if (code < 0 || Cp1252::isUndefined(code))
            return std::nullopt;
        return code;
    }
    const int code = Cp932::toCode(text);
    if (code < 0)
        return std::nullopt;
    return unsignedLong(qint16(quint16(code)));
}

QString CodeText::caption(qint32 code, CodePage page)
{
    if (code > 31) {
        const QString character = toCharacter(code, page);
        return character.isEmpty() ? toHex(code) : toHex(code) + u' ' + character;
    }
    // BASIC's Str: a blank stands where the sign of a negative number would be.
    const QString number = code < 0 ? QString::number(code) : u' ' + QString::number(code);
    return QStringLiteral("CTRL(") + number + QStringLiteral(" )");
}

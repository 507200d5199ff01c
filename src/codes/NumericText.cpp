#include "codes/NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

int digitValue(char16_t c, int radix)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    return d >= 0 && d < radix ? d : -1;
}

// "&H" and "&O" numbers: the digits' value, then BASIC's Integer or Long when it fits.
double radixValue(std::u16string_view s, int radix)
{
    double plain = 0;
    quint64 exact = 0;
    bool fits = true;
    for (char16_t c : s) {
        const int d = digitValue(c, radix);
        if (d < 0)
            break;
        plain = plain * radix + d;
        exact = exact * quint64(radix) + quint64(d);
        if (exact > 0xFFFFFFFFu)
            fits = false;
    }
    if (!fits)
        return plain;
    if (exact <= 0xFFFFu)
        return qint16(quint16(exact));
    return qint32(quint32(exact));
}

double decimalValue(std::u16string_view s)
{
    std::string number; // plain ASCII for from_chars
    size_t i = 0;
    const bool negative = i < s.size() && s[i] == u'-';
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        ++i;
    bool anyDigit = false;
    int leadingIntegerZeros = 0;
    int integerDigits = 0;
    int fractionZerosBeforeFirstDigit = 0;
    bool nonZeroSeen = false;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        anyDigit = true;
        if (s[i] == u'0' && !nonZeroSeen)
            ++leadingIntegerZeros;
        else
            nonZeroSeen = true;
        ++integerDigits;
        number += char(s[i]);
    }
    if (i < s.size() && s[i] == u'.') {
        number += '.';
        for (++i; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
            anyDigit = true;
            if (s[i] == u'0' && !nonZeroSeen)
                ++fractionZerosBeforeFirstDigit;
            else
                nonZeroSeen = true;
            number += char(s[i]);
        }
    }
    if (!anyDigit)
        return 0;
    if (!nonZeroSeen)
        return negative ? -0.0 : 0.0;

    // An exponent counts only with at least one digit: "12E" is 12.
    long long exponent = 0;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        size_t j = i + 1;
        const bool expNegative = j < s.size() && s[j] == u'-';
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+'))
            ++j;
        if (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
            for (; j < s.size() && s[j] >= u'0' && s[j] <= u'9'; ++j)
                exponent = std::min(exponent * 10 + (s[j] - u'0'), 1'000'000'000LL);
            if (expNegative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    double result = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), result);
    Q_UNUSED(end);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the position of the first digit.
        const long long magnitude = integerDigits > leadingIntegerZeros
                                        ? (integerDigits - leadingIntegerZeros - 1) + exponent
                                        : -(fractionZerosBeforeFirstDigit + 1) + exponent;
        result = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        return 0;
    }
    return negative ? -result : result;
}

template <typename Int> std::optional<Int> toInt(double v)
{
    const double r = NumericText::roundHalfEven(v);
    if (!(r >= double(std::numeric_limits<Int>::min()) &&
          r <= double(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return Int(r);
}

} // namespace

double NumericText::value(QStringView text)
{
    std::u16string s;
    s.reserve(size_t(text.size()));
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            s += c.unicode();
    if (s.size() >= 2 && s[0] == u'&') {
        if (s[1] == u'H' || s[1] == u'h')
            return radixValue(std::u16string_view(s).substr(2), 16);
        if (s[1] == u'O' || s[1] == u'o')
            return radixValue(std::u16string_view(s).substr(2), 8);
    }
    return decimalValue(s);
}

double NumericText::roundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    const double below = std::floor(v);
    const double rest = v - below; // exact for doubles
    if (rest < 0.5)
        return below;
    if (rest > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<qint16> NumericText::toInt16(double v)
{
    return toInt<qint16>(v);
}

std::optional<qint32> NumericText::toInt32(double v)
{
    return toInt<qint32>(v);
}

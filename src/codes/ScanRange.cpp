#include "codes/ScanRange.h"

#include "codes/CodeText.h"
#include "codes/NumericText.h"

#include <algorithm>

qint32 ScanRange::boxCode(QStringView text)
{
    const double v = NumericText::roundHalfEven(NumericText::value(text));
    // Also catches a value that is not a number: it becomes the first code.
    if (!(v >= ScanRange::First))
        return ScanRange::First;
    return v > ScanRange::Last ? ScanRange::Last : qint32(v);
}

ScanRange::Range ScanRange::check(QStringView first, QStringView last)
{
    const qint32 s = boxCode(first);
    const qint32 e = boxCode(last);
    return {std::min(s, e), std::max(s, e)};
}

float ScanRange::progress(qint32 c, qint32 start, qint32 end)
{
    if (end == start)
        return 100.0f;
    return float(double(c - start) * 100.0 / double(end - start));
}

QString ScanRange::codeList(QList<qint32> codes)
{
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    QStringList parts;
    for (qsizetype i = 0; i < codes.size();) {
        qsizetype j = i;
        while (j + 1 < codes.size() && codes[j + 1] == codes[j] + 1)
            ++j;
        if (j - i >= 2) {
            parts << CodeText::toHex(codes[i]) + u'-' + CodeText::toHex(codes[j]);
        } else {
            for (qsizetype k = i; k <= j; ++k)
                parts << CodeText::toHex(codes[k]);
        }
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

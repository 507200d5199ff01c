#include "codes/Cp932.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

// RAII for one conversion descriptor.
class Iconv
{
public:
    Iconv(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {}
    ~Iconv()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in; returns the number of output bytes, or -1 when in is invalid or
    // incomplete.
    long convert(const char* in, size_t inLen, char* out, size_t outLen)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t left = outLen;
        if (iconv(m_cd, &src, &inLen, &dst, &left) == size_t(-1) || inLen != 0)
            return -1;
        return long(outLen - left);
    }

private:
    iconv_t m_cd;
};

// The decoding of every code, built once.  Immutable afterwards, so sharing it is safe.
struct Table
{
    std::vector<char32_t> unicode = std::vector<char32_t>(65536, 0);
    std::vector<int> defined;

    Table()
    {
        Iconv cd("UTF-32LE", "CP932");
        if (!cd.ok())
            return;
        auto decode = [&](const char* bytes, size_t n, int code) {
            char out[16];
            if (cd.convert(bytes, n, out, sizeof out) != 4)
                return;
            char32_t u = char32_t(uchar(out[0])) | char32_t(uchar(out[1])) << 8 |
                         char32_t(uchar(out[2])) << 16 | char32_t(uchar(out[3])) << 24;
            unicode[code] = u;
            defined.push_back(code);
        };
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            decode(&c, 1, b);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!Cp932::isLeadByte(lead))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char two[2] = {char(lead), char(trail)};
                decode(two, 2, lead * 256 + trail);
            }
        }
    }
};

const Table& table()
{
    static const Table t;
    return t;
}

} // namespace

QString Cp932::toText(int code)
{
    const char32_t u = toUnicode(code);
    if (u == 0)
        return code == 0 ? QString(QChar(0)) : QString();
    return QString::fromUcs4(&u, 1);
}

char32_t Cp932::toUnicode(int code)
{
    if (code < 0 || code > 0xFFFF)
        return 0;
    return table().unicode[code];
}

int Cp932::toCode(QStringView text)
{
    if (text.isEmpty())
        return -1;
    const qsizetype n =
        text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    const QByteArray utf8 = text.first(n).toUtf8();
    Iconv cd("CP932", "UTF-8");
    if (!cd.ok())
        return -1;
    char out[8];
    const long len = cd.convert(utf8.constData(), size_t(utf8.size()), out, sizeof out);
    if (len == 1)
        return uchar(out[0]);
    if (len == 2)
        return uchar(out[0]) * 256 + uchar(out[1]);
    return -1;
}

bool Cp932::isDefined(int code)
{
    return code == 0 || toUnicode(code) != 0;
}

std::span<const int> Cp932::definedCodes()
{
    return table().defined;
}

int Cp932::fromJis(int jis)
{
    const int row = jis >> 8;
    const int cell = jis & 0xFF;
    if (jis < 0 || row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E)
        return -1;
    // Two rows share a lead byte: the odd row takes trail bytes 0x40..0x9E (skipping 0x7F),
    // the even row 0x9F..0xFC.
    const int lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
    const int trail = row & 1 ? cell + (cell >= 0x60 ? 0x20 : 0x1F) : cell + 0x7E;
    return lead << 8 | trail;
}

int Cp932::toJis(int code)
{
    const int lead = code >> 8;
    const int trail = code & 0xFF;
    if (code < 0 || !((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) ||
        trail < 0x40 || trail > 0xFC || trail == 0x7F)
        return -1;
    int row = (lead - (lead <= 0x9F ? 0x70 : 0xB0)) * 2 - 1;
    int cell;
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x7E;
    } else {
        cell = trail - (trail >= 0x80 ? 0x20 : 0x1F);
    }
    return row << 8 | cell;
}

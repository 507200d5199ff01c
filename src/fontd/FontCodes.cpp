#include "fontd/FontCodes.h"

#include "codes/Cp1252.h"
#include "codes/Cp932.h"

#include <QString>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

constexpr std::array<int, 224> westernCodes = [] {
    std::array<int, 224> codes{};
    for (int i = 0; i < 224; ++i)
        codes[size_t(i)] = 32 + i;
    return codes;
}();

// Built once, read-only afterwards.
struct JapaneseTable
{
    std::span<const int> codes;
    std::vector<std::pair<char32_t, int>> byUnicode; // sorted by Unicode value

    JapaneseTable()
    {
        const auto all = Cp932::definedCodes();
        codes = std::span<const int>(std::lower_bound(all.begin(), all.end(), 0x20), all.end());
        std::vector<std::pair<char32_t, int>> pairs;
        pairs.reserve(codes.size());
        for (int code : codes)
            pairs.emplace_back(Cp932::toUnicode(code), code);
        std::sort(pairs.begin(), pairs.end());
        for (size_t i = 0; i < pairs.size();) {
            size_t j = i + 1;
            while (j < pairs.size() && pairs[j].first == pairs[i].first)
                ++j;
            int code = pairs[i].second;
            if (j - i > 1) {
                const char32_t u = pairs[i].first;
                const int windows = Cp932::toCode(QString::fromUcs4(&u, 1));
                for (size_t k = i; k < j; ++k) {
                    if (pairs[k].second == windows)
                        code = windows;
                }
            }
            byUnicode.emplace_back(pairs[i].first, code);
            i = j;
        }
    }
};

const JapaneseTable& japanese()
{
    static const JapaneseTable table;
    return table;
}

} // namespace

std::span<const int> FontCodes::codes(FontDocument::Kind kind)
{
    if (kind == FontDocument::Western)
        return westernCodes;
    return japanese().codes;
}

bool FontCodes::holds(FontDocument::Kind kind, int code)
{
    const auto list = codes(kind);
    return std::binary_search(list.begin(), list.end(), code);
}

char32_t FontCodes::toUnicode(FontDocument::Kind kind, int code)
{
    if (kind == FontDocument::Western) {
        return code >= 32 ? Cp1252::toUnicode(code) : 0;
    }
    return code >= 0x20 ? Cp932::toUnicode(code) : 0;
}

QString FontCodes::character(FontDocument::Kind kind, int code)
{
    const char32_t u = toUnicode(kind, code);
    if (u == 0 || QChar::category(u) == QChar::Other_Control)
        return {};
    return QString::fromUcs4(&u, 1);
}

int FontCodes::fromUnicode(FontDocument::Kind kind, char32_t unicode)
{
    if (kind == FontDocument::Western) {
        const int code = Cp1252::fromUnicode(unicode);
        return code >= 32 ? code : -1;
    }
    const auto& table = japanese().byUnicode;
    const auto it = std::lower_bound(table.begin(), table.end(), std::make_pair(unicode, 0));
    return it != table.end() && it->first == unicode ? it->second : -1;
}

// libFuzzer target: BDF bytes through the reader, as a Unicode font would be read for either
// charset, and what it reads into a table.
#include "chartable/BdfFont.h"
#include "chartable/CharTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const BdfFont::Charset charset : {BdfFont::Charset::Cp1252, BdfFont::Charset::Cp932}) {
        const std::optional<BdfFont> font = BdfFont::parse(bytes, charset);
        if (!font)
            continue;
        QImage table = CharTable::blank();
        font->paint(table);
    }
    return 0;
}

// libFuzzer target: font bytes of any format through the reader, read as either kind.
#include "chartable/FontReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FontReader reader;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const auto kind : {FontDocument::Western, FontDocument::Japanese})
        if (reader.openData(bytes, 16))
            reader.read(kind);
    return 0;
}

// libFuzzer target: font bytes of any format through the reader, read as either kind.
#include "chartable/FontReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FontReader reader;
    if (!reader.openData(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), 16))
        return 0;
    for (const FontDocument::Kind kind : {FontDocument::Western, FontDocument::Japanese})
        reader.read(kind);
    return 0;
}

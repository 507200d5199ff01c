// libFuzzer target: font bytes through the reader; whatever it reads must write and read back.
#include "fontd/FontDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto doc = FontDocument::fromTrueType(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!doc)
        return 0;
    const QByteArray written = doc->toTrueType();
    const auto back = FontDocument::fromTrueType(written);
    if (written.isEmpty() || !back || back->glyphs().size() != doc->glyphs().size())
        std::abort();
    return 0;
}

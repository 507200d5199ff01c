// libFuzzer target: BMP bytes through the reader, and what it reads through the tracer and
// the glyph limits.
#include "fontd/BmpReader.h"
#include "fontd/ContourTracer.h"
#include "fontd/GlyphBuilder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto ink =
        BmpReader::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!ink)
        return 0;
    ContourTracer tracer;
    FontGlyph glyph;
    GlyphBuilder::fromInk(*ink, tracer, &glyph);
    return 0;
}

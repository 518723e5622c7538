// libFuzzer target for the PNG reader: the chunk scan, then a decode into a buffer of exactly the
// declared size in both pixel types. Invariants checked: an accepted header is inside the size cap,
// and ASan sees every read and write stay inside the data and the pixel rows.
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "platform/graphics/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngHeaderInfo info;
    if (!readPngHeader(data, size, info)) return 0;
    if (info.width <= 0 || info.height <= 0 || info.width > kPngMaxSide || info.height > kPngMaxSide) __builtin_trap();
    const int32_t stride = (info.width + 1) & ~1;
    const size_t count = static_cast<size_t>(stride) * static_cast<size_t>(info.height);
    auto* pixels = static_cast<uint16_t*>(std::malloc(count * sizeof(uint16_t)));
    if (pixels == nullptr) return 0;
    for (const int pixelType : {0, 2}) (void)decodePng(data, size, pixelType, pixels, info.width, info.height, stride);
    std::free(pixels);
    return 0;
}

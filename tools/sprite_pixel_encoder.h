// Module pixels encoded in the sprite pixel formats: the packed 1/2/4-bit forms, the three run
// forms and the alpha-run form (colours as 0x56F2, then the alpha stream). The inverse of
// gfx::decodeModulePixels; the caller has checked that every index fits the format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// `indexBits` is the masked run format's (gfx::paletteIndexBits of the colour count); `alpha` is
// read only by the alpha-run format.
[[nodiscard]] std::string encodeModulePixels(int pixelFormat, const std::vector<uint8_t>& indices,
                                             const std::vector<uint8_t>& alpha, int indexBits);

}  // namespace tools

// LZMA-Alone items as the packs store them: a 13-byte header (properties, dictionary size, the
// unpacked size in 64 bits) and the raw stream. Unpacked whole, to exactly the stated size, or not at
// all. Shared by the host's data file check and the tools that read packs back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace archive {

// False, with `error` saying why, for a header shorter than 13 bytes, properties out of range, a
// stated size above maxUnpacked, or a stream that does not unpack to the stated size.
[[nodiscard]] bool unpackLzmaAlone(std::string_view item, uint32_t maxUnpacked, std::string& out, std::string& error);

}  // namespace archive

// LZMA-Alone compression of one pack item through liblzma: the 13-byte header (properties byte,
// dictionary size, the real unpacked size as u64) and a raw LZMA1 stream without an end marker, so
// the game's reader unpacks exactly the size the header gives.
#pragma once

#include <string>
#include <string_view>

namespace tools {

[[nodiscard]] bool compressLzmaAlone(std::string_view data, std::string& out, std::string& error);

}  // namespace tools

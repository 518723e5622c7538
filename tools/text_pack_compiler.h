// Text packs and byte-array packs from the shared literal line format (tools/literal_lines.h), with
// "\xHH" for a raw byte. Lines are strict UTF-8 of characters up to U+FFFF (the game's decoder reads
// one- to three-byte forms).
//   text pack:        one text per literal line, text id = literal index; written as s32 count,
//                     the texts' s32 end offsets, then their bytes (all little-endian).
//   byte-array pack:  one entry per literal line (at most 255 of at most 255 bytes); written as u8
//                     count, then u8 length and the bytes of each.
#pragma once

#include <string>
#include <string_view>

namespace tools {

[[nodiscard]] bool compileTextPack(std::string_view text, std::string_view fileName, std::string& out,
                                   std::string& error);
[[nodiscard]] bool compileByteArrayPack(std::string_view text, std::string_view fileName, std::string& out,
                                        std::string& error);

}  // namespace tools

// Big-endian appends and reads, the byte order of the archive index, DataInputStream and
// DataOutputStream.
// Reads take the position to read at and never look past the end of the view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace archive {

inline void appendU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v & 0xFF);
}

inline void appendS32(std::string& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    out += static_cast<char>(v >> 24);
    out += static_cast<char>((v >> 16) & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

[[nodiscard]] inline std::optional<uint16_t> readU16(std::string_view bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 2) return std::nullopt;
    return static_cast<uint16_t>((static_cast<unsigned char>(bytes[at]) << 8) |
                                 static_cast<unsigned char>(bytes[at + 1]));
}

[[nodiscard]] inline std::optional<int32_t> readS32(std::string_view bytes, std::size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) return std::nullopt;
    uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return static_cast<int32_t>(v);
}

}  // namespace archive

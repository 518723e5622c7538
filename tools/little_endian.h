// Little-endian appends, the byte order of packs, nested arrays and text packs.
#pragma once

#include <cstdint>
#include <string>

namespace tools {

inline void appendU16LE(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void appendU32LE(std::string& out, uint32_t v) {
    appendU16LE(out, v & 0xFFFF);
    appendU16LE(out, v >> 16);
}

}  // namespace tools

// Test helper: a whole file's bytes (empty when it cannot be read).
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

inline std::vector<uint8_t> readFile(const char* path) {
    std::vector<uint8_t> bytes;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return bytes;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    return bytes;
}

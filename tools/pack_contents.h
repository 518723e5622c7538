// Reading packs back out of archive entries, for the content checker and `barpack --contents`:
// the pack layout of tools/pack_writer.h taken apart with every offset checked, LZMA items unpacked,
// and a one-line description of what an item holds (nested array shape, text count, sound format,
// sprite table sizes).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct PackItemView {
    bool empty = false;
    int kind = 0;
    bool lzma = false;
    std::size_t storedSize = 0;   // the item's bytes in the pack, kind byte included
    std::string payload;          // unpacked
};

// Finds an archive entry's bytes by name; nullopt when there is none.
using EntryLookup = std::function<std::optional<std::string_view>(const std::string& name)>;

// Pack `name` (sub-file 0 and its sub-files `name` + separator + k). Errors name the sub-file.
[[nodiscard]] bool readPack(const EntryLookup& lookup, const std::string& name, const std::string& separator,
                            std::vector<PackItemView>& items, std::string& error);

// True when `bytes` is laid out as a pack's sub-file 0 (header and offsets consistent with its size).
[[nodiscard]] bool looksLikePack(std::string_view bytes);

[[nodiscard]] bool readByteArrayPack(std::string_view bytes, std::vector<std::string>& entries, std::string& error);

[[nodiscard]] bool decompressLzmaAlone(std::string_view payload, std::string& out, std::string& error);

// A nested array's element count when `payload` is exactly one nested array of 32-bit (kind 2)
// values; the values go to `values`.
[[nodiscard]] bool readNestedInts(std::string_view payload, std::vector<int32_t>& values);

// A text pack's texts when `payload` is exactly one text pack.
[[nodiscard]] bool readTextPack(std::string_view payload, std::vector<std::string>& texts);

// "int[65]", "text pack: 158 texts", "WAVE 22050 Hz 16-bit mono, 0.180 s", "MIDI: 4 tracks",
// "sprite: 25 frames, 10 animations, 42 modules, 1 palettes",
// "Ogg Vorbis", "PNG 32x16", or "N bytes".
[[nodiscard]] std::string describePayload(std::string_view payload);

}  // namespace tools

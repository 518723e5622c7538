// The literal pool and text pack checks of the data file. Both tables are untrusted bytes: every
// count, length and offset is held against the bytes present; an LZMA item unpacks to its stated
// size under the game's cap, or not at all.
#include "app/host/data_file_tables.h"

#include <algorithm>
#include <cstdint>

#include "archive/big_endian.h"
#include "archive/lzma_alone_reader.h"
#include "archive/modified_utf8.h"

namespace {

// The code reads literals up to 352 and draws texts up to 157.
constexpr size_t kLiteralsNeeded = 353;
constexpr uint32_t kTextsNeeded = 158;
// Literals naming the text pack of language 0: prefix + language code.
constexpr size_t kTextPackPrefixLiteral = 132, kLanguage0Literal = 167;
// The game's own limit on one LZMA item's output.
constexpr uint32_t kMaxUnpackedSize = 16u << 20;

uint32_t le16(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t le32(std::string_view b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

// Item 0 of a pack's first sub-file: u16 item count, u16 sub-file count, the sub-files' first items
// (u16 each), then the sub-file's offsets; the item is a kind byte (above 126: LZMA) and its payload.
bool firstItem(std::string_view b, std::string& payload) {
    if (b.size() < 4) return false;
    const uint32_t subFiles = le16(b, 2);
    const size_t offsets = 4 + 2 * static_cast<size_t>(subFiles);
    if (le16(b, 0) == 0 || subFiles == 0 || offsets + 8 > b.size()) return false;
    const uint32_t start = le32(b, offsets), end = le32(b, offsets + 4);
    if (start < offsets + 8 || end <= start || end > b.size()) return false;
    const auto kind = static_cast<uint8_t>(b[start]);
    const std::string_view stored = b.substr(start + 1, end - start - 1);
    if (kind < 127) {
        payload.assign(stored);
        return true;
    }
    std::string error;
    return archive::unpackLzmaAlone(stored, kMaxUnpackedSize, payload, error);
}

}  // namespace

bool checkLiteralPool(std::string_view bin, std::vector<std::string>& pool, std::string& why) {
    const auto count = archive::readS32(bin, 0);
    if (!count) {
        why = "constants.bin has no literal count";
        return false;
    }
    size_t at = 4;
    for (int32_t i = 0; i < *count; ++i) {
        const auto length = archive::readU16(bin, at);
        std::u16string text;
        if (!length || bin.size() - at - 2 < *length || !archive::decodeModifiedUtf8(bin.substr(at + 2, *length), text)) {
            why = "constants.bin: literal " + std::to_string(i) + " of " + std::to_string(*count) +
                  " is cut short or malformed";
            return false;
        }
        at += 2 + *length;
        std::string narrow;
        for (char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        pool.push_back(std::move(narrow));
    }
    if (pool.size() < kLiteralsNeeded) {
        why = "constants.bin holds " + std::to_string(pool.size()) + " literals; the program reads " +
              std::to_string(kLiteralsNeeded);
        return false;
    }
    return true;
}

std::string textPackName(const std::vector<std::string>& pool) {
    return pool.size() > std::max(kTextPackPrefixLiteral, kLanguage0Literal)
               ? pool[kTextPackPrefixLiteral] + pool[kLanguage0Literal]
               : std::string();
}

bool checkTextPack(std::string_view subFile, const std::string& name, std::string& why) {
    std::string payload;
    if (!firstItem(subFile, payload) || payload.size() < 4) {
        why = "the text pack " + name + " holds no texts";
        return false;
    }
    // s32 count, the texts' end offsets, then their bytes; all little-endian.
    const uint32_t count = le32(payload, 0);
    const uint64_t base = 4 + 4ull * count;
    bool whole = base <= payload.size();
    for (uint32_t i = 0, start = 0; whole && i < count; ++i) {
        const uint32_t end = le32(payload, 4 + 4 * static_cast<size_t>(i));
        whole = end >= start && base + end <= payload.size();
        start = end;
    }
    if (!whole) {
        why = "the text pack " + name + " is cut short or malformed";
        return false;
    }
    if (count < kTextsNeeded) {
        why = "the text pack " + name + " holds " + std::to_string(count) + " texts; the game draws " +
              std::to_string(kTextsNeeded);
        return false;
    }
    return true;
}

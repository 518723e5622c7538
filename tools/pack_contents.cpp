// Pack, nested-array and text-pack readers for review and checking. They read our own output, but
// as untrusted bytes all the same: every count and offset is checked against the bytes present.
#include "tools/pack_contents.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "archive/lzma_alone_reader.h"
#include "sprites/cgame_packs.h"
#include "tools/sprite_info.h"

namespace tools {

namespace {

uint32_t u16At(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t u32At(std::string_view b, size_t at) { return u16At(b, at) | u16At(b, at + 2) << 16; }

// A sub-file's offset table of `count` + 1 entries at `at`: ascending, inside the sub-file, the
// last one its end.
bool readOffsets(std::string_view b, size_t at, size_t count, std::vector<uint32_t>& offsets) {
    if (at + (count + 1) * 4 > b.size()) return false;
    offsets.resize(count + 1);
    for (size_t i = 0; i <= count; ++i) offsets[i] = u32At(b, at + 4 * i);
    if (offsets[0] < at + (count + 1) * 4 || offsets[count] != b.size()) return false;
    return std::is_sorted(offsets.begin(), offsets.end());
}

struct Header {
    uint32_t count = 0;
    std::vector<uint32_t> first;
};

bool readHeader(std::string_view b, Header& h) {
    if (b.size() < 4) return false;
    h.count = u16At(b, 0);
    const uint32_t subFiles = u16At(b, 2);
    if (subFiles == 0 || subFiles > 0x7FFF || 4 + 2 * subFiles > b.size()) return false;
    h.first.resize(subFiles);
    for (uint32_t k = 0; k < subFiles; ++k) h.first[k] = u16At(b, 4 + 2 * k);
    if (h.first[0] != 0) return false;
    for (uint32_t k = 1; k < subFiles; ++k)
        if (h.first[k] < h.first[k - 1] || h.first[k] > h.count) return false;
    return true;
}

size_t itemsIn(const Header& h, size_t k) {
    return (k + 1 < h.first.size() ? h.first[k + 1] : h.count) - h.first[k];
}

// One nested array from `at`; false when it runs past the end or nests too deep.
bool skipNested(std::string_view b, size_t& at, int depth, std::string* shape) {
    if (depth > cGamePacks::kMaxNestedDepth || at >= b.size()) return false;
    const uint8_t type = static_cast<uint8_t>(b[at++]);
    const int kind = type & 7, width = type >> 4;
    size_t length;
    if (type & 8) {
        if (at + 2 > b.size()) return false;
        length = u16At(b, at);
        at += 2;
    } else {
        if (at >= b.size()) return false;
        length = static_cast<uint8_t>(b[at++]);
    }
    static const char* const kNames[] = {"byte", "short", "int"};
    if (kind <= 2) {
        const size_t size = kind == 0 || width == 0 ? 1 : kind == 1 || width == 1 ? 2 : 4;
        if (at + length * size > b.size()) return false;
        at += length * size;
        if (shape) *shape += std::string(kNames[kind]) + "[" + std::to_string(length) + "]";
        return true;
    }
    if (shape) *shape += "{";
    for (size_t i = 0; i < length; ++i) {
        if (shape && i) *shape += i < 4 ? ", " : "";
        std::string inner;
        if (!skipNested(b, at, depth + 1, shape && i < 4 ? &inner : nullptr)) return false;
        if (shape && i < 4) *shape += inner;
    }
    if (shape) *shape += length > 4 ? ", ... (" + std::to_string(length) + ")}" : "}";
    return true;
}

}  // namespace

bool looksLikePack(std::string_view bytes) {
    Header h;
    std::vector<uint32_t> offsets;
    return readHeader(bytes, h) && readOffsets(bytes, 4 + 2 * h.first.size(), itemsIn(h, 0), offsets);
}

bool decompressLzmaAlone(std::string_view payload, std::string& out, std::string& error) {
    return archive::unpackLzmaAlone(payload, static_cast<uint32_t>(cGamePacks::kMaxUnpackedSize), out, error);
}

bool readPack(const EntryLookup& lookup, const std::string& name, const std::string& separator,
              std::vector<PackItemView>& items, std::string& error) {
    const auto zero = lookup(name);
    Header h;
    if (!zero) {
        error = "pack \"" + name + "\" is not in the archive";
        return false;
    }
    if (!readHeader(*zero, h)) {
        error = "pack \"" + name + "\": its header is broken";
        return false;
    }
    items.clear();
    for (size_t k = 0; k < h.first.size(); ++k) {
        const std::string subName = k == 0 ? name : name + separator + std::to_string(k);
        const auto bytes = k == 0 ? zero : lookup(subName);
        std::vector<uint32_t> offsets;
        if (!bytes) {
            error = "sub-file \"" + subName + "\" is not in the archive";
            return false;
        }
        if (!readOffsets(*bytes, k == 0 ? 4 + 2 * h.first.size() : 0, itemsIn(h, k), offsets)) {
            error = "sub-file \"" + subName + "\": its offset table is broken";
            return false;
        }
        for (size_t j = 0; j + 1 < offsets.size(); ++j) {
            PackItemView item;
            const std::string_view stored = bytes->substr(offsets[j], offsets[j + 1] - offsets[j]);
            item.storedSize = stored.size();
            item.empty = stored.empty();
            if (!item.empty) {
                const uint8_t kind = static_cast<uint8_t>(stored[0]);
                item.lzma = kind > 126;
                item.kind = item.lzma ? kind - 127 : kind;
                if (!item.lzma) item.payload.assign(stored.substr(1));
                else if (!decompressLzmaAlone(stored.substr(1), item.payload, error)) {
                    error = "pack \"" + name + "\" item " + std::to_string(items.size()) + ": " + error;
                    return false;
                }
            }
            items.push_back(std::move(item));
        }
    }
    return true;
}

bool readByteArrayPack(std::string_view bytes, std::vector<std::string>& entries, std::string& error) {
    entries.clear();
    if (bytes.empty()) {
        error = "a byte-array pack without its count";
        return false;
    }
    size_t at = 1;
    for (uint32_t i = 0, n = static_cast<uint8_t>(bytes[0]); i < n; ++i) {
        if (at >= bytes.size() || at + 1 + static_cast<uint8_t>(bytes[at]) > bytes.size()) {
            error = "byte-array entry " + std::to_string(i) + " runs past the end";
            return false;
        }
        const size_t length = static_cast<uint8_t>(bytes[at]);
        entries.emplace_back(bytes.substr(at + 1, length));
        at += 1 + length;
    }
    if (at != bytes.size()) {
        error = std::to_string(bytes.size() - at) + " bytes after the last byte-array entry";
        return false;
    }
    return true;
}

bool readNestedInts(std::string_view payload, std::vector<int32_t>& values) {
    size_t at = 0;
    if (payload.empty() || (payload[0] & 7) != 2 || !skipNested(payload, at, 0, nullptr) || at != payload.size())
        return false;
    const int width = static_cast<uint8_t>(payload[0]) >> 4;
    const size_t start = payload[0] & 8 ? 3 : 2;
    const size_t size = width == 0 ? 1 : width == 1 ? 2 : 4;
    values.clear();
    for (size_t i = start; i + size <= payload.size(); i += size) {
        if (size == 1) values.push_back(static_cast<int8_t>(payload[i]));
        else if (size == 2) values.push_back(static_cast<int16_t>(u16At(payload, i)));
        else values.push_back(static_cast<int32_t>(u32At(payload, i)));
    }
    return true;
}

bool readTextPack(std::string_view payload, std::vector<std::string>& texts) {
    if (payload.size() < 4) return false;
    const uint32_t count = u32At(payload, 0);
    if (count > static_cast<uint32_t>(cGamePacks::kMaxTextCount) || 4 + 4ull * count > payload.size()) return false;
    const size_t base = 4 + 4 * static_cast<size_t>(count);
    texts.clear();
    uint32_t start = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t end = u32At(payload, 4 + 4 * i);
        if (end < start || base + end > payload.size()) return false;
        texts.emplace_back(payload.substr(base + start, end - start));
        start = end;
    }
    return base + start == payload.size();
}

std::string describePayload(std::string_view p) {
    char line[128];
    if (p.size() >= 44 && std::memcmp(p.data(), "RIFF", 4) == 0 && std::memcmp(p.data() + 8, "WAVE", 4) == 0) {
        const uint32_t rate = u32At(p, 24), bits = u16At(p, 34), channels = u16At(p, 22);
        const uint32_t bytesPerSecond = rate * channels * bits / 8;
        std::snprintf(line, sizeof line, "WAVE %u Hz %u-bit %s, %.3f s", rate, bits, channels == 1 ? "mono" : "stereo",
                      bytesPerSecond ? static_cast<double>(u32At(p, 40)) / bytesPerSecond : 0.0);
        return line;
    }
    if (p.size() >= 4 && std::memcmp(p.data(), "OggS", 4) == 0) return "Ogg Vorbis, " + std::to_string(p.size()) + " bytes";
    if (p.size() >= 14 && std::memcmp(p.data(), "MThd", 4) == 0) {
        std::snprintf(line, sizeof line, "MIDI format %u: %u tracks, %zu bytes", (static_cast<uint8_t>(p[8]) << 8) | static_cast<uint8_t>(p[9]),
                      (static_cast<uint8_t>(p[10]) << 8) | static_cast<uint8_t>(p[11]), p.size());
        return line;
    }
    if (p.size() >= 24 && std::memcmp(p.data(), "\x89PNG", 4) == 0) {
        const auto be = [&](size_t at) {
            return static_cast<uint32_t>(static_cast<uint8_t>(p[at])) << 24 | static_cast<uint8_t>(p[at + 1]) << 16 |
                   static_cast<uint8_t>(p[at + 2]) << 8 | static_cast<uint8_t>(p[at + 3]);
        };
        return "PNG " + std::to_string(be(16)) + "x" + std::to_string(be(20));
    }
    std::vector<std::string> texts;
    if (readTextPack(p, texts)) return "text pack: " + std::to_string(texts.size()) + " texts";
    size_t at = 0;
    std::string shape;
    if (!p.empty() && skipNested(p, at, 0, &shape) && at == p.size()) return shape;
    SpriteCounts sprite;
    std::string notSprite;
    if (countSprite(std::string(p), sprite, notSprite) && sprite.bytesRead == p.size()) {
        std::snprintf(line, sizeof line, "sprite: %zu frames, %zu animations, %d modules, %d palettes",
                      sprite.frameModules.size(), sprite.animationFrames.size(), sprite.modules, sprite.palettes);
        return line;
    }
    return std::to_string(p.size()) + " bytes";
}

}  // namespace tools

// Text encodings the archive uses: strict UTF-8 in (asset files, file names), the "modified UTF-8"
// of readUTF and writeUTF out (U+0000 as C0 80, supplementary characters as two 3-byte surrogates).
// The one coding of modified UTF-8: the data streams, the strings' encoder, the archive index and
// the tools all use it, so what the tools write decodes on the device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace archive {

// readUTF's length prefix is a u16.
inline constexpr std::size_t kMaxUtfBytes = 65535;

// Appends the modified UTF-8 form of the UTF-8 text `utf8` to `out`. On malformed UTF-8 (overlong
// forms, encoded surrogates, values above U+10FFFF, cut sequences) returns false, leaves `out` as
// it was and sets `error` to a message naming the byte position.
[[nodiscard]] bool appendModifiedUtf8(std::string_view utf8, std::string& out, std::string& error);

// Decodes strict UTF-8 into code points (same rules as above); for checks that need characters.
[[nodiscard]] bool decodeUtf8(std::string_view utf8, std::u32string& out, std::string& error);

// The bytes one UTF-16 unit takes in modified UTF-8: 1 for U+0001..U+007F, 2 up to U+07FF (U+0000
// included, so no text holds a zero byte), else 3 (a surrogate is encoded on its own).
[[nodiscard]] constexpr int modifiedUtf8Length(uint16_t unit) {
    return unit >= 1 && unit <= 0x7F ? 1 : unit < 0x800 ? 2 : 3;
}

// Writes the modified UTF-8 form of one UTF-16 unit, byte by byte, through put(uint8_t).
template <class Put>
void putModifiedUtf8(uint16_t unit, Put put) {
    switch (modifiedUtf8Length(unit)) {
        case 1:
            put(static_cast<uint8_t>(unit));
            break;
        case 2:
            put(static_cast<uint8_t>(0xC0 | (unit >> 6)));
            put(static_cast<uint8_t>(0x80 | (unit & 0x3F)));
            break;
        default:
            put(static_cast<uint8_t>(0xE0 | (unit >> 12)));
            put(static_cast<uint8_t>(0x80 | ((unit >> 6) & 0x3F)));
            put(static_cast<uint8_t>(0x80 | (unit & 0x3F)));
            break;
    }
}

// Decodes the n bytes at `bytes` as readUTF does, handing each UTF-16 unit to emit(uint16_t). False
// where readUTF raises UTFDataFormatException: a lead nibble of 8..11 or 15, or a form whose
// continuation bytes are missing or wrong within the n bytes (whatever lies after them).
template <class Emit>
[[nodiscard]] bool forEachModifiedUtf8Unit(const uint8_t* bytes, std::size_t n, Emit emit) {
    const auto continues = [](uint8_t b) { return (b & 0xC0) == 0x80; };
    std::size_t i = 0;
    while (i < n) {
        const uint32_t c = bytes[i];
        if (c < 0x80) {
            emit(static_cast<uint16_t>(c));
            i += 1;
        } else if ((c >> 5) == 0x6) {  // 110xxxxx
            if (n - i < 2 || !continues(bytes[i + 1])) return false;
            emit(static_cast<uint16_t>(((c & 0x1F) << 6) | (bytes[i + 1] & 0x3Fu)));
            i += 2;
        } else if ((c >> 4) == 0xE) {  // 1110xxxx
            if (n - i < 3 || !continues(bytes[i + 1]) || !continues(bytes[i + 2])) return false;
            emit(static_cast<uint16_t>(((c & 0x0F) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) | (bytes[i + 2] & 0x3Fu)));
            i += 3;
        } else {
            return false;  // a continuation byte or a four-byte lead
        }
    }
    return true;
}

// Decodes modified UTF-8 as readUTF does; false (out unchanged) where readUTF raises
// UTFDataFormatException.
[[nodiscard]] bool decodeModifiedUtf8(std::string_view bytes, std::u16string& out);

// UTF-8 for display: control characters and unpaired surrogates written as \uXXXX, a backslash
// doubled, so every printed name reads back unambiguously.
[[nodiscard]] std::string printableUtf16(std::u16string_view units);

}  // namespace archive

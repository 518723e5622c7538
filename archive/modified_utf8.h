// Text encodings the archive uses: strict UTF-8 in (asset files, file names), the "modified UTF-8"
// that DataInputStream.readUTF accepts out (U+0000 as C0 80, supplementary characters as two
// 3-byte surrogates). Decoding follows readUTF exactly, so what decodes here decodes on the device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tools {

// readUTF's length prefix is a u16.
inline constexpr std::size_t kMaxUtfBytes = 65535;

// Appends the modified UTF-8 form of the UTF-8 text `utf8` to `out`. On malformed UTF-8 (overlong
// forms, encoded surrogates, values above U+10FFFF, cut sequences) returns false, leaves `out` as
// it was and sets `error` to a message naming the byte position.
[[nodiscard]] bool appendModifiedUtf8(std::string_view utf8, std::string& out, std::string& error);

// Decodes strict UTF-8 into code points (same rules as above); for checks that need characters.
[[nodiscard]] bool decodeUtf8(std::string_view utf8, std::u32string& out, std::string& error);

// Decodes modified UTF-8 as readUTF does; false where readUTF raises UTFDataFormatException.
[[nodiscard]] bool decodeModifiedUtf8(std::string_view bytes, std::u16string& out);

// UTF-8 for display: control characters and unpaired surrogates written as \uXXXX, a backslash
// doubled, so every printed name reads back unambiguously.
[[nodiscard]] std::string printableUtf16(std::u16string_view units);

}  // namespace tools

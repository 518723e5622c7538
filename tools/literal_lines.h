// The line format of constants.txt, shared by every text source the compiler reads (constants, text
// packs, byte-array packs). UTF-8, one literal per line (LF or CR LF; the last line end optional):
//   - every line is a literal, an empty line included (the empty text);
//   - a line starting with '#' is a comment; a literal starting with '#' is written "\#";
//   - a comment "# N: ..." or "# N-M: ..." numbers the literal after it, which must be literal N
//     (so a missing or extra line is caught where it happens, not by a shifted id);
//   - escapes: "\n" newline, "\\" backslash, "\#" '#'; where raw bytes are allowed also "\xHH", one
//     byte of that value (for bytes that are not UTF-8); a backslash before anything else is an error.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tools {

struct LiteralSyntax {
    const char* noun;        // what a literal is called in errors: "literal", "text", "entry"
    bool rawByteEscapes;     // "\xHH" allowed
};

// Calls `take` with each literal's raw line and its unescaped bytes, in order. An error, from the
// escapes or from `take` (its message in `why`), reads "FILE:LINE: NOUN N: message".
using TakeLiteral = std::function<bool(std::string_view rawLine, std::string& literal, std::string& why)>;
[[nodiscard]] bool readLiteralLines(std::string_view text, std::string_view fileName, LiteralSyntax syntax,
                                    const TakeLiteral& take, std::string& error);

}  // namespace tools

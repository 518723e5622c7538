// constants.txt -> constants.bin: the string literals of the compiled code, literal i on the i-th
// literal line. Output: s32 count, then each literal as u16 length + modified UTF-8, big-endian.
// The text format is the contract with whoever edits assets/constants.txt; keep it documented there.
//
// constants.txt, UTF-8, one literal per line (LF or CR LF line ends; a last line end is optional):
//   - every line is a literal, an empty line included (the empty text);
//   - a line starting with '#' is a comment and not a literal; a literal starting with '#' is
//     written "\#";
//   - escapes: "\n" newline, "\\" backslash, "\#" '#'; a backslash before anything else is an error;
//   - each literal is at most 65535 bytes once encoded.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Compiles `text` (the contents of `fileName`, named in errors as "FILE:LINE: ...") into `bin`.
[[nodiscard]] bool compileConstants(std::string_view text, std::string_view fileName, std::string& bin,
                                    std::string& error);

}  // namespace tools

// constants.txt -> constants.bin: the string literals of the compiled code, literal i on the i-th
// literal line. Output: s32 count, then each literal as u16 length + modified UTF-8, big-endian.
// The text format is the contract with whoever edits assets/constants.txt; keep it documented there.
// The line format is tools/literal_lines.h's (no raw-byte escapes); each literal is at most 65535
// bytes once encoded.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Compiles `text` (the contents of `fileName`, named in errors as "FILE:LINE: ...") into `bin`.
[[nodiscard]] bool compileConstants(std::string_view text, std::string_view fileName, std::string& bin,
                                    std::string& error);

// Literal `index` of constants.txt's `text` as UTF-8 (for the tools that must agree with the code on
// a literal, such as a pack's sub-file separator).
[[nodiscard]] bool findConstant(std::string_view text, std::string_view fileName, std::size_t index,
                                std::string& literal, std::string& error);

}  // namespace tools

// app.jad, the application descriptor: checked so that the device's reader (which takes the key of
// a line up to the next ':' anywhere in the text) sees exactly the lines written, and re-encoded to
// the ISO-8859-1 bytes the device reads one byte to one character.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// `text` is the descriptor as authored, in UTF-8. Every line must hold a ':' and no line may be
// blank (a line end after the last line is fine; LF or CR LF); every character must be at most
// U+00FF. On success `latin1` holds the bytes to pack; errors read "FILE:LINE: ...".
[[nodiscard]] bool checkAppDescriptor(std::string_view text, std::string_view fileName, std::string& latin1,
                                      std::string& error);

}  // namespace tools

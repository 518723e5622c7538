// The descriptor check. Line ends are kept byte for byte; only characters are re-encoded, so the
// packed descriptor is the authored one in ISO-8859-1.
#include "tools/jad_check.h"

#include <cstdio>

#include "archive/modified_utf8.h"

namespace tools {

bool checkAppDescriptor(std::string_view text, std::string_view fileName, std::string& latin1, std::string& error) {
    std::string result;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', pos);
        const bool hasEnd = end != std::string_view::npos;
        if (!hasEnd) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        const auto fail = [&](const std::string& message) {
            error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + message;
            return false;
        };
        std::string_view body = line;
        if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
        if (body.empty()) return fail("blank line (every line is \"key: value\")");
        if (body.find(':') == std::string_view::npos) return fail("no ':' (every line is \"key: value\")");

        std::u32string chars;
        std::string why;
        if (!archive::decodeUtf8(line, chars, why)) return fail(why);
        for (char32_t c : chars) {
            if (c > 0xFF) {
                char code[16];
                std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
                return fail(std::string("character ") + code + " is not in ISO-8859-1");
            }
            result += static_cast<char>(c);
        }
        if (hasEnd) result += '\n';
    }
    latin1 = std::move(result);
    return true;
}

}  // namespace tools

// The constants.txt reader: splits lines, resolves escapes, encodes each literal in readUTF form.
// A literal's index is its position among literal lines only; comments never shift the numbering.
#include "tools/constants_compiler.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "tools/big_endian.h"
#include "tools/modified_utf8.h"

namespace tools {

namespace {

// Resolves the escapes of one literal line; false on a backslash that starts no escape.
bool unescape(std::string_view line, std::string& literal, std::string& error) {
    literal.clear();
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            literal += line[i];
            continue;
        }
        if (i + 1 == line.size()) {
            error = "backslash at the end of the line (write \\\\ for a backslash)";
            return false;
        }
        const char next = line[++i];
        switch (next) {
        case 'n': literal += '\n'; break;
        case '\\': literal += '\\'; break;
        case '#': literal += '#'; break;
        default:
            error = std::string("unknown escape \\") + next + " (only \\n, \\\\ and \\# exist)";
            return false;
        }
    }
    return true;
}

}  // namespace

bool compileConstants(std::string_view text, std::string_view fileName, std::string& bin, std::string& error) {
    std::vector<std::string> encoded;
    std::string literal;
    std::string why;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '#') continue;

        const auto fail = [&](const std::string& message) {
            error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": literal " +
                    std::to_string(encoded.size()) + ": " + message;
            return false;
        };
        if (!unescape(line, literal, why)) return fail(why);
        std::string utf;
        if (!appendModifiedUtf8(literal, utf, why)) return fail(why);
        if (utf.size() > kMaxUtfBytes) {
            return fail(std::to_string(utf.size()) + " bytes encoded, at most " + std::to_string(kMaxUtfBytes) + " fit");
        }
        encoded.push_back(std::move(utf));
    }
    if (encoded.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        error = std::string(fileName) + ": " + std::to_string(encoded.size()) + " literals do not fit the s32 count";
        return false;
    }

    bin.clear();
    appendS32(bin, static_cast<int32_t>(encoded.size()));
    for (const std::string& utf : encoded) {
        appendU16(bin, static_cast<uint16_t>(utf.size()));
        bin += utf;
    }
    return true;
}

}  // namespace tools

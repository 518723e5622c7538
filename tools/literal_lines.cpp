// Splits a literal file into lines and resolves the escapes. A literal's index is its position among
// literal lines only; comments never shift the numbering.
#include "tools/literal_lines.h"

#include <optional>
#include <utility>

namespace tools {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Resolves the escapes of one literal line; false on a backslash that starts no escape.
bool unescape(std::string_view line, bool rawBytes, std::string& literal, std::string& error) {
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
        case 'n': literal += '\n'; continue;
        case '\\': literal += '\\'; continue;
        case '#': literal += '#'; continue;
        default: break;
        }
        if (rawBytes && next == 'x' && i + 2 < line.size() && hexDigit(line[i + 1]) >= 0 && hexDigit(line[i + 2]) >= 0) {
            literal += static_cast<char>(hexDigit(line[i + 1]) * 16 + hexDigit(line[i + 2]));
            i += 2;
            continue;
        }
        error = std::string("unknown escape \\") + next +
                (rawBytes ? " (only \\n, \\\\, \\# and \\xHH exist)" : " (only \\n, \\\\ and \\# exist)");
        return false;
    }
    return true;
}

// "# N: ..." and "# N-M: ...": the comment names the literal that follows it.
bool commentNumber(std::string_view line, std::size_t& number) {
    std::size_t i = 2;
    if (line.size() < 4 || line[1] != ' ' || line[i] < '0' || line[i] > '9') return false;
    number = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && number < 1000000; ++i) number = number * 10 + (line[i] - '0');
    if (i < line.size() && line[i] == '-') {
        const std::size_t dash = ++i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
        if (i == dash) return false;
    }
    return i < line.size() && line[i] == ':';
}

}  // namespace

bool readLiteralLines(std::string_view text, std::string_view fileName, LiteralSyntax syntax,
                      const TakeLiteral& take, std::string& error) {
    std::string literal;
    std::string why;
    std::size_t lineNumber = 0;
    std::size_t index = 0;
    std::size_t pos = 0;
    std::optional<std::pair<std::size_t, std::size_t>> numbered;   // the last "# N:" comment: N, its line
    while (pos < text.size()) {
        ++lineNumber;
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line.front() == '#') {
            std::size_t number = 0;
            if (commentNumber(line, number)) numbered = {number, lineNumber};
            continue;
        }
        if (numbered && numbered->first != index) {
            error = std::string(fileName) + ":" + std::to_string(numbered->second) + ": the comment numbers " +
                    std::to_string(numbered->first) + ", but the " + syntax.noun + " after it is " + syntax.noun + " " +
                    std::to_string(index) + " (a line is missing or extra above it)";
            return false;
        }
        numbered.reset();
        if (!unescape(line, syntax.rawByteEscapes, literal, why) || !take(line, literal, why)) {
            error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + syntax.noun + " " +
                    std::to_string(index) + ": " + why;
            return false;
        }
        ++index;
    }
    return true;
}

}  // namespace tools

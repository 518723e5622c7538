// The constants.txt compiler: each literal of the shared line format in readUTF form.
#include "tools/constants_compiler.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "archive/big_endian.h"
#include "archive/modified_utf8.h"
#include "tools/literal_lines.h"

namespace tools {

bool compileConstants(std::string_view text, std::string_view fileName, std::string& bin, std::string& error) {
    std::vector<std::string> encoded;
    const auto encode = [&](std::string_view, std::string& literal, std::string& why) {
        std::string utf;
        if (!archive::appendModifiedUtf8(literal, utf, why)) return false;
        if (utf.size() > archive::kMaxUtfBytes) {
            why = std::to_string(utf.size()) + " bytes encoded, at most " + std::to_string(archive::kMaxUtfBytes) +
                  " fit";
            return false;
        }
        encoded.push_back(std::move(utf));
        return true;
    };
    if (!readLiteralLines(text, fileName, {"literal", false}, encode, error)) return false;
    if (encoded.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        error = std::string(fileName) + ": " + std::to_string(encoded.size()) + " literals do not fit the s32 count";
        return false;
    }

    bin.clear();
    archive::appendS32(bin, static_cast<int32_t>(encoded.size()));
    for (const std::string& utf : encoded) {
        archive::appendU16(bin, static_cast<uint16_t>(utf.size()));
        bin += utf;
    }
    return true;
}

bool findConstant(std::string_view text, std::string_view fileName, std::size_t index, std::string& literal,
                  std::string& error) {
    std::size_t seen = 0;
    bool found = false;
    const auto pick = [&](std::string_view, std::string& each, std::string&) {
        if (seen++ == index) {
            literal = each;
            found = true;
        }
        return true;
    };
    if (!readLiteralLines(text, fileName, {"literal", false}, pick, error)) return false;
    if (!found) error = std::string(fileName) + ": has no literal " + std::to_string(index);
    return found;
}

}  // namespace tools

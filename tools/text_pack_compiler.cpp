// Both packs collect their literals first, checked line by line, then lay out the bytes.
#include "tools/text_pack_compiler.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "archive/modified_utf8.h"
#include "sprites/cgame_packs.h"
#include "tools/literal_lines.h"
#include "tools/little_endian.h"

namespace tools {

namespace {

// The line's own text must be UTF-8 the game can decode; escapes (ASCII) pass through.
bool checkLine(std::string_view rawLine, std::string& why) {
    std::u32string chars;
    if (!archive::decodeUtf8(rawLine, chars, why)) return false;
    for (const char32_t c : chars) {
        if (c > 0xFFFF) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%X", static_cast<unsigned>(c));
            why = std::string("character ") + code + " is beyond U+FFFF (the game reads up to three-byte forms)";
            return false;
        }
    }
    return true;
}

bool collect(std::string_view text, std::string_view fileName, const char* noun, std::size_t maxBytes,
             std::vector<std::string>& literals, std::string& error) {
    const auto take = [&](std::string_view rawLine, std::string& literal, std::string& why) {
        if (!checkLine(rawLine, why)) return false;
        if (literal.size() > maxBytes) {
            why = std::to_string(literal.size()) + " bytes, at most " + std::to_string(maxBytes) + " fit";
            return false;
        }
        literals.push_back(literal);
        return true;
    };
    return readLiteralLines(text, fileName, {noun, true}, take, error);
}

}  // namespace

bool compileTextPack(std::string_view text, std::string_view fileName, std::string& out, std::string& error) {
    std::vector<std::string> texts;
    if (!collect(text, fileName, "text", cGamePacks::kMaxTextBytes, texts, error)) return false;
    std::size_t total = 0;
    for (const std::string& t : texts) total += t.size();
    if (texts.size() > static_cast<std::size_t>(cGamePacks::kMaxTextCount) ||
        total > static_cast<std::size_t>(cGamePacks::kMaxTextBytes)) {
        error = std::string(fileName) + ": " + std::to_string(texts.size()) + " texts of " + std::to_string(total) +
                " bytes; at most " + std::to_string(cGamePacks::kMaxTextCount) + " texts of " +
                std::to_string(cGamePacks::kMaxTextBytes) + " bytes are read";
        return false;
    }
    out.clear();
    appendU32LE(out, static_cast<uint32_t>(texts.size()));
    uint32_t end = 0;
    for (const std::string& t : texts) appendU32LE(out, end += static_cast<uint32_t>(t.size()));
    for (const std::string& t : texts) out += t;
    return true;
}

bool compileByteArrayPack(std::string_view text, std::string_view fileName, std::string& out, std::string& error) {
    std::vector<std::string> entries;
    if (!collect(text, fileName, "entry", 255, entries, error)) return false;
    if (entries.size() > 255) {
        error = std::string(fileName) + ": " + std::to_string(entries.size()) + " entries, at most 255 fit";
        return false;
    }
    out.clear();
    out += static_cast<char>(entries.size());
    for (const std::string& e : entries) {
        out += static_cast<char>(e.size());
        out += e;
    }
    return true;
}

}  // namespace tools

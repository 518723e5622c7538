// Writes the type byte (kind | 8 for a u16 length | stored width << 4), the length and the elements.
#include "tools/nested_array_compiler.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "sprites/cgame_packs.h"
#include "tools/little_endian.h"

namespace tools {

namespace {

using nlohmann::json;

struct ElementKind {
    const char* key;
    int kind;             // the type byte's bits 0..2
    int64_t min, max;     // values the JSON may give
    int maxWidth;         // bytes per stored element
};
const ElementKind kKinds[] = {
    {"bytes", 0, -128, 255, 1},
    {"shorts", 1, -32768, 65535, 2},
    {"ints", 2, INT32_MIN, UINT32_MAX, 4},
    {"arrays", 3, 0, 0, 0},
};

// The smallest stored width that gives back every value once the reader sign-extends it.
int smallestWidth(const std::vector<int64_t>& values, int maxWidth) {
    int width = 1;
    for (const int64_t v : values) {
        const int64_t asInt = static_cast<int32_t>(static_cast<uint32_t>(v));
        if (asInt < -32768 || asInt > 32767) return maxWidth;
        if (asInt < -128 || asInt > 127) width = 2;
    }
    return std::min(width, maxWidth);
}

// Whether a value survives being stored in `width` bytes and sign-extended back (bytes and 16-bit
// shorts are kept as they are).
bool fits(int64_t v, int width, int kind) {
    if (kind == 0 || width == 4 || (kind == 1 && width == 2)) return true;
    const int64_t asInt = static_cast<int32_t>(static_cast<uint32_t>(v));
    return width == 1 ? asInt >= -128 && asInt <= 127 : asInt >= -32768 && asInt <= 32767;
}

// The type byte's bits 4..7 for a stored width.
int widthCode(int width) { return width == 1 ? 0 : width == 2 ? 1 : 2; }

bool compileNode(const json& node, const std::string& where, int depth, std::string& out, std::string& error) {
    const auto fail = [&](const std::string& message) {
        error = where + ": " + message;
        return false;
    };
    if (!node.is_object()) return fail("a nested array is an object with \"bytes\", \"shorts\", \"ints\" or \"arrays\"");
    const ElementKind* kind = nullptr;
    for (const auto& [key, value] : node.items()) {
        (void)value;
        if (key == "width" || key == "wideLength") continue;
        const ElementKind* match = nullptr;
        for (const ElementKind& k : kKinds)
            if (key == k.key) match = &k;
        if (!match) return fail("unknown key \"" + key + "\"");
        if (kind) return fail("more than one of \"bytes\", \"shorts\", \"ints\", \"arrays\"");
        kind = match;
    }
    if (!kind) return fail("one of \"bytes\", \"shorts\", \"ints\" or \"arrays\" is needed");
    const json& elements = node.at(kind->key);
    if (!elements.is_array()) return fail(std::string("\"") + kind->key + "\" is not a list");
    if (elements.size() > 65535) return fail(std::to_string(elements.size()) + " elements, at most 65535 fit");
    bool wideLength = elements.size() > 255;
    if (node.contains("wideLength")) {
        if (!node["wideLength"].is_boolean()) return fail("\"wideLength\" is not true or false");
        wideLength = wideLength || node["wideLength"].get<bool>();
    }
    const auto length = static_cast<uint32_t>(elements.size());
    const auto writeHead = [&](int typeByte) {
        out += static_cast<char>(typeByte | (wideLength ? 8 : 0));
        if (wideLength) appendU16LE(out, length);
        else out += static_cast<char>(length);
    };

    if (kind->kind == 3) {
        if (node.contains("width")) return fail("\"width\" is for bytes, shorts and ints");
        if (depth >= cGamePacks::kMaxNestedDepth)
            return fail("arrays nested deeper than " + std::to_string(cGamePacks::kMaxNestedDepth));
        writeHead(3);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const std::string inner = where + "." + kind->key + "[" + std::to_string(i) + "]";
            if (!compileNode(elements[i], inner, depth + 1, out, error)) return false;
        }
        return true;
    }

    std::vector<int64_t> values;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const json& v = elements[i];
        if (!v.is_number_integer() || v.get<int64_t>() < kind->min ||
            (v.is_number_unsigned() ? v.get<uint64_t>() > static_cast<uint64_t>(kind->max) : v.get<int64_t>() > kind->max))
            return fail(std::string(kind->key) + "[" + std::to_string(i) + "] is not an integer from " +
                        std::to_string(kind->min) + " to " + std::to_string(kind->max));
        values.push_back(v.get<int64_t>());
    }
    int width = smallestWidth(values, kind->maxWidth);
    if (kind->kind == 0) width = 1;
    if (node.contains("width")) {
        const json& w = node["width"];
        if (!w.is_number_integer() || (w != 1 && w != 2 && w != 4) || w.get<int>() > kind->maxWidth)
            return fail(std::string("\"width\" of ") + kind->key + " is 1" +
                        (kind->maxWidth >= 2 ? ", 2" : "") + (kind->maxWidth == 4 ? " or 4" : ""));
        width = w.get<int>();
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!fits(values[i], width, kind->kind))
                return fail(std::string(kind->key) + "[" + std::to_string(i) + "] does not fit " +
                            std::to_string(width) + " bytes");
    }
    writeHead(kind->kind | widthCode(width) << 4);
    for (const int64_t v : values) {
        const auto u = static_cast<uint32_t>(v);
        if (width == 1) out += static_cast<char>(u & 0xFF);
        else if (width == 2) appendU16LE(out, u & 0xFFFF);
        else appendU32LE(out, u);
    }
    return true;
}

}  // namespace

bool compileNestedArray(const json& node, const std::string& where, std::string& out, std::string& error) {
    return compileNode(node, where, 0, out, error);
}

}  // namespace tools

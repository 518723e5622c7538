// Strict UTF-8 decoding and the readUTF form. Every byte sequence either decodes to exactly one
// reading or is refused with its position; nothing is replaced or skipped silently.
#include "archive/modified_utf8.h"

#include <cstdio>

namespace archive {

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

std::string positionError(std::size_t at, const char* what) {
    return "invalid UTF-8 at byte " + std::to_string(at) + ": " + what;
}

void appendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool decodeUtf8(std::string_view utf8, std::u32string& out, std::string& error) {
    std::u32string result;
    result.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length;
        char32_t cp;
        char32_t smallest;
        if (lead < 0x80) {
            result += lead;
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, cp = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07, smallest = 0x10000;
        } else {
            error = positionError(i, "byte cannot start a character");
            return false;
        }
        if (utf8.size() - i < length) {
            error = positionError(i, "character cut short");
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if (!isContinuation(b)) {
                error = positionError(i, "character cut short");
                return false;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < smallest) {
            error = positionError(i, "overlong form");
            return false;
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            error = positionError(i, "encoded surrogate");
            return false;
        }
        if (cp > 0x10FFFF) {
            error = positionError(i, "above U+10FFFF");
            return false;
        }
        result += cp;
        i += length;
    }
    out = std::move(result);
    return true;
}

bool appendModifiedUtf8(std::string_view utf8, std::string& out, std::string& error) {
    std::u32string chars;
    if (!decodeUtf8(utf8, chars, error)) return false;
    for (char32_t cp : chars) {
        const auto put = [&out](uint8_t b) { out += static_cast<char>(b); };
        if (cp < 0x10000) {
            putModifiedUtf8(static_cast<uint16_t>(cp), put);
        } else {
            const char32_t v = cp - 0x10000;
            putModifiedUtf8(static_cast<uint16_t>(0xD800 | (v >> 10)), put);
            putModifiedUtf8(static_cast<uint16_t>(0xDC00 | (v & 0x3FF)), put);
        }
    }
    return true;
}

bool decodeModifiedUtf8(std::string_view bytes, std::u16string& out) {
    std::u16string result;
    const bool ok = forEachModifiedUtf8Unit(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                            [&](uint16_t unit) { result += static_cast<char16_t>(unit); });
    if (ok) out = std::move(result);
    return ok;
}

std::string printableUtf16(std::u16string_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(0x10000 + ((static_cast<char32_t>(u - 0xD800) << 10) | (units[i + 1] - 0xDC00)), out);
            ++i;
        } else if (u < 0x20 || u == 0x7F || (u >= 0xD800 && u <= 0xDFFF)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(u));
            out += escaped;
        } else if (u == u'\\') {
            out += "\\\\";
        } else {
            appendUtf8(u, out);
        }
    }
    return out;
}

}  // namespace archive

// Test helpers for texts: make Strings and byte arrays from literals, read units back.
#pragma once

#include <initializer_list>
#include <string>

#include "runtime/array.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

inline String* str(const char* text) { return String::fromCString(text); }

inline String* wide(const std::u16string& units) {
    return String::fromUnits(reinterpret_cast<const jchar*>(units.data()), static_cast<jint>(units.size()));
}

inline std::u16string unitsOf(const jchar* chars, jint n) {
    std::u16string out;
    for (jint i = 0; i < n; ++i) out += static_cast<char16_t>(chars[i]);
    return out;
}
inline std::u16string unitsOf(String* s) { return s ? unitsOf(s->chars, s->length()) : u"<null>"; }
inline std::u16string unitsOf(StringBuffer* b) { return b ? unitsOf(b->chars, b->length) : u"<null>"; }

// Texts of units below 256 as narrow strings, for readable expectations.
inline std::string narrow(const std::u16string& units) {
    std::string out;
    for (char16_t u : units) out += u < 256 ? static_cast<char>(u) : '?';
    return out;
}
inline std::string narrow(String* s) { return s ? narrow(unitsOf(s)) : "<null>"; }
inline std::string narrow(StringBuffer* b) { return b ? narrow(unitsOf(b)) : "<null>"; }

inline ByteArray* bytesOf(std::initializer_list<int> values) {
    ByteArray* bytes = Runtime::newByteArray(static_cast<jint>(values.size()));
    jint i = 0;
    for (int v : values) bytes->elements()[i++] = static_cast<jbyte>(v);
    return bytes;
}

inline std::string hexOf(ByteArray* bytes) {
    if (!bytes) return "<null>";
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (jint i = 0; i < bytes->length; ++i) {
        const auto b = static_cast<uint8_t>(bytes->elements()[i]);
        if (i) out += ' ';
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

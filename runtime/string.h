// String (class id 2): immutable 16-bit units with a terminating zero kept behind the last one;
// count = length + 1. Up to 14 units live in the inline buffer; longer texts in a native-heap block
// owned by the `chars` field, so compaction can move it. Never keep `chars` across an allocation.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/object.h"

class ByteArray;
class CharArray;
class StringBuffer;

class String final : public Object {
public:
    static constexpr jint kInlineUnits = 16;
    // count = length + 1 must stay a jint.
    static constexpr jint kMaxLength = INT32_MAX - 1;

    String() { setClassId(CID_String); }

    void destroy() override;
    bool equals(Object* other) override;
    String* toString() override { return this; }
    // 31 * h + unit over every stored unit, the terminator too: 'a' hashes to 3007. Computed once
    // and kept, as Java keeps it (a text that hashes to 0 is hashed again each time).
    jint hashCode() override;

    // Construction. Each sets count and chars by the storage rule; a String is never re-filled.
    // Storage for n units plus the terminator; content all zero. A length that cannot be stored
    // (above kMaxLength) is logged and leaves the empty text: false, and the caller writes nothing.
    [[nodiscard]] bool initWithLength(jint n);
    // A copy of n units. The units may lie in the movable heap: they are staged first if so.
    void initFromUnits(const jchar* units, jint n);
    void initFromUnitsAt(const jchar* units, jint offset, jint n) { initFromUnits(units ? units + offset : nullptr, n); }
    // The units of a NUL-terminated wide text.
    void initFromWide(const jchar* text);
    // Each byte of the NUL-terminated narrow text widened to one unit.
    void initFromCString(const char* text);
    void initEmpty() { (void)initWithLength(0); }
    // String(String): always a native-heap block, short texts too.
    void initCopy(String* other);
    // Units [offset, offset + n) of the array, the range cut to the array.
    void initFromChars(CharArray* array, jint offset, jint n);
    void initFromCharArray(CharArray* array);
    // ISO-8859-1: each byte of [offset, offset + n) one unit, the range cut to the array.
    void initFromBytes(ByteArray* bytes, jint offset, jint n);
    void initFromByteArray(ByteArray* bytes);
    // Decoded by encoding name: null or "ISO-8859-1" Latin-1, "UTF-8"/"UTF8" (any case) modified
    // UTF-8, "SJIS" raw double-byte codes; any other name gives the empty text.
    void initFromBytesEnc(ByteArray* bytes, jint offset, jint n, String* enc);
    void initFromBytesAllEnc(ByteArray* bytes, String* enc);
    void initFromStringBuffer(StringBuffer* buffer);

    [[nodiscard]] static String* fromCString(const char* text);
    // `units` must not lie in the movable heap: the String's own allocation may move such data
    // before it is copied (take a String or array and use initFromChars / initFromStringBuffer).
    [[nodiscard]] static String* fromUnits(const jchar* units, jint n);

    [[nodiscard]] jint length() const { return count > 0 ? count - 1 : 0; }
    // No index check beyond the storage: an index outside answers 0.
    [[nodiscard]] jchar charAt(jint index) const { return index >= 0 && index < length() ? chars[index] : 0; }

    // Comparison. compareTo walks the terminators too, so a proper prefix answers minus the other's
    // next unit ('ab' against 'abc' is -99).
    [[nodiscard]] jint compareTo(String* other);
    [[nodiscard]] bool equalsIgnoreCase(String* other);
    // Against a narrow text, each byte read as a signed 8-bit value.
    [[nodiscard]] bool equalsCString(const char* text) const;
    [[nodiscard]] bool equalsIgnoreCaseCString(const char* text) const;
    [[nodiscard]] bool regionMatches(bool ignoreCase, jint toffset, String* other, jint ooffset, jint n);
    [[nodiscard]] bool startsWithAt(String* prefix, jint toffset);
    [[nodiscard]] bool startsWith(String* prefix);
    [[nodiscard]] bool endsWith(String* suffix);

    // Search. A negative start searches from 0; lastIndexOf sees the terminator at index length.
    [[nodiscard]] jint indexOf(jint ch, jint from = 0) const;
    [[nodiscard]] jint lastIndexOf(jint ch, jint from) const;
    [[nodiscard]] jint lastIndexOf(jint ch) const { return lastIndexOf(ch, length()); }
    [[nodiscard]] jint indexOfStringFrom(String* str, jint from);
    [[nodiscard]] jint indexOfString(String* str) { return indexOfStringFrom(str, 0); }

    // Derived Strings (null when the object heap is exhausted). substring cuts its range to the
    // text and answers the empty text for a reversed one.
    [[nodiscard]] String* substring(jint begin, jint end);
    [[nodiscard]] String* substringFrom(jint begin) { return substring(begin, length()); }
    [[nodiscard]] String* concat(String* str);
    [[nodiscard]] String* replace(jchar oldChar, jchar newChar);
    [[nodiscard]] String* toLowerCase();
    [[nodiscard]] String* toUpperCase();
    [[nodiscard]] String* trim();

    // Units [srcBegin, srcEnd) into dst from dstBegin; nothing when either range leaves its storage.
    void getChars(jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin) {
        copyUnitsOut(chars, length(), srcBegin, srcEnd, dst, dstBegin);
    }
    // getChars over any `length` units (StringBuffer's too).
    static void copyUnitsOut(const jchar* units, jint length, jint srcBegin, jint srcEnd, CharArray* dst,
                             jint dstBegin);
    [[nodiscard]] CharArray* toCharArray();
    // The low 8 bits of every unit.
    [[nodiscard]] ByteArray* getBytes();
    // "UTF8"/"UTF-8" in any case: encodeUtf8; any other name: null.
    [[nodiscard]] ByteArray* getBytesEnc(String* enc);
    // Modified UTF-8 without a length prefix: the unit 0 takes two bytes (C0 80).
    [[nodiscard]] ByteArray* encodeUtf8();
    // The low 8 bits of every unit as C++-owned narrow text (number parsing, file names).
    [[nodiscard]] std::string toCString() const;

    [[nodiscard]] static String* valueOfObject(Object* object);
    // The unit 0 gives the empty text.
    [[nodiscard]] static String* valueOfChar(jchar c);
    [[nodiscard]] static String* valueOfBoolean(jint b);
    [[nodiscard]] static String* valueOfInt(jint i);
    [[nodiscard]] static String* valueOfLong(jlong l);
    // "%f": 1.5f gives "1.500000".
    [[nodiscard]] static String* valueOfFloat(jfloat f);
    [[nodiscard]] static String* valueOfDouble(jdouble d);

    jchar inlineBuffer[kInlineUnits];
    jchar* chars;
    jint count;
    // hashCode's answer, 0 until it is first asked; read and written relaxed-atomically, since a
    // String may be hashed by two threads at once (both write the same value).
    jint hash = 0;

private:
    [[nodiscard]] jint computeHash() const;
    void decodeLatin1(ByteArray* bytes, jint offset, jint n);
    void decodeUtf8(ByteArray* bytes, jint offset, jint n);
    void decodeSjis(ByteArray* bytes, jint offset, jint n);
};

namespace Runtime {

// A new String of a NUL-terminated wide text (CharArray::toString's kind of String).
[[nodiscard]] String* newStringFromWide(const jchar* text);

}  // namespace Runtime

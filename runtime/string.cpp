// String storage, construction, comparison, search and derived Strings. Anything that allocates
// (a new String, a native block, an array) may move every native block: units are copied only
// after the allocation, from `chars` read afresh.
#include "runtime/string.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/array.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/method_trace.h"
#include "runtime/number_format.h"
#include "runtime/string_buffer.h"

namespace {

jchar foldLower(jchar c) { return c >= 'A' && c <= 'Z' ? static_cast<jchar>(c + 32) : c; }
jchar foldUpper(jchar c) { return c >= 'a' && c <= 'z' ? static_cast<jchar>(c - 32) : c; }

String* newString() { return new String(); }

constexpr uint32_t powerOf31(int k) {
    uint32_t p = 1;
    while (k-- > 0) p *= 31;
    return p;
}

#if defined(__SSE2__)
// Eight units from `at` (which must have eight units behind it) as 16-bit lanes.
__m128i loadUnits(const jchar* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Lane-wise 32-bit product modulo 2^32 (SSE2 multiplies only the even lanes, to 64 bits).
__m128i multiplyLanes(__m128i a, __m128i b) {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// Bit 2k of the mask set: lane k matched. Answers the lane of the lowest set bit.
jint firstLane(int mask) { return std::countr_zero(static_cast<unsigned>(mask)) >> 1; }
#endif

// A String of the narrow text in out[0, n).
String* stringFromText(const char* text, size_t n) {
    String* s = newString();
    if (!s) return nullptr;
    if (!s->initWithLength(static_cast<jint>(n))) return s;
    for (size_t i = 0; i < n; ++i) s->chars[i] = static_cast<uint8_t>(text[i]);
    return s;
}

}  // namespace

// ---- storage and construction ----

bool String::initWithLength(jint n) {
    if (n < 0) n = 0;
    const bool storable = n <= kMaxLength;
    if (!storable) {
        Log::error("String: %d units cannot be stored; the text stays empty", n);
        n = 0;
    }
    count = n + 1;
    if (count < kInlineUnits) {
        chars = inlineBuffer;
        std::memset(inlineBuffer, 0, sizeof inlineBuffer);
    } else {
        chars = static_cast<jchar*>(
            Runtime::nativeAlloc(static_cast<size_t>(count) * sizeof(jchar), reinterpret_cast<void**>(&chars)));
    }
    return storable;
}

void String::initFromUnits(const jchar* units, jint n) {
    if (!units || n < 0) n = 0;
    // A source inside the movable heap could move during our own allocation: stage it first.
    std::vector<jchar> staged;
    if (n + 1 >= kInlineUnits && Runtime::nativeHeap().contains(units)) {
        staged.assign(units, units + n);
        units = staged.data();
    }
    if (!initWithLength(n)) return;
    if (n > 0) std::memcpy(chars, units, static_cast<size_t>(n) * sizeof(jchar));
}

void String::initFromWide(const jchar* text) {
    jint n = 0;
    while (text && text[n] != 0) ++n;
    initFromUnits(text, n);
}

void String::initFromCString(const char* text) {
    const size_t n = text ? std::strlen(text) : 0;
    if (n > static_cast<size_t>(kMaxLength) || !initWithLength(static_cast<jint>(n))) return initEmpty();
    for (size_t i = 0; i < n; ++i) chars[i] = static_cast<uint8_t>(text[i]);
}

void String::initCopy(String* other) {
    if (!other) {
        Runtime::nullPointer();
        return initEmpty();
    }
    const jint n = other->length();
    count = n + 1;
    chars = static_cast<jchar*>(
        Runtime::nativeAlloc(static_cast<size_t>(count) * sizeof(jchar), reinterpret_cast<void**>(&chars)));
    std::memcpy(chars, other->chars, static_cast<size_t>(n) * sizeof(jchar));
}

void String::initFromChars(CharArray* array, jint offset, jint n) {
    if (!array) {
        Runtime::nullPointer();
        return initEmpty();
    }
    const Array::Range r = Array::clampRange(array, offset, n);
    if (!initWithLength(r.n)) return;
    if (r.n > 0) std::memcpy(chars, array->elements() + r.offset, static_cast<size_t>(r.n) * sizeof(jchar));
}

void String::initFromCharArray(CharArray* array) { initFromChars(array, 0, array ? array->length : 0); }

void String::initFromBytes(ByteArray* bytes, jint offset, jint n) { decodeLatin1(bytes, offset, n); }

void String::initFromByteArray(ByteArray* bytes) { decodeLatin1(bytes, 0, bytes ? bytes->length : 0); }

void String::initFromBytesEnc(ByteArray* bytes, jint offset, jint n, String* enc) {
    if (!enc || enc->equalsCString("ISO-8859-1")) return decodeLatin1(bytes, offset, n);
    if (enc->equalsIgnoreCaseCString("UTF-8") || enc->equalsIgnoreCaseCString("UTF8"))
        return decodeUtf8(bytes, offset, n);
    if (enc->equalsCString("SJIS")) return decodeSjis(bytes, offset, n);
    // The system names no other encoding.
    initEmpty();
}

void String::initFromBytesAllEnc(ByteArray* bytes, String* enc) {
    initFromBytesEnc(bytes, 0, bytes ? bytes->length : 0, enc);
}

void String::initFromStringBuffer(StringBuffer* buffer) {
    if (!buffer) {
        Runtime::nullPointer();
        return initEmpty();
    }
    const jint n = std::clamp(buffer->length, 0, buffer->capacity);
    if (!initWithLength(n)) return;
    if (n > 0) std::memcpy(chars, buffer->chars, static_cast<size_t>(n) * sizeof(jchar));
}

String* String::fromCString(const char* text) {
    String* s = newString();
    if (s) s->initFromCString(text);
    return s;
}

String* String::fromUnits(const jchar* units, jint n) {
    String* s = newString();
    if (s) s->initFromUnits(units, n);
    return s;
}

void String::destroy() {
    if (chars && chars != inlineBuffer) Runtime::freeBlock(chars);
    chars = nullptr;
}

// ---- comparison ----

bool String::equals(Object* other) {
    if (!other || other->classId() != CID_String) return false;
    if (other == this) return true;
    auto* s = static_cast<String*>(other);
    if (s->count != count) return false;
    return count <= 0 || std::memcmp(s->chars, chars, static_cast<size_t>(count) * sizeof(jchar)) == 0;
}

jint String::hashCode() {
    std::atomic_ref<jint> kept(hash);
    jint h = kept.load(std::memory_order_relaxed);
    if (h == 0) {
        h = computeHash();
        kept.store(h, std::memory_order_relaxed);
    }
    return h;
}

jint String::computeHash() const {
    // Over every stored unit, the terminator too: 'a' hashes to 3007 and table order depends on it.
    // The sum of unit * 31^(units after it), modulo 2^32, taken in independent pieces so that few
    // multiplies sit on the chain from step to step.
    uint32_t h = 0;
    const jchar* unit = chars;
    const jchar* const end = chars + std::max(count, 0);
#if defined(__SSE2__)
    if (end - unit >= 16) {
        // Eight lanes (two vectors) each gather every eighth unit, stepping by 31^8 a block; at the
        // end lane k is weighted by 31^(7 - k) and the lanes are summed.
        const __m128i step = _mm_set1_epi32(static_cast<int>(powerOf31(8)));
        const __m128i zero = _mm_setzero_si128();
        __m128i low = zero;
        __m128i high = zero;
        for (; end - unit >= 8; unit += 8) {
            const __m128i units = loadUnits(unit);
            low = _mm_add_epi32(multiplyLanes(low, step), _mm_unpacklo_epi16(units, zero));
            high = _mm_add_epi32(multiplyLanes(high, step), _mm_unpackhi_epi16(units, zero));
        }
        auto weight = [](int a, int b, int c, int d) {
            return _mm_setr_epi32(static_cast<int>(powerOf31(a)), static_cast<int>(powerOf31(b)),
                                  static_cast<int>(powerOf31(c)), static_cast<int>(powerOf31(d)));
        };
        __m128i sum = _mm_add_epi32(multiplyLanes(low, weight(7, 6, 5, 4)), multiplyLanes(high, weight(3, 2, 1, 0)));
        sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(1, 0, 3, 2)));
        sum = _mm_add_epi32(sum, _mm_shuffle_epi32(sum, _MM_SHUFFLE(2, 3, 0, 1)));
        h = static_cast<uint32_t>(_mm_cvtsi128_si32(sum));
    }
#endif
    // Four units a step: h * 31^4 + a * 31^3 + b * 31^2 + c * 31 + d.
    for (; end - unit >= 4; unit += 4) {
        h = h * powerOf31(4) + (unit[0] * powerOf31(3) + unit[1] * powerOf31(2)) + (unit[2] * 31u + unit[3]);
    }
    for (; unit != end; ++unit) h = h * 31u + *unit;
    return static_cast<jint>(h);
}

jint String::compareTo(String* other) {
    if (!other) {
        Runtime::nullPointer();
        return 0;
    }
    const jint n = std::min(count, other->count);
    for (jint i = 0; i < n; ++i) {
        if (chars[i] != other->chars[i]) return static_cast<jint>(chars[i]) - static_cast<jint>(other->chars[i]);
    }
    return count - other->count;
}

bool String::equalsIgnoreCase(String* other) {
    if (!other || other->length() != length()) return false;
    for (jint i = 0; i < length(); ++i)
        if (foldLower(chars[i]) != foldLower(other->chars[i])) return false;
    return true;
}

bool String::equalsCString(const char* text) const {
    if (!text) return false;
    const size_t n = std::strlen(text);
    if (n != static_cast<size_t>(length())) return false;
    for (size_t i = 0; i < n; ++i)
        if (chars[i] != static_cast<jchar>(static_cast<int8_t>(text[i]))) return false;
    return true;
}

bool String::equalsIgnoreCaseCString(const char* text) const {
    if (!text) return false;
    const size_t n = std::strlen(text);
    if (n != static_cast<size_t>(length())) return false;
    for (size_t i = 0; i < n; ++i)
        if (foldLower(chars[i]) != foldLower(static_cast<jchar>(static_cast<int8_t>(text[i])))) return false;
    return true;
}

bool String::regionMatches(bool ignoreCase, jint toffset, String* other, jint ooffset, jint n) {
    if (!other) {
        Runtime::nullPointer();
        return false;
    }
    if (toffset < 0 || ooffset < 0) return false;
    if (static_cast<jlong>(toffset) + n > length() || static_cast<jlong>(ooffset) + n > other->length()) return false;
    for (jint i = 0; i < n; ++i) {
        const jchar a = chars[toffset + i];
        const jchar b = other->chars[ooffset + i];
        if (a == b) continue;
        if (ignoreCase && (foldUpper(a) == foldUpper(b) || foldLower(a) == foldLower(b))) continue;
        return false;
    }
    return true;
}

bool String::startsWithAt(String* prefix, jint toffset) {
    if (!prefix || toffset < 0 || toffset > length() || prefix->length() > length()) return false;
    // The prefix must also fit behind toffset: the units past the end are not this text's.
    if (prefix->length() > length() - toffset) return false;
    return std::memcmp(chars + toffset, prefix->chars, static_cast<size_t>(prefix->length()) * sizeof(jchar)) == 0;
}

bool String::startsWith(String* prefix) { return startsWithAt(prefix, 0); }

bool String::endsWith(String* suffix) {
    if (!suffix) {
        Runtime::nullPointer();
        return false;
    }
    return startsWithAt(suffix, length() - suffix->length());
}

// ---- search ----

jint String::indexOf(jint ch, jint from) const {
    const jint n = length();
    jint i = std::max(from, 0);
    if (ch < 0 || ch > 0xFFFF) return -1;  // no unit has that value
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(ch));
    for (; n - i >= 8; i += 8) {
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(loadUnits(chars + i), wanted));
        if (mask != 0) return i + firstLane(mask);
    }
#endif
    for (; i < n; ++i)
        if (chars[i] == ch) return i;
    return -1;
}

jint String::lastIndexOf(jint ch, jint from) const {
    if (from < 0) return -1;
    // Index length is the terminator: searching for 0 finds it.
    for (jint i = std::min(from, length()); i >= 0; --i)
        if (chars[i] == ch) return i;
    return -1;
}

jint String::indexOfStringFrom(String* str, jint from) {
    if (!str) {
        Runtime::nullPointer();
        return -1;
    }
    from = std::max(from, 0);
    const jint n = length();
    const jint m = str->length();
    if (m == 1) return indexOf(str->chars[0], from);
    if (m == 0) return from <= n ? from : -1;
    // A start must match the first two units before the rest is compared.
    const jchar* wanted = str->chars;
    const size_t restBytes = static_cast<size_t>(m - 2) * sizeof(jchar);
    auto restMatches = [&](jint at) { return restBytes == 0 || std::memcmp(chars + at + 2, wanted + 2, restBytes) == 0; };
    const jint last = n - m;
    jint i = from;
#if defined(__SSE2__)
    // Eight starts at a time; the last of them reads its second unit at i + 8, inside the text.
    const __m128i first = _mm_set1_epi16(static_cast<short>(wanted[0]));
    const __m128i second = _mm_set1_epi16(static_cast<short>(wanted[1]));
    for (; last - i >= 7; i += 8) {
        int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(loadUnits(chars + i), first),
                                                   _mm_cmpeq_epi16(loadUnits(chars + i + 1), second)));
        while (mask != 0) {
            const jint lane = firstLane(mask);
            if (restMatches(i + lane)) return i + lane;
            mask &= ~(3 << (2 * lane));  // both bits of the lane
        }
    }
#endif
    for (; i <= last; ++i) {
        if (chars[i] == wanted[0] && chars[i + 1] == wanted[1] && restMatches(i)) return i;
    }
    return -1;
}

// ---- derived Strings ----

String* String::substring(jint begin, jint end) {
    const jint n = length();
    begin = std::clamp(begin, 0, n);
    end = std::clamp(end, 0, n);
    String* s = newString();
    if (!s) return nullptr;
    if (end <= begin) {
        s->initEmpty();
        return s;
    }
    if (!s->initWithLength(end - begin)) return s;
    std::memcpy(s->chars, chars + begin, static_cast<size_t>(end - begin) * sizeof(jchar));
    return s;
}

String* String::concat(String* str) {
    if (!str) {
        Runtime::nullPointer();
        return this;
    }
    const jint a = length();
    const jint b = str->length();
    if (b == 0) return this;
    // The sum may not fit a String: nothing is made (logged), as when the heap is exhausted.
    if (static_cast<int64_t>(a) + b > kMaxLength) {
        Log::error("String.concat: %lld units cannot be stored", static_cast<long long>(a) + b);
        return nullptr;
    }
    String* s = newString();
    if (!s) return nullptr;
    if (!s->initWithLength(a + b)) return s;
    std::memcpy(s->chars, chars, static_cast<size_t>(a) * sizeof(jchar));
    std::memcpy(s->chars + a, str->chars, static_cast<size_t>(b) * sizeof(jchar));
    return s;
}

String* String::replace(jchar oldChar, jchar newChar) {
    if (oldChar == newChar || indexOf(oldChar) < 0) return this;
    String* s = newString();
    if (!s) return nullptr;
    const jint n = length();
    if (!s->initWithLength(n)) return s;
    for (jint i = 0; i < n; ++i) s->chars[i] = chars[i] == oldChar ? newChar : chars[i];
    return s;
}

String* String::toLowerCase() {
    String* s = newString();
    if (!s) return nullptr;
    const jint n = length();
    if (!s->initWithLength(n)) return s;
    for (jint i = 0; i < n; ++i) s->chars[i] = foldLower(chars[i]);
    return s;
}

String* String::toUpperCase() {
    String* s = newString();
    if (!s) return nullptr;
    const jint n = length();
    if (!s->initWithLength(n)) return s;
    for (jint i = 0; i < n; ++i) s->chars[i] = foldUpper(chars[i]);
    return s;
}

String* String::trim() {
    jint begin = 0;
    jint end = length();
    while (begin < end && chars[begin] <= 32) ++begin;
    while (end > begin && chars[end - 1] <= 32) --end;
    return substring(begin, end);
}

// ---- units out ----

void String::copyUnitsOut(const jchar* units, jint length, jint srcBegin, jint srcEnd, CharArray* dst,
                          jint dstBegin) {
    if (!dst) return Runtime::nullPointer();
    if (srcEnd <= srcBegin) return;
    const jint n = srcEnd - srcBegin;
    const jint dstLength = dst->data ? std::max(dst->length, 0) : 0;
    if (srcBegin < 0 || srcEnd > length || dstBegin < 0 || dstBegin > dstLength - n) return;
    std::memcpy(dst->elements() + dstBegin, units + srcBegin, static_cast<size_t>(n) * sizeof(jchar));
}

CharArray* String::toCharArray() {
    CharArray* array = Runtime::newCharArray(length());
    if (array) getChars(0, length(), array, 0);
    return array;
}

ByteArray* String::getBytes() {
    ByteArray* bytes = Runtime::newByteArray(length());
    if (!bytes || !bytes->data) return bytes;
    for (jint i = 0; i < bytes->length; ++i) bytes->elements()[i] = static_cast<jbyte>(chars[i] & 0xFF);
    return bytes;
}

ByteArray* String::getBytesEnc(String* enc) {
    if (!enc) {
        Runtime::nullPointer();
        return nullptr;
    }
    if (enc->equalsIgnoreCaseCString("UTF8") || enc->equalsIgnoreCaseCString("UTF-8")) return encodeUtf8();
    return nullptr;
}

std::string String::toCString() const {
    std::string text(static_cast<size_t>(length()), '\0');
    for (jint i = 0; i < length(); ++i) text[static_cast<size_t>(i)] = static_cast<char>(chars[i] & 0xFF);
    return text;
}

// ---- valueOf ----

String* String::valueOfObject(Object* object) { return object ? object->toString() : fromCString("null"); }

String* String::valueOfChar(jchar c) {
    String* s = newString();
    if (!s) return nullptr;
    (void)s->initWithLength(c == 0 ? 0 : 1);
    s->chars[0] = c;
    return s;
}

String* String::valueOfBoolean(jint b) { return fromCString(b != 0 ? "true" : "false"); }

String* String::valueOfInt(jint i) {
    char text[NumberFormat::kMaxText];
    return stringFromText(text, NumberFormat::formatInt(text, i));
}

String* String::valueOfLong(jlong l) {
    char text[NumberFormat::kMaxText];
    return stringFromText(text, NumberFormat::formatLong(text, l));
}

String* String::valueOfFloat(jfloat f) {
    char text[NumberFormat::kMaxText];
    return stringFromText(text, NumberFormat::formatFloat(text, f));
}

String* String::valueOfDouble(jdouble d) {
    char text[NumberFormat::kMaxText];
    return stringFromText(text, NumberFormat::formatDouble(text, d));
}

namespace Runtime {

String* newStringFromWide(const jchar* text) {
    String* s = new String();
    if (s) s->initFromWide(text);
    return s;
}

}  // namespace Runtime

// StringBuffer growth, inserts, deletes and the number texts. Int texts are written straight into
// the opened gap, other number and boolean texts from a local narrow buffer: no String and no heap
// block is made for them.
#include "runtime/string_buffer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/memory_manager.h"
#include "runtime/method_trace.h"
#include "runtime/number_format.h"
#include "runtime/string.h"

namespace {

// Keeps capacity arithmetic far from jint overflow.
constexpr jlong kMaxCapacity = 0x3FFFFFFF;

// Most appends are a few units: for those, two overlapping fixed-size moves beat a library call
// (and a plain loop, which the compiler turns back into one). The ranges never overlap.
[[gnu::always_inline]] inline void copyUnits(jchar* to, const jchar* from, jint n) {
    auto* d = reinterpret_cast<char*>(to);
    const auto* f = reinterpret_cast<const char*>(from);
    const size_t bytes = static_cast<size_t>(n) * sizeof(jchar);
    if (bytes > 32) {
        std::memcpy(d, f, bytes);
    } else if (bytes >= 16) {
        std::memcpy(d, f, 16);
        std::memcpy(d + bytes - 16, f + bytes - 16, 16);
    } else if (bytes >= 8) {
        std::memcpy(d, f, 8);
        std::memcpy(d + bytes - 8, f + bytes - 8, 8);
    } else if (bytes >= 4) {
        std::memcpy(d, f, 4);
        std::memcpy(d + bytes - 4, f + bytes - 4, 4);
    } else if (bytes == 2) {
        std::memcpy(d, f, 2);
    }
}

}  // namespace

void StringBuffer::destroy() {
    if (chars) Runtime::freeBlock(chars);
    chars = nullptr;
    capacity = 0;
    length = 0;
}

String* StringBuffer::toString() {
    auto* s = new String();
    if (s) s->initFromStringBuffer(this);
    return s;
}

void StringBuffer::initWithCapacity(jint n) {
    chars = nullptr;
    capacity = 0;
    length = 0;
    if (n > 0) grow(n);
    setLength(0);
}

void StringBuffer::initFromString(String* s) {
    chars = nullptr;
    capacity = 0;
    length = 0;
    if (!s) {
        Runtime::nullPointer();
        return;
    }
    grow(s->count);
    const jint n = s->length();
    setLength(n);
    std::memcpy(chars, s->chars, static_cast<size_t>(n) * sizeof(jchar));
}

void StringBuffer::grow(jint newCapacity) {
    auto* block = static_cast<jchar*>(
        Runtime::nativeAlloc(static_cast<size_t>(newCapacity) * sizeof(jchar), reinterpret_cast<void**>(&chars)));
    // `chars` is read after the allocation: it may have moved the old block.
    if (chars) {
        std::memcpy(block, chars, static_cast<size_t>(std::min(capacity, newCapacity)) * sizeof(jchar));
        Runtime::freeBlock(chars);
    }
    chars = block;
    capacity = newCapacity;
}

void StringBuffer::ensureCapacity(jint n) {
    if (capacity < n && n <= kMaxCapacity) grow(std::max(n, static_cast<jint>(std::min<jlong>(2LL * capacity, kMaxCapacity))));
}

void StringBuffer::setLength(jint n) {
    if (n < 0 || n > kMaxCapacity) return;
    if (capacity < n) grow(std::max(static_cast<jint>(std::min<jlong>(2LL * capacity, kMaxCapacity)), n));
    if (n > length) std::fill(chars + length, chars + n, jchar{0});
    if (capacity > n) chars[n] = 0;
    length = n;
}

void StringBuffer::getChars(jint srcBegin, jint srcEnd, CharArray* dst, jint dstBegin) {
    String::copyUnitsOut(chars, length, srcBegin, srcEnd, dst, dstBegin);
}

StringBuffer* StringBuffer::reverse() {
    for (jint i = 0, j = length - 1; i < j; ++i, --j) std::swap(chars[i], chars[j]);
    return this;
}

// Inlined into every insert: an append into room already there is a handful of instructions.
[[gnu::always_inline]] inline jchar* StringBuffer::openGap(jint offset, jint n) {
    if (offset == length && n >= 0 && capacity - length > n && static_cast<jlong>(length) + n < kMaxCapacity) {
        jchar* gap = chars + length;
        length += n;
        gap[n] = 0;
        return gap;
    }
    return openGapSlowly(offset, n);
}

[[gnu::noinline]] jchar* StringBuffer::openGapSlowly(jint offset, jint n) {
    if (offset < 0 || offset > length || n < 0) return nullptr;
    const jlong needed = static_cast<jlong>(length) + n + 1;  // room for the terminator
    if (needed > kMaxCapacity) return nullptr;
    if (capacity < needed) grow(static_cast<jint>(std::max(needed, std::min<jlong>(2LL * capacity, kMaxCapacity))));
    if (offset < length)
        std::memmove(chars + offset + n, chars + offset, static_cast<size_t>(length - offset) * sizeof(jchar));
    length += n;
    chars[length] = 0;
    return chars + offset;
}

StringBuffer* StringBuffer::insertChars(jint offset, const jchar* units, jint n) {
    if (!units || n <= 0) return this;
    // The units could move (or be freed, when they are our own) while the buffer grows; our own
    // units also shift when the gap opens below them.
    const bool own = chars && units >= chars && units < chars + capacity;
    const bool grows = capacity < static_cast<jlong>(length) + n + 1;
    std::vector<jchar> staged;
    if (own || (grows && Runtime::nativeHeap().contains(units))) {
        staged.assign(units, units + n);
        units = staged.data();
    }
    jchar* gap = openGap(offset, n);
    if (gap) std::memmove(gap, units, static_cast<size_t>(n) * sizeof(jchar));
    return this;
}

StringBuffer* StringBuffer::insertString(jint offset, String* s) {
    if (!s) return insertText(offset, "null", 4);
    const jint n = s->length();
    jchar* gap = openGap(offset, n);
    // s->chars is read after the gap is made: growing may have moved it.
    if (gap) copyUnits(gap, s->chars, n);
    return this;
}

StringBuffer* StringBuffer::insertObject(jint offset, Object* object) {
    return insertString(offset, object ? object->toString() : nullptr);
}

StringBuffer* StringBuffer::insertBoolean(jint offset, jint b) {
    return b == 1 ? insertText(offset, "true", 4) : insertText(offset, "false", 5);
}

StringBuffer* StringBuffer::insertChar(jint offset, jchar c) {
    if (jchar* gap = openGap(offset, 1)) *gap = c;
    return this;
}

StringBuffer* StringBuffer::insertInt(jint offset, jint i) {
    const size_t n = NumberFormat::intTextLength(i);
    if (jchar* gap = openGap(offset, static_cast<jint>(n))) NumberFormat::formatIntUnits(gap, i, n);
    return this;
}

StringBuffer* StringBuffer::insertLong(jint offset, jlong l) {
    char text[NumberFormat::kMaxText];
    return insertText(offset, text, NumberFormat::formatLong(text, l));
}

StringBuffer* StringBuffer::insertFloat(jint offset, jfloat f) {
    char text[NumberFormat::kMaxText];
    return insertText(offset, text, NumberFormat::formatFloat(text, f));
}

StringBuffer* StringBuffer::insertDouble(jint offset, jdouble d) {
    char text[NumberFormat::kMaxText];
    return insertText(offset, text, NumberFormat::formatDouble(text, d));
}

StringBuffer* StringBuffer::insertCString(jint offset, const char* text) {
    if (!text) return insertText(offset, "null", 4);
    return insertText(offset, text, std::strlen(text));
}

StringBuffer* StringBuffer::insertText(jint offset, const char* text, size_t n) {
    if (n > static_cast<size_t>(kMaxCapacity)) return this;
    jchar* gap = openGap(offset, static_cast<jint>(n));
    if (gap)
        for (size_t i = 0; i < n; ++i) gap[i] = static_cast<uint8_t>(text[i]);
    return this;
}

StringBuffer* StringBuffer::delete_(jint start, jint end) {
    if (start < 0 || start > length) return this;
    end = std::min(end, length);
    if (end - start > 0) {
        std::memmove(chars + start, chars + end, static_cast<size_t>(length - end) * sizeof(jchar));
        setLength(length - (end - start));
    }
    return this;
}

StringBuffer* StringBuffer::deleteCharAt(jint index) {
    if (index < 0 || index >= length) return this;
    return delete_(index, index + 1);
}

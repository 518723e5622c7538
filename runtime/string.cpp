// String storage and identity. The native block is allocated with the `chars` field as its owner.
#include "runtime/string.h"

#include <cstring>

#include "runtime/heaps.h"

void String::initWithLength(jint n) {
    if (n < 0) n = 0;
    count = n + 1;
    if (count < kInlineUnits) {
        chars = inlineBuffer;
        std::memset(inlineBuffer, 0, sizeof inlineBuffer);
    } else {
        chars = static_cast<jchar*>(
            Runtime::nativeAlloc(static_cast<size_t>(count) * sizeof(jchar), reinterpret_cast<void**>(&chars)));
    }
}

void String::initFromUnits(const jchar* units, jint n) {
    if (n < 0) n = 0;
    count = n + 1;
    jchar* storage = inlineBuffer;
    if (count >= kInlineUnits) {
        storage = static_cast<jchar*>(
            Runtime::nativeAlloc(static_cast<size_t>(count) * sizeof(jchar), reinterpret_cast<void**>(&chars)));
    }
    if (n > 0) std::memcpy(storage, units, static_cast<size_t>(n) * sizeof(jchar));
    storage[n] = 0;
    chars = storage;
}

void String::initFromCString(const char* text) {
    const size_t n = text ? std::strlen(text) : 0;
    initWithLength(static_cast<jint>(n));
    for (size_t i = 0; i < n; ++i) chars[i] = static_cast<uint8_t>(text[i]);
}

String* String::fromCString(const char* text) {
    auto* s = new String();
    if (s) s->initFromCString(text);
    return s;
}

String* String::fromUnits(const jchar* units, jint n) {
    auto* s = new String();
    if (s) s->initFromUnits(units, n);
    return s;
}

void String::destroy() {
    if (chars && chars != inlineBuffer) Runtime::freeBlock(chars);
    chars = nullptr;
}

bool String::equals(Object* other) {
    if (!other || other->classId() != CID_String) return false;
    if (other == this) return true;
    auto* s = static_cast<String*>(other);
    if (s->count != count) return false;
    return count <= 0 || std::memcmp(s->chars, chars, static_cast<size_t>(count) * sizeof(jchar)) == 0;
}

jint String::hashCode() {
    // Over every stored unit, the terminator too: 'a' hashes to 3007 and table order depends on it.
    jint h = 0;
    for (jint i = 0; i < count; ++i) h = jt::add(jt::mul(31, h), static_cast<jint>(chars[i]));
    return h;
}

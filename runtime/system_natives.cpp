// System natives. arraycopy takes its element width from the source array's class alone (as the
// phone did) and checks both byte ranges against the arrays before it moves anything.
#include "runtime/system_natives.h"

#include <atomic>
#include <cstring>

#include "runtime/array.h"
#include "runtime/clock.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

std::atomic<java_lang_System::PropertyLookup> g_propertyLookup{nullptr};

// Element width by the source's class id; 0 for an object that is no array.
jint widthOfClass(uint16_t classId) {
    switch (classId) {
        case CID_Long64Array:
        case CID_DoubleArray: return 8;
        case CID_ObjectArray: return static_cast<jint>(sizeof(Object*));
        case CID_IntArray:
        case CID_FloatArray: return 4;
        case CID_CharArray:
        case CID_ShortArray: return 2;
        case CID_BoolArray:
        case CID_ByteArray: return 1;
        default: return 0;
    }
}

// Bytes of data an array really has.
jlong dataBytes(const Array* array) {
    return array->data && array->length > 0 ? static_cast<jlong>(array->length) * array->elementSize() : 0;
}

}  // namespace

void java_lang_System::arraycopy(Object* src, jint srcPos, Object* dst, jint dstPos, jint n) {
    if (!src || !dst) return Runtime::nullPointer();
    if (n == 0) return;
    const jint width = widthOfClass(src->classId());
    if (width == 0 || widthOfClass(dst->classId()) == 0) {
        Log::error("arraycopy: not an array");
        return;
    }
    auto* from = static_cast<Array*>(src);
    auto* to = static_cast<Array*>(dst);
    const jlong srcStart = static_cast<jlong>(srcPos) * width;
    const jlong dstStart = static_cast<jlong>(dstPos) * width;
    const jlong bytes = static_cast<jlong>(n) * width;
    if (n < 0 || srcPos < 0 || dstPos < 0 || srcStart + bytes > dataBytes(from) || dstStart + bytes > dataBytes(to)) {
        Log::error("arraycopy: %d elements from %d (length %d) to %d (length %d) out of range", n, srcPos,
                   from->length, dstPos, to->length);
        return;
    }
    std::memmove(static_cast<uint8_t*>(to->data) + dstStart, static_cast<const uint8_t*>(from->data) + srcStart,
                 static_cast<size_t>(bytes));
}

jlong java_lang_System::currentTimeMillis() { return Runtime::clock().monotonicMillis(); }

jlong java_lang_System::wallClockMillis() {
    const jlong ms = Runtime::clock().wallMillis();
    const jlong seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return seconds * 1000;
}

String* java_lang_System::getProperty(String* key) {
    if (key && key->equalsCString("microedition.media.version")) return String::fromCString("1.0");
    const PropertyLookup lookup = g_propertyLookup.load(std::memory_order_acquire);
    if (String* value = lookup && key ? lookup(key) : nullptr) return value;
    return String::fromCString("PROPERTY VALUE EMPTY");
}

void java_lang_System::gc() {
    if (ObjectManager* collector = Runtime::getObjectManager()) collector->gc(0);
}

void java_lang_System::setPropertyLookup(PropertyLookup lookup) {
    g_propertyLookup.store(lookup, std::memory_order_release);
}

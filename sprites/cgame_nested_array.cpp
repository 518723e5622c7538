// Nested arrays: a type byte (kind in bits 0..2, 16-bit length in bit 3, stored width in bits
// 4..7), the length, then the elements; kinds 3..7 hold nested arrays of any kind. A stream that ends
// or raises inside fails the whole array (null, never a partial one), and nesting deeper than
// kMaxNestedDepth is refused.
#include "runtime/array.h"
#include "runtime/log.h"
#include "sprites/cgame_packs.h"
#include "sprites/checked_stream_reader.h"
#include "sprites/pack_exceptions.h"

namespace {

enum Kind : jint { kBytes = 0, kShorts = 1, kInts = 2 };

Object* readArray(packs::CheckedStreamReader& in, jint depth) {
    const jint type = in.u8();
    const jint length = (type & 8) ? in.u16() : in.u8();
    if (in.failed) return nullptr;
    const jint kind = type & 7;
    const jint width = type >> 4;

    if (kind == kBytes) {
        ByteArray* bytes = Runtime::newByteArray(length);
        if (!bytes) return nullptr;
        in.fully(bytes, length);
        return in.failed ? nullptr : bytes;
    }
    if (kind == kShorts) {
        ShortArray* shorts = Runtime::newShortArray(length);
        if (!shorts) return nullptr;
        for (jint i = 0; i < length; ++i) shorts->set(i, static_cast<jshort>(width == 0 ? in.s8() : in.u16()));
        return in.failed ? nullptr : shorts;
    }
    if (kind == kInts) {
        IntArray* ints = Runtime::newIntArray(length);
        if (!ints) return nullptr;
        for (jint i = 0; i < length; ++i) ints->set(i, width == 0 ? in.s8() : width == 1 ? in.s16() : in.s32());
        return in.failed ? nullptr : ints;
    }
    if (depth >= cGamePacks::kMaxNestedDepth) {
        Log::printf(LogLevel::Warn, "pack: nested array deeper than %d refused", cGamePacks::kMaxNestedDepth);
        return nullptr;
    }
    ObjectArray* arrays = Runtime::newObjectArray(CID_Object, length);
    if (!arrays) return nullptr;
    for (jint i = 0; i < length; ++i) {
        Object* inner = readArray(in, depth + 1);
        if (!inner) return nullptr;
        arrays->set(i, inner);
    }
    return arrays;
}

}  // namespace

Object* cGamePacks::readNestedArray(java_io_InputStream* in) {
    BX_RETURN_IF_NULL(in, nullptr);
    packs::CheckedStreamReader reader{in};
    Object* result = readArray(reader, 0);
    if (packs::callRaised()) return nullptr;
    return result;
}

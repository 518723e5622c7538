// libFuzzer target for the nested-array reader over untrusted bytes. Invariants checked: nothing
// stays pending, and a result is a tree of byte, short and int arrays no deeper than the limit.
#include <cstdint>
#include <cstring>

#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"
#include "sprites/cgame_packs.h"

namespace {

ObjectManager* start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    Log::setLevel(LogLevel::Off);
    return new ObjectManager();
}

void checkTree(Object* node, jint depth) {
    if (!node) __builtin_trap();
    const uint32_t id = node->classId();
    if (id == CID_ByteArray || id == CID_ShortArray || id == CID_IntArray) return;
    if (id != CID_ObjectArray || depth >= cGamePacks::kMaxNestedDepth) __builtin_trap();
    auto* arrays = static_cast<ObjectArray*>(node);
    for (jint i = 0; i < arrays->length; ++i) checkTree(arrays->get(i), depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ObjectManager* manager = start();
    (void)manager;
    if (size > 0x10000) return 0;
    const jint n = static_cast<jint>(size);
    ByteArray* bytes = Runtime::newByteArray(n);
    if (!bytes) return 0;
    if (n > 0) std::memcpy(bytes->data, data, size);
    Object* result = cGamePacks::readNestedArray(java_io_ByteArrayInputStream::over(bytes));
    if (Runtime::getPendingException()) __builtin_trap();
    if (result) checkTree(result, 0);
    return 0;
}

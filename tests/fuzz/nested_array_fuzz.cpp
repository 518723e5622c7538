// libFuzzer target for the nested-array reader over untrusted bytes. Invariants checked: nothing
// stays pending, and a result is a tree of byte, short and int arrays no deeper than the limit.
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "runtime/compiled.h"
#include "sprites/cgame_packs.h"
#include "tests/fuzz/fuzz_heaps.h"

namespace {

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
    static const bool started = (startFuzzHeaps(), true);
    (void)started;
    ByteArray* bytes = fuzzBytes(data, size);
    if (!bytes) return 0;
    Object* result = cGamePacks::readNestedArray(java_io_ByteArrayInputStream::over(bytes));
    if (Runtime::getPendingException()) __builtin_trap();
    if (result) checkTree(result, 0);
    return 0;
}

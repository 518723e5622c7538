// The pool slot and the literal lookup. Elements live in the movable native heap: read through the
// array each time.
#include "runtime/constant_pool.h"

#include <atomic>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

namespace {

std::atomic<ObjectArray*> g_pool{nullptr};

}  // namespace

namespace Runtime {

void setConstantPool(ObjectArray* pool) { g_pool.store(pool); }

ObjectArray* constantPool() { return g_pool.load(); }

String* ldcString(jint index) {
    ObjectArray* pool = g_pool.load();
    if (!pool) {
        nullPointer();
        return nullptr;
    }
    if (index < 0 || index >= pool->length || !pool->data) {
        Log::error("constant pool index %d outside the pool of %d", index, pool->length);
        return nullptr;
    }
    return static_cast<String*>(pool->elements()[index]);
}

}  // namespace Runtime

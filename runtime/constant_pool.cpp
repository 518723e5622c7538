// The pool slot and the literal lookup. Elements live in the movable native heap: read through the
// array each time. The stand-in empty String is a registered static, so it is a collector root.
#include "runtime/constant_pool.h"

#include <atomic>

#include "runtime/array.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

namespace {

std::atomic<ObjectArray*> g_pool{nullptr};
String* g_missingLiteral = nullptr;
const StaticRefRegistration kPoolStatics(CID_String, &g_missingLiteral);

}  // namespace

namespace Runtime {

void setConstantPool(ObjectArray* pool) {
    g_pool.store(pool);
    g_missingLiteral = nullptr;
    if (!pool) return;
    String* empty = new String();
    if (!empty) return;
    empty->initEmpty();
    empty->setCollectable(false);
    g_missingLiteral = empty;
}

ObjectArray* constantPool() { return g_pool.load(); }

String* ldcString(jint index) {
    ObjectArray* pool = g_pool.load();
    if (!pool) {
        nullPointer();
        return nullptr;
    }
    Object* literal = index >= 0 && index < pool->length && pool->data ? pool->elements()[index] : nullptr;
    if (!literal) {
        Log::error("constant pool has no literal %d (pool of %d)", index, pool->length);
        return g_missingLiteral;
    }
    return static_cast<String*>(literal);
}

}  // namespace Runtime

// libFuzzer target for the start-up's readers of untrusted data: the constants.bin loader and the
// app.jad parser. The first input byte picks the reader; the rest is the data. Invariants checked:
// nothing stays pending, the pool holds only Strings, and every property is a String to a String.
#include <cstdint>
#include <cstring>

#include "classlib/constant_pool_loader.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

ObjectManager* start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    return new ObjectManager();
}

// Checks the loaded pool, then lets it go: the loader pins its Strings, so they are unpinned here
// or every input would leave them in the heap for good.
void checkAndReleasePool() {
    ObjectArray* pool = Runtime::constantPool();
    if (!pool) __builtin_trap();
    for (jint i = 0; i < pool->length; ++i) {
        Object* literal = pool->get(i);
        if (literal && literal->classId() != CID_String) __builtin_trap();
        if (literal) literal->setCollectable(true);
    }
    pool->setCollectable(true);
    Runtime::setConstantPool(nullptr);
}

void checkProperties(java_util_Hashtable* properties) {
    for (jint i = 0; i < properties->table->length; ++i) {
        for (auto* e = static_cast<java_util_HashtableEntry*>(properties->table->get(i)); e; e = e->next) {
            if (!e->key || e->key->classId() != CID_String) __builtin_trap();
            if (!e->value || e->value->classId() != CID_String) __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ObjectManager* manager = start();
    if (size < 1 || size > 0x10000) return 0;
    const jint n = static_cast<jint>(size - 1);
    ByteArray* bytes = Runtime::newByteArray(n);
    if (!bytes) return 0;
    if (n > 0) std::memcpy(bytes->data, data + 1, static_cast<size_t>(n));
    if (data[0] & 1) {
        Runtime::loadConstantsFrom(java_io_ByteArrayInputStream::over(bytes));
        if (Runtime::pending()) __builtin_trap();
        checkAndReleasePool();
    } else {
        auto* text = new String();
        if (!text) return 0;
        text->initFromByteArray(bytes);
        auto* properties = Runtime::make<java_util_Hashtable>(11);
        if (!properties) return 0;
        javax_microedition_midlet_MIDlet::parseAppDescriptor(text, properties);
        if (Runtime::pending()) __builtin_trap();
        checkProperties(properties);
    }
    manager->gc(0);
    return 0;
}

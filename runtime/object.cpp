// Object's own slots. Its monitor record is released by the collector after destroy (monitor.cpp).
#include "runtime/object.h"

#include <cinttypes>

#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

void* Object::operator new(std::size_t size) noexcept { return Runtime::newObject(size, 0); }

void Object::destroy() {}

bool Object::equals(Object* other) { return other == this; }

Object* Object::clone() {
    Log::debug("clone");
    Runtime::printStackTrace();
    return nullptr;
}

String* Object::toString() {
    const std::string text = Log::format("Object_id=%d @0x%" PRIxPTR, static_cast<int>(static_cast<int16_t>(classId())),
                                         reinterpret_cast<uintptr_t>(this));
    return String::fromCString(text.c_str());
}

jint Object::hashCode() { return static_cast<jint>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this))); }

void* Object::getInterface(jint) { return nullptr; }

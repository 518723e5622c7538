// What a compiled class's code uses, in one place: construction (header constructor, then the Java
// constructor), the null test, raising, and checking for a pending exception after a call.
// Nothing here unwinds C++ frames: a throw only makes an exception pending; callers check and return.
#pragma once

#include <utility>

#include "runtime/exceptions.h"
#include "runtime/method_trace.h"

namespace Runtime {

// `new T(args...)` of compiled code: the object heap's allocation with the header constructor,
// then the Java constructor `init(args...)`. Null (init not called) when the heap is exhausted.
template <class T, class... Args>
[[nodiscard]] T* make(Args&&... args) {
    T* object = new T();
    if (object) object->init(std::forward<Args>(args)...);
    return object;
}

// `throw new E(args...)`: makes the exception pending; the caller returns at once. An exhausted
// heap leaves nothing pending (the null throwable is logged as a null reference).
template <class E, class... Args>
void raise(Args&&... args) {
    throwException(make<E>(std::forward<Args>(args)...));
}

// True when a call left an exception pending, for methods without a try table (they return at once).
[[nodiscard]] inline bool pending() { return getPendingException() != nullptr; }

// Holds `object`'s own pointer where the collector's stack scan sees it up to this point. A local
// used only through one of its interfaces (a pointer into the object) does not keep the object
// alive across an allocation: call this after the last such use.
inline void keepAlive(const Object* object) { asm volatile("" : : "r"(object) : "memory"); }

}  // namespace Runtime

// Compiled code's null test: a null `ref` is logged ("NullPointer") and the method returns the
// default given after it (nothing for a void method). Nothing becomes pending.
#define BX_RETURN_IF_NULL(ref, ...) \
    do {                            \
        if (!(ref)) {               \
            Runtime::nullPointer(); \
            return __VA_ARGS__;     \
        }                           \
    } while (0)

// After a call that may throw, in a method without a try table: return the default if it threw.
#define BX_RETURN_IF_PENDING(...) \
    do {                          \
        if (Runtime::pending()) { \
            return __VA_ARGS__;   \
        }                         \
    } while (0)

// After call site `site` in a method with a try table: note the site and jump to its `dispatch:`
// label, where `Runtime::findExceptionHandler(table)` picks the handler (or leaves it pending).
#define BX_CHECK_SITE(site)                         \
    do {                                            \
        if (Runtime::checkPendingException(site)) { \
            goto dispatch;                          \
        }                                           \
    } while (0)

// Pending exceptions: a throw stores the object as the calling thread's pending exception; compiled
// code checks after every call that may throw and either dispatches through its try table or
// returns at once. Nothing here unwinds C++ frames. One pending exception per thread, a root.
#pragma once

#include <cstdint>

#include "runtime/jtypes.h"

class Object;

// One handler of a method: it takes exceptions of catchClassId (or a subclass, or a class that
// answers getInterface for it) raised at call sites start <= site < end. A method's try table is an
// array of entries ended by one whose catchClassId is 0; an entry's index names its handler.
struct TryEntry {
    uint32_t catchClassId;
    jint start;
    jint end;
};
using TryTable = const TryEntry*;

namespace Runtime {

// Stores the method trace ("stacktrace:\n" + names, newest first) as a new String in the
// throwable's trace field and makes it the calling thread's pending exception. Returns normally.
// A null throwable is a null reference: logged, nothing becomes pending.
void throwException(Object* throwable);
// True when an exception is pending; callSite is then noted as the position of the throw.
[[nodiscard]] bool checkPendingException(jint callSite);
[[nodiscard]] Object* getPendingException();
// Index of the first entry that takes the pending exception at the noted position, clearing the
// pending exception; -1 (still pending) when none does, nothing is pending, or the table is empty.
[[nodiscard]] jint findExceptionHandler(TryTable table);
// Drops the calling thread's pending exception without handling it (thread end, shutdown).
void clearPendingException();

}  // namespace Runtime

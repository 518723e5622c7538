// Throw, check and handler matching over the calling thread's ThreadState.
#include "runtime/exceptions.h"

#include "runtime/class_record.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"
#include "runtime/thread_state.h"

namespace {

bool takes(const TryEntry& entry, Object* pending) {
    if (pending->getInterface(static_cast<jint>(entry.catchClassId)) != nullptr) return true;
    return Class::isSubclassOf(Class::forObject(pending), Class::forId(static_cast<jint>(entry.catchClassId)));
}

}  // namespace

namespace Runtime {

void throwException(Object* throwable) {
    if (!throwable) {
        nullPointer();
        return;
    }
    // The trace String is allocated first: the collection it may start finds the throwable on
    // this frame, and a pending exception is never left without its trace.
    String* trace = String::fromCString(getStackTrace().c_str());
    if (instanceOf(throwable, CID_java_lang_Throwable)) static_cast<java_lang_Throwable*>(throwable)->m_trace = trace;
    currentThreadState().pendingException = throwable;
}

bool checkPendingException(jint callSite) {
    ThreadState& self = currentThreadState();
    if (!self.pendingException) return false;
    self.callSitePosition = callSite;
    return true;
}

Object* getPendingException() { return currentThreadState().pendingException; }

jint findExceptionHandler(TryTable table) {
    ThreadState& self = currentThreadState();
    Object* pending = self.pendingException;
    if (!table || !pending) return -1;
    for (jint index = 0; table[index].catchClassId != 0; ++index) {
        const TryEntry& entry = table[index];
        if (self.callSitePosition < entry.start || self.callSitePosition >= entry.end) continue;
        if (!takes(entry, pending)) continue;
        self.pendingException = nullptr;
        return index;
    }
    return -1;
}

void clearPendingException() { currentThreadState().pendingException = nullptr; }

}  // namespace Runtime

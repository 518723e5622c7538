// java_lang_Thread: constructors, priority, join, toString, and the natives over the thread table.
// A thread's routine binds itself to its slot, runs, reports what it left pending, frees the slot
// and only then leaves the runtime: after the slot is free it touches no object.
#include "classlib/java_lang/java_lang_thread.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/class_record.h"
#include "runtime/clock.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime/thread_state.h"
#include "runtime/thread_table.h"

namespace {

const uint32_t kThreadRefs[] = {BX_REF_FIELD(java_lang_Thread, m_target)};
const RefFieldRegistration kThreadRefsReg(CID_java_lang_Thread, kThreadRefs);
const NewInstanceRegistration kThreadNew(CID_java_lang_Thread, &newInstanceOf<java_lang_Thread>);

constexpr jint kDefaultPriority = 5;

unsigned osThreadId() { return static_cast<unsigned>(gettid()); }

}  // namespace

void* java_lang_Thread::getInterface(jint classId) {
    return classId == CID_java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

String* java_lang_Thread::toString() {
    auto* text = new StringBuffer();
    if (!text) {
        Runtime::nullPointer();
        return nullptr;
    }
    text->initWithCapacity(16);
    text->appendString(Runtime::ldcString(261));
    text->appendInt(hashCode());
    text->appendString(Runtime::ldcString(193));
    text->appendInt(getPriority());
    text->appendString(Runtime::ldcString(262));
    return text->toString();
}

jint java_lang_Thread::getPriority() { return m_priority; }

void java_lang_Thread::run() {
    if (java_lang_Runnable* target = Runtime::asRunnable(m_target)) target->run();
}

void java_lang_Thread::init() { init(nullptr); }

void java_lang_Thread::init(Object* target) {
    m_priority = kDefaultPriority;
    if (java_lang_Thread* creator = currentThread()) m_priority = creator->getPriority();
    m_target = target;
    setPriority(m_priority);
}

void java_lang_Thread::setPriority(jint priority) {
    if (priority < 1 || priority > 10) {
        Runtime::raise<java_lang_IllegalArgumentException>();
        return;
    }
    m_priority = priority;
    setPriorityNative(this, priority);
}

void java_lang_Thread::join() {
    if (this == currentThread()) return;
    ThreadTable::waitUntilFreed(this);
}

jboolean java_lang_Thread::isAlive() { return ThreadTable::findThread(this) >= 0 ? 1 : 0; }

jint java_lang_Thread::start() {
    bool alreadyHeld = false;
    const int slot = ThreadTable::addThread(this, &alreadyHeld);
    if (alreadyHeld) return slot;
    if (slot < 0) {
        Log::error("java_lang_Thread::start(): thread table full (%d threads): thread not started",
                   ThreadTable::kSlots);
        return -1;
    }
    pthread_t handle;
    Runtime::threadStarting();
    if (pthread_create(&handle, nullptr, &java_lang_Thread::threadProc, this) != 0) {
        Log::error("java_lang_Thread::start(): the system refused a new thread");
        Runtime::threadStartFailed();
        ThreadTable::freeSlot(slot);
        return -1;
    }
    pthread_detach(handle);
    ThreadTable::setHandle(slot, this, handle);
    return 1;
}

void* java_lang_Thread::threadProc(void* argument) {
    auto* self = static_cast<java_lang_Thread*>(argument);
    Runtime::threadStarted();
    const int slot = ThreadTable::findThread(self);
    ThreadTable::bindCurrentThread(slot);
    if (java_lang_Runnable* target = Runtime::asRunnable(self->m_target)) target->run();
    else self->run();
    Runtime::reportUncaughtException();
    ThreadTable::freeSlot(slot);
    Runtime::detachCurrentThread();
    return nullptr;
}

java_lang_Thread* java_lang_Thread::currentThread() {
    return static_cast<java_lang_Thread*>(ThreadTable::currentThread());
}

void java_lang_Thread::sleep(jlong millis) {
    if (millis < 0) return;
    const int64_t span = static_cast<uint32_t>(millis);
    bool heldByCollection = false;
    Runtime::runParked([&] {
        if (span == 0) {
            sched_yield();
        } else {
            const int64_t deadline = Runtime::clock().monotonicMillis() + span;
            while (Runtime::clock().monotonicMillis() < deadline) Runtime::waitForWake(deadline);
        }
        // Leaving the safe region waits for a collection that holds the world.
        if (Runtime::worldStopped()) {
            heldByCollection = true;
            Log::debug("java_lang_Thread::sleep(): thread 0x%X suspending...", osThreadId());
        }
    });
    if (heldByCollection) Log::debug("java_lang_Thread::sleep(): thread 0x%X is awake", osThreadId());
}

void java_lang_Thread::yield() { sleep(0); }

jint java_lang_Thread::activeCount() { return ThreadTable::activeCount(); }

jint java_lang_Thread::setPriorityNative(java_lang_Thread* thread, jint priority) {
    return ThreadTable::setOsPriority(thread, std::min(9 - priority, 7));
}

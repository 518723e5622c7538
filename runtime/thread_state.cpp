// Thread records: a list under one lock, a thread_local pointer to the caller's own record, and a
// thread_local guard whose destructor detaches the thread at exit.
#include "runtime/thread_state.h"

#include <pthread.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "runtime/class_record.h"
#include "runtime/log.h"

namespace {

std::mutex& listLock() {
    static std::mutex lock;
    return lock;
}
std::vector<ThreadState*>& threadList() {
    static std::vector<ThreadState*> list;
    return list;
}

uintptr_t stackBaseOfCallingThread() {
    pthread_attr_t attr;
    void* low = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) {
        Log::error("thread stack bounds unavailable: its stack cannot be scanned");
        return 0;
    }
    pthread_attr_getstack(&attr, &low, &size);
    pthread_attr_destroy(&attr);
    return reinterpret_cast<uintptr_t>(low) + size;
}

// Owns the calling thread's record; its destructor is the thread's end.
struct ThreadGuard {
    ThreadState* state = nullptr;
    ~ThreadGuard() { Runtime::detachCurrentThread(); }
};
thread_local ThreadGuard t_guard;

}  // namespace

namespace Runtime {

ThreadState& currentThreadState() {
    if (t_guard.state) return *t_guard.state;
    auto* state = new ThreadState();
    state->stackBase = stackBaseOfCallingThread();
    {
        std::lock_guard guard(listLock());
        threadList().push_back(state);
    }
    t_guard.state = state;
    return *state;
}

void detachCurrentThread() {
    ThreadState* state = t_guard.state;
    if (!state) return;
    {
        std::lock_guard guard(listLock());
        auto& list = threadList();
        list.erase(std::remove(list.begin(), list.end(), state), list.end());
    }
    if (Object* left = state->pendingException) {
        const ClassRecord* record = Class::forId(left->classId());
        Log::warn("uncaught %s left pending at the end of its thread", record ? record->name() : "object");
    }
    t_guard.state = nullptr;
    delete state;
}

void forEachThreadState(void (*visit)(ThreadState&, void*), void* context) {
    std::lock_guard guard(listLock());
    for (ThreadState* state : threadList()) visit(*state, context);
}

__attribute__((noinline)) uintptr_t stackPointerBelowCaller() {
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    asm volatile("" ::: "memory");
    return here;
}

__attribute__((noinline)) void runParked(void (*blocking)(void*), void* context) {
    __builtin_unwind_init();  // callee-saved registers now sit in this frame, above the mark below
    ThreadState& self = currentThreadState();
    self.savedStackPointer.store(stackPointerBelowCaller(), std::memory_order_release);
    self.parked.store(true, std::memory_order_release);
    blocking(context);
    self.parked.store(false, std::memory_order_release);
    asm volatile("" ::: "memory");
}

}  // namespace Runtime

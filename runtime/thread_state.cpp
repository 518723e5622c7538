// Thread records and the stop-the-world handshake: one world lock guards the list, every parked
// flag and the stopper; one condition variable says "a thread parked or left, or the world was
// released". Lock order: the world lock, then a thread's wakeLock, then the settle lock; nothing
// blocks holding the first two. A thread that may have become settled (it began a wait, left, or
// failed to start) bumps the settle generation, so whoever waits for the others to settle sleeps.
#include "runtime/thread_state.h"

#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "runtime/class_record.h"
#include "runtime/clock.h"
#include "runtime/log.h"

namespace {

struct World {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<ThreadState*> threads;
    ThreadState* stopper = nullptr;  // non-null while the world is stopped
    int stopDepth = 0;               // the stopper's nested suspendAllThreads calls
    int starting = 0;                // threads started that have not registered yet
};

// Never destroyed: a thread left parked in a stopped world at the end of a run may still be
// waiting on it while the process exits.
World& world() {
    static World* const w = new World();
    return *w;
}

// Who waits in waitForOthersToSettle sleeps on `changed` until the generation moves. Threads
// signal only while someone watches: the watcher counts itself in before it looks, and a signaller
// reads the count after its change (both sequentially consistent), so no change is missed.
struct Settle {
    std::mutex lock;
    std::condition_variable changed;
    uint64_t generation = 0;  // under lock
    std::atomic<int> watchers{0};
};

Settle& settle() {
    static Settle* const s = new Settle();
    return *s;
}

void signalMaySettle() {
    Settle& s = settle();
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (s.watchers.load() == 0) return;
    {
        std::lock_guard guard(s.lock);
        ++s.generation;
    }
    s.changed.notify_all();
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

// Under the world lock: waits, counted as parked, while another thread holds the world stopped.
void waitWhileStoppedByOther(World& w, std::unique_lock<std::mutex>& held, ThreadState& self) {
    if (!w.stopper || w.stopper == &self) return;
    const bool wasParked = self.parked.load();
    self.parked.store(true);
    w.changed.notify_all();
    w.changed.wait(held, [&] { return !w.stopper || w.stopper == &self; });
    self.parked.store(wasParked);
}

void enterSafeRegion(ThreadState& self, uintptr_t stackPointer) {
    World& w = world();
    self.savedStackPointer.store(stackPointer, std::memory_order_release);
    std::lock_guard guard(w.lock);
    self.parked.store(true);
    if (w.stopper) w.changed.notify_all();
}

void leaveSafeRegion(ThreadState& self) {
    World& w = world();
    std::unique_lock held(w.lock);
    w.changed.wait(held, [&] { return !w.stopper || w.stopper == &self; });
    self.parked.store(false);
}

}  // namespace

namespace Runtime {

namespace detail {

constinit thread_local ThreadState* t_currentThreadState = nullptr;

ThreadState& registerCurrentThread() {
    if (t_guard.state) return *t_guard.state;
    auto* state = new ThreadState();
    state->stackBase = stackBaseOfCallingThread();
    state->savedStackPointer.store(stackPointerBelowCaller());
    World& w = world();
    {
        std::unique_lock held(w.lock);
        w.threads.push_back(state);
        waitWhileStoppedByOther(w, held, *state);
    }
    t_guard.state = state;
    t_currentThreadState = state;
    return *state;
}

}  // namespace detail

void reportUncaughtException() {
    ThreadState& self = currentThreadState();
    // Registered and running here: the object read below cannot be swept meanwhile.
    if (Object* left = self.pendingException) {
        const ClassRecord* record = Class::forId(left->classId());
        Log::warn("uncaught %s left pending at the end of its thread", record ? record->name() : "object");
        self.pendingException = nullptr;
    }
}

void detachCurrentThread() {
    ThreadState* state = t_guard.state;
    if (!state) return;
    reportUncaughtException();
    World& w = world();
    {
        std::lock_guard guard(w.lock);
        auto& list = w.threads;
        list.erase(std::remove(list.begin(), list.end(), state), list.end());
        if (w.stopper == state) {
            w.stopper = nullptr;
            w.stopDepth = 0;
        }
        w.changed.notify_all();
    }
    signalMaySettle();
    t_guard.state = nullptr;
    detail::t_currentThreadState = nullptr;
    delete state;
}

uintptr_t setStackBase(uintptr_t base) {
    ThreadState& self = currentThreadState();
    const uintptr_t previous = self.stackBase;
    const uintptr_t here = stackPointerBelowCaller();
    if (base > here && base <= stackBaseOfCallingThread()) self.stackBase = base;
    return previous;
}

void forEachThreadState(void (*visit)(ThreadState&, void*), void* context) {
    std::lock_guard guard(world().lock);
    for (ThreadState* state : world().threads) visit(*state, context);
}

__attribute__((noinline)) uintptr_t stackPointerBelowCaller() {
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    asm volatile("" ::: "memory");
    return here;
}

__attribute__((noinline)) void runParked(void (*blocking)(void*), void* context) {
    __builtin_unwind_init();  // callee-saved registers now sit in this frame, above the mark below
    ThreadState& self = currentThreadState();
    // Nested safe regions (a wait inside a parked call) keep the outer, higher mark.
    const bool nested = self.parked.load();
    if (!nested) enterSafeRegion(self, stackPointerBelowCaller());
    blocking(context);
    if (!nested) leaveSafeRegion(self);
    asm volatile("" ::: "memory");
}

void suspendAllThreads() {
    World& w = world();
    ThreadState& self = currentThreadState();
    std::unique_lock held(w.lock);
    waitWhileStoppedByOther(w, held, self);
    // The stopper may stop again (a collection during shutdown); the others are parked already.
    if (w.stopper == &self) {
        ++w.stopDepth;
        return;
    }
    w.stopper = &self;
    w.stopDepth = 1;
    w.changed.wait(held, [&] {
        for (ThreadState* state : w.threads)
            if (state != &self && !state->parked.load()) return false;
        return true;
    });
}

void resumeAllThreads() {
    World& w = world();
    std::lock_guard guard(w.lock);
    if (w.stopDepth > 1) {
        --w.stopDepth;
        return;
    }
    w.stopper = nullptr;
    w.stopDepth = 0;
    w.changed.notify_all();
}

bool worldStopped() {
    std::lock_guard guard(world().lock);
    return world().stopper != nullptr;
}

void waitForWake(int64_t deadline) {
    ThreadState& self = currentThreadState();
    std::unique_lock held(self.wakeLock);
    self.waitDeadline.store(deadline);
    if (!self.wakeRequested) signalMaySettle();
    while (!self.wakeRequested) {
        if (deadline == kNoDeadline) {
            self.wakeSignal.wait(held);
            continue;
        }
        ClockSource& source = clock();
        const int64_t now = source.monotonicMillis();
        if (now >= deadline) break;
        source.waitFor(held, self.wakeSignal, deadline - now);
    }
    self.wakeRequested = false;
    self.waitDeadline.store(ThreadState::kNotWaiting);
}

void wakeThread(ThreadState& thread) {
    std::lock_guard guard(thread.wakeLock);
    thread.wakeRequested = true;
    thread.wakeSignal.notify_all();
}

void threadStarting() {
    std::lock_guard guard(world().lock);
    ++world().starting;
}

void threadStarted() {
    (void)currentThreadState();
    std::lock_guard guard(world().lock);
    --world().starting;
}

void threadStartFailed() {
    {
        std::lock_guard guard(world().lock);
        --world().starting;
    }
    signalMaySettle();
}

namespace {

enum class Settling { Settled, Running, AwaitingWork };

Settling othersSettling() {
    World& w = world();
    const ThreadState* self = detail::t_currentThreadState;
    const int64_t now = clock().monotonicMillis();
    std::lock_guard guard(w.lock);
    if (w.starting > 0) return Settling::Running;
    Settling answer = Settling::Settled;
    for (ThreadState* state : w.threads) {
        if (state == self) continue;
        if (!state->parked.load()) return Settling::Running;
        if (state->awaitingWork.load()) {
            answer = Settling::AwaitingWork;
            continue;
        }
        std::lock_guard wake(state->wakeLock);
        const int64_t deadline = state->waitDeadline.load();
        if (state->wakeRequested || deadline == ThreadState::kNotWaiting || deadline <= now) return Settling::Running;
    }
    return answer;
}

}  // namespace

bool othersSettled() { return othersSettling() == Settling::Settled; }

void runParkedAwaitingWork(void (*blocking)(void*), void* context) {
    ThreadState& self = currentThreadState();
    runParked([&] {
        self.awaitingWork.store(true);
        blocking(context);
        self.awaitingWork.store(false);
    });
    signalMaySettle();
}

void waitForOthersToSettle(std::chrono::milliseconds bound) {
    Settle& s = settle();
    auto giveUp = std::chrono::steady_clock::now() + bound;
    s.watchers.fetch_add(1);
    for (;;) {
        uint64_t seen = 0;
        {
            std::lock_guard guard(s.lock);
            seen = s.generation;
        }
        const Settling settling = othersSettling();
        if (settling == Settling::Settled) break;
        std::unique_lock held(s.lock);
        const auto moved = [&] { return s.generation != seen; };
        if (settling == Settling::AwaitingWork) {
            // The bound counts from the end of the work: the thread then has its turn to run.
            s.changed.wait(held, moved);
            giveUp = std::chrono::steady_clock::now() + bound;
        } else if (!s.changed.wait_until(held, giveUp, moved)) break;
    }
    s.watchers.fetch_sub(1);
}

// Only the waits the new time makes due are woken; the others would only wait again.
void wakeTimedWaiters() {
    int64_t now = clock().monotonicMillis();
    forEachThreadState(
        [](ThreadState& state, void* context) {
            const int64_t at = *static_cast<const int64_t*>(context);
            std::lock_guard guard(state.wakeLock);
            const int64_t deadline = state.waitDeadline.load();
            if (deadline != ThreadState::kNotWaiting && deadline != kNoDeadline && deadline <= at)
                state.wakeSignal.notify_all();
        },
        &now);
}

}  // namespace Runtime

// ThreadState: what the runtime keeps per thread that touches the heap — the pending exception and
// its call-site position, the stack bounds the collector scans, the parked flag of the stop-the-world
// handshake and the thread's wake signal (sleeps and monitor waits block on it).
// Invariant: a thread touches the heap only while it is not parked, and the world stays stopped
// until its stopper releases it: a collection runs while every other registered thread is parked.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "runtime/jtypes.h"

class Object;

struct ThreadState {
    static constexpr int64_t kNotWaiting = INT64_MIN;

    // Roots of the collector.
    Object* pendingException = nullptr;
    jint callSitePosition = 0;
    // The stack runs from savedStackPointer (lowest live address while parked) up to stackBase
    // (one past its highest address).
    uintptr_t stackBase = 0;
    std::atomic<uintptr_t> savedStackPointer{0};
    // Written under the world lock; true while the thread is inside a safe region.
    std::atomic<bool> parked{false};

    // The wake signal. wakeRequested is written under wakeLock; a wait consumes it.
    std::mutex wakeLock;
    std::condition_variable wakeSignal;
    bool wakeRequested = false;
    // True while the thread, parked, waits for work another thread is sure to finish (see
    // runParkedAwaitingWork).
    std::atomic<bool> awaitingWork{false};
    // The deadline (monotonic ms) of the wait the thread is blocked in, kNotWaiting when it is in
    // none, INT64_MAX without a limit. Read by tests to know a thread has reached its wait.
    std::atomic<int64_t> waitDeadline{kNotWaiting};
};

namespace Runtime {

inline constexpr int64_t kNoDeadline = INT64_MAX;

namespace detail {
// The calling thread's record once registered, else null. Constant-initialised, so reading it is a
// plain thread-local load (no initialisation wrapper).
extern constinit thread_local ThreadState* t_currentThreadState;
// The first call's path: registers the calling thread and returns its record.
[[nodiscard]] ThreadState& registerCurrentThread();
}  // namespace detail

// The calling thread's record; the first call registers the thread (waiting, parked, while the
// world is stopped). Inline: every monitor entry and exit asks for it.
[[nodiscard]] inline ThreadState& currentThreadState() {
    if (ThreadState* state = detail::t_currentThreadState) [[likely]]
        return *state;
    return detail::registerCurrentThread();
}
// Logs and clears a pending exception the calling thread's run left behind ("uncaught ...").
void reportUncaughtException();
// Ends the calling thread's use of the runtime: reportUncaughtException, then the record leaves the
// list. Runs by itself when a registered thread exits.
void detachCurrentThread();
// The calling thread's stack base := base (one past the highest address its scan covers), when
// base lies above the caller and inside the thread's stack; the previous base is returned so the
// caller can put it back. The host's main thread scans only from main() down.
uintptr_t setStackBase(uintptr_t base);
// Calls visit(record, context) for every registered thread, under the list lock. The visitor must
// not register or detach threads, nor park.
void forEachThreadState(void (*visit)(ThreadState& state, void* context), void* context);

// Runs blocking(context) as a safe region: the callee-saved registers are spilled into this frame,
// the stack pointer is recorded and the thread counts as parked until blocking returns, so a
// collection on another thread may scan this stack meanwhile. Leaving waits while another thread
// holds the world stopped. blocking must not touch the heap (nor keep native-heap data pointers).
void runParked(void (*blocking)(void* context), void* context);
template <class F>
void runParked(F&& blocking) {
    runParked([](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }, &blocking);
}
// runParked for a wait on work that another thread is sure to finish (a render, not an event):
// while it lasts, waitForOthersToSettle waits for it past its bound, so a virtual clock stands
// still however long the work takes in real time, and a run sees the same moments on any machine.
void runParkedAwaitingWork(void (*blocking)(void* context), void* context);
template <class F>
void runParkedAwaitingWork(F&& blocking) {
    runParkedAwaitingWork([](void* f) { (*static_cast<std::remove_reference_t<F>*>(f))(); }, &blocking);
}
// An address just below the caller's frame: everything the caller holds on the stack lies above it.
[[nodiscard]] uintptr_t stackPointerBelowCaller();

// Stops the world: waits (on a condition variable, parked itself meanwhile if another thread holds
// the world) until every other registered thread is parked or gone. The stopper may stop it again;
// the world is released by the resume that matches the first stop. Threads that register while
// the world is stopped wait, parked, for its release.
void suspendAllThreads();
void resumeAllThreads();
[[nodiscard]] bool worldStopped();

// Blocks the calling thread, which must be inside a safe region, until its wake signal is raised,
// the deadline (Runtime::clock() monotonic ms; kNoDeadline: none) has passed, or spuriously. The
// caller re-checks its own condition. Consumes the wake request.
void waitForWake(int64_t deadline);
// Raises the thread's wake signal. The thread must be alive (listed as a waiter, for instance).
void wakeThread(ThreadState& thread);
// A runtime thread is being started: threadStarting before the OS thread is made; the new thread
// calls threadStarted first (it registers), or the starter threadStartFailed when none was made.
// Until then othersSettled is false: a thread on its way cannot be missed.
void threadStarting();
void threadStarted();
void threadStartFailed();
// True when no thread is on its way and every registered thread but the caller is blocked in a wait that is not due: parked in
// waitForWake with a deadline later than now (or none) and no wake request pending. A thread that
// runs, is due, was woken, or is blocked elsewhere (a monitor entry, I/O) is not settled.
[[nodiscard]] bool othersSettled();
// Waits, in real time at most `bound` (longer while another thread awaits work), until
// othersSettled(). A virtual clock calls it before it moves time, so every thread has done what
// was due before the next moment comes. It sleeps until a thread begins a wait, leaves, fails to
// start or has its awaited work done, and looks again only then.
void waitForOthersToSettle(std::chrono::milliseconds bound);
// Called by a clock source whose time moved without real time passing (ManualClock): every timed
// wait the new time makes due re-reads the clock.
void wakeTimedWaiters();

}  // namespace Runtime

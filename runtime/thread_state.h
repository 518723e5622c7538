// ThreadState: what the runtime keeps per thread before the thread table exists — the pending
// exception and its call-site position, and what the collector needs to scan the thread's stack.
// Invariant: a record is written only by its own thread, except that the collector reads it while
// the thread is parked (or is the collector itself); the list of records changes under its lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/jtypes.h"

class Object;

struct ThreadState {
    // Roots of the collector.
    Object* pendingException = nullptr;
    Object* threadObject = nullptr;  // the thread's java_lang_Thread, once the thread table sets it
    jint callSitePosition = 0;
    // The stack runs from savedStackPointer (lowest live address while parked) up to stackBase
    // (one past its highest address).
    uintptr_t stackBase = 0;
    std::atomic<uintptr_t> savedStackPointer{0};
    std::atomic<bool> parked{false};
};

namespace Runtime {

// The calling thread's record; the first call registers the thread.
[[nodiscard]] ThreadState& currentThreadState();
// Ends the calling thread's use of the runtime: a pending exception still left is logged and
// cleared, and the record leaves the list. Runs by itself when a registered thread exits.
void detachCurrentThread();
// Calls visit(record, context) for every registered thread, under the list lock. The visitor must
// not register or detach threads.
void forEachThreadState(void (*visit)(ThreadState& state, void* context), void* context);
// Runs blocking(context) as a safe region: the callee-saved registers are spilled into this frame,
// the stack pointer is recorded and the thread counts as parked until blocking returns, so a
// collection on another thread may scan this stack meanwhile. blocking must not touch the heap.
void runParked(void (*blocking)(void* context), void* context);
// An address just below the caller's frame: everything the caller holds on the stack lies above it.
[[nodiscard]] uintptr_t stackPointerBelowCaller();

}  // namespace Runtime

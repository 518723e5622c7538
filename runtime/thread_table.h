// ThreadTable: the eight slots of the threads that run application classes (slot 0 the main
// thread), each holding its java_lang_Thread, OS handle, runtime record and stored priority.
// Invariant: a slot's Thread is non-null exactly from the start of its thread until its run has
// returned; the slots' Thread objects are collector roots. Slots change under the table lock.
#pragma once

#include <pthread.h>

#include <cstdint>

#include "runtime/jtypes.h"

class Object;
struct ThreadState;

struct ThreadRecord {
    Object* thread = nullptr;      // the java_lang_Thread; null: a free slot
    pthread_t handle{};            // valid once the OS thread exists
    ThreadState* state = nullptr;  // set by the thread itself when it begins
    jint osPriority = 0;
};

struct ThreadTable {
    static constexpr int kSlots = 8;
    // The phone's normal OS priority (lower numbers run first, 0 to 7).
    static constexpr jint kNormalOsPriority = 3;

    // The first free slot, now holding thread, or -1 when all eight are used. A thread that holds
    // a slot already keeps it: its slot is answered and *alreadyHeld set.
    [[nodiscard]] static int addThread(Object* thread, bool* alreadyHeld = nullptr);
    [[nodiscard]] static int findThread(Object* thread);
    [[nodiscard]] static Object* currentThread();
    // Stores the handle when the slot still holds thread (its run may have ended already).
    static void setHandle(int slot, Object* thread, pthread_t handle);
    // Binds the calling thread's record to its slot (called first thing by the thread).
    static void bindCurrentThread(int slot);
    // Puts the calling thread, started outside the table (the host's main thread), into the first
    // free slot under `thread`; -1 when the table is full.
    [[nodiscard]] static int attachCurrentThread(Object* thread);
    // The thread's run has returned: its Thread becomes collectable and the slot free; joiners wake.
    static void freeSlot(int slot);
    // Blocks, parked, until thread holds no slot.
    static void waitUntilFreed(Object* thread);
    [[nodiscard]] static jint activeCount();

    // Stores the OS priority of thread's slot; the host call itself has no effect here. Answers 1,
    // 0 when the priority is refused (outside 0 to 7), -1 when the thread holds no slot.
    [[nodiscard]] static jint setOsPriority(Object* thread, jint osPriority);
    // The OS priority of the calling thread: its slot's stored value, else kNormalOsPriority.
    [[nodiscard]] static jint getThreadPriority();

    // The deadline of the wait thread's OS thread is blocked in (ThreadState::waitDeadline), or
    // ThreadState::kNotWaiting.
    [[nodiscard]] static int64_t waitDeadlineOf(Object* thread);

    // Calls visit(thread, context) for every used slot, under the table lock (the collector's roots).
    static void forEachThread(void (*visit)(Object* thread, void* context), void* context);
};

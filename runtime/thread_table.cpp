// The thread table behind one lock and a condition variable for joiners. The lock is held only for
// the lookup or update itself: never while parked, allocating or calling out.
#include "runtime/thread_table.h"

#include <condition_variable>
#include <mutex>

#include "runtime/log.h"
#include "runtime/object.h"
#include "runtime/thread_state.h"

namespace {

struct Table {
    std::mutex lock;
    std::condition_variable slotFreed;
    ThreadRecord slots[ThreadTable::kSlots];
};

Table& table() {
    static Table t;
    return t;
}

int findLocked(Table& t, Object* thread) {
    if (!thread) return -1;
    for (int i = 0; i < ThreadTable::kSlots; ++i)
        if (t.slots[i].thread == thread) return i;
    return -1;
}

int addLocked(Table& t, Object* thread) {
    for (int i = 0; i < ThreadTable::kSlots; ++i) {
        if (t.slots[i].thread) continue;
        t.slots[i] = ThreadRecord{thread, {}, nullptr, ThreadTable::kNormalOsPriority};
        return i;
    }
    return -1;
}

}  // namespace

int ThreadTable::addThread(Object* thread, bool* alreadyHeld) {
    if (!thread) return -1;
    Table& t = table();
    std::lock_guard guard(t.lock);
    const int held = findLocked(t, thread);
    if (alreadyHeld) *alreadyHeld = held >= 0;
    return held >= 0 ? held : addLocked(t, thread);
}

int ThreadTable::findThread(Object* thread) {
    Table& t = table();
    std::lock_guard guard(t.lock);
    return findLocked(t, thread);
}

Object* ThreadTable::currentThread() {
    ThreadState* self = &Runtime::currentThreadState();
    Table& t = table();
    std::lock_guard guard(t.lock);
    for (const ThreadRecord& slot : t.slots)
        if (slot.thread && slot.state == self) return slot.thread;
    return nullptr;
}

void ThreadTable::setHandle(int slot, Object* thread, pthread_t handle) {
    if (slot < 0 || slot >= kSlots) return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    if (t.slots[slot].thread == thread) t.slots[slot].handle = handle;
}

void ThreadTable::bindCurrentThread(int slot) {
    ThreadState* self = &Runtime::currentThreadState();
    if (slot < 0 || slot >= kSlots) return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    t.slots[slot].state = self;
}

int ThreadTable::attachCurrentThread(Object* thread) {
    ThreadState* self = &Runtime::currentThreadState();
    Table& t = table();
    std::lock_guard guard(t.lock);
    const int slot = addLocked(t, thread);
    if (slot < 0) {
        Log::error("thread table full: the calling thread stays outside it");
        return -1;
    }
    t.slots[slot].handle = pthread_self();
    t.slots[slot].state = self;
    return slot;
}

void ThreadTable::freeSlot(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    if (Object* thread = t.slots[slot].thread) thread->setCollectable(true);
    t.slots[slot] = ThreadRecord{};
    t.slotFreed.notify_all();
}

void ThreadTable::waitUntilFreed(Object* thread) {
    Runtime::runParked([thread] {
        Table& t = table();
        std::unique_lock held(t.lock);
        t.slotFreed.wait(held, [&] { return findLocked(t, thread) < 0; });
    });
}

jint ThreadTable::activeCount() {
    Table& t = table();
    std::lock_guard guard(t.lock);
    jint count = 0;
    for (const ThreadRecord& slot : t.slots) count += slot.thread ? 1 : 0;
    return count;
}

jint ThreadTable::setOsPriority(Object* thread, jint osPriority) {
    Table& t = table();
    std::lock_guard guard(t.lock);
    const int slot = findLocked(t, thread);
    if (slot < 0) return -1;
    if (osPriority < 0 || osPriority > 7) return 0;
    t.slots[slot].osPriority = osPriority;
    return 1;
}

jint ThreadTable::getThreadPriority() {
    ThreadState* self = &Runtime::currentThreadState();
    Table& t = table();
    std::lock_guard guard(t.lock);
    for (const ThreadRecord& slot : t.slots)
        if (slot.thread && slot.state == self) return slot.osPriority;
    return kNormalOsPriority;
}

int64_t ThreadTable::waitDeadlineOf(Object* thread) {
    Table& t = table();
    std::lock_guard guard(t.lock);
    const int slot = findLocked(t, thread);
    if (slot < 0 || !t.slots[slot].state) return ThreadState::kNotWaiting;
    return t.slots[slot].state->waitDeadline.load();
}

void ThreadTable::forEachThread(void (*visit)(Object*, void*), void* context) {
    Table& t = table();
    std::lock_guard guard(t.lock);
    for (const ThreadRecord& slot : t.slots)
        if (slot.thread) visit(slot.thread, context);
}

// The monitor table, synchronized entry and exit, and Object's wait and notify. Lock order: the table
// lock alone; a record's lock, then a waiter's wakeLock. No lock is held while parked.
#include "runtime/monitor.h"

#include <algorithm>
#include <vector>

#include "runtime/clock.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/object.h"
#include "runtime/thread_state.h"

namespace {

struct Table {
    std::mutex lock;
    MonitorRecord records[MonitorTable::kRecords];
    // With every record in use, further objects share this one; they stay listed until freed, so
    // an object never has two records at once.
    MonitorRecord overflow;
    std::vector<Object*> overflowObjects;
    std::atomic<int> used{0};
    std::atomic<bool> overflowUsed{false};
};

Table& table() {
    static Table t;
    return t;
}

MonitorRecord* findUnlocked(Table& t, Object* object) {
    for (MonitorRecord& record : t.records)
        if (record.object.load(std::memory_order_acquire) == object) return &record;
    return nullptr;
}

bool inOverflow(const Table& t, Object* object) {
    return std::find(t.overflowObjects.begin(), t.overflowObjects.end(), object) != t.overflowObjects.end();
}

void append(MonitorRecord& record, MonitorWaiter& waiter) {
    waiter.next = nullptr;
    if (record.lastWaiter) record.lastWaiter->next = &waiter;
    else record.firstWaiter = &waiter;
    record.lastWaiter = &waiter;
}

void unlink(MonitorRecord& record, MonitorWaiter& waiter) {
    MonitorWaiter* previous = nullptr;
    for (MonitorWaiter* w = record.firstWaiter; w; previous = w, w = w->next) {
        if (w != &waiter) continue;
        if (previous) previous->next = w->next;
        else record.firstWaiter = w->next;
        if (record.lastWaiter == w) record.lastWaiter = previous;
        return;
    }
}

// The record a thread that holds object's monitor finds it in (a record, or the overflow one).
MonitorRecord* heldRecord(Object* object) { return MonitorTable::getMonitor(object, false); }

// Takes the record's monitor for self, parked while another thread holds it; restores `entries`.
void acquireParked(MonitorRecord& record, ThreadState& self, jint entries) {
    Runtime::runParked([&] {
        std::unique_lock held(record.lock);
        record.released.wait(held, [&] { return record.owner == nullptr; });
        record.owner = &self;
        record.entryCount = entries;
    });
}

// Wakes up to n (all when n < 0) of the threads waiting on object, first come first served.
void notifyWaiters(Object* object, jint n) {
    ThreadState& self = Runtime::currentThreadState();
    MonitorRecord* record = MonitorTable::getMonitor(object, true);
    if (!record) return;
    std::lock_guard guard(record->lock);
    if (record->owner != &self) {
        Log::error("notify by a thread that does not hold the monitor: ignored");
        return;
    }
    MonitorWaiter* w = record->firstWaiter;
    while (w && n != 0) {
        MonitorWaiter* next = w->next;
        if (w->object == object) {
            unlink(*record, *w);
            w->notified = true;
            Runtime::wakeThread(*w->thread);
            if (n > 0) --n;
        }
        w = next;
    }
}

}  // namespace

MonitorRecord* MonitorTable::getMonitor(Object* object, bool create) {
    if (!object) return nullptr;
    Table& t = table();
    if (MonitorRecord* found = findUnlocked(t, object)) return found;
    std::lock_guard guard(t.lock);
    // Searched again: another thread may have made the record since the unlocked look.
    if (MonitorRecord* found = findUnlocked(t, object)) return found;
    if (t.overflowUsed.load() && inOverflow(t, object)) return &t.overflow;
    if (!create) return nullptr;
    for (MonitorRecord& record : t.records) {
        if (record.object.load(std::memory_order_relaxed) != nullptr) continue;
        record.object.store(object, std::memory_order_release);
        t.used.fetch_add(1);
        return &record;
    }
    Log::error("monitor table full (%d records): the object shares the overflow monitor", kRecords);
    t.overflowObjects.push_back(object);
    t.overflowUsed.store(true);
    return &t.overflow;
}

void MonitorTable::releaseMonitor(Object* object) {
    Table& t = table();
    if (!object || (t.used.load() == 0 && !t.overflowUsed.load())) return;
    std::lock_guard guard(t.lock);
    if (MonitorRecord* record = findUnlocked(t, object)) {
        // Nobody can hold or wait on an object the collector frees: the record is idle.
        record->owner = nullptr;
        record->entryCount = 0;
        record->firstWaiter = record->lastWaiter = nullptr;
        record->object.store(nullptr, std::memory_order_release);
        t.used.fetch_sub(1);
        return;
    }
    auto& list = t.overflowObjects;
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
    t.overflowUsed.store(!list.empty());
}

int MonitorTable::usedRecords() { return table().used.load(); }

namespace Runtime {

void monitorEnter(Object* object) {
    if (!object) {
        nullPointer();
        return;
    }
    ThreadState& self = currentThreadState();
    MonitorRecord* record = MonitorTable::getMonitor(object, true);
    {
        std::lock_guard guard(record->lock);
        if (record->owner == &self) {
            ++record->entryCount;
            return;
        }
        if (!record->owner) {
            record->owner = &self;
            record->entryCount = 1;
            return;
        }
    }
    acquireParked(*record, self, 1);
}

void monitorExit(Object* object) {
    if (!object) {
        nullPointer();
        return;
    }
    ThreadState& self = currentThreadState();
    MonitorRecord* record = heldRecord(object);
    if (record) {
        std::lock_guard guard(record->lock);
        if (record->owner == &self) {
            if (--record->entryCount == 0) {
                record->owner = nullptr;
                record->released.notify_one();
            }
            return;
        }
    }
    Log::error("monitor exit by a thread that does not hold the monitor: ignored");
}

}  // namespace Runtime

// A wait releases every entry the caller holds and takes them all back before returning.
void Object::wait(jlong millis) {
    ThreadState& self = Runtime::currentThreadState();
    MonitorRecord* record = MonitorTable::getMonitor(this, true);
    MonitorWaiter waiter{&self, this, nullptr, false};
    jint entries = 0;
    {
        std::lock_guard guard(record->lock);
        if (record->owner != &self) {
            Log::error("wait by a thread that does not hold the monitor: ignored");
            return;
        }
        append(*record, waiter);
        entries = record->entryCount;
        record->owner = nullptr;
        record->entryCount = 0;
        record->released.notify_one();
    }
    const int64_t deadline = millis > 0 ? Runtime::clock().monotonicMillis() + millis : Runtime::kNoDeadline;
    Runtime::runParked([&] {
        for (;;) {
            {
                std::lock_guard guard(record->lock);
                if (waiter.notified) break;
                if (deadline != Runtime::kNoDeadline && Runtime::clock().monotonicMillis() >= deadline) {
                    unlink(*record, waiter);
                    break;
                }
            }
            Runtime::waitForWake(deadline);
        }
        // Nested in the safe region above, so this block re-enters without leaving it.
        acquireParked(*record, self, entries);
    });
}

void Object::notify() { notifyWaiters(this, 1); }

void Object::notifyAll() { notifyWaiters(this, -1); }

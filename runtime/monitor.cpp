// The monitor table, synchronized entry and exit, and Object's wait and notify. Lock order: the table
// lock alone; a record's lock, then a waiter's wakeLock. No lock is held while parked.
#include "runtime/monitor.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "runtime/clock.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/object.h"
#include "runtime/short_lock.h"
#include "runtime/thread_state.h"

namespace {

constexpr size_t kSlots = 2 * MonitorTable::kRecords;  // a power of two, at most half full of records
// A slot whose record was freed: lookups probe past it; an insertion may reuse it. (A function, not
// a constant: a pointer made from an integer would be initialised at run time, maybe too late.)
MonitorRecord* tombstone() { return reinterpret_cast<MonitorRecord*>(uintptr_t{alignof(MonitorRecord)}); }

struct Table {
    std::mutex lock;
    MonitorRecord records[MonitorTable::kRecords];
    // The records in use, open-addressed by object address. Read without the lock: outside a
    // rebuild a slot only goes from empty to a record and from a record to a tombstone, so a
    // probe never stops short of an entry that was there when it began. A probe that misses
    // looks again under the lock (or checks that no rebuild overlapped it).
    std::atomic<MonitorRecord*> slots[kSlots] = {};
    size_t tombstones = 0;               // under the lock
    std::atomic<uint32_t> rebuilds{0};   // odd while the slots are rebuilt
    // With every record in use, further objects share this one; they stay listed until freed, so
    // an object never has two records at once.
    MonitorRecord overflow;
    std::vector<Object*> overflowObjects;
    std::atomic<int> used{0};
    std::atomic<bool> overflowUsed{false};
    std::atomic<int64_t> overflowCount{0};
};

// The calling thread's last record found: entry and exit of one object, loops locking one object.
constinit thread_local MonitorRecord* t_lastRecord = nullptr;

// The cached record when it is object's. An object has at most one record at a time, so a record
// whose object word names it is its record, whenever it was cached. (The overflow record's word
// stays null: never a hit.)
MonitorRecord* lastRecordFor(const Object* object) {
    MonitorRecord* last = t_lastRecord;
    return last && last->object.load(std::memory_order_acquire) == object ? last : nullptr;
}

Table& table() {
    static Table t;
    return t;
}

size_t slotOf(const Object* object) {
    // Objects are 8-aligned: drop the zero bits, then spread the rest over the slots.
    const uint64_t bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(object)) >> 3;
    return static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 56) & (kSlots - 1);
}

MonitorRecord* findUnlocked(Table& t, Object* object) {
    size_t i = slotOf(object);
    for (size_t probes = 0; probes < kSlots; ++probes, i = (i + 1) & (kSlots - 1)) {
        MonitorRecord* record = t.slots[i].load(std::memory_order_acquire);
        if (record == nullptr) return nullptr;
        if (record != tombstone() && record->object.load(std::memory_order_acquire) == object) return record;
    }
    return nullptr;
}

// Table lock held. Places a record (its object word already set) in the first free slot of its probe.
void indexRecord(Table& t, MonitorRecord* record) {
    size_t i = slotOf(record->object.load(std::memory_order_relaxed));
    for (;;) {
        MonitorRecord* at = t.slots[i].load(std::memory_order_relaxed);
        if (at == nullptr || at == tombstone()) {
            if (at == tombstone()) --t.tombstones;
            t.slots[i].store(record, std::memory_order_release);
            return;
        }
        i = (i + 1) & (kSlots - 1);
    }
}

// Table lock held. Clears the slots and places every record in use again, dropping the tombstones.
void rebuildSlots(Table& t) {
    t.rebuilds.fetch_add(1, std::memory_order_acq_rel);
    for (auto& slot : t.slots) slot.store(nullptr, std::memory_order_relaxed);
    t.tombstones = 0;
    for (MonitorRecord& record : t.records)
        if (record.object.load(std::memory_order_relaxed) != nullptr) indexRecord(t, &record);
    t.rebuilds.fetch_add(1, std::memory_order_release);
}

// Table lock held. The record's slot becomes a tombstone.
void unindexRecord(Table& t, MonitorRecord* record) {
    size_t i = slotOf(record->object.load(std::memory_order_relaxed));
    for (size_t probes = 0; probes < kSlots; ++probes, i = (i + 1) & (kSlots - 1)) {
        MonitorRecord* at = t.slots[i].load(std::memory_order_relaxed);
        if (at == nullptr) return;
        if (at == record) {
            t.slots[i].store(tombstone(), std::memory_order_release);
            ++t.tombstones;
            return;
        }
    }
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
MonitorRecord* heldRecord(Object* object) {
    if (MonitorRecord* last = lastRecordFor(object)) return last;
    return MonitorTable::getMonitor(object, false);
}

// Takes the owner word for self if it is free.
bool tryTake(MonitorRecord& record, ThreadState& self) {
    ThreadState* none = nullptr;
    return record.owner.compare_exchange_strong(none, &self);
}

// Takes the record's monitor for self, parked while another thread holds it; restores `entries`.
// Counted as a contender meanwhile, so the owner's exit knows to wake someone. The exit looks at the
// count without a fence; the contender fences every running thread once counted (as ShortLock's
// sleepers do), so either the exit sees the count or this thread sees the owner word cleared.
// Where the kernel offers no such fence, the contender looks again every millisecond.
void acquireParked(MonitorRecord& record, ThreadState& self, jint entries) {
    Runtime::runParked([&] {
        std::unique_lock held(record.lock);
        record.contenders.fetch_add(1);
        if (Runtime::heavyBarrier()) {
            record.released.wait(held, [&] { return tryTake(record, self); });
        } else {
            while (!tryTake(record, self)) record.released.wait_for(held, std::chrono::milliseconds(1));
        }
        record.contenders.fetch_sub(1);
        record.entryCount = entries;
    });
}

// Gives the monitor up: a plain store, then a look for contenders (see acquireParked).
void release(MonitorRecord& record) {
    record.owner.store(nullptr, std::memory_order_release);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (record.contenders.load(std::memory_order_relaxed) > 0) [[unlikely]] {
        std::lock_guard guard(record.lock);
        record.released.notify_one();
    }
}

// Wakes up to n (all when n < 0) of the threads waiting on object, first come first served.
void notifyWaiters(Object* object, jint n) {
    ThreadState& self = Runtime::currentThreadState();
    MonitorRecord* record = MonitorTable::getMonitor(object, true);
    if (!record) return;
    std::lock_guard guard(record->lock);
    if (record->owner.load() != &self) {
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

// The clock time millis from now; no limit for 0 or less, or when the sum would pass the clock's
// range (it would wrap into the past and end the wait at once).
int64_t deadlineAfter(jlong millis) {
    if (millis <= 0) return Runtime::kNoDeadline;
    const int64_t now = Runtime::clock().monotonicMillis();
    return millis >= Runtime::kNoDeadline - now ? Runtime::kNoDeadline : now + millis;
}

}  // namespace

MonitorRecord* MonitorTable::getMonitor(Object* object, bool create) {
    if (!object) return nullptr;
    if (MonitorRecord* last = lastRecordFor(object)) return last;
    Table& t = table();
    if (MonitorRecord* found = findUnlocked(t, object)) return t_lastRecord = found;
    std::lock_guard guard(t.lock);
    // Searched again: another thread may have made the record since the unlocked look.
    if (MonitorRecord* found = findUnlocked(t, object)) return found;
    if (t.overflowUsed.load() && inOverflow(t, object)) return &t.overflow;
    if (!create) return nullptr;
    for (MonitorRecord& record : t.records) {
        if (record.object.load(std::memory_order_relaxed) != nullptr) continue;
        record.object.store(object, std::memory_order_release);
        t.used.fetch_add(1);
        // Freed records leave tombstones that lengthen every miss; past a quarter of the slots
        // they are swept out (at most once per kSlots / 4 freed records).
        if (t.tombstones > kSlots / 4) rebuildSlots(t);
        indexRecord(t, &record);
        return t_lastRecord = &record;
    }
    if (t.overflowCount.fetch_add(1) == 0)
        Log::error("monitor table full (%d records): further objects share the overflow monitor (said once)",
                   kRecords);
    t.overflowObjects.push_back(object);
    t.overflowUsed.store(true);
    return &t.overflow;
}

namespace {

// Table lock held. Nobody can hold or wait on an object the collector frees: the record is idle.
void freeRecord(Table& t, MonitorRecord* record) {
    unindexRecord(t, record);
    record->owner.store(nullptr);
    record->entryCount = 0;
    record->firstWaiter = record->lastWaiter = nullptr;
    record->object.store(nullptr, std::memory_order_release);
    t.used.fetch_sub(1);
}

}  // namespace

void MonitorTable::releaseMonitor(Object* object) {
    Table& t = table();
    if (!object || (t.used.load() == 0 && !t.overflowUsed.load())) return;
    // Most freed objects never had a monitor: a miss that no rebuild overlapped settles it.
    if (!t.overflowUsed.load()) {
        const uint32_t before = t.rebuilds.load(std::memory_order_acquire);
        if ((before & 1) == 0 && !findUnlocked(t, object) &&
            t.rebuilds.load(std::memory_order_acquire) == before)
            return;
    }
    std::lock_guard guard(t.lock);
    if (MonitorRecord* record = findUnlocked(t, object)) {
        freeRecord(t, record);
        return;
    }
    auto& list = t.overflowObjects;
    list.erase(std::remove(list.begin(), list.end(), object), list.end());
    t.overflowUsed.store(!list.empty());
}

void MonitorTable::releaseMonitors(Object* const* objects, size_t count) {
    Table& t = table();
    if (count == 0 || (t.used.load() == 0 && !t.overflowUsed.load())) return;
    // The records and the overflow list are few beside the freed objects: each looks itself up.
    auto freed = [objects, count](const Object* object) { return std::binary_search(objects, objects + count, object); };
    std::lock_guard guard(t.lock);
    for (MonitorRecord& record : t.records) {
        Object* object = record.object.load(std::memory_order_relaxed);
        if (object != nullptr && freed(object)) freeRecord(t, &record);
    }
    if (!t.overflowUsed.load()) return;
    auto& list = t.overflowObjects;
    list.erase(std::remove_if(list.begin(), list.end(), freed), list.end());
    t.overflowUsed.store(!list.empty());
}

int MonitorTable::usedRecords() { return table().used.load(); }

int64_t MonitorTable::overflowCount() { return table().overflowCount.load(); }

namespace Runtime {

void monitorEnter(Object* object) {
    if (!object) {
        nullPointer();
        return;
    }
    ThreadState& self = currentThreadState();
    MonitorRecord* record = lastRecordFor(object);
    if (!record) record = MonitorTable::getMonitor(object, true);
    ThreadState* owner = nullptr;
    if (record->owner.compare_exchange_strong(owner, &self)) {
        record->entryCount = 1;
        return;
    }
    if (owner == &self) {
        ++record->entryCount;
        return;
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
    // Only this thread can have made itself the owner, so the relaxed look is exact.
    if (record && record->owner.load(std::memory_order_relaxed) == &self) {
        if (--record->entryCount == 0) release(*record);
        return;
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
        if (record->owner.load() != &self) {
            Log::error("wait by a thread that does not hold the monitor: ignored");
            return;
        }
        append(*record, waiter);
        entries = record->entryCount;
        record->entryCount = 0;
        record->owner.store(nullptr);
        record->released.notify_one();
    }
    const int64_t deadline = deadlineAfter(millis);
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

// Monitors: synchronized entry and exit, wait and notify. Each object that is locked gets a
// MonitorRecord of the fixed MonitorTable, keyed by its address and freed when the collector frees
// the object. Every block (a contended entry, a wait) is a safe region; nothing spins.
// Invariant: the owner word changes by compare-exchange from null (entry) or by its owner (exit);
// the entry count is the owner's alone; the waiter list changes only under the record's lock;
// a record's object word changes only under the table lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "runtime/jtypes.h"

class Object;
struct ThreadState;

// One waiting thread, on its own stack while it waits: notify takes it off the list and sets
// notified, so each notify wakes exactly the waiter it chose.
struct MonitorWaiter {
    ThreadState* thread;
    Object* object;  // the object waited on (records shared by overflow keep several)
    MonitorWaiter* next;
    bool notified;
};

struct MonitorRecord {
    std::atomic<Object*> object{nullptr};  // null: a free record
    // An uncontended entry or exit touches only these two words.
    std::atomic<ThreadState*> owner{nullptr};
    jint entryCount = 0;                   // read and written by the owner only
    std::mutex lock;                       // guards the fields below and the sleep on `released`
    std::condition_variable released;      // signalled when the owner lets go and someone is blocked
    std::atomic<int> contenders{0};        // threads blocked on entry (or re-entry after a wait)
    MonitorWaiter* firstWaiter = nullptr;
    MonitorWaiter* lastWaiter = nullptr;
};

struct MonitorTable {
    static constexpr int kRecords = 128;

    // The object's record, found or (create) made, or null. With all records in use the one shared
    // overflow record answers for every further object: coarser, never unsafe.
    [[nodiscard]] static MonitorRecord* getMonitor(Object* object, bool create);
    // Frees the object's record, if it has one.
    static void releaseMonitor(Object* object);
    // The same for `count` objects in ascending address order, in one pass under one lock: the
    // collector's sweep calls it with everything it frees.
    static void releaseMonitors(Object* const* objects, size_t count);
    [[nodiscard]] static int usedRecords();
    // Objects ever given the overflow record in this process. The overflow is logged once only: a
    // program that keeps the table full would otherwise say so for every object.
    [[nodiscard]] static int64_t overflowCount();
};

namespace Runtime {

// synchronized entry and exit; re-entrant. A contended entry blocks parked. A null object is a
// null reference (logged, nothing locked). Exit by a thread that does not own the monitor is
// logged and changes nothing.
void monitorEnter(Object* object);
void monitorExit(Object* object);

}  // namespace Runtime

// A synchronized block in native code:  { MonitorLock lock(this); ... }
class MonitorLock {
public:
    explicit MonitorLock(Object* object) : m_object(object) { Runtime::monitorEnter(object); }
    ~MonitorLock() { Runtime::monitorExit(m_object); }
    MonitorLock(const MonitorLock&) = delete;
    MonitorLock& operator=(const MonitorLock&) = delete;

private:
    Object* m_object;
};

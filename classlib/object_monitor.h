// The lock that stands for an object's monitor in the class library until the runtime's monitors
// exist: one re-entrant lock for every object. Swap the body of ObjectMonitorGuard for the real
// monitor enter/exit; callers do not change. A contended acquire waits parked, so a collection
// started by the holder never waits on the waiter.
#pragma once

class Object;

class ObjectMonitorGuard {
public:
    explicit ObjectMonitorGuard(Object* object);
    ~ObjectMonitorGuard();
    ObjectMonitorGuard(const ObjectMonitorGuard&) = delete;
    ObjectMonitorGuard& operator=(const ObjectMonitorGuard&) = delete;
};

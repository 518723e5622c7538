// ObjectLock: holds an object's lock for one scope, the stand-in for the object monitor of
// synchronized methods until the runtime's monitors exist. Re-entrant; every exit of the scope
// releases it, failure exits included. Locks are striped by address, so two objects may share one.
#pragma once

class Object;

class ObjectLock {
public:
    explicit ObjectLock(Object* object);
    ~ObjectLock();
    ObjectLock(const ObjectLock&) = delete;
    ObjectLock& operator=(const ObjectLock&) = delete;

private:
    void* m_mutex;
};

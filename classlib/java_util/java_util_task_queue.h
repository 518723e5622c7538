// java_util_TaskQueue (class id 65): the timer's tasks as a binary min-heap on next execution time,
// in an ObjectArray used from index 1 (entry 1 the earliest). Invariant: entries 1 to count hold
// tasks, the rest are null, and an array of length n holds at most n - 1 tasks. The caller holds
// the queue's monitor.
#pragma once

#include "runtime/object.h"

class ObjectArray;
class java_util_TimerTask;

class java_util_TaskQueue : public Object {
public:
    static constexpr ClassId kClassId = CID_java_util_TaskQueue;

    java_util_TaskQueue() { setClassId(CID_java_util_TaskQueue); }

    // Slot 6 and 7.
    virtual jboolean isEmpty();
    // Nulls entries 1 to count; count 0.
    virtual void clear();

    // An array of 4 entries, no tasks.
    void init();
    // Doubles the array when full; a task that finds no room (heap exhausted) is not added.
    void add(java_util_TimerTask* task);
    [[nodiscard]] java_util_TimerTask* getMin();
    void removeMin();
    // The earliest task's next execution time := time, then it sinks to its place.
    void rescheduleMin(jlong time);
    [[nodiscard]] jint size() const { return m_size; }

    ObjectArray* m_queue;
    jint m_size;

private:
    [[nodiscard]] java_util_TimerTask* at(jint index);
    void put(jint index, java_util_TimerTask* task);
    void swap(jint a, jint b);
    void fixUp(jint k);
    void fixDown(jint k);
};

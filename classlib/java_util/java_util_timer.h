// The MIDP timer: java_util_Timer (66) schedules java_util_TimerTasks (67) on a TaskQueue that one
// java_util_TimerThread (68) serves. Times are java_lang_System::currentTimeMillis; a task's period
// is negative for fixed delay, positive for fixed rate, 0 for one run. Invariant: the queue's
// monitor guards the queue and the thread's may-schedule flag; a task's lock guards its state.
#pragma once

#include "classlib/java_lang/java_lang_runnable.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/object.h"

class java_util_Date;
class java_util_TaskQueue;

class java_util_TimerTask : public Object, public java_lang_Runnable {
public:
    static constexpr ClassId kClassId = CID_java_util_TimerTask;
    enum State : jint { kVirgin = 0, kScheduled = 1, kExecuted = 2, kCancelled = 3 };

    java_util_TimerTask() { setClassId(CID_java_util_TimerTask); }

    void* getInterface(jint classId) override;

    // lock := a new Object; state new, times 0.
    void init();
    // true when the task was scheduled (and will now not run again); the task is cancelled either way.
    jboolean cancel();
    // The time the latest run was planned for (a one-shot task: its next execution time).
    [[nodiscard]] jlong scheduledExecutionTime();

    Object* m_lock;
    jint m_state;
    jlong m_nextExecutionTime;
    jlong m_period;
};

class java_util_TimerThread : public java_lang_Thread {
public:
    static constexpr ClassId kClassId = CID_java_util_TimerThread;

    java_util_TimerThread() {
        setClassId(CID_java_util_TimerThread);
        setCollectable(true);
    }

    // Thread() over the queue, tasks may be scheduled.
    void init(java_util_TaskQueue* queue);
    // Serves the queue until the timer is cancelled and the queue empty, or a task leaves an
    // exception pending (the timer then takes no more tasks).
    void run() override;

    jboolean m_newTasksMayBeScheduled;
    java_util_TaskQueue* m_queue;

private:
    void mainLoop();
};

class java_util_Timer : public Object {
public:
    static constexpr ClassId kClassId = CID_java_util_Timer;

    java_util_Timer() { setClassId(CID_java_util_Timer); }

    // A new queue and a started TimerThread serving it.
    void init();
    // One run after delay ms.
    void schedule(java_util_TimerTask* task, jlong delay);
    // Fixed delay: each run period ms after the previous one actually ran.
    void schedule(java_util_TimerTask* task, jlong delay, jlong period);
    // Fixed rate: runs planned every period ms from the first, late ones caught up.
    void scheduleAtFixedRate(java_util_TimerTask* task, jlong delay, jlong period);
    // The same from the Date's instant (on the tick clock, as Date() reads it); a past time runs at
    // once.
    void schedule(java_util_TimerTask* task, java_util_Date* time);
    void schedule(java_util_TimerTask* task, java_util_Date* firstTime, jlong period);
    void scheduleAtFixedRate(java_util_TimerTask* task, java_util_Date* firstTime, jlong period);
    // No new tasks; the queue is emptied and the thread ends.
    void cancel();

    java_util_TaskQueue* m_queue;
    java_util_TimerThread* m_thread;

private:
    // A negative delay or a period of 0 or less: IllegalArgumentException.
    [[nodiscard]] bool checkArguments(jlong delay, jlong period, bool periodic);
    void sched(java_util_TimerTask* task, jlong time, jlong period);
};

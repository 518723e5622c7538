// java_lang_Thread (class id 51): a thread's object, its priority (1 to 10) and optional target, over
// the runtime's thread table. A started Thread holds a table slot until its run returns; the
// header constructor leaves it uncollectable until then (the slot is a collector root as well).
#pragma once

#include "classlib/java_lang/java_lang_runnable.h"
#include "runtime/object.h"

class String;

class java_lang_Thread : public Object, public java_lang_Runnable {
public:
    static constexpr ClassId kClassId = CID_java_lang_Thread;

    java_lang_Thread() {
        setClassId(CID_java_lang_Thread);
        setCollectable(false);
    }

    // literal 261, hashCode(), literal 193, getPriority(), literal 262.
    String* toString() override;
    void* getInterface(jint classId) override;
    // Slot 6. Starts the OS thread (its slot is taken before run can begin): 1 when a thread was
    // started, the slot index when this Thread already holds one, -1 when the table is full.
    virtual jint start();
    // Slot 7.
    virtual jint getPriority();
    // The target's run, when there is a target; else nothing.
    void run() override;

    // Thread(): the creating thread's priority (5 when that thread is outside the table), no target.
    void init();
    // Thread(Runnable target).
    void init(Object* target);
    // 1 to 10: stored and handed to the OS; else an IllegalArgumentException, nothing changed.
    void setPriority(jint priority);
    // Returns at once for the calling thread's own Thread; else blocks, parked, until it has ended.
    void join();
    [[nodiscard]] jboolean isAlive();

    // The calling thread's Thread, or null for a thread outside the table.
    [[nodiscard]] static java_lang_Thread* currentThread();
    // Negative: returns at once; 0: yields. The low 32 bits of millis count, as on the phone. The
    // whole sleep is a safe region: time spent held by a collection counts toward it.
    static void sleep(jlong millis);
    static void yield();
    [[nodiscard]] static jint activeCount();
    // Applies priority p as the OS priority min(9 - p, 7): 1 when applied, 0 when refused, -1 when
    // the Thread holds no slot.
    static jint setPriorityNative(java_lang_Thread* thread, jint priority);

    jint m_priority;
    Object* m_target;

private:
    static void* threadProc(void* thread);
};

// Timer, TimerTask and TimerThread over the real monitors. The thread waits on the queue's monitor
// (a timed wait on the runtime's clock) and runs each due task outside every monitor.
#include "classlib/java_util/java_util_timer.h"

#include <cstdint>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_util/java_util_date.h"
#include "classlib/java_util/java_util_task_queue.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kTimerTaskRefs[] = {BX_REF_FIELD(java_util_TimerTask, m_lock)};
const RefFieldRegistration kTimerTaskRefsReg(CID_java_util_TimerTask, kTimerTaskRefs);
const uint32_t kTimerThreadRefs[] = {BX_REF_FIELD(java_util_TimerThread, m_queue)};
const RefFieldRegistration kTimerThreadRefsReg(CID_java_util_TimerThread, kTimerThreadRefs);
const uint32_t kTimerRefs[] = {BX_REF_FIELD(java_util_Timer, m_queue), BX_REF_FIELD(java_util_Timer, m_thread)};
const RefFieldRegistration kTimerRefsReg(CID_java_util_Timer, kTimerRefs);
const NewInstanceRegistration kTimerThreadNew(CID_java_util_TimerThread, &newInstanceOf<java_util_TimerThread>);

// An empty queue is waited on in slices of this length.
constexpr jlong kIdleWaitMillis = 30000;

// The scheduling messages, from the constant pool.
constexpr jint kNegativeDelayLiteral = 279;
constexpr jint kNonPositivePeriodLiteral = 280;
constexpr jint kTimerCancelledLiteral = 281;
constexpr jint kTaskNotNewLiteral = 282;

// time + delay (delay >= 0), held at the clock's end: a wrapped sum would lie in the past and fire
// at once, for ever.
jlong timeLater(jlong time, jlong delay) { return time > 0 && delay > INT64_MAX - time ? INT64_MAX : time + delay; }

jlong timeAfter(jlong delay) { return timeLater(java_lang_System::currentTimeMillis(), delay); }

}  // namespace

// ---- TimerTask ----

void* java_util_TimerTask::getInterface(jint classId) {
    return classId == CID_java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr;
}

void java_util_TimerTask::init() {
    m_lock = new Object();
    m_state = kVirgin;
    m_nextExecutionTime = 0;
    m_period = 0;
}

jboolean java_util_TimerTask::cancel() {
    MonitorLock lock(m_lock);
    const jboolean wasScheduled = m_state == kScheduled ? 1 : 0;
    m_state = kCancelled;
    return wasScheduled;
}

jlong java_util_TimerTask::scheduledExecutionTime() {
    MonitorLock lock(m_lock);
    return m_period < 0 ? m_nextExecutionTime + m_period : m_nextExecutionTime - m_period;
}

// ---- TimerThread ----

void java_util_TimerThread::init(java_util_TaskQueue* queue) {
    java_lang_Thread::init();
    m_newTasksMayBeScheduled = 1;
    m_queue = queue;
}

void java_util_TimerThread::run() {
    mainLoop();
    // Only a task's pending exception ends the loop with tasks still possible: the timer is dead
    // then, and scheduling on it must fail rather than queue tasks nobody runs.
    MonitorLock lock(m_queue);
    m_newTasksMayBeScheduled = 0;
    m_queue->clear();
}

void java_util_TimerThread::mainLoop() {
    for (;;) {
        java_util_TimerTask* task = nullptr;
        bool fired = false;
        {
            MonitorLock queueLock(m_queue);
            while (m_queue->isEmpty() && m_newTasksMayBeScheduled) m_queue->wait(kIdleWaitMillis);
            if (m_queue->isEmpty()) return;  // cancelled, nothing left
            task = m_queue->getMin();
            jlong now = 0;
            jlong executionTime = 0;
            {
                MonitorLock taskLock(task->m_lock);
                if (task->m_state == java_util_TimerTask::kCancelled) {
                    m_queue->removeMin();
                    continue;
                }
                now = java_lang_System::currentTimeMillis();
                executionTime = task->m_nextExecutionTime;
                fired = executionTime <= now;
                if (fired) {
                    if (task->m_period == 0) {
                        m_queue->removeMin();
                        task->m_state = java_util_TimerTask::kExecuted;
                    } else {
                        m_queue->rescheduleMin(task->m_period < 0 ? timeLater(now, -task->m_period)
                                                                  : timeLater(executionTime, task->m_period));
                    }
                }
            }
            if (!fired) m_queue->wait(executionTime - now);
        }
        if (fired) {
            task->run();
            BX_RETURN_IF_PENDING();
        }
    }
}

// ---- Timer ----

void java_util_Timer::init() {
    m_queue = Runtime::make<java_util_TaskQueue>();
    BX_RETURN_IF_NULL(m_queue);
    m_thread = Runtime::make<java_util_TimerThread>(m_queue);
    BX_RETURN_IF_NULL(m_thread);
    m_thread->start();
}

bool java_util_Timer::checkArguments(jlong delay, jlong period, bool periodic) {
    if (delay < 0 || (periodic && period <= 0)) {
        Runtime::raise<java_lang_IllegalArgumentException>(
            Runtime::ldcString(delay < 0 ? kNegativeDelayLiteral : kNonPositivePeriodLiteral));
        return false;
    }
    return true;
}

void java_util_Timer::schedule(java_util_TimerTask* task, jlong delay) {
    if (checkArguments(delay, 0, false)) sched(task, timeAfter(delay), 0);
}

void java_util_Timer::schedule(java_util_TimerTask* task, jlong delay, jlong period) {
    if (checkArguments(delay, period, true)) sched(task, timeAfter(delay), -period);
}

void java_util_Timer::scheduleAtFixedRate(java_util_TimerTask* task, jlong delay, jlong period) {
    if (checkArguments(delay, period, true)) sched(task, timeAfter(delay), period);
}

void java_util_Timer::schedule(java_util_TimerTask* task, java_util_Date* time) {
    BX_RETURN_IF_NULL(time);
    sched(task, time->getTime(), 0);
}

void java_util_Timer::schedule(java_util_TimerTask* task, java_util_Date* firstTime, jlong period) {
    BX_RETURN_IF_NULL(firstTime);
    if (checkArguments(0, period, true)) sched(task, firstTime->getTime(), -period);
}

void java_util_Timer::scheduleAtFixedRate(java_util_TimerTask* task, java_util_Date* firstTime, jlong period) {
    BX_RETURN_IF_NULL(firstTime);
    if (checkArguments(0, period, true)) sched(task, firstTime->getTime(), period);
}

void java_util_Timer::sched(java_util_TimerTask* task, jlong time, jlong period) {
    if (!task || !m_queue || !m_thread) {
        Runtime::nullPointer();
        return;
    }
    MonitorLock queueLock(m_queue);
    if (!m_thread->m_newTasksMayBeScheduled) {
        Runtime::raise<java_lang_IllegalStateException>(Runtime::ldcString(kTimerCancelledLiteral));
        return;
    }
    {
        MonitorLock taskLock(task->m_lock);
        if (task->m_state != java_util_TimerTask::kVirgin) {
            Runtime::raise<java_lang_IllegalStateException>(Runtime::ldcString(kTaskNotNewLiteral));
            return;
        }
        task->m_nextExecutionTime = time;
        task->m_period = period;
        task->m_state = java_util_TimerTask::kScheduled;
    }
    m_queue->add(task);
    if (m_queue->getMin() == task) m_queue->notify();
}

void java_util_Timer::cancel() {
    if (!m_queue || !m_thread) return;
    MonitorLock queueLock(m_queue);
    m_thread->m_newTasksMayBeScheduled = 0;
    m_queue->clear();
    m_queue->notify();
}

// The task heap. Elements live in the native heap: each access goes through the array afresh, and
// only add allocates.
#include "classlib/java_util/java_util_task_queue.h"

#include "classlib/java_util/java_util_timer.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/new_instance_factory.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kTaskQueueRefs[] = {BX_REF_FIELD(java_util_TaskQueue, m_queue)};
const RefFieldRegistration kTaskQueueRefsReg(CID_java_util_TaskQueue, kTaskQueueRefs);
const NewInstanceRegistration kTaskQueueNew(CID_java_util_TaskQueue, &newInstanceOf<java_util_TaskQueue>);

constexpr jint kInitialLength = 4;

}  // namespace

void java_util_TaskQueue::init() {
    m_queue = Runtime::newObjectArray(CID_java_util_TimerTask, kInitialLength);
    m_size = 0;
}

java_util_TimerTask* java_util_TaskQueue::at(jint index) {
    return static_cast<java_util_TimerTask*>(m_queue->get(index));
}

void java_util_TaskQueue::put(jint index, java_util_TimerTask* task) { m_queue->set(index, task); }

void java_util_TaskQueue::swap(jint a, jint b) {
    java_util_TimerTask* t = at(a);
    put(a, at(b));
    put(b, t);
}

jboolean java_util_TaskQueue::isEmpty() { return m_size == 0 ? 1 : 0; }

void java_util_TaskQueue::clear() {
    for (jint i = 1; i <= m_size; ++i) put(i, nullptr);
    m_size = 0;
}

void java_util_TaskQueue::add(java_util_TimerTask* task) {
    if (!m_queue) return;
    if (m_size + 1 == m_queue->length) {
        ObjectArray* larger = Runtime::newObjectArray(CID_java_util_TimerTask, 2 * m_queue->length);
        if (!larger || larger->length != 2 * m_queue->length) return;
        java_lang_System::arraycopy(m_queue, 0, larger, 0, m_size + 1);
        m_queue = larger;
    }
    ++m_size;
    put(m_size, task);
    fixUp(m_size);
}

java_util_TimerTask* java_util_TaskQueue::getMin() { return at(1); }

void java_util_TaskQueue::removeMin() {
    if (m_size == 0) return;
    put(1, at(m_size));
    put(m_size, nullptr);
    --m_size;
    fixDown(1);
}

void java_util_TaskQueue::rescheduleMin(jlong time) {
    if (m_size == 0) return;
    at(1)->m_nextExecutionTime = time;
    fixDown(1);
}

void java_util_TaskQueue::fixUp(jint k) {
    while (k > 1) {
        const jint parent = k >> 1;
        if (at(parent)->m_nextExecutionTime <= at(k)->m_nextExecutionTime) break;
        swap(parent, k);
        k = parent;
    }
}

// On equal times the left child is taken, and an equal parent stays.
void java_util_TaskQueue::fixDown(jint k) {
    for (jint j = 2 * k; j <= m_size && j > 0; j = 2 * k) {
        if (j < m_size && at(j)->m_nextExecutionTime > at(j + 1)->m_nextExecutionTime) ++j;
        if (at(k)->m_nextExecutionTime <= at(j)->m_nextExecutionTime) break;
        swap(j, k);
        k = j;
    }
}

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_util/java_util_date.h"
#include "classlib/java_util/java_util_task_queue.h"
#include "classlib/java_util/java_util_timer.h"
#include "runtime/array.h"
#include "runtime/clock.h"
#include "runtime/exceptions.h"
#include "runtime/static_class.h"
#include "runtime/thread_table.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "pool_helpers.h"
#include "thread_helpers.h"
#include "../runtime/text_helpers.h"

namespace {

struct Runs {
    std::atomic<int> count{0};
    jlong planned[8] = {};
    jlong at[8] = {};
};

// Keeps TimerTask's id and reference list; m_runs points at the test's stack.
class RecordingTask : public java_util_TimerTask {
public:
    void run() override {
        const int i = m_runs->count.load();
        if (i < 8) {
            m_runs->planned[i] = scheduledExecutionTime();
            m_runs->at[i] = Runtime::clock().monotonicMillis();
        }
        m_runs->count.store(i + 1);
    }
    Runs* m_runs;
};

RecordingTask* newTask(Runs* runs) {
    auto* task = new RecordingTask();
    task->init();
    task->m_runs = runs;
    return task;
}

class TimerTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Runtime::setClock(&m_clock);
        auto* timer = new java_util_Timer();
        timer->init();
        m_timer = timer;
        objectManager().addRoot(&m_timer);
    }
    void TearDown() override {
        timer()->cancel();
        timer()->m_thread->join();
        objectManager().removeRoot(&m_timer);
        Runtime::clearPendingException();
        StaticClass::releaseStatics();  // the shared calendar the Dates made
        Runtime::setConstantPool(nullptr);
        Runtime::setClock(nullptr);
        RuntimeTest::TearDown();
    }
    java_util_Timer* timer() { return static_cast<java_util_Timer*>(m_timer); }
    // Moves the clock to `to`, then waits until the timer thread waits for `nextDeadline`.
    void advanceTo(int64_t to, int64_t nextDeadline) {
        m_clock.advance(to - m_clock.monotonicMillis());
        waitUntilWaiting(timer()->m_thread, nextDeadline);
    }

    ManualClock m_clock;
    Object* m_timer = nullptr;
    Watchdog m_watchdog{std::chrono::seconds(60)};
};

constexpr int64_t kIdle = 30000;  // an empty queue is waited on in slices of this length

TEST_F(TimerTest, AOneShotTaskRunsOnceAtItsTime) {
    Runs runs;
    RecordingTask* task = newTask(&runs);
    timer()->schedule(task, 100);
    waitUntilWaiting(timer()->m_thread, 100);
    advanceTo(99, 100);
    EXPECT_EQ(runs.count.load(), 0);
    advanceTo(100, 100 + kIdle);
    advanceTo(100 + kIdle, 100 + 2 * kIdle);
    EXPECT_EQ(runs.count.load(), 1);
    EXPECT_EQ(runs.planned[0], 100);
    EXPECT_EQ(runs.at[0], 100);
    EXPECT_EQ(task->m_state, java_util_TimerTask::kExecuted);
}

TEST_F(TimerTest, FixedDelayCountsFromEachRunAndFixedRateFromTheFirstPlan) {
    struct Case {
        const char* what;
        bool fixedRate;
        int64_t planned[3];
        int64_t waits[3];  // what the thread waits for after each run
    };
    // Runs at 100, late at 180, then at 230; the period is 50.
    const Case cases[] = {
        {"fixed delay", false, {100, 180, 230}, {150, 230, 280}},
        {"fixed rate", true, {100, 150, 200}, {150, 200, 250}},
    };
    const int64_t steps[] = {100, 180, 230};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Runs runs;
        RecordingTask* task = newTask(&runs);
        const int64_t start = m_clock.monotonicMillis();
        if (c.fixedRate) timer()->scheduleAtFixedRate(task, 100, 50);
        else timer()->schedule(task, 100, 50);
        waitUntilWaiting(timer()->m_thread, start + 100);
        for (int i = 0; i < 3; ++i) {
            advanceTo(start + steps[i], start + c.waits[i]);
            ASSERT_EQ(runs.count.load(), i + 1);
            EXPECT_EQ(runs.planned[i], start + c.planned[i]);
            EXPECT_EQ(runs.at[i], start + steps[i]);
        }
        EXPECT_TRUE(task->cancel());
        advanceTo(start + c.waits[2], start + c.waits[2] + kIdle);  // the cancelled task is dropped
        EXPECT_EQ(runs.count.load(), 3);
    }
}

// The Date forms plan from the Date's instant on the tick clock; a Date made afterwards does not
// move the plan, and a Date in the past runs at once.
TEST_F(TimerTest, TheDateFormsPlanFromTheDatesInstant) {
    installDateLiterals();
    struct Case {
        const char* what;
        int kind;  // 0 schedule(Date), 1 schedule(Date, period), 2 scheduleAtFixedRate(Date, period)
        int64_t planned[2];
        int64_t waitAfterSecond;
    };
    // First planned at +100; runs at +100 and, late, at +180; the period is 50.
    const Case cases[] = {
        {"once", 0, {100, 0}, -1},
        {"fixed delay", 1, {100, 180}, 230},
        {"fixed rate", 2, {100, 150}, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Runs runs;
        RecordingTask* task = newTask(&runs);
        const int64_t start = m_clock.monotonicMillis();
        java_util_Date* first = Runtime::make<java_util_Date>(jlong{start + 100});
        java_util_Date* later = Runtime::make<java_util_Date>(jlong{start + 5000});
        ASSERT_NE(later, nullptr);
        if (c.kind == 0) timer()->schedule(task, first);
        if (c.kind == 1) timer()->schedule(task, first, 50);
        if (c.kind == 2) timer()->scheduleAtFixedRate(task, first, 50);
        ASSERT_FALSE(Runtime::pending());
        waitUntilWaiting(timer()->m_thread, start + 100);
        if (c.kind == 0) {
            advanceTo(start + 100, start + 100 + kIdle);
            EXPECT_EQ(runs.count.load(), 1);
            EXPECT_EQ(runs.planned[0], start + 100);
            EXPECT_EQ(task->m_state, java_util_TimerTask::kExecuted);
            continue;
        }
        advanceTo(start + 100, start + 150);
        advanceTo(start + 180, start + c.waitAfterSecond);
        ASSERT_EQ(runs.count.load(), 2);
        EXPECT_EQ(runs.planned[0], start + c.planned[0]);
        EXPECT_EQ(runs.planned[1], start + c.planned[1]);
        EXPECT_TRUE(task->cancel());
        advanceTo(start + c.waitAfterSecond, start + c.waitAfterSecond + kIdle);
    }

    Runs runs;
    m_clock.advance(1000);
    timer()->schedule(newTask(&runs), Runtime::make<java_util_Date>(jlong{0}));
    waitUntil([&] { return runs.count.load() == 1; });

    for (int kind : {1, 2}) {
        java_util_Date* when = Runtime::make<java_util_Date>(jlong{5000});
        if (kind == 1) timer()->schedule(newTask(&runs), when, 0);
        else timer()->scheduleAtFixedRate(newTask(&runs), when, -1);
        Object* pending = Runtime::getPendingException();
        ASSERT_NE(pending, nullptr);
        EXPECT_EQ(pending->classId(), CID_java_lang_IllegalArgumentException);
        EXPECT_EQ(narrow(static_cast<java_lang_Throwable*>(pending)->getMessage()), "Non-positive period.");
        Runtime::clearPendingException();
    }
    timer()->schedule(newTask(&runs), static_cast<java_util_Date*>(nullptr));  // logged, nothing queued
    EXPECT_FALSE(Runtime::pending());
    EXPECT_TRUE(timer()->m_queue->isEmpty());
}

TEST_F(TimerTest, ACancelledTaskNeverRunsAndACancelledTimerTakesNoTasks) {
    Runs runs;
    RecordingTask* task = newTask(&runs);
    EXPECT_FALSE(task->cancel());  // never scheduled
    RecordingTask* dropped = newTask(&runs);
    timer()->schedule(dropped, 100);
    waitUntilWaiting(timer()->m_thread, 100);
    EXPECT_TRUE(dropped->cancel());
    EXPECT_FALSE(dropped->cancel());
    advanceTo(100, 100 + kIdle);
    EXPECT_EQ(runs.count.load(), 0);

    timer()->cancel();
    timer()->m_thread->join();  // the thread ends with the queue empty
    RecordingTask* late = newTask(&runs);
    timer()->schedule(late, 10);
    Object* pending = Runtime::getPendingException();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->classId(), CID_java_lang_IllegalStateException);
}

TEST_F(TimerTest, SchedulingRefusesBadTimesAndTasksThatAreNotNew) {
    Runs runs;
    RecordingTask* scheduled = newTask(&runs);
    timer()->schedule(scheduled, 1000);
    struct Case {
        const char* what;
        int kind;  // 0 schedule(delay), 1 schedule(delay, period), 2 scheduleAtFixedRate
        bool reuse;
        jlong delay, period;
        ClassId thrown;
        const char* message;
    };
    // The messages as assets/constants.txt ships them.
    installPool({{279, "Negative delay."},
                 {280, "Non-positive period."},
                 {281, "Timer already cancelled."},
                 {282, "Task already scheduled or cancelled"}});
    const Case cases[] = {
        {"negative delay", 0, false, -1, 0, CID_java_lang_IllegalArgumentException, "Negative delay."},
        {"zero period", 1, false, 10, 0, CID_java_lang_IllegalArgumentException, "Non-positive period."},
        {"negative rate", 2, false, 10, -5, CID_java_lang_IllegalArgumentException, "Non-positive period."},
        {"task already scheduled", 0, true, 10, 0, CID_java_lang_IllegalStateException,
         "Task already scheduled or cancelled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        java_util_TimerTask* task = c.reuse ? scheduled : newTask(&runs);
        if (c.kind == 0) timer()->schedule(task, c.delay);
        if (c.kind == 1) timer()->schedule(task, c.delay, c.period);
        if (c.kind == 2) timer()->scheduleAtFixedRate(task, c.delay, c.period);
        Object* pending = Runtime::getPendingException();
        ASSERT_NE(pending, nullptr);
        EXPECT_EQ(pending->classId(), c.thrown);
        EXPECT_EQ(narrow(static_cast<java_lang_Throwable*>(pending)->getMessage()), c.message);
        Runtime::clearPendingException();
    }
    EXPECT_EQ(timer()->m_queue->size(), 1);
    timer()->cancel();
    timer()->schedule(newTask(&runs), 10);
    Object* pending = Runtime::getPendingException();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(narrow(static_cast<java_lang_Throwable*>(pending)->getMessage()), "Timer already cancelled.");
    Runtime::setConstantPool(nullptr);
}

// The next run of a period near the clock's range is held at its end: a wrapped time would lie in
// the past and the task would run without end.
TEST_F(TimerTest, APeriodNearTheClocksRangeRunsOnceAndThenNeverAgain) {
    for (bool fixedRate : {false, true}) {
        SCOPED_TRACE(fixedRate ? "fixed rate" : "fixed delay");
        m_clock.advance(10);
        Runs runs;
        RecordingTask* task = newTask(&runs);
        if (fixedRate) timer()->scheduleAtFixedRate(task, jlong{0}, INT64_MAX - 5);
        else timer()->schedule(task, jlong{0}, INT64_MAX - 5);
        waitUntil([&] {
            return runs.count.load() > 1 ||
                   (runs.count.load() == 1 &&
                    ThreadTable::waitDeadlineOf(timer()->m_thread) == Runtime::kNoDeadline);
        });
        EXPECT_EQ(runs.count.load(), 1);
        EXPECT_TRUE(task->cancel());
    }
}

// now + delay past the clock's range must not wrap into the past and fire at once.
TEST_F(TimerTest, ADelayBeyondTheClocksRangeNeverFires) {
    m_clock.advance(10);
    Runs runs;
    timer()->schedule(newTask(&runs), INT64_MAX);
    waitUntil([&] {
        return runs.count.load() > 0 || ThreadTable::waitDeadlineOf(timer()->m_thread) == Runtime::kNoDeadline;
    });
    EXPECT_EQ(runs.count.load(), 0);
}

TEST_F(TimerTest, TheQueueKeepsTheEarliestTaskFirstAndDoublesWhenFull) {
    Runs runs;
    auto* queue = new java_util_TaskQueue();
    queue->init();
    ASSERT_EQ(queue->m_queue->length, 4);
    const jlong times[] = {50, 30, 90, 10, 70, 30, 20};
    for (size_t i = 0; i < std::size(times); ++i) {
        RecordingTask* task = newTask(&runs);
        task->m_nextExecutionTime = times[i];
        queue->add(task);
        if (i == 2 || i == 3) {
            EXPECT_EQ(queue->m_queue->length, i == 2 ? 4 : 8);  // three tasks fit in four entries
        }
    }
    queue->rescheduleMin(95);  // the earliest, 10, becomes 95
    std::vector<jlong> order;
    while (!queue->isEmpty()) {
        order.push_back(queue->getMin()->m_nextExecutionTime);
        queue->removeMin();
    }
    EXPECT_EQ(order, (std::vector<jlong>{20, 30, 30, 50, 70, 90, 95}));
    EXPECT_EQ(queue->m_queue->get(1), nullptr);
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "../runtime/runtime_fixture.h"
#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/array.h"
#include "runtime/clock.h"
#include "runtime/monitor.h"
#include "runtime/thread_state.h"
#include "runtime/thread_table.h"
#include "thread_helpers.h"

namespace {

class MonitorTest : public RuntimeTest {
protected:
    void TearDown() override {
        Runtime::setClock(nullptr);
        RuntimeTest::TearDown();
    }
    Watchdog m_watchdog{std::chrono::seconds(60)};
};

int waitersOf(Object* object) {
    MonitorRecord* record = MonitorTable::getMonitor(object, false);
    if (!record) return 0;
    std::lock_guard guard(record->lock);
    int n = 0;
    for (MonitorWaiter* w = record->firstWaiter; w; w = w->next) n += w->object == object ? 1 : 0;
    return n;
}

struct Waiting {
    Object* lock = nullptr;
    jlong millis = 0;
    std::atomic<int> woken{0};
    int64_t returnedAt = -1;
};

void waitOnce(void* context) {
    auto& w = *static_cast<Waiting*>(context);
    MonitorLock hold(w.lock);
    w.lock->wait(w.millis);
    w.returnedAt = Runtime::clock().monotonicMillis();
    w.woken.fetch_add(1);
}

TEST_F(MonitorTest, WaitWithALimitReturnsAfterItAndWaitWithoutOneOnlyWhenNotified) {
    ManualClock clock;
    Runtime::setClock(&clock);
    Waiting limited;
    limited.lock = new Object();
    limited.millis = 100;
    java_lang_Thread* thread = newThread(&waitOnce, &limited);
    thread->start();
    waitUntilWaiting(thread, 100);
    clock.advance(99);
    EXPECT_EQ(limited.woken.load(), 0);
    clock.advance(1);
    thread->join();
    EXPECT_EQ(limited.returnedAt, 100);
    EXPECT_EQ(waitersOf(limited.lock), 0);  // a timed-out waiter takes itself off the list

    Waiting unlimited;
    unlimited.lock = new Object();
    thread = newThread(&waitOnce, &unlimited);
    thread->start();
    waitUntilWaiting(thread, Runtime::kNoDeadline);
    clock.advance(1000000);
    EXPECT_EQ(unlimited.woken.load(), 0);
    {
        MonitorLock hold(unlimited.lock);
        unlimited.lock->notify();
    }
    thread->join();
    EXPECT_EQ(unlimited.woken.load(), 1);
}

// A limit so far away that the clock cannot count to it is no limit: the wait lasts until notified.
TEST_F(MonitorTest, AWaitWhoseLimitLiesBeyondTheClocksRangeWaitsForANotify) {
    ManualClock clock;
    Runtime::setClock(&clock);
    clock.advance(5);
    Waiting waiting;
    waiting.lock = new Object();
    waiting.millis = INT64_MAX;
    java_lang_Thread* thread = newThread(&waitOnce, &waiting);
    thread->start();
    waitUntil([&] {
        return waiting.woken.load() == 1 || ThreadTable::waitDeadlineOf(thread) == Runtime::kNoDeadline;
    });
    EXPECT_EQ(waiting.woken.load(), 0);
    {
        MonitorLock hold(waiting.lock);
        waiting.lock->notify();
    }
    thread->join();
    EXPECT_EQ(waiting.woken.load(), 1);
}

TEST_F(MonitorTest, NotifyWakesExactlyOneOfThreeWaitersAndNotifyAllTheRest) {
    Waiting waiting;
    waiting.lock = new Object();
    ObjectArray* threads = Runtime::newObjectArray(CID_java_lang_Thread, 3);
    for (jint i = 0; i < 3; ++i) {
        threads->set(i, newThread(&waitOnce, &waiting));
        static_cast<java_lang_Thread*>(threads->get(i))->start();
    }
    for (jint i = 0; i < 3; ++i) waitUntilWaiting(static_cast<java_lang_Thread*>(threads->get(i)), Runtime::kNoDeadline);
    {
        MonitorLock hold(waiting.lock);
        waiting.lock->notify();
        EXPECT_EQ(waitersOf(waiting.lock), 2);
    }
    waitUntil([&] { return waiting.woken.load() == 1; });
    EXPECT_EQ(waitersOf(waiting.lock), 2);
    {
        MonitorLock hold(waiting.lock);
        waiting.lock->notifyAll();
    }
    for (jint i = 0; i < 3; ++i) static_cast<java_lang_Thread*>(threads->get(i))->join();
    EXPECT_EQ(waiting.woken.load(), 3);
}

struct Contended {
    Object* lock = nullptr;
    std::atomic<bool> trying{false};
    std::atomic<bool> entered{false};
};

TEST_F(MonitorTest, AThreadBlockedOnAHeldMonitorLetsTheHolderCollectAndEntersAfterTheLastExit) {
    Contended c;
    c.lock = new Object();
    Runtime::monitorEnter(c.lock);
    Runtime::monitorEnter(c.lock);  // re-entrant
    java_lang_Thread* thread = newThread(
        [](void* context) {
            auto& s = *static_cast<Contended*>(context);
            s.trying = true;
            MonitorLock hold(s.lock);
            s.entered = true;
        },
        &c);
    thread->start();
    waitUntil([&] { return c.trying.load(); });
    objectManager().gc(ObjectManager::kKeepLast | 1);  // waits for the blocked thread to park
    Runtime::monitorExit(c.lock);
    EXPECT_FALSE(c.entered.load());
    Runtime::monitorExit(c.lock);
    thread->join();
    EXPECT_TRUE(c.entered.load());
}

TEST_F(MonitorTest, MisuseIsLoggedAndChangesNothing) {
    LogCapture log;
    Object* object = new Object();
    Runtime::monitorExit(object);
    object->notify();
    object->wait(5);
    Runtime::monitorEnter(nullptr);
    EXPECT_TRUE(log.contains("monitor exit by a thread that does not hold the monitor"));
    EXPECT_TRUE(log.contains("notify by a thread that does not hold the monitor"));
    EXPECT_TRUE(log.contains("wait by a thread that does not hold the monitor"));
    EXPECT_TRUE(log.contains("NullPointer"));
}

TEST_F(MonitorTest, TheCollectorFreesTheRecordOfEveryObjectItFrees) {
    const int before = MonitorTable::usedRecords();
    {
        String* text = str("a string: its class has its own destroy");
        MonitorLock hold(text);
        EXPECT_EQ(MonitorTable::usedRecords(), before + 1);
    }
    objectManager().gc(ObjectManager::kFreeAll);
    // Records of objects that are never collected (class objects locked by static synchronized
    // code in earlier tests) stay; the string's is gone.
    EXPECT_EQ(MonitorTable::usedRecords(), before);
}

// Records freed while others live (as the collector frees them) must neither hide a live record
// from the lookup nor keep the table from handing theirs out again, round after round.
TEST_F(MonitorTest, FreedRecordsNeverHideTheLiveOnesAndAreHandedOutAgain) {
    const int before = MonitorTable::usedRecords();
    constexpr jint kObjects = 100;
    constexpr jint kFreed = 80;  // most of them: enough to make the lookup sweep its marks out
    ASSERT_LE(before + kObjects, MonitorTable::kRecords);
    ObjectArray* objects = Runtime::newObjectArray(CID_Object, kObjects);
    MonitorRecord* records[kObjects] = {};
    auto lockOnce = [&](jint i) {
        objects->set(i, new Object());
        Runtime::monitorEnter(objects->get(i));
        records[i] = MonitorTable::getMonitor(objects->get(i), false);
        Runtime::monitorEnter(objects->get(i));  // re-entrant
        Runtime::monitorExit(objects->get(i));
        Runtime::monitorExit(objects->get(i));
    };
    for (jint i = 0; i < kObjects; ++i) lockOnce(i);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (jint i = 0; i < kFreed; ++i) MonitorTable::releaseMonitor(objects->get(i));
        EXPECT_EQ(MonitorTable::usedRecords(), before + kObjects - kFreed);
        for (jint i = 0; i < kFreed; ++i) lockOnce(i);
        EXPECT_EQ(MonitorTable::usedRecords(), before + kObjects);
        for (jint i = 0; i < kObjects; ++i) {
            SCOPED_TRACE("object " + std::to_string(i));
            ASSERT_NE(records[i], nullptr);
            EXPECT_EQ(MonitorTable::getMonitor(objects->get(i), false), records[i]);
            EXPECT_EQ(records[i]->owner.load(), nullptr);
            for (jint j = 0; j < i; ++j) ASSERT_NE(records[i], records[j]);
        }
    }
    for (jint i = 0; i < kObjects; ++i) MonitorTable::releaseMonitor(objects->get(i));
    EXPECT_EQ(MonitorTable::usedRecords(), before);
}

struct Holding {
    Object* lock = nullptr;
    std::atomic<bool> holds{false};
    std::atomic<bool> letGo{false};
};

// A thread remembers the record it last found; once the collector frees that record's object and
// the record serves another object, the old object must get a record of its own again.
TEST_F(MonitorTest, ARecordHandedToAnotherObjectNoLongerAnswersForTheOneItServedBefore) {
    LogCapture log;
    Object* first = new Object();
    { MonitorLock hold(first); }
    MonitorRecord* reused = MonitorTable::getMonitor(first, false);
    MonitorTable::releaseMonitor(first);  // as the collector does when it frees the object
    Holding other;
    other.lock = new Object();
    java_lang_Thread* thread = newThread(
        [](void* context) {
            auto& h = *static_cast<Holding*>(context);
            MonitorLock hold(h.lock);
            h.holds = true;
            waitUntil([&] { return h.letGo.load(); });
        },
        &other);
    thread->start();
    waitUntil([&] { return other.holds.load(); });
    ASSERT_EQ(MonitorTable::getMonitor(other.lock, false), reused);  // the lowest free record again

    Runtime::monitorExit(first);  // not held: must leave the other object's owner alone
    EXPECT_TRUE(log.contains("monitor exit by a thread that does not hold the monitor"));
    EXPECT_NE(reused->owner.load(), nullptr);
    Runtime::monitorEnter(first);  // would block for good on the other thread's record
    MonitorRecord* own = MonitorTable::getMonitor(first, false);
    EXPECT_NE(own, reused);
    EXPECT_EQ(own->owner.load(), &Runtime::currentThreadState());
    Runtime::monitorExit(first);
    EXPECT_EQ(own->owner.load(), nullptr);
    other.letGo = true;
    thread->join();
    MonitorTable::releaseMonitor(first);
    MonitorTable::releaseMonitor(other.lock);
}

TEST_F(MonitorTest, AFullTableSharesTheOverflowMonitorAndNotifyStillReachesTheRightWaiter) {
    const int64_t overflowsBefore = MonitorTable::overflowCount();
    ObjectArray* objects = Runtime::newObjectArray(CID_Object, MonitorTable::kRecords + 2);
    for (jint i = 0; i < objects->length; ++i) {
        objects->set(i, new Object());
        MonitorLock hold(objects->get(i));
    }
    EXPECT_EQ(MonitorTable::usedRecords(), MonitorTable::kRecords);
    EXPECT_GE(MonitorTable::overflowCount(), overflowsBefore + 2);
    Object* first = objects->get(MonitorTable::kRecords);
    Object* second = objects->get(MonitorTable::kRecords + 1);
    EXPECT_EQ(MonitorTable::getMonitor(first, false), MonitorTable::getMonitor(second, false));

    Waiting onFirst, onSecond;
    onFirst.lock = first;
    onSecond.lock = second;
    java_lang_Thread* a = newThread(&waitOnce, &onFirst);
    java_lang_Thread* b = newThread(&waitOnce, &onSecond);
    a->start();
    b->start();
    waitUntilWaiting(a, Runtime::kNoDeadline);
    waitUntilWaiting(b, Runtime::kNoDeadline);
    {
        MonitorLock hold(second);
        second->notify();
    }
    b->join();
    EXPECT_EQ(onFirst.woken.load(), 0);
    {
        MonitorLock hold(first);
        first->notify();
    }
    a->join();
    EXPECT_EQ(onFirst.woken.load(), 1);
}

// Two threads, each locking its own 100 objects one inside the other, 200 monitors on a table of 128:
// the later objects share the overflow record, which must never make the two wait for each other.
struct NestedLocks {
    ObjectArray* objects = nullptr;
    jint from = 0;
    jint count = 0;
    std::atomic<int> rounds{0};
};

void lockNested(NestedLocks& n, jint i) {
    if (i == n.count) return;
    MonitorLock hold(n.objects->get(n.from + i));
    lockNested(n, i + 1);
}

void lockNestedRounds(void* context) {
    auto& n = *static_cast<NestedLocks*>(context);
    for (int round = 0; round < 50; ++round) {
        lockNested(n, 0);
        n.rounds.fetch_add(1);
    }
}

TEST_F(MonitorTest, UnrelatedObjectsSharingTheOverflowMonitorNeverDeadlock) {
    LogCapture log;
    ObjectArray* objects = Runtime::newObjectArray(CID_Object, 200);
    for (jint i = 0; i < objects->length; ++i) objects->set(i, new Object());
    NestedLocks first{objects, 0, 100}, second{objects, 100, 100};
    java_lang_Thread* a = newThread(&lockNestedRounds, &first);
    java_lang_Thread* b = newThread(&lockNestedRounds, &second);
    a->start();
    b->start();
    a->join();  // the watchdog ends a deadlock
    b->join();
    EXPECT_EQ(first.rounds.load(), 50);
    EXPECT_EQ(second.rounds.load(), 50);
    int overflowLines = 0;
    for (const auto& line : log.lines) overflowLines += line.find("monitor table full") != std::string::npos;
    EXPECT_LE(overflowLines, 1);
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "../runtime/runtime_fixture.h"
#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/array.h"
#include "runtime/clock.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/monitor.h"
#include "runtime/thread_table.h"
#include "thread_helpers.h"

namespace {

class ThreadTest : public RuntimeTest {
protected:
    void TearDown() override {
        Runtime::clearPendingException();
        Runtime::setConstantPool(nullptr);
        Runtime::setClock(nullptr);
        RuntimeTest::TearDown();
    }
    Watchdog m_watchdog{std::chrono::seconds(60)};
};

// Threads that hold on until the test opens the gate.
struct Gate {
    Object* lock = nullptr;
    std::atomic<int> arrived{0};
    std::atomic<int> runs{0};
    bool open = false;  // under lock's monitor
};

void passGate(void* context) {
    auto& gate = *static_cast<Gate*>(context);
    gate.runs.fetch_add(1);
    MonitorLock hold(gate.lock);
    gate.arrived.fetch_add(1);
    while (!gate.open) gate.lock->wait();
}

void openGate(Gate& gate) {
    MonitorLock hold(gate.lock);
    gate.open = true;
    gate.lock->notifyAll();
}

TEST_F(ThreadTest, StartFillsASlotBeforeRunAndTheSlotIsFreedAndReusedAfter) {
    EXPECT_EQ(java_lang_Thread::currentThread(), nullptr);  // the test's thread is outside the table
    Gate gate;
    gate.lock = new Object();
    java_lang_Thread* first = newThread(&passGate, &gate);
    EXPECT_FALSE(first->isAlive());
    EXPECT_EQ(first->start(), 1);
    const int slot = ThreadTable::findThread(first);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(first->start(), slot);  // a second start starts nothing
    waitUntil([&] { return gate.arrived.load() == 1; });
    EXPECT_TRUE(first->isAlive());
    EXPECT_EQ(java_lang_Thread::activeCount(), 1);
    openGate(gate);
    first->join();
    EXPECT_FALSE(first->isAlive());
    EXPECT_EQ(java_lang_Thread::activeCount(), 0);
    EXPECT_EQ(gate.runs.load(), 1);

    gate.open = false;
    java_lang_Thread* second = newThread(&passGate, &gate);
    EXPECT_EQ(second->start(), 1);
    EXPECT_EQ(ThreadTable::findThread(second), slot);
    waitUntil([&] { return gate.arrived.load() == 2; });
    openGate(gate);
    second->join();
}

TEST_F(ThreadTest, CurrentThreadIsTheRunningThreadsOwnObject) {
    struct Seen {
        java_lang_Thread* self;
        java_lang_Thread* current;
    } seen{nullptr, nullptr};
    java_lang_Thread* thread = newThread(
        [](void* c) {
            auto& s = *static_cast<Seen*>(c);
            s.current = java_lang_Thread::currentThread();
        },
        &seen);
    seen.self = thread;
    thread->start();
    thread->join();
    EXPECT_EQ(seen.current, thread);
}

TEST_F(ThreadTest, AFullTableRefusesTheStartWithALoggedError) {
    LogCapture log;
    Gate gate;
    gate.lock = new Object();
    ObjectArray* threads = Runtime::newObjectArray(CID_java_lang_Thread, ThreadTable::kSlots);
    for (jint i = 0; i < ThreadTable::kSlots; ++i) {
        threads->set(i, newThread(&passGate, &gate));
        EXPECT_EQ(static_cast<java_lang_Thread*>(threads->get(i))->start(), 1);
    }
    java_lang_Thread* ninth = newThread(&passGate, &gate);
    EXPECT_EQ(ninth->start(), -1);
    EXPECT_FALSE(ninth->isAlive());
    waitUntil([&] { return gate.arrived.load() == ThreadTable::kSlots; });
    EXPECT_EQ(java_lang_Thread::activeCount(), ThreadTable::kSlots);
    openGate(gate);
    for (jint i = 0; i < ThreadTable::kSlots; ++i) static_cast<java_lang_Thread*>(threads->get(i))->join();
    EXPECT_EQ(gate.runs.load(), ThreadTable::kSlots);
    EXPECT_TRUE(log.contains("thread table full"));
}

TEST_F(ThreadTest, SetPriorityAcceptsOneToTenAndLeavesOtherValuesWithAnException) {
    auto* thread = new java_lang_Thread();
    thread->init();
    EXPECT_EQ(thread->getPriority(), 5);  // made outside the table
    struct Case {
        jint priority;
        bool accepted;
    };
    const Case cases[] = {{0, false}, {11, false}, {-1, false}, {1, true}, {10, true}, {7, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.priority);
        const jint before = thread->getPriority();
        thread->setPriority(c.priority);
        Object* pending = Runtime::getPendingException();
        EXPECT_EQ(pending != nullptr, !c.accepted);
        if (pending) {
            EXPECT_EQ(pending->classId(), CID_java_lang_IllegalArgumentException);
        }
        Runtime::clearPendingException();
        EXPECT_EQ(thread->getPriority(), c.accepted ? c.priority : before);
    }
    EXPECT_EQ(java_lang_Thread::setPriorityNative(thread, 5), -1);  // holds no slot
}

TEST_F(ThreadTest, AThreadMadeByAThreadTakesItsPriorityAndTheOsSeesTheMappedValue) {
    struct Seen {
        jint applied, refused, osAfter, childPriority;
    } seen{};
    java_lang_Thread* thread = newThread(
        [](void* c) {
            auto& s = *static_cast<Seen*>(c);
            java_lang_Thread* self = java_lang_Thread::currentThread();
            self->setPriority(7);
            s.applied = java_lang_Thread::setPriorityNative(self, 7);
            s.refused = java_lang_Thread::setPriorityNative(self, 10);  // maps to -1: refused
            s.osAfter = ThreadTable::getThreadPriority();
            auto* child = new java_lang_Thread();
            child->init();
            s.childPriority = child->getPriority();
        },
        &seen);
    thread->start();
    thread->join();
    EXPECT_EQ(seen.applied, 1);
    EXPECT_EQ(seen.refused, 0);
    EXPECT_EQ(seen.osAfter, 2);  // min(9 - 7, 7), unchanged by the refused call
    EXPECT_EQ(seen.childPriority, 7);
    EXPECT_EQ(ThreadTable::getThreadPriority(), ThreadTable::kNormalOsPriority);
}

TEST_F(ThreadTest, JoinReturnsAtOnceOnItselfAndOnAThreadNeverStarted) {
    auto* never = new java_lang_Thread();
    never->init();
    never->join();
    bool returned = false;
    java_lang_Thread* thread = newThread(
        [](void* c) {
            java_lang_Thread::currentThread()->join();
            *static_cast<bool*>(c) = true;
        },
        &returned);
    thread->start();
    thread->join();
    EXPECT_TRUE(returned);
}

TEST_F(ThreadTest, ToStringJoinsThePoolTextsTheHashAndThePriority) {
    ObjectArray* pool = Runtime::newObjectArray(CID_String, 263);
    pool->set(261, str("Thread[@"));
    pool->set(193, str(","));
    pool->set(262, str("]"));
    Runtime::setConstantPool(pool);
    auto* thread = new java_lang_Thread();
    thread->init();
    thread->setPriority(3);
    EXPECT_EQ(narrow(unitsOf(thread->toString())), "Thread[@" + std::to_string(thread->hashCode()) + ",3]");
}

TEST_F(ThreadTest, AnExceptionLeftPendingByRunIsLoggedWhenTheThreadEnds) {
    LogCapture log;
    java_lang_Thread* thread = newThread(
        [](void*) { Runtime::raise<java_lang_IllegalStateException>(nullptr); },
        nullptr);
    thread->start();
    thread->join();
    EXPECT_TRUE(log.contains("uncaught java_lang_IllegalStateException left pending at the end of its thread"));
    EXPECT_EQ(Runtime::getPendingException(), nullptr);
}

TEST_F(ThreadTest, TimeHeldByACollectionCountsTowardASleep) {
    struct Case {
        int64_t held;
        int64_t slept;
    };
    // Held 30 of 50 ms: 20 more. Held 60: the sleep is over when the world is released.
    const Case cases[] = {{30, 50}, {60, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held);
        ManualClock clock;
        Runtime::setClock(&clock);
        java_lang_Thread::sleep(-5);  // negative: at once
        java_lang_Thread::sleep(0);
        int64_t elapsed = -1;
        java_lang_Thread* thread = newThread(
            [](void* c) {
                const int64_t start = Runtime::clock().monotonicMillis();
                java_lang_Thread::sleep(50);
                *static_cast<int64_t*>(c) = Runtime::clock().monotonicMillis() - start;
            },
            &elapsed);
        thread->start();
        waitUntilWaiting(thread, 50);
        Runtime::suspendAllThreads();  // what a collection does first
        clock.advance(c.held);
        Runtime::resumeAllThreads();
        if (c.held < 50) clock.advance(50 - c.held);
        thread->join();
        EXPECT_EQ(elapsed, c.slept);
        Runtime::setClock(nullptr);
    }
}

// Shutting down stops the world and then collects; a collection another thread began meanwhile
// must wait for the world, not hold anything the stopper's own collection needs.
TEST_F(ThreadTest, TheThreadHoldingTheWorldCollectsWhileAnotherThreadsCollectionWaits) {
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<int> collections{0};
    } shared;
    java_lang_Thread* thread = newThread(
        [](void* c) {
            auto& s = *static_cast<Shared*>(c);
            while (!s.stop.load()) {
                Runtime::getObjectManager()->gc(1);
                s.collections.fetch_add(1);
            }
        },
        &shared);
    thread->start();
    for (int round = 0; round < 200; ++round) {
        waitUntil([&] { return shared.collections.load() > round; });
        Runtime::suspendAllThreads();
        objectManager().gc(1);
        Runtime::resumeAllThreads();
    }
    shared.stop.store(true);
    thread->join();
}

// The host loop's pause on a virtual clock lets a thread do what is due before time moves on, so
// its sleeps end at the moments they asked for however far the loop runs ahead in real time.
TEST_F(ThreadTest, AVirtualClocksPauseLetsSleepingThreadsWakeExactlyOnTime) {
    ManualClock clock;
    Runtime::setClock(&clock);
    struct Frames {
        int64_t at[20] = {};
        std::atomic<int> count{0};
    } frames;
    java_lang_Thread* thread = newThread(
        [](void* c) {
            auto& f = *static_cast<Frames*>(c);
            for (int64_t& at : f.at) {
                at = Runtime::clock().monotonicMillis();
                f.count.fetch_add(1);
                java_lang_Thread::sleep(50);
            }
        },
        &frames);
    thread->start();
    for (int pass = 0; pass < 20 * 5; ++pass) Runtime::runParked([&clock] { clock.sleepMillis(10); });
    while (thread->isAlive()) {  // a thread left behind in time ends the test, not hangs it
        clock.advance(50);
        java_lang_Thread::yield();
    }
    ASSERT_EQ(frames.count.load(), 20);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(frames.at[i], 50 * i) << "frame " << i;
    Runtime::setClock(nullptr);
}

// A thread that awaits work done elsewhere (a render) holds the virtual clock however long the
// work takes in real time, past the pause's bound: the thread sees the moment it asked at.
TEST_F(ThreadTest, AVirtualClocksPauseWaitsPastItsBoundForWorkAThreadAwaits) {
    ManualClock clock;
    Runtime::setClock(&clock);
    struct Shared {
        std::atomic<bool> awaiting{false};
        std::atomic<bool> workDone{false};
        std::atomic<int64_t> seenAfterWork{-1};
    } shared;
    java_lang_Thread* thread = newThread(
        [](void* c) {
            auto& s = *static_cast<Shared*>(c);
            Runtime::runParkedAwaitingWork([&s] {
                s.awaiting.store(true);
                // Longer than the pause's bound (200 ms of real time).
                std::thread work([&s] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(500));
                    s.workDone.store(true);
                });
                work.join();
            });
            s.seenAfterWork.store(Runtime::clock().monotonicMillis());
            java_lang_Thread::sleep(1000);
        },
        &shared);
    thread->start();
    while (!shared.awaiting.load()) java_lang_Thread::yield();
    Runtime::runParked([&clock] { clock.sleepMillis(10); });
    EXPECT_TRUE(shared.workDone.load());
    EXPECT_EQ(shared.seenAfterWork.load(), 0);
    while (thread->isAlive()) {
        clock.advance(100);
        java_lang_Thread::yield();
    }
    Runtime::setClock(nullptr);
}

}  // namespace

// Helpers of the thread tests: a Runnable that calls a C++ function, a watchdog that fails a test
// that hangs, and a wait for another thread to reach a state. The watchdog's thread never touches
// the runtime, so it needs no safe region.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "classlib/java_lang/java_lang_runnable.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "runtime/thread_state.h"
#include "runtime/thread_table.h"

// Holds no references (its context lives on the test's stack). Borrows an id no test class uses.
class FunctionRunnable : public Object, public java_lang_Runnable {
public:
    FunctionRunnable() { setClassId(CID_BXLibPlayer); }
    void* getInterface(jint id) override { return id == CID_java_lang_Runnable ? static_cast<java_lang_Runnable*>(this) : nullptr; }
    void run() override { m_function(m_context); }

    void (*m_function)(void*);
    void* m_context;
};

// A new, unstarted Thread whose target runs fn(context); fn is a captureless lambda or function.
inline java_lang_Thread* newThread(void (*fn)(void*), void* context) {
    auto* target = new FunctionRunnable();
    target->m_function = fn;
    target->m_context = context;
    auto* thread = new java_lang_Thread();
    thread->init(target);
    return thread;
}

// Aborts the test binary, naming the test, when the scope lasts longer than its limit.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) {
        m_thread = std::thread([this, limit] {
            std::unique_lock held(m_lock);
            if (!m_done.wait_for(held, limit, [this] { return m_finished; })) {
                const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
                std::fprintf(stderr, "watchdog: %s.%s hung (deadlock?)\n", info ? info->test_suite_name() : "?",
                             info ? info->name() : "?");
                std::abort();
            }
        });
    }
    ~Watchdog() {
        {
            std::lock_guard guard(m_lock);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

// Yields (a parking point) until condition() holds.
template <class Condition>
void waitUntil(Condition condition) {
    while (!condition()) java_lang_Thread::yield();
}

// Until thread is blocked in a wait whose deadline is `deadline` (Runtime::kNoDeadline: no limit).
inline void waitUntilWaiting(java_lang_Thread* thread, int64_t deadline) {
    waitUntil([&] { return ThreadTable::waitDeadlineOf(thread) == deadline; });
}

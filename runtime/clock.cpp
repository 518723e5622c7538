// Host clocks behind the replaceable source pointer (an atomic, as any thread may read the time),
// and the timed wait of each source.
#include "runtime/clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/thread_state.h"

namespace {

class HostClock final : public ClockSource {
public:
    int64_t monotonicMillis() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    int64_t wallMillis() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
    void sleepMillis(int64_t millis) override {
        if (millis > 0) std::this_thread::sleep_for(std::chrono::milliseconds(millis));
    }
};

HostClock g_hostClock;
std::atomic<ClockSource*> g_source{nullptr};

}  // namespace

// One wait lasts at most a day: the library turns the span into nanoseconds past now, which a
// larger span would overflow into an at once expired wait (a spin). Callers re-check their deadline.
void ClockSource::waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t millis) {
    constexpr int64_t kLongestWait = 24 * 60 * 60 * 1000;
    signal.wait_for(lock, std::chrono::milliseconds(std::min(millis, kLongestWait)));
}

// Real time means nothing here: the wait lasts until a notify, which advance() sends to every
// registered thread's wake signal.
void ManualClock::waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t) {
    signal.wait(lock);
}

void ManualClock::sleepMillis(int64_t millis) {
    if (millis <= 0) return;
    settleOthers();
    advance(millis);
}

void ManualClock::settleOthers() { Runtime::waitForOthersToSettle(kSettleBound); }

void ManualClock::advance(int64_t millis) {
    m_monotonic.fetch_add(millis);
    m_wall.fetch_add(millis);
    Runtime::wakeTimedWaiters();
}

namespace Runtime {

ClockSource& clock() {
    ClockSource* source = g_source.load(std::memory_order_acquire);
    return source ? *source : g_hostClock;
}

ClockSource& hostClock() { return g_hostClock; }

void setClock(ClockSource* source) { g_source.store(source, std::memory_order_release); }

}  // namespace Runtime

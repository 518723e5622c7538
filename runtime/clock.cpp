// Host clocks behind the replaceable source pointer (an atomic, as any thread may read the time).
#include "runtime/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

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

namespace Runtime {

ClockSource& clock() {
    ClockSource* source = g_source.load(std::memory_order_acquire);
    return source ? *source : g_hostClock;
}

ClockSource& hostClock() { return g_hostClock; }

void setClock(ClockSource* source) { g_source.store(source, std::memory_order_release); }

}  // namespace Runtime

// The runtime's clocks: monotonic milliseconds (frame timing, collector throttle, sleeps) and the
// wall clock (dates). Tests and the headless device install a virtual source; the default reads
// the host's clocks. A sleep goes through the source too, so on a virtual clock it only moves time.
#pragma once

#include <atomic>
#include <cstdint>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    [[nodiscard]] virtual int64_t monotonicMillis() = 0;
    // Milliseconds since 1970-01-01 UTC.
    [[nodiscard]] virtual int64_t wallMillis() = 0;
    // Blocks the calling thread for the given time (the host clock) or advances time (a virtual one).
    virtual void sleepMillis(int64_t millis) = 0;
};

// A clock that moves only when told to or slept on; for tests and the headless device. Any thread
// may read or advance it.
class ManualClock final : public ClockSource {
public:
    int64_t monotonicMillis() override { return m_monotonic.load(std::memory_order_acquire); }
    int64_t wallMillis() override { return m_wall.load(std::memory_order_acquire); }
    void sleepMillis(int64_t millis) override {
        if (millis > 0) advance(millis);
    }
    void advance(int64_t millis) {
        m_monotonic.fetch_add(millis, std::memory_order_acq_rel);
        m_wall.fetch_add(millis, std::memory_order_acq_rel);
    }
    void setWall(int64_t millis) { m_wall.store(millis, std::memory_order_release); }

private:
    std::atomic<int64_t> m_monotonic{0};
    std::atomic<int64_t> m_wall{0};
};

namespace Runtime {

[[nodiscard]] ClockSource& clock();
// The host's real clocks, whatever source is installed.
[[nodiscard]] ClockSource& hostClock();
// Installs a source (null restores the host's clocks). The caller keeps it alive while installed.
void setClock(ClockSource* source);

}  // namespace Runtime

// The runtime's clocks: monotonic milliseconds (frame timing, collector throttle, sleeps and timed
// waits) and the wall clock (dates). Tests and the headless device install a virtual source; the
// default reads the host's clocks. Every timed wait of the runtime blocks through the installed
// source's waitFor, so a virtual clock that moves wakes the waits it makes due.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    [[nodiscard]] virtual int64_t monotonicMillis() = 0;
    // Milliseconds since 1970-01-01 UTC.
    [[nodiscard]] virtual int64_t wallMillis() = 0;
    // Blocks on signal (lock held by the caller, released while blocked) for at most `millis` of
    // this clock's time, or until the signal is notified. May return early: the caller re-checks.
    virtual void waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t millis);
    // The host loop's pause between passes: real time on the host clock; on a virtual clock it is
    // what moves time (and so wakes the timed waits it makes due).
    virtual void sleepMillis(int64_t millis) = 0;
    // Before a pause: the other threads finish what the present time made due, so what the host
    // does next comes after it. Real time waits for nobody.
    virtual void settleOthers() {}
};

// A clock that moves only when told to; for tests and the headless device. Waits on it last until
// advance() makes them due, however much real time passes. sleepMillis, the host loop's pause,
// first lets the other threads finish what is due (bounded in real time, so a thread that never
// waits cannot stop the clock): a run then sees the same moments however loaded the machine is.
class ManualClock final : public ClockSource {
public:
    int64_t monotonicMillis() override { return m_monotonic.load(); }
    int64_t wallMillis() override { return m_wall.load(); }
    void waitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t millis) override;
    void sleepMillis(int64_t millis) override;
    void settleOthers() override;
    // Moves both clocks and wakes every timed wait to re-read the time.
    void advance(int64_t millis);
    void setWall(int64_t millis) { m_wall.store(millis); }

private:
    static constexpr std::chrono::milliseconds kSettleBound{200};
    std::atomic<int64_t> m_monotonic{0};
    std::atomic<int64_t> m_wall{0};
};

namespace Runtime {

[[nodiscard]] ClockSource& clock();
// The host's own clocks, whatever source is installed.
[[nodiscard]] ClockSource& hostClock();
// Installs a source (null restores the host's clocks). The caller keeps it alive while installed.
void setClock(ClockSource* source);

}  // namespace Runtime

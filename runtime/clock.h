// The runtime's clocks: monotonic milliseconds (frame timing, collector throttle, sleeps) and the
// wall clock (dates). Tests and the headless device install a virtual source; the default reads
// the host's clocks.
#pragma once

#include <cstdint>

class ClockSource {
public:
    virtual ~ClockSource() = default;
    [[nodiscard]] virtual int64_t monotonicMillis() = 0;
    // Milliseconds since 1970-01-01 UTC.
    [[nodiscard]] virtual int64_t wallMillis() = 0;
};

// A clock that moves only when told to; for tests and the headless device.
class ManualClock final : public ClockSource {
public:
    int64_t monotonicMillis() override { return m_monotonic; }
    int64_t wallMillis() override { return m_wall; }
    void advance(int64_t millis) {
        m_monotonic += millis;
        m_wall += millis;
    }
    void setWall(int64_t millis) { m_wall = millis; }

private:
    int64_t m_monotonic = 0;
    int64_t m_wall = 0;
};

namespace Runtime {

[[nodiscard]] ClockSource& clock();
// Installs a source (null restores the host's clocks). The caller keeps it alive while installed.
void setClock(ClockSource* source);

}  // namespace Runtime

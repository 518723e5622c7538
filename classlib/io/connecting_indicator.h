// ConnectingIndicator: the dotted "connecting" animation an HTTP request shows while it blocks,
// drawn straight onto the installed screen at (75, 240), one frame every 300 ms on a thread of its
// own. The thread never touches the object heap. Invariant: stop() returns only after the thread
// has ended, so no frame is drawn after it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/graphics/surface.h"

class ConnectingIndicator {
public:
    static constexpr int kX = 75, kY = 240;
    static constexpr int kFrameMillis = 300;

    ConnectingIndicator() = default;
    ~ConnectingIndicator() { stop(); }
    ConnectingIndicator(const ConnectingIndicator&) = delete;
    ConnectingIndicator& operator=(const ConnectingIndicator&) = delete;

    void start();
    // Clears the running flag, wakes the thread and joins it.
    void stop();
    [[nodiscard]] int64_t framesDrawn() const;

    // Frame `counter mod 5` of the animation: its 21-character text, transparent background.
    static void drawFrame(const Surface565& screen, int64_t counter);

private:
    void connectingAnimation();

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_running = false;
    int64_t m_counter = 0;
    std::thread m_thread;
};

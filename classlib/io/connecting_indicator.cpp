// The indicator's frames and its thread. Frame 0 is white, the others red (the colour the frame
// starts with is red, then frame 0 turns it white).
#include "classlib/io/connecting_indicator.h"

#include <string_view>

#include "platform/device/device.h"
#include "platform/graphics/system_font.h"
#include "runtime/clock.h"

namespace {

constexpr std::u16string_view kFrames[5] = {
    u"    . . . . . . .    ", u"          .          ", u"        . . .        ",
    u"      . . . . .      ", u"    . . . . . . .    ",
};

}  // namespace

void ConnectingIndicator::drawFrame(const Surface565& screen, int64_t counter) {
    const int frame = static_cast<int>(counter % 5);
    const uint16_t colour = frame == 0 ? rgb565(255, 255, 255) : rgb565(255, 0, 0);
    SystemFont::drawText(screen, kX, kY, kFrames[frame], colour);
}

void ConnectingIndicator::start() {
    std::lock_guard guard(m_lock);
    if (m_running || m_thread.joinable()) return;
    m_running = true;
    m_thread = std::thread([this] { connectingAnimation(); });
}

void ConnectingIndicator::stop() {
    {
        std::lock_guard guard(m_lock);
        m_running = false;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

int64_t ConnectingIndicator::framesDrawn() const {
    std::lock_guard guard(m_lock);
    return m_counter;
}

void ConnectingIndicator::connectingAnimation() {
    std::unique_lock lock(m_lock);
    while (m_running) {
        const int64_t counter = m_counter;
        lock.unlock();
        if (DeviceScreen* screen = Platform::screen())
            (void)screen->drawScreen([counter](Surface565& surface) { drawFrame(surface, counter); });
        lock.lock();
        ++m_counter;
        ClockSource& clock = Runtime::clock();
        const int64_t due = clock.monotonicMillis() + kFrameMillis;
        while (m_running && clock.monotonicMillis() < due) clock.waitFor(lock, m_wake, due - clock.monotonicMillis());
    }
}

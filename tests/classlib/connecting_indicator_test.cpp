// The connecting indicator: each frame's dots and colour at (75, 240), and a thread that draws on
// the installed screen until stop() has joined it.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "classlib/io/connecting_indicator.h"
#include "platform/device/device.h"
#include "platform/graphics/system_font.h"
#include "thread_helpers.h"

namespace {

constexpr int kWidth = 480, kHeight = 800;

// Pixels of `colour` in row band [kY, kY + font height), counted per column range of a character
// cell (21 cells from kX).
std::vector<int> cellsLit(const std::vector<uint16_t>& pixels, uint16_t colour) {
    std::vector<int> lit;
    const int cell = SystemFont::charWidth(u'.');
    for (int i = 0; i < 21; ++i) {
        bool any = false;
        for (int y = ConnectingIndicator::kY; y < ConnectingIndicator::kY + SystemFont::height(); ++y)
            for (int x = ConnectingIndicator::kX + i * cell; x < ConnectingIndicator::kX + (i + 1) * cell; ++x)
                any = any || pixels[static_cast<size_t>(y * kWidth + x)] == colour;
        if (any) lit.push_back(i);
    }
    return lit;
}

class MemoryScreen final : public DeviceScreen {
public:
    int screenWidth() const override { return kWidth; }
    int screenHeight() const override { return kHeight; }
    bool drawScreen(const std::function<void(Surface565&)>& draw) override {
        std::lock_guard guard(lock);
        Surface565 surface{pixels.data(), kWidth, kHeight, kWidth};
        draw(surface);
        ++draws;
        return true;
    }
    void present() override {}

    std::mutex lock;
    std::vector<uint16_t> pixels = std::vector<uint16_t>(kWidth * kHeight, 0);
    std::atomic<int> draws{0};
};

}  // namespace

TEST(ConnectingIndicatorTest, FramesDrawTheirDotsInTheirColour) {
    const uint16_t white = rgb565(255, 255, 255), red = rgb565(255, 0, 0);
    const struct {
        int64_t counter;
        uint16_t colour;
        std::vector<int> cells;
    } cases[] = {
        {0, white, {4, 6, 8, 10, 12, 14, 16}}, {1, red, {10}}, {2, red, {8, 10, 12}},
        {3, red, {6, 8, 10, 12, 14}},          {4, red, {4, 6, 8, 10, 12, 14, 16}}, {6, red, {10}},
    };
    for (const auto& c : cases) {
        std::vector<uint16_t> pixels(kWidth * kHeight, 0x1234);
        ConnectingIndicator::drawFrame(Surface565{pixels.data(), kWidth, kHeight, kWidth}, c.counter);
        EXPECT_EQ(cellsLit(pixels, c.colour), c.cells) << c.counter;
        EXPECT_TRUE(cellsLit(pixels, c.colour == red ? white : red).empty()) << c.counter;
        EXPECT_EQ(pixels[0], 0x1234);  // transparent: nothing else is touched
    }
}

TEST(ConnectingIndicatorTest, StopJoinsTheThreadAndNothingIsDrawnAfter) {
    Watchdog watchdog(std::chrono::seconds(30));
    MemoryScreen screen;
    Platform::setScreen(&screen);
    {
        ConnectingIndicator indicator;
        indicator.start();
        while (screen.draws.load() == 0) std::this_thread::yield();
        indicator.stop();  // wakes the 300 ms pause at once
        const int drawn = screen.draws.load();
        EXPECT_GE(indicator.framesDrawn(), 1);
        EXPECT_EQ(screen.draws.load(), drawn);
        indicator.stop();  // a second stop is harmless
    }
    Platform::setScreen(nullptr);
    {
        ConnectingIndicator indicator;  // no screen: runs, draws nothing, stops with its scope
        indicator.start();
    }
    EXPECT_EQ(cellsLit(screen.pixels, rgb565(255, 255, 255)).size(), 7u);
}

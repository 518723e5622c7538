// The screen back ends over the headless device: choice by name, slots, and the flush.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/device/headless/headless_device.h"
#include "platform/display/ddraw_display.h"
#include "platform/display/display_backend.h"
#include "platform/display/gdi_display.h"
#include "platform_test_support.h"

namespace {

struct Screen {
    explicit Screen(int width = 480, int height = 800) : device(HeadlessOptions{width, height}) {
        EXPECT_TRUE(device.createWindow(proc));
    }
    RecordingProc proc;
    HeadlessDevice device;
};

}  // namespace

TEST(DisplayBackendTest, OpensTheBackEndNamed) {
    struct Case {
        std::u16string name;
        bool ok;
        bool gdi;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {u"GDI", true, true, {"\nApplicationImpl::openDisplay(GDI): Using GDI display type.\n"}},
        {u"DDRAW", true, false, {"openDisplay(DDRAW): Using DDRAW display type."}},
        {u"AUTO", true, false, {"\nApplicationImpl::openDisplay(AUTO): Using DDRAW display type.\n"}},
        {u"gdi", false, false, {"\nApplicationImpl::openDisplay(): Display type invalid.\n"}},
        {u"", false, false, {"\nApplicationImpl::openDisplay(): Display type invalid.\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        Screen screen;
        LogCapture log;
        std::unique_ptr<DisplayBackend> backend;
        EXPECT_EQ(openDisplayBackend(c.name, screen.device, backend), c.ok);
        EXPECT_EQ(log.lines, c.log);
        if (!c.ok) {
            EXPECT_EQ(backend, nullptr);
            continue;
        }
        EXPECT_EQ(dynamic_cast<GdiDisplay*>(backend.get()) != nullptr, c.gdi);
        EXPECT_NE(backend->backBuffer(), nullptr);
    }
}

TEST(DisplayBackendTest, ReportsItsGeometryInItsSlots) {
    Screen screen(240, 400);
    GdiDisplay gdi(240, 400, 480, 800);
    DDrawDisplay ddraw(240, 400, 480, 800);
    for (DisplayBackend* b : {static_cast<DisplayBackend*>(&gdi), static_cast<DisplayBackend*>(&ddraw)}) {
        ASSERT_TRUE(b->init(&screen.device));
        EXPECT_EQ(b->screenWidth(), 240);
        EXPECT_EQ(b->screenHeight(), 400);
        EXPECT_EQ(b->bitsPerPixel(), 16);
        EXPECT_EQ(b->xPitch(), 2);
        EXPECT_EQ(b->yPitch(), 480);
        EXPECT_EQ(b->backBufferPitch(), 960);
        EXPECT_EQ(b->virtualWidth(), 480);
        EXPECT_EQ(b->virtualHeight(), 800);
        EXPECT_TRUE(b->setCooperativeNormal());
        EXPECT_TRUE(b->setCooperativeFullScreen());
        // A new frame buffer is black.
        const uint16_t* bits = b->backBuffer();
        EXPECT_EQ(std::count(bits, bits + 480 * 800, 0), 480 * 800);
    }
    // A locked back surface is busy until unlocked; the GDI bitmap is always there.
    EXPECT_TRUE(ddraw.lock());
    EXPECT_FALSE(ddraw.lock());
    EXPECT_TRUE(ddraw.unlock());
    EXPECT_FALSE(ddraw.unlock());
    EXPECT_TRUE(gdi.lock());
    EXPECT_TRUE(gdi.lock());
}

TEST(DisplayBackendTest, FlushCopiesOneToOneOnAPortraitScreen) {
    Screen screen;
    std::unique_ptr<DisplayBackend> backend;
    ASSERT_TRUE(openDisplayBackend(u"GDI", screen.device, backend));
    uint16_t* bits = backend->backBuffer();
    for (int i = 0; i < 480 * 800; ++i) bits[i] = static_cast<uint16_t>(i * 7);
    ASSERT_TRUE(backend->flush());
    const std::vector<uint16_t> shown = screen.device.screenPixels();
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), bits));
    EXPECT_EQ(screen.device.frameCount(), 1);
}

TEST(DisplayBackendTest, FlushStretchesWithTheChosenMode) {
    Screen screen(240, 400);
    GdiDisplay gdi(240, 400, 480, 800);
    ASSERT_TRUE(gdi.init(&screen.device));
    EXPECT_EQ(gdi.stretchMode(), GdiDisplay::kColorOnColor);
    // Row 0 (the top of the screen) alternates white and black; everything else is black.
    uint16_t* bits = gdi.backBuffer();
    for (int x = 0; x < 480; x += 2) bits[x] = 0xFFFF;
    ASSERT_TRUE(gdi.flush());
    std::vector<uint16_t> shown = screen.device.screenPixels();
    EXPECT_EQ(shown[0], 0xFFFF);
    EXPECT_EQ(shown[239], 0xFFFF);
    EXPECT_EQ(shown[240], 0);
    gdi.setSmoothStretch();
    EXPECT_EQ(gdi.stretchMode(), GdiDisplay::kHalftone);
    ASSERT_TRUE(gdi.flush());
    shown = screen.device.screenPixels();
    // One of the four pixels under each top screen pixel is white: a quarter grey, rounded.
    EXPECT_EQ(shown[0], (8 << 11) | (16 << 5) | 8);
    EXPECT_EQ(shown[240], 0);
    gdi.setFastStretch();
    EXPECT_EQ(gdi.stretchMode(), GdiDisplay::kColorOnColor);
}

TEST(DisplayBackendTest, FailsWithoutAWindow) {
    HeadlessDevice device;  // no window created yet
    GdiDisplay gdi(480, 800, 480, 800);
    DDrawDisplay ddraw(480, 800, 480, 800);
    EXPECT_FALSE(gdi.init(nullptr));
    EXPECT_FALSE(ddraw.init(nullptr));
    EXPECT_EQ(ddraw.backBuffer(), nullptr);
    EXPECT_FALSE(gdi.flush());
    ASSERT_TRUE(gdi.init(&device));
    EXPECT_FALSE(gdi.flush());  // the device has no window to draw on
    EXPECT_EQ(device.frameCount(), 0);
    gdi.release();
    EXPECT_EQ(gdi.backBuffer(), nullptr);
    EXPECT_FALSE(gdi.flush());
}

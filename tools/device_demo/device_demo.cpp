// device_demo: a look at the real window. Opens the sdl device, draws an upright landscape test
// pattern (colour bars, a frame, an arrow at the top, system message 6 in the system font) through
// the GDI back end, and presents it until the window closes or the time runs out.
//
//     device_demo [--seconds S] [--window WxH] [--lang ID]
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/device/host_input.h"
#include "platform/device/sdl/sdl_device.h"
#include "platform/graphics/system_font.h"
#include "platform/device/system_messages.h"
#include "platform/display/display_backend.h"
#include "runtime/clock.h"

namespace {

class DemoWindowProc final : public WindowProc {
public:
    explicit DemoWindowProc(Device& device) : m_device(device) {}
    int32_t windowProc(const HostMessage& m) override {
        if (m.kind == HostMessageKind::StylusDown || m.kind == HostMessageKind::StylusUp)
            std::printf("%s %d,%d\n", hostMessageName(m.kind), Host::stylusX(m.lParam), Host::stylusY(m.lParam));
        else if (m.kind != HostMessageKind::StylusMove)
            std::printf("%s %d\n", hostMessageName(m.kind), m.wParam);
        if (m.kind == HostMessageKind::Close) m_device.postQuit(0);
        return 0;
    }

private:
    Device& m_device;
};

// The picture the game would draw: 800x480, upright.
void drawPattern(const Surface565& picture, int language) {
    const uint16_t bars[] = {rgb565(255, 255, 255), rgb565(255, 255, 0), rgb565(0, 255, 255), rgb565(0, 255, 0),
                             rgb565(255, 0, 255),   rgb565(255, 0, 0),   rgb565(0, 0, 255),   rgb565(64, 64, 64)};
    const int barWidth = picture.width / 8;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) picture.row(y)[x] = bars[std::min(x / barWidth, 7)];
    // A black band with the please-wait text, a white frame and an arrow pointing up.
    Surface565{picture.row(200), picture.width, 80, picture.pitch}.fill(0);
    selectSystemMessages(language);
    const std::u16string text = getSystemMessage(6);
    SystemFont::drawText(picture, (picture.width - SystemFont::textWidth(text)) / 2, 240 - SystemFont::height() / 2,
                         text, rgb565(255, 0, 0));
    for (int x = 0; x < picture.width; ++x) picture.row(0)[x] = picture.row(picture.height - 1)[x] = 0xFFFF;
    for (int y = 0; y < picture.height; ++y) picture.row(y)[0] = picture.row(y)[picture.width - 1] = 0xFFFF;
    for (int i = 0; i < 40; ++i)
        for (int x = 400 - i; x <= 400 + i; ++x) picture.row(10 + i)[x] = 0;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 0;
    int windowWidth = 0, windowHeight = 0;
    int language = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--window") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &windowWidth, &windowHeight);
        else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) language = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: device_demo [--seconds S] [--window WxH] [--lang ID]\n");
            return 2;
        }
    }
    std::string error;
    auto device = SdlDevice::open(error);
    if (!device) {
        std::fprintf(stderr, "device_demo: no display: %s\n", error.c_str());
        return 1;
    }
    DemoWindowProc proc(*device);
    if (!device->createWindow(proc)) return 1;
    if (windowWidth > 0 && windowHeight > 0) device->setWindowSize(windowWidth, windowHeight);
    std::unique_ptr<DisplayBackend> display;
    if (!openDisplayBackend(u"GDI", *device, display)) return 1;

    // Draw the upright picture, then turn it onto the portrait frame buffer as the game does.
    std::vector<uint16_t> picture(800 * 480);
    drawPattern({picture.data(), 800, 480, 800}, language >= 0 ? language : device->uiLanguage());
    uint16_t* frame = display->backBuffer();
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 480; ++x) frame[y * 480 + x] = picture[(479 - x) * 800 + y];

    device->showWindow(ShowCommand::Show);
    ClockSource& clock = device->clock();
    // Frames are flushed on a thread of their own, as the game's thread does.
    std::atomic<bool> running{true};
    std::thread game([&] {
        while (running.load()) {
            if (device->isForeground()) (void)display->flush();
            clock.sleepMillis(33);
        }
    });
    const int64_t end = clock.monotonicMillis() + static_cast<int64_t>(seconds * 1000);
    for (;;) {
        HostMessage m;
        bool quit = false;
        while (device->peekMessage(m)) {
            if (m.kind == HostMessageKind::Quit) quit = true;
            else proc.windowProc(m);
        }
        if (quit || (seconds > 0 && clock.monotonicMillis() >= end)) break;
        device->present();
        clock.sleepMillis(10);
    }
    running.store(false);
    game.join();
    return 0;
}

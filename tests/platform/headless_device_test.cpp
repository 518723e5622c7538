// The headless device: focus order, timed events on the virtual clock, power and orientation,
// window calls from other threads, the shell-call record and frame capture.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/device/headless/headless_device.h"
#include "platform/device/host_input.h"
#include "platform_test_support.h"

namespace {

using Lines = std::vector<std::string>;

// Drains the queue the way the host's pump does, dispatching every message but Quit.
Lines pump(HeadlessDevice& device, RecordingProc& proc) {
    HostMessage m;
    while (device.peekMessage(m)) proc.windowProc(m);
    Lines out;
    out.swap(proc.log);
    return out;
}

std::vector<ScriptEvent> script(const char* text) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(parseEventScript(text, events, error)) << error;
    return events;
}

}  // namespace

TEST(HeadlessDeviceTest, SendsFocusMessagesInThePhonesOrder) {
    HeadlessDevice device;
    RecordingProc proc;
    // Shell calls land in the same log as the messages.
    device.setShellCallObserver([&](const std::string& call) { proc.log.push_back("shell " + call); });
    // The host's focus handlers: claim keys on gain; give them back and minimise on loss.
    proc.react = [&](const HostMessage& m) {
        if (m.kind == HostMessageKind::SetFocus) {
            device.setForeground();
            device.showWindow(ShowCommand::Show);
            device.claimAllKeys(true);
        } else if (m.kind == HostMessageKind::KillFocus) {
            device.claimAllKeys(false);
            device.showWindow(ShowCommand::Minimize);
        }
    };
    ASSERT_TRUE(device.createWindow(proc));
    device.setForeground();  // not shown yet: nothing happens
    EXPECT_EQ(proc.log, (Lines{"shell createWindow", "create", "shell foreground"}));
    proc.log.clear();

    device.showWindow(ShowCommand::Show);
    EXPECT_EQ(proc.log, (Lines{"shell show", "activate 1", "setfocus", "shell foreground", "shell show",
                             "shell allKeys 1"}));
    EXPECT_TRUE(device.isForeground());
    proc.log.clear();

    device.addEvents(script("0 focuslost\n0 focusgained\n"));
    EXPECT_EQ(pump(device, proc), (Lines{"activate 0", "killfocus", "shell allKeys 0", "shell minimize", "activate 1",
                                       "setfocus", "shell foreground", "shell show", "shell allKeys 1"}));
    EXPECT_FALSE(device.minimised());
}

TEST(HeadlessDeviceTest, ASystemKeyReleaseLosesTheFocusBeforeTheKeyIsResent) {
    HeadlessDevice device;
    RecordingProc proc;
    device.setShellCallObserver([&](const std::string& call) { proc.log.push_back("shell " + call); });
    proc.react = [&](const HostMessage& m) {
        if (m.kind == HostMessageKind::KillFocus) device.claimAllKeys(false);
        if (m.kind == HostMessageKind::KeyUp && Host::isSystemKey(Host::mapVirtualKey(m.wParam))) {
            device.showWindow(ShowCommand::Minimize);
            device.clock().sleepMillis(200);
            device.resendKey(m.wParam, true);
        }
    };
    ASSERT_TRUE(device.createWindow(proc));
    device.showWindow(ShowCommand::Show);
    proc.log.clear();
    device.addEvents(script("0 keyup HOME\n"));
    EXPECT_EQ(pump(device, proc), (Lines{"keyup 36", "shell minimize", "activate 0", "killfocus", "shell allKeys 0",
                                       "shell keybd 36 up"}));
    EXPECT_EQ(device.virtualClock().monotonicMillis(), 200);
    EXPECT_TRUE(device.minimised());
    EXPECT_FALSE(device.isForeground());
}

TEST(HeadlessDeviceTest, DeliversScriptEventsWhenTheClockReachesThem) {
    HeadlessDevice device;
    RecordingProc proc;
    ASSERT_TRUE(device.createWindow(proc));
    proc.log.clear();
    device.addEvents(script("0 stylusdown -4 900\n100 stylusmove 5 6\n100 stylusup 5 6\n250 keydown Q\n"
                            "300 quit 7\n"));
    EXPECT_EQ(pump(device, proc), (Lines{"stylusdown -4,900"}));
    device.virtualClock().advance(99);
    EXPECT_EQ(pump(device, proc), Lines{});
    device.clock().sleepMillis(1);
    EXPECT_EQ(pump(device, proc), (Lines{"stylusmove 5,6", "stylusup 5,6"}));
    // Events added later merge by time with those still waiting.
    device.addEvents(script("200 keyup Z\n"));
    device.virtualClock().advance(200);
    HostMessage m;
    ASSERT_TRUE(device.peekMessage(m));
    EXPECT_EQ(m.kind, HostMessageKind::KeyUp);
    EXPECT_EQ(m.wParam, 'Z');
    ASSERT_TRUE(device.peekMessage(m));
    EXPECT_EQ(m.kind, HostMessageKind::KeyDown);
    ASSERT_TRUE(device.peekMessage(m));
    EXPECT_EQ(m.kind, HostMessageKind::Quit);
    EXPECT_EQ(m.wParam, 7);
    device.postQuit(2);
    ASSERT_TRUE(device.peekMessage(m));
    EXPECT_EQ(m.kind, HostMessageKind::Quit);
    EXPECT_EQ(m.wParam, 2);
    EXPECT_FALSE(device.peekMessage(m));
}

TEST(HeadlessDeviceTest, HearsPowerEventsOnlyWhileTheQueueIsOpen) {
    HeadlessDevice device;
    device.addEvents(script("0 power suspend\n10 power on\n10 power idle\n10 power unattended\n10 power suspend\n"
                            "10 power on\n"));
    PowerNotification n;
    EXPECT_FALSE(device.readPowerNotification(n));  // closed: the suspend is lost
    ASSERT_TRUE(device.openPowerQueue());
    device.virtualClock().advance(10);
    std::vector<uint32_t> flags;
    while (device.readPowerNotification(n)) {
        EXPECT_EQ(n.message, Power::kTransition);
        flags.push_back(n.flags);
    }
    // The queue holds four; the fifth is dropped.
    EXPECT_EQ(flags, (std::vector<uint32_t>{Power::kOn, Power::kIdle, Power::kUnattended, Power::kSuspend}));
    device.closePowerQueue();
    EXPECT_EQ(device.shellCalls(), (Lines{"powerQueue open", "powerQueue close"}));
}

TEST(HeadlessDeviceTest, PostsASettingChangeWhenTheOrientationChanges) {
    HeadlessDevice device;
    RecordingProc proc;
    ASSERT_TRUE(device.createWindow(proc));
    proc.log.clear();
    device.addEvents(script("0 orientation 90\n0 orientation 90\n"));
    EXPECT_EQ(pump(device, proc), (Lines{"settingchange"}));
    EXPECT_EQ(device.displayOrientation(), Orientation::k90);
    EXPECT_TRUE(device.setDisplayOrientation(Orientation::k90));
    EXPECT_EQ(pump(device, proc), Lines{});
    EXPECT_TRUE(device.setDisplayOrientation(Orientation::k0));
    EXPECT_EQ(pump(device, proc), (Lines{"settingchange"}));
    EXPECT_EQ(device.displayOrientation(), Orientation::k0);
}

TEST(HeadlessDeviceTest, RunsWindowCallsFromOtherThreadsOnTheWindowThread) {
    HeadlessDevice device;
    RecordingProc proc;
    ASSERT_TRUE(device.createWindow(proc));
    device.showWindow(ShowCommand::Show);
    proc.log.clear();
    std::thread game([&] { device.showWindow(ShowCommand::Minimize); });
    game.join();
    EXPECT_TRUE(proc.log.empty());
    EXPECT_TRUE(device.isForeground());
    EXPECT_EQ(pump(device, proc), (Lines{"activate 0", "killfocus"}));
    EXPECT_FALSE(device.isForeground());
    EXPECT_TRUE(device.minimised());
}

TEST(HeadlessDeviceTest, RecordsShellCalls) {
    HeadlessDevice device(HeadlessOptions{.anotherInstanceRunning = true});
    RecordingProc proc;
    EXPECT_FALSE(device.acquireSingleInstance());
    ASSERT_TRUE(device.createWindow(proc));
    device.setFullScreen(42);
    device.resendKey(114, false);
    device.resendKey(114, true);
    EXPECT_TRUE(device.launchUrl("https://example.com/a?b=c"));
    device.redrawShell();
    EXPECT_EQ(device.shellCalls(), (Lines{"singleInstance taken", "createWindow", "fullScreen 42", "keybd 114 down",
                                        "keybd 114 up", "launch https://example.com/a?b=c", "redrawShell"}));
    device.clearShellCalls();
    EXPECT_TRUE(device.shellCalls().empty());
    // A long run keeps only the newest calls.
    for (size_t i = 0; i < HeadlessDevice::kShellCallLimit + 10; ++i) device.setFullScreen(static_cast<uint32_t>(i));
    const Lines kept = device.shellCalls();
    ASSERT_EQ(kept.size(), HeadlessDevice::kShellCallLimit);
    EXPECT_EQ(kept.front(), "fullScreen 10");
    EXPECT_EQ(kept.back(), "fullScreen " + std::to_string(HeadlessDevice::kShellCallLimit + 9));
    HeadlessDevice broken(HeadlessOptions{.windowCreationFails = true});
    EXPECT_FALSE(broken.createWindow(proc));
    EXPECT_FALSE(broken.drawScreen([](Surface565&) {}));
}

TEST(HeadlessDeviceTest, CapturesFramesAsPng) {
    TempFolder dir;
    HeadlessDevice device;
    RecordingProc proc;
    ASSERT_TRUE(device.createWindow(proc));
    device.setFrameCaptureFolder(dir.path().string());
    const uint16_t red = rgb565(255, 0, 0), teal = rgb565(0, 128, 128);
    ASSERT_TRUE(device.drawScreen([&](Surface565& s) {
        EXPECT_EQ(s.width, 480);
        EXPECT_EQ(s.height, 800);
        s.fill(teal);
        s.row(0)[0] = red;
        s.row(799)[479] = 0xFFFF;
    }));
    ASSERT_TRUE(device.drawScreen([](Surface565&) {}));
    EXPECT_EQ(device.frameCount(), 2);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "frame_000001.png"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "frame_000002.png"));
    const std::string shot = (dir.path() / "shot.png").string();
    ASSERT_TRUE(device.captureScreen(shot));
    const RgbImage image = readRgbPng(shot);
    ASSERT_EQ(image.width, 480);
    ASSERT_EQ(image.height, 800);
    const auto pixel = [&](int x, int y) {
        const uint8_t* p = &image.rgb[3 * (static_cast<size_t>(y) * 480 + x)];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixel(479, 799), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(pixel(1, 0), (std::vector<int>{0, 130, 132}));  // 6 and 5 bits widened by repetition
    EXPECT_FALSE(device.captureScreen((dir.path() / "missing" / "shot.png").string()));
}

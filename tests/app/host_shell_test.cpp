// The host shell's message handling on the headless device, checked against the one ordered log of
// shell calls and the stand-in MIDlet's and canvas's calls: focus, settings, power, the system and
// volume keys, the key table, the stylus, orientation, clean-up and links.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../platform/platform_test_support.h"
#include "app/host/application_impl.h"
#include "app/host/host_record.h"
#include "tests/support/log_capture.h"
#include "classlib/application.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "host_fixture.h"
#include "platform/graphics/system_font.h"
#include "platform/device/system_messages.h"
#include "runtime/string.h"

namespace {

using HostShellTest = HostFixture;

// What a focus loss does, in order, and what the focus gain that follows does.
const Lines kFocusLoss{"shell powerQueue close", "pauseApp",         "hideNotify",      "shell allKeys 0",
                       "shell orientation 0",    "shell fullScreen 21", "shell minimize"};
const Lines kFocusGain{"shell foreground", "shell fullScreen 42", "shell fullScreen 42", "shell show",
                       "shell allKeys 1",  "startApp",            "showNotify",          "shell powerQueue open"};

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(HostShellTest, StartsUpInThePhonesOrder) {
    makeDevice();
    ASSERT_EQ(Host::startHost(*device, HostOptions{}), 1);
    // The window is shown (and focused) before the runtime starts, so the first focus gain finds
    // no MIDlet yet; the MIDlet starts with the keys already claimed.
    EXPECT_EQ(take(), (Lines{"shell singleInstance", "shell createWindow", "shell foreground", "shell fullScreen 42",
                             "shell show", "shell foreground", "shell fullScreen 42", "shell fullScreen 42",
                             "shell show", "shell allKeys 1", "shell powerQueue open", "startApp",
                             "shell foreground", "shell fullScreen 42"}));
    EXPECT_TRUE(ApplicationImpl::getInstance()->active());
    EXPECT_TRUE(Host::isForegroundWindow());
}

TEST_F(HostShellTest, EndsAtOnceWhenAnotherInstanceRunsOrNoWindowCanBeMade) {
    struct Case {
        const char* name;
        HeadlessOptions options;
        int result;
        Lines log;
    };
    HeadlessOptions second;
    second.anotherInstanceRunning = true;
    HeadlessOptions noWindow;
    noWindow.windowCreationFails = true;
    const Case cases[] = {
        {"another instance", second, 0, {"shell singleInstance taken"}},
        {"no window", noWindow, -1, {"shell singleInstance", "shell createWindow failed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        makeDevice(c.options);
        LogCapture said;
        EXPECT_EQ(WinMain(*device, HostOptions{}), c.result);
        EXPECT_EQ(take(), c.log);
        EXPECT_EQ(Application::getApplication(), nullptr);
        // A second start says where the game is rather than ending without a word.
        EXPECT_EQ(said.contains("its window was brought to the front"), c.options.anotherInstanceRunning);
    }
}

// The log file belongs to the running copy: a second start that finds it must not empty it.
TEST_F(HostShellTest, TheLogFileTakesTheRunsOutputAndASecondStartLeavesItAlone) {
    const std::filesystem::path folder = temp.path() / "logs";
    std::filesystem::create_directories(folder);
    HostOptions options;
    options.logging = true;
    options.logFolder = folder;
    const auto readLog = [&folder] {
        std::ifstream in(folder / "log.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };

    makeDevice();
    ASSERT_EQ(Host::startHost(*device, options), 1);
    EXPECT_FALSE(Host::launchBrowser(u"file:///etc/passwd"));
    Host::cleanup();
    const std::string first = readLog();
    EXPECT_NE(first.find("launchBrowser: refused the link file:///etc/passwd\n"), std::string::npos) << first;

    HeadlessOptions second;
    second.anotherInstanceRunning = true;
    makeDevice(second);
    EXPECT_EQ(WinMain(*device, options), 0);
    EXPECT_EQ(readLog(), first);
}

TEST_F(HostShellTest, FocusLossPausesAndGainStartsAgainWithKeysClaimedOnlyWhileFocused) {
    start();
    step("0 focuslost");
    EXPECT_EQ(take(), kFocusLoss);
    EXPECT_FALSE(ApplicationImpl::getInstance()->active());
    EXPECT_FALSE(Host::isForegroundWindow());
    step("0 focusgained");
    EXPECT_EQ(take(), kFocusGain);
    EXPECT_TRUE(ApplicationImpl::getInstance()->active());
    // The focus handlers leave the paused flag to power and orientation.
    EXPECT_FALSE(Application::getApplication()->isPaused());
}

TEST_F(HostShellTest, ASettingsChangeActsOnlyWhileActivated) {
    start();
    step("0 focuslost");
    (void)take();
    step("0 orientation 90");
    EXPECT_EQ(take(), Lines{});
    EXPECT_EQ(device->displayOrientation(), Orientation::k90);

    // Focus gain turns the display back first thing; then, activated, a turn is undone at once.
    step("0 focusgained");
    EXPECT_EQ(take(), (Lines{"shell foreground", "shell fullScreen 42", "shell fullScreen 42", "shell show",
                             "shell allKeys 1", "shell orientation 0", "startApp", "showNotify",
                             "shell powerQueue open"}));
    step("0 orientation 270");
    EXPECT_EQ(take(), Lines{"shell orientation 0"});
    EXPECT_EQ(device->displayOrientation(), Orientation::k0);
}

TEST_F(HostShellTest, PowerPausesAndResumesOnlyWhenThatChangesSomething) {
    start();
    struct Case {
        const char* event;
        Lines log;
        bool paused;
    };
    const Case cases[] = {
        {"0 power on", {}, false},
        {"0 power suspend", {"pauseApp", "hideNotify"}, true},
        {"0 power suspend", {}, true},
        {"0 power idle", {}, true},
        {"0 power on", {"startApp", "showNotify"}, false},
        {"0 power unattended", {"pauseApp", "hideNotify"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        step(c.event);
        EXPECT_EQ(take(), c.log);
        EXPECT_EQ(Application::getApplication()->isPaused(), c.paused);
    }
}

TEST_F(HostShellTest, SystemKeysGoBackToTheShellAfterTheWindowIsMinimised) {
    start();
    struct Case {
        const char* key;
        Lines resent;
    };
    const Case cases[] = {
        {"HOME", {"shell keybd 36 up"}},
        {"ESC", {"shell keybd 27 up"}},
        {"F4", {"shell keybd 115 up"}},
        {"LWIN", {"shell keybd 91 up"}},
        {"F3", {"shell keybd 114 down", "shell keybd 114 up"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        step(("0 keydown " + std::string(c.key)).c_str());
        EXPECT_EQ(take(), Lines{});  // no game event on the press
        const int64_t before = device->virtualClock().monotonicMillis();
        step(("0 keyup " + std::string(c.key)).c_str());
        EXPECT_EQ(take(), (Lines{"shell minimize"} + kFocusLoss + c.resent));
        EXPECT_EQ(device->virtualClock().monotonicMillis() - before, 200);
        step("0 focusgained");
        (void)take();
    }
}

TEST_F(HostShellTest, VolumeKeysStepTheDeviceVolumeWithoutAGameEvent) {
    HeadlessOptions options;
    options.waveVolume = 0xFFFF0BB8;  // right full, left 3000
    start(options);
    step("0 keydown F6\n0 keyup F6");
    EXPECT_EQ(take(), Lines{"shell volume 0xFFFF2551"});  // 3000 + 6553; the full channel stays full
    step("0 keydown F7\n0 keyup F7\n0 keydown F7\n0 keyup F7");
    EXPECT_EQ(take(), (Lines{"shell volume 0xE6660BB8", "shell volume 0xCCCD0000"}));  // 3000 - 6553 stops at 0
}

TEST_F(HostShellTest, VolumeStepsSaturateAtBothEnds) {
    struct Case {
        uint32_t volume;
        bool up;
        uint32_t after;
    };
    const Case cases[] = {
        {0xFFFFFFFF, true, 0xFFFFFFFF},  {0xE665E665, true, 0xFFFFFFFF},  // 58981 or more: full
        {0x0000E664, true, 0x1999FFFD},  // 58980 + 6553 = 65533, not full
        {0x00001999, false, 0x00000000}, {0x0BB81A00, false, 0x00000067},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.volume << (c.up ? " up" : " down"));
        HeadlessOptions options;
        options.waveVolume = c.volume;
        start(options);
        if (c.up)
            ApplicationImpl::getInstance()->volumeUp();
        else
            ApplicationImpl::getInstance()->volumeDown();
        EXPECT_EQ(device->waveVolume(), c.after);
        Host::cleanup();
    }
}

TEST_F(HostShellTest, KeysReachTheCanvasAsThePhonesKeyCodes) {
    start();
    struct Case {
        const char* key;
        int code;
    };
    const Case cases[] = {{"ENTER", -999}, {"LEFT", -999}, {"DOWN", -999}, {"5", -999}, {"Q", 49}, {"W", 50},
                          {"J", 53},       {"C", 57},      {"K", 48},     {"F1", -6},  {"F2", -7}, {"F8", 42},
                          {"F9", 35},      {"B", 66},      {"F5", 116}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        step(("0 keydown " + std::string(c.key) + "\n0 keyup " + c.key).c_str());
        EXPECT_EQ(take(), (Lines{"keyPressed " + std::to_string(c.code), "keyReleased " + std::to_string(c.code)}));
    }
}

TEST_F(HostShellTest, TheTapThatTookTheFocusAwayIsDroppedUpToItsStylusUp) {
    start();
    step("0 focuslost\n0 focusgained");
    (void)take();
    step("0 stylusmove 10 10");
    EXPECT_EQ(take(), Lines{});
    step("0 stylusdown 20 30");
    EXPECT_EQ(take(), Lines{"pointerPressed 20,30"});  // a press always goes through
    step("0 stylusmove 25 35\n0 stylusup 25 35");
    EXPECT_EQ(take(), Lines{});
    step("0 stylusmove 26 36\n0 stylusup 27 37");
    EXPECT_EQ(take(), (Lines{"pointerDragged 26,36", "pointerReleased 27,37"}));
}

TEST_F(HostShellTest, StylusPointsLeftOfOrAboveTheWindowArriveNegative) {
    start();
    step("0 stylusdown -5 -7\n0 stylusmove -300 12\n0 stylusup 4 -32768");
    EXPECT_EQ(take(), (Lines{"pointerPressed -5,-7", "pointerDragged -300,12", "pointerReleased 4,-32768"}));
}

// With the scaling setting on, a screen other than 480x800 maps its points onto the portrait
// screen: the factors come from the screen's own size at each focus gain.
TEST_F(HostShellTest, StylusScalingMapsAnotherScreenSizeOntoThePortraitScreen) {
    start(HeadlessOptions{.screenWidth = 240, .screenHeight = 320});
    hostRecord().stylusScaling = true;
    step("0 focuslost\n0 focusgained");
    EXPECT_FLOAT_EQ(hostRecord().stylusScaleX, 2.0f);
    EXPECT_FLOAT_EQ(hostRecord().stylusScaleY, 2.5f);
    step("0 stylusup 0 0");  // ends the tap that took the focus away
    (void)take();
    step("0 stylusdown 100 31\n0 stylusmove 239 319\n0 stylusup 239 319");
    EXPECT_EQ(take(), (Lines{"pointerPressed 200,78", "pointerDragged 478,798", "pointerReleased 478,798"}));
    hostRecord().stylusScaling = false;
}

TEST_F(HostShellTest, AWrongOrientationPausesShowsPleaseWaitAndTurnsTheDisplayBack) {
    start();
    ASSERT_TRUE(device->setDisplayOrientation(Orientation::k90));
    (void)take();
    const int64_t framesBefore = device->frameCount();
    EXPECT_FALSE(Host::checkOrientation());
    EXPECT_EQ(take(), (Lines{"pauseApp", "hideNotify", "shell orientation 0"}));
    EXPECT_TRUE(ApplicationImpl::getInstance()->repaintSuppressed());
    EXPECT_FALSE(ApplicationImpl::getInstance()->mayPaint());
    EXPECT_EQ(device->frameCount(), framesBefore + 1);

    // Red on black: the text's top line at half the height, centred across.
    const std::vector<uint16_t> screen = device->screenPixels();
    int left = 480, right = -1, top = 800, bottom = -1;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 480; ++x) {
            const uint16_t p = screen[static_cast<size_t>(y) * 480 + x];
            ASSERT_TRUE(p == 0 || p == 0xF800) << x << "," << y;
            if (p == 0) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    const int textWidth = SystemFont::textWidth(getSystemMessage(SystemMessage::kPleaseWait));
    const int cellLeft = (480 - textWidth) / 2;
    EXPECT_GE(left, cellLeft);
    EXPECT_LT(right, cellLeft + textWidth);
    EXPECT_GE(top, 400);
    EXPECT_LT(bottom, 400 + SystemFont::height());

    EXPECT_TRUE(Host::checkOrientation());
    EXPECT_EQ(take(), (Lines{"startApp", "showNotify"}));
}

TEST_F(HostShellTest, CleanUpRestoresTheStartOrientationAndTheShellOnce) {
    HeadlessOptions options;
    options.orientation = Orientation::k180;
    start(options);
    EXPECT_EQ(device->displayOrientation(), Orientation::k0);
    Host::cleanup();
    EXPECT_EQ(take(), (Lines{"shell powerQueue close", "destroyApp 1", "shell orientation 2", "shell redrawShell"}));
    EXPECT_EQ(Application::getApplication(), nullptr);
    Host::cleanup();
    EXPECT_EQ(take(), Lines{});
}

TEST_F(HostShellTest, PlatformRequestOpensOnlyPlainWebLinksAndMinimisesForThem) {
    start();
    javax_microedition_midlet_MIDlet* midlet = Application::getApplication()->midlet();
    ASSERT_NE(midlet, nullptr);
    EXPECT_EQ(midlet->platformRequest(String::fromCString("https://example.com/brindlex?x=1")), 0);
    EXPECT_EQ(take(), (Lines{"shell launch https://example.com/brindlex?x=1", "shell minimize"} + kFocusLoss));
    step("0 focusgained");
    (void)take();

    const std::string longUrl = "https://example.com/" + std::string(3000, 'a');
    const char* hostile[] = {"javascript:alert(1)",       "file:///etc/passwd",       "https://exa mple.com/",
                             "https://example.com/\"x\"", "https://example.com/;rm",  "https://example.com/\nx",
                             "http://user@example.com/", longUrl.c_str()};
    for (const char* url : hostile) {
        SCOPED_TRACE(std::string(url).substr(0, 40));
        LogCapture log;
        EXPECT_EQ(midlet->platformRequest(String::fromCString(url)), 0);
        EXPECT_EQ(take(), Lines{});
        EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                                [](const std::string& line) { return line.rfind("launchBrowser: refused the link ", 0) == 0; }),
                  1);
        for (const std::string& line : log.lines) EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
    // A character outside ASCII cannot sneak through.
    EXPECT_FALSE(Host::launchBrowser(u"https://ex\u00E4mple.com/"));
}

}  // namespace

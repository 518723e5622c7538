// Application: one run of a stand-in MIDlet (class id 127) and its canvas (class id 120) from
// start-up to close — startApp, painting into the frame buffer, pause and resume, input, and a
// close that leaves both heaps empty.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "../runtime/text_helpers.h"
#include "application_fixture.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_display.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "runtime/class_record.h"
#include "runtime/clock.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/method_trace.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

std::vector<std::string> g_events;

// The game's canvas stand-in: paints red with a blue square and leaves its Graphics translated.
class TestCanvas final : public javax_microedition_lcdui_Canvas {
public:
    TestCanvas() { setClassId(CID_cGame); }
    void keyPressed(jint code) override {
        g_events.push_back("keyPressed " + std::to_string(code));
        if (code < 0) Runtime::raise<java_lang_IllegalStateException>();
    }
    void keyReleased(jint code) override { g_events.push_back("keyReleased " + std::to_string(code)); }
    void pointerDragged(jint x, jint y) override {
        g_events.push_back("pointerDragged " + std::to_string(x) + "," + std::to_string(y));
    }
    void showNotify() override { g_events.emplace_back("showNotify"); }
    void hideNotify() override { g_events.emplace_back("hideNotify"); }
    void paint(Graphics* g) override {
        g_events.push_back("paint at " + std::to_string(g->getTranslateX()) + "," + std::to_string(g->getTranslateY()) +
                           " clip " + std::to_string(g->getClipWidth()) + "x" + std::to_string(g->getClipHeight()) +
                           " colour " + std::to_string(g->getColor() & 0xFFFFFF));
        g->setColor(0xFF0000);
        g->fillRect(0, 0, getWidth(), getHeight());
        g->translate(20, 30);
        g->setColor(0x0000FF);
        g->fillRect(0, 0, 10, 10);
        g->setClip(0, 0, 1, 1);
    }
};

// VorpaZQTI's stand-in: its first startApp makes the canvas current.
class TestMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    TestMIDlet() { setClassId(CID_VorpaZQTI); }
    void startApp() override {
        g_events.emplace_back("startApp");
        if (m_canvas) return;
        m_canvas = new TestCanvas();
        javax_microedition_lcdui_Display::getDisplay(this)->setCurrent(m_canvas);
    }
    void pauseApp() override { g_events.emplace_back("pauseApp"); }
    void destroyApp(jboolean unconditional) override {
        g_events.push_back("destroyApp " + std::to_string(unconditional));
    }
    TestCanvas* m_canvas;
};

const uint32_t kTestMIDletRefs[] = {BX_REF_FIELD(TestMIDlet, m_canvas)};
const RefFieldRegistration kTestMIDletRefsReg(CID_VorpaZQTI, kTestMIDletRefs);
const MIDletRegistration kTestMIDletClass(
    CID_VorpaZQTI, {[]() -> javax_microedition_midlet_MIDlet* { return new TestMIDlet(); },
                    [](javax_microedition_midlet_MIDlet* m) {
                        g_events.emplace_back("construct");
                        m->init();
                    }});

class ApplicationTest : public ApplicationFixture {
protected:
    void SetUp() override {
        g_events.clear();
        Runtime::setClock(&clock);
        clock.advance(ObjectManager::kThrottleMillis);
    }
    void TearDown() override {
        ApplicationFixture::TearDown();
        Runtime::setClock(nullptr);
    }
    [[nodiscard]] uint64_t collections() const { return app.objectManager()->statistics().collections; }
    // The events since the last call.
    std::vector<std::string> takeEvents() { return std::exchange(g_events, {}); }

    ManualClock clock;
};

TEST_F(ApplicationTest, RunsTheMIDletFromStartUpToAnEmptyClose) {
    startRuntime("MIDlet-Name: Brindlex\r\nMIDlet-Vendor: Zarnquist\r\n");
    EXPECT_EQ(Application::getApplication(), &app);
    EXPECT_EQ(pixel(0, 0), 0);  // the frame buffer starts black
    EXPECT_EQ(pixel(479, 799), 0);
    javax_microedition_lcdui_Image* screen = app.screenImage();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->getWidth(), 480);
    EXPECT_EQ(screen->getHeight(), 800);

    // Before the MIDlet: no Displayable, so pause, resume, keys do nothing and paint only resets
    // the clip, without collecting.
    app.screenGraphics()->setClip(5, 5, 5, 5);
    const uint64_t before = collections();
    app.pause();
    app.keyPressed(53);
    app.paint();
    EXPECT_FALSE(app.isPaused());
    EXPECT_EQ(collections(), before);
    EXPECT_EQ(app.screenGraphics()->getClipWidth(), 480);
    EXPECT_EQ(app.screenGraphics()->getClipHeight(), 800);
    EXPECT_TRUE(takeEvents().empty());

    app.startApp();
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"construct", "startApp"}));
    ASSERT_NE(app.midlet(), nullptr);
    EXPECT_EQ(app.midlet()->classId(), CID_VorpaZQTI);
    EXPECT_EQ(narrow(app.midlet()->getAppProperty(String::fromCString("MIDlet-Vendor"))), "Zarnquist");
    ASSERT_NE(app.current(), nullptr);
    EXPECT_EQ(app.current()->classId(), CID_cGame);

    // Two frames: the second starts untranslated, clipped to the screen and white again.
    clock.advance(ObjectManager::kThrottleMillis);
    const uint64_t beforeFrames = collections();
    app.paint();
    EXPECT_EQ(collections(), beforeFrames + 1);
    EXPECT_EQ(pixel(0, 0), 0xF800);
    EXPECT_EQ(pixel(479, 799), 0xF800);
    EXPECT_EQ(pixel(20, 30), 0x001F);
    EXPECT_EQ(pixel(29, 39), 0x001F);
    EXPECT_EQ(pixel(30, 39), 0xF800);
    app.paint();
    EXPECT_EQ(collections(), beforeFrames + 1);  // within two seconds of the last
    const std::string frameStart = "paint at 0,0 clip 480x800 colour 16777215";
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{frameStart, frameStart}));

    app.keyPressed(53);
    app.keyReleased(53);
    app.pointerDragged(7, 8);
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"keyPressed 53", "keyReleased 53", "pointerDragged 7,8"}));

    // Each notification once per real change.
    app.resume();
    EXPECT_TRUE(takeEvents().empty());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        app.pause();
        app.pause();
        EXPECT_TRUE(app.isPaused());
        EXPECT_EQ(takeEvents(), (std::vector<std::string>{"pauseApp", "hideNotify"}));
        app.resume();
        app.resume();
        EXPECT_FALSE(app.isPaused());
        EXPECT_EQ(takeEvents(), (std::vector<std::string>{"startApp", "showNotify"}));
    }

    app.destoryMIDlet();
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"destroyApp 1"}));

    const Application::CloseReport report = app.close();
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"destroyApp 1"}));
    EXPECT_EQ(report.objectHeapBytes, 0u);
    EXPECT_EQ(report.nativeHeapBytes, 0u);
    EXPECT_TRUE(report.heapsIntact);
    EXPECT_EQ(Application::getApplication(), nullptr);
    EXPECT_FALSE(Runtime::heapsReady());
    EXPECT_EQ(app.midlet(), nullptr);
    const Application::CloseReport again = app.close();
    EXPECT_FALSE(again.heapsIntact);  // nothing left to close
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(ApplicationTest, CloseWithoutAMIDletSaysSoAndStillFreesEverything) {
    startRuntime(nullptr);
    LogCapture log;
    const Application::CloseReport report = app.close();
    EXPECT_TRUE(log.contains("m_midlet is already NULL."));
    EXPECT_EQ(report.objectHeapBytes, 0u);
    EXPECT_EQ(report.nativeHeapBytes, 0u);
    EXPECT_TRUE(report.heapsIntact);
}

TEST_F(ApplicationTest, OnlyOneApplicationIsLive) {
    startRuntime(nullptr);
    Application second;
    std::vector<uint16_t> otherFrame(frame.size());
    EXPECT_FALSE(second.init(otherFrame.data(), {}, kStartupOrder));
    EXPECT_EQ(Application::getApplication(), &app);
}

TEST_F(ApplicationTest, ExceptionsLeftByTheMIDletAreDroppedAtTheDoor) {
    startRuntime(nullptr);
    app.startApp();
    takeEvents();
    LogCapture log;
    app.keyPressed(-1);
    EXPECT_EQ(Runtime::getPendingException(), nullptr);
    EXPECT_TRUE(log.contains("uncaught java_lang_IllegalStateException left pending by keyPressed"));
}

TEST_F(ApplicationTest, EveryDisplaySetsTheOneCurrentDisplayable) {
    startRuntime(nullptr);
    auto* first = javax_microedition_lcdui_Display::getDisplay(nullptr);
    auto* second = javax_microedition_lcdui_Display::getDisplay(nullptr);
    EXPECT_NE(first, second);
    auto* a = new TestCanvas();
    auto* b = new TestCanvas();
    first->setCurrent(a);
    EXPECT_EQ(app.current(), a);
    second->setCurrent(b);
    EXPECT_EQ(app.current(), b);
    EXPECT_EQ(b->getWidth(), 480);
    EXPECT_EQ(b->getHeight(), 800);
    EXPECT_EQ(first->numColors(), 65536);
    EXPECT_TRUE(takeEvents().empty());  // no show or hide notification
}

TEST_F(ApplicationTest, StackTraceNamesTheMethodsNewestFirst) {
    startRuntime(nullptr);
    Runtime::MethodTraceScope outer("cGame::run");
    Runtime::MethodTraceScope inner("cGame::paint");
    EXPECT_EQ(narrow(app.getStackTrace()), "stacktrace:\ncGame::paint\ncGame::run\n");
}

}  // namespace

namespace {

// The host attaches the main thread between the heaps and the static initialisers.
TEST_F(ApplicationTest, TheHookBeforeTheStaticsRunsOnceTheHeapsExist) {
    writeDataFile(nullptr);
    frame.assign(static_cast<size_t>(Application::kScreenWidth) * Application::kScreenHeight, 0);
    int calls = 0;
    bool heapsThen = false;
    bool poolThen = true;
    ASSERT_TRUE(app.init(frame.data(), {kHeapBytes, kHeapBytes}, kStartupOrder, [&] {
        ++calls;
        heapsThen = Runtime::heapsReady();
        poolThen = Runtime::constantPool() != nullptr;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(heapsThen);
    EXPECT_FALSE(poolThen);  // the statics (the pool first of all) came after it
    EXPECT_NE(Runtime::constantPool(), nullptr);
}

}  // namespace

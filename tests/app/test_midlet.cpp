// The stand-in MIDlet and canvas of the host tests; see test_midlet.h.
#include "test_midlet.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "../classlib/thread_helpers.h"
#include "classlib/application.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "classlib/lcdui/javax_microedition_lcdui_display.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "runtime/class_record.h"
#include "runtime/clock.h"

namespace {

std::mutex g_lock;
std::vector<std::string> g_log;
std::atomic<int> g_counter{0};
std::atomic<int> g_paints{0};
std::atomic<int> g_keysPressed{0};
std::vector<TestMIDletLog::FrameSeen> g_frames;
int g_gameFrames = 0;
int64_t g_gameSleep = 0;

class CounterCanvas final : public javax_microedition_lcdui_Canvas {
public:
    CounterCanvas() { setClassId(CID_cGame); }
    void keyPressed(jint code) override {
        g_keysPressed.fetch_add(1);
        TestMIDletLog::add("keyPressed " + std::to_string(code));
    }
    void keyReleased(jint code) override { TestMIDletLog::add("keyReleased " + std::to_string(code)); }
    void pointerPressed(jint x, jint y) override { point("pointerPressed", x, y); }
    void pointerReleased(jint x, jint y) override { point("pointerReleased", x, y); }
    void pointerDragged(jint x, jint y) override { point("pointerDragged", x, y); }
    void showNotify() override { TestMIDletLog::add("showNotify"); }
    void hideNotify() override { TestMIDletLog::add("hideNotify"); }
    void paint(javax_microedition_lcdui_Graphics* g) override {
        g_paints.fetch_add(1);
        g->setColor(0);
        g->fillRect(0, 0, getWidth(), getHeight());
        g->setColor(0xFFFFFF);
        const int bars = g_counter.load();
        for (int i = 0; i < bars; ++i) g->fillRect(barLeft(i), kBarTop, 10, kBarHeight);
    }

private:
    static void point(const char* what, jint x, jint y) {
        TestMIDletLog::add(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

void gameFrames(int frames, int64_t sleepMillis) {
    for (int i = 0; i < frames; ++i) {
        {
            std::lock_guard guard(g_lock);
            g_frames.push_back({Runtime::clock().monotonicMillis(), g_keysPressed.load()});
        }
        g_counter.fetch_add(1);
        javax_microedition_lcdui_Canvas::repaint(nullptr);
        if (sleepMillis > 0) java_lang_Thread::sleep(sleepMillis);
    }
}

class TestMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    TestMIDlet() { setClassId(CID_VorpaZQTI); }
    void startApp() override {
        TestMIDletLog::add("startApp");
        if (m_canvas) return;
        m_canvas = new CounterCanvas();
        javax_microedition_lcdui_Display::getDisplay(this)->setCurrent(m_canvas);
        if (g_gameFrames > 0) {
            // The game's run loop: its frames, then the end of the program.
            m_game = newThread(
                [](void*) {
                    gameFrames(g_gameFrames, g_gameSleep);
                    if (Application* app = Application::getApplication())
                        if (javax_microedition_midlet_MIDlet* midlet = app->midlet()) midlet->notifyDestroyed();
                },
                nullptr);
            (void)m_game->start();
        }
    }
    void pauseApp() override { TestMIDletLog::add("pauseApp"); }
    void destroyApp(jboolean unconditional) override { TestMIDletLog::add("destroyApp " + std::to_string(unconditional)); }

    CounterCanvas* m_canvas;
    java_lang_Thread* m_game;
};

const uint32_t kTestMIDletRefs[] = {BX_REF_FIELD(TestMIDlet, m_canvas), BX_REF_FIELD(TestMIDlet, m_game)};
const RefFieldRegistration kTestMIDletRefsReg(CID_VorpaZQTI, kTestMIDletRefs);
const MIDletRegistration kTestMIDletClass(CID_VorpaZQTI,
                                          {[]() -> javax_microedition_midlet_MIDlet* { return new TestMIDlet(); },
                                           [](javax_microedition_midlet_MIDlet* m) { m->init(); }});

}  // namespace

namespace TestMIDletLog {

void add(std::string line) {
    std::lock_guard guard(g_lock);
    g_log.push_back(std::move(line));
}

std::vector<std::string> take() {
    std::lock_guard guard(g_lock);
    return std::exchange(g_log, {});
}

void reset() {
    std::lock_guard guard(g_lock);
    g_log.clear();
    g_counter.store(0);
    g_paints.store(0);
    g_keysPressed.store(0);
    g_frames.clear();
    g_gameFrames = 0;
    g_gameSleep = 0;
}

void setGameThread(int frames, int64_t sleepMillis) {
    g_gameFrames = frames;
    g_gameSleep = sleepMillis;
}

int paints() { return g_paints.load(); }

std::vector<FrameSeen> framesSeen() {
    std::lock_guard guard(g_lock);
    return g_frames;
}

}  // namespace TestMIDletLog

void runGameFrames(int frames) {
    java_lang_Thread* game = newThread([](void* n) { gameFrames(*static_cast<int*>(n), 0); }, &frames);
    ASSERT_EQ(game->start(), 1);
    game->join();
}

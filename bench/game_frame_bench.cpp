// The frame the player gets: the game over the build's data.bar, one repaint at a time through the
// Application's paint road (paint lock, the state's paint, the throttled collection) and the GDI
// back end's flush onto a screen held like the headless device's. Each scene is reached as the
// game reaches it (the game-start load, then the scene's way in), played until its opening has
// settled on a clock moved 58 ms a frame, then timed: the game thread's CPU per frame against one
// full-screen 480 x 800 RGB565 memcpy on the same thread, in the same run. A scene is one entry of
// kScenes; play joins them once a level can load (its entry: a level load whose target is play).
// Prints `<scene> frame/copy ratio: X` per scene, the main menu's last.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/startup_order.h"
#include "bench/ratio_reporter.h"
#include "classlib/application.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "platform/device/device.h"
#include "platform/display/display_backend.h"
#include "platform/file_paths.h"
#include "platform/graphics/surface.h"
#include "promo/igp.h"
#include "runtime/clock.h"
#include "runtime/compiled.h"

namespace {

constexpr int kWidth = Application::kScreenWidth, kHeight = Application::kScreenHeight;
constexpr size_t kPixels = size_t{kWidth} * kHeight;
// Frames played before timing: the scene's opening transition and blinks have run by then.
constexpr int kSettleFrames = 40;

// The device's screen as the headless device keeps it: drawn under a lock, shown by nothing.
class BenchScreen final : public DeviceScreen {
public:
    int screenWidth() const override { return kWidth; }
    int screenHeight() const override { return kHeight; }
    bool drawScreen(const std::function<void(Surface565&)>& draw) override {
        std::lock_guard lock(m_lock);
        Surface565 surface{m_pixels.data(), kWidth, kHeight, kWidth};
        draw(surface);
        return true;
    }
    void present() override {}

private:
    std::mutex m_lock;
    std::vector<uint16_t> m_pixels = std::vector<uint16_t>(kPixels);
};

class BenchHost final : public ScreenHost {
public:
    explicit BenchHost(DisplayBackend* display) : m_display(display) {}
    bool mayPaint() override { return true; }
    void flush() override { (void)m_display->flush(); }

private:
    DisplayBackend* m_display;
};

// The MIDlet whose properties (the data file's app.jad) the promotion reads its links from; the
// bench starts the game itself.
class BenchMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

struct Game {
    ManualClock clock;
    BenchScreen screen;
    std::unique_ptr<DisplayBackend> display;
    std::unique_ptr<BenchHost> host;
    Application app;
    cGame* game = nullptr;
    std::filesystem::path home = std::filesystem::temp_directory_path() / ("brindlex_frame_bench_" + std::to_string(getpid()));

    bool start() {
        Runtime::setClock(&clock);
        std::filesystem::create_directories(home);
        platform::setHomeFolder(home);
        platform::setDataFile(BRINDLEX_DATA_BAR);
        if (!openDisplayBackend(u"GDI", screen, display) || !display->backBuffer()) return false;
        host = std::make_unique<BenchHost>(display.get());
        if (!app.init(display->backBuffer(), {size_t{16} << 20, size_t{64} << 20}, kStartupOrder)) return false;
        app.setScreenHost(host.get());
        auto* midlet = new BenchMIDlet();
        if (!midlet) return false;
        midlet->init();
        game = Runtime::make<cGame>(static_cast<javax_microedition_midlet_MIDlet*>(midlet),
                                    static_cast<javax_microedition_lcdui_Display*>(nullptr));
        if (!game) return false;
        cGame::s_game = game;
        app.setCurrent(game);
        cGame::createKeyTables();
        cGame::s_inPaint = 0;
        return true;
    }
    ~Game() {
        IGP::stopLinkThread();
        (void)app.close();
        Runtime::setClock(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }

    // One frame as the game thread makes it, then the clock moves on by the game's period.
    void frame() {
        app.repaint();
        clock.advance(cGame::kFrameDuration);
    }
    // A tap on the portrait screen, held one frame, as the host thread hands it over.
    void tap(jint x, jint y) {
        game->pointerPressed(x, y);
        frame();
        game->pointerReleased(x, y);
        frame();
    }
    // Frames until the state is `state` (false after `limit` frames without it).
    bool playUntil(jint state, int limit) {
        for (int i = 0; i < limit && cGame::s_state != state; ++i) frame();
        return cGame::s_state == state && !Runtime::pending();
    }
};

Game* g_game = nullptr;

// From the start as a player goes (the README's run): the logos and the game-start load to the
// title, the sound question answered yes and the title tapped away (at its top, where the main
// menu has no row that could take the lift).
bool enterMainMenu(Game& g) {
    if (cGame::s_state == cGame::kStateMainMenu) return true;
    if (!g.playUntil(cGame::kStateSplash, 400)) return false;
    for (int f = 0; f < 20; ++f) g.frame();
    g.tap(239, 400);
    for (int f = 0; f < 20; ++f) g.frame();
    g.tap(440, 150);
    return g.playUntil(cGame::kStateMainMenu, 20);
}

// The promotion from the main menu's More games row (the middle one of the three shown), loaded
// until its first page is up.
bool enterPromotion(Game& g) {
    if (cGame::s_state == cGame::kStateIGP && IGP::s_state == IGP::kStateBrowsing) return true;
    if (cGame::promoEntryCount() <= 0) return false;
    g.tap(195, 400);
    if (!g.playUntil(cGame::kStateIGP, 40)) return false;
    for (int i = 0; i < 100 && IGP::s_state != IGP::kStateBrowsing; ++i) g.frame();
    return IGP::s_state == IGP::kStateBrowsing;
}

struct Scene {
    const char* name;
    jint state;  // the game state that shows it
    bool (*enter)(Game&);
};
// In the order the game reaches them: each scene's way in starts where the one before left off.
constexpr Scene kScenes[] = {{"main_menu", cGame::kStateMainMenu, enterMainMenu},
                              {"promotion", cGame::kStateIGP, enterPromotion}};

void BM_FullScreenCopy(benchmark::State& state) {
    static std::vector<uint16_t> from(kPixels, 0x5A5A), to(kPixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPixels * sizeof(uint16_t));
        benchmark::ClobberMemory();
    }
}

void BM_Frame(benchmark::State& state, const Scene* scene) {
    Game& g = *g_game;
    if (!scene->enter(g)) {
        std::fprintf(stderr, "%s: state %d, pending %d\n", scene->name, cGame::s_state, Runtime::pending() ? 1 : 0);
        state.SkipWithError("the scene was not reached");
        return;
    }
    for (int i = 0; i < kSettleFrames; ++i) g.frame();
    const jint shown = cGame::s_state;
    for (auto _ : state) g.frame();
    if (Runtime::pending()) state.SkipWithError("an exception is pending");
    else if (cGame::s_state != shown || shown != scene->state) state.SkipWithError("the scene changed while timed");
}

}  // namespace

int main(int argc, char** argv) {
    Game game;
    g_game = &game;
    if (!game.start()) {
        std::fputs("game_frame_bench: the game did not start over the data file\n", stderr);
        return 1;
    }
    // Scenes in their order, each timed once the one before has been; the copy beside them.
    benchmark::RegisterBenchmark("BM_FullScreenCopy", BM_FullScreenCopy);
    for (const Scene& scene : kScenes)
        benchmark::RegisterBenchmark((std::string("BM_Frame/") + scene.name).c_str(), BM_Frame, &scene);
    RatioReporter reporter(RatioReporter::kCpuTime);
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    const double copy = reporter.timeOf("BM_FullScreenCopy");
    for (auto it = std::rbegin(kScenes); it != std::rend(kScenes); ++it) {
        const std::string name = std::string("BM_Frame/") + it->name;
        const double frame = reporter.timeOf(name);
        if (frame <= 0 || copy <= 0) continue;
        std::printf("%s: %.1f us game-thread CPU per frame, full-screen copy %.1f us\n", it->name, frame / 1000.0,
                    copy / 1000.0);
        reporter.printRatio((std::string(it->name) + " frame/copy").c_str(), name, "BM_FullScreenCopy");
    }
    return 0;
}

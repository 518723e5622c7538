// The frame loop's own cost, with no drawing yet: one repaint through the Application's paint road
// (paint lock, clip, the throttled collection) into cGame's frame (game lock, key snapshot, timing,
// one state-machine step with a state that does nothing, the sound engine's step, clip reset), and
// the frame alone without the road. Prints the per-frame cost of the road last, against the 58 ms
// period.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "app/startup_order.h"
#include "classlib/application.h"
#include "classlib/lcdui/javax_microedition_lcdui_canvas.h"
#include "game/cgame.h"
#include "runtime/compiled.h"

namespace {

void quietState(cGame*, jint) {}

struct Game {
    std::vector<uint16_t> frame = std::vector<uint16_t>(size_t{Application::kScreenWidth} * Application::kScreenHeight);
    Application app;
    cGame* game = nullptr;

    Game() {
        if (!app.init(frame.data(), {}, kStartupOrder)) return;
        (void)cGame::setStateHandler(1, &quietState);
        game = Runtime::make<cGame>(static_cast<javax_microedition_midlet_MIDlet*>(nullptr),
                                    static_cast<javax_microedition_lcdui_Display*>(nullptr));
        cGame::s_game = game;
        app.setCurrent(game);
        cGame::createKeyTables();
        cGame::s_inPaint = 0;
    }
    ~Game() { (void)app.close(); }
};

Game& game() {
    static Game g;
    return g;
}

double g_roadNanos = 0;

void BM_RepaintOneFrame(benchmark::State& state) {
    Game& g = game();
    for (auto _ : state) javax_microedition_lcdui_Canvas::repaint(g.game);
    state.counters["frames"] = static_cast<double>(cGame::s_frameCounter);
}

void BM_FrameAlone(benchmark::State& state) {
    Game& g = game();
    javax_microedition_lcdui_Graphics* screen = g.app.screenGraphics();
    for (auto _ : state) g.game->onPaint(screen);
}

class HeadlineReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.benchmark_name() == "BM_RepaintOneFrame") g_roadNanos = run.GetAdjustedRealTime();
    }
};

}  // namespace

BENCHMARK(BM_RepaintOneFrame);
BENCHMARK(BM_FrameAlone);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!game().game) {
        std::fputs("game_frame_bench: the application did not start\n", stderr);
        return 1;
    }
    HeadlineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("frame loop cost: %.2f us per frame (%.4f%% of the 58 ms period)\n", g_roadNanos / 1000.0,
                g_roadNanos / 58e6 * 100.0);
    return 0;
}

// The play step with 300 actors and no drawing: the activation pass, the update walk (each actor's
// prelude and per-type dispatch), the animations' advance and the camera, once per frame at the
// fixed 50 ms step. The actors are the kinds a level holds (enemies, scenery, zones), all kept
// active, with players on the tests' synthetic sprite of four 4-frame animations. Prints
// microseconds per frame last.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "actors/cactor.h"
#include "bench/actor_bench_world.h"
#include "bench/ratio_reporter.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"

namespace {

constexpr int kActors = 300;

struct World : ActorBenchRuntime {
    bool ready = false;

    World() {
        if (!start()) return;
        Bsprite* sprite = syntheticSprite(4, 4);
        for (jint slot : {0, 1, 3, 5, 7}) cGame::s_sprites->set(slot, sprite);
        enterLevel(8000, 2000);
        // Enemies of type 4 and 8, scenery of type 6 and zones of type 5, a hero first.
        std::string records;
        const int types[] = {4, 8, 4, 6, 5};
        auto add = [&](std::initializer_list<int> v) { addRecord(records, v); };
        add({1, 1, 400, 800, cActor::kFlagKeptActive, 0, 0});
        for (int i = 1; i < kActors; ++i) {
            const int type = types[i % 5];
            add({type, i + 1, 100 + (i * 37) % 7800, 300 + (i * 53) % 1600, cActor::kFlagKeptActive, 0, i % 4, 0, 0, 0, 0,
                 0, 0, 0});
        }
        cGame::s_levelRecords = Runtime::newByteArray(static_cast<jint>(records.size()));
        for (size_t i = 0; i < records.size(); ++i) cGame::s_levelRecords->set(static_cast<jint>(i), static_cast<jbyte>(records[i]));
        cGame::spawnLevelActors();
        cGame::initLevelActors();
        cGame::setCameraBounds(0, 0, 8000 - 800, 2000 - 480);
        cGame::updateInGame();
        ready = cGame::s_actorCount == kActors && !Runtime::pending();
    }
};

World& world() {
    static World w;
    return w;
}

double g_stepNanos = 0;

void BM_PlayStep300Actors(benchmark::State& state) {
    world();
    for (auto _ : state) {
        ++cGame::s_frameCounter;
        cGame::updateInGame();
    }
    jint active = 0;
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) ++active;
    state.counters["active"] = active;
}

}  // namespace

BENCHMARK(BM_PlayStep300Actors);

int main(int argc, char** argv) {
    if (!world().ready) {
        std::fputs("play_step_bench: the level did not build\n", stderr);
        return 1;
    }
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    g_stepNanos = reporter.timeOf("BM_PlayStep300Actors");
    std::printf("play step with %d actors: %.2f us per frame (%.4f%% of the 58 ms period)\n", kActors,
                g_stepNanos / 1000.0, g_stepNanos / 58e6 * 100.0);
    return 0;
}

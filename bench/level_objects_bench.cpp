// The play step over a level of 600 actors made mostly of level objects: hazard emitters of every
// kind firing shots, geysers throwing rocks, trigger and camera zones, and the sparks, dust and
// casings they leave, all kept active, no drawing. The actor table fills up as the shots pile up,
// so the numbers include spawns refused by a full table. Prints microseconds per frame last.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "actors/cactor.h"
#include "bench/actor_bench_world.h"
#include "bench/ratio_reporter.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"

namespace {

constexpr int kActors = 600;

struct World : ActorBenchRuntime {
    bool ready = false;

    World() {
        if (!start()) return;
        Bsprite* sprite = syntheticSprite(16, 4);
        for (jint slot = 0; slot < cGame::s_sprites->length; ++slot) cGame::s_sprites->set(slot, sprite);
        enterLevel(8000, 2000);
        std::string records;
        auto add = [&](std::initializer_list<int> v) { addRecord(records, v); };
        constexpr int kept = cActor::kFlagKeptActive;
        add({1, 1, 400, 800, kept, 0, 0});
        for (int i = 1; i < kActors; ++i) {
            const int id = i + 1, x = 100 + (i * 37) % 7800, y = 300 + (i * 53) % 1600;
            switch (i % 6) {
                case 0:
                    add({24, id, x, y, kept, 0, 0, 120, 0, 1, 100, 500});
                    break;  // row emitter
                case 1:
                    add({24, id, x, y, kept, 0, 0, 0, 0, 4, 200, 600});
                    break;  // sprayer
                case 2:
                    add({24, id, x, y, kept, 0, 0, 0, 0, 0, 0, 0});
                    break;  // timed hazard
                case 3:
                    add({6, id, x, y, kept, 0, 0, -50, -300, 100, 0, -100, 0, 100});
                    break;  // geyser
                case 4:
                    add({5, id, x, y, kept, 0, 200, 200, 3 + i % 7, 0, 0});
                    break;  // zone
                default:
                    add({11, id, x, y, kept, 0, 300, 300, 0, 0, 0, 0, 15});
                    break;  // camera zone
            }
        }
        cGame::s_levelRecords = Runtime::newByteArray(static_cast<jint>(records.size()));
        for (size_t i = 0; i < records.size(); ++i)
            cGame::s_levelRecords->set(static_cast<jint>(i), static_cast<jbyte>(records[i]));
        cGame::spawnLevelActors();
        cGame::initLevelActors();
        cGame::setCameraBounds(0, 0, 8000 - 800, 2000 - 480);
        cGame::updateInGame();
        ready = cGame::s_actorCount >= kActors && !Runtime::pending();
    }
};

World& world() {
    static World w;
    return w;
}

double g_stepNanos = 0;

void BM_PlayStepLevelObjects(benchmark::State& state) {
    world();
    for (auto _ : state) {
        ++cGame::s_frameCounter;
        cGame::updateInGame();
    }
    state.counters["actors"] = cGame::s_actorCount;
}

}  // namespace

BENCHMARK(BM_PlayStepLevelObjects);

int main(int argc, char** argv) {
    if (!world().ready) {
        std::fputs("level_objects_bench: the level did not build\n", stderr);
        return 1;
    }
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    g_stepNanos = reporter.timeOf("BM_PlayStepLevelObjects");
    std::printf("play step with %d level objects and their shots: %.2f us per frame\n", kActors, g_stepNanos / 1000.0);
    return 0;
}

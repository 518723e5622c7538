// Movement and collision of 200 actors on a level of 400 segments: the update walk (movement, the
// contact pass against the level's lines and each other, the move) once per frame at the fixed
// 50 ms step, no drawing. The ground is four sawtooth polylines of 100 segments across 4000 pixels,
// closed by a wall at each end; the actors are gravity boxes spread along it, a quarter of them
// walking (into the walls, in time). Prints microseconds per frame last.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "bench/actor_bench_world.h"
#include "bench/ratio_reporter.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr int kActors = 200;
constexpr int kLines = 4, kSegmentsPerLine = 100;

ByteArray* bytes(const std::string& s) {
    ByteArray* a = Runtime::newByteArray(static_cast<jint>(s.size()));
    for (size_t i = 0; a && i < s.size(); ++i) a->set(static_cast<jint>(i), static_cast<jbyte>(s[i]));
    return a;
}

struct World : ActorBenchRuntime {
    bool ready = false;

    World() {
        if (!start()) return;
        enterLevel(4000, 1000);
        std::string records;
        constexpr int kFlags = cActor::kFlagGravity | cActor::kFlagGround | cActor::kFlagKeptActive;
        for (int i = 0; i < kActors; ++i) {
            const int values[] = {3, i + 1, 20 + i * 19, 500 - (i % 7) * 20, kFlags, 0};
            records += static_cast<char>(std::size(values));
            for (int v : values) records += le16(v);
        }
        std::string geometry = le16(kLines + 2) + le16(1);
        for (int wallX : {0, 4000}) geometry += le16(0) + le16(2) + le16(wallX) + le16(300) + le16(wallX) + le16(700);
        for (int line = 0; line < kLines; ++line) {
            geometry += le16(0) + le16(kSegmentsPerLine + 1);
            for (int p = 0; p <= kSegmentsPerLine; ++p)
                geometry += le16(line * 1000 + p * 10) + le16(p % 2 ? 620 : 600);
        }
        cGame::s_levelRecords = bytes(records);
        cGame::spawnLevelActors();
        if (!cGame::readLevelGeometry(bytes(geometry))) return;
        cGame::initLevelActors();
        for (jint i = 0; i < cGame::s_actorCount; ++i) {
            cActor* a = cGame::actorAt(i);
            a->flags |= cActor::kFlagKeptActive;
            if (a->type == 3) {
                a->localBox->fill({-10 << 8, -20 << 8, 10 << 8, 0});
                if (a->id % 4 == 0) a->speedX = (a->id % 8 ? 40 : -40) << 8;
            }
            a->activate();
        }
        ready = cGame::s_actorCount == kActors + kLines + 2 && !Runtime::pending();
    }
};

World& world() {
    static World w;
    return w;
}

double g_frameNanos = 0;

void BM_ActorMotion200On400Segments(benchmark::State& state) {
    world();
    jint grounded = 0;
    for (auto _ : state) {
        cGame::updateActors(cActor::kListUpdate);
    }
    for (jint i = 0; i < cGame::s_actorCount; ++i)
        if (cGame::actorAt(i)->isOnGround()) ++grounded;
    state.counters["on_ground"] = grounded;
}

}  // namespace

BENCHMARK(BM_ActorMotion200On400Segments);

int main(int argc, char** argv) {
    if (!world().ready) {
        std::fputs("actor_motion_bench: the level did not build\n", stderr);
        return 1;
    }
    RatioReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;
    g_frameNanos = reporter.timeOf("BM_ActorMotion200On400Segments");
    std::printf("movement and collision of %d actors on %d segments: %.2f us per frame\n", kActors,
                kLines * kSegmentsPerLine, g_frameNanos / 1000.0);
    return 0;
}

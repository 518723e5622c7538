// The play step with 300 actors and no drawing: the activation pass, the update walk (each actor's
// prelude and per-type dispatch), the animations' advance and the camera, once per frame at the
// fixed 50 ms step. The actors are the kinds a level holds (enemies, platforms, zones, effects),
// all kept active, with players on a sprite of four 4-frame animations. Prints microseconds per
// frame last.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "actors/cactor.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/bsprite.h"
#include "tools/sprite_writer.h"

namespace {

constexpr int kActors = 300;

std::string le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }

Bsprite* benchSprite() {
    tools::SpriteDefinition s;
    s.palettes = {{0xFF000000u, 0xFF80C040u}};
    for (int a = 0; a < 4; ++a) {
        tools::SpriteAnimation anim;
        for (int f = 0; f < 4; ++f) {
            tools::SpriteModule m;
            m.kind = tools::ModuleKind::FillRect;
            m.colour = 0xFF406080u;
            m.w = 20 + f;
            m.h = 40;
            s.modules.push_back(m);
            tools::SpriteFrame fr;
            fr.modules.push_back({a * 4 + f, -10, -40, 0});
            fr.boxes = {{-10, -40, 20, 40}, {-5, -30, 10, 10}};
            fr.rect = {-10, -40, 20 + f, 40};
            s.frames.push_back(fr);
            anim.frames.push_back({a * 4 + f, 1, 0, 0, 0});
        }
        s.animations.push_back(anim);
    }
    std::string bytes, error;
    if (!tools::writeSprite(s, "bench sprite", bytes, error)) return nullptr;
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    if (!data) return nullptr;
    for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
    auto* sprite = Runtime::make<Bsprite>();
    return sprite && sprite->Load(data, 0) ? sprite : nullptr;
}

struct World {
    std::unique_ptr<ObjectManager> objects;
    bool ready = false;

    World() {
        if (!Runtime::initHeaps(32 << 20, 64 << 20)) return;
        objects = std::make_unique<ObjectManager>();
        Z::buildUpdateOrderPairs();
        cActor::staticInit();
        cActor::setConstants();
        Z::setFixedPointConstants();
        Z::buildTuningConstants();
        cGame::initStaticFields();
        Z::copyAngleConstants();
        Z::buildBehaviourTables();
        Z::buildEnemyParamTables();
        cActor::setTimingStatics();
        Z::buildTypeSpriteMap();
        cGame::copyActorTables();
        IntArray* cosines = Runtime::newIntArray(65);
        for (jint i = 0; i <= 64; ++i) cosines->set(i, static_cast<jint>(std::lround(256.0 * std::cos(i * M_PI / 128.0))));
        cGame::s_cosTable = cosines;
        cGame::createKeyTables();
        cGame::setRandomSeed(7);
        Bsprite* sprite = benchSprite();
        for (jint slot : {0, 1, 3, 5, 7}) cGame::s_sprites->set(slot, sprite);
        cGame::setLevel(0);
        cGame::s_frameTime = cGame::kFixedFrameTime;
        cGame::s_speedFactor = cGame::kFixedSpeedFactor;
        cGame::s_levelWidth = 8000;
        cGame::s_levelHeight = 2000;
        cGame::resetLevelState(false);
        // Enemies of type 4 and 8, scenery of type 6 and zones of type 5, a hero first.
        std::string records;
        const int types[] = {4, 8, 4, 6, 5};
        auto add = [&](std::initializer_list<int> v) {
            records += static_cast<char>(v.size());
            for (int x : v) records += le16(x);
        };
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

class HeadlineReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.benchmark_name() == "BM_PlayStep300Actors") g_stepNanos = run.GetAdjustedRealTime();
    }
};

}  // namespace

BENCHMARK(BM_PlayStep300Actors);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!world().ready) {
        std::fputs("play_step_bench: the level did not build\n", stderr);
        return 1;
    }
    HeadlineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("play step with %d actors: %.2f us per frame (%.4f%% of the 58 ms period)\n", kActors,
                g_stepNanos / 1000.0, g_stepNanos / 58e6 * 100.0);
    return 0;
}

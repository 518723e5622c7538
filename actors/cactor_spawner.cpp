// Type 63, the spawner: six runs of 21 type-64 actors dropped 40 pixels apart across the top of the
// view, the runs alternating direction, then the spawner goes and lets the next one start.
// Per-type values: 0 run count, 1 ms since the last drop, 2 next drop x (8.8), 3 distance covered.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

jbyte cActor::s_spawnerActive = 0;

namespace {

constexpr jint kBetweenRuns = 255, kRunning = 254, kFinished = 256;
constexpr jint kRunPause = 700, kDropInterval = 151, kFinalPause = 3000;
constexpr jint kDropStep = 40 << 8, kRunLength = 800 << 8, kRuns = 6;
constexpr jint kDroppedType = 64, kDroppedSprite = 28, kDroppedAnim = 2;

}  // namespace

void cActor::updateSpawner() {
    IntArray* v = typeData;
    IntArray* view = cGame::s_viewRect;
    if (!v || v->length < 4 || !view) return;
    const jint runs = v->get(0);
    const bool even = (runs & 1) == 0;
    switch (state) {
        case kBetweenRuns:
            if (stateTime < kRunPause && runs != 0) return;
            v->set(1, 0);
            // Even runs start at the right edge and go left; odd ones the other way.
            v->set(2, view->get(0) + (even ? cGame::kViewWidth << 8 : 0));
            v->set(3, 0);
            setState(kRunning);
            return;
        case kRunning: {
            v->set(1, v->get(1) + cGame::s_frameTime);
            if (v->get(1) < kDropInterval) return;
            if (cActor* a = cGame::spawnActor(kDroppedType, kDroppedSprite, v->get(2), view->get(1))) {
                if (a->player) cGame::startPlayerAnim(a->player, kDroppedAnim, -1);
                a->updateBoxes();
            }
            BX_RETURN_IF_PENDING();
            v->set(1, 0);
            v->set(3, v->get(3) + kDropStep);
            v->set(2, v->get(2) + (even ? -kDropStep : kDropStep));
            if (v->get(3) <= kRunLength) return;
            v->set(0, runs + 1);
            setState(runs + 1 < kRuns ? kBetweenRuns : kFinished);
            return;
        }
        case kFinished:
            if (stateTime < kFinalPause) return;
            s_spawnerActive = 0;
            setState(kStateDead);
            return;
        default:
            return;
    }
}

// The play state: one play step a frame, the pause asked for by the left soft key or by the game
// coming back into view, and the scene with the touch pad of the current layout over it.
#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bsprite.h"

#include <time.h>

#include <cstdlib>

namespace {

constexpr jint kImageRow = 3, kButtonRow = 4;
// Layout 1's fire button, left off while the alternate player has none to fire.
constexpr jint kRaceFireImage = 19, kRaceFireButton = 20;

// Play steps between the log's signs of life: BRINDLEX_PLAY_LOG_STEPS (1 to 100000), else 200.
jint playLogSteps() {
    static const jint steps = [] {
        const char* text = std::getenv("BRINDLEX_PLAY_LOG_STEPS");
        char* end = nullptr;
        const long n = text ? std::strtol(text, &end, 10) : 0;
        return text && *end == '\0' && n >= 1 && n <= 100000 ? static_cast<jint>(n) : 200;
    }();
    return steps;
}

// The game thread's CPU time spent in the play steps' updates and paints since the last sign of life:
// the log tells what a step of this moment of the level costs (the level frame-cost bench reads it).
struct StepCost {
    long long updateNs = 0, paintNs = 0;
    jint updates = 0, paints = 0;
};
StepCost g_stepCost;  // the game thread's only

long long threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

jint perStepUs(long long ns, jint steps) { return steps > 0 ? static_cast<jint>(ns / steps / 1000) : 0; }

jint activeActorCount() {
    jint n = 0;
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) ++n;
    return n;
}

IntArray* layoutRows(ObjectArray* tables, jint layout) {
    if (!tables || layout < 0 || layout >= tables->length) return nullptr;
    Object* o = tables->get(layout);
    return o && o->classId() == CID_IntArray ? static_cast<IntArray*>(o) : nullptr;
}

bool raceFireHidden() {
    if (cGame::s_touchLayout != 1) return false;
    cActor* alt = cGame::s_altPlayer;
    IntArray* values = alt ? alt->typeData : nullptr;
    return !values || values->length < 2 || values->get(1) == 0;
}

// The idle pad of the current layout, then the held button in its pressed frame.
void paintTouchButtons() {
    Bsprite* sprite = cGame::s_touchSprite;
    if (!sprite || !cGame::s_g) return;
    const bool hideFire = raceFireHidden();
    if (IntArray* images = layoutRows(cGame::s_touchLayoutImages, cGame::s_touchLayout)) {
        for (jint i = 0; i + kImageRow <= images->length; i += kImageRow) {
            const jint frame = images->get(i);
            if (hideFire && frame == kRaceFireImage) continue;
            sprite->PaintFrame(cGame::s_g, frame, images->get(i + 1), images->get(i + 2), 0, 0, 0);
            BX_RETURN_IF_PENDING();
        }
    }
    IntArray* buttons = layoutRows(cGame::s_touchLayoutButtons, cGame::s_touchLayout);
    const jint row = cGame::s_touchButton * kButtonRow;
    if (!buttons || cGame::s_touchButton < 0 || row + kButtonRow > buttons->length) return;
    const jint frame = buttons->get(row);
    if (hideFire && frame == kRaceFireButton) return;
    sprite->PaintFrame(cGame::s_g, frame, buttons->get(row + 1), buttons->get(row + 2), 0, 0, 0);
}

}  // namespace

void cGameLevel::statePlay(cGame*, jint message) {
    if (message == cGame::kMsgEnter) {
        g_stepCost = StepCost{};
        cGame::buildTouchLayoutRects(cGame::s_touchSprite);
        BX_RETURN_IF_PENDING();
        cGame::setSoftkeys(cGame::kSoftkeyNone, cGame::kSoftkeyIcon, false);
        cGame::s_loadKind = cGame::kLoadKindNone;
        // Back from the pause menu the music may still be playing: it goes on.
        cGame::playLevelMusic();
        cGame::s_infoPending = 0;
        cGame::s_pauseInProgress = 0;
        Log::info("play: level %d with %d actors, camera at (%d, %d)", cGame::s_level, cGame::s_actorCount,
                  cGame::s_cameraX, cGame::s_cameraY);
    } else if (message == cGame::kMsgUpdate) {
        const long long started = threadCpuNs();
        updateInGame();
        g_stepCost.updateNs += threadCpuNs() - started;
        g_stepCost.updates += 1;
        BX_RETURN_IF_PENDING();
        // A level won or lost in this step goes first: a pause over it would resume into a play
        // whose hero has already asked once and never asks again.
        const bool pause = cGame::getReleasedKey() == cGame::kKeyLeftSoft ||
                           (cGame::s_fullRedraw && !cGame::s_pauseInProgress);
        if (pause && !cGame::s_stateChangePending) {
            cGame::s_pauseInProgress = 1;
            cGame::setState(cGame::kStatePauseMenu);
            cGame::stopAllSounds();
        }
        // A sign of life in the log every 200 play steps (about 12 s), or as often as
        // BRINDLEX_PLAY_LOG_STEPS asks: the walkthroughs' authors follow the player with it.
        if (cGame::s_stateFrames > 0 && cGame::s_stateFrames % playLogSteps() == 0) {
            const cActor* player = cGame::s_hero ? cGame::s_hero : cGame::s_altPlayer;
            Log::info("play: %d steps (%lld ms), %d actors active, camera at (%d, %d), %s at (%d, %d) in state %d; "
                      "CPU per step: update %d us, paint %d us",
                      cGame::s_stateFrames, static_cast<long long>(cGame::s_now), activeActorCount(),
                      cGame::s_cameraX, cGame::s_cameraY, cGame::s_hero ? "hero" : "player",
                      player ? player->x >> 8 : -1, player ? player->y >> 8 : -1, player ? player->state : -1,
                      perStepUs(g_stepCost.updateNs, g_stepCost.updates), perStepUs(g_stepCost.paintNs, g_stepCost.paints));
            g_stepCost = StepCost{};
        }
    } else if (message == cGame::kMsgPaint) {
        const long long started = threadCpuNs();
        paintGameScene();
        BX_RETURN_IF_PENDING();
        if (cGame::s_touchButtonsShown) paintTouchButtons();
        g_stepCost.paintNs += threadCpuNs() - started;
        g_stepCost.paints += 1;
    }
}

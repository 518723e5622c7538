// The play state: its update is the play step, its paint the level scene drawn straight onto the
// screen (the background cache, the pause and the perspective levels' overlays come with the
// in-play screens).
#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "sprites/bxlib_player.h"

namespace {

jint activeActorCount() {
    jint n = 0;
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) ++n;
    return n;
}

void drawLayer(jint layer) {
    if (cGame::levelHasLayer(layer)) BXLibPlayer::TilesetDraw(cGame::s_g, 0, 0, layer);
}

}  // namespace

void cGameLevel::paintGameScene() {
    BX_RETURN_IF_NULL(cGame::s_g);
    cGame::setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    if (cGame::s_level == 0) cGame::fillScreen(0x50C040);
    else if (cGame::isLevel8or9()) cGame::fillScreen(0x000000);
    if (s_blackout) return cGame::fillScreen(0x000000);
    drawLayer(0);
    drawLayer(2);
    drawLayer(3);
    cGame::collectVisibleActors();
    BX_RETURN_IF_PENDING();
    drawLayer(4);
    if (cGame::s_state != cGame::kStateInfoPages) cGame::paintHud();
}

void cGameLevel::statePlay(cGame*, jint message) {
    if (message == cGame::kMsgEnter) {
        Log::info("play: level %d with %d actors, camera at (%d, %d)", cGame::s_level, cGame::s_actorCount,
                  cGame::s_cameraX, cGame::s_cameraY);
    } else if (message == cGame::kMsgUpdate) {
        updateInGame();
        // A sign of life in the log every 200 play steps (about 12 s).
        if (cGame::s_stateFrames > 0 && cGame::s_stateFrames % 200 == 0) {
            Log::info("play: %d steps, %d actors active, camera at (%d, %d)", cGame::s_stateFrames,
                      activeActorCount(), cGame::s_cameraX, cGame::s_cameraY);
        }
    } else if (message == cGame::kMsgPaint) {
        paintGameScene();
    }
}

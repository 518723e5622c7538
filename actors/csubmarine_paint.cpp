// cSubmarine's painting: the hull's damage look, the actor's own frame, then the two engines drawn
// by a second player on the vehicle's sprite, turned to the heading in 32 steps.
#include "actors/csubmarine.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"

jint cSubmarine::hullAnimation(jint hullPoints) {
    if (hullPoints >= kFullHull) return -1;
    return 3 + (kFullHull - hullPoints) * 8 / kFullHull;
}

jint cSubmarine::engineAnimation(jint heading, bool thrusting) {
    return (thrusting ? kEngineThrustAnim : kEngineIdleAnim) + (heading / 8 + 15) % kHeadingSteps;
}

void cSubmarine::createEnginePlayer() {
    if (!player || !player->sprite) return;
    s_enginePlayer = Runtime::make<BXLibPlayer>(player->sprite, 0, 0);
    BX_RETURN_IF_NULL(s_enginePlayer);
    s_enginePlayer->SetAnimForced(kEngineThrustAnim, -1, true);
}

void cSubmarine::paint() {
    if (player && state != kStateDestroyed && state != kStateHeroLost) {
        const jint look = hullAnimation(hull);
        if (look >= 0 && player->anim != look) player->SetAnimForced(look, -1, true);
    }
    cActor::paint();
    BX_RETURN_IF_PENDING();
    if (!player || !localBox) return;
    if (!s_enginePlayer || s_enginePlayer->sprite != player->sprite) createEnginePlayer();
    BXLibPlayer* engines = s_enginePlayer;
    if (!engines) return;
    const jint anim = engineAnimation(heading, thrust != 0);
    if (engines->anim != anim) engines->SetAnimForced(anim, -1, true);
    const jint screenY = static_cast<jint>((jlong{y} + 128) >> 8) - cGame::s_viewBob - cGame::s_cameraY -
                         ((20 * cGame::cos(64 - heading)) >> 8);
    for (jint edge : {localBox->get(0), localBox->get(2)}) {
        engines->x = static_cast<jint>((jlong{x} + edge + 128) >> 8) - cGame::s_cameraX;
        engines->y = screenY;
        engines->Render();
        BX_RETURN_IF_PENDING();
    }
    engines->Update(cGame::s_frameTime);
}

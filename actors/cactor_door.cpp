// Type 18, the warp door: the hero falling into it is carried, behind a spark, to the destination
// door or position, or out of the level. The destination door ignores the hero until the hero has
// stepped off it. Fields: 11 destination door, 12 the door's room actor, 13 disabled, 15 and 16 a
// destination position, 18 >= 0 a level exit (-1: usable without a destination).
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kFlagJustArrived = 0x20000000;
constexpr jint kWarpAnim = 3, kArriveAnim = 4;
constexpr jint kLevelWonState = 19;

bool heroInside(cActor* door, cActor* hero) {
    return hero && hero->collisionRect && door->collisionRect &&
           cActor::rectsOverlap(hero->collisionRect, door->collisionRect);
}

void arrive(cActor* door, cActor* hero, cActor* effect) {
    if (door->param(18) >= 0) {
        cGame::s_levelComplete = 1;
        cGame::setState(kLevelWonState);
        door->setFlag(cActor::kFlagHidden);
        return;
    }
    cActor* dest = cGame::findActorById(door->param(11));
    jint tx = door->param(15) << 8, ty = door->param(16) << 8;
    if (dest) {
        dest->setFlag(kFlagJustArrived);
        tx = dest->x;
        ty = dest->y;
    }
    effect->x = tx;
    effect->y = ty;
    if (effect->player) cGame::startPlayerAnim(effect->player, kArriveAnim, 1);
    hero->x = tx;
    hero->y = ty;
    hero->setState(0);
    BX_RETURN_IF_PENDING();
    const jint destRoomId = dest ? dest->param(12) : door->param(12);
    cActor* zone = cGame::s_cameraZone;
    if (zone && zone->id != destRoomId) zone->deactivate(false);
    BX_RETURN_IF_PENDING();
    if (destRoomId != door->param(12)) {
        cGame::deactivateActorById(door->param(12), false);
        BX_RETURN_IF_PENDING();
        if (cActor* room = cGame::findActorById(destRoomId)) {
            room->activate();
            BX_RETURN_IF_PENDING();
            room->update();
            BX_RETURN_IF_PENDING();
        }
    }
    cGame::s_cameraSnap = 1;
    cGame::updateCamera();
    cGame::updateActorActivation();
}

}  // namespace

void cActor::updateType18() {
    IntArray* v = typeData;
    cActor* hero = cGame::s_hero;
    if (!v || v->length < 1 || !hero || param(13) != 0) return;
    if (v->get(0) == 0) {
        const bool usable = param(11) > 0 || (param(15) > 0 && param(16) > 0) || param(18) == -1;
        if (!heroInside(this, hero)) {
            clearFlag(kFlagJustArrived);
            return;
        }
        if (!usable || hasFlag(kFlagJustArrived) || s_waitEffect) return;
        if (hero->isOnGround() || hero->speedY < 1) return;
        cActor* effect = spawnSpark(hero->x, hero->y, kWarpAnim);
        if (!effect) return;  // a full table: the door waits
        effect->setFlag(kFlagKeptActive);
        s_waitEffect = effect;
        hero->setFlag(kFlagWaiting);
        v->set(0, 1);
        return;
    }
    cActor* effect = s_waitEffect;
    if (!effect) {
        v->set(0, 0);  // the effect went another way: the door is idle again
        return;
    }
    if (!effect->player || effect->player->anim != kWarpAnim || !effect->isAnimOver()) return;
    arrive(this, hero, effect);
    BX_RETURN_IF_PENDING();
    v->set(0, 0);
}

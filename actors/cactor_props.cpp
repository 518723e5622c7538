// Small props and hazards: type 22, a one-shot prop that plays when the hero comes by; type 35,
// which starts a spawner when the hero enters its record rectangle (one spawner at a time); type
// 39, the releaser: hit once, it lets its drops fall and starts its ride; type 43, a drop, gone
// once it has fallen out of view; type 64, the spawner's bullet that hurts and ends in a spark.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kHeroType = 1, kAltType = 31;
constexpr jint kSpawnerType = 63, kSpawnerStart = 255;
constexpr jint kPropSound = 11, kPropChannel = 2, kBulletSound = 9;
constexpr jint kReleaserWaiting = 267, kReleaserDone = 268, kDropFalling = 272, kRideRollIn = 276;

bool heroInRecordRect(cActor* a) {
    cActor* hero = cGame::s_hero;
    return hero && cActor::pointInRect(hero->x, hero->y, a->getRecordRect());
}

}  // namespace

cActor* cActor::spawnSpark(jint sx, jint sy, jint anim) {
    cActor* spark = cGame::spawnActor(61, kSparkSprite, sx, sy);
    if (spark && spark->player) cGame::startPlayerAnim(spark->player, anim, 1);
    return spark;
}

void cActor::updateType22() {
    const jint anim = player ? player->anim : -1;
    if (cGame::s_difficulty == 2 && anim >= 6 && anim <= 13) {
        cGame::removeActor(this);
        return;
    }
    if (anim != 0 || !heroInRecordRect(this)) return;
    cGame::playSound(kPropChannel, kPropSound, false);
    cGame::startPlayerAnim(player, 1, -2);
}

void cActor::updateType35() {
    IntArray* v = typeData;
    if (!v || v->length < 1) return;
    if (state == 0) return setState(245);
    if (state == 245) {
        if (s_spawnerActive || !heroInRecordRect(this)) return;
        setState(246);
        BX_RETURN_IF_PENDING();
        v->set(0, 0);
        s_spawnerActive = 1;
        return;
    }
    if (state != 246 || v->get(0) != 0) return;
    cActor* spawner = cGame::spawnActor(kSpawnerType, -1, x, y);
    if (!spawner) return;  // a full table: tried again next frame
    spawner->setFlag(kFlagKeptActive);
    spawner->typeData = Runtime::newIntArray(4);
    spawner->setState(kSpawnerStart);
    BX_RETURN_IF_PENDING();
    v->set(0, 1);
}

void cActor::updateType39() {
    if (state == 0) setState(kReleaserWaiting);
}

// The ids are level data: one naming no actor releases nothing. Only the first hit counts.
void cActor::releaseDrops() {
    if (state == kReleaserDone) return;
    setState(kReleaserDone);
    BX_RETURN_IF_PENDING();
    for (jint k = 7; k <= 9; ++k) {
        if (param(k) <= 0) continue;
        cActor* drop = cGame::findActorById(param(k));
        if (!drop) continue;
        s_groundActor = drop;
        drop->setState(kDropFalling);
        BX_RETURN_IF_PENDING();
    }
    if (param(10) <= 0) return;
    if (cActor* ride = cGame::findActorById(param(10))) {
        s_groundActor = ride;
        ride->setState(kRideRollIn);
    }
}

void cActor::updateType43() {
    if (state == 0) return setState(271);
    if (state == kDropFalling && isOutsideView(0)) cGame::removeActor(this);
}

void cActor::updateType64() {
    if (state == 0) {
        setTargetTypes({kHeroType, kAltType});
        attack(jt::mul(5, cGame::s_difficulty));
    } else if (state == 259) {
        spawnSpark(x, y, 0);
        BX_RETURN_IF_PENDING();
        cGame::removeActor(this);
        cGame::playSfx(kBulletSound);
    }
}

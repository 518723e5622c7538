// Type 6, the geyser: an updraft region whose sides slant inwards towards its top, lifting the hero
// inside it, and a rock thrown up every two seconds. Type 58, the rock: it hurts the hero's side,
// drifts down through its geyser, falls freely below it and throws a spark where it lands.
// Geyser values (8.8): 1 top, 2 bottom, 3 and 4 the rocks' x range, 5 left, 6 right.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kHeroType = 1, kAltType = 31, kGeyserType = 6, kRockType = 58;
constexpr jint kMsgLift = 33;
constexpr jint kRockSprite = 8, kSparkAnim = 2;
constexpr jint kRockInterval = 2000, kRockLift = 40 << 8, kRockSpeed = -700 << 8, kRockDrift = 120 << 8;
constexpr jint kHeroReach = 90 << 8;
constexpr jint kLinkedMargin = 1600, kMargin = 400;

bool validGeyser(const cActor* g) { return g && g->type == kGeyserType && g->typeData && g->typeData->length >= 7; }

// Whether (hx, hy) is in the updraft. Equal top and bottom make an empty region.
bool inUpdraft(IntArray* v, jint hx, jint hy) {
    const jint top = v->get(1), bottom = v->get(2), left = v->get(5), right = v->get(6);
    if (bottom == top) return false;
    if (!(hx > left && hx < right && top < hy && hy - kHeroReach < bottom)) return false;
    const jlong t = (jlong{v->get(3)} - left) * (jlong{bottom} - hy) / (jlong{bottom} - top);
    return left + t < hx && hx < right - t;
}

void throwRock(cActor* geyser, IntArray* v) {
    cActor* rock =
        cGame::spawnActor(kRockType, kRockSprite, cGame::getRandom(v->get(3), v->get(4)), v->get(1) - kRockLift);
    if (!rock) return;  // a full table: no rock this time
    if (rock->player) cGame::startPlayerAnim(rock->player, cGame::getRandom(0, 4), -2);
    rock->speedY = kRockSpeed;
    rock->clearFlag(cActor::kFlagGround);
    rock->linked = geyser;
    rock->updateBoxes();
}

}  // namespace

void cActor::updateType6() {
    IntArray* v = typeData;
    if (!v || v->length < 7) return;
    if (cActor* hero = cGame::s_hero; hero && inUpdraft(v, hero->x, hero->y)) {
        hero->onMessage(this, kMsgLift, 0, v->get(1), 0);
        BX_RETURN_IF_PENDING();
        if (hero->collisionRect && hero->collisionRect->get(1) < v->get(1) && hero->speedY < 0) hero->speedY = 0;
    }
    if (stateTime < kRockInterval) return;
    stateTime = 0;
    throwRock(this, v);
}

void cActor::updateType58() {
    setTargetTypes({kHeroType, kAltType});
    attack(jt::mul(5, cGame::s_difficulty));
    BX_RETURN_IF_PENDING();
    if (isOutsideView(linked ? kLinkedMargin : kMargin)) {
        cGame::removeActor(this);
        return;
    }
    if (validGeyser(linked)) {
        IntArray* v = linked->typeData;
        if (y > v->get(2)) {
            setFlag(kFlagGravity | kFlagGround);
            linked = nullptr;
        } else if (y > v->get(1)) {
            clearFlag(kFlagGravity);
            speedY = kRockDrift;
        }
    }
    if (!isOnGround() || !collisionRect) return;
    const jint cx = (collisionRect->get(0) + collisionRect->get(2)) >> 1, bottom = collisionRect->get(3);
    spawnSpark(cx, bottom, kSparkAnim);
    BX_RETURN_IF_PENDING();
    speedY = 0;
    clearFlag(kFlagGround);  // the next landing makes a new spark
}

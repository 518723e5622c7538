// Type 61, effects: short-lived sprites whose behaviour follows the sprite slot and animation they
// were spawned with (casings, sways, shots and impacts that hurt, the effect the hero waits on),
// and the hero's special shot.
// Every effect ends with its animation or once it is far from the view.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

cActor* cActor::s_waitEffect = nullptr;

namespace {

const StaticRefRegistration kStatics(CID_cActor, &cActor::s_waitEffect);

constexpr jint kHeroType = 1, kAltType = 31;
constexpr jint kWaitAnim = 4;
constexpr jint kSpriteStrike = 39, kSpriteBurst = 38, kSpriteSmall = 13, kSpriteSpecial = 22;
constexpr jint kAnimCasing = 7, kAnimSettle = 8, kAnimSwayFirst = 9, kAnimSwayLast = 14, kAnimSway = 15;
constexpr jint kAnimLanded = 2, kAnimSpecialHurt = 6;
constexpr jint kSettleMs = 200, kSwayPeriod = 400, kSwayStep = 100;
constexpr jint kSwaySpeed = 100 << 8, kCasingSpeedX = 50, kCasingSpeedY = -100 << 8;
constexpr jint kEffectDamage = 5;
constexpr jint kViewMargin = 400, kAltViewMargin = 100;
constexpr jint kShotDamage = 300, kShotDamageOnBoss = 50, kBossType = 32;
constexpr jint kDiagonal = 32;  // 45 degrees, 256 to the turn
constexpr std::initializer_list<jint> kShotTargets = {4,  8,  9,  16, 23, 25, 26, 27, 32, 37, 38, 41,
                                                      44, 46, 47, 48, 49, 50, 51, 52, 58, 60, 65};

bool spawnedFrom(const cActor* a, jint slot) {
    ObjectArray* sprites = cGame::s_sprites;
    if (!a->player || !a->player->sprite || !sprites || slot >= sprites->length) return false;
    Object* s = sprites->get(slot);
    return s && s->classId() == CID_Bsprite && static_cast<ASprite*>(static_cast<Bsprite*>(s)) == a->player->sprite;
}

void hurtHeroSide(cActor* a, jint damage) {
    cActor::setTargetTypes({kHeroType, kAltType});
    a->attack(damage);
}

// Casings bounce once off the ground; the swaying ones drift left and right.
void moveSmallEffect(cActor* a, jint anim) {
    if (anim == kAnimCasing) {
        if (!a->isOnGround()) return;
        a->clearFlag(cActor::kFlagGround);
        a->speedX = -a->facingValue((kCasingSpeedX + cGame::getRandom(-50, 50)) << 8);
        a->speedY = kCasingSpeedY;
        return;
    }
    if (anim == kAnimSettle) {
        if (a->stateTime >= kSettleMs) a->speedX = 0;
        return;
    }
    if (anim >= kAnimSwayFirst && anim <= kAnimSwayLast && a->stateTime >= kSwayPeriod) {
        cGame::startPlayerAnim(a->player, anim == kAnimSwayLast ? kAnimSwayFirst : anim + 1, -1);
        a->stateTime = 0;
    }
    if (anim < kAnimSwayFirst || anim > kAnimSway) return;
    const jint phase = a->stateTime % kSwayPeriod;
    a->speedX = (phase >= kSwayStep && phase < 3 * kSwayStep) ? -kSwaySpeed : kSwaySpeed;
}

bool isShotTarget(jint type) {
    for (jint t : kShotTargets)
        if (t == type) return true;
    return false;
}

// The diagonal special shot (aim 1 up, 3 down) hits what lies near its line ahead of the hero: the
// point two thirds of the way to an actor's centre along the diagonal must be within twice that
// actor's height of the centre.
void diagonalShot(cActor* shot, cActor* hero, bool up) {
    const bool left = hero->isFlipped();
    for (cActor* a = cActor::listHead(cActor::kListDraw); a; a = a->nextIn(cActor::kListDraw)) {
        if (a == shot || a == hero || !isShotTarget(a->type) || !a->localBox) continue;
        IntArray* box = a->toWorldRect(a->localBox);
        if (!box) continue;
        const jint cx = (box->get(0) + box->get(2)) >> 1, cy = (box->get(1) + box->get(3)) >> 1;
        const jint height = box->get(3) - box->get(1);
        if (left ? a->x >= hero->x : a->x <= hero->x) continue;
        const jint u = cActor::approxDistance(cx - shot->x, cy - shot->y) * 2 / 3;
        const jint along = cActor::scaleByCos(u, kDiagonal);
        const jint px = shot->x + (left ? -along : along), py = shot->y + (up ? -along : along);
        if (cActor::approxDistance(cx - px, cy - py) > 2 * height) continue;
        a->onMessage(shot, cActor::kMsgHit, shot->x, shot->y, a->type == kBossType ? kShotDamageOnBoss : kShotDamage);
        BX_RETURN_IF_PENDING();
    }
}

void specialShot(cActor* shot) {
    cActor* hero = cGame::s_hero;
    const jint aim = cHero::s_aimIndex;
    if (aim == 1 || aim == 3) {
        if (hero) diagonalShot(shot, hero, aim == 1);
        return;
    }
    cActor::setTargetTypes(kShotTargets);
    shot->attack(kShotDamage);
}

}  // namespace

void cActor::removeEffect() {
    if (this == s_waitEffect) s_waitEffect = nullptr;
    if (this == cHero::s_shotEffect) cHero::s_shotEffect = nullptr;
    cGame::removeActor(this);
}

void cActor::updateEffect() {
    const jint anim = player ? player->anim : -1;
    if (this == s_waitEffect) {
        if (anim != kWaitAnim || !isAnimOver()) return;
        removeEffect();
        if (cActor* hero = cGame::s_hero) hero->clearFlag(kFlagWaiting);
        return;
    }
    const bool harmless = typeData && typeData->length > 0 && typeData->get(0) != 0;
    if (spawnedFrom(this, kSpriteStrike)) {
        if (!harmless) hurtHeroSide(this, kEffectDamage);
        BX_RETURN_IF_PENDING();
        if (isAnimOver()) return removeEffect();
        if (isOnGround() && anim != kAnimLanded) {
            stopMotion();
            cGame::startPlayerAnim(player, kAnimLanded, 1);
        }
    } else if (spawnedFrom(this, kSpriteBurst)) {
        if (!harmless) hurtHeroSide(this, kEffectDamage);
    } else if (spawnedFrom(this, kSpriteSmall)) {
        moveSmallEffect(this, anim);
    } else if (spawnedFrom(this, kSpriteSpecial) && anim == kAnimSpecialHurt) {
        hurtHeroSide(this, jt::mul(kEffectDamage, cGame::s_difficulty));
    }
    BX_RETURN_IF_PENDING();
    if (this == cHero::s_shotEffect) specialShot(this);
    BX_RETURN_IF_PENDING();
    const bool gone = cGame::s_altPlayerLevel ? isOutsideViewVertically(kAltViewMargin) : isOutsideView(kViewMargin);
    if (gone || isAnimOver()) removeEffect();
}

// Type 61, effects: short-lived sprites whose behaviour follows the sprite slot and animation they
// were spawned with (casings, sways, shots and impacts that hurt, the effect the hero waits on).
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
    const bool gone = cGame::s_altPlayerLevel ? isOutsideViewVertically(kAltViewMargin) : isOutsideView(kViewMargin);
    if (gone || isAnimOver()) removeEffect();
}

// The hero's reactions to messages: hits (harmful geometry, difficulty, invulnerability and the
// reaction by attacker), grab points, zones, hooks, release, carrying, knock-back, bounce pads and
// being held still.
// Invariant: a hit that costs energy leaves the hero invulnerable for kInvulnerableMs.
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint px(jint v) { return v << 8; }

constexpr jint kInvulnerableMs = 1000, kLiftHitWindowMs = 500;
constexpr jint kHurtSound = 12;
constexpr jint kStateHurt = 5, kStateFatal = 21, kStateGrab = 131, kStateHooked = 135, kStateCarried = 106,
               kStateHold = 138, kStateHeld = 137;
constexpr jint kFlagLandingSpeed = 32768, kFlagBouncePad = 0x100000;
constexpr jint kLiftTopDrop = px(90);
constexpr jint kReleaseJumpSpeed = px(-1060);
constexpr jint kKnockSpeed = px(600), kKnockAccel = px(200), kKnockRise = px(-1200);
constexpr jint kLiftKnockRise = px(-600), kRamSpeed = px(2400);
constexpr jint kMsgGrab = 30, kMsgLanding = 31, kMsgLift = 33, kMsgHook = 34, kMsgKnockBack = 37, kMsgBouncePad = 38,
               kMsgHoldStill = 39;

bool isFatalState(jint s) { return s >= 20 && s <= 22; }

// Two effects thrown apart from the hero when a type-48 attacker takes it.
void spawnFatalEffects(cActor* hero) {
    const jint anims[] = {63, 61};
    const jint speeds[] = {px(-300), px(300)};
    for (jint i = 0; i < 2; ++i) {
        cActor* fx = cGame::spawnActor(61, 0, hero->x, hero->y);
        if (!fx) return;
        if (fx->player) fx->player->SetAnim(anims[i], -1);
        fx->flags &= ~cActor::kFlagGravity;
        fx->speedX = speeds[i];
        fx->speedY = px(-600);
        fx->accelY = px(2000);
    }
}

}  // namespace

void cHero::onMessage(cActor* sender, jint message, jint a, jint b, jint c) {
    if (s_freeMove) return;
    switch (message) {
        case kMsgHit: return onHit(sender, c);
        case kMsgGrab: {
            if (state == kStateGrab || speedY < 0 || !sender || !sender->localBox || !localBox) return;
            cActor* ground = cGame::findActorById(groundId);
            if (ground && ground->type == 29) return;
            setState(kStateGrab);
            BX_RETURN_IF_PENDING();
            x = sender->x + ((sender->localBox->get(0) + sender->localBox->get(2)) >> 1);
            y = sender->y - localBox->get(1);
            returnX = a;
            returnY = b;
            linked = sender;
            return;
        }
        case kMsgLanding: flags |= kFlagLandingSpeed; return;
        case kMsgLift:
            flags |= kFlagLift;
            if (jt::add(b, kLiftTopDrop) < returnY) returnY = jt::add(b, kLiftTopDrop);
            return;
        case kMsgHook:
            if (speedY < 0 || !sender) return;
            snapTo(sender, false, false);
            setState(kStateHooked);
            BX_RETURN_IF_PENDING();
            linked = sender;
            sender->onMessage(cGame::s_hero, kMsgHooked, 0, 0, 0);
            return;
        case kMsgRelease:
            linked = nullptr;
            setState(c);
            BX_RETURN_IF_PENDING();
            if (c == 2) speedY = kReleaseJumpSpeed;
            return;
        case kMsgCarry:
            if (state != 108 && state != 111) return;
            linked = sender;
            snapTo(sender, false, false);
            setState(kStateCarried);
            return;
        case kMsgKnockBack: {
            setState(kStateHurt);
            BX_RETURN_IF_PENDING();
            cGame::playSfx(kHurtSound);
            const bool senderLeft = sender && sender->x < x;
            speedX = heroSpeedX = senderLeft ? kKnockSpeed : jt::neg(kKnockSpeed);
            heroAccelX = senderLeft ? jt::neg(kKnockAccel) : kKnockAccel;
            speedY = kKnockRise;
            return;
        }
        case kMsgBouncePad: flags |= kFlagBouncePad; return;
        case kMsgHoldStill: setState(kStateHeld); return;
        default: return;
    }
}

void cHero::onHit(cActor* sender, jint damage) {
    if (s_godMode || state == kStateCarried || !sender) return;
    if (sender->type == 2) {
        if (invulnerableMs >= 0) return;
        setState(kStateHurt);
        BX_RETURN_IF_PENDING();
        cGame::playSfx(kHurtSound);
        jint loss = jt::neg(damage);
        if (cGame::s_difficulty == 2) loss = jt::mul(loss, 2);
        else if (cGame::isLevel8or9()) loss >>= 1;
        addEnergy(loss);
        invulnerableMs = kInvulnerableMs;
        return;
    }
    if (state == kStateHold && linked) {
        linked->linked = nullptr;
    }
    if (sender->type == 41 || sender->type == 38) invulnerableMs = -1;
    if (isFatalState(state)) return;
    if (invulnerableMs >= 0 && !((state == 132 || state == 133) && invulnerableMs < kLiftHitWindowMs)) return;
    if (cGame::s_runningTriggers > 0 && (flags & kFlagHeld)) return;
    addEnergy(jt::neg(damage));
    if (damage > 0) cGame::playSfx(kHurtSound);
    invulnerableMs = kInvulnerableMs;

    const jint t = sender->type;
    if (t == 8 && (state == 115 || state == 116 || (state >= 119 && state <= 124))) return setState(125);
    if (t == 32) return setState(127);
    if (t == 38 || t == 41) {
        setFlipped(t == 38);
        setState(t == 38 ? 129 : 128);
        BX_RETURN_IF_PENDING();
        invulnerableMs = -1;
        x = sender->x;
        y = sender->y;
        return;
    }
    if (t == 48) {
        setState(kStateFatal);
        BX_RETURN_IF_PENDING();
        energy = 0;
        spawnFatalEffects(this);
        invulnerableMs = -1;
        return;
    }
    if (state == kStateHold || state == 130) return setState(kStateHurt);
    if (!isOnGround()) {
        if ((state == 132 || state == 133) && t == 58 && sender->y >= y) speedY = kLiftKnockRise;
        return;
    }
    if (t == 4 && sender->param(11) == 1 && sender->state == 150) {
        setState(126);
        BX_RETURN_IF_PENDING();
        invulnerableMs = 0;
        return;
    }
    if (t == 47) {
        setState(kStateHurt);
        BX_RETURN_IF_PENDING();
        speedX = sender->x < x ? kRamSpeed : jt::neg(kRamSpeed);
        return;
    }
    if (t == 61 && sender->player && sender->player->anim == 6) return;
    setState(kStateHurt);
}

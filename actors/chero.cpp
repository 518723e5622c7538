// cHero's construction, its class statics, the per-frame update in its order (cheat and debug
// toggles, the state rule, zones, the airborne choice, attack and jump input, slope, shooting,
// camera zone, fall-out, blinking, death) and the small operations it is built from.
#include "actors/chero.h"

#include <climits>

#include "classlib/java_io/java_io_print_stream.h"
#include "classlib/java_lang/java_lang_system_statics.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "sprites/bxlib_player.h"

jint cHero::s_gunEnergy = 1500;
jint cHero::s_specialShots = 0;
jint cHero::s_lives = 4;
jint cHero::s_savedEnergy = 0;
jint cHero::s_aimIndex = 0;
cActor* cHero::s_shotEffect = nullptr;
cActor* cHero::s_impactEffect = nullptr;
cActor* cHero::s_target = nullptr;
cActor* cHero::s_dropItem = nullptr;
jbyte cHero::s_basicMode = 0;
bool cHero::s_wallContact = false;
bool cHero::s_airBrake = false;
bool cHero::s_jumpHeld = false;
bool cHero::s_godMode = false;
bool cHero::s_freeMove = false;
bool cHero::s_fireReady = true;
bool cHero::s_floatRequest = false;
bool cHero::s_diagonalJump = false;
jint cHero::s_jumpFrames = -1;
jint cHero::s_jumpKey = -1;
jint cHero::s_kickLockMs = -1;
jint cHero::s_fireHeldMs = 0;
jint cHero::s_meleeHeldMs = 0;
jint cHero::s_steerFrames = 0;

namespace {

const StaticRefRegistration kStatics(CID_cHero, &cHero::s_shotEffect, &cHero::s_impactEffect, &cHero::s_target,
                                     &cHero::s_dropItem);

constexpr jint kStateStand = 0, kStateDying = 20, kStateBounced = 3, kStateCarried = 106,
               kStateHeld = 137;
constexpr jint kKeyStar = 16, kKeyPound = 17;
constexpr jint kFreeMoveNotice = 72;
constexpr jint kBouncePadSpeed = -700 << 8;
constexpr jint kFreeMoveStep = (40 << 8) - 1;
constexpr jint kFlagBouncePad = 0x100000;
constexpr jint kGunDamage = 30;
constexpr jint kEffectType = 61, kEffectSprite = 13;

}  // namespace

void cHero::resetStatics() {
    s_gunEnergy = 1500;
    s_specialShots = 0;
    s_lives = 4;
    s_savedEnergy = 0;
    s_aimIndex = 0;
    s_shotEffect = s_impactEffect = s_target = s_dropItem = nullptr;
    s_basicMode = 0;
    s_wallContact = s_airBrake = s_jumpHeld = s_godMode = s_freeMove = false;
    s_fireReady = true;
    s_floatRequest = s_diagonalJump = false;
    s_jumpFrames = s_jumpKey = s_kickLockMs = -1;
    s_fireHeldMs = s_meleeHeldMs = s_steerFrames = 0;
    s_aimDegrees = -1;
}

void cHero::init() {
    cActor::init();
    invulnerableMs = -1;
}

cHero* cHero::create(ShortArray* params) {
    cHero* h = Runtime::make<cHero>();
    BX_RETURN_IF_NULL(h, nullptr);
    h->initFromParams(1, params);
    h->addToList(kListLevel);
    return h;
}

void cHero::resetZoneFlags() {
    if (flags & kFlagLift) returnY = INT_MAX;
    flags &= ~kFlagHeroFrame;
    s_heroCarried = 0;
}

void cHero::setBasicMode(bool on) {
    s_basicMode = on ? 1 : 0;
    if (cGame::s_hero) cGame::s_hero->behaviourId = 0;
}

void cHero::addEnergy(jint delta) {
    energy = jt::add(energy, delta);
    if (energy < 0) energy = 0;
    if (energy > maxEnergy) energy = maxEnergy;
}

bool cHero::checkFallOut() {
    if (cGame::s_cameraZone || !collisionRect) return false;
    if (collisionRect->get(1) <= (cGame::s_levelHeight << 8) + 160) return false;
    setState(kStateDying);
    return true;
}

void cHero::updateBlink() {
    if (invulnerableMs < 0 || isHurtState(state)) {
        if (!isDying()) flags &= ~kFlagHidden;
        return;
    }
    invulnerableMs -= cGame::s_frameTime;
    if (invulnerableMs >= 1 && (cGame::s_frameCounter & 1) == 0) flags |= kFlagHidden;
    else flags &= ~kFlagHidden;
}

void cHero::debugMove(bool skip) {
    if (skip) return;
    if (cGame::isKeyDown(cGame::kKeyLeft)) x -= kFreeMoveStep;
    else if (cGame::isKeyDown(cGame::kKeyRight)) x += kFreeMoveStep;
    else if (cGame::isKeyDown(cGame::kKeyUp)) y -= kFreeMoveStep;
    else if (cGame::isKeyDown(cGame::kKeyDown)) y += kFreeMoveStep;
}

void cHero::update() {
    if (cGame::checkCheatSequence()) {
        cGame::s_levelComplete = 1;
        cGame::setState(cGame::kStateLevelEnd);
    }
    if (cGame::s_cheatMode) {
        if (cGame::isKeyReleased(kKeyStar)) s_godMode = !s_godMode;
        if (cGame::isKeyReleased(kKeyPound)) {
            s_freeMove = !s_freeMove;
            java_io_PrintStream* out = java_lang_SystemStatics::out;
            if (out) out->println(Runtime::ldcString(kFreeMoveNotice));
            if (s_freeMove) {
                setState(kStateStand);
                BX_RETURN_IF_PENDING();
                flags &= ~kFlagGravity;
            }
        }
    }
    if (s_freeMove) {
        stopMotion();
        debugMove(false);
        return;
    }
    flags |= kFlagGravity;
    s_savedEnergy = energy;
    updateCommon();
    BX_RETURN_IF_PENDING();

    if (state == kStateHeld) {
        // Riding the vehicle: the hero goes where the vehicle puts it, so nothing may build up a
        // fall of its own (it would drag the hero and the camera off the vehicle).
        flags &= ~kFlagGravity;
        stopMotion();
        if (cGame::isKeyDown(cGame::kKeyLeft)) setFlipped(true);
        else if (cGame::isKeyDown(cGame::kKeyRight)) setFlipped(false);
        return;
    }
    if (state >= 125 && state <= 129) {
        if (s_kickLockMs >= 0) {
            s_kickLockMs -= cGame::s_frameTime;
            return;
        }
        speedX = 0;
    }
    runStateRule();
    BX_RETURN_IF_PENDING();

    if (!isDying()) {
        if (!s_basicMode) {
            updateLiftZone();
            BX_RETURN_IF_PENDING();
            updateSlideSpeed();
        }
        s_wallContact = false;
        if (flags & kFlagBouncePad) {
            flags &= ~kFlagGravity;
            speedY = kBouncePadSpeed;
            if (state == kStateCarried) setState(kStateBounced);
            BX_RETURN_IF_PENDING();
        }
        updateAirState();
        BX_RETURN_IF_PENDING();
        if (!s_basicMode) updateFireInput();
        BX_RETURN_IF_PENDING();
        updateJumpInput();
        BX_RETURN_IF_PENDING();
        applySlope();
        if (isShootState(state)) {
            updateShot();
            BX_RETURN_IF_PENDING();
        }
        clampToCameraZone();
        checkFallOut();
        BX_RETURN_IF_PENDING();
        updateBlink();
        if (energy < 1) setState(kStateDying);
    }
}

// The gun's frame work while in a shooting state: the special-shot effect held at the gun point,
// the shot's end, the main gun's damage, its impact and the spent casings.
void cHero::updateShot() {
    if (s_shotEffect && player) {
        if (player->frame == 0) {
            IntArray* r = attackRect();
            BX_RETURN_IF_NULL(r);
            getFrameBoxRect(0, r);
            s_shotEffect->x = x + r->get(0);
            s_shotEffect->y = y + r->get(1);
        } else if (player->frame > 1) {
            setState(getBehaviourField(4));
            return;
        }
    }
    if (s_specialShots >= 1 || !s_fireReady) return;
    s_gunEnergy -= cGame::getRandom(1, 3);
    if (s_gunEnergy < 0) s_gunEnergy = 0;
    if (s_target) {
        s_target->onMessage(this, kMsgHit, x, y, kGunDamage);
        BX_RETURN_IF_PENDING();
        if (!s_impactEffect && !(s_target->type == 32 && s_enemyBossFlag) && s_target->collisionRect) {
            IntArray* t = s_target->collisionRect;
            cActor* fx = cGame::spawnActor(kEffectType, kEffectSprite, (t->get(0) + t->get(2)) >> 1,
                                           (t->get(1) + t->get(3)) >> 1);
            if (fx && fx->player) fx->player->SetAnim(0, 1);
        }
    }
    if (jt::rem(cGame::s_frameCounter, 10) == 0 && collisionRect) {
        cActor* casing = cGame::spawnActor(kEffectType, kEffectSprite, x, collisionRect->get(3) - (40 << 8));
        if (casing) {
            if (casing->player) {
                casing->player->SetAnim(7, -1);
                casing->player->flags = player ? (player->flags & 1) : 0;
            }
            casing->speedX = jt::neg(facingValue((50 + cGame::getRandom(-50, 50)) << 8));
            casing->speedY = -50 << 8;
            casing->flags |= kFlagGravity | kFlagGround;
        }
    }
}

bool cHero::isGroundState(jint s) { return (s >= 0 && s <= 1) || (s >= 101 && s <= 104) || (s >= 107 && s <= 109); }

bool cHero::isMotionState(jint s) {
    switch (s) {
        case 2:
        case 3:
        case 110:
        case 111:
        case 112:
        case 130:
        case 132:
        case 133: return true;
        default: return false;
    }
}

// The hero's fire keys: strikes and shots begun on the ground, hanging, on a hook and in the air,
// the strike's damage and impact, and the aim taken when a strike or a shot begins (by the held
// direction key, else at the best target), with the special shot's effect.
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

using K = cGame::GameKey;

constexpr jint kStrikeDamage = 50;
constexpr jint kAirStrikeWindowMs = 200;
constexpr jint kStrikeSound = 15, kShotSound = 14, kSpecialShotSound = 13;
constexpr jint kEffectType = 61, kImpactSprite = 13, kShotSprite = 15;

bool down(jint k) { return cGame::isKeyDown(k); }

void setMeleeTypes() {
    cActor::setTargetTypes({4, 8, 9, 15, 16, 23, 25, 26, 27, 30, 32, 37, 38, 39, 41, 44, 46, 47, 48, 49, 50, 51, 52,
                            58, 60, 65});
}

void setShotTypes() {
    cActor::setTargetTypes({4, 8, 9, 16, 23, 25, 26, 27, 32, 37, 38, 41, 44, 46, 47, 48, 49, 50, 51, 52, 58, 60, 65});
}

bool hasAmmunition() { return cHero::s_gunEnergy > 0 || cHero::s_specialShots > 0; }

// States in which the fire keys do nothing: held, carried, seized, thrown, leaving.
bool firesLocked(jint s) {
    switch (s) {
        case 8:
        case 106:
        case 125:
        case 127:
        case 128:
        case 129:
        case 130:
        case 131:
        case 136:
        case 138: return true;
        default: return false;
    }
}

void playOnChannel2(jint id) { cGame::playSound(2, id, false); }

}  // namespace

void cHero::updateFireInput() {
    if ((flags & kFlagLift) || firesLocked(state)) return;
    if (isOnGround()) return groundFireInput();
    if (isHangState(state)) return hangFireInput();
    if (isHookState(state)) return hookFireInput();
    airStrikeInput();
}

void cHero::groundFireInput() {
    const bool fire = down(K::kKeyFire), second = down(K::kKeySecondAction);
    if (fire || second) {
        s_meleeHeldMs += cGame::s_frameTime;
        // A shot running is not begun again: its animation decides when it ends.
        if (s_fireReady && !isAttackState(state) && state != 113 && s_meleeHeldMs >= 2 && hasAmmunition()) {
            if (fire) {
                setState(108);
                BX_RETURN_IF_PENDING();
                playOnChannel2(kStrikeSound);
            } else {
                setState(113);
                BX_RETURN_IF_PENDING();
            }
            faceByKeys(true, true);
            if (s_shotEffect) s_fireReady = false;
        }
        return;
    }
    if (state == 113) {
        setState(114);
    } else if (s_meleeHeldMs > 0 && s_fireReady && !(state >= 107 && state <= 109)) {
        playOnChannel2(kStrikeSound);
    }
    s_meleeHeldMs = 0;
    s_fireReady = true;
}

void cHero::hangFireInput() {
    if (s_fireReady && down(K::kKeySecondAction) && hasAmmunition()) {
        if (state != 115) {
            setState(115);
            BX_RETURN_IF_PENDING();
        }
        faceByKeys(true, true);
        if (s_specialShots > 0) s_fireReady = false;
    } else if (state == 115) {
        setState(116);
        BX_RETURN_IF_PENDING();
    }
    if (cGame::isKeyUp(K::kKeyFire)) s_fireReady = true;
}

void cHero::hookFireInput() {
    if (s_fireReady && (down(K::kKeyFire) || down(K::kKeySecondAction)) && hasAmmunition()) {
        if (down(K::kKeySecondAction) && state != 117) {
            setState(117);
            BX_RETURN_IF_PENDING();
            if (s_specialShots > 0) s_fireReady = false;
        }
    } else if (state == 117) {
        setState(118);
        BX_RETURN_IF_PENDING();
    }
    if (cGame::isKeyUp(K::kKeyFire)) s_fireReady = true;
}

void cHero::airStrikeInput() {
    if (!down(K::kKeyFire)) {
        s_fireHeldMs = 0;
        return;
    }
    s_fireHeldMs += cGame::s_frameTime;
    if (s_fireHeldMs < kAirStrikeWindowMs && state != 110 && state != 111) {
        setState(111);
        BX_RETURN_IF_PENDING();
        playOnChannel2(kStrikeSound);
    }
}

void cHero::strike() {
    setMeleeTypes();
    (void)attack(kStrikeDamage);
    BX_RETURN_IF_PENDING();
    if (s_impactEffect) return;
    IntArray* r = attackRect();
    BX_RETURN_IF_NULL(r);
    getFrameBoxRect(1, r);
    if (r->get(0) == r->get(2) || r->get(1) == r->get(3)) return;
    cActor* fx = cGame::spawnActor(kEffectType, kImpactSprite, x + r->get(0), y + r->get(1));
    if (!fx) return;
    if (fx->player) fx->player->SetAnim(1, 1);
    s_impactEffect = fx;
}

void cHero::aimByKeys(bool strike) {
    struct KeyAim {
        jint key, degrees;
        bool shotsOnly;
    };
    static constexpr KeyAim kAims[] = {{K::kKeyUpLeft, 135, false}, {K::kKeyUpRight, 45, false},
                                       {K::kKeyUp, 90, false},      {K::kKeyLeft, 180, false},
                                       {K::kKeyRight, 0, false},    {K::kKeyDownLeft, 225, true},
                                       {K::kKeyDown, 270, false},   {K::kKeyDownRight, 315, true}};
    s_aimDegrees = -1;
    for (const KeyAim& a : kAims) {
        if ((a.shotsOnly && strike) || !down(a.key)) continue;
        s_aimDegrees = a.degrees;
        return;
    }
}

void cHero::aimOnEntry(jint s) {
    const bool shot = isShootState(s);
    aimByKeys(!shot);
    if (s_aimDegrees == -1) {
        if (shot) setShotTypes();
        else setMeleeTypes();
        s_target = findBestTarget(this);
        BX_RETURN_IF_PENDING();
        if (!s_target) {
            s_aimDegrees = 0;
        } else if (!(s_target->type == 30 && s_target->param(7) == 0) && collisionRect && s_target->collisionRect) {
            setFlipped(s_target->x < x);
            IntArray* t = s_target->collisionRect;
            const jint targetY = (t->get(1) + t->get(3)) >> 1;
            const jint fromY = shot ? collisionRect->get(1) : (collisionRect->get(1) + collisionRect->get(3)) >> 1;
            s_aimDegrees = jt::mul(cGame::atan2(jt::sub(s_target->x, x), jt::sub(fromY, targetY)), 360) >> 8;
        }
    } else if (shot) {
        setShotTypes();
        s_target = findTarget(this);
        BX_RETURN_IF_PENDING();
    }
    s_aimIndex = aimIndex(s_aimDegrees);
    if (!shot) return;
    if (s_specialShots < 1) return playOnChannel2(kShotSound);
    cGame::playSfx(kSpecialShotSound);
    cActor* fx = cGame::spawnActor(kEffectType, kShotSprite, x, y);
    s_shotEffect = fx;
    --s_specialShots;
    if (!fx || !fx->player) return;
    fx->player->SetAnim(s_target ? s_aimIndex : 2, 1);
    fx->player->flags = player ? (player->flags & 1) : 0;
}

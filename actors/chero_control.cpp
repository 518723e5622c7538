// The hero's move set over the game-key snapshot: the per-state rule, walking and turning, the jump
// (a tap jumps when its key comes up, a held key on the fourth frame), air steering, the choice of
// the airborne state, the lift zone, hanging from a bar and riding a hook.
// Speeds are 8.8 px/s; "facing v" is +v facing right and -v facing left.
#include <algorithm>

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

using K = cGame::GameKey;

constexpr jint px(jint v) { return v << 8; }

constexpr jint kWalkSpeed = px(400), kBasicWalkSpeed = px(200);
constexpr jint kJumpSpeed = px(-1000);
constexpr jint kAirSpeed = px(300), kDiagonalAirSpeed = px(400), kTapAirSpeed = px(200);
constexpr jint kFloatSpeedX = px(300), kFloatFallLimit = px(100), kFallLimit = px(600);
constexpr jint kLiftRiseSpeedX = px(200), kLiftDriftSpeedX = px(300), kLiftTopDrop = px(90);
constexpr jint kHangDropOffset = px(20);
constexpr jint kHookRightShift = px(4), kHookLeftShift = px(8), kHookFlippedShift = px(11);
constexpr jint kDropStep = px(1);
constexpr jint kJumpAnim = 6, kTumbleAnim = 7;
constexpr jint kMsgHookOff = 101, kMsgHookShot = 102, kGrabbedState = 280, kGrabSound = 16;

// States in which the hero hangs, holds on or is held: no gravity and no vertical motion.
bool isHeldInPlace(jint s) {
    switch (s) {
        case 8:
        case 106:
        case 128:
        case 129:
        case 130:
        case 131:
        case 138: return true;
        default: return cHero::isHangingState(s);
    }
}

bool down(jint k) { return cGame::isKeyDown(k); }

bool anyDown(std::initializer_list<jint> keys) {
    return std::any_of(keys.begin(), keys.end(), [](jint k) { return cGame::isKeyDown(k); });
}

}  // namespace

jint cHero::pickJumpKey() {
    jint k = -1;
    if (cGame::isKeyJustPressed(K::kKeyUp) || down(K::kKeyUp)) k = K::kKeyUp;
    else if (cGame::isKeyJustPressed(K::kKeyUpLeft) || down(K::kKeyUpLeft)) k = K::kKeyUpLeft;
    else if (down(K::kKeyUpRight)) k = K::kKeyUpRight;
    if (k != -1) s_jumpKey = k;
    return k;
}

bool cHero::isJumpKeyPressed() {
    return cGame::isKeyJustPressed(K::kKeyUp) || cGame::isKeyJustPressed(K::kKeyUpLeft) ||
           cGame::isKeyJustPressed(K::kKeyUpRight);
}

bool cHero::isJumpKeyHeld() { return anyDown({K::kKeyUp, K::kKeyUpLeft, K::kKeyUpRight}); }

bool cHero::faceByKeys(bool upDiagonals, bool downDiagonals) {
    if (down(K::kKeyLeft) || (upDiagonals && down(K::kKeyUpLeft)) || (downDiagonals && down(K::kKeyDownLeft))) {
        setFlipped(true);
        return true;
    }
    if (down(K::kKeyRight) || (upDiagonals && down(K::kKeyUpRight)) || (downDiagonals && down(K::kKeyDownRight))) {
        setFlipped(false);
        return true;
    }
    return false;
}

jint cHero::aimIndex(jint degrees) {
    const jint d = 180 - jt::rem(degrees + 90, 360);
    return ((d < 0 ? -d : d) + 22) / 45;
}

void cHero::startJump(jint key) {
    if (key != K::kKeyUp && key != K::kKeyUpLeft && key != K::kKeyUpRight) return;
    setState(2);
    BX_RETURN_IF_PENDING();
    s_diagonalJump = false;
    if (key == K::kKeyUp) return;
    setFlipped(key == K::kKeyUpLeft);
    if (s_basicMode) {
        speedX = facingValue(kAirSpeed);
        return;
    }
    speedX = facingValue(kDiagonalAirSpeed);
    s_diagonalJump = true;
    if (player && !(player->anim == kJumpAnim && !isAnimOver())) {
        player->SetAnim(kJumpAnim, -2);
        player->SetFrame(0);
    }
}

void cHero::runStateRule() {
    switch (state) {
        case 0:
        case 101: return updateWalk();
        case 1: {
            const jint speed = s_basicMode ? kBasicWalkSpeed : kWalkSpeed;
            speedX = facingValue(speed);
            updateWalk();
            BX_RETURN_IF_PENDING();
            return limitSpeedXFacing(speed);
        }
        case 2:
            if (speedY >= 0) {
                setState(3);
                BX_RETURN_IF_PENDING();
            }
            faceByKeys(true, false);
            return airSteer();
        case 3:
            faceByKeys(true, false);
            airSteer();
            if (!s_basicMode && isJumpKeyPressed()) s_floatRequest = true;
            return;
        case 5:
            if (isOnGround()) {
                speedX = 0;
                return;
            }
            faceByKeys(true, false);
            return airSteer();
        case 20: return cGame::setState(cGame::kStateHeroLost);
        case 21:
            if (stateTime >= 2000) {
                energy = 0;
                setState(20);
            }
            return;
        case 102:
        case 104:
            faceByKeys(false, true);
            return updateWalk();
        case 105:
            speedX = faceByKeys(false, false) ? facingValue(kFloatSpeedX) : 0;
            s_strongGravity = down(K::kKeyDown) ? 1 : 0;
            return;
        case 106: return updateBoxes();
        case 108:
        case 111: return strike();
        case 117:
        case 118:
        case 134:
        case 135: return updateHook();
        case 119:
        case 120:
        case 121:
        case 122:
        case 123:
        case 124: return updateHang();
        case 133:
            if (faceByKeys(true, false)) speedX = facingValue(kWalkSpeed);
            if (speedX != 0) setFlipped(speedX < 0);
            return;
        case 138:
            if (down(K::kKeyFire) && linked) {
                linked->setState(kGrabbedState);
                BX_RETURN_IF_PENDING();
                cGame::playSfx(kGrabSound);
            }
            return;
        default: return;
    }
}

void cHero::updateWalk() {
    const bool left = down(K::kKeyLeft), right = down(K::kKeyRight);
    if (left && !isFlipped()) {
        setFlipped(true);
        return noWalk();
    }
    if (!left && !right) return noWalk();
    if (right && isFlipped()) {
        setFlipped(false);
        return noWalk();
    }
    if (isOnGround() && state != 1) setState(1);
}

void cHero::noWalk() {
    if (!isOnGround()) return;
    if (state == 102) {
        if (!down(K::kKeyDown)) setState(103);
    } else if (!s_basicMode && down(K::kKeyDown)) {
        faceByKeys(false, true);
        if (state != 104) setState(104);   // crouching down runs to its end
    } else if (state != 0 && state != 101) {
        setState(0);
    }
}

void cHero::updateJumpInput() {
    if (!isGroundState(state)) {
        s_jumpFrames = -1;
        return;
    }
    const jint k = pickJumpKey();
    if (s_jumpFrames >= 2 && k != -1 && down(k)) {
        startJump(k);
        BX_RETURN_IF_PENDING();
        speedY = kJumpSpeed;
        s_jumpHeld = true;
    } else if ((s_jumpFrames == 0 || s_jumpFrames == 1) && s_jumpKey != -1 && cGame::isKeyUp(s_jumpKey)) {
        startJump(s_jumpKey);
        BX_RETURN_IF_PENDING();
        speedY = kJumpSpeed;
        s_jumpHeld = false;
    }
    if (k != -1) ++s_jumpFrames;
}

void cHero::airSteer() {
    if (s_kickLockMs >= 0) {
        s_kickLockMs -= cGame::s_frameTime;
        return;
    }
    const bool left = down(K::kKeyLeft), right = down(K::kKeyRight);
    const jint fast = s_diagonalJump ? kDiagonalAirSpeed : kAirSpeed;
    if (!left && !right && !down(K::kKeyUpLeft) && !down(K::kKeyUpRight)) {
        if (speedX != 0) speedX = s_airBrake ? 0 : facingValue(s_jumpHeld ? fast : kTapAirSpeed);
        s_steerFrames = 0;
    } else {
        ++s_steerFrames;
        speedX = facingValue(fast);
        if (left || right) {
            if (s_airBrake) s_airBrake = false;
            else s_jumpHeld = true;
            s_steerFrames = 0;
        }
    }
    if (state == 3 && s_diagonalJump && !s_basicMode) {
        s_airBrake = false;
        if (player && player->anim != kTumbleAnim) player->SetAnim(kTumbleAnim, -1);
    }
}

void cHero::updateAirState() {
    if (isHeldInPlace(state)) {
        flags &= ~kFlagGravity;
        speedY = accelY = 0;
        return;
    }
    if (!isOnGround() && state != 132 && state != 133 && state != 2 && state != 110 && state != 111 && state != 112 &&
        state != 127 && state != 128 && state != 129 && !(state == 5 && speedY < 0)) {
        if (s_floatRequest) {
            if (state != 105) setState(105);
        } else if (!followGroundEdge()) {
            BX_RETURN_IF_PENDING();
            const jint target = cGame::s_level == 8 ? 105 : 3;
            if (state != target) setState(target);
            BX_RETURN_IF_PENDING();
            if (target == 3 && s_diagonalJump && player && player->anim != kTumbleAnim)
                player->SetAnim(kTumbleAnim, -1);
        }
        BX_RETURN_IF_PENDING();
    }
    if (state == 105) speedY = std::min(speedY, kFloatFallLimit);
    if (state != 5) speedY = std::min(speedY, kFallLimit);
}

void cHero::updateLiftZone() {
    if (!(flags & kFlagLift)) {
        if (state == 132 || state == 133) setState(0);
        return;
    }
    const bool steering = anyDown({K::kKeyLeft, K::kKeyRight, K::kKeyUpLeft, K::kKeyUpRight});
    if (isJumpKeyHeld() || (s_wallContact && (down(K::kKeyLeft) || down(K::kKeyRight)))) {
        const bool knockedBack = state == 132 && invulnerableMs > 0 && speedY != 0 && accelY != 0 &&
                                 !cGame::sameSign(speedY, accelY);
        if (!knockedBack) {
            setState(132);
            BX_RETURN_IF_PENDING();
        }
        flags &= ~kFlagGravity;
        faceByKeys(true, false);
        speedX = steering ? facingValue(kLiftRiseSpeedX) : 0;
        const jint top = returnY - kLiftTopDrop;
        if (y <= top) {
            speedY = accelY = moveY = 0;
            y = top;
        }
        return;
    }
    if ((state == 0 || state == 3 || state == 132 || state == 133) && speedY >= 0) {
        setState(133);
        BX_RETURN_IF_PENDING();
        speedX = faceByKeys(true, false) ? facingValue(kLiftDriftSpeedX) : 0;
        if (isOnGround() && (down(K::kKeyLeft) || down(K::kKeyRight))) setState(1);
    }
}

void cHero::updateHang() {
    cActor* bar = linked;
    if (!bar || !bar->collisionRect || !collisionRect) return;
    IntArray* b = bar->collisionRect;
    if (collisionRect->get(2) < b->get(0)) {
        x = b->get(0) - kHangDropOffset;
        return setState(3);
    }
    if (collisionRect->get(0) > b->get(2)) {
        x = b->get(2) + kHangDropOffset;
        return setState(3);
    }
    if (down(K::kKeyLeft) || down(K::kKeyRight)) {
        const bool left = down(K::kKeyLeft);
        if (isFlipped() != left) setFlipped(left);
        else if (state != 121) setState(121);
    } else if (down(K::kKeyDown)) {
        setState(3);
    } else if (down(K::kKeyUp)) {
        if (state != 122 && state != 123) setState(123);
    } else if (state == 122) {
        setState(124);
    } else if (state != 120 && state != 123 && state != 124) {
        setState(119);
    }
}

void cHero::updateHook() {
    cActor* hook = linked;
    if (!hook) return;
    snapTo(hook, false, false);
    x += isFlipped() ? kHookLeftShift : kHookRightShift;
    if (hook->isFlipped()) x -= kHookFlippedShift;
    if (state == 118) return;
    faceByKeys(true, false);
    if (isJumpKeyHeld()) {
        if (down(K::kKeyUpLeft) || down(K::kKeyUpRight)) speedX = facingValue(kAirSpeed);
        hook->onMessage(this, kMsgHookOff, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        onMessage(this, kMsgRelease, 0, 0, 2);
    } else if (down(K::kKeyDown)) {
        hook->onMessage(this, kMsgHookOff, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        onMessage(this, kMsgRelease, 0, 0, 3);
        y += kDropStep;
    } else if (state == 117) {
        hook->onMessage(this, kMsgHookShot, 0, 0, 0);
    }
}

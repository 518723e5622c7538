// The hero's state events: its set-up, what leaving a state undoes (the float request, the carrier,
// the target, the grab point, the hook, the exit) and what entering one starts (the walk and jump
// speeds, the aim of strikes and shots, the hang and hook offsets), then the shared entry rules:
// the reference point moving from the hands to the feet, motion stopped, the box per state.
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint px(jint v) { return v << 8; }

constexpr jint kWalkSpeed = px(400), kBasicWalkSpeed = px(200), kJumpSpeed = px(-1000);
constexpr jint kCarryDropSpeed = px(-300), kThrowLift = px(40), kThrowShift = px(50), kThrowSpeed = px(600);
constexpr jint kLiftRiseSpeed = px(-200), kHandsToFeet = px(120);

}  // namespace

void cHero::onEvent(cActor* sender, jint event, jint a, jint b, jint c) {
    switch (event) {
        case kEventInit:
            behaviourId = 0;
            if (c == 1) energy = s_savedEnergy;
            return;
        case kEventStateLeft:
            switch (c) {
                case 105: s_floatRequest = false; return;
                case 106:
                    linked = nullptr;
                    moveToAttackPoint(x, y);
                    speedY = kCarryDropSpeed;
                    return;
                case 113:
                case 115:
                case 117: s_target = nullptr; return;
                case 121: flags &= ~kFlagAnimMotion; return;
                case 130:
                    flags |= kFlagGround;
                    y -= kThrowLift;
                    updateMovement();
                    resolveContacts();
                    BX_RETURN_IF_PENDING();
                    applyMove();
                    return;
                case 131:
                    x = returnX;
                    y = returnY;
                    if (linked && linked->typeData && linked->typeData->length >= 2)
                        snapToSegment(linked->typeData->get(0), linked->typeData->get(1));
                    linked = nullptr;
                    return;
                case 134:
                case 135: flags |= kFlagGround; return;
                case 136:
                    cGame::s_levelComplete = 1;
                    cGame::setState(cGame::kStateLevelEnd);
                    flags |= kFlagHidden;
                    return;
                default: return;
            }
        case kEventStateEntered:
            onStateEntered(c);
            return;
        default: cActor::onEvent(sender, event, a, b, c);
    }
}

void cHero::onStateEntered(jint s) {
    switch (s) {
        case 1: setMotion(facingValue(s_basicMode ? kBasicWalkSpeed : kWalkSpeed), angle); break;
        case 2:
            speedY = kJumpSpeed;
            s_kickLockMs = 0;
            break;
        case 21: flags |= kFlagHidden; break;
        case 108:
        case 113:
        case 115:
        case 117:
            aimOnEntry(s);
            BX_RETURN_IF_PENDING();
            break;
        case 120:
            stopMotion();
            if (localBox) y += localBox->get(1);
            break;
        case 121: flags |= kFlagAnimMotion; break;
        case 128:
        case 129:
        case 134: flags &= ~kFlagGround; break;
        case 130:
            if (previousState == 129) x += facingValue(kThrowShift);
            speedX = facingValue(kThrowSpeed);
            break;
        case 131: flags &= ~kFlagGravity; break;
        case 132:
            flags &= ~kFlagGravity;
            stopMotion();
            speedY = kLiftRiseSpeed;
            break;
        case 135:
            if (localBox) y += localBox->get(1);
            flags &= ~kFlagGround;
            break;
        case 137: flags &= ~(kFlagGround | kFlagGravity); break;
        default: break;
    }
    if (isHangingState(previousState) && !isHangingState(s)) y += kHandsToFeet;
    if (!isMotionState(s)) stopMotion();
    updateBoxes();
}

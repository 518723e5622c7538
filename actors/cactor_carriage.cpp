// Type 7, the hook carriage: the hero hangs from it and rides along its line. Values {x0, y0, x1,
// y1, start-on-touch}: the run goes from x0 to x1 and the height follows the line (moveType7).
// Once its run is over and it is well out of view it goes home and waits again.
#include "actors/cactor.h"

#include <algorithm>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kMsgHook = 34;
constexpr jint kWaiting = 156, kRolling = 157, kCoasting = 158, kRunOver = 159;
constexpr jint kRideSpeed = 300 << 8, kHomeMargin = 80, kRunOverMargin = 160;

void goHome(cActor* c) {
    c->x = c->param(2) << 8;
    c->y = c->param(3) << 8;
}

}  // namespace

void cActor::updateType7() {
    IntArray* v = typeData;
    if (!v || v->length < 5) return;
    const jint startX = v->get(0), endX = v->get(2);
    const bool startsOnTouch = v->get(4) != 0;
    cActor* hero = cGame::s_hero;
    if (hero && hero->linked != this && state != kRunOver) {
        IntArray* box = toWorldRect(localBox);
        if (box && hero->cornerTouchesRect(box, true, false)) {
            hero->onMessage(this, kMsgHook, 0, 0, 0);
            BX_RETURN_IF_PENDING();
            if (startsOnTouch && state != kRolling) setState(kRolling);
            BX_RETURN_IF_PENDING();
        }
    }
    switch (state) {
        case kWaiting:
            if (!startsOnTouch && isOutsideView(kHomeMargin)) goHome(this);
            return;
        case kRolling:
            moveType7();
            limitSpeed(kRideSpeed, angle);
            if (endX > startX ? x >= endX : x <= endX) setState(kRunOver);
            return;
        case kCoasting:
            moveType7();
            limitSpeed(kRideSpeed, angle);
            if ((angle == 256 && speedX < 1) || (angle == 128 && speedX >= 0)) {
                setState(kWaiting);
                BX_RETURN_IF_PENDING();
                stopMotion();
            }
            if (!(x >= std::min(startX, endX) && x <= std::max(startX, endX))) setState(kRunOver);
            return;
        case kRunOver:
            if (!isOutsideView(kRunOverMargin)) return;
            goHome(this);
            clearFlag(kFlagGravity);
            setState(kWaiting);
            BX_RETURN_IF_PENDING();
            stopMotion();
            return;
        default:
            return;
    }
}

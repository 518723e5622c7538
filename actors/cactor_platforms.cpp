// Moving level furniture: type 29, the platform mechanisms (tipping, releasing, the lift pair) that
// react to the hero standing on them, and type 30, the gate and the lever that works it. Partners
// are found by id from level data; a missing partner is passed over. Value 0 of a type-29
// platform is its tilt: 200 to 400 either way while it tips.
#include "actors/cactor.h"

#include <algorithm>

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"

namespace {

enum Mode : jint { kTipping = 0, kRelease = 1, kLiftPair = 2 };
constexpr jint kRest = 229, kTip = 230, kReleased = 231, kTipped = 232, kLiftWait = 233, kLiftUp = 234, kLiftDown = 235;
constexpr jint kHeldByMechanism = cActor::kFlagWaiting;
constexpr jint kPartnerHeld = 0x8000008;
constexpr jint kTiltStart = 200, kTiltEnd = 400, kTiltRate = 400, kTippedMs = 1000;
constexpr jint kSinkSpeed = 40 << 8, kRiseSpeed = -100 << 8, kLiftUpSpeed = -120 << 8, kLiftDownSpeed = 200 << 8;
constexpr jint kLeverRest = 238, kGateRest = 240, kGateOpening = 241, kGateClosing = 242;
constexpr jint kGateTravel = 160 << 8, kGateSlow = -40 << 8, kGateFast = -100 << 8, kGateDrop = 600 << 8;

bool heroStandsOn(const cActor* a) {
    const cActor* hero = cGame::s_hero;
    return hero && hero->groundId == a->id && !hero->hasFlag(kHeldByMechanism);
}

jint homeY(const cActor* a) { return a->param(3) << 8; }
jint travelTop(const cActor* a) { return (a->param(3) + a->param(7)) << 8; }

void tip(cActor* p, IntArray* v) {
    if (!heroStandsOn(p)) return p->setState(kRest);
    const jint step = cActor::scaleBySpeedFactor(kTiltRate);
    const jint tilt = p->isFlipped() ? std::min(v->get(0) + step, kTiltEnd) : std::max(v->get(0) - step, -kTiltEnd);
    v->set(0, tilt);
    if (tilt == kTiltEnd || tilt == -kTiltEnd) p->setState(p->param(8) == kTipping ? kTipped : kReleased);
}

}  // namespace

void cActor::updateType29() {
    IntArray* v = typeData;
    if (!v || v->length < 1) return;
    cActor* partner = cGame::findActorById(param(9));
    const jint mode = param(8);
    switch (state) {
        case 0:
            if (mode == kTipping && partner) partner->setFlag(kPartnerHeld);
            setState(mode == kLiftPair ? kLiftWait : kRest);
            return;
        case kRest:
            if (heroStandsOn(this)) {
                setState(kTip);
                BX_RETURN_IF_PENDING();
                v->set(0, isFlipped() ? kTiltStart : -kTiltStart);
                return;
            }
            speedY = y < homeY(this) ? kSinkSpeed : 0;
            return;
        case kTip:
            return tip(this, v);
        case kReleased:
            speedY = y > travelTop(this) ? kRiseSpeed : 0;
            return;
        case kTipped:
            if (stateTime >= kTippedMs) {
                if (partner) {
                    partner->clearFlag(kHeldByMechanism);
                    if (partner->typeData && partner->typeData->length > 0) partner->typeData->set(0, 1);
                }
                setState(kRest);
            } else if (!heroStandsOn(this)) {
                setState(kRest);
            }
            return;
        case kLiftWait:
            if (!heroStandsOn(this)) return;
            setState(kLiftUp);
            BX_RETURN_IF_PENDING();
            if (partner && partner->state == kLiftWait) partner->setState(kLiftUp);
            return;
        case kLiftUp:
            speedY = kLiftUpSpeed;
            if (y <= travelTop(this)) setState(kLiftDown);
            return;
        case kLiftDown:
            speedY = kLiftDownSpeed;
            if (y >= homeY(this)) setState(kLiftWait);
            return;
        default:
            return;
    }
}

void cActor::updateType30() {
    if (param(7) != 0) {
        // The lever: its partner is the gate; value 1 its pull's frame count.
        if (state != 0) return;
        linked = cGame::findActorById(param(8));
        setState(kLeverRest);
        BX_RETURN_IF_PENDING();
        if (typeData && typeData->length >= 2 && player && player->sprite)
            typeData->set(1, player->sprite->GetAFrames(1));
        return;
    }
    switch (state) {
        case 0:
            linked = cGame::findActorById(param(8));
            setState(kGateRest);
            return;
        case kGateOpening: {
            // Slower once the lever is more than half way through its pull.
            cActor* lever = linked;
            const bool pulled = lever && lever->player && lever->typeData && lever->typeData->length >= 2 &&
                                lever->player->frame > lever->typeData->get(1) / 2;
            speedY = pulled ? kGateSlow : kGateFast;
            if (y <= homeY(this) - kGateTravel) stopMotion();
            return;
        }
        case kGateClosing:
            speedY = kGateDrop;
            if (y >= homeY(this)) stopMotion();
            return;
        default:
            return;
    }
}

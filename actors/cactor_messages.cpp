// cActor's reactions to messages (slot 10: hit, deactivated, the hook messages of type 7) and to
// its own events (slot 9: initialise, state entered, state left). Delivery is a direct call: a
// reaction may change lists and links in the middle of the sender's update.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

// Behaviour ids that event 3 gives by type; the others keep -1.
jint behaviourIdOfType(jint type) {
    switch (type) {
        case 7: return 4;
        case 12: return 5;
        case 24: return 12;
        case 29: return 17;
        case 30: return 16;
        case 35: return 18;
        case 36: return 21;
        case 39: return 22;
        case 42: return 23;
        default: return -1;
    }
}

void playOnce(cActor* a, jint anim) {
    if (a->player) a->player->SetAnim(anim, 1);
}

}  // namespace

void cActor::onMessage(cActor* sender, jint message, jint, jint, jint) {
    cActor* hero = cGame::s_hero;
    switch (message) {
        case kMsgHit:
            switch (type) {
                case 15:
                    if (hero) hero->onMessage(this, kMsgCarry, 0, 0, 0);
                    return;
                case 30:
                    // A strike lands on every frame it lasts; a pull under way is not restarted, as
                    // each restart sends the gate down and up again and it never gets moving.
                    if (param(7) == 1 && state != 239) {
                        playOnce(this, 2);
                        setState(239);
                    }
                    return;
                case 39: return releaseDrops();
                case 40:
                    if (state != 262 || !sender) return;
                    setState(263);
                    linked = sender;
                    sender->linked = this;
                    cSubmarine::s_airMaxMs = (param(7) - 10 * cGame::s_difficulty + 10) * 1000;
                    return;
                case 58:
                    if (sender && sender == hero && linked && linked->type == 59) {
                        linked->speedX = Z::T122;
                        linked->linked = nullptr;
                        linked = nullptr;
                        flags |= kFlagGround;
                    }
                    if (flags & kFlagGround) {
                        const bool senderFlipped = sender && sender->isFlipped();
                        speedX = senderFlipped ? jt::neg(Z::T99 * 2) : Z::T99 * 2;
                        speedY = Z::T98 * 2;
                        setFlippedY(true);
                        flags &= ~kFlagGround;
                        flags |= kFlagGravity;
                    }
                    return;
                default: return;
            }
        case kMsgDeactivated:
            if (type != 11) return;
            setState(0);
            BX_RETURN_IF_PENDING();
            if (cGame::s_cameraZone == this) {
                onMessage(this, kMsgZoneReleased, 0, 0, 0);
                cGame::s_cameraLock = 2;
                cGame::s_cameraZone = nullptr;
            }
            return;
        case kMsgHooked:
        case kMsgCoasting:
            if (!typeData || typeData->length < 5 || typeData->get(4) != 1) return;
            setMotion(Z::T135, angle);
            setAcceleration(message == kMsgHooked ? Z::T136 : 0, angle);
            return;
        case kMsgStruck:
            if (!typeData || typeData->length < 5 || typeData->get(4) != 0 || cHero::s_shotEffect) return;
            setState(158);
            BX_RETURN_IF_PENDING();
            angle = sender && sender->isFlipped() ? Z::DIR_RIGHT : Z::DIR_LEFT;
            if (hero) {
                speedX = jt::neg(hero->facingValue(Z::T138));
                accelX = hero->facingValue(Z::T139);
            }
            return;
        default: return;
    }
}

void cActor::onEvent(cActor*, jint event, jint, jint, jint c) {
    switch (event) {
        case kEventInit: behaviourId = behaviourIdOfType(type); return;
        case kEventStateEntered:
            if (c == kStateDead && type == 20) {
                cActor* effect = cGame::spawnActor(61, 16, x, y);
                if (!effect) return;
                playOnce(effect, 3);
                effect->updateBoxes();
                s_groundActor = effect;
                return;
            }
            switch (c) {
                case 159:
                    stopMotion();
                    if (cGame::s_hero && cGame::s_hero->linked == this)
                        cGame::s_hero->onMessage(this, kMsgRelease, 0, 0, 3);
                    flags |= kFlagGravity;
                    return;
                case 214:
                    if (typeData && typeData->length >= 1) typeData->set(0, cGame::getRandom(param(10), param(11)));
                    return;
                case 239:
                    if (linked) linked->setState(241);
                    return;
                case 241:
                    if (y - (param(3) << 8) > Z::T187) speedY = Z::T188;
                    return;
                case 245: flags |= kFlagHidden; return;
                case 246: flags &= ~kFlagHidden; return;
                case 272:
                    flags |= kFlagGravity;
                    flags &= ~kFlagContactKind;
                    return;
                default: return;
            }
        case kEventStateLeft:
            if (c == 239 && linked) linked->setState(242);
            return;
        default: return;
    }
}

// The response to a contact the resolver found: the hero's rules for each polyline bit (switched-off
// platforms, wall kicks, hanging, one-sided walls, harm, the pushing-down lines, landing), the
// submarine's wall record, the type-64 landing; every other actor accepts every contact.
// Invariant: the answer is one of the response codes of cActor::applyContact; a harmful line both
// hurts and bounces: the hurt state is looked at before the hit message can change it.
#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/csubmarine.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kAccept = 1, kPass = 4, kClipOnly = 5, kStep = 6;
constexpr jint kHarmDamage = 10;
constexpr jint kStateHurt = 5, kStateLanding = 101, kStateHang = 120, kStateType64Landed = 259;

bool isLandingState(jint s) { return s == 3 || s == 105 || s == 111 || s == 112; }

// The hero's rules for a segment contact (kind 5) of a platform that is switched on.
jint heroSegmentContact(cActor* hero, cActor* platform, jint bits, jint dx, jint dy) {
    const bool floor = (bits & cActor::kDirFloor) != 0, ceiling = (bits & cActor::kDirCeiling) != 0;
    const bool wall = (bits & (cActor::kDirWallBehind | cActor::kDirWallFront)) != 0;
    cHero* asHero = hero->classId() == CID_cHero ? static_cast<cHero*>(hero) : nullptr;
    cActor* ground = cActor::s_groundActor = cGame::findActorById(hero->groundId);
    const bool onCarrier = ground && ground->type == 29;

    if (bits & cActor::kPolyWallKick) {
        if (floor && hero->speedY >= 0 && asHero) asHero->wallKick(dx, dy);
        return ceiling ? kPass : kClipOnly;
    }
    if (bits & cActor::kPolyHang) {
        if (onCarrier) return kPass;
        if (ceiling && hero->speedY >= 0) {
            hero->linked = platform;
            hero->setState(kStateHang);
            return kAccept;
        }
        return kPass;
    }
    if (wall &&
        (((bits & cActor::kPolyPassLeft) && hero->moveX < 0) || ((bits & cActor::kPolyPassRight) && hero->moveX > 0)))
        return kPass;
    if ((bits & cActor::kPolyHarmful) && (floor || wall)) {
        const bool hurtAlready = hero->state == kStateHurt;
        hero->onMessage(platform, cActor::kMsgHit, platform->x, platform->y, kHarmDamage);
        BX_RETURN_IF_PENDING(kClipOnly);
        if (!hurtAlready) {
            if (cGame::s_level != 8) {
                hero->setState(kStateHurt);
                BX_RETURN_IF_PENDING(kClipOnly);
            }
            if (floor) hero->speedY = Z::BOUNCE_SPEED;
            else if (cGame::s_level != 8) hero->speedY = cGame::s_level == 9 ? Z::BOUNCE_SPEED / 4 : Z::BOUNCE_SPEED;
        }
        return kClipOnly;
    }
    if (bits & cActor::kPolyPushDown) {
        if (floor) return kPass;
        hero->onMessage(platform, cActor::kMsgHit, platform->x, platform->y, kHarmDamage);
        BX_RETURN_IF_PENDING(kPass);
        hero->setState(kStateHurt);
        BX_RETURN_IF_PENDING(kPass);
        hero->speedY = jt::neg(Z::BOUNCE_SPEED);
        if (asHero) asHero->wallPush(dx, dy);
        return kPass;
    }
    if (onCarrier && ceiling) return kPass;
    if (onCarrier && floor && ground->speedY < 0) return kPass;
    if (floor) {
        if (isLandingState(hero->state)) hero->setState(kStateLanding);
        else if ((hero->flags & cActor::kFlagSliding) && hero->prevGroundId < 0 && asHero)
            asHero->landingSpeed = hero->speedY;
        return kAccept;
    }
    if (wall) {
        if (hero->state == 1 || hero->state == 132) cHero::s_wallContact = true;
        return ground && (ground->paramFlags & cActor::kParamFlagPolyline) && hero->moveY < 0 ? kStep : kAccept;
    }
    return kAccept;
}

}  // namespace

jint cActor::applyContact(cActor* other, jint kind, jint contactBits, jint dx, jint dy, bool) {
    BX_RETURN_IF_NULL(other, kAccept);
    switch (type) {
        case 1:
            if (isDying()) return kAccept;
            if (kind == 1)
                return classId() == CID_cHero ? static_cast<cHero*>(this)->contactReaction(other, contactBits)
                                              : kAccept;
            if (kind != 5) return kAccept;
            if (other->flags & kFlagSwitchedOff) return kPass;
            return heroSegmentContact(this, other, contactBits, dx, dy);
        case 36:
            if (kind != 5) return kAccept;
            cSubmarine::s_wallHit = 1;
            cSubmarine::s_wallX = dx;
            cSubmarine::s_wallY = dy;
            moveX = moveY = 0;
            return kPass;
        case 64:
            if (kind != 5) return kAccept;
            if ((contactBits & kDirFloor) && !(contactBits & 0x380)) {
                setState(kStateType64Landed);
                return kAccept;
            }
            return kPass;
        default:
            return kAccept;
    }
}

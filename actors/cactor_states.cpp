// Actor states: behaviour records {state, animation, duration ms, speed, next state} found by state,
// entering a state (events 18 and 10, the record's speed along the angle), setting one (with the
// record's animation or animation code), the per-type animation remaps, the animation player and its
// advance with the frame offsets of motion-from-animation actors.
// Invariant: behaviourRecord indexes table behaviourId of cGame::s_behaviours, or is -1.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint kAnimNone = -1, kAnimHide = -2, kAnimShow = -3, kAnimKeep = -4;

ObjectArray* behaviourTable(jint behaviourId) {
    ObjectArray* index = cGame::s_behaviours;
    if (!index || behaviourId < 0 || behaviourId >= index->length) return nullptr;
    Object* t = index->get(behaviourId);
    return t && t->classId() == CID_ObjectArray ? static_cast<ObjectArray*>(t) : nullptr;
}

ShortArray* behaviourRecordAt(ObjectArray* table, jint i) {
    if (!table || i < 0 || i >= table->length) return nullptr;
    Object* r = table->get(i);
    return r && r->classId() == CID_ShortArray ? static_cast<ShortArray*>(r) : nullptr;
}

// The sprite slot of an actor type; -1 for a type the map does not cover (types come from data).
jint spriteSlotOf(jint type) {
    ShortArray* map = Z::s_typeSprite;
    if (!map || type < 0 || type >= map->length) return -1;
    return map->get(type);
}

}  // namespace

jint cActor::findBehaviourRecord(jint s) const {
    ObjectArray* table = behaviourTable(behaviourId);
    if (!table) return -1;
    for (jint i = 0; i < table->length; ++i) {
        ShortArray* r = behaviourRecordAt(table, i);
        if (r && r->get(0) == s) return i;
    }
    return -1;
}

jint cActor::getBehaviourField(jint k) const {
    ShortArray* r = behaviourRecordAt(behaviourTable(behaviourId), behaviourRecord);
    return r ? r->get(k) : 0;
}

void cActor::setMotion(jint speed, jint a) {
    behaviourSpeed = speed;
    speedX = scaleByCos(speed, a);
    speedY = scaleBySin(speed, a);
}

void cActor::setAcceleration(jint a, jint dir) {
    accelX = scaleByCos(a, dir);
    accelY = scaleBySin(a, dir);
}

void cActor::setMotionAndAcceleration(jint speed, jint a, jint dir) {
    setMotion(speed, dir);
    setAcceleration(a, dir);
}

void cActor::setBehaviourSpeed(jint speed) {
    if (speed < 0) behaviourSpeed = speed;
    else setMotion(speed, angle);
}

void cActor::enterState(jint s) {
    onEvent(this, kEventStateLeft, 0, 0, state);
    BX_RETURN_IF_PENDING();
    const jint target = pendingState != -1 ? pendingState : s;
    stateTime = 0;
    stateEntryFrame = cGame::s_frameCounter;
    behaviourRecord = findBehaviourRecord(target);
    if (behaviourRecord != -1) {
        const jint speed = getBehaviourField(3) << 8;
        if (speed >= 0) setMotion(speed, angle);
        else behaviourSpeed = speed;
    } else {
        setMotion(0, angle);
    }
    previousState = state;
    state = target;
    onEvent(this, kEventStateEntered, 0, 0, target);
}

void cActor::setState(jint s) {
    pendingState = -1;
    enterState(s);
    BX_RETURN_IF_PENDING();
    const bool hadRecord = behaviourRecord != -1;
    if (hadRecord) {
        const jint animation = getBehaviourField(1);
        const jint duration = getBehaviourField(2);
        const jint loops = (duration < 0 || (duration == 0 && getBehaviourField(4) != -1)) ? 1 : -1;
        if (animation == kAnimHide) {
            flags |= kFlagHidden;
        } else if ((flags & kFlagHidden) && animation != kAnimNone) {
            chooseStateAnim(animation, loops);
        } else if (animation == kAnimShow) {
            flags &= ~kFlagHidden;
        } else if (animation != kAnimKeep) {
            chooseStateAnim(animation, loops);
        }
    }
    if (state == kStateDead) {
        if (!hadRecord) flags |= kFlagHidden;
        deactivate(true);
    }
}

void cActor::chooseStateAnim(jint animation, jint loops) {
    if (!player) return;
    if (flags & kFlagAnimMotion) {
        if (player->anim == animation) {
            animOffsetX = getFrameOffsetX() << 8;
            animOffsetY = getFrameOffsetY() << 8;
        } else {
            animOffsetX = animOffsetY = 0;
        }
    }
    jint chosen = animation;
    if (type == 1) {
        jint& i = cHero::s_aimIndex;
        switch (state) {
            case 113: chosen = (i + 15) * 2; break;
            case 114: chosen = i * 2 + 31; break;
            case 115:
            case 117: chosen = i * 2 + 11; break;
            case 116:
            case 118: chosen = (i + 6) * 2; break;
            case 108:
                if (i == 4) i = 3;
                chosen = i + 45;
                break;
            default: break;
        }
    } else if (type == 14) {
        const jint d = x >= Z::HALF_WIDTH ? x - Z::HALF_WIDTH : Z::HALF_WIDTH - x;
        if (animation == 0) chosen = (cGame::isKeyDown(2) ? 9 : 0) + 6 - jt::div(6 * d, 128000);
        else if (animation == 7) chosen = 8 - jt::div(d, 128000);
    } else if (type == 21 && animation == 0) {
        chosen = (Z::T156 < x && x < Z::T157) ? 1 : 0;
        loops = -1;
    }
    player->SetAnim(chosen, loops);
}

Bsprite* cActor::createAnimPlayer() {
    const jint slot = spriteSlotOf(type);
    if (slot < 0) return nullptr;
    if (slot < 64) cGame::s_spriteMask[slot >> 5] |= jt::shl(1, slot & 31);
    ObjectArray* sprites = cGame::s_sprites;
    Object* s = sprites && slot < sprites->length ? sprites->get(slot) : nullptr;
    if (!s || s->classId() != CID_Bsprite) return nullptr;
    auto* sprite = static_cast<Bsprite*>(s);
    player = Runtime::make<BXLibPlayer>(static_cast<ASprite*>(sprite), cGame::fixedToInt(x), cGame::fixedToInt(y));
    BX_RETURN_IF_NULL(player, nullptr);
    player->flags = param(4) & kFlagFlips;
    if (params && params->length >= 7) player->SetAnim(param(6), -1);
    return sprite;
}

void cActor::advanceAnimation() {
    BX_RETURN_IF_NULL(player);
    if (flags & kFlagAnimMotion) {
        animOffsetX = getFrameOffsetX() << 8;
        animOffsetY = getFrameOffsetY() << 8;
    }
    player->Update(cGame::s_frameTime);
}

IntArray* cActor::getAnimRect(IntArray* rect) {
    if (!player || player->anim < 0) return nullptr;
    computeFrameRect(rect);
    return rect;
}

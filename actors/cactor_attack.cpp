// Attacks between actors: slot 8 fills the attacker's rectangle by type, and attack sends the hit
// message to every actor of the target types that the rectangle touches. The target mask is one
// attack's: it is cleared whenever attack returns.
// Invariant: the walk is over a copy of the update list taken before the first message, so an actor
// a hit removes (the target or any other) never cuts the walk short, and one removed is not hit.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

jint cActor::s_targetAngle = 0;

namespace {

constexpr jint kHeavyDamage = 300, kHeavyDamageOnType32 = 50;

void clearTargetMask() {
    for (jint& m : cActor::s_targetMask) m = 0;
}

bool hasFrameData(const cActor* a) { return a->player && a->player->sprite && a->player->anim >= 0; }

// Types 8 never hit the hero while it is in these states.
bool heroSpared(const cActor* attacker, const cActor* o) {
    return attacker->type == 8 && o == cGame::s_hero && o->state >= 122 && o->state <= 124;
}

}  // namespace

bool cActor::isTargetType(jint t) {
    return t >= 0 && t < 128 && ((s_targetMask[t >> 5] >> (t & 31)) & 1) != 0;
}

void cActor::setTargetTypes(std::initializer_list<jint> types) {
    for (jint t : types)
        if (t >= 0 && t < 128) s_targetMask[t >> 5] |= jt::shl(1, t & 31);
}

IntArray* cActor::attackRect() {
    if (!s_attackRect) s_attackRect = Runtime::newIntArray(4);
    return s_attackRect;
}

cActor* cActor::attack(jint damage) {
    computeAttackRect();
    IntArray* rect = attackRect();
    if (Runtime::pending() || !rect) {
        clearTargetMask();
        return nullptr;
    }
    jint count = 0;
    for (cActor* a = listHead(kListUpdate); a; a = a->nextIn(kListUpdate)) ++count;
    // A local copy, found by the stack scan; attacks may nest through the messages they send.
    ObjectArray* walk = Runtime::newObjectArray(CID_cActor, count);
    if (!walk) {
        clearTargetMask();
        return nullptr;
    }
    jint n = 0;
    for (cActor* a = listHead(kListUpdate); a && n < count; a = a->nextIn(kListUpdate)) walk->set(n++, a);

    cActor* last = nullptr;
    for (jint i = 0; i < n; ++i) {
        auto* o = static_cast<cActor*>(walk->get(i));
        if (o == this || !o->isInList(kListUpdate) || !isTargetType(o->type)) continue;
        if (!rectsTouch(o->toWorldRect(o->localBox), rect)) continue;
        if (o->isDying() || o->state == kStateDead || o->hasFlag(kFlagHidden)) continue;
        if (heroSpared(this, o) || (o->type == 48 && o->state == 0)) continue;
        const jint d = (damage == kHeavyDamage && o->type == 32) ? kHeavyDamageOnType32 : damage;
        o->onMessage(this, kMsgHit, x, y, d);
        last = o;
        if (Runtime::pending()) break;
    }
    clearTargetMask();
    return last;
}

void cActor::computeAttackRect() {
    IntArray* r = attackRect();
    BX_RETURN_IF_NULL(r);
    switch (type) {
        case 36:
            getAFrameBoxRect(0, 0, 1, r);
            offsetRect(r);
            return;
        case 9:
        case 37:
        case 38: {
            IntArray* box = toWorldRect(localBox);
            BX_RETURN_IF_NULL(box);
            for (jint k = 0; k < 4; ++k) r->set(k, box->get(k));
            return;
        }
        case 51:
            getFrameBoxRect(0, r);
            offsetRect(r);
            return;
        default:
            // Without a frame to measure the rectangle stays as the last attacker left it.
            if (!hasFrameData(this)) return;
            getAnimRect(r);
            offsetRect(r);
            if (type == 61 && this == cHero::s_shotEffect) {
                // The hero's special shot reaches half its height above and below its frame.
                const jint half = (r->get(3) - r->get(1)) / 2;
                r->set(1, r->get(1) - half);
                r->set(3, r->get(3) + half);
            }
            return;
    }
}

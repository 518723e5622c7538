// The five actor lists and what moves actors between them: sorted insertion (update order in list 3,
// draw depth in list 4, append elsewhere; the newest first among equals), removal, activation and
// deactivation, and cActor's own update with its common prelude and the per-type dispatch.
// Invariant: an actor is linked into list i exactly while inList[i] is set; removal of an actor that
// is not in the list changes nothing.
#include "actors/cactor.h"

#include "actors/cenemy.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

cActor* asActor(Object* o) { return static_cast<cActor*>(o); }

bool validList(jint list) { return list >= 0 && list < cActor::kListCount; }

}  // namespace

cActor* cActor::listHead(jint list) {
    if (!s_lists || !validList(list)) return nullptr;
    return asActor(s_lists->get(list));
}

cActor* cActor::nextIn(jint list) const { return next ? asActor(next->get(list)) : nullptr; }

bool cActor::isInList(jint list) const { return inList && validList(list) && inList->get(list); }

bool cActor::listOrderBefore(cActor* a, cActor* b, jint list) {
    if (list == kListUpdate) return a->updateOrder > b->updateOrder;
    if (list == kListDraw) return a->getDrawDepth() > b->getDrawDepth();
    return true;
}

jint cActor::getDrawDepth() {
    if (cGame::s_altPlayerLevel) return y;
    if (flags & kFlagFront) return 100;
    if (flags & kFlagBehind) return 0;
    switch (type) {
        case 33: return player && player->frame == 0 ? 49 : 50;
        case 30: return 49;
        case 29:
        case 53: return 48;
        case 36: return 101;
        default: return 50;
    }
}

void cActor::addToList(jint list) {
    BX_RETURN_IF_NULL(s_lists);
    BX_RETURN_IF_NULL(inList);
    if (!validList(list) || inList->get(list)) return;
    inList->set(list, true);
    cActor* before = nullptr;
    cActor* at = listHead(list);
    while (at && listOrderBefore(this, at, list)) {
        before = at;
        at = at->nextIn(list);
    }
    prev->set(list, before);
    next->set(list, at);
    if (before) before->next->set(list, this);
    else s_lists->set(list, this);
    if (at) at->prev->set(list, this);
}

void cActor::removeFromList(jint list) {
    if (!s_lists || !isInList(list)) return;
    cActor* before = asActor(prev->get(list));
    cActor* after = asActor(next->get(list));
    if (before) before->next->set(list, after);
    else s_lists->set(list, after);
    if (after) after->prev->set(list, before);
    inList->set(list, false);
    next->set(list, nullptr);
    prev->set(list, nullptr);
}

void cActor::removeFromAllLists() {
    for (jint i = 0; i < kListCount; ++i)
        if (isInList(i)) removeFromList(i);
}

void cActor::clearList(jint list) {
    while (cActor* head = listHead(list)) {
        if (!head->isInList(list)) {   // a head that does not know it: cut the list off
            s_lists->set(list, nullptr);
            return;
        }
        head->removeFromList(list);
    }
}

void cActor::clearAllLists() {
    for (jint i = 0; i < kListCount; ++i) clearList(i);
}

cActor* cActor::findInList(jint wanted, jint list) {
    for (cActor* a = listHead(list); a; a = a->nextIn(list))
        if (a->id == wanted) return a;
    return nullptr;
}

void cActor::paintList(jint list) {
    for (cActor* a = listHead(list); a; a = a->nextIn(list)) {
        a->paint();
        BX_RETURN_IF_PENDING();
    }
}

void cActor::activate() {
    if (flags & (kFlagActive | kFlagParked)) return;
    flags |= kFlagActive;
    flags &= ~kFlagKilled;
    addToList(kListUpdate);
    if (flags & kFlagGround) flags &= ~kFlagNoViewWake;
    onMessage(this, kMsgActivated, 0, 0, 0);
}

void cActor::deactivate(bool kill) {
    const bool kept = type == 5 && (param(8) == 2 || (param(8) == 0 && cGame::s_level == 9));
    const bool wasActive = (flags & kFlagActive) != 0;
    if (wasActive) {
        onMessage(this, kMsgDeactivated, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        if (!kept && type != 51) removeFromList(kListUpdate);
    }
    if (kill) {
        flags |= kFlagKilled;
        onMessage(this, kMsgKilled, 0, 0, 0);
        BX_RETURN_IF_PENDING();
        if (flags & kFlagSpawned) cGame::removeActor(this);
    }
    if (wasActive && kept) return;
    if (type != 51) flags &= ~kFlagActive;
}

void cActor::update() {
    if (!(flags & kFlagActive)) return;
    updateCommon();
    BX_RETURN_IF_PENDING();
    updateByType();
}

bool cActor::isAnimOver() const {
    if (!player || player->anim < 0) return true;
    return player->loops >= 0 && player->finished != 0;
}

void cActor::updateCommon() {
    stateTime += cGame::s_frameTime;
    if (behaviourRecord != -1 && getBehaviourField(2) != 0) {
        if (stateTime < getBehaviourField(2)) return;
    } else if (!player || !isAnimOver()) {
        return;
    }
    jint nextState = pendingState;
    if (nextState == -1) {
        if (behaviourRecord == -1) return;
        nextState = getBehaviourField(4);
        if (nextState == -1) return;
    }
    setState(nextState);
}

void cActor::updateType13() {
    if (!cGame::s_pulseActive) return;
    if (++cGame::s_pulseFrames >= 21) {
        cGame::s_pulseActive = 0;
        cGame::s_pulseFrames = 0;
    }
}

void cActor::updateByType() {
    switch (type) {
        case 5: return updateTrigger();
        case 6: return updateType6();
        case 7: return updateType7();
        case 10: return updateType10();
        case 12: return updateType12();
        case 11: return updateCameraZone();
        case 13: return updateType13();
        case 18: return updateType18();
        case 22: return updateType22();
        case 24: return updateType24();
        case 29: return updateType29();
        case 30: return updateType30();
        case 35: return updateType35();
        // The race's obstacles and collectables (its racers are enemies).
        case 19: return updateType19();
        case 20: return updateType20();
        case 39: return updateType39();
        case 40: return updateType40();
        case 42: return updateType42();
        case 43: return updateType43();
        case 53: return updateType53();
        case 58: return updateType58();
        case 61: return updateEffect();
        case 63: return updateSpawner();
        case 64: return updateType64();
        default: return;
    }
}

void cActor::advanceAnimations(jint list) {
    for (cActor* a = listHead(list); a; a = a->nextIn(list))
        if (a->player) a->advanceAnimation();
}

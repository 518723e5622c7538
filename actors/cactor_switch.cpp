// Type 10, the switch: an invisible box that fires once its condition holds (record field 8): the
// followed actor inside it, or a count of frames in which watched actors are inside it or all gone.
// Firing deactivates it for good and wakes or switches off up to three actors by id. Ids come from
// level data: a missing actor is passed over.
#include "actors/cactor.h"

#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

enum Condition : jint { kFollowedInside = 0, kWatchedInside = 1, kWatchedGone = 4, kFollowedOnGround = 7 };
enum Action : jint { kWake = 0, kKill = 2, kNothing = 5 };
constexpr jint kFlagSwitchedBy = 32;

bool alive(const cActor* a) { return !a->hasFlag(cActor::kFlagSpawned) && !a->hasFlag(cActor::kFlagKilled); }

// The counting conditions: whether it holds in this frame.
bool watchedHolds(cActor* sw, jint condition) {
    IntArray* box = sw->toWorldRect(sw->localBox);
    for (jint k = 10; k <= 12; ++k) {
        cActor* a = cGame::findActorById(sw->param(k));
        if (!a) continue;
        if (condition == kWatchedGone) {
            if (alive(a)) return false;
            continue;
        }
        if (a == cGame::s_hero && a->classId() == CID_cHero && static_cast<cHero*>(a)->energy < 1) continue;
        if (cActor::pointInRect(a->x, a->y, box)) return true;
    }
    return condition == kWatchedGone;
}

void fire(cActor* sw) {
    sw->deactivate(true);
    BX_RETURN_IF_PENDING();
    const jint action = sw->param(16);
    for (jint k = 13; k <= 15; ++k) {
        const jint id = sw->param(k);
        if (action == kNothing) return;
        if (action == kWake) {
            cGame::wakeActorById(id);
        } else if (cActor* a = cGame::deactivateActorById(id, action == kKill)) {
            a->setFlag(kFlagSwitchedBy);
        }
        BX_RETURN_IF_PENDING();
    }
}

}  // namespace

void cActor::updateType10() {
    if (!hasFlag(kFlagActive)) return;
    const jint condition = param(8);
    switch (condition) {
        case kFollowedInside:
        case kFollowedOnGround: {
            cActor* followed = cGame::s_cameraFollow;
            if (!followed || followed->hasFlag(kFlagHeld) || !containsPlayer()) return;
            if (condition == kFollowedOnGround && !(cGame::s_hero && cGame::s_hero->isOnGround())) return;
            return fire(this);
        }
        case kWatchedInside:
        case kWatchedGone: {
            if (!watchedHolds(this, condition)) return;
            // The count lives in the record: field 9 drops once per frame the condition holds.
            if (!params || params->length <= 9) return fire(this);
            const jint left = params->get(9) - 1;
            params->set(9, jt::i2s(left));
            if (left < 0) fire(this);
            return;
        }
        default:
            return;
    }
}

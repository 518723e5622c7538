// The actor world for movement and collision: plain boxes (type 3: no sprite, no behaviour, so only
// the movement and the contacts move them) on level polylines, and frames of physics alone (the
// update walk's movement, contact pass and move, without the behaviours) for actors whose
// behaviours would move them too.
#pragma once

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"

class MotionWorld : public ActorWorld {
protected:
    static constexpr int kBoxType = 3;
    static constexpr int kFalling = cActor::kFlagGravity | cActor::kFlagGround | cActor::kFlagKeptActive;
    static constexpr int kSliding = cActor::kFlagGround | cActor::kFlagKeptActive;

    static std::string boxRecord(int id, int x, int y, int flags = kFalling) {
        return record({kBoxType, id, x, y, flags, 0});
    }

    // The box in whole pixels around the position; the swept rectangle follows.
    static void setBox(cActor* a, jint l, jint t, jint r, jint b) {
        a->localBox->fill({l << 8, t << 8, r << 8, b << 8});
        a->refreshCollisionRect();
    }

    // The platform actor of polyline j.
    static cActor* platformOf(jint j) {
        for (jint i = 0; i < cGame::s_actorCount; ++i)
            if (cActor* a = cGame::actorAt(i); a->type == 2 && a->param(7) == j) return a;
        return nullptr;
    }

    // A speed (8.8 px/s) that moves `pixels` in one 50 ms frame.
    static jint speedFor(int pixels) { return pixels * 256 * 1000 / 50; }

    // The y of an actor whose box bottom rests half a pixel above a line at lineY (pixels).
    static jint restingY(int lineY, int boxBottom) { return ((lineY - boxBottom) << 8) - 128; }

    // One frame of movement and contacts over the update list, in its order, behaviours left out.
    static void physicsFrame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            cActor::s_heroCarried = 0;
            for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate)) {
                if (a->updateOrder >= 10000) continue;
                a->updateMovement();
                if ((a->flags & (cActor::kFlagGround | cActor::kFlagContactKind)) &&
                    !(a->flags & cActor::kFlagNoMove) && a->updateOrder < 200)
                    a->resolveContacts();
                a->applyMove();
            }
            ASSERT_EQ(Runtime::getPendingException(), nullptr);
        }
    }
};

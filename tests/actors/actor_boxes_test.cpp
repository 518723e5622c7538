// Actor boxes and view tests over the synthetic sprite: the frame rectangle with the player's flip,
// frame boxes, the collision box by type, the out-of-view tests (an actor without an animation is
// tested at its position, never at a rectangle someone else left), and states that restart or keep
// their animation.
#include <gtest/gtest.h>

#include <vector>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "sprites/bxlib_player.h"
#include "tests/support/actor_world.h"

namespace {

using ActorBoxesTest = ActorWorld;

std::vector<jint> px(IntArray* r) {
    std::vector<jint> v;
    for (jint i = 0; r && i < 4; ++i) v.push_back(r->get(i) >> 8);
    return v;
}

TEST_F(ActorBoxesTest, FrameRectanglesAndBoxesFollowTheFlip) {
    installSprite(1, 2, 2);
    startLevel(record({4, 1, 500, 300, 0, 0, 0}) + record({4, 2, 700, 300, 1, 0, 0}));
    IntArray* r = Runtime::newIntArray(4);
    struct Case {
        jint id;
        std::vector<jint> rect, box0, box1;
    };
    for (const Case& c : {Case{1, {-10, -40, 10, 0}, {-10, -40, 10, 0}, {-5, -30, 5, -20}},
                          Case{2, {-10, -40, 10, 0}, {-10, -40, 10, 0}, {-5, -30, 5, -20}}}) {
        SCOPED_TRACE(c.id);
        cActor* a = actorById(c.id);
        ASSERT_NE(a->getAnimRect(r), nullptr);
        EXPECT_EQ(px(r), c.rect);
        a->getFrameBoxRect(0, r);
        EXPECT_EQ(px(r), c.box0);
        a->getFrameBoxRect(1, r);
        EXPECT_EQ(px(r), c.box1);
        EXPECT_EQ(px(a->localBox), c.rect) << "type 4's box is its frame rectangle";
    }
}

TEST_F(ActorBoxesTest, FlippedFrameOfAnOffCentreRectangleIsMirrored) {
    installSprite(1, 1, 1);
    startLevel(record({4, 1, 500, 300, 1, 0, 0}));
    // Move the frame's rectangle off centre: 5 pixels right of the point.
    cActor* a = actorById(1);
    auto* s = static_cast<Bsprite*>(a->player->sprite);
    if (s->frameRects->elementSize() == 2) static_cast<ShortArray*>(s->frameRects)->set(0, 5);
    else static_cast<ByteArray*>(s->frameRects)->set(0, 5);
    IntArray* r = Runtime::newIntArray(4);
    a->getAnimRect(r);
    EXPECT_EQ(px(r), (std::vector<jint>{-25, -40, -5, 0}));
}

TEST_F(ActorBoxesTest, OutsideViewUsesTheFrameOrThePositionNeverAStaleRectangle) {
    installSprite(1, 1, 1);
    startLevel(record({4, 1, 400, 240, 0, 0, 0}) + record({5, 2, 3000, 1500, 0, 0, 50, 50}));
    cGame::s_cameraX = cGame::s_cameraY = 0;
    cGame::s_cameraLock = 1;
    cGame::updateCamera();   // view (0, 0) .. (799, 479)
    cActor* visible = actorById(1);
    cActor* zone = actorById(2);   // no player
    ASSERT_EQ(zone->player, nullptr);
    EXPECT_FALSE(visible->isOutsideView(0));
    // The visible actor's test leaves its rectangle in the search rectangle; the zone far away
    // must not be judged by it.
    EXPECT_TRUE(zone->isOutsideView(0));
    zone->x = 810 << 8;
    zone->y = 100 << 8;
    EXPECT_TRUE(zone->isOutsideView(0));
    EXPECT_FALSE(zone->isOutsideView(20));
    // Touching the edge counts as inside.
    visible->x = (799 + 10) << 8;
    EXPECT_FALSE(visible->isOutsideView(0));
    visible->x = (800 + 10) << 8;
    EXPECT_TRUE(visible->isOutsideView(0));
    // Vertically: the band is the view moved down by the margin.
    visible->x = 400 << 8;
    visible->y = 70 << 8;   // rectangle 30..70
    EXPECT_TRUE(visible->isOutsideViewVertically(80));
    EXPECT_FALSE(visible->isOutsideViewVertically(50));
}

TEST_F(ActorBoxesTest, StatesPlayTheirAnimationsOnceOrForEver) {
    installSprite(1, 5, 2);
    startLevel(record({4, 1, 400, 240, cActor::kFlagKeptActive, 0}));
    cActor* a = actorById(1);
    ASSERT_EQ(a->behaviourId, 1);
    // {151, 3, 1000, 0, 153}: timed, so looping; {5, 4, 0, 0, 1}: until its animation ends, once.
    a->setState(151);
    EXPECT_EQ(a->player->anim, 3);
    EXPECT_LT(a->player->loops, 0);
    const jint entered = a->stateTime;
    a->player->frame = 1;
    a->setState(151);   // re-entered: the time restarts, the running animation stays
    EXPECT_EQ(a->stateTime, entered);
    EXPECT_EQ(a->player->frame, 1);
    a->pendingState = 12;
    a->setState(5);
    EXPECT_EQ(a->state, 5) << "setState enters its own state, not the pending one";
    EXPECT_EQ(a->player->anim, 4);
    EXPECT_EQ(a->player->loops, 0) << "played once";
    step(4);   // two frames of 62 ms: finished by the fourth advance, seen by the next update
    EXPECT_EQ(a->state, 5);
    step(1);
    EXPECT_EQ(a->state, 1);
    a->pendingState = 150;
    a->enterState(5);
    EXPECT_EQ(a->state, 150) << "enterState alone enters the pending state";
}

}  // namespace

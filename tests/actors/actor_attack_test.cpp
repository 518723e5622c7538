// Attacks and target choice over hand-placed actors: attack's filters and damage rule, the mask
// cleared after every attack, a walk that survives targets removed by the hits, and the hero's
// target search by class, distance and aiming window.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "tests/support/actor_world.h"

namespace {

struct Hit {
    jint id, damage;
    bool operator==(const Hit&) const = default;
};
std::vector<Hit> g_hits;
cActor* g_removedByHit = nullptr;   // taken out of every list by the next hit

// An actor that records the hits it receives and may remove another actor when hit.
class Target final : public cActor {
public:
    void onMessage(cActor*, jint message, jint, jint, jint c) override {
        if (message == kMsgHit) g_hits.push_back({id, c});
        if (g_removedByHit) {
            g_removedByHit->removeFromAllLists();
            g_removedByHit = nullptr;
        }
    }
};

class ActorAttackTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        g_hits.clear();
        g_removedByHit = nullptr;
        cHero::s_aimDegrees = -1;
    }

    // An actor of `type` with the box +-10 pixels around (x, y) in `list`.
    template <class T = Target>
    static T* place(jint type, jint id, jint xPx, jint yPx, jint list = cActor::kListUpdate) {
        T* a = Runtime::make<T>();
        EXPECT_NE(a, nullptr);
        a->type = type;
        a->id = id;
        a->x = xPx << 8;
        a->y = yPx << 8;
        a->localBox->fill({-10 << 8, -10 << 8, 10 << 8, 10 << 8});
        a->addToList(list);
        return a;
    }
    static bool maskIsClear() {
        for (jint m : cActor::s_targetMask)
            if (m != 0) return false;
        return true;
    }
};

TEST_F(ActorAttackTest, AttackHitsOnlyLiveVisibleTargetsOfTheMaskInReach) {
    // Type 9 attacks with its own world box: (90, 90) .. (110, 110).
    cActor* attacker = place<cActor>(9, 1, 100, 100);
    struct Case {
        const char* what;
        jint type, state, flags, xPx;
        bool inMask;
        jint damage, received;   // -1: not hit
    };
    const std::vector<Case> cases = {
        {"a target type inside", 4, 0, 0, 100, true, 10, 10},
        {"a type outside the mask", 4, 0, 0, 100, false, 10, -1},
        {"a type of the mask's upper words", 100, 0, 0, 100, true, 10, 10},
        {"boxes touching edge to edge", 4, 0, 0, 120, true, 10, 10},
        {"one pixel apart", 4, 0, 0, 121, true, 10, -1},
        {"dying (state 21)", 4, 21, 0, 100, true, 10, -1},
        {"dead (state -2)", 4, -2, 0, 100, true, 10, -1},
        {"hidden (flag 8)", 4, 0, cActor::kFlagHidden, 100, true, 10, -1},
        {"type 48 resting in state 0", 48, 0, 0, 100, true, 10, -1},
        {"type 48 awake", 48, 1, 0, 100, true, 10, 10},
        {"type 32 takes 50 of a 300 hit", 32, 0, 0, 100, true, 300, 50},
        {"type 32 takes a 299 hit whole", 32, 0, 0, 100, true, 299, 299},
        {"another type takes 300 whole", 4, 0, 0, 100, true, 300, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_hits.clear();
        Target* t = place(c.type, 2, c.xPx, 100);
        t->state = c.state;
        t->flags = c.flags;
        if (c.inMask) cActor::setTargetTypes({c.type});
        cActor* result = attacker->attack(c.damage);
        if (c.received < 0) {
            EXPECT_TRUE(g_hits.empty());
            EXPECT_EQ(result, nullptr);
        } else {
            EXPECT_EQ(g_hits, (std::vector<Hit>{{2, c.received}}));
            EXPECT_EQ(result, t);
        }
        EXPECT_TRUE(maskIsClear());
        // The mask was one attack's: the same attack again hits nothing.
        g_hits.clear();
        EXPECT_EQ(attacker->attack(c.damage), nullptr);
        EXPECT_TRUE(g_hits.empty());
        t->removeFromAllLists();
    }
}

TEST_F(ActorAttackTest, TargetsRemovedByHitsNeverCutTheWalkShort) {
    cActor* attacker = place<cActor>(9, 1, 100, 100);
    std::vector<Target*> targets;
    for (jint id : {10, 11, 12}) targets.push_back(place(4, id, 100, 100));
    auto target = [&](jint id) { return *std::find_if(targets.begin(), targets.end(), [&](auto* t) { return t->id == id; }); };

    struct Case {
        const char* what;
        size_t removed;                // position in the list of the actor the first hit removes
        std::vector<size_t> hit;       // positions hit
    };
    for (const Case& c : {Case{"the first hit removes its successor", 1, {0, 2}},
                          Case{"the first hit removes the last", 2, {0, 1}},
                          Case{"the first hit removes the target itself", 0, {0, 1, 2}}}) {
        SCOPED_TRACE(c.what);
        std::vector<jint> order;   // ids in update-list order
        for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate))
            if (a != attacker) order.push_back(a->id);
        ASSERT_EQ(order.size(), 3u);
        g_hits.clear();
        g_removedByHit = target(order[c.removed]);
        cActor::setTargetTypes({4});
        cActor* last = attacker->attack(7);
        std::vector<Hit> expected;
        for (size_t p : c.hit) expected.push_back({order[p], 7});
        EXPECT_EQ(g_hits, expected);
        EXPECT_EQ(last, target(order[c.hit.back()]));
        target(order[c.removed])->addToList(cActor::kListUpdate);   // back for the next case
    }
}

TEST_F(ActorAttackTest, BestTargetByClassThenEstimatedDistanceInsideTheAim) {
    struct Spot {
        jint type, dx, dy, word11;
    };
    struct Case {
        const char* what;
        jint heroState;
        std::vector<Spot> spots;
        int best;    // index into spots, -1 none
        int first;   // findTarget's answer
        jint level = 0;
    };
    const std::vector<Case> cases = {
        {"(0, 90) is nearer than (100, 0) by the estimate", 0, {{4, 100, 0, 0}, {4, 0, 90, 0}}, 1, 0},
        {"class 2 beats a nearer type 41", 0, {{41, 10, 0, 0}, {4, 300, 0, 0}}, 1, 0},
        {"type 47 ranks with type 41: the nearer wins", 0, {{41, 200, 0, 0}, {47, 50, 0, 1}}, 1, 0},
        {"type 47 with word 11 at 0 ranks last", 0, {{47, 5, 0, 0}, {41, 200, 0, 0}}, 1, 0},
        {"equal distances keep the first found", 0, {{4, 50, 0, 0}, {4, -50, 0, 0}}, 0, 0},
        {"a long shot aims right: behind is out, 31 degrees low only in the wide window", 113,
         {{4, -100, 0, 0}, {4, 100, 60, 0}, {4, 300, -50, 0}}, 2, 1},
        {"nothing in the aim", 113, {{4, -100, 0, 0}}, -1, -1},
        {"190 pixels lower is nearest elsewhere", 0, {{4, 0, 190, 0}, {4, 100, 150, 0}}, 0, 0},
        {"but out of vertical reach in level 5", 0, {{4, 0, 190, 0}, {4, 100, 150, 0}}, 1, 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chooseLevel(c.level);
        cActor::clearAllLists();
        auto* hero = Runtime::make<cHero>();
        ASSERT_NE(hero, nullptr);
        hero->initFromParams(1, nullptr);
        hero->x = hero->y = 1000 << 8;
        hero->state = c.heroState;
        hero->addToList(cActor::kListDraw);
        cGame::s_hero = hero;
        cGame::s_cameraFollow = hero;
        // Actors of one depth join the draw list at its head: placed last to first, they are
        // listed in the order of the table.
        std::vector<cActor*> placed(c.spots.size());
        for (size_t i = c.spots.size(); i-- > 0;) {
            const Spot& s = c.spots[i];
            cActor* a = place<cActor>(s.type, 20 + static_cast<jint>(i), 1000 + s.dx, 1000 + s.dy, cActor::kListDraw);
            a->params = Runtime::newShortArray(12);
            a->params->set(11, static_cast<jshort>(s.word11));
            placed[i] = a;
        }
        std::vector<cActor*> listed;
        for (cActor* a = cActor::listHead(cActor::kListDraw); a; a = a->nextIn(cActor::kListDraw))
            if (a != hero) listed.push_back(a);
        ASSERT_EQ(listed, placed);
        cActor::setTargetTypes({4, 41, 47});
        EXPECT_EQ(cHero::findBestTarget(hero), c.best < 0 ? nullptr : placed[c.best]);
        EXPECT_EQ(cHero::findTarget(hero), c.first < 0 ? nullptr : placed[c.first]);
        for (jint& m : cActor::s_targetMask) m = 0;
    }
}

TEST_F(ActorAttackTest, HeroLongShotsReachTheViewEdgeItFaces) {
    auto* hero = Runtime::make<cHero>();
    ASSERT_NE(hero, nullptr);
    hero->initFromParams(1, nullptr);
    hero->x = 500 << 8;
    cGame::s_viewRect->fill({100 << 8, 40 << 8, 900 << 8, 520 << 8});
    IntArray* r = cActor::attackRect();
    struct Case {
        const char* what;
        jint state;
        bool flipped;
        std::vector<jint> rect;   // pixels
    };
    r->fill({1 << 8, 2 << 8, 3 << 8, 4 << 8});
    for (const Case& c : {Case{"facing right", 113, false, {500, 40, 900, 520}},
                          Case{"facing left", 117, true, {100, 40, 500, 520}},
                          Case{"another state keeps left and right", 1, false, {100, 40, 500, 520}}}) {
        SCOPED_TRACE(c.what);
        hero->state = c.state;
        hero->player = nullptr;
        if (c.flipped) {
            // The flip lives in the player; a bare one carries it.
            hero->player = Runtime::make<BXLibPlayer>();
            hero->player->flags = 1;
        }
        hero->computeAttackRect();
        std::vector<jint> px;
        for (jint k = 0; k < 4; ++k) px.push_back(r->get(k) >> 8);
        EXPECT_EQ(px, c.rect);
    }
}

TEST_F(ActorAttackTest, StepToTheAttackPointStopsAtABlockingPolyline) {
    // The long shot's rectangle spans (500, 40) .. (900, 520): its bottom centre is (700, 520).
    cGame::s_viewRect->fill({100 << 8, 40 << 8, 900 << 8, 520 << 8});
    // One polyline: a wall from (600, 0) to (600, 1000), offset by its platform at (0, 0).
    cGame::s_polyCount = 1;
    cGame::s_polyPoints = Runtime::newObjectArray(CID_IntArray, 1);
    IntArray* wall = Runtime::newIntArray(4);
    wall->fill({600 << 8, 0, 600 << 8, 1000 << 8});
    cGame::s_polyPoints->set(0, wall);
    cGame::s_polyFlags = Runtime::newIntArray(1);
    cActor* platform = place<cActor>(2, 50, 0, 0, cActor::kListLevel);
    platform->x = platform->y = 0;
    platform->paramFlags = 2;
    platform->params = Runtime::newShortArray(8);   // record word 7: polyline 0

    struct Case {
        const char* what;
        jint polyFlags, segment;
        jint endX, endY;   // pixels
    };
    for (const Case& c : {Case{"a blocking wall stops the step", 0x2000, 0, 600, 360},
                          Case{"so does the other blocking bit", 0x4000, 0, 600, 360},
                          Case{"a wall without them is passed", 0x100, 0, 700, 520},
                          Case{"a segment the polyline lacks is none", 0x2000, 1, 700, 520}}) {
        SCOPED_TRACE(c.what);
        auto* hero = Runtime::make<cHero>();
        hero->initFromParams(1, nullptr);
        hero->state = 113;
        hero->x = 500 << 8;
        hero->y = 200 << 8;
        hero->contactFlags = c.segment << 16;
        cGame::s_polyFlags->set(0, c.polyFlags);
        hero->moveToAttackPoint(hero->x, hero->y);
        EXPECT_EQ(hero->x >> 8, c.endX);
        EXPECT_EQ(hero->y >> 8, c.endY);
    }
}

}  // namespace

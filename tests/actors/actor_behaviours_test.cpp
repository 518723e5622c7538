// Behaviours of the level's props through the play step: the hook carriage's path (a vertical one
// leaves the height alone), the geyser's slanted updraft (an empty one when its top and bottom
// agree) and the rocks it throws, which drift down through it and fall freely below it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "tests/support/actor_world.h"

namespace {

using Lifts = std::vector<std::pair<jint, jint>>;
Lifts g_lifts;   // message 33 and its b, per message

class LiftProbe final : public cHero {
public:
    void onMessage(cActor*, jint message, jint, jint b, jint) override {
        if (message == 33) g_lifts.push_back({message, b});
    }
};

class ActorBehavioursTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        g_lifts.clear();
    }

    static LiftProbe* placeHero(jint x, jint y) {
        auto* hero = Runtime::make<LiftProbe>();
        EXPECT_NE(hero, nullptr);
        hero->type = 1;
        hero->id = 1;
        hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
        hero->x = x << 8;
        hero->y = y << 8;
        hero->refreshCollisionRect();
        cGame::s_hero = hero;
        return hero;
    }
    // A geyser at (400, 400): top at 400 + top, bottom at 400 + bottom, sides at 300 and 500, rocks
    // from 350 to 500 (the sides slant in by 50 pixels at the top).
    static std::string geyser(jint top, jint bottom) {
        return record({6, 30, 400, 400, 0, 0, 0, -50, top, 100, 0, -100, bottom, 100});
    }
};

TEST_F(ActorBehavioursTest, CarriagePathGivesTheHeightForAnXAndAVerticalOneKeepsIt) {
    struct Case {
        const char* what;
        jint x0, y0, x1, y1, x, y, expectedY;
    };
    const Case cases[] = {
        {"half way along a slope", 100, 100, 300, 200, 200, 0, 150},
        {"at the start", 100, 100, 300, 200, 100, 0, 100},
        {"a vertical path", 100, 100, 100, 400, 100, 250, 250},
        {"a path of no length", 100, 100, 100, 100, 100, 70, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* carriage = Runtime::make<cActor>();
        ASSERT_NE(carriage, nullptr);
        carriage->type = 7;
        carriage->typeData = Runtime::newIntArray(5);
        carriage->typeData->fill({c.x0 << 8, c.y0 << 8, c.x1 << 8, c.y1 << 8, 1});
        carriage->x = c.x << 8;
        carriage->y = c.y << 8;
        carriage->moveType7();
        EXPECT_EQ(carriage->y, c.expectedY << 8);
    }
}

TEST_F(ActorBehavioursTest, GeyserLiftsTheHeroInsideItsSlantedRegionOnly) {
    struct Case {
        jint x, y;
        bool lifted;
    };
    const Case cases[] = {
        {400, 250, true},  {310, 390, true},  {310, 130, false},  // the side slants in near the top
        {250, 300, false}, {400, 90, false},  {400, 480, true},   // up to 90 below the bottom
        {400, 500, false},
    };
    startLevel(geyser(-300, 0), {}, 1600, 960);
    LiftProbe* hero = placeHero(0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        hero->x = c.x << 8;
        hero->y = c.y << 8;
        g_lifts.clear();
        step(1);
        const Lifts expected = c.lifted ? Lifts{{33, 100 << 8}} : Lifts{};
        EXPECT_EQ(g_lifts, expected);
    }
    // Rising through the top stops the hero there.
    hero->x = 400 << 8;
    hero->y = 130 << 8;
    hero->refreshCollisionRect();
    hero->speedY = -300 << 8;
    step(1);
    EXPECT_EQ(hero->speedY, 0);
}

TEST_F(ActorBehavioursTest, GeyserWithEqualTopAndBottomIsAnEmptyUpdraft) {
    startLevel(geyser(0, 0), {}, 1600, 960);
    for (jint y : {399, 400, 401, 450}) {
        placeHero(400, y);
        step(1);
    }
    EXPECT_TRUE(g_lifts.empty());
}

TEST_F(ActorBehavioursTest, GeyserRockRisesDriftsThroughTheUpdraftAndFallsBelowIt) {
    startLevel(geyser(-300, 0), {}, 1600, 960);
    placeHero(1200, 900);
    cActor* rock = nullptr;
    for (int i = 0; i < 45 && !rock; ++i) {
        step(1);
        for (jint k = 0; k < cGame::s_actorCount; ++k)
            if (actor(k)->type == 58) rock = actor(k);
    }
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(cGame::s_frameCounter + 1, 40) << "every 2000 ms, the level start's frame counted";
    EXPECT_GE(rock->x, 350 << 8);
    EXPECT_LT(rock->x, 500 << 8);
    EXPECT_EQ(rock->linked, actorById(30));
    // Up first, then down with gravity until it passes the top; then it drifts at 120 px/s.
    jint highest = rock->y;
    int frames = 0;
    for (; frames < 200 && rock->hasFlag(cActor::kFlagGravity); ++frames) {
        step(1);
        highest = std::min(highest, rock->y);
    }
    EXPECT_LT(highest, 60 << 8);
    EXPECT_GT(rock->y, 100 << 8);
    EXPECT_EQ(rock->speedY, 120 << 8);
    for (frames = 0; frames < 400 && rock->linked; ++frames) step(1);
    EXPECT_EQ(rock->linked, nullptr);
    EXPECT_GT(rock->y, 400 << 8);
    EXPECT_TRUE(rock->hasFlag(cActor::kFlagGravity));
}

}  // namespace

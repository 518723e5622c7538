// The level geometry item read into polylines and their platform actors: points relative to the
// first, segment angles, the platform's record and box, the attribute values before the flag word;
// a polyline with no segment skipped; counts that do not fit the item refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"
#include "tests/support/log_capture.h"

namespace {

using LevelGeometryTest = ActorWorld;

std::vector<jint> values(IntArray* a) {
    std::vector<jint> v;
    for (jint i = 0; a && i < a->length; ++i) v.push_back(a->get(i));
    return v;
}

TEST_F(LevelGeometryTest, PolylinesBecomePlatformsAndOnePointLinesAreSkipped) {
    LogCapture log;
    // M = 2: the first attribute is dropped, the second is the flag word.
    startLevel("", geometry({{{7, 3}, {{100, 300}}},
                             {{8, 5}, {{100, 300}, {200, 300}, {200, 200}, {50, 250}}}},
                            2));
    EXPECT_TRUE(log.contains("polyline 0 has 1 point(s)"));
    ASSERT_EQ(cGame::s_polyCount, 1);
    EXPECT_EQ(cGame::s_polyFlags->get(0), 5);
    EXPECT_EQ(values(static_cast<IntArray*>(cGame::s_polyPoints->get(0))),
              (std::vector<jint>{0, 0, 100 << 8, 0, 100 << 8, -100 << 8, -50 << 8, -50 << 8}));
    EXPECT_EQ(values(static_cast<IntArray*>(cGame::s_polyAngles->get(0))),
              (std::vector<jint>{cGame::atan2(100 << 8, 0), cGame::atan2(0, -100 << 8), cGame::atan2(-150 << 8, 50 << 8)}));
    ASSERT_EQ(cGame::s_actorCount, 1);
    cActor* platform = actor(0);
    EXPECT_EQ(platform->type, 2);
    EXPECT_EQ(platform->x, 100 << 8);
    EXPECT_EQ(platform->y, 300 << 8);
    EXPECT_EQ(platform->param(7), 0);
    // Box from (50 - 100 - 1, 200 - 300 - 1), 152 wide and 102 high.
    EXPECT_EQ(values(platform->localBox), (std::vector<jint>{-51 << 8, -101 << 8, 101 << 8, 1 << 8}));
    EXPECT_EQ(platform->flags & cActor::kFlagNoMove, cActor::kFlagNoMove);
}

TEST_F(LevelGeometryTest, CountsThatDoNotFitTheItemRefuseTheLevel) {
    struct Case {
        const char* what;
        std::string item;
        const char* logged;
    };
    const std::string line = le16(0) + le16(2) + le16(1) + le16(2) + le16(3) + le16(4);   // K = 2, M = 0
    const Case cases[] = {
        {"shorter than its header", le16(1), "shorter than its header"},
        {"more polylines than the item holds", le16(3) + le16(0) + line.substr(2), "runs past the end"},
        {"points past the end", le16(1) + le16(0) + le16(40) + le16(1) + le16(2), "points run past the end"},
        {"a negative point count", le16(1) + le16(0) + le16(-5), "bad point count"},
        {"a negative attribute count", le16(1) + le16(-1), "negative attribute count"},
        {"too many polylines", le16(30000) + le16(0), "too many polylines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        EXPECT_FALSE(cGame::readLevelGeometry(bytes(c.item)));
        EXPECT_TRUE(log.contains(c.logged)) << c.logged;
    }
}

TEST_F(LevelGeometryTest, RestartRebuildsTheLevelsActorsAndPlatformsAndSnapsTheCamera) {
    startLevel(record({1, 1, 1200, 800, 0, 0}) + record({4, 2, 1300, 800, 0, 0}),
               geometry({{{1}, {{200, 840}, {2200, 840}}}}, 1));
    ASSERT_EQ(cGame::s_actorCount, 3);
    ASSERT_NE(cGame::spawnActor(61, -1, 0, 0), nullptr);
    cGame::s_hero->x = 3000 << 8;
    cGame::s_blackout = 1;
    cGame::restartLevel(true);   // no checkpoint stored: from the level's beginning
    EXPECT_EQ(cGame::s_actorCount, 3) << "the spawned effect is gone";
    ASSERT_NE(cGame::s_hero, nullptr);
    EXPECT_EQ(cGame::s_hero->x, 1200 << 8);
    EXPECT_EQ(cGame::s_polyCount, 1);
    EXPECT_EQ(cGame::s_blackout, 0);
    EXPECT_EQ(cGame::s_cameraSnap, 1);
    EXPECT_EQ(cGame::s_cameraFollow, cGame::s_hero);
}

TEST_F(LevelGeometryTest, MeterRefillsEverySixthFrameAndFromZeroOnlyOnATwelfth) {
    startLevel("");
    struct Case {
        jint meter, frame, bonus;
        jint meterAfter, bonusAfter;
    };
    const Case cases[] = {
        {50, 6, 0, 51, 0},   {50, 7, 0, 50, 0},      {99, 12, 0, 100, 0}, {100, 12, 0, 100, 0},
        {0, 6, 0, 0, 0},     {0, 12, 0, 1, 0},       {0, 11, 0, 0, 0},    {500, 1, 5, 502, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meter * 100 + c.frame);
        cHero::s_gunEnergy = c.meter;
        cGame::s_heroMeterBonus = c.bonus;
        cGame::s_frameCounter = c.frame;
        cGame::updateInGame();
        EXPECT_EQ(cHero::s_gunEnergy, c.meterAfter);
        EXPECT_EQ(cGame::s_heroMeterBonus, c.bonusAfter);
    }
}

}  // namespace

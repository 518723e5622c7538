// Z's tables built by the one start-up sequence, as brindlex runs it: each builder in its step, the
// inputs of each ready before it, and the tables kept by the collector as static roots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "tests/classlib/startup_fixture.h"
#include "tests/support/test_world.h"

namespace {

class ZStartupTest : public StartupTest {
private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(ZStartupTest, StartupBuildsTheTablesInOrderAndTheyOutliveCollections) {
    LogCapture log;
    StaticClass::initStatics(kStartupOrder);
    const std::vector<std::string> ran = stepsRan(log);
    const std::vector<std::string> expected = {"Z::buildUpdateOrderPairs", "Z::setFixedPointConstants",
                                               "Z::buildTuningConstants",  "cGame::initStaticFields",
                                               "Z::copyAngleConstants",    "Z::buildBehaviourTables",
                                               "Z::buildEnemyParamTables", "Z::buildTypeSpriteMap"};
    std::vector<std::string> zAndGame;
    for (const std::string& name : ran)
        if (name.rfind("Z::", 0) == 0 || name == "cGame::initStaticFields") zAndGame.push_back(name);
    EXPECT_EQ(zAndGame, expected);
    // The whole build runs every step of the program's order and has no initialiser the order lacks.
    std::vector<std::string> everyStep;
    for (const std::string_view step : kStartupOrder) everyStep.emplace_back(step);
    EXPECT_EQ(ran, everyStep);
    EXPECT_FALSE(log.contains("the start-up order has no place"));
    EXPECT_FALSE(log.contains("is not linked in"));
    ASSERT_NE(cActor::s_lists, nullptr);   // cActor's statics, made in their step
    EXPECT_TRUE(objectManager().isRegistered(cActor::s_lists));
    EXPECT_EQ(cActor::s_enemyAngleWide, 113);
    EXPECT_EQ(cActor::s_enemyAngleNarrow, 14);
    EXPECT_NE(cGame::s_actorView, nullptr);   // the heads-up display and touch play see the actors

    objectManager().gc(1);
    objectManager().gc(1);
    EXPECT_EQ(Z::GRAVITY, 512000);  // shifted by the FP_SHIFT of the step before
    EXPECT_EQ(Z::DIR_RIGHT, cGame::s_angleFullTurn);
    EXPECT_EQ(Z::DIR_UP, cGame::s_angleThreeQuarters);
    ASSERT_NE(Z::s_updateOrders, nullptr);
    EXPECT_TRUE(objectManager().isRegistered(Z::s_updateOrders));
    EXPECT_EQ(Z::s_updateOrders->get(59), 49);
    ASSERT_NE(Z::s_behaviours, nullptr);
    auto* hero = static_cast<ObjectArray*>(Z::s_behaviours->get(0));
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->length, 42);
    EXPECT_TRUE(objectManager().isRegistered(hero->get(41)));
    EXPECT_EQ(static_cast<ShortArray*>(hero->get(41))->get(1), 60);
    ASSERT_NE(Z::s_behaviourTables[32], nullptr);  // unreached by the index, still a root
    EXPECT_TRUE(objectManager().isRegistered(Z::s_behaviourTables[32]));
    ASSERT_NE(Z::s_enemyParams2, nullptr);
    EXPECT_EQ(static_cast<ShortArray*>(Z::s_enemyParams2->get(23))->get(1), 2500);
    ASSERT_NE(Z::s_typeSprite, nullptr);
    EXPECT_EQ(Z::s_typeSprite->get(53), 38);
    ASSERT_NE(cGame::s_levelNames, nullptr);  // the game's own static data, made by its initialiser
    EXPECT_EQ(cGame::s_levelNames->get(9), 95);
}

}  // namespace

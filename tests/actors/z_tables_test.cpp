// Z's constant tables after the start-up steps that build them, in their start-up order: spot
// checks where a value is easy to get wrong and the invariants the readers rely on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/support/test_world.h"

namespace {

class ZTablesTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        Z::buildUpdateOrderPairs();
        Z::setFixedPointConstants();
        Z::buildTuningConstants();
        Z::copyAngleConstants();
        Z::buildBehaviourTables();
        Z::buildEnemyParamTables();
        Z::buildTypeSpriteMap();
    }

    static ShortArray* record(ObjectArray* table, jint i) { return static_cast<ShortArray*>(table->get(i)); }
    static std::vector<jint> values(ShortArray* r) {
        std::vector<jint> v;
        for (jint i = 0; i < r->length; ++i) v.push_back(r->get(i));
        return v;
    }
    // As the actor's set-up reads the pairs: the first pair of the type, else 50.
    static jint updateOrderOf(jint type) {
        for (jint i = 0; i + 1 < Z::s_updateOrders->length; i += 2)
            if (Z::s_updateOrders->get(i) == type) return Z::s_updateOrders->get(i + 1);
        return 50;
    }
};

TEST_F(ZTablesTest, UpdateOrdersPairEachTypeOnceWithItsOrder) {
    ASSERT_NE(Z::s_updateOrders, nullptr);
    ASSERT_EQ(Z::s_updateOrders->length, 60);
    std::set<jint> types;
    for (jint i = 0; i < 60; i += 2) EXPECT_TRUE(types.insert(Z::s_updateOrders->get(i)).second) << "type twice at " << i;
    struct Case {
        jint type;
        jint order;
    };
    const Case cases[] = {{5, 49}, {6, 50}, {2, 10001}, {15, 10001}, {10, 10000}, {18, 10000}, {20, 50},
                          {54, 49}, {3, 50}, {57, 50}, {61, 50}};
    for (const Case& c : cases) EXPECT_EQ(updateOrderOf(c.type), c.order) << "type " << c.type;
    EXPECT_EQ(Z::s_updateOrders->get(58), 54);  // the last pair
    EXPECT_EQ(Z::s_updateOrders->get(59), 49);
}

TEST_F(ZTablesTest, FixedPointAndTuningConstantsAreEightEightWithTheirSigns) {
    EXPECT_EQ(Z::FP_SHIFT, 8);
    EXPECT_EQ(Z::DIST_1000PX, 1000 << 8);
    EXPECT_EQ(Z::HALF_WIDTH, 500 << 8);
    EXPECT_EQ(Z::DIST_36000PX, 36000 << 8);
    struct Case {
        const char* name;
        jint value;
        jint pixels;
    };
    const Case cases[] = {{"GRAVITY", Z::GRAVITY, 2000}, {"T85", Z::T85, -160}, {"T86", Z::T86, 100},
                          {"T98", Z::T98, -200}, {"T99", Z::T99, 200}, {"T122", Z::T122, 200},
                          {"T135", Z::T135, 100}, {"T136", Z::T136, 400}, {"T138", Z::T138, 400},
                          {"T139", Z::T139, 800}, {"T152", Z::T152, 50}, {"T156", Z::T156, 450},
                          {"T157", Z::T157, 550}, {"T187", Z::T187, 160}, {"T188", Z::T188, -100},
                          {"BOUNCE_SPEED", Z::BOUNCE_SPEED, -900}, {"TARGET_HEIGHT_RANGE", Z::TARGET_HEIGHT_RANGE, 170},
                          {"AIM_POINT_DROP", Z::AIM_POINT_DROP, 90}, {"HERO_SLOPE_ACCEL", Z::HERO_SLOPE_ACCEL, 200},
                          {"HERO_SLIDE_FRICTION", Z::HERO_SLIDE_FRICTION, 800}};
    for (const Case& c : cases) EXPECT_EQ(c.value, c.pixels * 256) << c.name;
    EXPECT_EQ(Z::GRAVITY, 512000);
    EXPECT_EQ(Z::BOUNCE_SPEED, -230400);
}

TEST_F(ZTablesTest, TuningConstantsFollowTheShiftSetBeforeThem) {
    Z::FP_SHIFT = 4;
    Z::buildTuningConstants();
    EXPECT_EQ(Z::GRAVITY, 2000 << 4);
    EXPECT_EQ(Z::T85, -160 * 16);
    Z::setFixedPointConstants();
    Z::buildTuningConstants();
    EXPECT_EQ(Z::GRAVITY, 512000);
}

TEST_F(ZTablesTest, DirectionsCopyTheGameAnglesFullTurnFirst) {
    EXPECT_EQ(Z::DIR_RIGHT, 256);
    EXPECT_EQ(Z::DIR_DOWN, 64);
    EXPECT_EQ(Z::DIR_LEFT, 128);
    EXPECT_EQ(Z::DIR_UP, 192);
    EXPECT_EQ(Z::C17, 17);
    EXPECT_EQ(Z::C58, 58);
    EXPECT_EQ(Z::C88, 88);
    // Copies, not constants: whatever the game's statics hold when the step runs.
    cGame::s_angleQuarter = 1;
    cGame::s_angleHalf = 2;
    cGame::s_angleThreeQuarters = 3;
    cGame::s_angleFullTurn = 4;
    Z::copyAngleConstants();
    EXPECT_EQ(Z::DIR_RIGHT, 4);
    EXPECT_EQ(Z::DIR_DOWN, 1);
    EXPECT_EQ(Z::DIR_LEFT, 2);
    EXPECT_EQ(Z::DIR_UP, 3);
}

TEST_F(ZTablesTest, BehaviourIndexHoldsTheFirstThirtyOneTablesWithTheirRecordCounts) {
    ASSERT_NE(Z::s_behaviours, nullptr);
    ASSERT_EQ(Z::s_behaviours->length, 31);
    const jint counts[] = {42, 9, 8, 7, 4, 1, 5, 4, 3, 2, 2, 3, 6, 2, 5, 6,
                           5, 7, 2, 4, 5, 2, 2, 7, 7, 3, 3, 5, 9, 0, 2, 10, 2};
    for (jint t = 0; t < Z::kBehaviourTables; ++t) {
        SCOPED_TRACE(t);
        ObjectArray* table = Z::s_behaviourTables[t];
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->length, counts[t]);
        if (t < 31) {
            EXPECT_EQ(Z::s_behaviours->get(t), table);
        } else {
            for (jint i = 0; i < Z::kBehaviourIds; ++i) EXPECT_NE(Z::s_behaviours->get(i), table) << "an unreached table in the index";
        }
        for (jint i = 0; i < table->length; ++i) EXPECT_EQ(record(table, i)->length, 5);
    }
    EXPECT_EQ(values(record(Z::s_behaviourTables[0], 41)), (std::vector<jint>{138, 60, 0, -1, -1}));
    EXPECT_EQ(values(record(Z::s_behaviourTables[30], 1)), (std::vector<jint>{4, 4, 0, -1, 0}));
    EXPECT_EQ(values(record(Z::s_behaviourTables[32], 1)), (std::vector<jint>{4, 1, 0, -1, 1}));
}

TEST_F(ZTablesTest, StateSearchFindsTheFirstRecordOfAState) {
    const auto find = [](jint id, jint state) -> std::vector<jint> {
        auto* table = static_cast<ObjectArray*>(Z::s_behaviours->get(id));
        for (jint i = 0; i < table->length; ++i)
            if (record(table, i)->get(0) == state) return values(record(table, i));
        return {};
    };
    EXPECT_EQ(find(0, 136), (std::vector<jint>{136, 55, 0, -1, -2}));  // the hero dies after animation 55
    EXPECT_EQ(find(0, 130), (std::vector<jint>{130, 59, 800, -1, 0}));
    EXPECT_EQ(find(28, 167), (std::vector<jint>{167, 7, -1, -1, -1}));  // the one negative duration
    EXPECT_EQ(find(1, 153), (std::vector<jint>{153, 2, 0, 200, -1}));
    EXPECT_TRUE(find(29, 0).empty());
}

// Every next state is none, die, or a state of the same table, except the four next states kept as
// given that no record of their table holds.
TEST_F(ZTablesTest, NextStatesStayInsideTheirTable) {
    const std::set<std::pair<jint, jint>> dangling = {{9, 0}, {11, 0}, {19, 0}, {21, 147}};
    std::set<std::pair<jint, jint>> found;
    for (jint t = 0; t < Z::kBehaviourTables; ++t) {
        ObjectArray* table = Z::s_behaviourTables[t];
        std::set<jint> states;
        for (jint i = 0; i < table->length; ++i) states.insert(record(table, i)->get(0));
        for (jint i = 0; i < table->length; ++i) {
            const std::vector<jint> r = values(record(table, i));
            SCOPED_TRACE(testing::Message() << "table " << t << " record " << i);
            EXPECT_GE(r[1], -4);
            EXPECT_GE(r[3], -1);
            if (r[4] >= 0 && !states.count(r[4])) {
                found.insert({t, r[4]});
            } else {
                EXPECT_GE(r[4], -2);
            }
        }
    }
    EXPECT_EQ(found, dangling);
}

TEST_F(ZTablesTest, EnemyParamsListTheSameTypesFromSixtyFiveDown) {
    ASSERT_NE(Z::s_enemyParams1, nullptr);
    ASSERT_NE(Z::s_enemyParams2, nullptr);
    ASSERT_EQ(Z::s_enemyParams1->length, 27);
    ASSERT_EQ(Z::s_enemyParams2->length, 27);
    std::map<jint, std::pair<std::vector<jint>, std::vector<jint>>> byType;
    for (jint i = 0; i < 27; ++i) {
        const std::vector<jint> one = values(record(Z::s_enemyParams1, i));
        const std::vector<jint> two = values(record(Z::s_enemyParams2, i));
        ASSERT_EQ(one.size(), 4u);
        EXPECT_EQ(one[0], two[0]) << i;
        EXPECT_TRUE(byType.emplace(one[0], std::make_pair(one, two)).second) << "type twice: " << one[0];
    }
    EXPECT_EQ(record(Z::s_enemyParams1, 0)->get(0), 65);
    EXPECT_EQ(record(Z::s_enemyParams1, 26)->get(0), 1);
    EXPECT_EQ(byType[9].first, (std::vector<jint>{9, 1000, 5, 3000}));
    EXPECT_EQ(byType[9].second, (std::vector<jint>{9, 2500, 10, 3000}));
    EXPECT_EQ(byType[25].second, (std::vector<jint>{25, 70, 10, 100}));
    EXPECT_EQ(byType[51].first, (std::vector<jint>{51, 2000, 0, 10000}));
    EXPECT_EQ(byType[1].second, (std::vector<jint>{1, 100, 50, 0}));
}

TEST_F(ZTablesTest, TypeSpriteMapCoversTypesZeroToFiftySevenWithSlotsOfTheSpriteTable) {
    ASSERT_NE(Z::s_typeSprite, nullptr);
    ASSERT_EQ(Z::s_typeSprite->length, 58);
    for (jint type = 0; type < 58; ++type) {
        EXPECT_GE(Z::s_typeSprite->get(type), -1) << type;
        EXPECT_LT(Z::s_typeSprite->get(type), 41) << type;  // the game's sprite table has 41 slots
    }
    struct Case {
        jint type;
        jint slot;
    };
    const Case cases[] = {{0, -1}, {1, 0}, {13, 9}, {34, 0}, {39, 19}, {43, 19}, {44, -1}, {53, 38}, {57, -1}};
    for (const Case& c : cases) EXPECT_EQ(Z::s_typeSprite->get(c.type), c.slot) << "type " << c.type;
}

// The game reads the behaviour index and the sprite map through its own copies.
TEST_F(ZTablesTest, GameCopiesTheBehaviourIndexAndSpriteMap) {
    cGame::copyActorTables();
    EXPECT_EQ(cGame::s_behaviours, Z::s_behaviours);
    EXPECT_EQ(cGame::s_typeSprite, Z::s_typeSprite);
    EXPECT_NE(cGame::s_behaviours, nullptr);
}

}  // namespace

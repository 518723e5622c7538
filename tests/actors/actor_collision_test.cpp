// Collision: steep segments as floors or walls by corner, the wall-kick line, one-way lines, switched
// platforms, a carrier platform, two actors pushed apart, the hero's reaction to a carrier and a
// gate by the side it meets them from, a long polyline, a harmful line, and the contact table's
// bounds.
#include <gtest/gtest.h>

#include <utility>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/actors/motion_world.h"

namespace {

using ActorCollisionTest = MotionWorld;

// Whole-pixel direction (dx, 400) whose angle is `wanted` (256 units a turn).
std::pair<int, int> directionOfAngle(jint wanted) {
    for (int dx = 0; dx <= 800; ++dx)
        if (cGame::atan2(dx << 8, 400 << 8) == wanted) return {dx, 400};
    return {0, 0};
}

TEST_F(ActorCollisionTest, SteepSegmentsAreFloorsForBottomCornersAndWallsForTopOnesOrAtSixtyFour) {
    struct Case {
        const char* what;
        jint angle;
        int startX, startY;    // box centre; the box is 40 x 40
        int pixelsX, pixelsY;  // the move of the frame
        bool floor;            // else a wall: no ground, the move turned along the segment
    };
    const Case cases[] = {
        {"50 under a falling box", 50, 600, 380, 0, 60, true},
        {"50 over a rising box", 50, 520, 360, 0, -60, false},
        {"64 beside a box moving right", 64, 470, 400, 30, 0, false},
        {"64 beside a box falling to the right", 64, 470, 400, 30, 30, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLevel(boxRecord(1, c.startX, c.startY, kSliding), [&] {
            const auto [dx, dy] = directionOfAngle(c.angle);
            return geometry({{{0}, {{500, 200}, {500 + dx, 200 + dy}}}}, 1);
        }());
        ASSERT_EQ(static_cast<IntArray*>(cGame::s_polyAngles->get(0))->get(0), c.angle);
        cActor* box = actorById(1);
        setBox(box, -20, -20, 20, 20);
        box->x = c.startX << 8;
        box->y = c.startY << 8;
        box->speedX = speedFor(c.pixelsX);
        box->speedY = speedFor(c.pixelsY);
        const jint x0 = box->x, y0 = box->y;
        physicsFrame();
        if (c.floor) {
            EXPECT_EQ(box->groundId, platformOf(0)->id);
            EXPECT_EQ(box->contactFlags & 15, cActor::kDirFloor);
            EXPECT_EQ(box->angle, c.angle);
            EXPECT_EQ(box->speedY, 0);
        } else {
            EXPECT_EQ(box->groundId, -1);
            EXPECT_EQ(box->contactFlags & 15, 0);
            EXPECT_EQ(box->speedY, speedFor(c.pixelsY)) << "a wall keeps the vertical speed";
        }
        EXPECT_NE(std::make_pair(box->x, box->y), std::make_pair(x0 + (c.pixelsX << 8), y0 + (c.pixelsY << 8)))
            << "the segment stopped the box";
    }
}

TEST_F(ActorCollisionTest, ABoxMovingIntoAWallStopsHalfAPixelShortOfIt) {
    startLevel(boxRecord(1, 470, 400, kSliding), geometry({{{0}, {{500, 200}, {500, 600}}}}, 1));
    cActor* box = actorById(1);
    setBox(box, -20, -20, 20, 20);
    box->speedX = speedFor(30);
    physicsFrame();
    EXPECT_EQ(box->x + (20 << 8), (500 << 8) - 128);
    EXPECT_EQ(box->y, 400 << 8);
}

TEST_F(ActorCollisionTest, WallKickLineIsNeverAWallAndKicksAHeroFallingOntoIt) {
    installSprite(0, 1, 1);  // the hero's box: 20 x 40 above its feet
    startLevel(record({1, 1, 480, 300, kSliding, 0, 0}),
               geometry({{{cActor::kPolyWallKick}, {{500, 200}, {500, 600}}}}, 1));
    auto* hero = static_cast<cHero*>(cGame::s_hero);
    ASSERT_NE(hero, nullptr);
    hero->speedX = speedFor(30);
    hero->speedY = speedFor(20);
    physicsFrame();
    EXPECT_EQ(hero->state, 2);
    EXPECT_EQ(hero->speedY, cHero::kKickSpeedY);
    EXPECT_EQ(hero->speedX, -cHero::kKickSpeedX) << "away from a line running down the screen";
    EXPECT_EQ(hero->groundId, -1) << "a kick records no ground";
    EXPECT_LT(hero->x + (10 << 8), (500 << 8) + 256);
}

TEST_F(ActorCollisionTest, OneWayLineIsPassedRisingAndLandedOnFalling) {
    struct Case {
        jint lineFlags;
        bool passes;
    };
    for (const Case& c : {Case{cActor::kPolyOneWay, true}, Case{0, false}}) {
        SCOPED_TRACE(c.lineFlags);
        startLevel(boxRecord(1, 500, 700), geometry({{{c.lineFlags}, {{0, 600}, {1000, 600}}}}, 1));
        cActor* box = actorById(1);
        setBox(box, -20, -20, 20, 20);
        box->y = 700 << 8;
        box->speedY = -1200 * 256;
        bool wasAbove = false, hitCeiling = false;
        for (int frame = 0; frame < 60; ++frame) {
            step();
            wasAbove = wasAbove || box->y + (20 << 8) < (600 << 8);
            hitCeiling = hitCeiling || (box->contactFlags & cActor::kDirCeiling);
        }
        EXPECT_EQ(wasAbove, c.passes);
        EXPECT_EQ(hitCeiling, !c.passes);
        if (c.passes) {
            EXPECT_EQ(box->y, restingY(600, 20));
            EXPECT_EQ(box->groundId, platformOf(0)->id);
        }
    }
}

TEST_F(ActorCollisionTest, SwitchPlatformsLetTheHeroFallThroughTheOffLineOntoTheOnLine) {
    installSprite(0, 1, 1);
    // A zone whose box (240 x 240 from its position) holds the lines' first points.
    startLevel(record({1, 1, 300, 200, kFalling, 0, 0}) + record({5, 2, 0, 380, 0, 0, 240, 240}),
               geometry({{{32}, {{100, 300}, {500, 300}}},  // made a one-point line below
                         {{64}, {{100, 400}, {500, 400}}},
                         {{32}, {{100, 600}, {500, 600}}}},
                        1));
    cActor* upper = platformOf(1);
    cActor* lower = platformOf(2);
    cGame::s_polyPoints->set(0, Runtime::newIntArray(2));
    cActor* zone = actorById(2);
    zone->findSwitchPlatforms();
    ASSERT_NE(zone->typeData, nullptr);
    ASSERT_EQ(zone->typeData->length, 4);
    EXPECT_EQ(zone->typeData->get(0), lower->id);
    EXPECT_EQ(zone->typeData->get(1), 0);
    EXPECT_EQ(zone->typeData->get(2), upper->id);
    EXPECT_EQ(zone->typeData->get(3), 0);
    EXPECT_TRUE(upper->flags & cActor::kFlagSwitchedOff);
    EXPECT_FALSE(lower->flags & cActor::kFlagSwitchedOff);
    cActor* hero = cGame::s_hero;
    hero->speedX = hero->speedY = 0;
    physicsFrame(40);
    EXPECT_EQ(hero->groundId, lower->id);
    EXPECT_EQ(hero->y, (600 << 8) - 128);
}

TEST_F(ActorCollisionTest, CarrierPlatformTakesTheHeroAlong) {
    installSprite(0, 1, 1);
    startLevel(record({1, 1, 400, 400, kFalling, 0, 0}) + record({29, 2, 400, 600, cActor::kFlagKeptActive, 0}));
    cActor* hero = cGame::s_hero;
    cActor* carrier = actorById(2);
    ASSERT_TRUE(hero && carrier);
    hero->speedX = hero->speedY = 0;
    carrier->typeData->set(0, 100 << 8);
    carrier->speedX = 100 << 8;
    physicsFrame(30);
    ASSERT_EQ(hero->groundId, carrier->id);
    EXPECT_EQ(hero->y, carrier->y + carrier->localBox->get(1) - 1) << "one unit above its top";
    EXPECT_TRUE(hero->flags & cActor::kFlagCarried);
    const jint offset = hero->x - carrier->x;
    physicsFrame(20);
    EXPECT_EQ(hero->x - carrier->x, offset);
    EXPECT_EQ(carrier->x, (400 << 8) + 50 * 1200) << "the carrier moved 4.6875 px a frame";
    EXPECT_EQ(hero->groundId, carrier->id);
}

TEST_F(ActorCollisionTest, HeroRunningIntoABlockIsPushedApartOneUnitShort) {
    installSprite(0, 1, 1);
    installSprite(19, 1, 1);  // the block's sprite: its box is the frame grown 8 px up and 3 down
    startLevel(record({1, 1, 400, 600, kSliding, 0, 0}) + record({43, 2, 450, 600, cActor::kFlagKeptActive, 0, 0}));
    cActor* hero = cGame::s_hero;
    cActor* block = actorById(2);
    ASSERT_TRUE(hero && block);
    hero->flags &= ~cActor::kFlagGravity;   // the hero's own update turns it on; here physics alone runs
    hero->speedX = speedFor(60);
    hero->speedY = 0;
    physicsFrame();
    EXPECT_EQ(hero->x + hero->localBox->get(2), block->x + block->localBox->get(0) - 1);
    EXPECT_EQ(hero->contactFlags & 15, cActor::kDirWallFront);
    EXPECT_EQ(hero->contactId, block->id);
    EXPECT_EQ(hero->y, 600 << 8);
}

TEST_F(ActorCollisionTest, HeroReactsToACarrierOrAGateByTheSideItMeetsThemFrom) {
    // The other actor's box is 80 x 40 around (400, 600); the hero, in its own box for its state,
    // starts 5 pixels off it and moves 10 pixels a frame towards it.
    enum From { kAbove, kBelow, kSide };
    struct Case {
        const char* what;
        jint otherType, otherState, heroState;
        From from;
        jint wantState, wantEnergy;
        bool thrownUp;
    };
    const Case cases[] = {
        {"landing on a carrier from a jump", 29, 229, 3, kAbove, 101, 100, false},
        {"landing on a carrier while standing", 29, 229, 0, kAbove, 0, 100, false},
        {"jumping on a gate hurts and throws back up", 30, 240, 3, kAbove, 3, 90, true},
        {"rising into a gate that stands", 30, 240, 3, kBelow, 3, 100, false},
        {"under a closing gate", 30, 242, 3, kBelow, 3, 90, false},
        {"walking into a closing gate's side", 30, 242, 0, kSide, 0, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        cGame::s_difficulty = 2;  // a gate hurts by 5 a difficulty step
        installSprite(0, 1, 1);
        startLevel(record({1, 1, 100, 100, kSliding, 0, 0}) +
                   record({c.otherType, 2, 400, 600, cActor::kFlagKeptActive, 0, 0, 0, 99}));
        auto* hero = static_cast<cHero*>(cGame::s_hero);
        cActor* other = actorById(2);
        ASSERT_TRUE(hero && other);
        setBox(other, -40, -20, 40, 20);
        other->state = c.otherState;
        other->speedX = other->speedY = 0;
        hero->flags &= ~cActor::kFlagGravity;  // physics alone runs here
        hero->energy = hero->maxEnergy = 100;
        hero->invulnerableMs = -1;
        hero->setState(c.heroState);
        hero->updateBoxes();
        IntArray* box = hero->localBox;
        const jint gap = 5 << 8;
        hero->x = c.from == kSide ? (360 << 8) - gap - box->get(2) : 400 << 8;
        hero->y = c.from == kAbove   ? (580 << 8) - gap - box->get(3)
                  : c.from == kBelow ? (620 << 8) + gap - box->get(1)
                                     : (615 << 8) - box->get(3);
        hero->refreshCollisionRect();
        hero->speedX = c.from == kSide ? speedFor(10) : 0;
        hero->speedY = c.from == kAbove ? speedFor(10) : c.from == kBelow ? -speedFor(10) : 0;
        physicsFrame();
        EXPECT_EQ(hero->state, c.wantState);
        EXPECT_EQ(hero->energy, c.wantEnergy);
        EXPECT_EQ(hero->speedY == -900 << 8, c.thrownUp) << hero->speedY;
    }
}

TEST_F(ActorCollisionTest, ABoxLandsOnSegment35OfAFortySegmentLine) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i <= 40; ++i) points.push_back({i * 10, 600});
    startLevel(boxRecord(1, 355, 500), geometry({{{0}, points}}, 1));
    cActor* box = actorById(1);
    setBox(box, -2, -2, 2, 2);
    step(30);
    EXPECT_EQ(box->groundId, platformOf(0)->id);
    EXPECT_EQ(box->contactFlags >> 16, 35);
    EXPECT_EQ(box->y, restingY(600, 2));
}

// A hero whose hit message puts it into the hurt state, as the hero's own reaction does.
struct HurtOnHitHero : cHero {
    void onMessage(cActor* sender, jint message, jint a, jint b, jint c) override {
        if (message != kMsgHit) return cHero::onMessage(sender, message, a, b, c);
        ++hits;
        damage = c;
        setState(5);
    }
    int hits;
    int damage;
};

TEST_F(ActorCollisionTest, HarmfulLineHurtsAndBouncesTheHeroTogether) {
    struct Case {
        const char* what;
        jint level;
        bool hurtBefore;
        jint speedY;
    };
    const Case cases[] = {
        {"hurt and thrown up", 0, false, Z::BOUNCE_SPEED},
        {"already hurt: no second bounce", 0, true, 0},
        {"level 8: thrown up in its state", 8, false, Z::BOUNCE_SPEED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chooseLevel(c.level);
        installSprite(0, 1, 1);
        startLevel(boxRecord(9, 100, 100, cActor::kFlagKeptActive),
                   geometry({{{cActor::kPolyHarmful}, {{0, 600}, {1000, 600}}}}, 1));
        ShortArray* params = Runtime::newShortArray(7);
        params->fill({1, 20, 500, 590, static_cast<jshort>(kSliding), 0, 0});
        auto* hero = Runtime::make<HurtOnHitHero>();
        ASSERT_NE(hero, nullptr);
        hero->initFromParams(1, params);
        hero->addToList(cActor::kListLevel);
        ASSERT_TRUE(cGame::addActor(hero));
        cGame::sortActorTable(0);
        cGame::s_hero = hero;
        hero->initByType();
        hero->activate();
        hero->hits = 0;
        if (c.hurtBefore) hero->setState(5);
        hero->speedX = 0;
        hero->speedY = speedFor(30);
        physicsFrame();
        EXPECT_EQ(hero->hits, 1);
        EXPECT_EQ(hero->damage, 10);
        EXPECT_EQ(hero->state, 5);
        EXPECT_EQ(hero->speedY, c.speedY);
        EXPECT_EQ(hero->groundId, -1) << "a harmful line is no ground";
    }
}

TEST_F(ActorCollisionTest, HeroBoxEdgesStopAtASegmentEndInsideTheBox) {
    struct Case {
        const char* what;
        std::pair<int, int> from, to;
        int moveX, moveY;  // pixels
        bool result;
        int moveXAfter, moveYAfter;
    };
    // The hero at (500, 500): its box spans 490..510 and 460..500 before the move.
    const Case cases[] = {
        {"bottom edge, start point inside", {505, 515}, {520, 530}, 0, 20, true, 0, 15},
        {"right edge, start point inside", {525, 480}, {560, 470}, 20, 0, true, 15, 0},
        {"crossing with both ends outside", {400, 515}, {600, 525}, 0, 20, false, 0, 20},
        {"no crossing", {600, 515}, {620, 530}, 0, 20, false, 0, 20},
    };
    installSprite(0, 1, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startLevel(record({1, 1, 500, 500, 0, 0, 0}), geometry({{{0}, {c.from, c.to}}}, 1));
        auto* hero = static_cast<cHero*>(cGame::s_hero);
        hero->x = 500 << 8;
        hero->y = 500 << 8;
        hero->localBox->fill({-10 << 8, -40 << 8, 10 << 8, 0});
        hero->moveX = c.moveX << 8;
        hero->moveY = c.moveY << 8;
        hero->refreshCollisionRect();
        EXPECT_EQ(hero->collideSegmentEdges(platformOf(0), 0), c.result);
        EXPECT_EQ(hero->moveX, c.moveXAfter << 8);
        EXPECT_EQ(hero->moveY, c.moveYAfter << 8);
    }
}

TEST_F(ActorCollisionTest, ContactTableKeepsNineteenDistinctCodes) {
    startLevel("");
    cActor::s_contactCount = 0;
    for (jint i = 0; i < 25; ++i) cActor::addContact(i << 16 | cActor::kContactActor | 13);
    EXPECT_EQ(cActor::s_contactCount, 19);
    EXPECT_EQ(cActor::s_contacts->get(18), 18 << 16 | cActor::kContactActor | 13);
    cActor::s_contactCount = 3;
    cActor::addContact(1 << 16 | cActor::kContactActor | 13);
    EXPECT_EQ(cActor::s_contactCount, 3) << "already present";
}

}  // namespace

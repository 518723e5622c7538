// The race levels' actors on a synthetic course: the player's racer steering, climbing, boosting and
// shielding on injected frame times; the rival climbing and dodging; obstacles and collectables
// touched; and the finish, won or lost, through to the game state the race asks for.
#include <cstdlib>

#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"

#include "actors/cenemy.h"
#include "tests/support/actor_world.h"

namespace {

constexpr jint kRacerId = 1, kRivalId = 2;
constexpr jint kFlagKeptActive = cActor::kFlagKeptActive;

jint px(jint v) { return v << 8; }

class RaceActorsTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        chooseLevel(1);
        ASSERT_TRUE(cGame::s_altPlayerLevel);
        installSprite(10, 16, 1);   // the racer: its remaps reach animation 15
        installSprite(17, 3, 1);    // the rival
        installSprite(14, 1, 1);    // obstacles
        installSprite(16, 4, 1);    // collectables
        installSprite(13, 9, 1);    // sparks and the shield
    }

    // A course 1000 x 37000 px with the racer at (x, y) and whatever else the records add.
    void startRace(jint x, jint y, const std::string& others = {}) {
        startLevel(record({14, kRacerId, x, y, kFlagKeptActive, 0, 0}) + others, {}, 1000, 37000);
        racer = static_cast<cEnemy*>(cGame::s_altPlayer);
        ASSERT_NE(racer, nullptr);
        ASSERT_EQ(racer->classId(), CID_cEnemy);
    }
    static std::string rival(jint x, jint y) { return record({21, kRivalId, x, y, kFlagKeptActive, 0, 0}); }
    static std::string item(jint type, jint id, jint x, jint y, jint anim) {
        return record({type, id, x, y, 0, 0, anim});   // woken near the view
    }

    // One frame of play on a real frame time, as the frame loop sets it on these levels.
    void stepMs(jint ms, int n = 1) {
        for (int i = 0; i < n; ++i) {
            cGame::s_frameTime = ms;
            cGame::s_speedFactor = ms * 256 / 1000;
            step();
        }
    }
    // The racer put on (x px, its y): the next frame's update finds what lies there.
    void moveRacerTo(jint x) {
        racer->x = px(x);
        racer->updateBoxes();
    }
    jint value(jint k) const { return racer->typeData->get(k); }
    static jint sparks() {
        jint n = 0;
        for (jint i = 0; cGame::actorAt(i); ++i)
            if (cGame::actorAt(i)->type == 61 && cGame::actorAt(i)->hasFlag(cActor::kFlagActive)) ++n;
        return n;
    }

    cEnemy* racer = nullptr;
};

TEST_F(RaceActorsTest, SteeringKeepsTheRacerOnTheCourseAtAnyFrameTime) {
    struct Case {
        const char* what;
        std::vector<jint> keys;
        jint startX, ms, frames;
        jint speedX, x;   // px/s and px after the frames (x -1: anywhere on the course)
        bool facesLeft;
    };
    const std::vector<Case> cases = {
        {"both keys steer left", {3, 4}, 500, 50, 3, -900, -1, false},
        {"key 4 alone steers right", {4}, 500, 50, 3, 900, -1, true},
        {"no key: straight on", {}, 700, 50, 3, 0, 700, true},
        {"held left to the bound: stops at 0", {3}, 100, 50, 10, 0, 0, false},
        {"held right to the bound: stops at 1000", {4}, 900, 50, 10, 0, 1000, true},
        {"long frames overshoot, clamped back", {4}, 900, 250, 4, 0, 1000, true},
        {"short frames reach the bound too", {3}, 30, 16, 10, 0, 0, false},
        {"from a bound it steers away again", {4}, 0, 50, 3, 900, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startRace(c.startX, 20000);
        for (jint k : c.keys) holdKey(k);
        for (jint f = 0; f < c.frames; ++f) {
            stepMs(c.ms);
            ASSERT_GE(racer->x, 0);
            ASSERT_LE(racer->x, px(1000));
        }
        EXPECT_EQ(racer->speedX, px(c.speedX));
        if (c.x >= 0) {
            EXPECT_EQ(racer->x, px(c.x));
        }
        EXPECT_EQ(racer->isFlipped(), c.facesLeft);
        for (jint k : c.keys) releaseKey(k);
        step();
    }
}

TEST_F(RaceActorsTest, BoostClimbsFasterForThreeSecondsOfFrameTime) {
    // Alone on the course: no rival holds the start.
    startRace(500, 30000);
    stepMs(50, 60);
    const jint cruise = racer->speedY;
    EXPECT_GE(cruise, px(-400) - px(200) * 50 / 1000);
    EXPECT_LE(cruise, px(-400) + px(200) * 50 / 1000);

    racer->typeData->set(2, 3000);
    jint hiddenFrames = 0;
    const jint y0 = racer->y;
    for (int f = 0; f < 20; ++f) {   // 20 frames of 140 ms: 2800 ms of boost
        stepMs(140);
        EXPECT_GE(racer->speedY, px(-800));
        EXPECT_EQ(racer->hasFlag(cActor::kFlagHidden), (cGame::s_frameCounter & 1) == 0);
        if (racer->hasFlag(cActor::kFlagHidden)) ++hiddenFrames;
    }
    EXPECT_EQ(value(2), 200);
    EXPECT_EQ(racer->speedY, px(-800));
    EXPECT_EQ(hiddenFrames, 10);
    // Further than cruising for the same time.
    EXPECT_LT(racer->y - y0, cruise * 2800 / 1000);
    stepMs(140, 2);   // the boost runs out
    EXPECT_LE(value(2), 0);
    EXPECT_EQ(racer->accelY, px(200));
    stepMs(140);
    EXPECT_FALSE(racer->hasFlag(cActor::kFlagHidden));
}

TEST_F(RaceActorsTest, RacerWaitsUntilTheRivalLeavesItsStart) {
    startRace(300, 35900, rival(700, 35900));
    cActor* r = cGame::s_type21Actor;
    ASSERT_NE(r, nullptr);
    stepMs(50);
    EXPECT_EQ(racer->speedY, 0);
    EXPECT_EQ(r->speedY, px(-1000));
    // The rival climbs from its start at full speed, then the racer sets off.
    int frames = 1;
    while (r->y > px(36000 - 240) && frames < 100) {
        stepMs(50);
        ++frames;
    }
    ASSERT_LT(frames, 100);
    const jint y0 = racer->y;
    stepMs(50, 5);
    EXPECT_LT(racer->y, y0);
}

TEST_F(RaceActorsTest, CollectablesAreTakenOnceForTheirReward) {
    struct Case {
        const char* what;
        jint anim;
        jint items, charges;
        bool boosts;
        jint score;
        std::string sound;
    };
    const std::vector<Case> cases = {
        {"a coin", 0, 1, 0, false, 50, "1: play 10"},
        {"a boost", 1, 0, 0, true, 1000, "1: play 8"},
        {"a shield charge", 2, 0, 1, false, 300, "1: play 11"},
        {"anything else: gone without effect", 3, 0, 0, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startRace(500, 20000, item(20, 5, 800, 20000, c.anim));
        soundLog.clear();
        cGame::s_levelStats->set(3, 0);
        cActor* it = actorById(5);
        ASSERT_NE(it, nullptr);
        moveRacerTo(800);
        stepMs(1);
        stepMs(1);
        EXPECT_FALSE(it->hasFlag(cActor::kFlagActive));
        EXPECT_EQ(value(0), c.items);
        EXPECT_EQ(value(1), c.charges);
        // 3000 ms of boost, of which at most the two 1-ms frames have run.
        if (c.boosts) {
            EXPECT_GE(value(2), 2998);
        } else {
            EXPECT_EQ(value(2), 0);
        }
        EXPECT_EQ(cGame::s_levelStats->get(3), c.score);
        bool heard = c.sound.empty();
        for (const std::string& s : soundLog) heard = heard || s == c.sound;
        EXPECT_TRUE(heard);
    }
}

TEST_F(RaceActorsTest, TheFiftiethCoinGivesOneLife) {
    startRace(500, 20000, item(20, 5, 800, 20000, 0) + item(20, 6, 800, 20000, 0));
    racer->typeData->set(0, 48);
    moveRacerTo(800);
    cGame::s_levelStats->set(3, 0);
    const jint lives = cHero::s_lives;
    stepMs(50);
    EXPECT_EQ(value(0), 50);
    EXPECT_EQ(cHero::s_lives, lives + 1);
    EXPECT_EQ(cGame::s_levelStats->get(3), 100);
    startRace(500, 20000, item(20, 5, 800, 20000, 0));
    racer->typeData->set(0, 50);
    moveRacerTo(800);
    stepMs(50);
    EXPECT_EQ(value(0), 51);
    EXPECT_EQ(cHero::s_lives, lives);
}

TEST_F(RaceActorsTest, ShieldNeedsAChargeAndLastsFiveSeconds) {
    startRace(500, 20000);
    stepMs(50);
    holdKey(5);
    stepMs(50);
    releaseKey(5);
    stepMs(50);
    EXPECT_EQ(racer->linked, nullptr) << "no charge, no shield";

    racer->typeData->set(1, 2);
    holdKey(5);
    stepMs(50);
    releaseKey(5);
    stepMs(100);
    cActor* shield = racer->linked;
    ASSERT_NE(shield, nullptr);
    EXPECT_EQ(shield->type, 61);
    EXPECT_EQ(value(1), 1);
    EXPECT_EQ(value(3), 4900);
    // A second release while it is up changes nothing.
    holdKey(5);
    stepMs(100);
    releaseKey(5);
    stepMs(100);
    EXPECT_EQ(racer->linked, shield);
    EXPECT_EQ(value(1), 1);
    stepMs(100, 10);
    EXPECT_EQ(shield->x, racer->x);
    EXPECT_EQ(shield->y, racer->y);
    stepMs(250, 18);   // 4900 - 1100 - 4500 ms: over
    EXPECT_EQ(racer->linked, nullptr);
    EXPECT_FALSE(shield->hasFlag(cActor::kFlagActive));
    EXPECT_EQ(value(1), 1);
}

TEST_F(RaceActorsTest, ObstacleBreaksOnTheRacerButABoostRidesOver) {
    struct Case {
        const char* what;
        jint boostMs;
        bool breaks;
    };
    for (const Case& c : std::vector<Case>{{"plain racer: crash", 0, true}, {"boosting: passes", 2000, false}}) {
        SCOPED_TRACE(c.what);
        startRace(500, 20000, item(19, 5, 800, 20000, 0));
        racer->typeData->set(2, c.boostMs);
        moveRacerTo(800);
        soundLog.clear();
        cActor* rock = actorById(5);
        stepMs(50);
        EXPECT_EQ(rock->hasFlag(cActor::kFlagActive), !c.breaks);
        EXPECT_EQ(sparks(), c.breaks ? 4 : 0);
        bool crashed = false;
        for (const std::string& s : soundLog) crashed = crashed || s == "1: play 9";
        EXPECT_EQ(crashed, c.breaks);
        if (!c.breaks) continue;
        jint fast = 0;
        for (jint i = 0; cGame::actorAt(i); ++i) {
            cActor* a = cGame::actorAt(i);
            if (a->type != 61) continue;
            const jint s = std::abs(a->speedX);
            if (s == 0) continue;
            EXPECT_GE(s, px(1000));
            EXPECT_LT(s, px(2000));
            ++fast;
        }
        EXPECT_EQ(fast, 3);
    }
}

TEST_F(RaceActorsTest, RivalDodgesTowardsTheMiddleAndTakesBoosts) {
    // The view follows the racer from 540 px above it to 60 px above it.
    startRace(100, 20400, rival(800, 20200) + item(19, 5, 810, 20000, 0) + item(20, 6, 200, 19950, 1));
    cActor* r = cGame::s_type21Actor;
    ASSERT_NE(r, nullptr);
    drawFrame();   // the obstacle search walks what the last paint drew
    stepMs(50);
    EXPECT_EQ(r->state, 1);
    EXPECT_EQ(r->speedX, px(-1200));
    // Past it, it stops after 100 ms of dodging.
    r->y = px(19900);
    stepMs(50, 2);
    EXPECT_EQ(r->speedX, 0);
    // A boost pick-up lifts it to full speed.
    r->x = px(200);
    r->y = px(19950);
    r->updateBoxes();
    EXPECT_TRUE(r->isFlipped()) << "right of the middle it faces left";
    stepMs(50);
    EXPECT_FALSE(r->isFlipped()) << "left of the middle it faces right";
    EXPECT_FALSE(actorById(6)->hasFlag(cActor::kFlagActive));
    stepMs(50);
    EXPECT_EQ(r->speedY, px(-1000));
    EXPECT_GE(r->typeData->get(3), 3000 - 100);
    EXPECT_LE(r->typeData->get(3), 3000 - 50);
    // Stunned by a hit it stands still.
    static_cast<cEnemy*>(r)->hitTimer = 300;
    stepMs(50);
    EXPECT_EQ(r->speedY, 0);
}

TEST_F(RaceActorsTest, WinningFliesOffThenEndsTheLevel) {
    startRace(500, 30, rival(200, 5000));
    racer->speedY = px(-800);
    int frames = 0;
    while (racer->state != 200 && frames < 20) {
        stepMs(50);
        ++frames;
    }
    ASSERT_EQ(racer->state, 200);
    EXPECT_LT(cEnemy::s_raceHeightPlayer, 1);
    EXPECT_EQ(cEnemy::s_raceHeightRival, cGame::s_type21Actor->y);
    soundLog.clear();
    while (racer->state == 200 && frames < 400) {
        stepMs(70);   // past 64 ms
        ++frames;
    }
    ASSERT_EQ(racer->state, 197);
    EXPECT_TRUE(racer->hasFlag(cActor::kFlagHidden));
    EXPECT_EQ(soundLog, (std::vector<std::string>{"0: stop", "0: play 6"}));
    EXPECT_FALSE(cGame::s_levelComplete);
    stepMs(1000, 2);
    EXPECT_FALSE(cGame::s_levelComplete);
    stepMs(1000);
    EXPECT_TRUE(cGame::s_levelComplete);
    EXPECT_TRUE(cGame::s_stateChangePending);
    EXPECT_EQ(cGame::s_nextState, cGame::kStateLevelEnd);
    EXPECT_EQ(cActor::s_enemyCountdown, 3000);
}

TEST_F(RaceActorsTest, LosingToTheRivalFliesOffThenAsksForTheLoss) {
    startRace(500, 30, rival(200, 5000));
    cActor* r = cGame::s_type21Actor;
    r->y = 0;   // at the top already
    racer->speedY = px(-800);
    soundLog.clear();
    int frames = 0;
    while (racer->state != 199 && frames < 20) {
        stepMs(50);
        ++frames;
    }
    ASSERT_EQ(racer->state, 199);
    EXPECT_EQ(soundLog, (std::vector<std::string>{"0: stop", "0: play 5"}));
    while (!cGame::s_stateChangePending && frames < 400) {
        stepMs(50);
        ++frames;
    }
    EXPECT_EQ(cGame::s_nextState, cGame::kStateHeroLost);
    EXPECT_FALSE(cGame::s_levelComplete);
}

TEST_F(RaceActorsTest, ARacerHurtWithoutHitPointsDiesAndTheRaceIsLost) {
    startRace(500, 20000);
    racer->health = 0;
    racer->setState(5);
    int frames = 0;
    while (!cGame::s_stateChangePending && frames < 40) {
        stepMs(50);
        ++frames;
    }
    EXPECT_EQ(racer->state, 20);
    EXPECT_EQ(cGame::s_nextState, cGame::kStateHeroLost);
    EXPECT_EQ(cHero::s_savedEnergy, 0);
}

TEST_F(RaceActorsTest, ARaceFrameShowsTheRacersAndWhatLiesAhead) {
    startRace(450, 20400, rival(650, 20250) + item(19, 5, 300, 20000, 0) + item(19, 6, 700, 19950, 0) +
                              item(20, 7, 520, 20100, 0) + item(20, 8, 380, 20150, 1));
    cGame::buildFrameCaches();   // the loader's service for these levels' obstacles and coins
    stepMs(60, 4);
    auto render = [] {
        cGame::s_g = cGame::s_frameImage->getGraphics();
        cGame::s_g->setColor(0x101830);
        cGame::s_g->fillRect(0, 0, kScreenW, kScreenH);
        cGame::s_g = nullptr;
        drawFrame();
        std::vector<uint16_t> p;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) p.push_back(pixel(x, y));
        return p;
    };
    const std::vector<uint16_t> full = render();
    ASSERT_FALSE(Runtime::pending());
    // The picture for a person to look at, turned as the player holds the phone.
    std::vector<uint16_t> out(kScreenW * kScreenH);
    const Surface565 p = cGame::s_frameImage->pixels565();
    turnToLandscape(ConstSurface565{p.pixels, p.width, p.height, p.pitch}, Surface565{out.data(), kScreenH, kScreenW, kScreenH});
    EXPECT_TRUE(writePng565(::testing::TempDir() + "race_frame.png", ConstSurface565{out.data(), kScreenH, kScreenW, kScreenH}));

    // Each racer, and the things ahead, leave their own pixels in the frame.
    for (cActor* a : {static_cast<cActor*>(racer), cGame::s_type21Actor, actorById(6), actorById(7)}) {
        SCOPED_TRACE(a->type);
        a->setFlag(cActor::kFlagHidden);
        const std::vector<uint16_t> without = render();
        a->clearFlag(cActor::kFlagHidden);
        int differing = 0;
        for (size_t i = 0; i < full.size(); ++i) differing += full[i] != without[i];
        EXPECT_GT(differing, 0);
    }
}

}  // namespace

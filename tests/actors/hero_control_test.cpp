// The hero played through the play step with held game keys on a small level: a flat floor, a
// step up, a one-way ledge above the floor and a harmful floor beyond the step. Frames are 50 ms.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "actors/chero.h"
#include "actors/z.h"
#include "tools/sprite_writer.h"
#include "tests/actors/motion_world.h"

namespace {

using K = cGame::GameKey;

constexpr int kFloorY = 1000, kLedgeY = 880, kStepY = 960, kHarmY = 1000;
constexpr int kFacingLeft = 1;

// A sprite of `anims` animations of `frames` frames, each frame a filled rectangle {x, y, w, h} with
// its boxes, both given by shape(animation, frame, boxes).
template <typename Shape>
Bsprite* shapedSprite(int anims, int frames, Shape shape) {
    tools::SpriteDefinition s;
    s.palettes = {{0xFF000000u}};
    for (int a = 0; a < anims; ++a) {
        tools::SpriteAnimation anim;
        for (int f = 0; f < frames; ++f) {
            tools::SpriteFrame fr;
            const std::array<int, 4> r = shape(a, f, fr.boxes);
            tools::SpriteModule m;
            m.kind = tools::ModuleKind::FillRect;
            m.colour = 0xFF203040u;
            m.w = r[2];
            m.h = r[3];
            s.modules.push_back(m);
            fr.modules.push_back({static_cast<int>(s.modules.size()) - 1, r[0], r[1], 0});
            fr.rect = r;
            anim.frames.push_back({static_cast<int>(s.frames.size()), 1, 0, 0, 0});
            s.frames.push_back(fr);
        }
        s.animations.push_back(anim);
    }
    std::string bytes, error;
    if (!tools::writeSprite(s, "shaped sprite", bytes, error)) return nullptr;
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    if (!data) return nullptr;
    for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
    auto* sprite = Runtime::make<Bsprite>();
    return sprite && sprite->Load(data, 0) ? sprite : nullptr;
}

class HeroControlTest : public MotionWorld {
protected:
    // The hero at (x, y) pixels, feet on whatever lies below; a sprite of 64 one-frame animations.
    cHero* startAt(int x, int y, int extraFlags = 0) {
        installSprite(0, 64, 1);
        startLevel(record({1, 1, x, y, kSliding | extraFlags, 0, 0}),
                   geometry({{{0}, {{0, kFloorY}, {1000, kFloorY}, {1000, kStepY}, {1500, kStepY}, {1500, kHarmY}}},
                             {{cActor::kPolyOneWay}, {{300, kLedgeY}, {500, kLedgeY}}},
                             {{cActor::kPolyHarmful}, {{1500, kHarmY}, {2500, kHarmY}}}},
                            1));
        auto* hero = static_cast<cHero*>(cGame::s_hero);
        EXPECT_NE(hero, nullptr);
        step(6);   // down onto the ground and standing
        soundLog.clear();
        return hero;
    }
    static int px(jint v) { return (v + 128) >> 8; }
};

TEST_F(HeroControlTest, HoldingRightTurnsTheHeroThenWalksItAt4800UnitsAFrame) {
    cHero* hero = startAt(200, kFloorY, kFacingLeft);
    ASSERT_EQ(hero->state, 0);
    ASSERT_TRUE(hero->isFlipped());
    holdKey(K::kKeyRight);
    std::vector<jint> dx, states;
    for (int f = 0; f < 8; ++f) {
        const jint before = hero->x;
        step();
        dx.push_back(hero->x - before);
        states.push_back(hero->state);
        if (f == 0) {
            EXPECT_FALSE(hero->isFlipped()) << "turned on the first frame";
        }
    }
    // Turn, enter the walk, take up its speed, then walk.
    EXPECT_EQ(dx, (std::vector<jint>{0, 0, 0, 4800, 4800, 4800, 4800, 4800}));
    EXPECT_EQ(states, (std::vector<jint>{0, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(hero->y, (kFloorY << 8) - 128) << "on the floor all the way";
    releaseKey(K::kKeyRight);
    step();
    EXPECT_EQ(hero->state, 0);
}

TEST_F(HeroControlTest, ATappedUpJumpsOnReleasePeaks186PixelsUpAndLands) {
    cHero* hero = startAt(150, kFloorY);
    const jint startY = hero->y;
    holdKey(K::kKeyUp);
    step();
    EXPECT_EQ(hero->state, 0) << "a tap does not jump while the key is down";
    releaseKey(K::kKeyUp);
    step();
    ASSERT_EQ(hero->state, 2) << "it jumps on the frame the key comes up";
    EXPECT_EQ(cHero::pickJumpKey(), -1);
    EXPECT_EQ(cHero::s_jumpKey, K::kKeyUp) << "no key down keeps the remembered one";
    // Ten frames on, the rise has spent its speed 186 px up; the highest point came one frame
    // earlier, 2.4 px higher, as each frame's move also holds half a frame of gravity.
    jint peak = hero->y;
    int peakFrame = 0;
    std::vector<jint> states{hero->state};
    for (int f = 1; f <= 40 && hero->state != 0; ++f) {
        step();
        if (hero->y < peak) {
            peak = hero->y;
            peakFrame = f;
        }
        if (f == 9) {
            EXPECT_EQ(px(startY - hero->y), 188);
        }
        if (f == 10) {
            EXPECT_EQ(hero->speedY, 0);
            EXPECT_EQ(px(startY - hero->y), 186);
        }
        if (states.back() != hero->state) states.push_back(hero->state);
    }
    EXPECT_EQ(peakFrame, 9);
    EXPECT_EQ(states, (std::vector<jint>{2, 3, 101, 0}));
    EXPECT_EQ(hero->y, startY);
    EXPECT_EQ(hero->speedX, 0) << "straight up and down";
}

TEST_F(HeroControlTest, AHeldUpJumpsOnTheFourthFrame) {
    cHero* hero = startAt(150, kFloorY);
    holdKey(K::kKeyUp);
    std::vector<jint> states;
    for (int f = 0; f < 4; ++f) {
        step();
        states.push_back(hero->state);
    }
    EXPECT_EQ(states, (std::vector<jint>{0, 0, 0, 2}));
    EXPECT_TRUE(cHero::s_jumpHeld);
    EXPECT_EQ(hero->speedY, -1000 << 8);
}

TEST_F(HeroControlTest, AJumpThroughTheOneWayLedgeLandsOnIt) {
    cHero* hero = startAt(400, kFloorY);
    holdKey(K::kKeyUp);
    step();
    releaseKey(K::kKeyUp);
    step(40);
    EXPECT_EQ(hero->state, 0);
    EXPECT_EQ(hero->y, (kLedgeY << 8) - 128) << "standing on the ledge";
    EXPECT_EQ(hero->groundId, platformOf(1)->id);
}

TEST_F(HeroControlTest, TheHarmfulFloorHurtsOnceBouncesAndTheHeroBlinks) {
    struct Case {
        jint difficulty, level, energyAfter;
    };
    const Case cases[] = {{1, 0, 90}, {2, 0, 80}, {1, 9, 95}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "difficulty " << c.difficulty << ", level " << c.level);
        cGame::s_difficulty = c.difficulty;
        chooseLevel(c.level);
        cHero* hero = startAt(1800, kHarmY - 300);
        EXPECT_EQ(hero->energy, 100);
        // Falling: the contact that hurts comes within the next frames.
        int frames = 0;
        while (hero->energy == 100 && frames < 20) {
            step();
            ++frames;
        }
        ASSERT_LT(frames, 20) << "the floor never hurt";
        EXPECT_EQ(hero->energy, c.energyAfter);
        EXPECT_EQ(hero->state, 5);
        EXPECT_LT(hero->speedY, 0) << "thrown up";
        EXPECT_EQ(hero->invulnerableMs, 1000);
        EXPECT_EQ(std::count(soundLog.begin(), soundLog.end(), "1: play 12"), 1) << testing::PrintToString(soundLog);
        // Bouncing on the floor while invulnerable: no second hit. The countdown runs outside the
        // hurt state, twenty frames of 50 ms, hidden on even frames.
        int countdownFrames = 0, bounces = 0;
        for (int f = 0; f < 80 && hero->invulnerableMs > 0; ++f) {
            const jint before = hero->invulnerableMs, stateBefore = hero->state;
            step();
            ASSERT_EQ(hero->energy, c.energyAfter) << "frame " << f;
            if (hero->state == 5 && stateBefore != 5) ++bounces;
            const bool hidden = (hero->flags & cActor::kFlagHidden) != 0;
            if (hero->invulnerableMs < before) {
                ++countdownFrames;
                EXPECT_EQ(hidden, hero->invulnerableMs >= 1 && cGame::s_frameCounter % 2 == 0) << "frame " << f;
            } else {
                EXPECT_FALSE(hidden) << "no blinking while hurt, frame " << f;
            }
        }
        EXPECT_EQ(countdownFrames, 20);
        EXPECT_GE(bounces, 1) << "bounced off the floor again without harm";
        EXPECT_EQ(std::count(soundLog.begin(), soundLog.end(), "1: play 12"), 1);
        EXPECT_FALSE(hero->flags & cActor::kFlagHidden);
        // Once it has run out the floor hurts again.
        for (int f = 0; f < 20 && hero->energy == c.energyAfter; ++f) step();
        EXPECT_EQ(hero->energy, c.energyAfter - (100 - c.energyAfter));
    }
}

TEST_F(HeroControlTest, RidingTheVehicleHoldsTheHeroWhereItIs) {
    cHero* hero = startAt(150, 600);   // in the air, well above the floor
    hero->onMessage(nullptr, 39, 0, 0, 0);
    ASSERT_EQ(hero->state, 137);
    const jint x = hero->x, y = hero->y;
    step(30);
    EXPECT_EQ(hero->state, 137);
    EXPECT_EQ(hero->speedY, 0) << "no fall builds up";
    EXPECT_EQ(hero->y, y);
    EXPECT_EQ(hero->x, x);
}

// Out of energy or fallen below the level, the hero dies (its state 20, not the removed state -2)
// and the game goes to the lost-hero screen.
TEST_F(HeroControlTest, TheHeroDiesOutOfEnergyOrBelowTheLevelAndTheGameSeesIt) {
    for (const bool fallen : {false, true}) {
        SCOPED_TRACE(fallen ? "below the level" : "out of energy");
        cHero* hero = startAt(200, kFloorY);
        ASSERT_EQ(hero->state, 0);
        if (fallen) cGame::s_levelHeight = kFloorY - 100;
        else hero->energy = 0;
        step();
        EXPECT_EQ(hero->state, 20);
        step();
        EXPECT_EQ(cGame::s_nextState, cGame::kStateHeroLost);
    }
}

TEST_F(HeroControlTest, HitsCountByAttackerStateAndInvulnerability) {
    struct Case {
        const char* what;
        jint senderType, stateBefore, invulnerableBefore;
        bool godMode;
        jint energyAfter, stateAfter;
    };
    const Case cases[] = {
        {"an enemy on the ground", 9, 0, -1, false, 70, 5},
        {"still invulnerable", 9, 0, 999, false, 100, 0},
        {"in a lift zone late in the invulnerability", 9, 133, 499, false, 70, 5},
        {"in a lift zone early in it", 9, 133, 500, false, 100, 133},
        {"god mode", 9, 0, -1, true, 100, 0},
        {"the heavy creature", 32, 0, -1, false, 70, 127},
        {"the fatal one", 48, 0, -1, false, 0, 21},
        {"harmful ground while invulnerable", 2, 0, 10, false, 100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cHero* hero = startAt(150, kFloorY);
        cActor* sender = cGame::spawnActor(c.senderType, 0, 300 << 8, kFloorY << 8);
        ASSERT_NE(sender, nullptr);
        if (c.stateBefore != hero->state) hero->setState(c.stateBefore);
        hero->invulnerableMs = c.invulnerableBefore;
        cHero::s_godMode = c.godMode;
        hero->onMessage(sender, cActor::kMsgHit, sender->x, sender->y, 30);
        EXPECT_EQ(hero->energy, c.energyAfter);
        EXPECT_EQ(hero->state, c.stateAfter);
        if (c.energyAfter < 100 && c.stateAfter != 21) {
            EXPECT_EQ(hero->invulnerableMs, 1000);
        }
        cHero::s_godMode = false;
    }
}

TEST_F(HeroControlTest, StandingUpUnderALowCeilingKeepsTheCrouchBox) {
    struct Case {
        const char* what;
        bool ceiling;
        jint topAfter;
    };
    for (const Case& c : {Case{"in the open", false, -90 << 8}, Case{"under a ceiling", true, -60 << 8}}) {
        SCOPED_TRACE(c.what);
        installSprite(0, 64, 1);
        std::vector<Polyline> lines{{{0}, {{0, kFloorY}, {1000, kFloorY}}}};
        if (c.ceiling) lines.push_back({{0}, {{500, kFloorY - 75}, {700, kFloorY - 75}}});
        startLevel(record({1, 1, 150, kFloorY, kSliding, 0, 0}), geometry(lines, 1));
        cHero* hero = static_cast<cHero*>(cGame::s_hero);
        step(6);
        holdKey(K::kKeyDown);
        step(4);
        ASSERT_EQ(hero->state, 102) << "crouching";
        ASSERT_EQ(hero->localBox->get(1), -60 << 8);
        hero->x = 600 << 8;   // under the ceiling, where there is one
        hero->refreshCollisionRect();
        releaseKey(K::kKeyDown);
        step(4);
        EXPECT_EQ(hero->state, 0);
        EXPECT_EQ(hero->localBox->get(1), c.topAfter);
        EXPECT_EQ(hero->y, (kFloorY << 8) - 128) << "still on the floor";
    }
}

TEST_F(HeroControlTest, FireStrikesSecondFireShootsAndNeitherStartsWithoutAmmunition) {
    struct Case {
        const char* what;
        jint key, gunEnergy, stateAfter;
        const char* sound;
    };
    const Case cases[] = {
        {"fire strikes", K::kKeyFire, 1500, 108, "2: play 15"},
        {"second fire shoots", K::kKeySecondAction, 1500, 113, "2: play 14"},
        {"no strike without ammunition", K::kKeyFire, 0, 0, nullptr},
        {"no shot without ammunition", K::kKeySecondAction, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cHero* hero = startAt(150, kFloorY);
        cHero::s_gunEnergy = c.gunEnergy;
        cHero::s_specialShots = 0;
        holdKey(c.key);
        step();
        EXPECT_EQ(hero->state, c.stateAfter);
        if (c.stateAfter == 113) {
            EXPECT_GE(cHero::s_gunEnergy, 1500 - 2) << "the gun spends 1 or 2 a frame";
            EXPECT_LT(cHero::s_gunEnergy, 1500);
        }
        if (c.sound) {
            EXPECT_NE(std::find(soundLog.begin(), soundLog.end(), c.sound), soundLog.end())
                << testing::PrintToString(soundLog);
        } else {
            EXPECT_TRUE(soundLog.empty()) << testing::PrintToString(soundLog);
        }
        releaseKey(c.key);
        step(6);
        EXPECT_EQ(hero->state, 0) << "back to standing";
    }
}

TEST_F(HeroControlTest, TheHeroCatchesABarFallingTurnsOnItAndLetsGo) {
    installSprite(0, 64, 1);
    startLevel(record({1, 1, 300, kFloorY, kSliding, 0, 0}),
               geometry({{{0}, {{0, kFloorY}, {1000, kFloorY}}},
                         {{cActor::kPolyHang}, {{100, kFloorY - 150}, {600, kFloorY - 150}}}},
                        1));
    cHero* hero = static_cast<cHero*>(cGame::s_hero);
    step(6);
    holdKey(K::kKeyUp);
    step();
    releaseKey(K::kKeyUp);
    int f = 0;
    for (; f < 40 && hero->state != 119; ++f) step();
    ASSERT_EQ(hero->state, 119) << "hanging";
    EXPECT_EQ(hero->linked, platformOf(1));
    EXPECT_EQ(hero->localBox->get(1), 0) << "the reference point is at the hands";
    const jint hangY = hero->y;
    step(3);
    EXPECT_EQ(hero->y, hangY) << "held still on the bar";
    holdKey(K::kKeyLeft);
    step();
    EXPECT_TRUE(hero->isFlipped()) << "turned, still hanging";
    EXPECT_TRUE(cHero::isHangState(hero->state));
    releaseKey(K::kKeyLeft);
    holdKey(K::kKeyDown);
    step();
    EXPECT_EQ(hero->state, 3) << "let go";
    EXPECT_EQ(hero->y, hangY + (120 << 8)) << "the reference point back at the feet";
    releaseKey(K::kKeyDown);
    step(20);
    EXPECT_EQ(hero->state, 0);
    EXPECT_EQ(hero->y, (kFloorY << 8) - 128);
}

}  // namespace

TEST_F(HeroControlTest, AStrikeOnTheLeverOpensItsGate) {
    // A lever and the gate it works. The strike lands on every frame it lasts (a frame without a
    // swipe box reaches the hero's own position), and the gate must still get moving.
    struct Case {
        const char* what;
        int heroX;
        bool crouched;
    };
    const Case cases[] = {
        {"standing, touching", 150, false},
        {"standing, overlapping", 165, false},
        {"crouched", 150, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const jint leverSlot = Z::s_typeSprite ? Z::s_typeSprite->get(30) : -1;
        ASSERT_GT(leverSlot, 0);
        // The hero's swipes (animations 45..48, frames 1 and 2) reach from its middle to its knees; the lever stands 40 pixels
        // tall, the gate (animation 0) 160.
        cGame::s_sprites->set(0, shapedSprite(64, 4, [](int a, int f, std::vector<std::array<int, 4>>& boxes) {
            if (a >= 45 && a <= 48 && (f == 1 || f == 2)) boxes = {{10, -60 + 8 * (a - 45), 52, 52}};
            return std::array<int, 4>{-10, -80, 20, 80};
        }));
        cGame::s_sprites->set(leverSlot, shapedSprite(3, 4, [](int a, int, std::vector<std::array<int, 4>>&) {
            return a == 0 ? std::array<int, 4>{-26, -160, 52, 160} : std::array<int, 4>{-28, -40, 44, 40};
        }));
        startLevel(record({1, 1, c.heroX, kFloorY, kSliding, 0, 0}) +
                       record({30, 40, 170, kFloorY, 0, 0, 0, 1, 41}) + record({30, 41, 600, kFloorY, 0, 0, 0, 0, 40}),
                   geometry({{{0}, {{0, kFloorY}, {1000, kFloorY}}}}, 1));
        auto* hero = static_cast<cHero*>(cGame::s_hero);
        cActor* lever = actorById(40);
        cActor* gate = actorById(41);
        ASSERT_NE(lever, nullptr);
        ASSERT_NE(gate, nullptr);
        step(6);
        ASSERT_EQ(lever->state, 238);
        ASSERT_EQ(gate->state, 240);
        ASSERT_EQ(gate->linked, lever);
        if (c.crouched) {
            holdKey(K::kKeyDown);
            step(2);
        }
        cHero::s_gunEnergy = 1500;
        holdKey(K::kKeyFire);
        step();
        EXPECT_EQ(hero->state, 108);
        releaseKey(K::kKeyFire);
        if (c.crouched) releaseKey(K::kKeyDown);
        step(6);
        EXPECT_EQ(lever->state, 239) << "one pull, not restarted by the strike's later frames";
        EXPECT_EQ(gate->state, 241);
        EXPECT_LE(gate->y, (kFloorY - 10) << 8) << "the gate rises while the strike lasts";
    }
}

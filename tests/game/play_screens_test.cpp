// The in-play screens driven frame by frame through the state machine on a small level: pause and
// resume (by key, by the game coming back into view, back to a pending information page), the pause
// menu's questions, the hero lost with retry or game over, the results and the next level, and the
// scene painter's background cache, blackout and heads-up display.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/chero.h"
#include "game/cgame.h"
#include "game/cgame_text_ids.h"
#include "runtime/array.h"
#include "tests/support/actor_world.h"

namespace {

constexpr jint kHeroX = 1200, kHeroY = 800;

class PlayScreensTest : public ActorWorld {
protected:
    void SetUp() override {
        ActorWorld::SetUp();
        // The hero's sprite: every animation the loss screens play, four frames each.
        installSprite(0, 63, 4);
        cGame::s_saveBuffer = Runtime::newByteArray(cGame::kSaveBufferSize);
        cGame::s_saveBuffer->set(cGame::kSaveHighestLevelByte, -1);
        cGame::s_saveBuffer->set(cGame::kSaveMusicByte, 1);   // a restart applies the saved options
        cGame::s_saveBuffer->set(cGame::kSaveEffectsByte, 1);
        cGame::s_g = cGame::s_frameImage->getGraphics();
        startLevel(record({1, 1, kHeroX, kHeroY, 0, 0}), geometry({{{1}, {{200, 840}, {2200, 840}}}}, 1));
        enter(cGame::kStatePlay);
    }

    // The state entered at the next frame, as a change at the end of a frame leaves it.
    static void enter(jint state) {
        cGame::s_state = state;
        cGame::s_stateEntered = 1;
        cGame::s_stateChangePending = 0;
    }

    // One frame of the state machine as the shell runs it: key snapshot, the frame, then the keys
    // released this frame are up again.
    void frame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            cGame::updateKeyStates();
            ++cGame::s_frameCounter;
            cGame::s_g = cGame::s_frameImage->getGraphics();
            cGame::stepStateMachine(nullptr);
            ASSERT_EQ(Runtime::getPendingException(), nullptr) << "frame " << cGame::s_frameCounter;
            drainSounds();
        }
    }
    // A key pressed and released: seen as released in the next frame.
    void tap(jint key) {
        holdKey(key);
        frame();
        releaseKey(key);
        frame();
    }
    // Frames until the state is `state` (at most 40); true when it got there.
    bool runUntil(jint state) {
        for (int i = 0; i < 40 && cGame::s_state != state; ++i) {
            frame();
            if (HasFatalFailure()) return false;
        }
        return cGame::s_state == state;
    }
    // The menu's row with this item chosen with fire; the blink runs out in the frames after it.
    void choose(jint item) {
        ASSERT_TRUE(runUntilInputTaken());
        jint row = -1;
        for (jint i = 0; i < cGame::s_menuCount; ++i)
            if ((cGame::s_menuItems->get(i) & cGame::kMenuTextMask) == item) row = i;
        ASSERT_GE(row, 0) << "item " << item << " is not in the list";
        // Scrolled to it, as the down key would.
        cGame::s_menuFirstRow = std::min(row, cGame::menuLastFirstRow());
        cGame::s_menuSelection = row;
        tap(cGame::kKeyFire);
    }
    bool runUntilInputTaken() {
        if (cGame::s_stateEntered) frame();
        for (int i = 0; i < 40 && !cGame::screenTakesInput(); ++i) frame();
        return cGame::screenTakesInput();
    }
    // The question asked is answered: yes (1) or no (0).
    void answer(jint textId, jint choice) {
        for (int i = 0; i < 40 && !cGame::s_dialogOpen; ++i) frame();
        ASSERT_TRUE(cGame::s_dialogOpen);
        ASSERT_EQ(cGame::s_dialogTextId, textId);
        cGame::s_dialogChoice = choice;
        cGame::s_dialogAnswered = true;
        cGame::s_dialogOpen = false;
        frame();
    }
};

TEST_F(PlayScreensTest, PauseComesFromTheSoftKeyOrAShowAndResumesWhereItWasLeft) {
    frame();
    ASSERT_EQ(cGame::s_loadKind, cGame::kLoadKindNone);
    ASSERT_EQ(cGame::s_softkeyLeft, cGame::kSoftkeyIcon);
    struct Case {
        const char* how;
        bool byShow, infoPending;
        jint resumeKey;   // the right soft key, or -1: the resume row
        jint back;        // the state resuming leads to
    };
    const Case cases[] = {
        {"left soft key, resumed by the row", false, false, -1, cGame::kStatePlay},
        {"shown again, resumed by the right soft key", true, false, cGame::kKeyRightSoft, cGame::kStatePlay},
        {"left soft key over an interrupted page", false, true, -1, cGame::kStateInfoPages},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        ASSERT_TRUE(runUntil(cGame::kStatePlay));
        frame();
        const jint heroX = cGame::s_hero->x;
        if (c.byShow) {
            cGame::s_fullRedraw = 1;
            frame();
            cGame::s_fullRedraw = 0;
        } else {
            tap(cGame::kKeyLeftSoft);
        }
        ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));
        EXPECT_TRUE(cGame::s_pauseInProgress);
        frame(3);
        EXPECT_EQ(cGame::s_hero->x, heroX) << "the level stands still under the menu";
        cGame::s_infoPending = c.infoPending ? 1 : 0;
        if (c.resumeKey >= 0) {
            ASSERT_TRUE(runUntilInputTaken());
            tap(c.resumeKey);
        } else {
            choose(text_id::kResume);
        }
        ASSERT_TRUE(runUntil(c.back));
        if (c.back == cGame::kStateInfoPages) {
            frame();
            tap(cGame::kKeyFire);   // an ordinary page: fire goes back to play
        }
        ASSERT_TRUE(runUntil(cGame::kStatePlay));
        frame();
        EXPECT_FALSE(cGame::s_pauseInProgress);
        EXPECT_FALSE(cGame::s_infoPending);
    }
}

// The hero lost (or the level won) in the very step the pause key is released: the loss goes on,
// not a pause that would come back to a level whose hero never asks again.
TEST_F(PlayScreensTest, ALevelEndedInTheStepOfThePauseKeyIsNotPaused) {
    static jint asked = -1;
    cGame::s_levelServices.runTriggerScripts = [] {
        if (asked >= 0) cGame::setState(asked);
        return jint{0};
    };
    for (jint ending : {cGame::kStateHeroLost, cGame::kStateLevelEnd}) {
        SCOPED_TRACE(ending);
        enter(cGame::kStatePlay);
        frame();
        holdKey(cGame::kKeyLeftSoft);
        frame();
        releaseKey(cGame::kKeyLeftSoft);
        asked = ending;
        frame();
        asked = -1;
        EXPECT_EQ(cGame::s_state, ending);
        EXPECT_FALSE(cGame::s_pauseInProgress);
    }
}

// Information pages: the tutorial's two pages, an ordinary page replaced once by its follow-up, and
// a page interrupted by the pause and found again on resume.
TEST_F(PlayScreensTest, InformationPagesTurnAndGoBackToPlay) {
    struct Case {
        jint page, arg;
        std::vector<jint> pagesSeen;   // s_infoPage before each fire
    };
    const Case cases[] = {{118, 0, {118, 118}}, {104, 4, {104, 106}}, {104, 0, {104}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        enter(cGame::kStatePlay);
        frame();
        cGame::s_infoPage = c.page;
        cGame::s_infoPageArg = c.arg;
        cGame::setState(cGame::kStateInfoPages);   // as the information trigger asks
        frame(2);
        ASSERT_EQ(cGame::s_state, cGame::kStateInfoPages);
        for (jint page : c.pagesSeen) {
            EXPECT_EQ(cGame::s_state, cGame::kStateInfoPages);
            EXPECT_EQ(cGame::s_infoPage, page);
            tap(cGame::kKeyFire);
        }
        ASSERT_TRUE(runUntil(cGame::kStatePlay));
    }
    // The pause over a page: resumed, the page is back.
    cGame::s_infoPage = 104;
    cGame::s_infoPageArg = 0;
    cGame::setState(cGame::kStateInfoPages);
    frame(2);
    tap(cGame::kKeyLeftSoft);
    ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));
    EXPECT_TRUE(cGame::s_infoPending);
    choose(text_id::kResume);
    ASSERT_TRUE(runUntil(cGame::kStateInfoPages));
    frame();
    EXPECT_EQ(cGame::s_infoPage, 104);
}

// The pause menu's sound settings: music and effects only (no reset of progress here), each
// switch saved when the screen is left by the right soft key back to the pause menu.
TEST_F(PlayScreensTest, InGameSoundSettingsToggleAndSaveWithoutTheResetEntry) {
    cGame::s_saveBuffer->set(cGame::kSaveHighestLevelByte, 4);   // progress: the front end would offer the reset
    frame();
    tap(cGame::kKeyLeftSoft);
    ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));
    choose(text_id::kSound);
    ASSERT_TRUE(runUntil(cGame::kStateSoundMenuInGame));
    frame();
    auto rows = [] {
        std::vector<jint> out;
        for (jint i = 0; i < cGame::s_menuCount; ++i) out.push_back(cGame::s_menuItems->get(i) & cGame::kMenuTextMask);
        return out;
    };
    EXPECT_EQ(rows(), (std::vector<jint>{text_id::kMusicOn, text_id::kEffectsOn}));
    choose(text_id::kMusicOn);
    for (int i = 0; i < 20 && cGame::s_musicOn; ++i) frame();
    EXPECT_FALSE(cGame::s_musicOn);
    EXPECT_EQ(rows(), (std::vector<jint>{text_id::kMusicOff, text_id::kEffectsOn}));
    ASSERT_TRUE(runUntilInputTaken());
    tap(cGame::kKeyRightSoft);
    ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));
    EXPECT_EQ(cGame::s_saveBuffer->get(cGame::kSaveMusicByte), 0);
    EXPECT_EQ(cGame::s_saveBuffer->get(cGame::kSaveEffectsByte), 1);
}

TEST_F(PlayScreensTest, PauseMenuQuestionsRestartLeaveOrQuitOnlyOnYes) {
    cHero::s_gunEnergy = 40;
    cGame::s_menuRemembered->set(cGame::kMenuNumberMain, 3);
    frame();
    cGame::s_hero->x = 3000 << 8;
    tap(cGame::kKeyLeftSoft);
    ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));

    // No: nothing happens, the menu stays.
    choose(text_id::kRestart);
    answer(text_id::kRestartQuestion, 0);
    frame(3);
    EXPECT_EQ(cGame::s_state, cGame::kStatePauseMenu);
    EXPECT_EQ(cGame::s_hero->x, 3000 << 8);

    // Yes: the level from its beginning, straight back to play.
    cGame::s_heroMeterBonus = 50;
    choose(text_id::kRestart);
    answer(text_id::kRestartQuestion, 1);
    ASSERT_TRUE(runUntil(cGame::kStatePlay));
    EXPECT_EQ(cGame::s_hero->x, kHeroX << 8);
    EXPECT_EQ(cGame::s_heroMeterBonus, 0);
    EXPECT_EQ(cGame::s_menuRemembered->get(cGame::kMenuNumberPause), 0) << "a restart forgets the row";

    // Leave: the level's release, then the main menu on its second row; the scene cache goes.
    frame();
    ASSERT_NE(cGame::s_sceneCache, nullptr);
    tap(cGame::kKeyLeftSoft);
    ASSERT_TRUE(runUntil(cGame::kStatePauseMenu));
    choose(text_id::kLeaveLevel);
    answer(text_id::kLeaveQuestion, 1);
    EXPECT_EQ(cGame::s_state, cGame::kStateLoading);
    EXPECT_EQ(cGame::s_loadKind, cGame::kLoadKindUnload);
    EXPECT_EQ(cGame::s_loadTarget, cGame::kStateMainMenu);
    EXPECT_EQ(cGame::s_menuRemembered->get(cGame::kMenuNumberMain), 1);
    EXPECT_EQ(cGame::s_sceneCache, nullptr);

    // Quit: the game's run flag ends the run.
    enter(cGame::kStatePauseMenu);
    cGame::s_runFlag = 0;
    frame();
    choose(text_id::kQuit);
    answer(text_id::kQuitQuestion, 1);
    EXPECT_EQ(cGame::s_runFlag, -1);
}

TEST_F(PlayScreensTest, HeroLostRetriesFromTheCheckpointOrEndsTheGame) {
    struct Case {
        jint lives;
        bool retry;
    };
    for (const Case& c : {Case{3, true}, Case{3, false}, Case{1, false}}) {
        SCOPED_TRACE(std::to_string(c.lives) + (c.retry ? " retry" : " give up"));
        enter(cGame::kStatePlay);
        frame();
        cHero::s_lives = c.lives;
        cGame::s_hero->x = 2000 << 8;
        cGame::s_lastSound = -1;
        cGame::setState(cGame::kStateHeroLost);   // as the hero asks when it dies
        frame();
        ASSERT_EQ(cGame::s_state, cGame::kStateHeroLost);
        frame();
        EXPECT_EQ(cHero::s_lives, c.lives - 1);
        EXPECT_EQ(cGame::s_hero->player->anim, 62);
        ASSERT_TRUE(runUntil(cGame::kStateLossMenu));
        EXPECT_EQ(cGame::s_lastSound, 9) << "the sound at the animation's middle";
        frame();
        if (c.lives - 1 <= 0) {
            EXPECT_EQ(cGame::s_menuCount, 0) << "game over offers no choice";
            tap(cGame::kKeyFire);
            EXPECT_EQ(cGame::s_state, cGame::kStateLoading);
            EXPECT_EQ(cGame::s_loadKind, cGame::kLoadKindUnload);
            EXPECT_EQ(cGame::s_loadTarget, cGame::kStateMainMenu);
            continue;
        }
        ASSERT_EQ(cGame::s_menuCount, 2);
        choose(c.retry ? text_id::kYes : text_id::kNo);
        if (!c.retry) {
            ASSERT_TRUE(runUntil(cGame::kStateLoading));
            EXPECT_EQ(cGame::s_loadTarget, cGame::kStateMainMenu);
            continue;
        }
        for (int i = 0; i < 20 && cGame::s_hero->player->anim != 55; ++i) frame();
        EXPECT_EQ(cGame::s_hero->player->anim, 55) << "the retry animation plays first";
        EXPECT_EQ(cGame::s_state, cGame::kStateLossMenu);
        ASSERT_TRUE(runUntil(cGame::kStatePlay));
        EXPECT_EQ(cGame::s_hero->x, kHeroX << 8) << "the level from its start (no checkpoint stored)";
        EXPECT_EQ(cHero::s_lives, c.lives - 1) << "a retry keeps the lives left";
    }
}

TEST_F(PlayScreensTest, ResultsFromTheStatistics) {
    struct Case {
        jint difficulty, playMs, reference, a, b, c;
        std::vector<jint> results;
    };
    const Case cases[] = {
        {1, 95'999, 120, 300, 40, 5, {95, 10'250, 300, 40, 10'595}},
        {2, 95'999, 120, 300, 40, 5, {95, 20'500, 600, 80, 21'190}},   // all but the time doubled
        {1, 1'200'000, 150, 7, 0, 0, {1200, 0, 7, 0, 7}},               // over by 1050 s: no bonus, not negative
        {1, 1'150'000, 150, 0, 0, 0, {1150, 0, 0, 0, 0}},               // over by exactly 1000 s
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playMs);
        cGame::s_difficulty = c.difficulty;
        IntArray* s = cGame::s_levelStats;
        for (jint v : {0, 1, 2, 3, 4, 5}) s->set(v, 0);
        s->set(0, c.playMs);
        s->set(2, c.a);
        s->set(3, c.b);
        s->set(4, c.c);
        s->set(5, c.reference);
        cGame::computeLevelResults();
        std::vector<jint> got;
        for (jint i = 0; i < 5; ++i) got.push_back(s->get(i));
        EXPECT_EQ(got, c.results);
    }
}

TEST_F(PlayScreensTest, LevelEndGoesToTheNextLevelOrAfterTheLastToTheCredits) {
    struct Case {
        jint level, difficulty, highestBefore;
        jint kind, target, highestAfter, gunEnergy;
    };
    const Case cases[] = {
        {0, 1, -1, cGame::kLoadKindLevel, cGame::kStatePlay, 1, 1500},
        {3, 2, 6, cGame::kLoadKindLevel, cGame::kStatePlay, 6, 1000},   // progress never goes back
        {9, 1, 9, cGame::kLoadKindUnload, cGame::kStateScrollingText, 9, 777},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        chooseLevel(c.level);
        cGame::s_difficulty = c.difficulty;
        cGame::s_saveBuffer->set(cGame::kSaveHighestLevelByte, static_cast<jbyte>(c.highestBefore));
        cGame::s_gameFinished = 0;
        cGame::s_levelLoaded = 0;
        cHero::s_gunEnergy = 777;
        enter(cGame::kStatePlay);
        frame();
        cGame::s_levelComplete = 1;
        cGame::setState(cGame::kStateLevelEnd);
        frame(2);
        ASSERT_EQ(cGame::s_state, cGame::kStateLevelEnd);
        EXPECT_FALSE(cGame::s_resultsShown);
        tap(cGame::kKeyFire);
        EXPECT_TRUE(cGame::s_resultsShown);
        ASSERT_TRUE(runUntil(cGame::kStateLoading));
        EXPECT_EQ(cGame::s_loadKind, c.kind);
        EXPECT_EQ(cGame::s_loadTarget, c.target);
        EXPECT_EQ(cGame::highestLevelReached(), c.highestAfter);
        EXPECT_EQ(cHero::s_gunEnergy, c.gunEnergy);
        if (c.level < 9) {
            EXPECT_EQ(cGame::s_level, c.level + 1);
            EXPECT_EQ(cGame::s_altPlayerLevel, c.level + 1 == 1 || c.level + 1 == 4 || c.level + 1 == 7);
            EXPECT_TRUE(cGame::s_levelLoaded) << "the finished level is released by the next load";
        } else {
            EXPECT_TRUE(cGame::s_gameFinished);
            EXPECT_TRUE(cGame::s_musicOnMenuEntry);
        }
    }
}

// The scene: level 0's meadow colour held in the cache and drawn from it until a load asks for a
// redraw; level 8 keeps no cache and fills black every frame; blackout blacks out the background but
// not the actors; the heads-up display is left out only under an information page.
TEST_F(PlayScreensTest, ScenePainterCachesTheBackgroundAndDrawsActorsAndHudOverIt) {
    static int hudCalls = 0;
    static const cGame::ActorView view{[](cGame::HudValues*) {
                                           ++hudCalls;
                                           return false;
                                       },
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    cGame::registerActorView(&view);
    constexpr uint16_t kMeadow = ((0x50 >> 3) << 11) | ((0xC0 >> 2) << 5) | (0x40 >> 3);
    auto fillScreen = [](jint rgb) {
        auto* g = cGame::s_frameImage->getGraphics();
        g->setColor(rgb);
        g->fillRect(0, 0, kScreenW, kScreenH);
    };
    // A corner of the portrait screen far from the hero, who stands in the middle of the view.
    auto corner = [] { return pixel(2, 2); };
    auto heroPixel = [] {
        int n = 0;
        for (int y = 0; y < kScreenH; y += 2)
            for (int x = 0; x < kScreenW; x += 2) n += pixel(x, y) != 0 && pixel(x, y) != kMeadow;
        return n;
    };

    cGame::s_hero->player->SetAnim(0, 0);   // standing
    cGame::s_state = cGame::kStatePlay;
    drawFrame();
    ASSERT_NE(cGame::s_sceneCache, nullptr);
    EXPECT_EQ(cGame::s_sceneCacheRedraw, 0);
    EXPECT_EQ(corner(), kMeadow);
    EXPECT_GT(heroPixel(), 0) << "the hero over the background";
    EXPECT_EQ(hudCalls, 1);
    javax_microedition_lcdui_Image* cache = cGame::s_sceneCache;
    // The cache alone restores the background: nothing fills the screen any more.
    cGame::s_sceneCacheGraphics->setColor(0x0000FF);
    cGame::s_sceneCacheGraphics->fillRect(0, 0, 4, 4);
    fillScreen(0xFF0000);
    drawFrame();
    EXPECT_EQ(corner(), 0x001F) << "drawn from the cache, not filled again";
    EXPECT_EQ(cGame::s_sceneCache, cache);
    // A level load asks for the cache to be drawn anew, through the loader's service.
    ASSERT_NE(cGame::s_levelServices.redrawSceneCache, nullptr);
    cGame::s_levelServices.redrawSceneCache();
    drawFrame();
    EXPECT_EQ(corner(), kMeadow);

    // Blackout: the background black, the hero still drawn; no HUD under an information page.
    cGame::s_blackout = 1;
    cGame::s_state = cGame::kStateInfoPages;
    fillScreen(0xFF0000);
    drawFrame();
    EXPECT_EQ(corner(), 0);
    EXPECT_GT(heroPixel(), 0);
    EXPECT_EQ(hudCalls, 3);
    cGame::s_blackout = 0;

    // Level 8: no cache; the black fill every frame.
    cGame::s_levelServices.dropSceneCache();
    chooseLevel(8);
    cGame::s_levelServices.redrawSceneCache();   // as the level's load does
    cGame::s_state = cGame::kStatePlay;
    for (int i = 0; i < 2; ++i) {
        fillScreen(0xFF0000);
        drawFrame();
        EXPECT_EQ(corner(), 0) << i;
    }
    EXPECT_EQ(cGame::s_sceneCache, nullptr);
}

}  // namespace

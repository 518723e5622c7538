// The front-end screens' handlers driven message by message over the menu fixture: which rows the
// main, sound and level-select lists offer for the progress saved (and in cheat mode), new game
// asking only over progress, and the help pages wrapping both ways.
#include <gtest/gtest.h>

#include <vector>

#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/game/menu_fixture.h"

namespace {

IntArray* ints(const std::vector<jint>& v) {
    IntArray* a = Runtime::newIntArray(static_cast<jint>(v.size()));
    for (size_t i = 0; i < v.size(); ++i) a->set(static_cast<jint>(i), v[i]);
    return a;
}

class FrontEndScreenTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        cGame::s_menuMain = ints({57, 74, 58, 62, 63, 65, 67});
        cGame::s_menuSound = ints({27, 29, 68});
        cGame::s_levelNames = ints({83, 84, 85, 86, 87, 88, 89, 90, 94, 95});
        cGame::s_saveBuffer = Runtime::newByteArray(cGame::kSaveBufferSize);
        cGame::s_prevState = cGame::kStateSplash;
        cGame::s_musicOn = cGame::s_sfxOn = true;
    }
    static void progress(jint highestLevel, jint menuProgress = 0) {
        cGame::s_saveBuffer->set(cGame::kSaveHighestLevelByte, static_cast<jbyte>(highestLevel));
        cGame::s_saveBuffer->set(cGame::kSaveMenuProgressByte, static_cast<jbyte>(menuProgress));
    }
    static std::vector<jint> rows() {
        std::vector<jint> out;
        for (jint i = 0; i < cGame::s_menuCount; ++i) out.push_back(cGame::s_menuItems->get(i) & cGame::kMenuTextMask);
        return out;
    }
    // The row at index i chosen with fire, its blink run out, the screen's next update.
    static void choose(cGame::StateHandler handler, jint i) {
        cGame::s_transitionPhase = 0;
        cGame::s_menuSelection = i;
        release(5);
        handler(nullptr, cGame::kMsgUpdate);
        cGame::s_chosenBlink = 0;
        release(-1);
        handler(nullptr, cGame::kMsgUpdate);
    }
};

TEST_F(FrontEndScreenTest, LevelSelectAndResetRowsOnlyWithProgress) {
    struct Case {
        jint highestLevel;
        std::vector<jint> mainRows, soundRows;
    };
    const Case cases[] = {
        {-1, {57, 62, 63, 65, 67}, {27, 29}},
        {0, {57, 74, 62, 63, 65, 67}, {27, 29, 68}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.highestLevel);
        progress(c.highestLevel);
        cGame::stateMainMenu(nullptr, cGame::kMsgEnter);
        EXPECT_EQ(rows(), c.mainRows);
        cGame::stateSoundMenu(nullptr, cGame::kMsgEnter);
        EXPECT_EQ(rows(), c.soundRows);
    }
    // The labels follow the switches.
    cGame::s_musicOn = false;
    cGame::stateSoundMenu(nullptr, cGame::kMsgEnter);
    EXPECT_EQ(rows(), (std::vector<jint>{28, 29, 68}));
}

TEST_F(FrontEndScreenTest, NewGameAsksOnlyOverProgress) {
    struct Case {
        jint highestLevel, menuProgress;
        bool asks;
    };
    const Case cases[] = {{-1, 0, false}, {0, 0, true}, {-1, 1, true}, {5, 3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.highestLevel << " " << c.menuProgress);
        progress(c.highestLevel, c.menuProgress);
        cGame::s_pendingAction = cGame::kActionNone;
        cGame::s_dialogTextId = -1;
        cGame::stateMainMenu(nullptr, cGame::kMsgEnter);
        choose(&cGame::stateMainMenu, 0);
        if (c.asks) {
            EXPECT_EQ(cGame::s_pendingAction, cGame::kActionOpenDialog);
            EXPECT_EQ(cGame::s_dialogTextId, 69);
        } else {
            EXPECT_EQ(cGame::s_pendingAction, cGame::kActionLoadTarget);
            EXPECT_EQ(cGame::s_loadTarget, cGame::kStateDifficultyMenu);
        }
    }
}

TEST_F(FrontEndScreenTest, LevelSelectOffersTheLevelsReachedOrAllInCheatMode) {
    struct Case {
        jint highestLevel;
        bool cheat;
        jint levels;
    };
    // 10 is "past the last level": the list still ends at level 9.
    const Case cases[] = {{0, false, 1}, {3, false, 4}, {10, false, 10}, {-1, true, 10}, {2, true, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.highestLevel << (c.cheat ? " cheat" : ""));
        progress(c.highestLevel);
        cGame::s_cheatMode = c.cheat;
        cGame::stateLevelSelect(nullptr, cGame::kMsgEnter);
        EXPECT_EQ(cGame::s_menuCount, c.levels);
        EXPECT_EQ(cGame::s_levelSelectLast, c.levels - 1);
    }
    // Choosing the second row loads level 1 (an alternate-player level) and plays it.
    choose(&cGame::stateLevelSelect, 1);
    EXPECT_EQ(cGame::s_level, 1);
    EXPECT_EQ(cGame::s_altPlayerLevel, 1);
    EXPECT_EQ(cGame::s_loadKind, cGame::kLoadKindLevel);
    EXPECT_EQ(cGame::s_loadTarget, cGame::kStatePlay);
    EXPECT_EQ(cGame::s_pendingAction, cGame::kActionLoad);
    cGame::setLevel(0);
}

TEST_F(FrontEndScreenTest, HelpPagesWrapBothWays) {
    cGame::statePictureBrowser(nullptr, cGame::kMsgEnter);
    EXPECT_EQ(cGame::s_helpPage, 0);
    struct Step {
        jint key, page;
    };
    // 3 / 10 previous, 4 / 12 next.
    const Step steps[] = {{3, 8}, {10, 7}, {4, 8}, {12, 0}, {4, 1}, {3, 0}};
    for (const Step& s : steps) {
        release(s.key);
        cGame::statePictureBrowser(nullptr, cGame::kMsgUpdate);
        EXPECT_EQ(cGame::s_helpPage, s.page) << "key " << s.key;
    }
    // Back goes where the browser was opened from: the main menu at once, the pause menu through
    // the transition.
    release(19);
    cGame::statePictureBrowser(nullptr, cGame::kMsgUpdate);
    EXPECT_EQ(cGame::s_nextState, cGame::kStateMainMenu);
    cGame::s_prevState = cGame::kStatePauseMenu;
    cGame::statePictureBrowser(nullptr, cGame::kMsgEnter);
    cGame::s_stateChangePending = 0;
    cGame::s_nextState = -1;
    release(19);
    cGame::statePictureBrowser(nullptr, cGame::kMsgUpdate);
    EXPECT_EQ(cGame::s_pendingAction, cGame::kActionLoadTarget);
    EXPECT_EQ(cGame::s_loadTarget, cGame::kStatePauseMenu);
    EXPECT_EQ(cGame::s_nextState, -1);
    cGame::s_stateChangePending = 0;
}

}  // namespace

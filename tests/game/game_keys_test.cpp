// cGame's game keys: the two maps, the live table and its per-frame snapshot (press, hold, release
// within and across frames, the soft keys' one-frame auto-release), the queries and the cheat
// sequence detector.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "classlib/java_util/java_util_hashtable.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/static_class.h"
#include "tests/classlib/thread_helpers.h"
#include "tests/support/test_world.h"

namespace {

class GameKeysTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        reset();
        cGame::initKeyMap();
        cGame::createKeyTables();
        cGame::initCheatSequence();
        game = new cGame();
        // The fixture lives outside the stacks the collector scans: the game is held by a root.
        m_gameRoot = game;
        objectManager().addRoot(&m_gameRoot);
    }
    void TearDown() override {
        objectManager().removeRoot(&m_gameRoot);
        reset();
        TestWorld::TearDown();
    }
    static void reset() {
        cGame::s_keysLive = cGame::s_keysFrame = nullptr;
        cGame::s_keyMap = cGame::s_keyMapNav = nullptr;
        cGame::s_cheatSequence = nullptr;
        cGame::s_cheatIndex = 0;
        cGame::s_pendingAction = 0;
        cGame::s_dialogText = cGame::s_wrappedText = nullptr;
    }
    static jint snapshot(jint k) { return cGame::s_keysFrame->elements()[k]; }

    // Runs one frame after the events: 'p' press, 'r' release of `code`.
    jint frame(jint code, const std::string& events, jint k) {
        for (char e : events) {
            if (e == 'p') game->keyPressed(code);
            if (e == 'r') game->keyReleased(code);
        }
        cGame::updateKeyStates();
        return snapshot(k);
    }

    cGame* game = nullptr;

private:
    Object* m_gameRoot = nullptr;
};

TEST_F(GameKeysTest, DeviceCodesMapToGameKeys) {
    const jint codes[][2] = {{-1, 1}, {-2, 2},  {-3, 3},  {-4, 4},  {-5, 5},  {'2', 1}, {'8', 2},  {'4', 3},  {'6', 4},
                             {'5', 5}, {'0', 6}, {'1', 7}, {'3', 9}, {'7', 13}, {'9', 15}, {'*', 16}, {'#', 17}, {-6, 18},
                             {-7, 19}, {70, 0},  {-8, 0},  {0, 0}};
    for (const auto& c : codes) EXPECT_EQ(cGame::mapKeyCode(c[0]), c[1]) << c[0];
    EXPECT_EQ(cGame::s_keyMap->size(), 14);
    EXPECT_EQ(cGame::s_keyMapNav->size(), 5);
    cGame::s_keyMap = nullptr;
    EXPECT_EQ(cGame::mapKeyCode(-1), 0);  // before initKeyMap
}

// Each row: per frame the events of one device key before the frame, and the snapshot it shows.
TEST_F(GameKeysTest, PressHoldAndReleaseAcrossFrames) {
    struct Frame {
        const char* events;
        jint shown;
    };
    struct Case {
        const char* name;
        jint code;
        jint key;
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        {"held three frames", '5', 5, {{"p", 1}, {"", 2}, {"", 3}, {"r", -4}, {"", 0}}},
        {"press and release between frames", -1, 1, {{"pr", -1}, {"", 0}}},
        {"repeated press while held", '2', 1, {{"p", 1}, {"p", 2}, {"pp", 3}}},
        {"press again before the release is seen", -4, 4, {{"p", 1}, {"rp", 1}, {"", 2}}},
        {"release of a key that is up", '6', 4, {{"r", 0}, {"", 0}}},
        {"left soft key auto-release", -6, 18, {{"p", 1}, {"", -2}, {"", 0}, {"r", 0}, {"", 0}}},
        {"right soft key pressed and released at once", -7, 19, {{"pr", -1}, {"", 0}}},
        {"unmapped code counts as key 0", 70, 0, {{"p", 1}, {"r", -2}}},
    };
    for (const Case& c : cases) {
        cGame::clearKeys();
        int n = 0;
        for (const Frame& f : c.frames) EXPECT_EQ(frame(c.code, f.events, c.key), f.shown) << c.name << " frame " << n++;
    }
}

TEST_F(GameKeysTest, AKeyHeldLongStopsAtTheCeiling) {
    EXPECT_EQ(frame('8', "p", 2), 1);
    for (int i = 2; i <= 200; ++i) {
        ASSERT_EQ(frame('8', "", 2), i < 126 ? i : 126) << i;
        ASSERT_TRUE(cGame::isKeyDown(2));
    }
    EXPECT_EQ(frame('8', "r", 2), -126);
    EXPECT_TRUE(cGame::isKeyReleased(2));
    EXPECT_EQ(frame('8', "", 2), 0);
}

TEST_F(GameKeysTest, QueriesReadTheSnapshot) {
    game->keyPressed('1');  // 7
    game->keyPressed('3');  // 9
    EXPECT_EQ(cGame::getPressedKey(), -1);  // nothing before the frame's snapshot
    cGame::updateKeyStates();
    EXPECT_EQ(cGame::getPressedKey(), 9);
    EXPECT_TRUE(cGame::isKeyJustPressed(7));
    EXPECT_TRUE(cGame::isKeyDown(7));
    EXPECT_FALSE(cGame::isKeyUp(7));
    EXPECT_TRUE(cGame::isKeyUp(1));
    game->keyReleased('1');
    game->keyReleased('3');
    game->keyPressed(-1);
    EXPECT_TRUE(cGame::isKeyDown(9));  // the release is not seen before the next frame
    cGame::updateKeyStates();
    EXPECT_EQ(cGame::getReleasedKey(), 9);  // two releases in one frame: the higher key only
    EXPECT_TRUE(cGame::isKeyReleased(7));
    EXPECT_FALSE(cGame::isKeyJustPressed(7));
    EXPECT_EQ(cGame::getPressedKey(), 1);
    cGame::updateKeyStates();
    EXPECT_EQ(cGame::getReleasedKey(), -1);
    EXPECT_FALSE(cGame::isKeyDown(99));  // outside the table: up
    cGame::clearKeys();
    EXPECT_EQ(cGame::getPressedKey(), -1);
    cGame::updateKeyStates();
    EXPECT_FALSE(cGame::isKeyDown(1));
}

// A fresh start has no last key and the play screen's touch buttons shown; every press, even one
// before the key tables exist, is remembered by its device code.
TEST_F(GameKeysTest, TheStartSetsTheKeyAndTouchStaticsAndAPressKeepsItsCode) {
    cGame::s_lastKeyCode = 50;
    cGame::s_touchButtonsShown = false;
    cGame::initStaticFields();
    StaticClass::releaseStatics();   // what the start made must not outlive this test's heaps
    reset();
    cGame::initKeyMap();
    cGame::createKeyTables();
    EXPECT_EQ(cGame::s_lastKeyCode, -9999);
    EXPECT_TRUE(cGame::s_touchButtonsShown);
    game->keyPressed(70);   // in neither map
    EXPECT_EQ(cGame::s_lastKeyCode, 70);
    cGame::s_keysLive = nullptr;
    game->keyPressed(-6);
    EXPECT_EQ(cGame::s_lastKeyCode, -6);
    game->keyReleased(-5);
    EXPECT_EQ(cGame::s_lastKeyCode, -6);
}

TEST_F(GameKeysTest, EventsBeforeTheTablesExistAreIgnored) {
    cGame::s_keysLive = cGame::s_keysFrame = nullptr;
    game->keyPressed(-5);
    game->keyReleased(-5);
    cGame::updateKeyStates();
    EXPECT_EQ(cGame::getPressedKey(), -1);
    EXPECT_FALSE(cGame::checkCheatSequence());
    cGame::createKeyTables();
    EXPECT_EQ(frame(-5, "", 5), 0);
}

// The sequence 1 9 3 7 on the keypad, one released key per frame.
TEST_F(GameKeysTest, CheatSequenceCompletesAndResets) {
    auto tap = [this](jint code) {
        game->keyPressed(code);
        game->keyReleased(code);
        cGame::updateKeyStates();
        return cGame::checkCheatSequence();
    };
    auto idle = [] {
        cGame::updateKeyStates();
        return cGame::checkCheatSequence();
    };
    EXPECT_FALSE(tap('1'));
    EXPECT_FALSE(tap('9'));
    EXPECT_FALSE(idle());  // no key released: progress kept
    EXPECT_FALSE(tap('3'));
    EXPECT_EQ(cGame::s_cheatIndex, 3);
    EXPECT_FALSE(tap('5'));  // wrong key: start again
    EXPECT_EQ(cGame::s_cheatIndex, 0);
    EXPECT_FALSE(tap('7'));  // 7 is not the first key, and a broken sequence is not retried
    EXPECT_FALSE(tap('9'));
    EXPECT_EQ(cGame::s_cheatIndex, 0);
    EXPECT_EQ(cGame::s_pendingAction, 0);
    for (jint code : {'1', '9', '3'}) EXPECT_FALSE(tap(code));
    EXPECT_TRUE(tap('7'));
    EXPECT_EQ(cGame::s_cheatIndex, 0);
    EXPECT_EQ(cGame::s_pendingAction, 2);
    EXPECT_NE(cGame::s_dialogText, nullptr);  // text 71 as a message box (its text: the dialog tests)
    EXPECT_FALSE(tap('1'));  // a new round starts from the first key
    EXPECT_EQ(cGame::s_cheatIndex, 1);
}

// Device keys from another thread while this one steps frames: every snapshot stays a valid table
// and, once the keys are up, two frames leave nothing held (TSan watches the live table).
struct KeyStorm {
    cGame* game;
    std::atomic<bool> done{false};
};

void pressAndRelease(void* context) {
    auto& storm = *static_cast<KeyStorm*>(context);
    const jint codes[] = {-1, -2, -3, -4, -5, -6, -7, '0', '1', '3', '7', '9', '*', '#'};
    for (int round = 0; round < 200; ++round) {
        for (jint code : codes) storm.game->keyPressed(code);
        for (jint code : codes) storm.game->keyReleased(code);
    }
    storm.done.store(true);
}

TEST_F(GameKeysTest, KeysFromAnotherThreadMeetTheFrameStepUnderTheLock) {
    Watchdog watchdog(std::chrono::seconds(60));
    KeyStorm storm{game};
    java_lang_Thread* host = newThread(&pressAndRelease, &storm);
    ASSERT_GE(host->start(), 0);
    while (!storm.done.load()) {
        // As a game frame does, allocate: the other thread's collections stop this one there.
        ASSERT_NE(Runtime::newByteArray(1), nullptr);
        cGame::updateKeyStates();
        for (jint k = 0; k < cGame::kGameKeyCount; ++k) {
            ASSERT_GE(snapshot(k), -126);
            ASSERT_LE(snapshot(k), 126);
        }
        ASSERT_FALSE(cGame::isKeyDown(0));  // every code of the storm is mapped
    }
    host->join();
    cGame::updateKeyStates();
    cGame::updateKeyStates();
    for (jint k = 0; k < cGame::kGameKeyCount; ++k) EXPECT_EQ(snapshot(k), 0) << k;
}

}  // namespace

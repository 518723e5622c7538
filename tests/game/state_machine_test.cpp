// cGame's state machine over a scripted handler table: the messages of each frame in order, a change
// requested during a frame applied at its end and entered first in the next, the last request of a
// frame winning, re-entering the current state, the counters, an exception ending the step, and a
// state without a handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "game/cgame.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

std::vector<std::string>* g_trace = nullptr;
// Per state, what its handler does on update: a state to request (0 none), a second request, or
// raise.
struct Script {
    jint request = 0;
    jint secondRequest = 0;
    bool raiseOnUpdate = false;
    bool raiseOnEnter = false;
};
Script g_scripts[cGame::kStateCount];

void scripted(cGame*, jint message) {
    const jint state = cGame::s_state;
    g_trace->push_back(std::to_string(state) + ":" + std::to_string(message) + " f" +
                       std::to_string(cGame::s_stateFrames) + " t" + std::to_string(cGame::s_stateTime));
    const Script& s = g_scripts[state];
    if (message == cGame::kMsgEnter && s.raiseOnEnter) Runtime::raise<java_lang_IllegalStateException>();
    if (message != cGame::kMsgUpdate) return;
    if (s.raiseOnUpdate) {
        Runtime::raise<java_lang_IllegalStateException>();
        return;
    }
    if (s.request) cGame::setState(s.request);
    if (s.secondRequest) cGame::setState(s.secondRequest);
}

class StateMachineTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        g_trace = &trace;
        for (jint s = 0; s < cGame::kStateCount; ++s) {
            saved[s] = cGame::stateHandler(s);
            g_scripts[s] = Script{};
            (void)cGame::setStateHandler(s, nullptr);
        }
        for (jint s : {1, 2, 3, 4, 6}) (void)cGame::setStateHandler(s, &scripted);
        cGame::resetStateMachine();
        cGame::s_frameTime = 50;
    }
    void TearDown() override {
        for (jint s = 0; s < cGame::kStateCount; ++s) (void)cGame::setStateHandler(s, saved[s]);
        Runtime::clearPendingException();
        cGame::resetStateMachine();
        g_trace = nullptr;
        TestWorld::TearDown();
    }
    // Steps `frames` frames and answers the trace they made.
    std::vector<std::string> step(int frames) {
        trace.clear();
        for (int i = 0; i < frames; ++i) cGame::stepStateMachine(nullptr);
        return trace;
    }

    std::vector<std::string> trace;
    cGame::StateHandler saved[cGame::kStateCount] = {};
};

using Trace = std::vector<std::string>;

TEST_F(StateMachineTest, AChangeIsAppliedAtTheEndOfTheFrameAndEnteredInTheNext) {
    LogCapture log;
    g_scripts[1].request = 2;
    // Frame 1: enter, update (requests 2), paint of state 1 all the same, exit.
    EXPECT_EQ(step(1), (Trace{"1:0 f0 t0", "1:1 f0 t0", "1:2 f0 t0", "1:3 f0 t0"}));
    EXPECT_EQ(cGame::s_state, 2);
    EXPECT_EQ(cGame::s_prevState, 1);
    EXPECT_EQ(cGame::s_nextState, -1);
    EXPECT_EQ(cGame::s_stateAtRequest, 1);
    EXPECT_EQ(cGame::s_stateChangePending, 0);
    EXPECT_EQ(cGame::s_stateEntered, 1);
    // Frames 2 and 3: state 2 entered with fresh counters; time counts only the frames after it.
    EXPECT_EQ(step(2), (Trace{"2:0 f0 t0", "2:1 f0 t0", "2:2 f0 t0", "2:1 f1 t50", "2:2 f1 t50"}));
    EXPECT_EQ(cGame::s_stateFrames, 2);
    EXPECT_EQ(cGame::s_stateTime, 100);
    EXPECT_TRUE(log.contains("game state 1 -> 2"));
}

TEST_F(StateMachineTest, TheLastRequestOfAFrameWins) {
    g_scripts[1].request = 3;
    g_scripts[1].secondRequest = 6;
    (void)step(1);
    EXPECT_EQ(cGame::s_state, 6);
    EXPECT_EQ(step(1).front(), "6:0 f0 t0");
}

TEST_F(StateMachineTest, RequestingTheCurrentStateExitsAndEntersItAgain) {
    (void)step(3);
    EXPECT_EQ(cGame::s_stateFrames, 3);
    g_scripts[1].request = 1;
    EXPECT_EQ(step(2), (Trace{"1:1 f3 t150", "1:2 f3 t150", "1:3 f3 t150", "1:0 f0 t0", "1:1 f0 t0", "1:2 f0 t0",
                              "1:3 f0 t0"}));
    EXPECT_EQ(cGame::s_prevState, 1);
}

TEST_F(StateMachineTest, AnExceptionEndsTheStepAtOnce) {
    struct Case {
        const char* name;
        Script script;
        Trace expected;
        jint framesAfter;
    };
    const Case cases[] = {
        {"raised by enter", {0, 0, false, true}, {"1:0 f0 t0"}, 0},
        {"raised by update", {2, 0, true, false}, {"1:0 f0 t0", "1:1 f0 t0"}, 0},
    };
    for (const Case& c : cases) {
        cGame::resetStateMachine();
        g_scripts[1] = c.script;
        EXPECT_EQ(step(1), c.expected) << c.name;
        EXPECT_NE(Runtime::getPendingException(), nullptr) << c.name;
        Runtime::clearPendingException();
        EXPECT_EQ(cGame::s_state, 1) << c.name;
        EXPECT_EQ(cGame::s_stateFrames, c.framesAfter) << c.name;
    }
}

TEST_F(StateMachineTest, AStateWithoutAHandlerSaysSoAndIgnoresItsMessages) {
    LogCapture log;
    (void)cGame::setStateHandler(4, nullptr);
    g_scripts[1].request = 4;
    (void)step(1);
    EXPECT_TRUE(step(3).empty());
    EXPECT_EQ(cGame::s_state, 4);
    EXPECT_EQ(cGame::s_stateFrames, 3);
    EXPECT_TRUE(log.contains("game state 4 has no handler yet (cGame::stateLoading)"));
    cGame::setState(5);  // a number the game has no state for
    (void)step(2);
    EXPECT_TRUE(log.contains("game state 5 has no handler"));
    cGame::setState(40);  // outside the table: ignored like a state without a handler
    (void)step(2);
    EXPECT_EQ(cGame::s_state, 40);
    EXPECT_EQ(cGame::stateHandler(40), nullptr);
    EXPECT_EQ(cGame::setStateHandler(-1, &scripted), nullptr);
}

// The game's own table: the boot and logo states are built, the 18 other screens come later.
TEST_F(StateMachineTest, TheGameKnowsItsTwentyStates) {
    int named = 0;
    for (jint s = 0; s < cGame::kStateCount; ++s)
        if (cGame::stateName(s)) ++named;
    EXPECT_EQ(named, 20);
    EXPECT_EQ(saved[1], &cGame::stateBoot);
    EXPECT_EQ(saved[2], &cGame::stateInit);
    for (jint s : {5, 7, 9, 10, 13, 17, 20, 22, 23, 24, 25}) EXPECT_EQ(cGame::stateName(s), nullptr) << s;
}

}  // namespace

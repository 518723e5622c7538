// Dialogs and soft keys: the keys a message box and a question answer to, the state machine running
// the dialog instead of the screen's update, the box drawn in portrait coordinates with its triple
// border, the answer rows, and the soft keys in their corners, highlighted under the finger.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/menu_fixture.h"

namespace {

class DialogTest : public MenuTest {
protected:
    // Runs the dialog's frames with no key until the overlay's pending work is done (at most n frames);
    // answers how many frames ran.
    static int runUntilIdle(int n) {
        release(-1);
        int f = 0;
        while (f < n && (cGame::s_chosen != -1 || cGame::s_pendingAction != 0 || cGame::s_transitionPhase != 0)) {
            cGame::updateDialogInput();
            if (cGame::s_chosen != -1 && cGame::s_chosenBlink > 0) --cGame::s_chosenBlink;  // as the painter does
            ++f;
        }
        return f;
    }
    // The overlay up with a message box (type 0) or a question (type 1), transition idle.
    void open(jint type, bool cancelable = false) {
        if (type == 0) cGame::showMessageBox(String::fromCString("HELLO"));
        else cGame::showMessageBoxById(25, 1, cancelable);
        cGame::s_dialogOpen = true;
        cGame::s_transitionPhase = 0;
        cGame::s_transitionTime = cGame::kTransitionHalf;
        cGame::s_chosen = -1;
        cGame::s_chosenBlink = 0;
        cGame::s_dialogAnswered = false;
        cGame::s_pendingAction = 0;
    }
};

TEST_F(DialogTest, AMessageBoxClosesOnAConfirmKeyAfterTheClosingHalf) {
    cGame::showMessageBox(String::fromCString("HELLO"));
    EXPECT_EQ(cGame::s_dialogType, 0);
    EXPECT_EQ(cGame::s_dialogTextId, -1);
    EXPECT_GT(cGame::s_dialogTextHeight, 0);
    EXPECT_FALSE(cGame::s_dialogOpen);  // pending action 2 opens it
    for (jint k : {18, 5, 11}) {
        SCOPED_TRACE(k);
        open(0);
        release(k);
        cGame::updateDialogInput();
        EXPECT_TRUE(cGame::s_dialogOpen);
        EXPECT_EQ(cGame::s_pendingAction, cGame::kActionCloseDialog);
        EXPECT_EQ(cGame::s_transitionPhase, -1);
        // The confirm frame and four more take 250 ms of the 300.
        EXPECT_EQ(runUntilIdle(4), 4);
        EXPECT_TRUE(cGame::s_dialogOpen);
        runUntilIdle(1);
        EXPECT_FALSE(cGame::s_dialogOpen);  // closed by the end of the closing half
        EXPECT_FALSE(cGame::s_dialogAnswered);  // a message box leaves no answer behind
    }
    for (jint k : {19, 1, 2}) {
        SCOPED_TRACE(k);
        open(0);
        release(k);
        cGame::updateDialogInput();
        EXPECT_EQ(runUntilIdle(20), 0);
        EXPECT_TRUE(cGame::s_dialogOpen);
        EXPECT_FALSE(cGame::s_dialogAnswered);
    }
}

TEST_F(DialogTest, AQuestionActsOnConfirmOnlyWithAChoiceAndCancelsOnlyWhenAllowed) {
    struct Case {
        const char* name;
        bool cancelable;
        jint choice, key;
        bool closes;
        jint choiceAfter;
    };
    const Case cases[] = {
        {"confirm without a touched answer does nothing", true, -1, 18, false, -1},
        {"confirm with the first answer", false, 1, 18, true, 1},
        {"confirm with the second answer", false, 0, 5, true, 0},
        {"a move key drops the choice", false, 1, 2, false, -1},
        {"back cancels a cancelable question", true, -1, 19, true, 2},
        {"back does nothing otherwise", false, 1, 19, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(1, c.cancelable);
        EXPECT_EQ(cGame::s_dialogTextId, 25);
        EXPECT_EQ(text(cGame::s_dialogText), "T25");
        cGame::s_dialogChoice = c.choice;
        release(c.key);
        cGame::updateDialogInput();
        runUntilIdle(20);
        EXPECT_EQ(cGame::s_dialogOpen, !c.closes);
        EXPECT_EQ(cGame::s_dialogAnswered, c.closes);
        EXPECT_EQ(cGame::s_dialogChoice, c.choiceAfter);
    }
    // A confirmed answer blinks 4 painted frames before the closing starts.
    open(1);
    cGame::s_dialogChoice = 1;
    release(18);
    cGame::updateDialogInput();
    EXPECT_EQ(cGame::s_chosenBlink, cGame::kBlinkFrames);
    EXPECT_EQ(cGame::s_pendingAction, 0);
    release(-1);
    for (int painted = 0; painted < 4; ++painted) {
        EXPECT_EQ(cGame::s_pendingAction, 0);
        (void)paint([] { cGame::paintDialogBox(); });
        cGame::updateDialogInput();
    }
    EXPECT_EQ(cGame::s_pendingAction, cGame::kActionCloseDialog);
    EXPECT_TRUE(cGame::s_dialogAnswered);
}

// A closed message box must not answer the question asked after it: the question keeps its text id
// until its own answer comes, and that answer is the one taken.
TEST_F(DialogTest, AQuestionAfterAClosedMessageBoxTakesItsOwnAnswer) {
    open(0);
    release(18);
    cGame::updateDialogInput();
    runUntilIdle(20);
    ASSERT_FALSE(cGame::s_dialogOpen);
    cGame::showMessageBoxById(37, 1, false);
    EXPECT_EQ(cGame::takeDialogAnswer(37), -1);   // nothing answered yet
    EXPECT_EQ(cGame::s_dialogTextId, 37);
    cGame::s_dialogOpen = true;
    cGame::s_transitionPhase = 0;
    cGame::s_dialogChoice = 1;
    release(18);
    cGame::updateDialogInput();
    runUntilIdle(20);
    EXPECT_EQ(cGame::takeDialogAnswer(37), 1);
}

// Keys that come while a confirmed answer blinks change nothing: the answer acts, and the choice
// does not stay half made (a blink left running would hold every later tap).
TEST_F(DialogTest, KeysDuringTheConfirmBlinkLeaveTheAnswer) {
    for (jint key : {1, 2, 8, 14, 19, 18}) {
        SCOPED_TRACE(key);
        open(1, true);
        cGame::s_dialogChoice = 1;
        release(18);
        cGame::updateDialogInput();
        ASSERT_EQ(cGame::s_chosenBlink, cGame::kBlinkFrames);
        --cGame::s_chosenBlink;   // one painted frame
        release(key);
        cGame::updateDialogInput();
        runUntilIdle(20);
        EXPECT_FALSE(cGame::s_dialogOpen);
        EXPECT_EQ(cGame::s_chosen, -1);
        EXPECT_EQ(cGame::takeDialogAnswer(25), 1);
    }
}

// The cheat sequence prepares the message box with text 71 for the next transition.
TEST_F(DialogTest, TheCheatSequencePreparesItsMessageBox) {
    cGame::initCheatSequence();
    for (jint i = 0; i < cGame::kCheatLength; ++i) {
        release(cGame::s_cheatSequence->get(i));
        EXPECT_EQ(cGame::checkCheatSequence(), i == cGame::kCheatLength - 1);
    }
    cGame::s_cheatSequence = nullptr;
    EXPECT_EQ(cGame::s_dialogType, 0);
    EXPECT_EQ(text(cGame::s_dialogText), "T71");
    EXPECT_EQ(cGame::s_pendingAction, cGame::kActionOpenDialog);
    EXPECT_TRUE(cGame::updateTransition(true));  // nothing to close: it opens at once
    EXPECT_TRUE(cGame::s_dialogOpen);
    EXPECT_EQ(cGame::s_transitionPhase, 1);
}

std::vector<std::string>* g_trace = nullptr;
void tracing(cGame*, jint message) {
    g_trace->push_back(std::to_string(message) + (cGame::s_redraw ? "r" : "") +
                       (cGame::getReleasedKey() >= 0 ? "k" : ""));
    if (message == cGame::kMsgPaint) cGame::s_redraw = false;
}

TEST_F(DialogTest, TheStateMachineRunsTheDialogInsteadOfTheScreensUpdate) {
    std::vector<std::string> trace;
    g_trace = &trace;
    const auto saved = cGame::setStateHandler(cGame::kStateMainMenu, &tracing);
    cGame::resetStateMachine();
    cGame::s_state = cGame::kStateMainMenu;
    cGame::s_stateEntered = 0;
    open(0);
    cGame::s_redraw = false;
    Image* s = screen(kBack);
    cGame::s_g = s->getGraphics();
    release(-1);
    cGame::stepStateMachine(nullptr);  // nothing to redraw: no message
    release(18);
    for (int f = 0; f < 7; ++f) {
        cGame::stepStateMachine(nullptr);
        release(-1);
    }
    cGame::s_g = nullptr;
    (void)cGame::setStateHandler(cGame::kStateMainMenu, saved);
    g_trace = nullptr;
    // The confirm frame and the closing frames repaint under the dialog; the frame it closes in
    // also gets an update, with the keys cleared; then, with no dialog, update and paint.
    EXPECT_EQ(trace, (std::vector<std::string>{"2rk", "2r", "2r", "2r", "2r", "2r", "1", "1", "2"}));
}

TEST_F(DialogTest, TheBoxIsFilledWithATripleBlackBorderInPortraitCoordinates) {
    for (jint type : {0, 1}) {
        SCOPED_TRACE(type);
        open(type);
        const jint h = cGame::s_dialogTextHeight + (type == 0 ? 64 : 284);
        const jint x0 = (h >> 1) - h + 240;
        Image* s = screen(kBack);
        cGame::s_g = s->getGraphics();
        cGame::paintDialogBox();
        cGame::s_g = nullptr;
        const Surface565 p = s->pixels565();
        auto px = [&](int x, int y) { return p.pixels[y * p.pitch + x]; };
        const uint16_t fill = Graphics::toRGB565(0xFF000000 | cGame::kDialogBoxFill), black = 0, back = Graphics::toRGB565(kBack);
        // Along the middle row the left side: background, three black columns, the fill inside.
        EXPECT_EQ(px(x0 - 1, 400), back);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(px(x0 + i, 400), black) << i;
        EXPECT_EQ(px(x0 + 3, 400), fill);
        EXPECT_EQ(px(x0 + h - 1, 400), black);
        EXPECT_EQ(px(x0 + h - 4, 400), fill);
        // Down the middle column the top: rows 50..52 black, the fill below, background above.
        EXPECT_EQ(px(240, 49), back);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(px(240, 50 + i), black) << i;
        EXPECT_EQ(px(240, 53), fill);
        EXPECT_EQ(px(240, 749), black);
        EXPECT_EQ(px(240, 751), back);
        // A corner is round: the box's bounding corner stays background.
        EXPECT_EQ(px(x0, 50), back);
    }
    // The question's answer rows: frame 8, or 10 for the touched choice while the finger is down.
    open(1);
    cGame::s_dialogChoice = 0;
    cGame::s_touchDown = true;
    const jint h = cGame::s_dialogTextHeight;
    const jint ty = (h >> 1) - ((h + 284) >> 1) + 272;
    const jint yA = ty + (h >> 1) + 110;
    const auto picture = paint([] { cGame::paintDialogBox(); });
    EXPECT_TRUE(shows(picture, 310, yA, 8));
    EXPECT_TRUE(shows(picture, 310, yA + 80, 10));
    keepPng(picture, "dialog_question");
}

TEST_F(DialogTest, SoftKeysSitInTheirCornersAndLightUnderTheFinger) {
    struct Case {
        const char* name;
        jint state, left, right, touched, timer;
        std::vector<std::tuple<int, int, int>> shown;  // landscape point, frame
    };
    const Case cases[] = {
        {"none", 6, -1, -1, 0, 0, {}},
        {"left label", 6, 5, -1, 0, 0, {{50, 445, 13}}},
        {"left label touched", 6, 5, -1, 1, 0, {{50, 445, 14}}},
        {"left label blinking in the tap delay", 6, 5, -1, 1, 3, {{50, 445, 13}}},
        {"left icon", 6, -2, -1, 1, 2, {{790, 5, 12}}},
        {"right back", 6, -1, 7, 2, 0, {{755, 445, 14}}},
        {"right arrow", 6, -1, 5, 0, 0, {{790, 475, 15}}},
        {"right arrow in the intro", 28, -1, 5, 2, 0, {{790, 475, 18}}},
        {"both", 6, 5, 7, 0, 0, {{50, 445, 13}, {755, 445, 13}}},
    };
    const auto blank = paint([] {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cGame::s_state = c.state;
        cGame::setSoftkeys(c.right, c.left, false);
        cGame::s_softkeyTouched = c.touched;
        cGame::s_softkeyTapTimer = c.timer;
        const auto picture = paint([] { cGame::paintSoftkeys(); });
        for (const auto& [x, y, frame] : c.shown) EXPECT_TRUE(shows(picture, x, y, frame)) << x << "," << y;
        if (c.shown.empty()) {
            EXPECT_EQ(picture, blank);
        }
        // Over a dialog no soft key shows, and both are kept for afterwards.
        EXPECT_EQ(paint([] { cGame::paintSoftkeysGuarded(); }), blank);
        EXPECT_EQ(cGame::s_softkeyLeft, c.left);
        EXPECT_EQ(cGame::s_softkeyRight, c.right);
    }
    // The label's text is drawn over its key.
    cGame::s_state = 6;
    cGame::setSoftkeys(-1, 5, false);
    cGame::s_softkeyTouched = 0;
    const auto labelled = paint([] { cGame::paintSoftkeys(); });
    int lit = 0;
    for (int y = 440; y < 480; ++y)
        for (int x = 0; x < 60; ++x) lit += at(labelled, x, y) == Graphics::toRGB565(0xFFFFFFFF);
    EXPECT_GT(lit, 10);
}

}  // namespace

// cGame as a class of the object model: the factory makes one from its id alone, and it answers the
// Runnable of the game thread and the three constant interfaces; the MIDlet registered for the
// application is the game's. One call puts the statics of every base back to how the program starts.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/java_lang/java_lang_runnable.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/vorpazqti.h"
#include "runtime/new_instance_factory.h"
#include "tests/support/test_world.h"

namespace {

using GameClassTest = TestWorld;

TEST_F(GameClassTest, TheFactoryMakesACGameWithItsInterfaces) {
    Object* made = NewInstanceFactory::newInstance(CID_cGame);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->classId(), CID_cGame);
    auto* game = static_cast<cGame*>(made);
    EXPECT_EQ(Runtime::asRunnable(made), static_cast<java_lang_Runnable*>(game));
    for (jint id : {CID_IActor, CID_IConst, CID_IDef}) EXPECT_NE(made->getInterface(id), nullptr) << id;
    EXPECT_EQ(made->getInterface(CID_IActorType), nullptr);
    EXPECT_EQ(game->m_frameImage, nullptr);  // no constructor ran: the fields are zero
    EXPECT_EQ(NewInstanceFactory::newInstance(CID_VorpaZQTI), nullptr);  // always made by the Application

    const MIDletClass* midlet = applicationMIDletClass();
    ASSERT_NE(midlet, nullptr);
    javax_microedition_midlet_MIDlet* m = midlet->allocate();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->classId(), CID_VorpaZQTI);
    EXPECT_NE(dynamic_cast<VorpaZQTI*>(m), nullptr);
}

// Statics of every base, most of them with a start value that is not zero, each moved off it; the
// state handler table is reset with them.
TEST_F(GameClassTest, ResetAllStaticsPutsEveryBaseBackToItsStart) {
    struct Case {
        const char* name;
        jint* slot;
        jint start;
    };
    const std::vector<Case> cases = {
        {"shell: music", &cGame::s_musicId, -1},
        {"shell: run flag", &cGame::s_runFlag, -1},
        {"state machine: state", &cGame::s_state, cGame::kStateBoot},
        {"state machine: load target", &cGame::s_loadTarget, -1},
        {"math: quarter turn", &cGame::s_angleQuarter, 64},
        {"menus: selection", &cGame::s_menuSelection, -1},
        {"menus: left soft key", &cGame::s_softkeyLeft, cGame::kSoftkeyNone},
        {"screens: level select arrow step", &cGame::s_levelSelectArrowStep, 1},
        {"sound: effect", &cGame::s_currentSfx, -1},
        {"touch: finger x", &cGame::s_touchX, cGame::kTouchNone},
        {"touch: soft-key square", &cGame::s_softkeyTouchWidth, 80},
        {"camera: view x", &cGame::s_cameraX, 0},
        {"actors: count", &cGame::s_actorCount, 0},
        {"level: polylines", &cGame::s_polyCount, 0},
    };
    for (const Case& c : cases) *c.slot = 12345;
    cGame::s_effectsEnabled = 0;
    cGame::s_spriteMask[1] = 7;
    cGame::s_levelServices.resetTriggers = [] {};
    const cGame::StateHandler boot = cGame::setStateHandler(cGame::kStateBoot, nullptr);
    cGame::s_cheatMode = true;

    cGame::resetAllStatics();
    for (const Case& c : cases) EXPECT_EQ(*c.slot, c.start) << c.name;
    EXPECT_EQ(cGame::s_effectsEnabled, 1);
    EXPECT_EQ(cGame::s_spriteMask[1], 0);
    EXPECT_EQ(cGame::s_levelServices.resetTriggers, nullptr);
    EXPECT_NE(boot, nullptr);
    EXPECT_EQ(cGame::stateHandler(cGame::kStateBoot), boot);
    EXPECT_FALSE(cGame::s_cheatMode);
}

}  // namespace

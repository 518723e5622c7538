// cGame as a class of the object model: the factory makes one from its id alone, and it answers the
// Runnable of the game thread and the three constant interfaces; the MIDlet registered for the
// application is the game's.
#include <gtest/gtest.h>

#include "classlib/java_lang/java_lang_runnable.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/vorpazqti.h"
#include "runtime/new_instance_factory.h"
#include "tests/runtime/runtime_fixture.h"

namespace {

using GameClassTest = RuntimeTest;

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

}  // namespace

// Fixture of the tests that read the built data.bar through the game's pack readers: heaps big enough
// for a screen and the shipped sprites, the data file and its constant pool, and the pack closed
// afterwards (the test world resets the statics).
#pragma once

#include <gtest/gtest.h>

#include "classlib/constant_pool_loader.h"
#include "game/cgame.h"
#include "platform/file_paths.h"
#include "tests/support/test_world.h"

class ShippedDataTest : public TestWorld {
protected:
    ShippedDataTest() : TestWorld(8 << 20, 32 << 20) {}
    void SetUp() override {
        TestWorld::SetUp();
        platform::setDataFile(BRINDLEX_DATA_BAR);
        Runtime::loadConstants();
        cGamePacks::s_encoding = Runtime::ldcString(cGamePacks::kEncodingLiteral);
    }
    void TearDown() override {
        cGamePacks::packClose();
        TestWorld::TearDown();
    }
};

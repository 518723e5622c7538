// Fixture of the tests that read the built data.bar through the game's pack readers: heaps big enough
// for a screen and the shipped sprites, the data file and its constant pool, and everything the pack
// readers and the drawing keep in statics cleared afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "game/cgame.h"
#include "platform/file_paths.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"

class ShippedDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Runtime::initHeaps(8 << 20, 32 << 20));
        m_objectManager = std::make_unique<ObjectManager>();
        platform::setDataFile(BRINDLEX_DATA_BAR);
        Runtime::loadConstants();
        cGamePacks::s_encoding = Runtime::ldcString(cGamePacks::kEncodingLiteral);
    }
    void TearDown() override {
        cGame::registerActorView(nullptr);
        cGame::s_fonts = cGame::s_sprites = nullptr;
        cGame::s_menuSprite = nullptr;
        cGame::s_transitionPlayer = cGame::s_arrowUpPlayer = cGame::s_arrowDownPlayer = nullptr;
        cGame::s_g = nullptr;
        cGame::s_altPlayerLevel = 0;
        cGame::s_frameCounter = cGame::s_hudClock = 0;
        cGamePacks::packClose();
        cGamePacks::s_packName = nullptr;
        cGamePacks::s_packOffsets = nullptr;
        cGamePacks::s_packFirstItems = nullptr;
        cGamePacks::s_packSkipBuffer = nullptr;
        cGamePacks::s_lzmaResult = nullptr;
        cGamePacks::s_encoding = nullptr;
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
        Runtime::clearPendingException();
        Runtime::setConstantPool(nullptr);
        Runtime::destroyHeaps();
        m_objectManager.reset();
    }

private:
    std::unique_ptr<ObjectManager> m_objectManager;
};

// The test world of the game's layers (sprites, promotion, game and actors): fresh heaps of the
// sizes a fixture asks for, with their collector, and every static those layers own back to its
// start value before each case and again after it, so the cases of a binary pass in any order.
// Each test binary defines resetWorldStatics() once, for the layers it links
// (tests/<folder>/world_statics.cpp).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/static_class.h"

// Every static of the layers the binary links back to its start value. It touches no object, so
// it may run while no heap exists.
void resetWorldStatics();

// What every binary's reset starts with: the library's reference statics, constant pool and
// archive index.
inline void resetLibraryStatics() {
    StaticClass::releaseStatics();
    Runtime::setConstantPool(nullptr);
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
}

// Held by a fixture that keeps heaps of its own (or builds on a library fixture): the statics are
// reset when it is made, before the set-up, and again when it goes, after the tear-down.
class WorldStatics {
public:
    WorldStatics() { resetWorldStatics(); }
    ~WorldStatics() { resetWorldStatics(); }
    WorldStatics(const WorldStatics&) = delete;
    WorldStatics& operator=(const WorldStatics&) = delete;
};

class TestWorld : public ::testing::Test {
protected:
    explicit TestWorld(size_t objectHeapBytes = 1 << 20, size_t nativeHeapBytes = 1 << 20)
        : m_objectHeapBytes(objectHeapBytes), m_nativeHeapBytes(nativeHeapBytes) {}

    void SetUp() override {
        ASSERT_TRUE(Runtime::initHeaps(m_objectHeapBytes, m_nativeHeapBytes));
        m_objectManager = std::make_unique<ObjectManager>();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        // Before the heaps go: no static points into them while their objects are freed.
        resetWorldStatics();
        Runtime::destroyHeaps();
        m_objectManager.reset();
    }
    [[nodiscard]] ObjectManager& objectManager() { return *m_objectManager; }

private:
    WorldStatics m_statics;
    size_t m_objectHeapBytes;
    size_t m_nativeHeapBytes;
    std::unique_ptr<ObjectManager> m_objectManager;
};

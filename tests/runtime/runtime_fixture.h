// Shared fixture for runtime tests: small fresh heaps with their collector per test, and a capture
// of the debug log. Objects a test keeps must be on its stack or in a root slot.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/heaps.h"
#include "tests/support/log_capture.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Runtime::initHeaps(1 << 20, 1 << 20));
        m_objectManager = std::make_unique<ObjectManager>();
    }
    void TearDown() override {
        Runtime::destroyHeaps();  // the collector frees every object first
        m_objectManager.reset();
    }
    [[nodiscard]] ObjectManager& objectManager() { return *m_objectManager; }

private:
    std::unique_ptr<ObjectManager> m_objectManager;
};

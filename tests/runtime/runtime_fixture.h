// Shared fixture for runtime tests: small fresh heaps with their collector per test, and a capture
// of the debug log. Objects a test keeps must be on its stack or in a root slot.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"

class LogCapture {
public:
    LogCapture() {
        m_previousLevel = Log::level();
        Log::setLevel(LogLevel::Debug);
        m_previousSink = Log::setSink([this](LogLevel, const std::string& text) { lines.push_back(text); });
    }
    ~LogCapture() {
        Log::setSink(std::move(m_previousSink));
        Log::setLevel(m_previousLevel);
    }
    [[nodiscard]] bool contains(const std::string& text) const {
        for (const auto& line : lines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines;

private:
    LogLevel m_previousLevel;
    Log::Sink m_previousSink;
};

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

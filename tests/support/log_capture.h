// Test helper: captures the debug log (every level) for the life of the object, then puts the
// previous sink and level back. One per test at a time.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "runtime/log.h"

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

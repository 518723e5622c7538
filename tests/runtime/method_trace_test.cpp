#include <gtest/gtest.h>

#include <string>

#include "runtime/method_trace.h"

namespace {

TEST(MethodTraceTest, DeepTracesKeepTheBoundAndStayBalanced) {
    const int pushes = Runtime::kMethodTraceDepth + 44;
    for (int i = 0; i < pushes; ++i) Runtime::pushMethodName(i == 0 ? "first" : "deeper");
    const std::string full = Runtime::getStackTrace();
    size_t lines = 0;
    for (char c : full) lines += c == '\n';
    EXPECT_EQ(lines, 1u + Runtime::kMethodTraceDepth);  // heading plus the stored entries
    EXPECT_TRUE(full.ends_with("deeper\nfirst\n"));
    for (int i = 0; i < pushes - 1; ++i) Runtime::popMethodName();
    EXPECT_EQ(Runtime::getStackTrace(), "stacktrace:\nfirst\n");
    Runtime::popMethodName();
    Runtime::popMethodName();  // one too many: harmless
    EXPECT_EQ(Runtime::getStackTrace(), "stacktrace:\n");
}

}  // namespace

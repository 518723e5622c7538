// java_lang_Runtime's memory figures: both heaps together, free dropping by exactly the blocks an
// allocation takes.
#include <gtest/gtest.h>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_lang_runtime.h"
#include "runtime/array.h"
#include "runtime/memory_manager.h"

namespace {

using RuntimeMemoryTest = RuntimeTest;

TEST_F(RuntimeMemoryTest, FiguresAreThoseOfBothHeaps) {
    EXPECT_EQ(java_lang_Runtime::totalMemory(), jlong{2} << 20);  // the fixture's two 1 MB heaps
    const jlong before = java_lang_Runtime::freeMemory();
    EXPECT_EQ(before, java_lang_Runtime::totalMemory());
    ByteArray* a = Runtime::newByteArray(1000);
    ASSERT_NE(a, nullptr);
    const auto taken = static_cast<jlong>(Runtime::objectHeap().blockNeed(sizeof(ByteArray)) +
                                          Runtime::nativeHeap().blockNeed(1000));
    EXPECT_EQ(java_lang_Runtime::freeMemory(), before - taken);
}

TEST(RuntimeMemoryWithoutHeapsTest, FiguresAreZeroBeforeTheHeapsExist) {
    EXPECT_EQ(java_lang_Runtime::totalMemory(), 0);
    EXPECT_EQ(java_lang_Runtime::freeMemory(), 0);
}

}  // namespace

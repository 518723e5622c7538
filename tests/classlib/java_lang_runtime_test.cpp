// java_lang_Runtime's memory figures: the machine's physical memory, whether or not the heaps exist.
#include <gtest/gtest.h>

#include <unistd.h>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_lang/java_lang_runtime.h"

namespace {

using RuntimeMemoryTest = RuntimeTest;

TEST_F(RuntimeMemoryTest, FiguresAreThePhysicalMemoryNotTheHeaps) {
    const jlong total = java_lang_Runtime::totalMemory();
    EXPECT_EQ(total, static_cast<jlong>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE));
    EXPECT_GT(total, jlong{2} << 20);  // more than the fixture's two 1 MB heaps
    const jlong free = java_lang_Runtime::freeMemory();
    EXPECT_GT(free, 0);
    EXPECT_LE(free, total);
}

TEST(RuntimeMemoryWithoutHeapsTest, FiguresNeedNoHeaps) {
    EXPECT_GT(java_lang_Runtime::totalMemory(), 0);
    EXPECT_GT(java_lang_Runtime::freeMemory(), 0);
}

}  // namespace

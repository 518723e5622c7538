// Loading the constant pool from untrusted bytes, and ldcString's answer for literals the pool
// lacks: always a String, never a read outside the array.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "runtime/constant_pool.h"
#include "tests/classlib/stream_fixture.h"

namespace {

using namespace std::string_literals;

class ConstantPoolTest : public StreamTest {
protected:
    void TearDown() override {
        Runtime::setConstantPool(nullptr);
        StreamTest::TearDown();
    }
};

TEST_F(ConstantPoolTest, LoadsWhatTheDataHoldsAndNoMore) {
    struct Case {
        const char* what;
        std::string bytes;
        jint poolLength;
        std::vector<const char*> literals;  // null: missing, read as the empty text with a logged error
        const char* logged;                 // nullptr: nothing logged
    };
    const Case cases[] = {
        {"good file", "\0\0\0\x03\0\0\0\x01" "a\0\x03" "b\xC3\xA9"s, 3, {"", "a", "b\xE9"}, nullptr},
        {"empty pool", "\0\0\0\0"s, 0, {}, nullptr},
        {"count larger than the data", "\0\0\0\x05\0\x01" "a\0\x01" "b"s, 3, {"a", "b", nullptr},
         "does not fit"},
        {"absurd count", "\x7F\xFF\xFF\xFF\0\x01" "a"s, 1, {"a"}, "does not fit"},
        {"negative count", "\xFF\xFF\xFF\xFF\0\x01" "a"s, 0, {}, "does not fit"},
        {"truncated string", "\0\0\0\x02\0\x01" "a\0\x05" "bc"s, 2, {"a", nullptr}, "cut short"},
        {"malformed string", "\0\0\0\x02\0\x01\x80\0\x01" "b"s, 2, {nullptr, nullptr}, "malformed"},
        {"no count", "\0\0"s, 0, {}, "no literal count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        Runtime::loadConstantsFrom(java_io_ByteArrayInputStream::over(bytes(c.bytes)));
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
        ObjectArray* pool = Runtime::constantPool();
        ASSERT_NE(pool, nullptr);
        EXPECT_EQ(pool->length, c.poolLength);
        for (size_t i = 0; i < c.literals.size(); ++i) {
            SCOPED_TRACE(i);
            String* s = Runtime::ldcString(static_cast<jint>(i));
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(narrow(s), c.literals[i] ? c.literals[i] : "");
            EXPECT_FALSE(s->isCollectable());
            if (c.literals[i]) {
                EXPECT_EQ(pool->get(static_cast<jint>(i)), s);
            }
        }
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged));
        } else {
            EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        }
    }
}

TEST_F(ConstantPoolTest, IndexOutsideThePoolGivesOneEmptyStringAndAnError) {
    Runtime::loadConstantsFrom(java_io_ByteArrayInputStream::over(bytes("\0\0\0\x01\0\x01" "a"s)));
    LogCapture log;
    String* below = Runtime::ldcString(-1);
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->length(), 0);
    EXPECT_EQ(Runtime::ldcString(1), below);
    EXPECT_EQ(Runtime::ldcString(0x7FFFFFFF), below);
    EXPECT_TRUE(log.contains("constant pool has no literal 1 (pool of 1)"));

    // The pool and the stand-in survive collections as the same objects.
    String* a = Runtime::ldcString(0);
    objectManager().gc(1);
    objectManager().gc(1);
    EXPECT_TRUE(objectManager().isRegistered(a));
    EXPECT_TRUE(objectManager().isRegistered(below));
    EXPECT_EQ(Runtime::ldcString(0), a);
    EXPECT_EQ(Runtime::ldcString(5), below);
}

TEST_F(ConstantPoolTest, MissingConstantsFileLeavesAnEmptyPool) {
    LogCapture log;
    Runtime::loadConstants();  // the fixture's data file does not exist
    ASSERT_NE(Runtime::constantPool(), nullptr);
    EXPECT_EQ(Runtime::constantPool()->length, 0);
    EXPECT_TRUE(log.contains("constants.bin: missing"));
    EXPECT_EQ(narrow(Runtime::ldcString(1)), "");
}

TEST_F(ConstantPoolTest, WithoutAPoolALiteralIsANullReference) {
    LogCapture log;
    EXPECT_EQ(Runtime::ldcString(1), nullptr);
    EXPECT_TRUE(log.contains("NullPointer"));
}

}  // namespace

// StringBuffer: the growth rule, appends of every kind, edits, and number texts that leave the
// object heap untouched.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/array.h"
#include "runtime/memory_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime_fixture.h"
#include "text_helpers.h"

namespace {

using StringBufferTest = RuntimeTest;

StringBuffer* bufferOf(const char* text) {
    auto* b = new StringBuffer();
    b->initFromString(str(text));
    return b;
}

StringBuffer* bufferWithCapacity(jint n) {
    auto* b = new StringBuffer();
    b->initWithCapacity(n);
    return b;
}

TEST_F(StringBufferTest, GrowsToTheNeedOrDoubleTheCapacity) {
    struct Case {
        const char* what;
        StringBuffer* buffer;
        jint appends;
        std::vector<jint> capacities;  // after the construction, then after each change of capacity
    };
    const Case cases[] = {
        {"empty, one append", bufferWithCapacity(0), 1, {0, 2}},
        {"16, twenty appends", bufferWithCapacity(16), 20, {16, 32}},
        {"4 ('abc'), six appends", bufferOf("abc"), 6, {4, 8, 16}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<jint> seen{c.buffer->capacity};
        const jint startLength = c.buffer->length;
        for (jint i = 0; i < c.appends; ++i) {
            c.buffer->appendChar('x');
            if (c.buffer->capacity != seen.back()) seen.push_back(c.buffer->capacity);
            ASSERT_EQ(Runtime::nativeHeap().ownerOf(c.buffer->chars), reinterpret_cast<void**>(&c.buffer->chars));
        }
        EXPECT_EQ(seen, c.capacities);
        EXPECT_EQ(c.buffer->length, startLength + c.appends);
        EXPECT_EQ(c.buffer->chars[c.buffer->length], 0);
    }
    StringBuffer* abc = bufferOf("abc");
    EXPECT_EQ(abc->capacity, 4);
    EXPECT_EQ(abc->length, 3);
    EXPECT_EQ(bufferWithCapacity(0)->chars, nullptr);
    StringBuffer* ensured = bufferWithCapacity(10);
    ensured->ensureCapacity(12);
    EXPECT_EQ(ensured->capacity, 20);
    ensured->ensureCapacity(50);
    EXPECT_EQ(ensured->capacity, 50);
}

TEST_F(StringBufferTest, AppendsTheTextOfEveryKind) {
    struct Case {
        const char* what;
        std::function<void(StringBuffer*)> append;
        const char* expected;
    };
    const Case cases[] = {
        {"string", [](StringBuffer* b) { b->appendString(str("xy")); }, "<xy"},
        {"null string", [](StringBuffer* b) { b->appendString(nullptr); }, "<null"},
        {"null object", [](StringBuffer* b) { b->appendObject(nullptr); }, "<null"},
        {"object", [](StringBuffer* b) { b->appendObject(str("obj")); }, "<obj"},
        {"true", [](StringBuffer* b) { b->appendBoolean(1); }, "<true"},
        {"any value but 1", [](StringBuffer* b) { b->appendBoolean(2); }, "<false"},
        {"char", [](StringBuffer* b) { b->appendChar('c'); }, "<c"},
        {"int", [](StringBuffer* b) { b->appendInt(-7); }, "<-7"},
        {"long", [](StringBuffer* b) { b->appendLong(-5000000000LL); }, "<-5000000000"},
        {"float", [](StringBuffer* b) { b->appendFloat(1.5f); }, "<1.500000"},
        {"double", [](StringBuffer* b) { b->appendDouble(1e20); }, "<100000000000000000000.000000"},
        {"narrow text", [](StringBuffer* b) { b->appendCString("abc"); }, "<abc"},
        {"insert int", [](StringBuffer* b) { b->insertInt(0, 42); }, "42<"},
        {"insert boolean", [](StringBuffer* b) { b->insertBoolean(1, 0); }, "<false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StringBuffer* b = bufferOf("<");
        c.append(b);
        EXPECT_EQ(narrow(b), c.expected);
        EXPECT_EQ(narrow(b->toString()), c.expected);
    }
    StringBuffer* chained = bufferWithCapacity(4);
    EXPECT_EQ(chained->appendInt(1)->appendChar(',')->appendString(str("two")), chained);
    EXPECT_EQ(narrow(chained), "1,two");
}

TEST_F(StringBufferTest, EditsMoveUnitsWithinTheText) {
    struct Case {
        const char* what;
        const char* start;
        std::function<void(StringBuffer*)> edit;
        std::u16string expected;
    };
    const Case cases[] = {
        {"insert at the front", "ab", [](StringBuffer* b) { b->insertString(0, str("xy")); }, u"xyab"},
        {"insert in the middle", "ab", [](StringBuffer* b) { b->insertChar(1, '-'); }, u"a-b"},
        {"insert past the end changes nothing", "ab", [](StringBuffer* b) { b->insertString(3, str("x")); }, u"ab"},
        {"insert at a negative offset changes nothing", "ab", [](StringBuffer* b) { b->insertInt(-1, 5); }, u"ab"},
        {"delete cut to the length", "abcd", [](StringBuffer* b) { b->delete_(1, 99); }, u"a"},
        {"delete a middle range", "abcdef", [](StringBuffer* b) { b->delete_(1, 3); }, u"adef"},
        {"delete reversed changes nothing", "abcd", [](StringBuffer* b) { b->delete_(3, 1); }, u"abcd"},
        {"delete from a negative start changes nothing", "abcd", [](StringBuffer* b) { b->delete_(-1, 2); }, u"abcd"},
        {"deleteCharAt", "abc", [](StringBuffer* b) { b->deleteCharAt(0); }, u"bc"},
        {"deleteCharAt the last", "abc", [](StringBuffer* b) { b->deleteCharAt(2); }, u"ab"},
        {"deleteCharAt beyond changes nothing", "abc", [](StringBuffer* b) { b->deleteCharAt(3); }, u"abc"},
        {"reverse", "abc", [](StringBuffer* b) { b->reverse(); }, u"cba"},
        {"reverse keeps a unit whole", "", [](StringBuffer* b) { b->appendString(wide(u"a\u20ACb"))->reverse(); }, u"b\u20ACa"},
        {"shorten", "abcdef", [](StringBuffer* b) { b->setLength(2); }, u"ab"},
        {"lengthen with zeros", "abcdef", [](StringBuffer* b) { b->setLength(2); b->setLength(4); },
         std::u16string(u"ab\0\0", 4)},
        {"insert its own units", "abcd",
         [](StringBuffer* b) { b->insertChars(0, b->chars, b->length); }, u"abcdabcd"},
        {"insert its own units where no growth is needed", "abcd",
         [](StringBuffer* b) {
             b->ensureCapacity(16);
             b->insertChars(0, b->chars + 1, 2);
         },
         u"bcabcd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StringBuffer* b = bufferOf(c.start);
        c.edit(b);
        EXPECT_EQ(unitsOf(b), c.expected);
        if (b->capacity > b->length) {
            EXPECT_EQ(b->chars[b->length], 0);
        }
    }
}

TEST_F(StringBufferTest, NumberTextsNeedNoObjectAndNoExtraBlock) {
    StringBuffer* b = bufferWithCapacity(4096);
    const size_t objectBytes = Runtime::objectHeap().usedBytes();
    const size_t nativeBlocks = Runtime::nativeHeap().blockCount() - Runtime::nativeHeap().freeBlockCount();
    b->appendInt(-2147483647)->appendLong(-9000000000000000000LL)->appendFloat(3.25f);
    b->appendDouble(-1.0e30)->appendBoolean(1)->appendBoolean(0);
    EXPECT_EQ(Runtime::objectHeap().usedBytes(), objectBytes);
    EXPECT_EQ(Runtime::nativeHeap().blockCount() - Runtime::nativeHeap().freeBlockCount(), nativeBlocks);
    EXPECT_EQ(narrow(b), "-2147483647-90000000000000000003.250000-1000000000000000019884624838656.000000truefalse");
}

TEST_F(StringBufferTest, CopiesOutOnlyWhatFitsBothSides) {
    StringBuffer* b = bufferOf("hello");
    CharArray* dst = Runtime::newCharArray(3);
    b->getChars(1, 4, dst, 0);
    EXPECT_EQ(narrow(unitsOf(dst->elements(), 3)), "ell");
    b->getChars(3, 6, dst, 0);  // past the text: nothing
    b->getChars(0, 2, dst, 2);  // past the array: nothing
    EXPECT_EQ(narrow(unitsOf(dst->elements(), 3)), "ell");
}

}  // namespace

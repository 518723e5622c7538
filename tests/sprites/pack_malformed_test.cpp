// Untrusted pack bytes: cut headers and tables, offsets out of order or past the resource, LZMA
// headers that lie, nested arrays cut short or nested too deep, text packs with bad counts or
// offsets. Every case answers null (or refuses the text pack) and returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sprites/pack_fixture.h"

namespace {

using namespace std::string_literals;
using P = cGamePacks;

using packbytes::onePack;
using packbytes::u16;
using packbytes::u32;

// An LZMA item: kind byte 127, properties 0x5D, dictionary 64 KiB, the given size, then `stream`.
std::string lzmaItem(uint32_t size, const std::string& stream, char properties = 0x5D) {
    return "\x7F"s + properties + u32(0x10000) + u32(size) + u32(0) + stream;
}

TEST_F(PackTest, MalformedPacksAnswerNull) {
    struct Case {
        const char* what;
        std::string subFile0;
        std::string subFile1;  // empty: no second resource
        jint item;
    };
    const Case cases[] = {
        {"header cut short", "\x01\x00\x01"s, "", 0},
        {"no sub-files", u16(1) + u16(0) + u32(12) + u32(13) + "\x00"s, "", 0},
        {"negative sub-file count", u16(1) + u16(0x8000) + u16(0), "", 0},
        {"sub-file 0 not starting at item 0", u16(2) + u16(1) + u16(1) + u32(18) + u32(18) + u32(18), "", 0},
        {"first items descending", u16(3) + u16(3) + u16(0) + u16(2) + u16(1) + u32(22) + u32(22), "", 0},
        {"first item past the count", u16(1) + u16(2) + u16(0) + u16(5) + u32(16) + u32(16), "", 0},
        {"offset table cut short", u16(2) + u16(1) + u16(0) + u32(18) + u32(18), "", 0},
        {"offset inside the table", u16(1) + u16(1) + u16(0) + u32(4) + u32(14) + "\x00\x00"s, "", 0},
        {"offsets descending", u16(2) + u16(1) + u16(0) + u32(20) + u32(18) + u32(20) + "\x00\x00"s, "", 0},
        {"offset past the resource", u16(1) + u16(1) + u16(0) + u32(14) + u32(100) + "\x00\x01"s, "", 0},
        {"offset beyond 2 GiB", u16(1) + u16(1) + u16(0) + u32(14) + u32(0x80000000u) + "\x00"s, "", 0},
        {"item past the count", onePack({"\x00" "a"s}), "", 1},
        {"negative item", onePack({"\x00" "a"s}), "", -1},
        {"missing sub-file", u16(2) + u16(2) + u16(0) + u16(1) + u32(18) + u32(19) + "\x00"s, "", 1},
        {"sub-file table cut short", u16(2) + u16(2) + u16(0) + u16(1) + u32(18) + u32(19) + "\x00"s, "\x08\x00"s, 1},
        {"sub-file offset past its end", u16(2) + u16(2) + u16(0) + u16(1) + u32(18) + u32(19) + "\x00"s,
         u32(8) + u32(50) + "\x00"s, 1},
        {"LZMA header cut short", onePack({"\x7F\x5D\x00\x00"s}), "", 0},
        {"LZMA size beyond 31 bits", onePack({lzmaItem(0xFFFFFFFFu, "\x00\x00\x00\x00\x00"s)}), "", 0},
        {"LZMA size over the cap", onePack({lzmaItem(P::kMaxUnpackedSize + 1u, "\x00\x00\x00\x00\x00"s)}), "", 0},
        {"LZMA properties out of range", onePack({lzmaItem(4, "\x00\x00\x00\x00\x00"s, '\xE1')}), "", 0},
        {"LZMA stream ends before its size", onePack({lzmaItem(1000, "\x00\x41\x00\x00\x00"s)}), "", 0},
        {"LZMA stream of garbage", onePack({lzmaItem(64, std::string(40, '\xA5'))}), "", 0},
        {"LZMA stream empty", onePack({lzmaItem(8, "")}), "", 0},
    };
    std::vector<tools::BarEntry> entries;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "p" + std::to_string(i);
        entries.push_back(tools::BarEntry::fromBytes(name, cases[i].subFile0));
        if (!cases[i].subFile1.empty()) entries.push_back(tools::BarEntry::fromBytes(name + "_1", cases[i].subFile1));
    }
    packEntries(std::move(entries));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        String* name = str(("p" + std::to_string(i)).c_str());
        P::packOpen(name);
        EXPECT_EQ(P::packReadData(c.item), nullptr);
        EXPECT_EQ(P::packReadStream(c.item), nullptr);
        P::packLoadText(name, c.item);
        EXPECT_EQ(P::s_textCache->length, 0);
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
        P::packClose();
    }
}

TEST_F(PackTest, EmptyItemIsAnEmptyArrayAndKindBytesSplitAt127) {
    packEntries({tools::BarEntry::fromBytes("k", onePack({"", "\x7E" "ab"s, "\x7F"s + lzmaItem(0, "").substr(1), "\xFD"s}))});
    P::packOpen(str("k"));
    struct Case {
        jint item, size, kind, compressed;
    };
    const Case cases[] = {{0, 0, -1, 0}, {1, 2, 126, 0}, {2, 13, 0, 1}, {3, 0, 126, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        P::s_packItemKind = -1;
        EXPECT_EQ(P::packLocate(c.item), c.size);
        EXPECT_EQ(P::s_packItemKind, c.kind);
        EXPECT_EQ(P::s_packCompressed, c.compressed);
    }
    ByteArray* empty = P::packReadData(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length, 0);
    ByteArray* unpackedEmpty = P::packReadData(2);
    ASSERT_NE(unpackedEmpty, nullptr);
    EXPECT_EQ(unpackedEmpty->length, 0);
}

// A nested array is read from its own item only: an empty item, or an array whose lengths claim
// more bytes than its item holds, is null even when the next item's bytes would complete it.
TEST_F(PackTest, NestedArrayStaysInsideItsItem) {
    const std::string array = "\x00\x03" "abc"s;
    packEntries({tools::BarEntry::fromBytes(
        "k", onePack({"", "\x02"s + array, "\x02"s + array.substr(0, 3), "\x02" "c"s, "\x02"s + array}))});
    struct Case {
        jint item;
        bool readable;
    };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{2, false}, Case{4, true}}) {
        SCOPED_TRACE(c.item);
        P::packOpen(str("k"));
        EXPECT_EQ(P::packReadStream(c.item) != nullptr, c.readable);
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
    }
}

TEST_F(PackTest, ReadsEndAtTheEndOfAFileStream) {
    temp.write("home/short.bar", "0123456789");
    packEntries({});
    // A ".bar" name is a file stream, which answers 0 (not -1) at its end.
    P::s_packStream = P::packOpenStream(str("\\Program Files\\Brindlex\\Zarnquist\\short.bar"));
    ASSERT_NE(P::s_packStream, nullptr);
    ByteArray* buf = bytes(std::string(64, '.'));
    EXPECT_EQ(P::packReadBytes(buf, 0, 64), 10);
    EXPECT_EQ(P::s_packPos, 10);
    EXPECT_EQ(P::packSkip(1000), 0);
    EXPECT_EQ(P::packReadByte(), -1);
    P::s_streamCount = 0;
    EXPECT_EQ(P::streamReadFully(P::s_packStream, buf, 0, 64), 0);
    EXPECT_EQ(P::s_streamCount, 0);
    P::packClose();
}

TEST_F(PackTest, NestedArraysCutShortOrTooDeepAreNull) {
    const auto nested = [](jint levels) {
        std::string s;
        for (jint i = 0; i < levels; ++i) s += "\x03\x01"s;
        return s + "\x00\x00"s;
    };
    struct Case {
        const char* what;
        std::string bytes;
        bool readable;
    };
    const Case cases[] = {
        {"empty stream", "", false},
        {"length cut short", "\x08\x01"s, false},
        {"bytes cut short", "\x00\x05" "ab"s, false},
        {"shorts cut short", "\x11\x02\x01\x00\x02"s, false},
        {"ints cut short", "\x22\x01\x01\x02\x03"s, false},
        {"inner array cut short", "\x03\x02\x00\x00\x00"s, false},
        {"deepest allowed nesting", nested(P::kMaxNestedDepth), true},
        {"one level deeper", nested(P::kMaxNestedDepth + 1), false},
        {"65535 nested arrays announced, none there", "\x0B\xFF\xFF"s, false},
        {"kind 7 holds arrays", "\x07\x01\x00\x00"s, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Object* result = P::readNestedArray(java_io_ByteArrayInputStream::over(bytes(c.bytes)));
        EXPECT_EQ(result != nullptr, c.readable);
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
    }
}

TEST_F(PackTest, TextPacksWithBadCountsOrOffsetsAreRefused) {
    packEntries({});
    struct Case {
        const char* what;
        std::string bytes;
        jint consumed;  // -1: refused
    };
    const Case cases[] = {
        {"no texts", u32(0), 4},
        {"two texts", u32(2) + u32(1) + u32(3) + "abc", 15},
        {"negative count", u32(0xFFFFFFFFu) + u32(0), -1},
        {"count over the limit", u32(P::kMaxTextCount + 1u), -1},
        {"count beyond the offsets", u32(3) + u32(1), -1},
        {"offsets descending", u32(2) + u32(3) + u32(1) + "abc", -1},
        {"negative offset", u32(1) + u32(0x80000000u), -1},
        {"offset over the limit", u32(1) + u32(P::kMaxTextBytes + 1u), -1},
        {"bytes cut short", u32(1) + u32(10) + "abc", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        P::textUnload();
        EXPECT_EQ(P::textLoad(java_io_ByteArrayInputStream::over(bytes(c.bytes))), c.consumed);
        if (c.consumed < 0) {
            EXPECT_EQ(P::s_textCount, 0);
            EXPECT_EQ(P::s_textOffsets, nullptr);
        }
        EXPECT_EQ(text16(P::getString(0)), c.consumed == 15 ? "a" : "");
    }
}

TEST_F(PackTest, Utf8DecoderTakesOneToThreeByteFormsAndFallsBackOnTheRest) {
    packEntries({});
    const std::string fallback = text16(Runtime::ldcString(P::kFallbackLiteral));
    struct Case {
        std::string bytes;
        std::string want;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {"\xE2\x82\xAC", "\\u20AC"},
        {"\xC3\xBC!", "\\u00FC!"},
        {"\x80", fallback},
        {"ok\xE2\x82", "ok\\u0082"},      // a three-byte lead cut by the end takes the two-byte form
        {"\xC3", fallback},
        {"\xF0\x9F\x98", "\\u07D8"},      // a four-byte lead takes the three-byte form
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        ByteArray* b = bytes("xx" + c.bytes + "\xE2");  // bytes around the range are not read
        EXPECT_EQ(text16(P::textDecodeUTF8(b, 2, static_cast<jint>(c.bytes.size()))), c.want);
    }
    EXPECT_EQ(text16(P::textDecodeUTF8(bytes("abc"), 2, 5)), fallback);  // range past the array
}

}  // namespace

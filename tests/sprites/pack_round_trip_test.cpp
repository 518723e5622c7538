// The asset compiler writes a data.bar with packs from readable sources; the game's readers give
// every item back byte for byte: stored and LZMA items, an empty item, the first item of a second
// sub-file, backward reads, nested arrays, text packs and a byte-array pack.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "classlib/java_lang/java_lang_class.h"
#include "tests/sprites/pack_fixture.h"

namespace {

using namespace std::string_literals;
using P = cGamePacks;

const std::string kStored = "stored\0item\xFF\x80\x01"s;
const char* kTexts =
    "# demo texts: ids count literal lines only\n"
    "Hello\n"
    "\xE2\x82\xAC" "5\n"
    "\n"
    "lone \\x80 byte\n"
    "Z\xC3\xBCrich\n"
    "last\n";
const char* kPackJson = R"({
  "subFiles": [0, 4],
  "items": [
    {"file": "stored.bin", "kind": 5},
    {"file": "long.txt", "kind": 9, "lzma": true},
    {"empty": true},
    {"nested": "examples.json", "kind": 2},
    {"texts": "texts.txt", "kind": 126},
    {"texts": "texts.txt", "lzma": true},
    {"nested": {"arrays": [{"bytes": [1, 2, 255]}, {"shorts": [-1, 300]}]}, "lzma": true}
  ]
})";
// The nested-array examples: {-1, -128} with byte elements, {-1} with 16-bit elements, the short
// 0x1234, and an empty array of arrays with a 16-bit length.
const char* kExamples = R"({"arrays": [
  {"ints": [-1, -128]},
  {"ints": [-1], "width": 2},
  {"shorts": [4660]},
  {"arrays": [], "wideLength": true}
]})";
const std::string kExampleBytes = "\x03\x04" "\x02\x02\xFF\x80" "\x12\x01\xFF\xFF" "\x11\x01\x34\x12" "\x0B\x00\x00"s;

std::string longText() {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i % 7) + " of the long item\n";
    return text;
}

class PackRoundTripTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        copyShippedBasics("assets");
        temp.write("assets/packs/demo.pack/pack.json", kPackJson);
        temp.write("assets/packs/demo.pack/stored.bin", kStored);
        temp.write("assets/packs/demo.pack/long.txt", longText());
        temp.write("assets/packs/demo.pack/examples.json", kExamples);
        temp.write("assets/packs/demo.pack/texts.txt", kTexts);
        temp.write("assets/sounds.arrays.txt", "audio/x-wav\n\naudio/midi\n");
        compileAssets("assets");
    }
    static std::string entry(const char* name) {
        return text(Runtime::readStreamFully(java_lang_Class::getResourceAsStream(str(name))));
    }
};

TEST_F(PackRoundTripTest, CompilerSplitsThePackIntoSubFilesAndTheSourcesStayOut) {
    // N = 7, K = 2, first items 0 and 4, then sub-file 0's five offsets from the resource's start.
    EXPECT_EQ(entry("packs/demo").substr(0, 12), "\x07\x00\x02\x00\x00\x00\x04\x00\x1C\x00\x00\x00"s);
    // Sub-file 1 opens with its own table of 3 + 1 offsets; its first item starts right after it.
    EXPECT_EQ(entry("packs/demo_1").substr(0, 4), "\x10\x00\x00\x00"s);
    EXPECT_EQ(entry("sounds"), "\x03\x0B" "audio/x-wav" "\x00" "\x0A" "audio/midi"s);
    EXPECT_EQ(java_lang_Class::getResourceAsStream(str("packs/demo.pack/pack.json")), nullptr);
    EXPECT_EQ(java_lang_Class::getResourceAsStream(str("sounds.arrays.txt")), nullptr);
}

TEST_F(PackRoundTripTest, ReadersReturnEveryItemByteForByte) {
    P::packOpen(str("packs/demo"));
    ASSERT_EQ(P::s_packItemCount, 7);
    struct Case {
        jint item;
        const char* want;  // null: the text pack, checked below
        jint kind;         // -1: no kind byte
        jint compressed, subFile;
    };
    const std::string longItem = longText();
    const Case cases[] = {
        {0, kStored.c_str(), 5, 0, 0},
        {1, longItem.c_str(), 9, 1, 0},
        {2, "", -1, 0, 0},
        {3, kExampleBytes.c_str(), 2, 0, 0},
        {0, kStored.c_str(), 5, 0, 0},   // backward inside sub-file 0: reopened and skipped
        {4, nullptr, 126, 0, 1},         // the first item of sub-file 1
        {1, longItem.c_str(), 9, 1, 0},  // back across sub-files
        {5, nullptr, 0, 1, 1},
    };
    const std::string* wants[] = {&kStored, &longItem, nullptr, &kExampleBytes};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        P::s_packItemKind = -1;
        ByteArray* data = P::packReadData(c.item);
        ASSERT_NE(data, nullptr);
        if (c.want) {
            EXPECT_EQ(text(data), c.item == 2 ? std::string() : *wants[c.item]);
        }
        EXPECT_EQ(P::s_packItemKind, c.kind);
        EXPECT_EQ(P::s_packCompressed, c.compressed);
        EXPECT_EQ(P::s_packSubFile, c.subFile);
    }
    // Both text-pack items unpack to the same bytes, and they start with the count 6.
    ByteArray* stored = P::packReadData(4);
    ByteArray* packed = P::packReadData(5);
    EXPECT_EQ(text(stored), text(packed));
    EXPECT_EQ(text(stored).substr(0, 4), "\x06\x00\x00\x00"s);
    P::packClose();
}

TEST_F(PackRoundTripTest, LzmaItemCarriesItsRealUnpackedSize) {
    P::packOpen(str("packs/demo"));
    const jint payload = P::packLocate(1);
    ASSERT_EQ(P::s_packCompressed, 1);
    const std::string want = longText();
    EXPECT_LT(payload, static_cast<jint>(want.size()));
    ByteArray* header = bytes(std::string(13, '\0'));
    ASSERT_EQ(P::packReadBytes(header, 0, 13), 13);
    const uint32_t size = static_cast<uint32_t>(want.size());
    const std::string sizeBytes{static_cast<char>(size & 0xFF), static_cast<char>(size >> 8), 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(text(header).substr(5), sizeBytes);
}

TEST_F(PackRoundTripTest, NestedArraysComeBackAsTheirTypes) {
    P::packOpen(str("packs/demo"));
    auto* examples = static_cast<ObjectArray*>(P::packReadStream(3));
    ASSERT_NE(examples, nullptr);
    ASSERT_EQ(examples->classId(), CID_ObjectArray);
    ASSERT_EQ(examples->length, 4);
    auto* bytesAsInts = static_cast<IntArray*>(examples->get(0));
    ASSERT_EQ(bytesAsInts->classId(), CID_IntArray);
    EXPECT_EQ(bytesAsInts->length, 2);
    EXPECT_EQ(bytesAsInts->get(0), -1);
    EXPECT_EQ(bytesAsInts->get(1), -128);
    auto* shortsAsInts = static_cast<IntArray*>(examples->get(1));
    ASSERT_EQ(shortsAsInts->classId(), CID_IntArray);
    EXPECT_EQ(shortsAsInts->length, 1);
    EXPECT_EQ(shortsAsInts->get(0), -1);
    auto* shorts = static_cast<ShortArray*>(examples->get(2));
    ASSERT_EQ(shorts->classId(), CID_ShortArray);
    EXPECT_EQ(shorts->length, 1);
    EXPECT_EQ(shorts->get(0), 0x1234);
    auto* none = static_cast<ObjectArray*>(examples->get(3));
    ASSERT_EQ(none->classId(), CID_ObjectArray);
    EXPECT_EQ(none->length, 0);
    // The stored item's reading moved the pack stream by exactly the array's bytes.
    EXPECT_EQ(P::s_streamCount, static_cast<jint>(kExampleBytes.size()));

    auto* packed = static_cast<ObjectArray*>(P::packReadStream(6));
    ASSERT_NE(packed, nullptr);
    ASSERT_EQ(packed->length, 2);
    EXPECT_EQ(text(static_cast<ByteArray*>(packed->get(0))), "\x01\x02\xFF");
    auto* mixed = static_cast<ShortArray*>(packed->get(1));
    EXPECT_EQ(mixed->get(0), -1);
    EXPECT_EQ(mixed->get(1), 300);
}

TEST_F(PackRoundTripTest, TextPacksDecodeAndEmptyTextsAreEmptyStrings) {
    for (const jint item : {4, 5}) {
        SCOPED_TRACE(item);
        P::packLoadText(str("packs/demo"), item);
        EXPECT_EQ(P::s_packStream, nullptr);  // closed by the load
        ASSERT_NE(P::s_textCache, nullptr);
        EXPECT_EQ(P::s_textCache->length, 6);
        EXPECT_EQ(P::s_textBytes, nullptr);
        EXPECT_EQ(text16(P::getString(0)), "Hello");
        EXPECT_EQ(text16(P::getString(1)), "\\u20AC5");
        EXPECT_EQ(text16(P::getString(2)), "");
        EXPECT_EQ(P::getString(3), Runtime::ldcString(P::kFallbackLiteral));
        EXPECT_EQ(text16(P::getString(4)), "Z\\u00FCrich");
        EXPECT_EQ(text16(P::getString(5)), "last");
        EXPECT_EQ(text16(P::getString(6)), "");
        EXPECT_EQ(text16(P::getString(-1)), "");
    }
}

TEST_F(PackRoundTripTest, ByteArrayPackLoadsOnceAndAnswersTheFallbackPastItsEnd) {
    P::packOpen(str("packs/demo"));
    ASSERT_NE(P::packReadData(1), nullptr);
    const jint position = P::s_packPos;
    P::packLoadArrays(str("sounds"));
    EXPECT_EQ(P::s_packPos, position);  // the open pack is left as it was
    ObjectArray* loaded = P::s_byteArrays;
    ASSERT_NE(loaded, nullptr);
    P::packLoadArrays(str("sounds"));
    EXPECT_EQ(P::s_byteArrays, loaded);
    EXPECT_EQ(text16(P::packGetArrayString(0)), "audio/x-wav");
    EXPECT_EQ(text16(P::packGetArrayString(1)), "");
    EXPECT_EQ(text16(P::packGetArrayString(2)), "audio/midi");
    EXPECT_EQ(P::packGetArrayString(3), Runtime::ldcString(P::kFallbackLiteral));
    EXPECT_EQ(P::packGetArrayString(-1), Runtime::ldcString(P::kFallbackLiteral));
}

TEST_F(PackRoundTripTest, ReopeningTheRememberedPackKeepsTheReader) {
    P::packOpen(str("packs/demo"));
    ASSERT_NE(P::packReadData(4), nullptr);
    P::packClose();
    P::packOpen(str("packs/demo"));  // remembered: nothing read, still on sub-file 1
    EXPECT_EQ(P::s_packStream, nullptr);
    EXPECT_EQ(P::s_packSubFile, 1);
    ByteArray* again = P::packReadData(4);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(text(again).substr(0, 4), "\x06\x00\x00\x00"s);
    EXPECT_EQ(text(P::packReadData(0)), kStored);
}

}  // namespace

TEST_F(PackRoundTripTest, OpenAndLoadTwoFillsBothBootTablesAndClosesThePack) {
    struct Case {
        jint a, b;
        bool aRead, bRead;
    };
    // Items 3 and 6 sit in different sub-files; the second read may have to go back.
    const Case cases[] = {{3, 6, true, true}, {6, 3, true, true}, {-1, 6, false, true}, {3, -5, true, false},
                          {99, 6, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << ", " << c.b);
        P::s_bootTableA = P::s_bootTableB = str("stale");
        P::packOpenAndLoadTwo(str("packs/demo"), c.a, c.b);
        EXPECT_EQ(P::s_packStream, nullptr);
        for (auto [table, item, read] : {std::tuple{P::s_bootTableA, c.a, c.aRead}, {P::s_bootTableB, c.b, c.bRead}}) {
            if (!read) {
                EXPECT_EQ(table, nullptr);
                continue;
            }
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(static_cast<ObjectArray*>(table)->length, item == 3 ? 4 : 2);
        }
    }
}

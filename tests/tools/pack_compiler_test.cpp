// The packs stage of the asset compiler: nested arrays from JSON in their smallest stored form, and
// the mistakes in pack sources that must fail the build with a message naming the file and field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/asset_packer.h"
#include "tools/nested_array_compiler.h"

namespace {

using namespace std::string_literals;

TEST(PackCompilerTest, NestedArraysTakeTheSmallestWidthThatGivesTheValuesBack) {
    struct Case {
        const char* json;
        std::string bytes;
    };
    const Case cases[] = {
        {R"({"bytes": [255, -1, 0]})", "\x00\x03\xFF\xFF\x00"s},
        {R"({"shorts": [-1, 127]})", "\x01\x02\xFF\x7F"s},
        {R"({"shorts": [65535]})", "\x11\x01\xFF\xFF"s},
        {R"({"ints": [40000]})", "\x22\x01\x40\x9C\x00\x00"s},
        {R"({"ints": [-300, 5]})", "\x12\x02\xD4\xFE\x05\x00"s},
        {R"({"ints": [4294967295]})", "\x02\x01\xFF"s},
        {R"({"ints": [1], "width": 4})", "\x22\x01\x01\x00\x00\x00"s},
        {R"({"bytes": [], "wideLength": true})", "\x08\x00\x00"s},
        {R"({"arrays": [{"bytes": [7]}, {"arrays": []}]})", "\x03\x02\x00\x01\x07\x03\x00"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        std::string out, error;
        ASSERT_TRUE(tools::compileNestedArray(nlohmann::json::parse(c.json), "t", out, error)) << error;
        EXPECT_EQ(out, c.bytes);
    }
    std::string out, error;
    ASSERT_TRUE(tools::compileNestedArray({{"bytes", std::vector<int>(300, 1)}}, "t", out, error));
    EXPECT_EQ(out.substr(0, 3), "\x08\x2C\x01"s);  // more than 255 elements: a 16-bit length
}

TEST(PackCompilerTest, BadNestedArraysNameTheNode) {
    std::string deep = R"({"bytes": []})";
    for (int i = 0; i < 33; ++i) deep = R"({"arrays": [)" + deep + "]}";
    struct Case {
        std::string json;
        const char* error;
    };
    const Case cases[] = {
        {"[1, 2]", "t: a nested array is an object with \"bytes\", \"shorts\", \"ints\" or \"arrays\""},
        {R"({"ints": [1], "bytes": [2]})", "t: more than one of \"bytes\", \"shorts\", \"ints\", \"arrays\""},
        {R"({"longs": [1]})", "t: unknown key \"longs\""},
        {R"({"width": 2})", "t: one of \"bytes\", \"shorts\", \"ints\" or \"arrays\" is needed"},
        {R"({"bytes": [256]})", "t: bytes[0] is not an integer from -128 to 255"},
        {R"({"shorts": [1, 1.5]})", "t: shorts[1] is not an integer from -32768 to 65535"},
        {R"({"ints": [1, 70000], "width": 2})", "t: ints[1] does not fit 2 bytes"},
        {R"({"shorts": [1], "width": 4})", "t: \"width\" of shorts is 1, 2"},
        {R"({"arrays": [{"ints": "x"}]})", "t.arrays[0]: \"ints\" is not a list"},
        {R"({"arrays": [], "width": 1})", "t: \"width\" is for bytes, shorts and ints"},
        {deep, "t.arrays[0]", },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 40));
        std::string out, error;
        EXPECT_FALSE(tools::compileNestedArray(nlohmann::json::parse(c.json), "t", out, error));
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error);
    }
}

TEST(PackCompilerTest, BadPackSourcesFailTheBuildNamingFileAndField) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // under assets/
        const char* error;  // the part after the assets folder
    };
    const auto pack = [](const std::string& json) { return std::pair{"p.pack/pack.json"s, json}; };
    const Case cases[] = {
        {"no items", {pack("{}")}, "p.pack/pack.json: needs \"items\", a list"},
        {"unknown key", {pack(R"({"items": [], "size": 1})")}, "p.pack/pack.json: unknown key \"size\""},
        {"two contents", {pack(R"({"items": [{"empty": true, "texts": "t"}]})")},
         "p.pack/pack.json: items[0]: exactly one of \"file\", \"nested\", \"texts\", \"music\", \"synth\", \"built\", \"sprite\", \"font\", \"charMap\", \"level\", \"geometry\", \"empty\" is needed"},
        {"kind out of range", {pack(R"({"items": [{"nested": {"bytes": []}, "kind": 127}]})")},
         "p.pack/pack.json: items[0]: \"kind\" is an integer from 0 to 126"},
        {"LZMA on an empty item", {pack(R"({"items": [{"empty": true, "lzma": true}]})")},
         "p.pack/pack.json: items[0]: an empty item has no kind and no LZMA"},
        {"file outside the folder", {pack(R"({"items": [{"file": "../constants.txt"}]})")},
         "p.pack/pack.json: items[0].file: \"../constants.txt\" is not a path inside the pack's folder"},
        {"missing file", {pack(R"({"items": [{"file": "gone.bin"}]})")}, "p.pack/gone.bin"},
        {"bad nested array", {pack(R"({"items": [{"nested": {"ints": [true]}}]})")},
         "p.pack/pack.json: items[0].nested: ints[0] is not an integer"},
        {"sub-files not from 0", {pack(R"({"subFiles": [1], "items": [{"empty": true}, {"empty": true}]})")},
         "p.pack/pack.json: sub-file 0 starts at item 1"},
        {"sub-file past the items", {pack(R"({"subFiles": [0, 1], "items": [{"empty": true}]})")},
         "p.pack/pack.json: sub-file 1 starts at item 1"},
        {"text beyond U+FFFF", {pack(R"({"items": [{"texts": "t.txt"}]})"), {"p.pack/t.txt", "ok\n\xF0\x9F\x98\x80\n"}},
         "p.pack/t.txt:2: text 1: character U+1F600 is beyond U+FFFF"},
        {"text not UTF-8", {pack(R"({"items": [{"texts": "t.txt"}]})"), {"p.pack/t.txt", "caf\xE9\n"}},
         "p.pack/t.txt:1: text 0: invalid UTF-8"},
        {"unknown escape in a text", {pack(R"({"items": [{"texts": "t.txt"}]})"), {"p.pack/t.txt", "\\t\n"}},
         "p.pack/t.txt:1: text 0: unknown escape \\t (only \\n, \\\\, \\# and \\xHH exist)"},
        {"byte-array entry too long", {{"s.arrays.txt", std::string(256, 'a')}},
         "s.arrays.txt:1: entry 0: 256 bytes, at most 255 fit"},
        {"level that breaks a rule", {pack(R"({"items": [{"level": "a.level", "part": 0}]})"),
                                      {"p.pack/a.level", "level 1\nlayer 0 tileset 2\n0 0\nend\nactor racer id=0 x=1 y=1\n"}},
         "p.pack/a.level:5: field id: ids start at 1"},
        {"level part past its pack", {pack(R"({"items": [{"level": "a.level", "part": 5}]})"),
                                      {"p.pack/a.level", "level 7\nlayer 0 tileset 2\n0 0\nend\nactor racer id=1 x=1 y=1\n"}},
         "p.pack/a.level: the level pack has 5 items"},
        {"geometry of a level without any", {pack(R"({"items": [{"geometry": "a.level"}]})"),
                                             {"p.pack/a.level", "level 7\nlayer 0 tileset 2\n0 0\nend\nactor racer id=1 x=1 y=1\n"}},
         "p.pack/a.level: level 7 has no geometry item"},
        {"too many byte-array entries", {{"s.arrays.txt", std::string(256, '\n')}},
         "s.arrays.txt: 256 entries, at most 255 fit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        temp.write("assets/constants.txt", "# c\n");
        temp.write("assets/app.jad", "K: v\n");
        for (const auto& [name, bytes] : c.files) temp.write("assets/" + name, bytes);
        // Every case but the separator's own has the separator literal at its number.
        std::string constants;
        for (int i = 0; i < 331; ++i) constants += "_\n";
        temp.write("assets/constants.txt", constants);
        std::string error;
        EXPECT_FALSE(tools::packAssets(temp.path() / "assets", temp.path() / "data.bar", error));
        const std::string prefix = (temp.path() / "assets").string() + "/";
        ASSERT_EQ(error.substr(0, prefix.size()), prefix);
        EXPECT_EQ(error.substr(prefix.size(), std::string(c.error).size()), c.error) << error;
    }
}

TEST(PackCompilerTest, PacksNeedTheSeparatorLiteral) {
    TempFolder temp;
    temp.write("assets/constants.txt", "a\nb\n");
    temp.write("assets/app.jad", "K: v\n");
    temp.write("assets/p.pack/pack.json", R"({"items": []})");
    std::string error;
    EXPECT_FALSE(tools::packAssets(temp.path() / "assets", temp.path() / "data.bar", error));
    EXPECT_EQ(error, (temp.path() / "assets/constants.txt").string() +
                         ": has no literal 330 (the packs' sub-file separator)");
}

}  // namespace

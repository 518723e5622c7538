// The sprite compiler's own rules: the size flags follow the values, `spritetool info` prints the
// tables back, a sprite source becomes a pack item, and every broken rule fails with a message
// naming the file and the field.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/asset_packer.h"
#include "tools/png_picture.h"
#include "tools/sprite_source.h"
#include "tools/spritetool_cli.h"

namespace {

using nlohmann::json;

// A 4x2 sheet: key, red, green, half-transparent blue on the top row; red below.
void writeSheet(const TempFolder& folder, const std::string& name = "sheet.png") {
    tools::Picture p;
    p.width = 4;
    p.height = 2;
    p.argb = {0x00FF00FF, 0xFFFF0000, 0xFF00FF00, 0x800000FF, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    std::string error;
    ASSERT_TRUE(tools::writePngPicture(folder.path() / name, p, error)) << error;
}

uint32_t flagsOf(const std::string& bytes) {
    return static_cast<uint8_t>(bytes[2]) | static_cast<uint8_t>(bytes[3]) << 8 | static_cast<uint8_t>(bytes[4]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[5])) << 24;
}

bool compile(const TempFolder& folder, const json& source, std::string& bytes, std::string& error) {
    folder.write("s.json", source.dump());
    return tools::compileSpriteFile(folder.path() / "s.json", bytes, error);
}

json base() {
    return {{"modules", {{{"image", "sheet.png"}}, {{"fillRect", "#80FF0000"}, {"w", 5}, {"h", 4}}}},
            {"frames", {{{"modules", {{{"module", 0}}, {{"module", 1}, {"x", 4}, {"y", -2}, {"flags", 5}}}}}}},
            {"animations", {{{"frames", {{{"frame", 0}, {"time", 3}}}}}}}};
}

TEST(SpriteCompilerTest, SizeFlagsFollowTheValues) {
    TempFolder folder;
    writeSheet(folder);
    struct Case {
        const char* name;
        std::function<void(json&)> change;
        uint32_t flags;
    };
    const Case cases[] = {
        {"small forms", [](json&) {}, 0x01000000},
        {"module over 255 wide", [](json& s) { s["modules"][1]["w"] = 256; }, 0x01000010 | 0x400},
        {"positions kept", [](json& s) { s["modulePositions"] = true; }, 0x01000020},
        {"frame-module offset 128", [](json& s) { s["frames"][0]["modules"][0]["x"] = 128; }, 0x01000400},
        {"frame-module offset -128 fits", [](json& s) { s["frames"][0]["modules"][0]["x"] = -128; }, 0x01000000},
        {"box", [](json& s) { s["frames"][0]["boxes"] = {{-1, 2, 255, 3}}; }, 0x01008000},
        {"box 256 high", [](json& s) { s["frames"][0]["boxes"] = {{0, 0, 1, 256}}; }, 0x01008400},
        {"animation offset -129", [](json& s) { s["animations"][0]["frames"][0]["y"] = -129; }, 0x01040000},
        {"shapes only", [](json& s) {
             s["modules"].erase(0);
             s["frames"][0]["modules"] = {{{"module", 0}}};
         }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        json source = base();
        c.change(source);
        std::string bytes, error;
        ASSERT_TRUE(compile(folder, source, bytes, error)) << error;
        EXPECT_EQ(flagsOf(bytes), c.flags);
    }
    // Pixel data of 32 KB or more needs 32-bit sizes: 200x200 of alternating colours, 1 byte each.
    tools::Picture noisy;
    noisy.width = noisy.height = 200;
    for (int i = 0; i < 40000; ++i) noisy.argb.push_back((i + i / 200) % 2 ? 0xFF000000u : 0xFFFFFFFFu);
    std::string bytes, error;
    ASSERT_TRUE(tools::writePngPicture(folder.path() / "noisy.png", noisy, error)) << error;
    ASSERT_TRUE(compile(folder, {{"pixelFormat", "27F1"}, {"modules", {{{"image", "noisy.png"}}}}}, bytes, error)) << error;
    EXPECT_EQ(flagsOf(bytes), 0x01000080u);
}

TEST(SpriteCompilerTest, InfoPrintsTheTablesBack) {
    TempFolder folder;
    writeSheet(folder);
    json source = base();
    source["palettes"] = {{"#00FF00FF", "#FFFF0000", "#FF00FF00", "#800000FF"},
                          {"#00FF00FF", "#FF000000", "#FFFFFFFF", "#80FFFFFF"}};
    source["frames"][0]["boxes"] = {{-1, 2, 10, 3}};
    std::string bytes, error;
    ASSERT_TRUE(compile(folder, source, bytes, error)) << error;
    folder.write("s.bin", bytes);
    std::ostringstream out, err;
    ASSERT_EQ(tools::runSpritetool({"info", (folder.path() / "s.bin").string()}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(),
              "flags 0x01008000\n"
              "modules 2\n"
              "     0 image        4x2\n"
              "     1 fillRect     colour #80FF0000 5x4\n"
              "frames 1\n"
              "     0 rect (0, -2) 8x5\n"
              "       module 0 at (0, 0) flags 0\n"
              "       module 1 at (4, -2) flags 5\n"
              "       box (-1, 2) 10x3\n"
              "animations 1\n"
              "     0\n"
              "       frame 0 time 3 at (0, 0) flags 0\n"
              "palettes 2 of 4 colours, format 8888\n"
              "     0 00FF00FF FFFF0000 FF00FF00 800000FF\n"
              "     1 00FF00FF FF000000 FFFFFFFF 80FFFFFF\n"
              "pixel format 56F2\n"
              "  module 0: 7 bytes\n");
    // Cut short: the tables read so far, then the place the data ends.
    folder.write("short.bin", bytes.substr(0, 20));
    std::ostringstream out2, err2;
    EXPECT_EQ(tools::runSpritetool({"info", (folder.path() / "short.bin").string()}, out2, err2), 1);
    EXPECT_EQ(err2.str(), "spritetool: " + (folder.path() / "short.bin").string() + ": the data ends inside a frame-module\n");
}

TEST(SpriteCompilerTest, ASpriteSourceInAPackBecomesAnItem) {
    TempFolder folder;
    folder.write("assets/ui.pack/s.json", base().dump());
    writeSheet(folder, "assets/ui.pack/sheet.png");
    folder.write("assets/ui.pack/pack.json", R"({"items": [{"sprite": "s.json", "lzma": true}]})");
    std::string constants;
    for (int i = 0; i < 333; ++i) constants += i == 330 ? "_\n" : "x\n";
    folder.write("assets/constants.txt", constants);
    folder.write("assets/app.jad", "MIDlet-Name: t\n");
    std::vector<tools::BarEntry> entries;
    std::string error;
    ASSERT_TRUE(tools::collectAssets(folder.path() / "assets", entries, error)) << error;
    const auto ui = std::find_if(entries.begin(), entries.end(), [](const tools::BarEntry& e) { return e.name == "ui"; });
    ASSERT_NE(ui, entries.end());

    folder.write("assets/ui.pack/s.json", R"({"modules": [{"image": "missing.png"}]})");
    EXPECT_FALSE(tools::collectAssets(folder.path() / "assets", entries, error));
    EXPECT_NE(error.find("ui.pack/s.json: modules[0].image: "), std::string::npos) << error;
}

TEST(SpriteCompilerTest, BrokenRulesNameTheFileAndField) {
    TempFolder folder;
    writeSheet(folder);
    tools::Picture big;
    big.width = 205;
    big.height = 200;
    big.argb.assign(205 * 200, 0xFF000000u);
    std::string error;
    ASSERT_TRUE(tools::writePngPicture(folder.path() / "big.png", big, error)) << error;
    const std::string file = (folder.path() / "s.json").string();
    struct Case {
        std::function<void(json&)> change;
        std::string error;
    };
    const Case cases[] = {
        {[](json& s) { s["modules"][0] = {{"image", "big.png"}}; }, "modules[0]: 205x200 is 41000 pixels: at most 40960"},
        {[](json& s) { s["palettes"] = json::array(); for (int i = 0; i < 17; ++i) s["palettes"].push_back({"#FF000000"}); },
         "palettes: 17 palettes: at most 16"},
        {[](json& s) { s["frames"][0]["modules"][1]["module"] = 2; }, "frames[0].modules[1].module: is an integer from 0 to 1"},
        {[](json& s) { s["animations"][0]["frames"][0]["frame"] = 1; }, "animations[0].frames[0].frame: is an integer from 0 to 0"},
        {[](json& s) { s["frames"][0]["modules"][0]["flags"] = 16; }, "frames[0].modules[0].flags: is an integer from 0 to 15"},
        {[](json& s) { s["animations"][0]["frames"][0]["time"] = 256; }, "animations[0].frames[0].time: is an integer from 0 to 255"},
        {[](json& s) { s["pixelFormat"] = "A640"; }, "pixelFormat: is one of 0200, 0400, 1600, 64F0, 27F1, 56F2, A256"},
        {[](json& s) { s["paletteFormat"] = "8880"; }, "paletteFormat: is one of 8888, 4444, 5515, 6505"},
        {[](json& s) { s["pixelFormat"] = "0400"; s["modules"][0] = {{"image", "sheet.png"}}; s["palettes"] = {{"#00FF00FF", "#FFFF0000", "#FF00FF00", "#800000FF", "#FF123456"}}; },
         "palettes[0]: 5 colours do not fit the pixel format (at most 4)"},
        {[](json& s) { s["pixelFormat"] = "0200"; }, "modules[0]: pixel (2, 0) of sheet.png: colour #FF00FF00 is one more than pixel format 0200 holds (2)"},
        {[](json& s) { s["paletteFormat"] = "6505"; }, "modules[0]: pixel (1, 0) of sheet.png: colour #FFFF0000 does not fit palette format 6505 (it would become #FFF80000)"},
        {[](json& s) { s["paletteFormat"] = "4444"; s["pixelFormat"] = "A256"; s["palettes"] = {{"#00FF00FF", "#FFFF0000", "#FF00FF00", "#FF0000FF"}, {"#00FF00FF", "#FF123456", "#FF00FF00", "#FF0000FF"}}; },
         "palettes[1][1]: colour #FF123456 does not fit palette format 4444 (it would become #FF113355)"},
        {[](json& s) { s["palettes"] = {{"#00FF00FF", "#FFFF0000", "#FF00FF00"}}; }, "modules[0]: pixel (3, 0) of sheet.png: colour #800000FF is not in palettes[0]"},
        {[](json& s) { s["palettes"] = {{"#00FF00FF", "#FFFF0000", "#FF00FF00", "#800000FF"}, {"#FF000000"}}; },
         "palettes[1]: 1 colours, palette 0 has 4"},
        {[](json& s) { s["palettes"] = {{"red"}}; }, "palettes[0][0]: a colour is \"#AARRGGBB\""},
        {[](json& s) { s["modules"][0]["w"] = 5; }, "modules[0].w: is an integer from 0 to 4"},
        {[](json& s) { s["modules"][0]["image"] = "../sheet.png"; }, "modules[0].image: \"../sheet.png\" is not a path inside the description's folder"},
        {[](json& s) { s["modules"][1] = {{"circle", "#FF000000"}}; }, "modules[1]: a module has one of \"image\", \"rect\", \"fillRect\", \"arc\", \"fillArc\", \"triangle\", \"fillTriangle\", \"empty\""},
        {[](json& s) { s["modules"][1] = {{"triangle", "#FF000000"}, {"points", {1, 2, 3}}}; }, "modules[1].points: is a list of 4 integers"},
        {[](json& s) { s["frames"][0]["boxes"] = {{0, 0, -1, 2}}; }, "frames[0].boxes[0][2]: is an integer from 0 to 65535"},
        {[](json& s) { s["frames"][0]["speed"] = 1; }, "frames[0]: unknown key \"speed\""},
        {[](json& s) { s["frames"][0]["modules"] = json::array(); for (int i = 0; i < 256; ++i) s["frames"][0]["modules"].push_back({{"module", 0}}); },
         "frames[0].modules: 256 frame-modules: at most 255"},
        {[](json& s) { s["modules"] = json::array(); for (int i = 0; i < 1025; ++i) s["modules"].push_back({{"empty", true}}); },
         "modules: 1025 modules: at most 1024"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        json source = base();
        c.change(source);
        std::string bytes;
        error.clear();
        EXPECT_FALSE(compile(folder, source, bytes, error));
        EXPECT_EQ(error, file + ": " + c.error);
    }
}

}  // namespace

// Every level source draws: the level viewer runs over each one as a user runs it, with the tile
// sets and sprites of the data.bar the build made; the picture is the level's size and shows its
// tiles, and its actors with their sprites.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/file_bytes.h"
#include "tools/level_source.h"
#include "tools/png_picture.h"

namespace {

namespace fs = std::filesystem;

std::set<fs::path> levelSources() {
    std::set<fs::path> found;
    const fs::path source = fs::path(BRINDLEX_ASSETS).parent_path();
    for (const fs::path& folder : {source / "assets", source / "tests/fixtures/levels"}) {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ec))
            if (entry.is_regular_file() && entry.path().extension() == ".level") found.insert(entry.path());
    }
    return found;
}

TEST(LevelViewTest, EveryLevelDrawsAtItsSize) {
    const std::set<fs::path> levels = levelSources();
    ASSERT_FALSE(levels.empty());
    for (const fs::path& level : levels) {
        SCOPED_TRACE(level.string());
        std::string text, error;
        ASSERT_TRUE(tools::readFileBytes(level, text, error)) << error;
        tools::LevelSource source;
        std::vector<tools::LevelProblem> problems;
        ASSERT_TRUE(tools::readLevelSource(text, level.string(), source, problems));
        int width = 0, height = 0;
        bool backdrop = false;
        std::size_t groundCells = 0;
        for (const tools::LevelTileLayer& layer : source.layers) {
            if (layer.layer == 3 || width == 0) width = layer.width * 40, height = layer.height * 40;
            backdrop = backdrop || layer.layer == 0;
            if (layer.layer == 3)
                for (uint16_t tile : layer.tiles) groundCells += tile != 0xFFFF;
        }

        TempFolder out;
        const fs::path png = out.path() / "level.png";
        const std::string command = "env -u BRINDLEX_GC_STRESS -u BRINDLEX_GC_AUDIT '" +
                                    std::string(BRINDLEX_LEVELVIEW) + "' '" + level.string() + "' '" + BRINDLEX_DATA_BAR +
                                    "' '" + png.string() + "' > '" + (out.path() / "out.txt").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        // The hero, at least, is painted with its sprite.
        const std::string said = out.read("out.txt");
        const std::size_t at = said.find(" actors drawn with their sprites");
        ASSERT_NE(at, std::string::npos) << said;
        EXPECT_GT(std::atoi(said.c_str() + said.rfind(' ', at - 1) + 1), 0) << said;
        tools::Picture picture;
        ASSERT_TRUE(tools::readPngPicture(png, picture, error)) << error;
        EXPECT_EQ(picture.width, width);
        EXPECT_EQ(picture.height, height);
        // Painted tiles, not the black the screen starts as: with a backdrop most of the picture has
        // colour; without one (the sky levels, whose scene is filled black) at least the ground does.
        std::size_t black = 0;
        for (uint32_t c : picture.argb) black += (c & 0xFFFFFF) == 0;
        if (backdrop)
            EXPECT_LT(black, picture.argb.size() / 10);
        else
            EXPECT_GT(picture.argb.size() - black, groundCells * 40 * 40 / 2);
    }
}

// The example of the format's page is a level that passes every check and draws.
TEST(LevelViewTest, TheFormatPagesExampleDraws) {
    std::string page, error;
    ASSERT_TRUE(tools::readFileBytes(fs::path(BRINDLEX_ASSETS).parent_path() / "docs/level_source.md", page, error)) << error;
    const std::size_t start = page.find("```\n# Meadow");
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = page.find("```", start + 4);
    TempFolder out;
    const fs::path level = out.write("example.level", page.substr(start + 4, end - start - 4));
    const std::string command = "env -u BRINDLEX_GC_STRESS -u BRINDLEX_GC_AUDIT '" + std::string(BRINDLEX_LEVELVIEW) +
                                "' '" + level.string() + "' '" + BRINDLEX_DATA_BAR + "' '" +
                                (out.path() / "x.png").string() + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(LevelViewTest, ABrokenLevelIsRefusedNamingLineAndField) {
    TempFolder out;
    const fs::path level = out.write("broken.level", "level 2\nlayer 0 tileset 4\n  0 1\nend\nlayer 2 tileset 3\n  0\nend\n"
                                                     "layer 3 tileset 3\n  0 99\nend\nactor hero id=1 x=1 y=1\n");
    const fs::path log = out.path() / "log.txt";
    const std::string command = "'" + std::string(BRINDLEX_LEVELVIEW) + "' '" + level.string() + "' '" +
                                BRINDLEX_DATA_BAR + "' '" + (out.path() / "x.png").string() + "' 2> '" + log.string() + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    std::string message, error;
    ASSERT_TRUE(tools::readFileBytes(log, message, error)) << error;
    EXPECT_NE(message.find("broken.level:9: field tile: tile 99 outside set 3"), std::string::npos) << message;
}

}  // namespace

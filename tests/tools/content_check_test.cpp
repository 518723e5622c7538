// The content checker over a copy of the shipped assets: they pass, and each way of breaking a rule
// the game's code relies on fails the build with the file and the field at fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <regex>
#include <string_view>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/asset_packer.h"

namespace {

namespace fs = std::filesystem;

class ContentCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(BRINDLEX_ASSETS, temp.path() / "assets", fs::copy_options::recursive);
        options.builtFolder = BRINDLEX_BUILT_ASSETS;
        options.checkContent = true;
    }

    std::string file(const std::string& relative) const { return (temp.path() / "assets" / relative).string(); }

    // Replaces the first match of `pattern` in an asset file.
    void edit(const std::string& relative, const std::string& pattern, const std::string& replacement) {
        std::string text = temp.read(fs::path("assets") / relative);
        const std::string changed = std::regex_replace(text, std::regex(pattern), replacement,
                                                       std::regex_constants::format_first_only);
        ASSERT_NE(changed, text) << pattern;
        temp.write(fs::path("assets") / relative, changed);
    }

    std::string packError() {
        std::vector<tools::BarEntry> entries;
        std::string error;
        EXPECT_FALSE(tools::collectAssets(temp.path() / "assets", entries, error, options));
        return error;
    }

    TempFolder temp;
    tools::PackOptions options;
};

TEST_F(ContentCheckTest, TheShippedAssetsPass) {
    std::vector<tools::BarEntry> entries;
    std::string error;
    EXPECT_TRUE(tools::collectAssets(temp.path() / "assets", entries, error, options)) << error;
}

// One broken rule: the asset file broken (its first match of `pattern` replaced), and the file the
// message names with the start of what it says.
struct BrokenRule {
    const char* what;
    const char* file;
    const char* pattern;
    const char* replacement;
    const char* errorFile;
    const char* error;
};

void PrintTo(const BrokenRule& rule, std::ostream* os) { *os << rule.what; }

constexpr const char* kRacePickUps = "the race pick-ups made from a sprite without their animations";

const BrokenRule kBrokenRules[] = {
    {"a text the game draws is emptied",
     "text_EN.pack/en.txt", "\nTap to continue\n", "\n\n",
     "text_EN.pack/en.txt", ": text 35 is empty, but the game draws it (the blinking prompt)"},
    {"the cheat sequence's message is emptied",
     "text_EN.pack/en.txt", "\nCheat mode switched.\n", "\n\n",
     "text_EN.pack/en.txt", ": text 71 is empty, but the game draws it (the message box of the cheat sequence)"},
    {"the failed level's message is emptied",
     "text_EN.pack/en.txt", "\nThis level could not be loaded. Please try another one.\n", "\n\n",
     "text_EN.pack/en.txt", ": text 24 is empty, but the game draws it (the message box after a level failed to load)"},
    {"app.jad names an icon the data file lacks",
     "app.jad", "/icon.png", "/no_icon.png",
     "app.jad", ": MIDlet-1 names the icon /no_icon.png, which the data file lacks"},
    {"a text line is lost, shifting every id after it",
     "text_EN.pack/en.txt", "\nYes\n", "\n",
     "text_EN.pack/en.txt", ":16: the comment numbers 7, but the text after it is text 6"},
    {"the pack ends before the last help page",
     "text_EN.pack/en.txt", "# 157:[^\n]*\n[^\n]*\n", "",
     "text_EN.pack/en.txt", ": text 157 is missing (help page 6); the pack has 157 texts"},
    {"the credits lose their placeholder",
     "text_EN.pack/en.txt", "Edition %s0", "Edition 1.0",
     "text_EN.pack/en.txt", ": text 81 has no %s0"},
    {"a cosine is wrong",
     "boot.pack/cosines.json", "256, 256, 256, 255", "256, 256, 256, 200",
     "boot.pack/cosines.json", ": entry 3 is 200, the cosine of angle 3 is 255"},
    {"the reference times stop at level 8",
     "times.pack/pack.json", ", 480\\]", "]",
     "times.pack/pack.json", ": items[0]: 9 entries, the game reads 10"},
    {"an eighteenth sound",
     "sounds.pack/pack.json", "\n\\]\\}", ",\n{\"synth\": \"tick.sfx\"}\n]}",
     "sounds.pack/pack.json", ": items[17]: sound ids are 0 to 16"},
    {"a sound's kind names no content type",
     "sounds.pack/pack.json", "\"kind\": 2", "\"kind\": 3",
     "sounds.pack/title.notes", ": kind 3 names no content type"},
    {"a WAVE clip labelled MIDI",
     "sounds.pack/pack.json", "\"select.sfx\", ", "\"select.sfx\", \"kind\": 2, ",
     "sounds.pack/select.sfx", ": kind 2 says audio/midi, but the data is not of that type"},
    {"the touch buttons are left out of the sprites pack",
     "sprites.pack/pack.json", "\\{\"sprite\": \"touch.json\", \"lzma\": true\\}", "{\"empty\": true}",
     "sprites.pack/pack.json", ": items[40]: sprite 40 is missing (the touch buttons"},
    {"the heads-up display made from a sprite without its frames",
     "sprites.pack/pack.json", "\"hud.json\"", "\"lift.json\"",
     "sprites.pack/lift.json", ": frames[9] is missing; the sprite has 6 frames (the heads-up display"},
    {kRacePickUps,
     "sprites.pack/pack.json", "\"race_items.json\"", "\"sprout.json\"",
     "sprites.pack/sprout.json", ": animations[2] is missing; the sprite has 2 animations (the race pick-ups"},
    {"the hero made from a sprite without its animations",
     "sprites.pack/pack.json", "\"hero.json\"", "\"lift.json\"",
     "sprites.pack/lift.json", ": animations[3] is missing; the sprite has 3 animations (the hero"},
    {"the hero's first shot loses its gun point",
     "sprites.pack/hero.json", "\"boxes\": \\[\\s*\\[[^\\]]*\\]\\s*\\],\\s*", "",
     "sprites.pack/hero.json", ": animations[11] frame 0 lacks frame box 0 (the hero"},
    {"the air station loses its dock on one frame of many",
     "sprites.pack/air_station.json", "\"boxes\": \\[\\s*\\[[^\\]]*\\]\\s*\\],\\s*", "",
     "sprites.pack/air_station.json", ": animations[0]: a frame lacks frame box 0 (the air station"},
    {"the race's obstacles made from a sprite with longer animations than the code copes with",
     "sprites.pack/pack.json", "\"obstacles.json\"", "\"hero.json\"",
     "sprites.pack/hero.json", ": animations[2] has 8 frames, the code copes with 5 (the race's obstacles"},
    {"the menu sprite made from one without its rows and arrows",
     "ui.pack/pack.json", "\"menu.json\"", "\"logo.json\"",
     "ui.pack/logo.json", ": frames[6] is missing; the sprite has "},
    {"a sound source with a mistake",
     "sounds.pack/race_won.notes", "song hooray", "song hooray fanfare",
     "sounds.pack/race_won.notes", ":20: song: no pattern \"fanfare\""},
};

class BrokenRuleTest : public ContentCheckTest, public ::testing::WithParamInterface<BrokenRule> {};

// Each case packs the whole asset tree, so each is a test of its own (they run side by side).
TEST_P(BrokenRuleTest, NamesItsFileAndField) {
    const BrokenRule& c = GetParam();
    SCOPED_TRACE(c.what);
    // A race that gives out shields would name the missing animation first, from its own check.
    if (std::string_view(c.what) == kRacePickUps)
        edit("level1.pack/updraft.level", "(collectable [^\\n]*) anim=2", "$1 anim=0");
    edit(c.file, c.pattern, c.replacement);
    const std::string error = packError();
    EXPECT_TRUE(error.starts_with(file(c.errorFile) + c.error)) << error;
}

INSTANTIATE_TEST_SUITE_P(EachRule, BrokenRuleTest, ::testing::ValuesIn(kBrokenRules),
                         [](const ::testing::TestParamInfo<BrokenRule>& info) {
                             return "case" + std::to_string(info.index);
                         });

}  // namespace

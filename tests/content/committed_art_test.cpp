// The committed art is what the art tools draw today: each tool runs into a fresh folder and every
// file it writes must be byte for byte the committed one, with no committed file it no longer makes
// (only the hand-kept item lists are the tools' inputs). The docs pictures are remade the way
// README.md says and compared the same way. A changed tool cannot leave stale art behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(BRINDLEX_ASSETS).parent_path();

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The regular files under `folder`, as paths relative to it.
std::set<fs::path> filesUnder(const fs::path& folder) {
    std::set<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder));
    }
    return files;
}

// The tools run as a user runs them: not under the collector stress of the suite's second run.
bool run(const std::string& command) {
    const int rc = std::system(("env -u BRINDLEX_GC_STRESS -u BRINDLEX_GC_AUDIT " + command + " > /dev/null 2>&1").c_str());
    EXPECT_EQ(rc, 0) << command;
    return rc == 0;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Every file the tool made equals the committed one, and the committed folder holds nothing else
// but the hand-kept files.
void expectSameFolder(const fs::path& made, const fs::path& committed, const std::set<fs::path>& handKept,
                      const std::string& remake) {
    const std::set<fs::path> madeFiles = filesUnder(made);
    EXPECT_FALSE(madeFiles.empty()) << made;
    for (const fs::path& file : madeFiles) {
        EXPECT_TRUE(bytesOf(made / file) == bytesOf(committed / file))
            << (committed / file) << " is not what the tool draws now: " << remake;
    }
    for (const fs::path& file : filesUnder(committed)) {
        if (!handKept.count(file) && !madeFiles.count(file))
            ADD_FAILURE() << (committed / file) << " is no longer made by its tool: " << remake;
    }
}

TEST(CommittedArtTest, TheArtToolsRedrawTheCommittedArtByteForByte) {
    struct Case {
        const char* program;
        std::vector<std::pair<std::string, std::string>> folders;   // made below the output, committed in assets/
        std::set<fs::path> handKept;
    };
    const Case cases[] = {
        {BRINDLEX_UIART, {{"ui.pack", "ui.pack"}, {"images.pack", "images.pack"}}, {"pack.json"}},
        {BRINDLEX_SPRITEART, {{"", "sprites.pack"}}, {"pack.json"}},
        {BRINDLEX_TILEART, {{"", "tiles.pack"}}, {"pack.json"}},
        {BRINDLEX_PROMOART, {{"", "promo.dat.igp"}}, {"manifest.json"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        TempFolder out;
        if (!run(quoted(c.program) + " " + quoted(out.path()))) continue;
        for (const auto& [made, committed] : c.folders) {
            const std::string remake = "run `" + fs::path(c.program).filename().string() + " assets" +
                                       (made.empty() ? "/" + committed : "") + "` and commit the result";
            expectSameFolder(out.path() / made, fs::path(BRINDLEX_ASSETS) / committed, c.handKept, remake);
        }
    }
}

TEST(CommittedArtTest, TheDocsPicturesAreRemadeByteForByte) {
    TempFolder out;
    const fs::path sheet = out.path() / "contact_sheet.png";
    if (run(quoted(BRINDLEX_CONTACTSHEET) + " " + quoted(BRINDLEX_DATA_BAR) + " " + quoted(sheet))) {
        EXPECT_TRUE(bytesOf(sheet) == bytesOf(kSource / "docs/contact_sheet.png"))
            << "docs/contact_sheet.png is stale: run contactsheet over the built data.bar";
    }
    // The main menu as README.md makes it: the sound question answered, the title tapped. A scripted
    // event reaches the game before the frame due at its time, so one run decides.
    const fs::path script = out.write("menu.txt",
                                      "11000 stylusdown 239 400\n11100 stylusup 239 400\n"
                                      "12500 stylusdown 240 400\n12600 stylusup 240 400\n");
    const fs::path home = out.path() / "home";
    const fs::path portrait = out.path() / "menu-portrait.png", upright = out.path() / "main_menu.png";
    const bool ran = run(quoted(BRINDLEX_PROGRAM) + " --headless --frames 1450 --data " + quoted(BRINDLEX_DATA_BAR) +
                         " --script " + quoted(script) + " --home " + quoted(home) + " --screenshot " + quoted(portrait)) &&
                     run("python3 " + quoted(kSource / "scripts/upright-screenshot") + " " + quoted(portrait) + " " +
                         quoted(upright));
    if (!ran) return;
    EXPECT_TRUE(bytesOf(upright) == bytesOf(kSource / "docs/main_menu.png"))
        << "docs/main_menu.png is stale: remake it with the commands in README.md";
}

}  // namespace

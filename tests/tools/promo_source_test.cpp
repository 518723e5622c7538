// The promotion resource's compiler and dump: the shipped folder compiles and reads back as
// authored, through barpack too; a folder that would break the screen's readers is refused with
// the reason; a malformed resource is refused by the dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/barpack_cli.h"
#include "tools/file_bytes.h"
#include "tools/promo_source.h"

namespace {

namespace fs = std::filesystem;

const fs::path kShipped = fs::path(BRINDLEX_FIXTURES) / ".." / ".." / "assets" / "promo.dat.igp";

std::string compileShipped() {
    std::string bytes, error;
    EXPECT_TRUE(tools::compilePromoFolder(kShipped, bytes, error)) << error;
    return bytes;
}

void expectHas(const std::string& text, const std::string& part) {
    EXPECT_NE(text.find(part), std::string::npos) << "missing: " << part << "\nin:\n" << text;
}

// A copy of the shipped folder with its manifest text changed.
void copyShippedWith(const TempFolder& temp, const std::function<void(std::string&)>& change) {
    for (const auto& file : fs::directory_iterator(kShipped)) {
        std::string bytes, error;
        ASSERT_TRUE(tools::readFileBytes(file.path(), bytes, error)) << error;
        if (file.path().filename() == "manifest.json") change(bytes);
        temp.write(fs::path("x.igp") / file.path().filename(), bytes);
    }
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

}  // namespace

TEST(PromoSourceTest, ShippedFolderReadsBackAsAuthored) {
    std::string listing, error;
    ASSERT_TRUE(tools::dumpPromoResource(compileShipped(), listing, error)) << error;
    expectHas(listing, "entries: 9\n");
    expectHas(listing, "languages: [EN]\ntitles: [SKYLARK, EMBERHOLD, TIDEWATCH]\n");
    expectHas(listing, "list 0: [SKYLARK, PORTAL, MORE]\nlist 1: [EMBERHOLD, TIDEWATCH, MORE]\nlist 2: []\n");
    expectHas(listing, "texts EN: 26\n");
    expectHas(listing, "  0: Race the wind over\\nseven mountain ranges.\n");
    expectHas(listing, "  15: OPEN\n  16: GET IT\n");
    expectHas(listing, "  22: More games\n  23: Emberhold\n");
    expectHas(listing, "font: 274x280");
    expectHas(listing, "3 colours, 95 glyphs up to code 126\n");
    expectHas(listing, "titles: 400x220");
    expectHas(listing, "portal: 420x240");

    // The same through barpack, from the folder and from the compiled bytes.
    TempFolder temp;
    temp.write("promo.bin", compileShipped());
    for (const fs::path& source : {kShipped, temp.path() / "promo.bin"}) {
        std::ostringstream out, err;
        EXPECT_EQ(tools::runBarpack({"--promo", source.string()}, out, err), 0) << err.str();
        EXPECT_EQ(out.str(), listing);
    }
}

TEST(PromoSourceTest, TextLayoutFollowsTitlesAndRows) {
    const tools::PromoTextLayout two = tools::promoTextLayout(2, 3, 3);
    EXPECT_EQ(two.items, 6);
    EXPECT_EQ(two.ok, 12);
    EXPECT_EQ(two.button, 14);
    EXPECT_EQ(two.list0Last, 21);
    EXPECT_EQ(two.list1Last, 24);
    EXPECT_EQ(two.textCount, 25);
    // No title and one-row lists: slot texts still start the table; a short list takes one text.
    const tools::PromoTextLayout none = tools::promoTextLayout(0, 1, 0);
    EXPECT_EQ(none.items, 5);
    EXPECT_EQ(none.list0Last, 18);
    EXPECT_EQ(none.list1Last, 19);
}

TEST(PromoSourceTest, FoldersTheScreenCannotReadAreRefused) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"a missing picture", [](std::string& m) { replaceOnce(m, "portal.png", "gone.png"); }, "gone.png"},
        {"a picture outside the folder", [](std::string& m) { replaceOnce(m, "\"portal.png\"", "\"../portal.png\""); },
         "not a path inside the folder"},
        {"a file that is not a PNG", [](std::string& m) { replaceOnce(m, "\"portal.png\"", "\"font_glyphs.json\""); },
         "not a PNG file"},
        {"one description too few",
         [](std::string& m) { replaceOnce(m, "        \"All our games\\nin one place.\"\n", ""); replaceOnce(m, "\"Top games this month.\",", "\"Top games this month.\""); },
         "\"items\" has 7 texts"},
        {"a last row with a picture",
         [](std::string& m) { replaceOnce(m, "{\"name\": \"MORE\"}", "{\"name\": \"MORE\", \"picture\": \"row_more.png\"}"); },
         "but the last has a picture"},
        {"a font picture without a palette", [](std::string& m) { replaceOnce(m, "\"font.png\"", "\"row_more.png\""); },
         "palette PNG"},
        {"thirteen fixed pictures", [](std::string& m) { replaceOnce(m, "\"mark_gold.png\", ", ""); }, "14 pictures"},
        {"wide glyphs without the wide format",
         [](std::string& m) { replaceOnce(m, "\"wideGlyphs\": false", "\"wideGlyphs\": true"); },
         "\"wideGlyphs\" is true exactly when \"format\" is \"WIDE\""},
        {"the wide format without wide glyphs", [](std::string& m) { replaceOnce(m, "\"format\": \"\"", "\"format\": \"WIDE\""); },
         "\"wideGlyphs\" is true exactly when"},
        {"no language", [](std::string& m) { replaceOnce(m, "\"languages\": [\"EN\"]", "\"languages\": []"); },
         "at least one language"},
        {"not JSON", [](std::string& m) { m = "{"; }, "not valid JSON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        copyShippedWith(temp, c.change);
        std::string bytes, error;
        EXPECT_FALSE(tools::compilePromoFolder(temp.path() / "x.igp", bytes, error));
        expectHas(error, c.message);
    }
    // A glyph reaching past the font picture.
    TempFolder temp;
    copyShippedWith(temp, [](std::string&) {});
    temp.write("x.igp/font_glyphs.json", "[[65, 270, 0, 9, 15]]");
    std::string bytes, error;
    EXPECT_FALSE(tools::compilePromoFolder(temp.path() / "x.igp", bytes, error));
    expectHas(error, "glyph 65 does not fit");
}

TEST(PromoSourceTest, DumpRefusesMalformedResources) {
    const std::string good = compileShipped();
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    std::string decreasing = good;
    decreasing[2 + 4 * 3] = '\x01';
    decreasing[2 + 4 * 3 + 1] = decreasing[2 + 4 * 3 + 2] = decreasing[2 + 4 * 3 + 3] = 0;
    const Case cases[] = {
        {"empty", "", "no index"},
        {"a cut index", good.substr(0, 20), "index is cut short"},
        {"decreasing offsets", decreasing, "goes back or past the end"},
        {"cut data", good.substr(0, good.size() - 10), "goes back or past the end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string listing, error;
        EXPECT_FALSE(tools::dumpPromoResource(c.bytes, listing, error));
        expectHas(error, c.message);
    }
}

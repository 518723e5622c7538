// Every light text the front end draws over a fill of its own reads against it: the fonts' gradient
// colours (both ends, from the shipped font descriptions) and the promotion's inks reach a contrast
// of 4.5:1 with the fill behind them and with the promotion font's outline, by the relative
// luminance of sRGB colours.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/cgame.h"
#include "promo/igp.h"

namespace {

double channel(uint32_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(uint32_t rgb) {
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) + 0.0722 * channel(rgb & 0xFF);
}

double contrast(uint32_t a, uint32_t b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The palette's "top" and "bottom" colours of assets/fonts.pack/fontN.json.
bool gradientOf(int font, int palette, uint32_t& top, uint32_t& bottom) {
    std::ifstream in(std::string(BRINDLEX_ASSETS) + "/fonts.pack/font" + std::to_string(font) + ".json");
    const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (json.is_discarded() || !json.contains("palettes") || palette >= static_cast<int>(json["palettes"].size()))
        return false;
    const auto& p = json["palettes"][palette];
    top = static_cast<uint32_t>(std::stoul(p["top"].get<std::string>().substr(1), nullptr, 16));
    bottom = static_cast<uint32_t>(std::stoul(p["bottom"].get<std::string>().substr(1), nullptr, 16));
    return true;
}

TEST(TextContrastTest, LightTextsReadOnTheFillsBehindThem) {
    struct Case {
        const char* what;
        int font, palette;
        uint32_t fill;
    };
    const Case cases[] = {
        {"a question's or message box's text", 1, 1, cGame::kDialogBoxFill},
        {"the message box's continue prompt", 0, 0, cGame::kDialogBoxFill},
        {"a title on its plate", 0, 0, cGame::kTitlePlateFill},
        {"a plain row", 0, 0, cGame::kPlainRowFill},
        {"a plain row, selected", 0, 0, cGame::kPlainRowLitFill},
        {"the special plain row", 0, 1, cGame::kPlainRowFill},
        {"the special plain row, selected", 0, 1, cGame::kPlainRowLitFill},
        {"a plain answer", 1, 1, cGame::kPlainRowFill},
        {"a plain answer, lit", 1, 1, cGame::kPlainRowLitFill},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint32_t top = 0, bottom = 0;
        ASSERT_TRUE(gradientOf(c.font, c.palette, top, bottom));
        EXPECT_GE(contrast(top, c.fill), 4.5);
        EXPECT_GE(contrast(bottom, c.fill), 4.5);
    }
}

// The palette (PLTE) of a PNG file as 0xRRGGBB entries; empty when there is none.
std::vector<uint32_t> paletteOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto u32 = [&png](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(png[at])) << 24 | static_cast<uint8_t>(png[at + 1]) << 16 |
               static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]);
    };
    std::vector<uint32_t> palette;
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = u32(at);
        if (length > png.size() - at - 8) break;
        if (png.compare(at + 4, 4, "PLTE") == 0)
            for (size_t e = at + 8; e + 3 <= at + 8 + length; e += 3) palette.push_back(u32(e - 1) & 0xFFFFFF);
        at += 12 + static_cast<size_t>(length);
    }
    return palette;
}

// The promotion screen's font is white ink (palette entry 1, which the screen recolours to the
// highlight or alert colour) inside an outline of entry 2: every ink reads on the page colour, and
// on the outline, which keeps the letters readable over the pictures and the select button.
TEST(TextContrastTest, ThePromotionsInksReadOnItsPageAndOnTheirOutline) {
    const std::vector<uint32_t> palette = paletteOf(std::string(BRINDLEX_ASSETS) + "/promo.dat.igp/font.png");
    ASSERT_GE(palette.size(), 3u);
    EXPECT_EQ(palette[1], 0xFFFFFFu);
    const uint32_t outline = palette[2];
    struct Case {
        const char* what;
        uint32_t ink, fill;
    };
    const Case cases[] = {
        {"a description (highlighted)", IGP::kHighlightColour, IGP::kPageColour},
        {"an alert text", IGP::kAlertColour, IGP::kPageColour},
        {"a plain text", 0xFFFFFF, IGP::kPageColour},
        {"the select button's label", 0xFFFFFF, 0xCF0900},
        {"the select button's label, pressed", 0xFFFFFF, 0x5800F2},
        {"a highlighted text's outline", IGP::kHighlightColour, outline},
        {"an alert text's outline", IGP::kAlertColour, outline},
        {"a plain text's outline", 0xFFFFFF, outline},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_GE(contrast(c.ink, c.fill), 4.5);
    }
}

}  // namespace

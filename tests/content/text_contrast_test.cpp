// Every light text the front end draws over a fill of its own reads against it: the fonts' gradient
// colours (both ends, from the shipped font descriptions) and the promotion's inks reach a contrast
// of 4.5:1 with the fill behind them, by the relative luminance of sRGB colours.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

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

// The promotion screen's font is white ink, drawn as it is or recoloured to the highlight or alert
// colour, on the page colour (and white on its red select button).
TEST(TextContrastTest, ThePromotionsInksReadOnItsPage) {
    struct Case {
        const char* what;
        uint32_t ink, fill;
    };
    const Case cases[] = {
        {"a description (highlighted)", IGP::kHighlightColour, IGP::kPageColour},
        {"an alert text", IGP::kAlertColour, IGP::kPageColour},
        {"a plain text", 0xFFFFFF, IGP::kPageColour},
        {"the select button's label", 0xFFFFFF, 0xCF0900},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_GE(contrast(c.ink, c.fill), 4.5);
    }
}

}  // namespace

// The promotion screen painted from the shipped resource: the loading state and every page kind
// against golden pictures (tests/fixtures/promo_paint; BRINDLEX_UPDATE_GOLDEN=1 rewrites them),
// exact pixels of the progress bar, the blinking button and the list selection, the bitmap-font
// painter's measure and line pitch, the portal title's wrapping, and pages whose pictures or
// glyphs are missing.
#include <algorithm>
#include <optional>

#include "tests/promo/promo_screen_fixture.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;

}  // namespace

TEST_F(PromoScreenTest, LoadingAndEveryPageLookAsAuthored) {
    openScreen();
    setTime(1600);  // the button in its shown half, the arrows swung out by 3
    for (int step = 0; step < 6; ++step) {
        ASSERT_FALSE(IGP::update(0));
    }
    IGP::paint(g);
    expectGolden("loading");
    finishLoad();
    struct Page {
        const char* name;
        jint item;
    };
    const Page pages[] = {{"title_skylark", 0},          {"title_tidewatch", 2},
                          {"special", IGP::s_specialItem}, {"list_new", IGP::s_listItem0},
                          {"list_top", IGP::s_listItem1},  {"portal", IGP::s_portalItem}};
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name);
        showItem(page.item);
        expectGolden(page.name);
    }
}

TEST_F(PromoScreenTest, ProgressBarButtonAndSelectionAtExactPixels) {
    openScreen();
    // Loading: a white frame 600 wide centred at y 240, a red fill two in, as long as the share of
    // steps done.
    while (IGP::s_loadStep < 5) ASSERT_FALSE(IGP::update(0));
    IGP::paint(g);
    const jint fill = 596 * 5 / IGP::s_loadStepCount + 1;
    EXPECT_EQ(rgbAt(100, 240), as565(kWhite));
    EXPECT_EQ(rgbAt(700, 246), as565(kWhite));
    EXPECT_EQ(rgbAt(101, 241), 0u);
    EXPECT_EQ(rgbAt(102, 242), as565(0xFF0000));
    EXPECT_EQ(rgbAt(102 + fill - 1, 244), as565(0xFF0000));
    EXPECT_EQ(rgbAt(102 + fill, 243), 0u);
    EXPECT_EQ(rgbAt(102, 245), 0u);

    finishLoad();
    // The select button blinks: shown in the second half of each second, steady while pressed.
    // Where it is hidden the title picture shows.
    setTime(2500);
    showItem(0);
    const jint bx = IGP::s_buttonX, by = IGP::s_buttonY, bw = IGP::s_buttonWidth, bh = IGP::s_buttonHeight;
    const uint32_t pictureInside = rgbAt(bx + 1, by + 1), pictureFrame = rgbAt(bx - 2, by - 2);
    ASSERT_NE(pictureInside, as565(0xCF0900));
    struct Blink {
        int64_t millis;
        jint pressed;
        std::optional<uint32_t> inside, frame;  // none: the picture
    };
    const Blink blinks[] = {{1501, 0, 0xCF0900, std::nullopt},
                            {2500, 0, std::nullopt, std::nullopt},
                            {3000, 0, std::nullopt, std::nullopt},
                            {2100, IGP::kActionStylusSelect, 0x5800F2, 0xDE9C00},
                            {3999, IGP::kActionStylusSelect, 0x5800F2, 0xDE9C00}};
    for (const Blink& b : blinks) {
        SCOPED_TRACE(b.millis);
        setTime(b.millis);
        IGP::s_pressedAction = b.pressed;
        showItem(0);
        // The label sits in the middle; the button's corners are its own colour.
        const uint32_t inside = b.inside ? as565(*b.inside) : pictureInside;
        EXPECT_EQ(rgbAt(bx + 1, by + 1), inside);
        if (b.inside) {
            EXPECT_EQ(rgbAt(bx + bw - 1, by + bh), inside) << "the fill is one row taller";
        }
        EXPECT_EQ(rgbAt(bx - 2, by - 2), b.frame ? as565(*b.frame) : pictureFrame);
    }
    IGP::s_pressedAction = 0;

    // The selection frame on a list page follows the selection down by one row height.
    showItem(IGP::s_listItem0);
    const jint top = IGP::s_selectionBoxY;
    EXPECT_EQ(rgbAt(IGP::s_rowBoxX, top), as565(0xFC7704));
    EXPECT_EQ(rgbAt(IGP::s_rowBoxX + IGP::s_rowBoxWidth, top + IGP::s_rowHeight), as565(0xFC7704));
    ASSERT_FALSE(IGP::update(IGP::kActionDown));
    IGP::paint(g);
    EXPECT_EQ(IGP::s_selectionBoxY, top + IGP::s_rowHeight);
    EXPECT_EQ(rgbAt(IGP::s_rowBoxX, top + IGP::s_rowHeight), as565(0xFC7704));
}

TEST_F(PromoScreenTest, TextIsMeasuredByItsLinesAndDrawnAtAPitchTwoTighter) {
    openScreen();
    finishLoad();
    // The shipped font: 'A' 23 wide, '\\' 13, 'n' 22, "OPEN" 25 + 22 + 21 + 25, spacing -1, line
    // height 35.
    struct Measure {
        const char* what;
        std::u16string text;
        jint width, height;
        std::vector<jint> lines;
    };
    const std::vector<Measure> measures = {
        {"one glyph", u"A", 23, 35, {23}},
        {"n glyphs: n widths, n - 1 spacings", u"OPEN", 90, 35, {90}},
        {"newline", u"A\nAA", 45, 70, {23, 45}},
        {"backslash and capital N", u"AA\\NA", 45, 70, {45, 23}},
        {"backslash and small n is text", u"A\\nA", 78, 35, {78}},
        {"characters 0 and 1 add nothing", std::u16string(u"A\x01") + u'\0' + u"A", 45, 35, {45}},
        {"a code past the glyph table adds its spacing only", u"A\u2603A", 44, 35, {44}},
        {"ten lines at most: the rest is dropped", u"A\nA\nA\nA\nA\nA\nA\nA\nA\nAA\nAAAA\nAAAAAA", 45, 350,
         {23, 23, 23, 23, 23, 23, 23, 23, 23, 45}},
    };
    for (const Measure& m : measures) {
        SCOPED_TRACE(m.what);
        IGP::s_measureOnly = true;
        IGP::drawText(String::fromUnits(reinterpret_cast<const jchar*>(m.text.data()), static_cast<jint>(m.text.size())),
                      nullptr, 0, 0, 0, 0, 0);
        EXPECT_FALSE(IGP::s_measureOnly);
        EXPECT_EQ(IGP::s_textWidth, m.width);
        EXPECT_EQ(IGP::s_textHeight, m.height);
        for (size_t k = 0; k < m.lines.size(); ++k) EXPECT_EQ(IGP::s_lineWidths->get(static_cast<jint>(k)), m.lines[k]) << k;
    }

    // Drawn, the second line starts 33 below the first (35 - 2), and nothing of a text goes past
    // its tenth line.
    auto inkRows = [&](const char* text) {
        g->setColor(kBlack);
        g->fillRect(0, 0, 800, 480);
        IGP::s_fontVariant = 0;
        IGP::drawText(String::fromCString(text), g, 0, 10, 10, 0, 0);
        EXPECT_EQ(IGP::s_fontVariant, 1) << "every draw goes back to the highlighted font";
        std::vector<jint> out;
        for (jint y = 0; y < 480; ++y)
            for (jint x = 0; x < 40; ++x)
                if (rgbAt(x, y) != as565(kBlack)) {
                    out.push_back(y);
                    break;
                }
        return out;
    };
    const std::vector<jint> one = inkRows("A");
    ASSERT_FALSE(one.empty());
    const std::vector<jint> two = inkRows("A\nA");
    EXPECT_EQ(two.back(), one.back() + 33);
    const std::vector<jint> many = inkRows("A\nA\nA\nA\nA\nA\nA\nA\nA\nA\nA\nA");
    EXPECT_EQ(many.back(), one.back() + 9 * 33);
    EXPECT_EQ(g->getClipWidth(), 800) << "the whole-screen clip is restored";
}

TEST_F(PromoScreenTest, PortalTitleIsUpperCasedAndWrappedToTwoLines) {
    openScreen();
    finishLoad();
    // At 800 wide: "WORD" is 32 + 25 + 23 + 25 = 105 wide, the space 12.
    std::string twoLines, threeLines;
    for (int i = 0; i < 10; ++i) twoLines += "word ";
    for (int i = 0; i < 20; ++i) threeLines += "word ";
    struct Case {
        const char* what;
        std::optional<std::string> title;
        std::optional<std::string> prepared;
    };
    const std::vector<Case> cases = {
        {"as authored", "Zarnquist Games", "ZARNQUIST GAMES"},
        {"backslash n breaks", "one\\ntwo", "ONE\nTWO"},
        {"a break before any text adds nothing", "\none", "ONE"},
        {"three lines are too many", "one\ntwo\nthree", std::nullopt},
        {"a character outside the font's range", "caf\xe9", std::nullopt},
        {"a brace is past the range", "{x}", std::nullopt},
        {"a no-value text", "none", std::nullopt},
        {"empty", "", std::nullopt},
        {"missing", std::nullopt, std::nullopt},
        {"a word wider than the screen", std::string(100, 'w'), std::nullopt},
        {"wrapping past two lines", threeLines, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IGP::s_portalTitle = c.title ? String::fromCString(c.title->c_str()) : nullptr;
        IGP::prepareTitleText();
        EXPECT_EQ(IGP::s_portalTitle ? narrow(IGP::s_portalTitle) : "<null>", c.prepared.value_or("<null>"));
    }
    // A long title breaks at its last space before the line reaches the screen's width: 6 words
    // are 6 x 105 + 5 x 12 = 690 wide, the 7th word's last letter reaches 807.
    IGP::s_portalTitle = String::fromCString(twoLines.c_str());
    IGP::prepareTitleText();
    EXPECT_EQ(narrow(IGP::s_portalTitle), "WORD WORD WORD WORD WORD WORD\nWORD WORD WORD WORD ");
}

TEST_F(PromoScreenTest, MissingPicturesAndGlyphsPaintWithoutFault) {
    openScreen();
    finishLoad();
    // The portal page without its picture: a gradient box of no height (its divisor held at 1).
    IGP::s_itemImages->set(IGP::s_portalItem, nullptr);
    showItem(IGP::s_portalItem);
    // A list page without its first row's picture, on a font without a space: rows 1 high.
    auto* listRows = static_cast<ObjectArray*>(IGP::s_listImages->get(0));
    listRows->set(IGP::s_listRowSources[0]->get(0), nullptr);
    IGP::s_lineHeight = 0;
    showItem(IGP::s_listItem0);
    EXPECT_EQ(IGP::s_rowHeight, 1);
    EXPECT_EQ(IGP::s_listVisibleRows, IGP::s_listLength);
    IGP::s_lineHeight = 35;

    // A glyph whose rectangle leaves the font picture, and a code past the glyph table, draw
    // nothing; the glyph beside them still does.
    const jint size = 4 + IGP::s_wideGlyphs;
    auto* record = static_cast<jbyte*>(IGP::s_glyphs->data) + 'B' * size;
    record[0] = static_cast<jbyte>(255);  // x 255 + width 23 > 274
    g->setColor(kWhite);
    g->fillRect(0, 0, 800, 480);
    const std::vector<uint16_t> blank = rows();
    IGP::drawText(String::fromCString("B"), g, 0, 10, 10, 0, 0);
    const jchar past[] = {0x2603, 0x7FFF};
    IGP::drawText(String::fromUnits(past, 2), g, 0, 10, 10, 0, 0);
    EXPECT_TRUE(rows() == blank);
    IGP::drawText(String::fromCString("BA"), g, 0, 10, 10, 0, 0);
    EXPECT_FALSE(rows() == blank);
}

TEST_F(PromoScreenTest, OptionalPageOnBlackWithItsButtonLower) {
    // A resource with option flag 0: only the optional item (the portal link) is available.
    promotest::Parts parts;
    parts.optionFlag = 1;
    parts.texts[7] = "A A";
    parts.texts[14] = "AAAA";  // the button's label, in the glyphs the fixture's font has
    openScreen(800, 480, parts.bytes());
    finishLoad();
    ASSERT_EQ(IGP::s_currentItem, IGP::s_optionalItem);
    setTime(1700);
    IGP::paint(g);
    EXPECT_EQ(rgbAt(5, 5), 0u);
    EXPECT_EQ(IGP::s_buttonY, 480 * 80 / 100);
    EXPECT_EQ(rgbAt(IGP::s_buttonX + 1, IGP::s_buttonY + 1), as565(0xFF7F00));
    EXPECT_EQ(IGP::hitTest(IGP::s_buttonX + 1, IGP::s_buttonY + 1), IGP::kActionStylusSelect);
    EXPECT_EQ(IGP::hitTest(10, 240), IGP::kActionLeft) << "the arrows' places answer, though none is drawn";
}

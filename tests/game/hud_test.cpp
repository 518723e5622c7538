// The heads-up display: what it draws from the actors' values (recorded per sprite), the blinking of
// low energy, meter and air, the clock frozen outside play, the race gauge's places and ticks, and
// nothing without a registered view.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/game/touch_fixture.h"
#include "tests/sprites/text_fixture.h"

namespace {

// What a sprite was asked to paint, tagged with the sprite.
struct Painted {
    char tag;
    jint module, x, y;
};
std::vector<Painted>& painted() {
    static std::vector<Painted> list;
    return list;
}
class TaggedSprite : public Bsprite {
public:
    char tag = '?';
    void PaintModule(javax_microedition_lcdui_Graphics* g, jint module, jint x, jint y, jint flags) override {
        painted().push_back({tag, module, x, y});
        Bsprite::PaintModule(g, module, x, y, flags);
    }
};

const std::u16string kHudChars = u" 0123456789x%,";

class HudTest : public SpriteTextTest {
protected:
    void SetUp() override {
        SpriteTextTest::SetUp();
        installPool({{1, ""}, {44, "\n"}, {193, ","}, {194, "."}, {195, " "}, {196, "x"}, {197, "%"}});
        FontRecipe recipe;
        recipe.chars = kHudChars;
        recipe.advance = [](char16_t c) { return c == ' ' ? 5 : 10; };
        recipe.colours = {0xFFFFFFFF};
        auto* font = Runtime::make<TaggedSprite>();
        ASSERT_TRUE(font->Load(fontSprite(recipe).array(), 0));
        font->BuildCharMap(fontCharMap(recipe));
        font->tag = 'f';
        // Digit font: frame c - 46 for the digit c.
        auto* digits = loadBoxSprite<TaggedSprite>(std::vector<BoxFrame>(12, BoxFrame{0, 0, 20, 30}));
        // HUD sprite: frames 0..20, animation 3 the shots icon; energy icon: animation 1 of three frames.
        std::vector<BoxFrame> hudFrames(21);
        for (int f = 0; f < 21; ++f) hudFrames[f] = {0, 0, 24, 24};
        auto* hud = loadBoxSprite<TaggedSprite>(hudFrames, {{0}, {0}, {0}, {1, 2}});
        auto* energy = loadBoxSprite<TaggedSprite>({{0, 0, 20, 20}, {0, 0, 20, 20}, {0, 0, 20, 20}}, {{0}, {0, 1, 2}});
        ASSERT_TRUE(digits && hud && energy);
        digits->tag = 'd';
        hud->tag = 'h';
        energy->tag = 'e';
        cGame::s_fonts = Runtime::newObjectArray(CID_Object, 3);
        cGame::s_fonts->set(0, digits);
        cGame::s_fonts->set(1, font);
        cGame::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
        cGame::s_sprites->set(2, hud);
        cGame::s_sprites->set(7, energy);
        cGame::s_state = cGame::kStatePlay;
        cGame::s_altPlayerLevel = 0;
        cGame::s_language = 0;
        cGame::s_frameCounter = 0;
        cGame::s_hudClock = 0;
        values = HudValues{};
        values.lives = 3;
        values.energy = 50;
        values.meter = 500;
        cGame::registerActorView(view());
        m_screen = screen(0xFF204060);
        cGame::s_g = m_screen->getGraphics();
    }
    void TearDown() override {
        painted().clear();
        SpriteTextTest::TearDown();
    }

    using HudValues = cGame::HudValues;
    static inline HudValues values{};
    static const cGame::ActorView* view() {
        static const cGame::ActorView v{[](HudValues* out) {
                                            *out = values;
                                            return true;
                                        },
                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        return &v;
    }

    // One paint of the display at frame counter `clock`, as items: "h9" a frame of the HUD sprite
    // (its module), "e" the energy icon, "x3@116,36" a text with its first glyph's place (the test
    // font draws its glyphs 2 pixels below the pen), "#20" the digits drawn with the digit font.
    static std::vector<std::string> paint(jint clock = 0) {
        painted().clear();
        cGame::s_frameCounter = clock;
        cGame::paintHud();
        std::vector<std::string> items;
        char last = 0;
        for (const Painted& p : painted()) {
            if (p.tag == 'f') {
                if (p.module < 1 || p.module > static_cast<jint>(kHudChars.size())) continue;   // advances
                const char c = static_cast<char>(kHudChars[p.module - 1]);
                if (last != 'f') items.push_back(std::string(1, c) + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
                else items.back().insert(items.back().find('@'), 1, c);
            } else if (p.tag == 'd') {
                const char c = static_cast<char>(p.module + 46);
                if (last != 'd') items.push_back("#");
                items.back() += c;
            } else if (p.tag == 'e') {
                if (last != 'e') items.push_back("e");
            } else {
                items.push_back(std::string(1, p.tag) + std::to_string(p.module));
            }
            last = p.tag;
        }
        return items;
    }
    static bool has(const std::vector<std::string>& items, const std::string& item) {
        for (const auto& i : items)
            if (i == item || i.rfind(item + "@", 0) == 0) return true;
        return false;
    }

    Image* m_screen = nullptr;
};

TEST_F(HudTest, HeroLevelRowInDrawingOrder) {
    values.lives = 4;
    values.energy = 72;
    values.meter = 1234;   // language 0 writes its thousands separator
    const auto items = paint();
    ASSERT_GE(items.size(), 6u);
    EXPECT_EQ(items[0], "h0");
    EXPECT_EQ(items[1].substr(0, 2), "x4");
    EXPECT_EQ(items[2], "e");
    EXPECT_EQ(items[3].substr(0, 3), "72%");
    EXPECT_EQ(items[4], "h9");
    EXPECT_EQ(items[5].substr(0, 6), "x1,234");
    EXPECT_EQ(items.size(), 6u);   // no air outside the submarine

    // Special shots take the meter's place with their icon.
    values.specialShots = 7;
    const auto shots = paint();
    EXPECT_TRUE(has(shots, "h1") && has(shots, "x7"));
    EXPECT_FALSE(has(shots, "h9"));
}

TEST_F(HudTest, LowValuesBlinkThreeFramesOnThreeOff) {
    struct Case {
        jint energy, meter;
        const char* item;
        bool blinks;
    };
    const Case cases[] = {{14, 500, "14%", true}, {15, 500, "15%", false}, {50, 99, "x99", true},
                          {50, 100, "x100", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        values.energy = c.energy;
        values.meter = c.meter;
        for (jint clock = 0; clock < 12; ++clock)
            EXPECT_EQ(has(paint(clock), c.item), !c.blinks || clock % 6 < 3) << clock;
    }
}

TEST_F(HudTest, AirShowsWholeSecondsAndBlinksBelowTwentySeconds) {
    struct Case {
        jint airMs;
        const char* shown;   // null: hidden at this instant
    };
    const Case cases[] = {{20000, "#20"}, {19001, nullptr}, {19150, "#20"}, {19199, "#20"}, {19300, nullptr},
                          {1, nullptr},   {151, "#1"},      {899, "#1"},    {120000, "#120"}};
    values.inVehicle = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.airMs);
        values.airMs = c.airMs;
        for (jint clock : {0, 3}) {   // its rhythm is the air's own, not the clock's
            const auto items = paint(clock);
            bool any = false;
            for (const auto& i : items) any = any || i[0] == '#';
            if (c.shown)
                EXPECT_TRUE(has(items, c.shown));
            else
                EXPECT_FALSE(any);
        }
    }
    // Right-aligned on x 700: two digits start 50 pixels left of it.
    values.airMs = 20000;
    paint();
    ASSERT_FALSE(painted().empty());
    bool found = false;
    for (const Painted& p : painted())
        if (p.tag == 'd') {
            EXPECT_EQ(p.x, 650);
            EXPECT_EQ(p.y, 55);
            found = true;
            break;
        }
    EXPECT_TRUE(found);
}

TEST_F(HudTest, ClockRunsInPlayOnlySoAMenuFreezesTheBlink) {
    values.energy = 5;
    EXPECT_TRUE(has(paint(7), "5%"));   // 7 mod 6 = 1: shown
    EXPECT_EQ(cGame::s_hudClock, 7);
    cGame::s_state = cGame::kStatePauseMenu;
    for (jint clock = 8; clock < 20; ++clock) EXPECT_TRUE(has(paint(clock), "5%")) << clock;
    EXPECT_EQ(cGame::s_hudClock, 7);
    cGame::s_state = cGame::kStatePlay;
    EXPECT_FALSE(has(paint(10), "5%"));   // 10 mod 6 = 4
}

TEST_F(HudTest, RaceGaugePlacesBothRacersIncludingPastTheTop) {
    cGame::s_altPlayerLevel = 1;
    values.altHealth = 30;
    values.altValues[0] = 2;
    values.altValues[1] = 5;
    values.raceTop = 9216000;
    struct Case {
        jlong rival, player;
        jint dRival, dPlayer;
    };
    const Case cases[] = {{0, 9216000, 357, 0}, {4608000, 2304000, 179, 268}, {18432000, -9216000, -357, 714}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dRival);
        values.raceHeightRival = c.rival;
        values.raceHeightPlayer = c.player;
        m_screen = screen(0xFF204060);
        cGame::s_g = m_screen->getGraphics();
        const auto items = paint();
        ASSERT_GE(items.size(), 10u);
        EXPECT_EQ(items[0], "h0");
        EXPECT_EQ(items[1].substr(0, 2), "x3");
        EXPECT_EQ(items[3].substr(0, 3), "30%");
        EXPECT_EQ(items[4], "h16");
        EXPECT_EQ(items[5], "x2@450,36");
        EXPECT_EQ(items[6], "h17");
        EXPECT_EQ(items[7], "x5@616,36");
        EXPECT_EQ(items[8], "h20");
        EXPECT_EQ(items[9], "h19");
        EXPECT_EQ(items[10], "h18");
        // The marks' places, and the ticks straight on the screen in their colours.
        std::vector<jint> markX;
        for (const Painted& p : painted())
            if (p.tag == 'h' && (p.module == 18 || p.module == 19)) markX.push_back(p.x);
        ASSERT_EQ(markX.size(), 2u);
        EXPECT_EQ(markX[0], 142 + c.dRival);
        EXPECT_EQ(markX[1], 142 + c.dPlayer);
        const auto picture = landscape(m_screen);
        auto at = [&](jint x, jint y) { return x >= 0 && x < kLandscapeW ? picture[y * kLandscapeW + x] : 0; };
        if (140 + c.dPlayer < kLandscapeW) { EXPECT_EQ(at(140 + c.dPlayer, 80), Graphics::toRGB565(0xFFF87800)); }
        if (c.dRival >= 0 && c.dRival != c.dPlayer) { EXPECT_EQ(at(140 + c.dRival, 80), Graphics::toRGB565(0xFFFFFFFF)); }
    }
}

TEST_F(HudTest, NothingWithoutTheActorsView) {
    cGame::registerActorView(nullptr);
    EXPECT_TRUE(paint(3).empty());
    EXPECT_EQ(cGame::s_hudClock, 3);   // the clock still runs in play
}

// Digit strings end at x: 25 pixels a digit, 12 for a separator, and 12 more from four characters on.
TEST_F(HudTest, DigitStringsEndOnTheirRightEdge) {
    struct Case {
        jint number;
        std::vector<std::pair<char, jint>> glyphs;
    };
    const Case cases[] = {
        {7, {{'7', 675}}},
        {999, {{'9', 625}, {'9', 650}, {'9', 675}}},
        {1234, {{'1', 587}, {'2', 624}, {'3', 649}, {'4', 674}}},   // "1,234": five characters
        {-5, {{'5', 675}}},   // the minus sign has no glyph: nothing drawn, its place kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        painted().clear();
        cGame::drawDigitString(c.number, 700, 40);
        std::vector<std::pair<char, jint>> got;
        for (const Painted& p : painted()) {
            if (p.tag != 'd') continue;
            EXPECT_EQ(p.y, 40);
            got.emplace_back(static_cast<char>(p.module + 46), p.x);
        }
        EXPECT_EQ(got, c.glyphs);
    }
}

}  // namespace

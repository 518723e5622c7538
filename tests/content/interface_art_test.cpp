// The interface art in the built data.bar, loaded by the game's own loaders and painted by the
// sprite engine on a portrait screen: every frame and animation the menus, screens and loader draw
// is there, each frame lands where the code's anchor point expects it, and the contact sheet
// command renders all of it.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_packs.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/support/test_world.h"
#include "tests/support/temp_folder.h"
#include "tools/barpack_cli.h"
#include "tools/pack_contents.h"
#include "tools/contact_sheet/contact_sheet.h"

namespace {

using P = cGamePacks;
using Image = javax_microedition_lcdui_Image;
using Graphics = javax_microedition_lcdui_Graphics;

constexpr jint kImagesPack = 141;
constexpr jint kBackground = 0xFF00FF;

class InterfaceArtTest : public TestWorld {
protected:
    // The title picture's caches and a portrait screen need more than the small test heaps.
    InterfaceArtTest() : TestWorld(32u << 20, 32u << 20) {}
    void SetUp() override {
        TestWorld::SetUp();
        platform::setDataFile(BRINDLEX_DATA_BAR);
        Runtime::loadConstants();
        P::s_encoding = Runtime::ldcString(P::kEncodingLiteral);
    }

    // Load step 8 of the game start, and the logo as the logo screen loads it.
    Bsprite* loadInterface() {
        P::packOpen(Runtime::ldcString(P::kInterfacePackLiteral));
        P::loadInterfaceSprite(false);
        P::loadMenuSprites();
        P::loadInterfaceSprite2(false);
        Bsprite* logo = P::loadSpriteFlags(0, 1, true, true);
        P::packClose();
        return logo;
    }

    // The landscape point (x, y) of the portrait screen differs from the background.
    static bool painted(Image* screen, IntArray* pixel, int x, int y) {
        screen->getRGB(pixel, 0, 1, 479 - y, x, 1, 1);
        return (pixel->get(0) & 0xFFFFFF) != kBackground;
    }
};

TEST_F(InterfaceArtTest, TheCodesFramesAndAnimationsAreThere) {
    Bsprite* logo = loadInterface();
    Bsprite* title = P::s_loadingPicture;
    Bsprite* menu = P::s_menuSprite;
    Bsprite* mark = P::s_interfaceSprite2;
    ASSERT_TRUE(logo && title && menu && mark);
    ASSERT_FALSE(Runtime::pending());

    // The logo: one frame that fits the picture it is centred in.
    ASSERT_GE(logo->GetFrameCount(), 1);
    EXPECT_GT(logo->GetFModules(0), 0);
    EXPECT_LE(logo->GetFrameWidth(0), 800);
    EXPECT_LE(logo->GetFrameHeight(0), 480);
    // The title: both palettes (palette 0 on the splash, 1 elsewhere), the loading picture, the runner
    // and the two title animations.
    EXPECT_GE(title->paletteCount, 2);
    EXPECT_GT(title->GetFModules(0), 0);
    ASSERT_GE(title->animCount, 3);
    for (int a = 0; a < 3; ++a) EXPECT_GE(title->GetAFrames(a), 2) << a;
    EXPECT_EQ(P::s_loadingPlayer->sprite, title);
    // The menu sprite: frames 6..20 drawn by the menus, soft keys and help pages, hit boxes on the
    // ones that are touched, animations 0..9, and the transition halves near 300 ms each.
    ASSERT_GE(menu->GetFrameCount(), 21);
    for (int f = 6; f <= 20; ++f) EXPECT_GT(menu->GetFModules(f), 0) << f;
    IntArray* box = Runtime::newIntArray(4);
    for (int f : {6, 7, 8, 10, 11, 13, 15, 19, 20}) {
        menu->GetFrameBox(f, 0, box, 0);
        EXPECT_GT(box->get(2) * box->get(3), 0) << f;
    }
    ASSERT_GE(menu->animCount, 10);
    for (int a = 0; a < 10; ++a) EXPECT_GE(menu->GetAFrames(a), 1) << a;
    for (int a : {0, 1}) {
        int ms = 0;
        for (int k = 0; k < menu->GetAFrames(a); ++k) ms += menu->GetAFrameTime(a, k) * BXLibPlayer::kMsPerTimeUnit;
        EXPECT_GE(ms, 240) << a;
        EXPECT_LE(ms, 360) << a;
    }
    EXPECT_GT(mark->GetFModules(0), 0);

    // The images: a small badge, shipped turned for the portrait screen (taller than wide, drawn as
    // it is, its corners transparent so no box shows round it), and the second logo.
    P::packOpen(Runtime::ldcString(kImagesPack));
    ByteArray* badgeBytes = P::packReadData(0);
    ByteArray* logoBytes = P::packReadData(1);
    P::packClose();
    ASSERT_TRUE(badgeBytes && logoBytes);
    Image* badge = Image::createImage(badgeBytes, 0, badgeBytes->length);
    Image* second = Image::createImage(logoBytes, 0, logoBytes->length);
    ASSERT_TRUE(badge && second);
    EXPECT_LT(badge->getWidth(), badge->getHeight());
    EXPECT_LE(badge->getHeight(), 128);
    IntArray* corner = Runtime::newIntArray(1);
    ASSERT_NE(corner, nullptr);
    badge->getRGB(corner, 0, 1, 0, 0, 1, 1);
    EXPECT_EQ(static_cast<uint32_t>(corner->get(0)) >> 24, 0u) << "the badge's corner is not transparent";
    EXPECT_LE(second->getWidth(), 800);
    EXPECT_LE(second->getHeight(), 480);
}

TEST_F(InterfaceArtTest, EachFrameLandsWhereItsAnchorPointPutsIt) {
    Bsprite* logo = loadInterface();
    ASSERT_TRUE(logo && P::s_menuSprite && P::s_loadingPicture);
    Image* screen = Image::createImage(480, 800);
    ASSERT_NE(screen, nullptr);
    Graphics* g = screen->getGraphics();
    IntArray* pixel = Runtime::newIntArray(1);
    struct Case {
        const char* what;
        int sprite, anim, frame, x, y;   // sprite 0 menu, 1 title; anim -1: a frame
        std::vector<std::array<int, 2>> inside, outside;
    };
    const Case cases[] = {
        // A row is centred on its point and leaves the next row (70 px down) alone.
        {"row", 0, -1, 8, 400, 240, {{400, 240}, {200, 240}, {600, 240}}, {{400, 240 - 36}, {400, 240 + 36}, {160, 240}}},
        {"selected row", 0, -1, 10, 400, 240, {{400, 240}, {200, 240}}, {{400, 276}, {640, 240}}},
        {"up arrow", 0, -1, 6, 400, 175, {{400, 175}}, {{400, 175 + 25}, {330, 175}}},
        {"corner icon", 0, -1, 11, 800, 0, {{790, 10}, {730, 10}, {790, 70}}, {{700, 10}, {790, 100}}},
        {"left soft key", 0, -1, 13, 0, 480, {{10, 470}, {180, 470}}, {{10, 410}, {230, 470}}},
        {"left plate at the right key", 0, -1, 13, 706, 480, {{720, 470}, {795, 470}}, {{690, 470}}},
        {"right soft key", 0, -1, 15, 800, 480, {{790, 470}, {710, 470}}, {{670, 470}, {790, 410}}},
        {"page arrow", 0, -1, 19, 330, 418, {{330, 418}}, {{330 - 45, 418}, {330, 418 - 45}}},
        {"loading picture", 1, -1, 0, 400, 240, {{1, 1}, {798, 1}, {1, 478}, {798, 478}}, {}},
        // The runner stands on the bar's top edge with its nose at the bar's tip.
        {"runner", 1, 0, 0, 366, 457, {{350, 430}}, {{330, 452}, {366, 452}, {390, 430}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g->setClip(0, 0, 480, 800);
        g->setColor(kBackground);
        g->fillRect(0, 0, 480, 800);
        Bsprite* sprite = c.sprite == 0 ? P::s_menuSprite : P::s_loadingPicture;
        if (c.anim < 0) sprite->PaintFrame(g, c.frame, c.x, c.y, 0, 0, 0);
        else sprite->PaintAFrame(g, c.anim, c.frame, c.x, c.y, 0, 0, 0);
        for (const auto& [x, y] : c.inside) EXPECT_TRUE(painted(screen, pixel, x, y)) << x << ", " << y;
        for (const auto& [x, y] : c.outside) EXPECT_FALSE(painted(screen, pixel, x, y)) << x << ", " << y;
    }
    EXPECT_FALSE(Runtime::pending());
}

TEST_F(InterfaceArtTest, TheContentsListingCountsEachSpritesFramesAndAnimations) {
    std::ostringstream out, err;
    ASSERT_EQ(tools::runBarpack({"--contents", BRINDLEX_DATA_BAR}, out, err), 0) << err.str();
    const std::string listing = out.str();
    for (const char* line : {"pack ui: 4 items\n", "sprite: 25 frames, 10 animations, ", "sprite: 15 frames, 3 animations, ",
                             "pack images: 2 items\n", "PNG "})
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
    // The menu sprite's bytes are a sprite; followed by one more byte they are not.
    P::packOpen(Runtime::ldcString(P::kInterfacePackLiteral));
    ByteArray* menu = P::packReadData(2);
    P::packClose();
    ASSERT_NE(menu, nullptr);
    std::string bytes(static_cast<const char*>(menu->data), static_cast<size_t>(menu->length));
    EXPECT_EQ(tools::describePayload(bytes).rfind("sprite: 25 frames, 10 animations, ", 0), 0u);
    bytes += '\0';
    EXPECT_EQ(tools::describePayload(bytes), std::to_string(bytes.size()) + " bytes");
}

TEST_F(InterfaceArtTest, TheContactSheetShowsEverything) {
    tools::Picture sheet;
    std::string error;
    ASSERT_TRUE(tools::renderContactSheet(BRINDLEX_DATA_BAR, sheet, error)) << error;
    // Three screens, the title in two palettes, 15 + 25 + 5 + 1 frames, 3 + 10 + 1 animations, six
    // font samples and two images make a long sheet, not a blank one.
    EXPECT_EQ(sheet.width, 1660);
    EXPECT_GT(sheet.height, 4000);
    int colours = 0;
    uint32_t last = 0;
    for (size_t i = 0; i < sheet.argb.size(); i += 97)
        if (sheet.argb[i] != last) ++colours, last = sheet.argb[i];
    EXPECT_GT(colours, 1000);
    // The pick-ups' preview: an animated PNG whose first frame any PNG reader shows, with one frame
    // control per tick and the frame count in its animation header.
    TempFolder previews;
    ASSERT_TRUE(tools::writeActorPreviews(previews.path(), error, 7)) << error;
    tools::Picture first;
    ASSERT_TRUE(tools::readPngPicture(previews.path() / "sprite_7.png", first, error)) << error;
    EXPECT_GT(first.width, 6 * 56);   // six animations side by side
    EXPECT_FALSE(std::filesystem::exists(previews.path() / "sprite_0.png"));
    const std::string apng = previews.read("sprite_7.png");
    size_t controls = 0;
    for (size_t at = apng.find("fcTL"); at != std::string::npos; at = apng.find("fcTL", at + 4)) ++controls;
    const size_t header = apng.find("acTL");
    ASSERT_NE(header, std::string::npos);
    const auto frames = static_cast<size_t>(static_cast<unsigned char>(apng[header + 7]));
    EXPECT_EQ(controls, 32u);
    EXPECT_EQ(frames, controls);
    EXPECT_FALSE(tools::renderContactSheet("/no/such/data.bar", sheet, error));
    EXPECT_NE(error.find("/no/such/data.bar"), std::string::npos);
    const char* usage[] = {"contactsheet", "only-one"};
    EXPECT_EQ(tools::runContactSheet(2, usage), 2);
}

}  // namespace

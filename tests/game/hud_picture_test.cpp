// The heads-up display drawn with the shipped art (fonts, the HUD sprite and the energy icon read from
// the built data.bar through the game's pack readers) over a test background, for both layouts. The
// pictures go to the test's temp folder (hud_hero.png, hud_race.png) for looking at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "platform/graphics/landscape_view.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "sprites/bsprite.h"
#include "tests/game/shipped_data_fixture.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using Graphics = javax_microedition_lcdui_Graphics;
constexpr int kW = 800, kH = 480;
constexpr jint kFontsPack = 134, kSpritesPack = 138;

class HudPictureTest : public ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        loadArt();
    }

    // The fonts as the game's start-up loads them, the HUD sprite and the energy icon as play does.
    static void loadArt() {
        cGame::s_fonts = Runtime::newObjectArray(CID_Object, 3);
        cGame::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
        cGamePacks::packOpen(Runtime::ldcString(kFontsPack));
        cGame::s_fonts->set(1, cGamePacks::loadSpriteFlags(2, 1, true, false));
        cGame::s_fonts->set(0, cGamePacks::loadSpriteFlags(1, 3, false, false));
        auto* map = static_cast<ShortArray*>(cGamePacks::packReadStream(0));
        for (jint f : {1, 0}) {
            auto* font = static_cast<Bsprite*>(cGame::s_fonts->get(f));
            if (font && map) font->BuildCharMap(map);
        }
        cGamePacks::packClose();
        cGamePacks::packOpen(Runtime::ldcString(kSpritesPack));
        for (jint item : {2, 7}) cGamePacks::loadSpriteWithPalettes(item);
        cGamePacks::packClose();
    }

    static inline cGame::HudValues values{};
    static const cGame::ActorView* view() {
        static const cGame::ActorView v{[](cGame::HudValues* out) {
                                            *out = values;
                                            return true;
                                        },
                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        return &v;
    }

    // A test scene: a sky gradient over a darker ground band, so the display's contrast shows.
    static Image* background() {
        Image* image = Image::createImage(kH, kW);
        Graphics* g = image->getGraphics();
        cGame::s_g = g;
        for (int y = 0; y < kH; y += 8) {
            const int t = y * 255 / kH;
            g->setColor(y < 360 ? (0x30 + t / 3) << 16 | (0x70 + t / 4) << 8 | 0xC0 : 0x3A2A1A);
            cGame::fillRectRotated(0, y, kW, 8);
        }
        return image;
    }

    static std::vector<uint16_t> picture(Image* image, const std::string& name) {
        std::vector<uint16_t> out(kW * kH);
        const Surface565 p = image->pixels565();
        turnToLandscape(ConstSurface565{p.pixels, p.width, p.height, p.pitch}, Surface565{out.data(), kW, kH, kW});
        EXPECT_TRUE(writePng565(::testing::TempDir() + name, ConstSurface565{out.data(), kW, kH, kW}));
        return out;
    }

    // Pixels of the top band (y < 130) that differ from the plain background.
    static int drawn(const std::vector<uint16_t>& with, const std::vector<uint16_t>& without) {
        int n = 0;
        for (int i = 0; i < kW * 130; ++i) n += with[i] != without[i];
        return n;
    }
};

TEST_F(HudPictureTest, HeroAndRaceLayoutsOverAScene) {
    ASSERT_NE(cGame::s_fonts->get(1), nullptr) << "font 1 missing from data.bar";
    cGame::s_state = cGame::kStatePlay;
    cGame::s_language = 0;
    cGame::s_frameCounter = 1;
    const auto plain = picture(background(), "hud_background.png");

    cGame::registerActorView(view());
    values = {};
    values.lives = 3;
    values.energy = 86;
    values.meter = 1250;
    values.inVehicle = true;
    values.airMs = 42000;
    Image* hero = background();
    cGame::paintHud();
    EXPECT_GT(drawn(picture(hero, "hud_hero.png"), plain), 500);

    cGame::s_altPlayerLevel = 1;
    values.altHealth = 40;
    values.altValues[0] = 12;
    values.altValues[1] = 3;
    values.raceTop = 9216000;
    values.raceHeightRival = 5000000;
    values.raceHeightPlayer = 3000000;
    Image* race = background();
    cGame::paintHud();
    EXPECT_GT(drawn(picture(race, "hud_race.png"), plain), 500);
}

}  // namespace

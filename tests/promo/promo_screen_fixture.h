// Fixture for the promotion screen's painting and stylus tests: the shipped resource loaded through
// the screen's own load steps on an 800 by 480 picture (or another size), a manual clock for the
// blink and the swing, and helpers to show a page and read pixels back.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_font.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/png_decoder.h"
#include "platform/graphics/png_writer.h"
#include "promo/igp.h"
#include "runtime/clock.h"
#include "runtime/object_manager.h"
#include "tests/promo/promo_fixture.h"

class PromoScreenTest : public PromoTest {
protected:
    using Image = javax_microedition_lcdui_Image;
    using Graphics = javax_microedition_lcdui_Graphics;

    void SetUp() override {
        PromoTest::SetUp();
        Runtime::setClock(&clock);
        IGP::staticInit();
        IGP::resetPainting();
        for (Object*& slot : m_held) Runtime::getObjectManager()->addRoot(&slot);
    }
    void TearDown() override {
        for (Object*& slot : m_held) Runtime::getObjectManager()->removeRoot(&slot);
        // The loading text's font lives in this test's heap.
        javax_microedition_lcdui_Font::s_defaultFont = nullptr;
        javax_microedition_lcdui_Font::s_fontCache = nullptr;
        Runtime::setClock(nullptr);
        PromoTest::TearDown();
    }

    // The shipped resource and properties, the screen geometry, and a visit begun as the screen
    // begins one (state 0, load step -1, running), without a link thread.
    void openScreen(jint width = 800, jint height = 480, const std::string& resource = shippedResource()) {
        installResource(resource);
        IGP::loadData();
        ASSERT_TRUE(IGP::s_available);
        IGP::initialize(IGP::s_midlet, nullptr, width, height, nullptr);
        IGP::s_language = 0;
        IGP::s_loadStep = -1;
        IGP::s_loadStepCount = IGP::loadStepCount();
        IGP::s_state = IGP::kStateLoading;
        IGP::s_running = true;
        IGP::s_keepAction = true;
        IGP::s_action = IGP::s_pressedAction = 0;
        IGP::s_listScroll = IGP::s_listSelection = 0;
        IGP::s_lineWidths = Runtime::newIntArray(IGP::kLineTableSize);
        IGP::s_loadingText = String::fromCString("LOADING");
        IGP::s_currentItem = IGP::getFirstAvailable();
        picture = Image::createImage(width, height);
        ASSERT_NE(picture, nullptr);
        g = picture->getGraphics();
        m_held[0] = picture;
        m_held[1] = g;
    }
    // Updates until the load is done and the first page is set up.
    void finishLoad() {
        for (int frame = 0; frame < 40 && IGP::s_state.load() == IGP::kStateLoading; ++frame) {
            ASSERT_FALSE(IGP::update(0));
            IGP::paint(g);
        }
        ASSERT_EQ(IGP::s_state.load(), IGP::kStateBrowsing);
    }
    // Shows an item's page as the navigation would, then paints it.
    void showItem(jint item) {
        IGP::s_currentItem = item;
        IGP::s_listScroll = IGP::s_listSelection = 0;
        IGP::setupPage();
        IGP::paint(g);
    }
    // The clock at an exact moment of the blink (ms into a second) and the swing.
    void setTime(int64_t millis) { clock.advance(millis - clock.monotonicMillis()); }

    [[nodiscard]] uint32_t rgbAt(jint x, jint y) const {
        const Surface565 s = picture->pixels565();
        const uint16_t p = s.row(y)[x];
        const uint32_t r = (p >> 11) & 0x1F, gr = (p >> 5) & 0x3F, b = p & 0x1F;
        return (r << 19) | (gr << 10) | (b << 3);
    }
    // A colour as the RGB565 picture holds it.
    [[nodiscard]] static uint32_t as565(uint32_t rgb) { return rgb & 0xF8FCF8; }

    [[nodiscard]] std::vector<uint16_t> rows() const {
        const Surface565 s = picture->pixels565();
        std::vector<uint16_t> out;
        for (int y = 0; y < picture->m_height; ++y) out.insert(out.end(), s.row(y), s.row(y) + picture->m_width);
        return out;
    }
    // Compares the picture with tests/fixtures/promo_paint/NAME.png (BRINDLEX_UPDATE_GOLDEN=1 rewrites it).
    void expectGolden(const std::string& name) {
        std::vector<uint16_t> got = rows();
        const std::string path = std::string(BRINDLEX_FIXTURES) + "/promo_paint/" + name + ".png";
        const ConstSurface565 surface{got.data(), picture->m_width, picture->m_height, picture->m_width};
        if (std::getenv("BRINDLEX_UPDATE_GOLDEN")) {
            ASSERT_TRUE(writePng565(path, surface)) << path;
            return;
        }
        const std::vector<uint8_t> png = readFile(path.c_str());
        ASSERT_FALSE(png.empty()) << path;
        std::vector<uint16_t> want(got.size());
        ASSERT_TRUE(decodePng(png.data(), png.size(), 0, want.data(), picture->m_width, picture->m_height,
                              picture->m_width));
        if (got != want) {
            const std::string seen = ::testing::TempDir() + "promo_" + name + "_got.png";
            (void)writePng565(seen, surface);
            ADD_FAILURE() << name << " differs from " << path << "; the picture drawn is " << seen;
        }
    }

    ManualClock clock;
    Image* picture = nullptr;
    Graphics* g = nullptr;

private:
    Object* m_held[2] = {};  // the picture and its Graphics, kept from the collector
};

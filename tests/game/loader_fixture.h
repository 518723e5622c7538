// Fixture of the loader tests: heaps large enough for fonts, sounds and tile layers, a home folder,
// a data file (the build's data.bar, or one assembled by the test from the shipped constants and
// packs written with the project's pack and sprite writers), the statics the boot state makes, and
// runs of the loading state driven frame by frame through the state machine on a portrait screen.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/static_class.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_world.h"
#include "tools/asset_packer.h"
#include "tools/bar_writer.h"
#include "tools/pack_writer.h"
#include "tools/sprite_writer.h"

class LoaderTest : public TestWorld {
protected:
    using Image = javax_microedition_lcdui_Image;
    using Graphics = javax_microedition_lcdui_Graphics;
    static constexpr int kScreenW = 480, kScreenH = 800;

    LoaderTest() : TestWorld(16 << 20, 64 << 20) {}
    void SetUp() override {
        TestWorld::SetUp();
        platform::setHomeFolder(temp.path() / "home");
        cGame::s_loadKind = cGame::kLoadKindNone;
    }

    // The data file, its constant pool, and what the boot state prepares before any loading run.
    void useData(const std::filesystem::path& bar) {
        platform::setDataFile(bar);
        Runtime::loadConstants();
        ASSERT_FALSE(Runtime::pending());
        cGame::s_encoding = Runtime::ldcString(cGamePacks::kEncodingLiteral);
        cGame::initStaticData();
        cGame::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
        cGame::s_screenImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, 2);
        ASprite::InitCachePools(1);
        ASprite::InitCachePool(0, 300);
        // A static root: the loads collect garbage around every sprite.
        cGame::s_frameImage = Image::createImage(kScreenW, kScreenH);
    }

    // An archive of the shipped constants and app.jad plus the given entries.
    void writeData(std::vector<tools::BarEntry> entries) {
        for (const char* name : {"constants.txt", "app.jad"}) {
            const std::vector<uint8_t> bytes = readFile((std::string(BRINDLEX_FIXTURES "/../../assets/") + name).c_str());
            temp.write(std::string("basics/") + name, std::string(bytes.begin(), bytes.end()));
        }
        std::string error;
        std::vector<tools::BarEntry> basics;
        ASSERT_TRUE(tools::collectAssets(temp.path() / "basics", basics, error)) << error;
        for (auto& e : basics) entries.push_back(std::move(e));
        ASSERT_TRUE(tools::writeArchive(temp.path() / "data.bar", std::move(entries), error)) << error;
        useData(temp.path() / "data.bar");
    }

public:
    // A one-sub-file pack entry of the given items.
    static tools::BarEntry pack(const std::string& name, const std::vector<tools::PackItem>& items) {
        std::vector<std::string> files;
        std::string error;
        EXPECT_TRUE(tools::writePack(items, {0}, files, error)) << error;
        return tools::BarEntry::fromBytes(name, files.empty() ? std::string() : files[0]);
    }
    static tools::PackItem item(std::string data) { return tools::PackItem{false, 0, false, std::move(data)}; }
    static tools::PackItem emptyItem() { return tools::PackItem{true, 0, false, {}}; }

    // A 40 x 40 sprite of two colours, `tiles` modules each shown by its own frame; `shade` sets the
    // colour so sprites can be told apart.
    static std::string tileSprite(int tiles, uint32_t shade) {
        tools::SpriteDefinition s;
        s.palettes = {{0xFF000000u, 0xFF000000u | shade}};
        for (int t = 0; t < tiles; ++t) {
            tools::SpriteModule m;
            m.w = m.h = 40;
            for (int i = 0; i < 40 * 40; ++i) m.indices.push_back(static_cast<uint8_t>((i / 40 + t) % 2));
            s.modules.push_back(m);
            tools::SpriteFrame f;
            f.modules.push_back({t, 0, 0, 0});
            f.rect = {0, 0, 40, 40};
            s.frames.push_back(f);
        }
        s.animations.push_back({{{0, 1, 0, 0, 0}}});
        std::string out, error;
        EXPECT_TRUE(tools::writeSprite(s, "tile sprite", out, error)) << error;
        return out;
    }

protected:
    // Runs a loading run of `kind` to `target` from a state without a handler, frame by frame;
    // after each frame `frame` sees the screen. Answers the frames spent in state 4.
    int runLoad(jint kind, jint target, const std::function<void(int)>& frame = {}) {
        cGame::s_state = 0;
        cGame::s_stateEntered = 0;
        cGame::s_stateChangePending = 0;
        cGame::s_frameTime = 50;
        cGame::requestLoading(kind, target);
        cGame::s_g = screen()->getGraphics();
        cGame::stepStateMachine(nullptr);   // state 0's frame applies the request
        EXPECT_EQ(cGame::s_state, cGame::kStateLoading);
        int frames = 0;
        while (cGame::s_state == cGame::kStateLoading && frames < 100) {
            cGame::s_g = screen()->getGraphics();
            cGame::stepStateMachine(nullptr);
            EXPECT_EQ(Runtime::getPendingException(), nullptr) << "frame " << frames;
            if (frame) frame(frames);
            ++frames;
        }
        cGame::s_g = nullptr;
        return frames;
    }

    // The portrait screen's pixel in RGB565.
    [[nodiscard]] uint16_t pixel(int x, int y) const {
        const Surface565 p = screen()->pixels565();
        return p.row(y)[x];
    }
    static uint16_t rgb565(uint32_t rgb) { return Graphics::toRGB565(0xFF000000u | rgb); }

    static Image* screen() { return cGame::s_frameImage; }
    // Collecting at every allocation: timings say nothing then.
    [[nodiscard]] bool stressed() { return objectManager().stress(); }

    TempFolder temp;
};

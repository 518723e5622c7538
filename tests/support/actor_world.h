// A deterministic world for actor tests: fresh heaps, every start-up step the actors and the game's
// level code read (Z's tables, cActor's statics, cGame's statics, the cosine table), a chosen level,
// a seeded random generator, synthetic sprites installed into sprite slots, actor-record and
// geometry blobs built in code, and frames stepped with held keys through the play step. A test
// observes actor fields, the sound commands the frames queued and the drawn portrait frame.
// Every static these touch is put back in tear-down, so tests never see each other's world.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "actors/cactor.h"
#include "actors/chero.h"
#include "actors/z.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/static_class.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/sound_engine_reset.h"
#include "tests/support/actor_statics.h"
#include "tests/support/test_world.h"

class ActorWorld : public ::testing::Test {
public:
    using Image = javax_microedition_lcdui_Image;
    static constexpr int kScreenW = 480, kScreenH = 800;

    // One level actor record: n, then n little-endian 16-bit values.
    static std::string record(std::initializer_list<int> values) {
        std::string out(1, static_cast<char>(values.size()));
        for (int v : values) out += le16(v);
        return out;
    }
    // A geometry item: N polylines of M attributes each (the last one the flag word), then points.
    struct Polyline {
        std::vector<int> attributes;
        std::vector<std::pair<int, int>> points;
    };
    static std::string geometry(const std::vector<Polyline>& lines, int m) {
        std::string out = le16(static_cast<int>(lines.size())) + le16(m);
        for (const Polyline& l : lines) {
            for (int a = 0; a < m; ++a) out += le16(a < static_cast<int>(l.attributes.size()) ? l.attributes[a] : 0);
            out += le16(static_cast<int>(l.points.size()));
            for (auto [x, y] : l.points) out += le16(x) + le16(y);
        }
        return out;
    }
    static std::string le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }

protected:
    void SetUp() override {
        m_services = cGame::s_levelServices;   // what the program registered before main
        ASSERT_TRUE(Runtime::initHeaps(16 << 20, 32 << 20));
        m_objects = std::make_unique<ObjectManager>();
        resetActorWorldStatics();
        buildActorStatics();
        BXLibPlayer::SndInit(cGame::kSoundCount);
        cGame::s_sfxOn = cGame::s_musicOn = true;
        cGame::s_frameImage = Image::createImage(kScreenW, kScreenH);
        cGame::s_viewRect = Runtime::newIntArray(4);
        chooseLevel(0);
        seed(1);
    }
    void TearDown() override {
        Runtime::clearPendingException();
        resetActorWorldStatics();
        cGame::s_levelServices = m_services;
        resetSoundEngine();
        StaticClass::releaseStatics();
        Runtime::destroyHeaps();
        m_objects.reset();
    }

    // The shared world's reset of every layer, then what an actor test starts from.
    static void resetActorWorldStatics() {
        ::resetWorldStatics();
        cGame::s_levelServices = cGame::LevelServices{};   // a test registers the services it needs
        cGame::s_spriteMask[0] = cGame::s_spriteMask[1] = 0;
        cGame::s_levelRecords = nullptr;
        cGame::s_levelWidth = cGame::s_levelHeight = 0;
        cGame::s_frameCounter = 0;
        cGame::s_prevState = cGame::s_state = 0;
        cGame::s_difficulty = 1;
        cGame::s_keysLive = cGame::s_keysFrame = nullptr;
        cGame::s_g = nullptr;
        cHero::s_aimIndex = 0;
        cHero::s_shotEffect = nullptr;
        BXLibPlayer::s_tilesEnabled = false;
    }

    // The level number (its alternate-player flag with it) and the fixed frame time of 50 ms.
    static void chooseLevel(jint level) {
        cGame::setLevel(level);
        cGame::s_frameTime = cGame::kFixedFrameTime;
        cGame::s_speedFactor = cGame::kFixedSpeedFactor;
    }
    static void seed(jlong s) { cGame::setRandomSeed(s); }

    // A synthetic sprite (syntheticSprite, actor_statics.h) in sprite slot `slot`.
    static Bsprite* installSprite(jint slot, int anims, int frames, int time = 1) {
        Bsprite* s = syntheticSprite(anims, frames, time);
        EXPECT_NE(s, nullptr);
        cGame::s_sprites->set(slot, s);
        return s;
    }

    // A level of the given size (pixels) built as the loader builds one, without tile layers:
    // records, geometry, players and per-type set-up, camera bounds, one play step, snap.
    void startLevel(const std::string& records, const std::string& geometryItem = {}, jint width = 4000,
                    jint height = 2000) {
        cGame::s_levelWidth = width;
        cGame::s_levelHeight = height;
        cGame::resetLevelState(true);
        cGame::s_levelRecords = bytes(records);
        cGame::spawnLevelActors();
        if (!geometryItem.empty()) {
            cGame::s_levelGeometry = bytes(geometryItem);   // the item as the pack would give it
            ASSERT_TRUE(cGame::loadLevelData());
        }
        cGame::initLevelActors();
        cGame::setCameraBounds(0, 0, width - cGame::kViewWidth, height - cGame::kViewHeight);
        cGame::updateCamera();
        cGame::updateInGame();
        cGame::s_cameraSnap = 1;
        ASSERT_EQ(Runtime::getPendingException(), nullptr);
    }

    // Game keys held down from now on / released.
    static void holdKey(jint k) {
        jbyte& e = cGame::s_keysLive->elements()[k];
        if (e < 1) e = 1;
    }
    static void releaseKey(jint k) {
        jbyte& e = cGame::s_keysLive->elements()[k];
        if (e >= 1) e = static_cast<jbyte>(-e);
    }

    // n frames of play: the key snapshot, the frame counter, the play step; the sound commands they
    // queue go to soundLog.
    void step(int n = 1) {
        for (int i = 0; i < n; ++i) {
            cGame::updateKeyStates();
            ++cGame::s_frameCounter;
            cGame::updateInGame();
            ASSERT_EQ(Runtime::getPendingException(), nullptr) << "frame " << cGame::s_frameCounter;
            drainSounds();
        }
    }

    // The play scene drawn on the portrait screen; its RGB565 pixel at (x, y).
    static void drawFrame() {
        cGame::s_g = cGame::s_frameImage->getGraphics();
        cGame::paintGameScene();
        cGame::s_g = nullptr;
    }
    [[nodiscard]] static uint16_t pixel(int x, int y) { return cGame::s_frameImage->pixels565().row(y)[x]; }

    static cActor* actor(jint index) { return cGame::actorAt(index); }
    static cActor* actorById(jint id) { return cGame::findActorById(id); }

    // "channel: play S" / "channel: stop" for every live record the frames queued, oldest first.
    std::vector<std::string> soundLog;

    static ByteArray* bytes(const std::string& s) {
        ByteArray* a = Runtime::newByteArray(static_cast<jint>(s.size()));
        if (!a) return nullptr;
        for (size_t i = 0; i < s.size(); ++i) a->set(static_cast<jint>(i), static_cast<jbyte>(s[i]));
        return a;
    }

    // The sound commands queued so far into soundLog (step does it after every frame).
    void drainSounds() {
        using B = BXLibPlayer;
        if (!B::s_sndQueue) return;
        for (jint c = 0; c < B::kSndChannels; ++c) {
            for (B::SndQueuePop(c); B::s_sndScratch->get(B::kSndRecordWords) > 0; B::SndQueuePop(c)) {
                const jint code = B::s_sndScratch->get(0);
                if (code == B::kSndPlay) soundLog.push_back(std::to_string(c) + ": play " + std::to_string(B::s_sndScratch->get(1)));
                else if (code == B::kSndStop) soundLog.push_back(std::to_string(c) + ": stop");
            }
        }
    }

private:
    std::unique_ptr<ObjectManager> m_objects;
    cGame::LevelServices m_services{};
};

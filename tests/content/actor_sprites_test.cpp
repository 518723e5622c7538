// The actors' sprites of the data.bar the build made, loaded as the level loader loads them (into
// the game's sprite table from the sprites pack): each holds what tools/actor_sprite_uses.h says
// the actors' code reads, with boxes that are not empty and lie on the frame; and every animation
// a behaviour table plays (after the hero's and the other remaps) is one those rules hold the sprite to.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "actors/z.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/heaps.h"
#include "runtime/static_class.h"
#include "sprites/bsprite.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/paint_sprite.h"
#include "tools/actor_sprite_uses.h"

namespace {

constexpr jint kSpritesPack = 138;
constexpr jint kSpriteTable = 41;
constexpr jint kShortSide = 480;   // the portrait screen's width

// Behaviour id -> the actor type given that id (the tables without a type are left out).
const std::map<int, int> kBehaviourType = {
    {0, 1},   {1, 4},   {2, 8},   {3, 9},   {4, 7},   {5, 12},  {6, 16},  {9, 14},  {10, 23},
    {11, 21}, {12, 24}, {13, 25}, {15, 32}, {16, 30}, {17, 29}, {18, 35}, {19, 38}, {20, 41},
    {21, 36}, {22, 39}, {23, 42}, {24, 47}, {25, 49}, {27, 48}, {28, 51}, {30, 52}};

// The animations state `state` of a type-`type` actor may start for record animation `anim`.
std::set<int> playedAnimations(int type, int state, int anim) {
    std::set<int> out;
    for (int aim = 0; aim < 5; ++aim) {
        if (type != 1) break;
        if (state == 113) out.insert((aim + 15) * 2);
        if (state == 114) out.insert(aim * 2 + 31);
        if (state == 115 || state == 117) out.insert(aim * 2 + 11);
        if (state == 116 || state == 118) out.insert((aim + 6) * 2);
        if (state == 108) out.insert(std::min(aim, 3) + 45);
    }
    if (!out.empty()) return out;
    // The racer, by its distance from the middle of the course (and for 0 the down key).
    if (type == 14 && anim == 0) return {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15};
    if (type == 14 && anim == 7) return {7, 8};
    if (type == 21 && anim == 0) return {0, 1};
    return {anim};
}

class ActorSpritesTest : public PackTest {
protected:
    void SetUp() override {
        PackTest::SetUp();
        ASSERT_TRUE(Runtime::initHeaps(8 << 20, 48 << 20));
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();   // it lived in the old heaps
        platform::setDataFile(BRINDLEX_DATA_BAR);
        loadPool();
        resetPaintStatics();
        Z::buildBehaviourTables();
        Z::buildTypeSpriteMap();
        cGamePacks::s_sprites = Runtime::newObjectArray(CID_Bsprite, kSpriteTable);
        ASSERT_NE(cGamePacks::s_sprites, nullptr);
        m_table = cGamePacks::s_sprites;
        objectManager().addRoot(&m_table);
    }
    void TearDown() override {
        objectManager().removeRoot(&m_table);
        cGamePacks::s_sprites = nullptr;
        StaticClass::releaseStatics();
        resetPaintStatics();
        PackTest::TearDown();
    }

    static Bsprite* load(jint slot) {
        cGamePacks::packOpen(Runtime::ldcString(kSpritesPack));
        cGamePacks::loadSpriteWithPalettes(slot);
        cGamePacks::packClose();
        auto* sprite = static_cast<Bsprite*>(cGamePacks::s_sprites->get(slot));
        return sprite && sprite->moduleCount > 0 ? sprite : nullptr;
    }

    Object* m_table = nullptr;   // the sprite table, kept from the collector
};

TEST_F(ActorSpritesTest, EachSpriteLoadsWithTheAnimationsFramesAndBoxesItsCodeReads) {
    IntArray* box = Runtime::newIntArray(4);
    IntArray* rect = Runtime::newIntArray(4);
    ASSERT_TRUE(box && rect);
    for (const tools::ActorSpriteUse& use : tools::actorSpriteUses()) {
        SCOPED_TRACE("sprite " + std::to_string(use.slot) + " (" + use.role + ")");
        Bsprite* sprite = load(use.slot);
        ASSERT_NE(sprite, nullptr);
        for (const tools::ActorAnimationUse& a : use.animations) {
            SCOPED_TRACE("animation " + std::to_string(a.animation));
            ASSERT_LT(a.animation, sprite->animCount);
            const jint frames = sprite->GetAFrames(a.animation);
            EXPECT_GE(frames, a.minFrames);
            if (a.maxFrames > 0) {
                EXPECT_LE(frames, a.maxFrames);
            }
            int withBoxes = 0;
            for (jint k = 0; k < frames; ++k) {
                if (a.boxFrame >= 0 && k != a.boxFrame) continue;
                // Measured on the portrait screen: landscape (x, y) is portrait (480 - y, x).
                sprite->GetAFrameRect(rect, a.animation, k, 0, 0, 0);
                const jint left = rect->get(1), right = rect->get(3), top = kShortSide - rect->get(2),
                           bottom = kShortSide - rect->get(0);
                bool all = a.boxes > 0;
                for (int b = 0; b < a.boxes; ++b) {
                    sprite->GetAFrameBox(a.animation, k, b, box, 0, true);
                    const jint cx = box->get(0) + box->get(2) / 2, cy = box->get(1) + box->get(3) / 2;
                    // A point the game puts an effect on or aims from: on the picture, not off in space.
                    const bool onFrame = box->get(2) > 0 && box->get(3) > 0 && cx >= left - 8 &&
                                         cx <= right + 8 && cy >= top - 8 && cy <= bottom + 8;
                    all = all && onFrame;
                    if (a.boxFrame == tools::ActorAnimationUse::kEveryFrame) {
                        EXPECT_TRUE(onFrame) << "frame " << k << " box " << b;
                    }
                }
                withBoxes += all;
            }
            if (a.boxes > 0) {
                EXPECT_GT(withBoxes, 0) << "no frame has boxes 0 to " << a.boxes - 1 << " on its picture";
            }
        }
    }
}

// What the level's mask can ask for: every sprite an actor type maps to, the effects' sprites, the
// thrown rocks and the race's backdrop.
TEST_F(ActorSpritesTest, EverySpriteTheActorsAskForLoads) {
    std::set<int> slots = {8, 13, 15, 21};
    for (jint type = 0; type < Z::s_typeSprite->length; ++type)
        if (Z::s_typeSprite->get(type) >= 0) slots.insert(Z::s_typeSprite->get(type));
    for (const int slot : slots) EXPECT_NE(load(slot), nullptr) << "sprite " << slot;
}

// The race's backdrop as the loader leaves it for the pulsing picture: a quarter that fits the work
// buffer the frames are built in (a larger one draws nothing), round rather than square (its outer
// corner clear, its inner corner, the middle of the view, glowing), its phases spread over the
// alpha steps the image keeps, so the pulse runs across it as a wave rather than flashing at once.
TEST_F(ActorSpritesTest, TheRaceBackdropIsAPulseMaskThatFitsTheWorkBuffer) {
    cGamePacks::s_tilePixels = nullptr;
    ASSERT_NE(load(cGamePacks::kTileSpriteItem), nullptr);
    const jint w = cGamePacks::s_tileW, h = cGamePacks::s_tileH;
    IntArray* mask = cGamePacks::s_tilePixels;
    ASSERT_NE(mask, nullptr);
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    EXPECT_LE(jlong{w} * h, cGame::kWorkBufferLength);
    ASSERT_EQ(mask->length, w * h);
    auto alphaAt = [&](jint x, jint y) { return static_cast<uint32_t>(mask->get(y * w + x)) >> 24; };
    EXPECT_EQ(alphaAt(0, 0), 0u);
    EXPECT_GT(alphaAt(w - 1, h - 1), 0u);
    std::set<uint32_t> phases;
    for (jint i = 0; i < mask->length; ++i) phases.insert(static_cast<uint32_t>(mask->get(i)) >> 24);
    phases.erase(0);
    ASSERT_GE(phases.size(), 12u);
    EXPECT_GE(*phases.rbegin() - *phases.begin(), 200u);
    cGamePacks::s_tilePixels = nullptr;
}

TEST_F(ActorSpritesTest, EveryAnimationABehaviourTablePlaysIsHeldByTheRules) {
    std::map<int, std::set<int>> ruled;
    for (const tools::ActorSpriteUse& use : tools::actorSpriteUses())
        for (const tools::ActorAnimationUse& a : use.animations) ruled[use.slot].insert(a.animation);
    for (const auto& [id, type] : kBehaviourType) {
        const jint slot = Z::s_typeSprite->get(type);
        if (slot < 0) continue;
        SCOPED_TRACE("behaviour " + std::to_string(id) + ", type " + std::to_string(type) + ", sprite " +
                     std::to_string(slot));
        ASSERT_TRUE(ruled.count(slot)) << "the sprite has no rules";
        auto* table = static_cast<ObjectArray*>(Z::s_behaviours->get(id));
        ASSERT_NE(table, nullptr);
        for (jint r = 0; r < table->length; ++r) {
            auto* record = static_cast<ShortArray*>(table->get(r));
            const int state = record->get(0), anim = record->get(1);
            if (anim < 0) continue;
            for (const int played : playedAnimations(type, state, anim))
                EXPECT_TRUE(ruled[slot].count(played)) << "state " << state << " plays animation " << played;
        }
    }
}

}  // namespace

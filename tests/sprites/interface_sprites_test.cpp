// The lazy interface-sprite loaders over the interface pack: each sprite made once with its palette
// and cache treatment, its players on the frame or animations the screens expect, the pack opened
// and closed only when asked, and missing items leaving everything null.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "tests/sprites/pack_fixture.h"
#include "tests/sprites/sprite_bytes.h"
#include "tests/support/log_capture.h"

namespace {

using P = cGamePacks;

std::string sprite() {
    const SpriteBytes s = sampleSprite(kSmallForms);
    return "\x7E" + std::string(s.b.begin(), s.b.end());
}

class InterfaceSpritesTest : public PackTest {
protected:
    // The interface pack's name is the shipped literal; items 1..3 hold the sample sprite or nothing.
    void interfacePack(bool withItems) {
        std::vector<std::string> items(4, "\x7E");
        if (withItems) items[1] = items[2] = items[3] = sprite();
        packEntries({tools::BarEntry::fromBytes("ui", packbytes::onePack(items))});
        ASSERT_EQ(text16(Runtime::ldcString(P::kInterfacePackLiteral)), "ui");
    }
    static ObjectArray* row(ObjectArray* cache, jint palette) {
        return cache ? static_cast<ObjectArray*>(cache->get(palette)) : nullptr;
    }
};

TEST_F(InterfaceSpritesTest, EachSpriteIsMadeOnceWithItsPlayers) {
    interfacePack(true);

    // The loading picture opens and closes the pack itself; only palette 1 is cached.
    P::loadInterfaceSprite(true);
    Bsprite* picture = P::s_loadingPicture;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(P::s_packStream, nullptr);
    EXPECT_EQ(row(picture->imageCache, 0), nullptr);
    ASSERT_NE(row(picture->imageCache, 1), nullptr);
    EXPECT_NE(row(picture->imageCache, 1)->get(0), nullptr);
    EXPECT_NE(picture->imageData, nullptr);
    BXLibPlayer* loading = P::s_loadingPlayer;
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->sprite, picture);
    EXPECT_EQ(loading->anim, -1);
    EXPECT_EQ(loading->frame, 0);
    EXPECT_EQ(loading->x, 0);
    EXPECT_EQ(loading->y, 0);

    // Inside an open pack, as the loader's start-up does: the menu sprite keeps only its cache, the
    // second interface sprite only its data, and the pack stays open.
    P::packOpen(str("ui"));
    P::loadMenuSprites();
    P::loadInterfaceSprite2(false);
    EXPECT_NE(P::s_packStream, nullptr);
    Bsprite* menu = P::s_menuSprite;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->imageData, nullptr);
    EXPECT_EQ(menu->palettes, nullptr);
    ASSERT_NE(row(menu->imageCache, 0), nullptr);
    EXPECT_EQ(row(menu->imageCache, 1), nullptr);
    ASSERT_NE(P::s_interfaceSprite2, nullptr);
    EXPECT_EQ(P::s_interfaceSprite2->imageCache, nullptr);
    EXPECT_NE(P::s_interfaceSprite2->imageData, nullptr);

    struct Case {
        BXLibPlayer* player;
        jint anim;
    };
    const Case players[] = {{P::s_transitionPlayer, 0}, {P::s_arrowUpPlayer, 2}, {P::s_arrowDownPlayer, 4}};
    for (const Case& c : players) {
        ASSERT_NE(c.player, nullptr) << c.anim;
        EXPECT_EQ(c.player->sprite, menu) << c.anim;
        EXPECT_EQ(c.player->anim, c.anim);
        EXPECT_EQ(c.player->frame, 0) << c.anim;
        EXPECT_EQ(c.player->loops, -1) << c.anim;  // for ever
        EXPECT_EQ(c.player->finished, 0) << c.anim;
    }
    EXPECT_NE(P::s_transitionPlayer, P::s_arrowUpPlayer);
    EXPECT_NE(P::s_arrowUpPlayer, P::s_arrowDownPlayer);

    // Second calls change nothing, the pack state included.
    Bsprite* second = P::s_interfaceSprite2;
    BXLibPlayer* up = P::s_arrowUpPlayer;
    P::packClose();
    P::loadInterfaceSprite(true);
    P::loadInterfaceSprite2(true);
    P::loadMenuSprites();
    EXPECT_EQ(P::s_packStream, nullptr);
    EXPECT_EQ(P::s_loadingPicture, picture);
    EXPECT_EQ(P::s_loadingPlayer, loading);
    EXPECT_EQ(P::s_interfaceSprite2, second);
    EXPECT_EQ(P::s_menuSprite, menu);
    EXPECT_EQ(P::s_arrowUpPlayer, up);

    // The statics are roots.
    objectManager().gc(1);
    for (Object* o : std::initializer_list<Object*>{picture, loading, second, menu, P::s_transitionPlayer, up,
                                                    P::s_arrowDownPlayer})
        EXPECT_TRUE(objectManager().isRegistered(o));
}

TEST_F(InterfaceSpritesTest, MissingItemsLeaveTheSpritesAndPlayersNull) {
    interfacePack(false);
    LogCapture log;
    P::loadInterfaceSprite(true);
    P::loadInterfaceSprite2(true);
    P::packOpen(str("ui"));
    P::loadMenuSprites();
    for (Object* o : std::initializer_list<Object*>{P::s_loadingPicture, P::s_loadingPlayer, P::s_interfaceSprite2,
                                                    P::s_menuSprite, P::s_transitionPlayer, P::s_arrowUpPlayer,
                                                    P::s_arrowDownPlayer})
        EXPECT_EQ(o, nullptr);
    for (const char* line : {"sprite: pack item 1 ", "sprite: pack item 2 ", "sprite: pack item 3 "})
        EXPECT_TRUE(log.contains(line)) << line;

    // Without the pack at all (nothing open, openPack false): still null, no crash.
    P::packClose();
    P::s_packName = nullptr;
    P::loadInterfaceSprite(false);
    P::loadMenuSprites();
    EXPECT_EQ(P::s_loadingPicture, nullptr);
    EXPECT_EQ(P::s_menuSprite, nullptr);
}

}  // namespace

// Which creature each sprite is and which move each of its animations shows (the numbers are the
// ones the behaviour tables and the actors' code play).
#include "tools/art_palette.h"
#include "tools/sprite_art/creature_sprites.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

using M = CreatureMove;

struct Creature {
    int slot;
    const char* name;   // also the file name of its sheet
    CreatureLook look;
    std::vector<CreatureAnim> anims;
};

const std::vector<Creature>& roster() {
    static const std::vector<Creature> all = {
        {1, "charger", {kLeaf, kLeafDark, kLeafLight, kCream, kNight, 20, 0.9, false, true},
         {{0, M::Rest}, {1, M::Rush}, {2, M::Move}, {3, M::Stunned}, {4, M::Hurt}, {5, M::Blink}, {6, M::Die}}},
        {5, "spiker", {kGold, kGoldDark, kGoldLight, kAmber, kNight, 18, 0.9, false, false, true},
         {{0, M::Rest}, {1, M::Move}, {2, M::Stunned}, {3, M::Attack}, {4, M::Chip}, {5, M::Chip}, {6, M::Hurt}}},
        {6, "rock_giant", {kStone, kStoneDark, kStoneLight, kGold, kEmberDark, 44, 1.1, false, true, false, true},
         {{0, M::Rest}, {1, M::Stunned}, {2, M::Throw}, {3, M::Attack}, {4, M::Move}, {5, M::Rise}, {6, M::Die}}},
        {8, "thrown_rocks", {kStone, kStoneDark, kStoneLight, kGold, kNight, 30},
         {{0, M::Rock}, {1, M::Rock}, {2, M::Rock}, {3, M::Rock}, {4, M::Rock}, {5, M::Rock}}},
        {17, "ember_wisp", {kEmber, kEmberDark, kEmberLight, kGold, kNight, 22, 1, true},
         {{0, M::Rest}, {1, M::Blink}, {2, M::Attack}}},
        {19, "sprout", {kLeafLight, kLeaf, kCream, kGold, kNight, 16, 1.1},
         {{0, M::Rest}, {1, M::Move}}},
        {20, "gloomling", {kDusk, kNight, kSky, kGold, kGoldLight, 18},
         {{0, M::Rest}, {1, M::Hurt}}},
        {23, "mothling", {kHaze, kSkyLight, kMist, kScarf, kNight, 14, 1, true},
         {{0, M::Move}, {1, M::Hurt}}},
        {24, "magma_brute", {kEmber, kEmberDark, kEmberLight, kGold, kGoldLight, 40, 1, false, true, true},
         {{0, M::Rest}, {1, M::Attack}, {2, M::Move}, {3, M::Rise}, {4, M::Stunned}, {5, M::Hurt}}},
        {28, "watcher_stone", {kStoneDark, kNight, kStone, kLeafLight, kLeaf, 18, 1, false, false, false, true},
         {{0, M::Rest}, {1, M::Attack}, {2, M::Shot}}},
        {31, "bramble_bear", {kLeafDark, kNight, kLeaf, kCream, kGold, 26, 1, false, true},
         {{0, M::Rest}, {1, M::Blink}, {2, M::Attack}, {3, M::Stunned}, {4, M::Move}}},
        {34, "helper_puff", {kMist, kStoneLight, kWhite, kScarf, kScarfDark, 14, 1, true},
         {{0, M::Rest}, {1, M::Move}, {2, M::Attack}}},
        {35, "hive", {kAmber, kStripe, kGoldDark, kGold, kGoldLight, 22, 1.1},
         {{0, M::Rest}, {1, M::Hurt}, {2, M::Move}}},
        {36, "sentry", {kStone, kStoneDark, kStoneLight, kEmber, kEmber, 20, 1.2, false, false, true, true},
         {{0, M::Blink}, {1, M::Move}, {2, M::Attack}, {3, M::Stunned}, {4, M::Rise}, {5, M::Blink}, {6, M::Rest}}},
        {37, "snapper_trap", {kEmberDark, kStripe, kEmber, kMist, kGold, 22, 0.7, false, false, true},
         {{0, M::Rest}, {1, M::Blink}, {2, M::Blink}, {3, M::Attack, true}, {4, M::Rest}, {5, M::Rise}, {6, M::Die}}},
        {38, "night_king", {kNight, kShadow, kDusk, kEmber, kEmberLight, 48, 1.1, false, true, true},
         {{0, M::Blink}, {1, M::Move}, {2, M::Rest}, {3, M::Hurt}, {4, M::Die}, {5, M::Rise}, {6, M::Rush},
          {7, M::Attack, true}, {8, M::Stunned}, {9, M::Shot}}},
        {39, "shell_crab", {kStone, kStoneDark, kStoneLight, kEmber, kNight, 18, 0.8, false, false, true},
         {{0, M::Chip}, {1, M::Chip}, {2, M::Rest}, {3, M::Rest}, {4, M::Attack}}},
    };
    return all;
}

}  // namespace

std::vector<NamedSprite> creatureSprites() {
    std::vector<NamedSprite> out;
    for (const Creature& c : roster())
        out.push_back({c.slot, c.name,
                       [&c](SpriteSheet& sheet) { drawCreatureSprite(sheet, c.look, c.anims); }});
    return out;
}

}  // namespace tools::art

// The game's art palette: every generator that draws game content (interface, sprites, images)
// picks its colours here, so menus, heads-up display and characters share one look. Colours are
// 0xRRGGBB; each family runs light -> base -> dark, and every shape gets a kOutline edge.
// The font outlines (assets/fonts.pack) use kOutline too, and the promotion art's navy and gold.
#pragma once

#include <cstdint>

namespace tools::art {

// Line work and shadows.
inline constexpr uint32_t kOutline = 0x141C30;      // every outline; also the fonts' outline
inline constexpr uint32_t kShadow = 0x0B1020;       // drop shadows (drawn at partial alpha)

// Night sky: panels, menu rows, backgrounds.
inline constexpr uint32_t kNight = 0x14213D;
inline constexpr uint32_t kDusk = 0x27406B;
inline constexpr uint32_t kSky = 0x3C5A8C;
inline constexpr uint32_t kSkyLight = 0x6F93C8;
inline constexpr uint32_t kHaze = 0x8ECAE6;
inline constexpr uint32_t kMist = 0xE5E9F0;
inline constexpr uint32_t kWhite = 0xFFFFFF;

// Gold: highlights, selection, the title, coins.
inline constexpr uint32_t kGoldLight = 0xFFE08A;
inline constexpr uint32_t kGold = 0xFCA311;
inline constexpr uint32_t kGoldDark = 0xC76B00;
inline constexpr uint32_t kAmber = 0x8A4500;

// Ember: danger, hearts, the "new" badge.
inline constexpr uint32_t kEmberLight = 0xFF8A80;
inline constexpr uint32_t kEmber = 0xE63946;
inline constexpr uint32_t kEmberDark = 0x9D0208;

// Leaf: grass, the go/ok side, health.
inline constexpr uint32_t kLeafLight = 0x95D5B2;
inline constexpr uint32_t kLeaf = 0x52B788;
inline constexpr uint32_t kLeafDark = 0x2D6A4F;

// Stone: disabled things, rocks, metal.
inline constexpr uint32_t kStoneLight = 0xB8C2CF;
inline constexpr uint32_t kStone = 0x6C7A89;
inline constexpr uint32_t kStoneDark = 0x3A4555;

// Brindle: the hero's coat (tan with dark stripes) and muzzle.
inline constexpr uint32_t kFurLight = 0xF2C07E;
inline constexpr uint32_t kFur = 0xC87A35;
inline constexpr uint32_t kFurDark = 0x7A4320;
inline constexpr uint32_t kStripe = 0x3E2214;
inline constexpr uint32_t kCream = 0xFFF2D6;

// The hero's scarf, shown in two colourings (palette 0 and 1 of the interface player).
inline constexpr uint32_t kScarf = 0x2E86DE;        // palette 0: blue
inline constexpr uint32_t kScarfDark = 0x1B4F8A;
inline constexpr uint32_t kScarfAlt = 0xE63946;     // palette 1: ember red
inline constexpr uint32_t kScarfAltDark = 0x9D0208;

}  // namespace tools::art

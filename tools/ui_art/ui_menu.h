// The menu sprite's frame and animation numbers (the ones the menu, soft-key and help code draw)
// and its builder.
#pragma once

#include "tools/ui_art/sprite_builder.h"

namespace tools::art {

enum MenuFrame : int {
    kFrameShutterOpen = 0,     // 0..5: the transition from open to closed
    kFrameShutterClosed = 5,
    kFrameArrowUp = 6,
    kFrameArrowDown = 7,
    kFrameRow = 8,
    kFrameRowDisabled = 9,
    kFrameRowSelected = 10,
    kFrameCorner = 11,
    kFrameCornerLit = 12,
    kFrameLeftKey = 13,
    kFrameLeftKeyLit = 14,
    kFrameRightKey = 15,
    kFrameRightKeyLit = 16,
    kFrameSkipKey = 17,
    kFrameSkipKeyLit = 18,
    kFramePageLeft = 19,
    kFramePageRight = 20,
    kFrameArrowUpLit = 21,
    kFrameArrowDownLit = 22,
    kFramePageLeftLit = 23,
    kFramePageRightLit = 24,
};

enum MenuAnimation : int {
    kAnimOpen = 0,
    kAnimClose = 1,
    kAnimUpIdle = 2,
    kAnimUpFlash = 3,
    kAnimDownIdle = 4,
    kAnimDownFlash = 5,
    kAnimPageLeftIdle = 6,
    kAnimPageLeftPress = 7,
    kAnimPageRightIdle = 8,
    kAnimPageRightPress = 9,
};

void buildMenuSprite(SpriteBuilder& b);

}  // namespace tools::art

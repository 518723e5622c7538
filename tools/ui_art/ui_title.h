// The title sprite (interface pack item 1): palette 0 by night, palette 1 by day. Frame 0 is the
// loading picture (drawn at the centre of the screen); animation 0 the small runner on the loading
// bar (drawn at the bar's tip, feet on the bar); animation 1 the splash title (the scene with the
// wordmark); animation 2 the menus' backdrop (the scene without it, so menu titles stay clear).
#pragma once

#include "tools/ui_art/sprite_builder.h"

namespace tools::art {

enum TitleAnimation : int { kAnimRunner = 0, kAnimSplash = 1, kAnimMenuBackdrop = 2 };

void buildTitleSprite(SpriteBuilder& b);

}  // namespace tools::art

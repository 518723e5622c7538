// The hero stands on the knoll at the left (feet at landscape (110, 400)), clear of the menu rows
// in the middle and of the soft keys in the corners; the wordmark sits at the top of the splash.
#include "tools/ui_art/ui_title.h"

#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

namespace {

constexpr int kHeroX = 110 - 400, kHeroY = 401 - 240;   // the hero's feet from the centre

// A four-pointed twinkle.
Canvas twinkle(int size) {
    Canvas c(size, size);
    const double m = size / 2.0, r = size / 2.0 - 1, w = size / 7.0;
    c.polygon({{m, 1}, {m + w, m - w}, {m + r, m}, {m + w, m + w}, {m, m + r}, {m - w, m + w}, {1, m}, {m - w, m - w}}, hex(kGoldLight));
    c.circle(m, m, w, hex(kWhite));
    c.outline(1.2, hex(kOutline));
    return c;
}

}  // namespace

void buildTitleSprite(SpriteBuilder& b) {
    const int scene = b.image({titleScene(true), titleScene(false)});
    int hero[4];
    for (int p = 0; p < 4; ++p) hero[p] = b.image({heroStanding(p, true), heroStanding(p, false)});
    auto heroPart = [&](int pose) { return FramePart{hero[pose], kHeroX - kHeroFootX, kHeroY - kHeroFootY}; };
    // Frame 0: the loading picture.
    b.frame({{scene, -400, -240}, heroPart(0)});
    // Frames 1..6: the runner's stride, feet on the bar's top edge 10 pixels above the point, nose
    // at the bar's tip.
    for (int p = 0; p < 6; ++p) {
        const int m = b.image({heroRunning(p, true), heroRunning(p, false)});
        b.frame({{m, -kRunnerFootX - 16, -10 - kRunnerFootY}});
    }
    // Frames 7..10: the splash title; frames 11..14: the menus' backdrop.
    const int mark = b.image(wordmark(-1));
    const int spark = b.image(twinkle(26)), sparkSmall = b.image(twinkle(16));
    const int markX = -b.moduleWidth(mark) / 2, markY = -240 + 18;
    const int sparkAt[4][2] = {{markX + 40, markY + 10}, {markX + 300, markY + 2}, {markX + 520, markY + 20}, {markX + 180, markY + 90}};
    for (int p = 0; p < 4; ++p)
        b.frame({{scene, -400, -240}, heroPart(p), {mark, markX, markY}, {spark, sparkAt[p][0], sparkAt[p][1]},
                 {sparkSmall, sparkAt[(p + 2) % 4][0] + 30, sparkAt[(p + 2) % 4][1] + 40}});
    for (int p = 0; p < 4; ++p) b.frame({{scene, -400, -240}, heroPart(p)});
    b.animation({{1}, {2}, {3}, {4}, {5}, {6}});
    b.animation({{7, 6}, {8, 3}, {9, 4}, {8, 3}, {7, 5}, {10, 3}});
    b.animation({{11, 6}, {12, 3}, {13, 4}, {12, 3}, {11, 5}, {14, 3}});
}

}  // namespace tools::art

// The pick-ups, drawn centred on the actor's position. Sprite 7 (the level pick-ups), by animation:
// 0 the badge (a life), 1 the berry (a little energy; also the heads-up display's energy icon),
// 2 the golden pear, 3 the charge cell, 4 the star shell. Each rests and glints now and then; 5 is
// the burst of glints a pick-up leaves when it is taken.
// Sprite 16 (the race pick-ups): 0 the feather, 1 the gust, 2 the bubble.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr int kHalf = 28;   // pick-up frames span [-kHalf, kHalf) around the position

using Draw = void (*)(SampleCanvas&, double, double);

// Frames `first` (plain) and `first` + 1 (glinting), and the animation resting on the plain one.
void resting(SpriteSheet& sheet, int anim, int first, Draw draw, double glintX, double glintY) {
    for (int glint = 0; glint < 2; ++glint) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        draw(f.canvas, f.ax(0), f.ay(0));
        if (glint) drawSparkle(f.canvas, f.ax(glintX), f.ay(glintY), 6.5);
        f.addTo(sheet, first + glint);
    }
    std::vector<AnimStep> steps(10, AnimStep{first});
    steps.push_back({first + 1});
    steps.push_back({first + 1});
    sheet.animation(anim, steps);
}

}  // namespace

void drawPickupSprite(SpriteSheet& sheet) {
    resting(sheet, 0, 0, [](SampleCanvas& c, double x, double y) { drawBadge(c, x, y, 22); }, -8, -14);
    resting(sheet, 1, 2, [](SampleCanvas& c, double x, double y) { drawBerry(c, x, y - 1, 17); }, -8, 0);
    resting(sheet, 2, 4, [](SampleCanvas& c, double x, double y) { drawPear(c, x, y + 2, 21); }, -7, -2);
    resting(sheet, 3, 6, [](SampleCanvas& c, double x, double y) { drawChargeCell(c, x, y, 17, 0); }, -9, -9);
    // The star shell twinkles round like the heads-up display's icon.
    std::vector<AnimStep> twinkle;
    for (int phase = 0; phase < 8; ++phase) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        drawStarShell(f.canvas, f.ax(0), f.ay(0), 18, phase);
        f.addTo(sheet, 8 + phase);
        twinkle.push_back({8 + phase});
    }
    sheet.animation(4, twinkle);
    // 5: taken: a ring of glints bursting out and fading.
    std::vector<AnimStep> taken;
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        const double r = 6 + i * 6;
        f.canvas.ring(f.ax(0), f.ay(0), r + 2, 4, kGoldLight, static_cast<uint8_t>(230 - i * 50));
        for (int k = 0; k < 6; ++k) {
            const double a = k * M_PI / 3 + i * 0.3;
            drawSparkle(f.canvas, f.ax(std::cos(a) * r), f.ay(std::sin(a) * r), 7 - i);
        }
        f.addTo(sheet, 16 + i);
        taken.push_back({16 + i});
    }
    sheet.animation(5, taken);
}

void drawRaceItemSprite(SpriteSheet& sheet) {
    // The feather sways; the gust blows; the bubble wobbles.
    std::vector<AnimStep> sway, blow, wobble;
    const double tilts[4] = {-0.45, -0.25, -0.05, -0.25};
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        drawFeather(f.canvas, f.ax(0), f.ay(0), 23, tilts[i]);
        f.addTo(sheet, i);
        sway.push_back({i, 1, 0, i == 2 ? -1 : 0});
    }
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        drawGust(f.canvas, f.ax(0), f.ay(0), 22, i);
        f.addTo(sheet, 4 + i);
        blow.push_back({4 + i});
    }
    const double wobbles[4] = {0, 1, 0, -1};
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-kHalf, -kHalf, kHalf, kHalf);
        drawBubble(f.canvas, f.ax(0), f.ay(0), 21, wobbles[i]);
        f.addTo(sheet, 8 + i);
        wobble.push_back({8 + i});
    }
    sheet.animation(0, sway);
    sheet.animation(1, blow);
    sheet.animation(2, wobble);
}

}  // namespace tools::art

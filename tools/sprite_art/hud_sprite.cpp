// The heads-up display sprite: icons drawn right of their point, centred a dozen pixels below it,
// level with the count that follows each icon, the race gauge and the two racers' markers under it.
// Frames: 0 lives, 1-8 the star shell's twinkle (animation 3), 9 the meter, 10-15 the meter's pulse
// (animation 1), 16 and 17 the race's feather and bubble counters, 18 and 19 the player's and the
// rival's markers (their point is the tick's x less 2), 20 the gauge.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

void marker(SpriteSheet& sheet, int frame, uint32_t body, uint32_t light) {
    FrameCanvas f(-16, -22, 13, 16);
    const double cx = f.ax(-2), cy = f.ay(2);
    f.canvas.polygon({{cx, cy - 22}, {cx - 8, cy - 8}, {cx + 8, cy - 8}}, kOutline);
    f.canvas.circle(cx, cy, 12, kOutline);
    f.canvas.polygon({{cx, cy - 18.5}, {cx - 5.5, cy - 8}, {cx + 5.5, cy - 8}}, body);
    f.canvas.circle(cx, cy, 9.5, body);
    f.canvas.ellipse(cx - 3, cy - 4, 4, 2.5, light);
    f.addTo(sheet, frame);
}

void gauge(SpriteSheet& sheet) {
    constexpr double kLength = 357;
    FrameCanvas f(-34, -6, 372, 26);
    const double x0 = f.ax(-4), y0 = f.ay(4);
    f.canvas.roundRect(x0, y0 + 2, kLength + 8, 14, 7, kShadow, 110);
    f.canvas.roundRect(x0, y0, kLength + 8, 14, 7, kOutline, 235);
    f.canvas.roundRect(x0 + 2, y0 + 2, kLength + 4, 10, 5, kNight, 220);
    f.canvas.roundRect(x0 + 3, y0 + 3, kLength + 2, 3, 1.5, kDusk, 230);
    for (int q = 1; q < 4; ++q) {
        const double x = f.ax(kLength * q / 4);
        f.canvas.line(x, y0 + 3, x, y0 + 11, 1.5, kSky, 230);
    }
    // The finish: a chequered flag left of the top end; the start: a dot at the bottom end.
    const double fx = f.ax(-30), fy = f.ay(-4);
    f.canvas.line(fx + 2, fy, fx + 2, fy + 26, 3, kOutline);
    f.canvas.roundRect(fx + 3, fy - 1, 21, 15, 2, kOutline);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            f.canvas.roundRect(fx + 4 + c * 4.75, fy + r * 4.33, 4.75, 4.33, 0, (r + c) % 2 ? kNight : kWhite);
    f.canvas.circle(f.ax(kLength + 8), f.ay(11), 7, kOutline);
    f.canvas.circle(f.ax(kLength + 8), f.ay(11), 4.5, kLeaf);
    f.addTo(sheet, 20);
}

}  // namespace

void drawHudSprite(SpriteSheet& sheet) {
    {
        FrameCanvas f(0, -14, 104, 40);
        drawHeroHead(f.canvas, f.ax(26), f.ay(14), 22, true);
        f.addTo(sheet, 0);
    }
    for (int phase = 0; phase < 8; ++phase) {
        FrameCanvas f(0, -14, 54, 40);
        drawStarShell(f.canvas, f.ax(26), f.ay(11), 20, phase);
        f.addTo(sheet, 1 + phase);
    }
    for (int glow = 0; glow < 7; ++glow) {
        FrameCanvas f(0, -14, 56, 40);
        drawChargeCell(f.canvas, f.ax(26), f.ay(11), 22, glow);
        f.addTo(sheet, glow == 0 ? 9 : 9 + glow);
    }
    {
        FrameCanvas f(0, -14, 46, 40);
        drawFeather(f.canvas, f.ax(22), f.ay(14), 22, -0.5);
        f.addTo(sheet, 16);
    }
    {
        FrameCanvas f(0, -14, 46, 40);
        drawBubble(f.canvas, f.ax(22), f.ay(14), 19, 0);
        f.addTo(sheet, 17);
    }
    marker(sheet, 18, kScarf, kHaze);
    marker(sheet, 19, kEmber, kEmberLight);
    gauge(sheet);

    sheet.animation(0, {{0}});
    std::vector<AnimStep> pulse{{9, 1}};
    for (int glow = 1; glow < 7; ++glow) pulse.push_back({9 + glow});
    for (int glow = 5; glow > 0; --glow) pulse.push_back({9 + glow});
    sheet.animation(1, pulse);
    sheet.animation(2, {{16}, {17}});
    std::vector<AnimStep> twinkle;
    for (int phase = 0; phase < 8; ++phase) twinkle.push_back({1 + phase});
    sheet.animation(3, twinkle);
}

}  // namespace tools::art

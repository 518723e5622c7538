// Sprite 21, the race levels' backdrop: the pulsing glow at the far end of the course. The game
// reads module 0 as a mask (one quarter of the glow, drawn mirrored four times around the view's
// middle, the corner at the module's bottom right): a pixel's opacity is the phase it joins the
// pulse at, 0 for no glow. The pixel's blue channel holds the same value, so the mask reads alike
// from a palette's colours. The quarter stays within the game's 40960-pixel work buffer. The game
// keeps the mask in an image of 4-bit alpha, so the phases are its 15 steps, dithered in between.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr int kQuarter = 200;   // the quarter's side: 40000 pixels

// The phase of the point (dx, dy) away from the middle, 0..1: high near the middle and falling
// outwards, so the bright band of the pulse runs outwards as the phase grows, wound by a slight
// swirl that leaves the middle round; -1 outside. Towards the rim the glow thins out in a fixed
// scatter of clear pixels, so a band reaching the rim fades rather than ending on a hard edge.
double phaseAt(double dx, double dy) {
    const double r = std::hypot(dx, dy), a = std::atan2(dy, dx);
    const double edge = kQuarter - 14 + 10 * std::cos(8 * a);
    if (r > edge) return -1;
    const double fade = (r / edge - 0.8) / 0.2;
    const auto hash = static_cast<uint32_t>(std::lround(dx) * 73856093) ^ static_cast<uint32_t>(std::lround(dy) * 19349663);
    if (fade > 0 && (hash % 1000) / 1000.0 < fade) return -1;
    const double swirl = 0.05 * std::min(1.0, r / 60) * std::sin(6 * a + r / 22);
    return 1 - std::clamp(r / edge + swirl, 0.0, 1.0);
}

// A phase 0..1 as one of the 15 alpha steps 17..255, ordered-dithered between the two nearest.
int alphaStep(double phase, int x, int y) {
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double level = 1 + phase * 14, threshold = (kBayer[y & 3][x & 3] + 0.5) / 16;
    const int step = static_cast<int>(level) + (level - std::floor(level) > threshold ? 1 : 0);
    return std::clamp(step, 1, 15) * 17;
}

}  // namespace

void drawRaceBackdropSprite(SpriteSheet& sheet) {
    SampleCanvas c(kQuarter, kQuarter);
    for (int y = 0; y < kQuarter; ++y)
        for (int x = 0; x < kQuarter; ++x) {
            const double phase = phaseAt(kQuarter - x - 0.5, kQuarter - y - 0.5);
            if (phase < 0) continue;
            const int m = alphaStep(phase, x, y);
            c.setPixel(x, y, static_cast<uint32_t>(m), static_cast<uint8_t>(m));
        }
    // One module, whole: the frame's origin is the glow's middle.
    sheet.exactFrame(0, c, kQuarter, kQuarter, {{0, 0, kQuarter, kQuarter}});
    sheet.animation(0, {{0, 1}});
}

}  // namespace tools::art

// The title landscape: banded sky, the moon or the sun, clouds, far peaks, the old watchtower the
// path leads to, rolling hills with trees, and the near knoll the hero stands on (left, clear of the
// menu rows in the middle). Night and day share every shape; only the colours change.
#include <cmath>
#include <cstdint>

#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

namespace {

// A stroke along y = f(x) from x0 to x1.
template <typename F>
void ridge(Canvas& c, double x0, double x1, F f, double width, Rgb colour) {
    for (double x = x0; x < x1; x += 6) c.line(x, f(x), x + 6, f(x + 6), width, colour);
}

// The area under y = f(x) down to the bottom, filled with colour(x, y).
template <typename F>
void hill(Canvas& c, double x0, double x1, F f, const std::function<Rgb(int, int)>& colour) {
    std::vector<std::pair<double, double>> pts;
    for (double x = x0; x <= x1 + 0.1; x += 5) pts.emplace_back(x, f(x));
    pts.emplace_back(x1, 481);
    pts.emplace_back(x0, 481);
    c.polygon(pts, colour);
}

void cloud(Canvas& c, double x, double y, double s, Rgb light, Rgb dark) {
    c.ellipse(x, y + 10 * s, 58 * s, 16 * s, dark);
    c.circle(x - 30 * s, y + 2 * s, 20 * s, light);
    c.circle(x + 2 * s, y - 8 * s, 28 * s, light);
    c.circle(x + 34 * s, y + 4 * s, 18 * s, light);
    c.ellipse(x, y + 8 * s, 56 * s, 13 * s, light);
}

void tree(Canvas& c, double x, double ground, double s, bool night) {
    const Rgb outline = hex(kOutline);
    c.line(x, ground, x, ground - 30 * s, 9 * s + 3, outline);
    c.line(x, ground, x, ground - 30 * s, 9 * s, shade(kFurDark, night, 0.5));
    const double cy = ground - 48 * s;
    c.circle(x, cy, 26 * s + 2.5, outline);
    c.circle(x - 14 * s, cy + 8 * s, 16 * s + 2.5, outline);
    c.circle(x + 15 * s, cy + 6 * s, 17 * s + 2.5, outline);
    c.circle(x, cy, 26 * s, shade(kLeafDark, night, 0.5));
    c.circle(x - 14 * s, cy + 8 * s, 16 * s, shade(kLeafDark, night, 0.5));
    c.circle(x + 15 * s, cy + 6 * s, 17 * s, shade(kLeafDark, night, 0.5));
    c.circle(x - 6 * s, cy - 8 * s, 12 * s, shade(kLeaf, night, 0.5));
}

}  // namespace

Canvas titleScene(bool night) {
    Canvas c(800, 480);
    const double n = 0.55;   // how far night pulls the land towards the sky
    // Sky in twelve bands.
    const Rgb top = night ? hex(kNight) : hex(kSkyLight), mid = night ? hex(kDusk) : hex(kHaze),
              low = night ? hex(kSky) : hex(kMist);
    for (int i = 0; i < 14; ++i) {
        const double t = i / 13.0;
        const Rgb band = t < 0.5 ? mix(top, mid, t * 2) : mix(mid, low, (t - 0.5) * 2);
        c.roundRect(0, i * 26, 800, i == 13 ? 480 : 27, 0, band);
    }
    // Stars by night, scattered by a fixed sequence.
    if (night) {
        uint32_t seed = 0x5EEDu;
        auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8 & 0xFFFF; };
        for (int i = 0; i < 46; ++i) {
            // Whole-pixel squares: crisp, and few colours for the palette.
            const int x = static_cast<int>(next() % 800), y = static_cast<int>(next() % 250), size = 2 + static_cast<int>(next() % 2);
            c.roundRect(x, y, size, size, 0, i % 5 == 0 ? hex(kGoldLight) : hex(kMist));
        }
        for (auto [x, y] : {std::pair{150, 60}, std::pair{470, 40}, std::pair{300, 150}}) {
            c.roundRect(x - 7, y - 1, 14, 2, 0, hex(kGoldLight));
            c.roundRect(x - 1, y - 7, 2, 14, 0, hex(kGoldLight));
        }
    }
    // The moon with its craters, or the sun with its ring: top right, beside the splash's wordmark.
    constexpr double kSunX = 742, kSunY = 70;
    if (night) {
        c.circle(kSunX, kSunY, 48, mix(hex(kNight), hex(kMist), 0.25));
        c.circle(kSunX, kSunY, 34, hex(kMist));
        c.circle(kSunX - 12, kSunY - 10, 7, hex(kStoneLight));
        c.circle(kSunX + 12, kSunY + 12, 5, hex(kStoneLight));
        c.circle(kSunX + 10, kSunY - 14, 3.5, hex(kStoneLight));
    } else {
        c.circle(kSunX, kSunY, 48, mix(hex(kSkyLight), hex(kGoldLight), 0.45));
        c.circle(kSunX, kSunY, 34, hex(kGoldLight));
        c.ring(kSunX, kSunY, 34, 4, hex(kGold));
    }
    const Rgb cloudLight = night ? mix(hex(kDusk), hex(kSky), 0.6) : hex(kWhite);
    const Rgb cloudDark = night ? hex(kDusk) : hex(kHaze);
    cloud(c, 250, 96, 1.0, cloudLight, cloudDark);
    cloud(c, 520, 150, 0.7, cloudLight, cloudDark);
    cloud(c, 760, 190, 0.8, cloudLight, cloudDark);
    // Far peaks with snow.
    const Rgb far = night ? mix(hex(kNight), hex(kDusk), 0.7) : mix(hex(kSkyLight), hex(kHaze), 0.35);
    const Rgb snow = night ? mix(hex(kStoneLight), hex(kDusk), 0.35) : hex(kWhite);
    const std::vector<std::pair<double, double>> peaks = {{0, 300}, {0, 250}, {70, 205}, {130, 240}, {220, 168},
                                                          {300, 230}, {380, 196}, {470, 250}, {560, 186}, {650, 236},
                                                          {730, 200}, {800, 236}, {800, 300}};
    c.polygon(peaks, far);
    for (auto [px, py] : {std::pair{220.0, 168.0}, std::pair{560.0, 186.0}, std::pair{70.0, 205.0}, std::pair{380.0, 196.0}})
        c.polygon({{px, py}, {px + 16, py + 14}, {px + 6, py + 11}, {px - 2, py + 17}, {px - 8, py + 11}, {px - 16, py + 14}}, snow);
    // The watchtower on its hill (right), where the path ends.
    auto towerHill = [](double x) { return 286 - 40 * std::exp(-std::pow((x - 680) / 90, 2)); };
    hill(c, 480, 800, towerHill, [&](int, int) { return shade(kLeafDark, night, n + 0.1); });
    {
        const Rgb outline = hex(kOutline);
        const Rgb wall = shade(kStoneLight, night, n), wallDark = shade(kStone, night, n);
        c.roundRect(656, 168, 50, 84, 2, outline);
        c.roundRect(659, 171, 44, 80, 1, wall);
        c.roundRect(659, 171, 12, 80, 1, wallDark);
        for (int i = 0; i < 4; ++i) {
            c.roundRect(652 + i * 15, 156, 12, 16, 1, outline);
            c.roundRect(654 + i * 15, 158, 8, 13, 0, wall);
        }
        c.polygon({{681, 104}, {712, 158}, {650, 158}}, outline);
        c.polygon({{681, 110}, {706, 155}, {656, 155}}, shade(kEmber, night, n - 0.15));
        c.polygon({{681, 110}, {706, 155}, {690, 155}}, shade(kEmberDark, night, n - 0.15));
        c.line(681, 106, 681, 84, 2.5, outline);
        c.polygon({{682, 84}, {702, 90}, {682, 96}}, hex(kGold));
        c.roundRect(674, 188, 14, 22, 7, outline);
        c.roundRect(677, 191, 8, 18, 4, night ? hex(kGoldLight) : hex(kStoneDark));
        c.roundRect(672, 226, 18, 26, 9, outline);
        c.roundRect(675, 229, 12, 23, 6, shade(kFurDark, night, n));
    }
    // Rolling middle hills and their trees.
    auto midHill = [](double x) { return 318 + 18 * std::sin(x / 95.0) + 10 * std::sin(x / 37.0 + 1); };
    hill(c, 0, 800, midHill, [&](int, int y) { return y < 330 ? shade(kLeaf, night, n) : shade(kLeafDark, night, n - 0.1); });
    ridge(c, 0, 800, midHill, 3, hex(kOutline));
    ridge(c, 0, 800, [&](double x) { return midHill(x) + 3; }, 2, shade(kLeafLight, night, n));
    for (auto [x, s] : {std::pair{300.0, 0.7}, std::pair{350.0, 0.55}, std::pair{560.0, 0.8}, std::pair{770.0, 0.65}})
        tree(c, x, midHill(x) + 6, s, night);
    // The path from the front up to the tower.
    const Rgb sand = shade(mix(hex(kCream), hex(kFurLight), 0.55), night, n);
    std::vector<std::pair<double, double>> path;
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0, y = 480 - t * 220, cx = 470 + 200 * t + 60 * std::sin(t * 5.5), half = 70 * (1 - t) + 5;
        path.emplace_back(cx - half, y);
    }
    for (int i = 20; i >= 0; --i) {
        const double t = i / 20.0, y = 480 - t * 220, cx = 470 + 200 * t + 60 * std::sin(t * 5.5), half = 70 * (1 - t) + 5;
        path.emplace_back(cx + half, y);
    }
    c.polygon(path, sand);
    // Front meadow and the knoll on the left the hero stands on.
    auto front = [](double x) { return 418 + 10 * std::sin(x / 60.0); };
    hill(c, 0, 800, front, [&](int, int y) { return y < 436 ? shade(kLeafLight, night, n) : shade(kLeaf, night, n); });
    auto knoll = [](double x) { return 400 + 0.0012 * (x - 110) * (x - 110); };
    hill(c, 0, 250, [&](double x) { return std::min(knoll(x), 481.0); },
         [&](int, int y) { return y < 412 ? shade(kLeafLight, night, n) : shade(kLeaf, night, n); });
    ridge(c, 0, 250, knoll, 3, hex(kOutline));
    ridge(c, 0, 800, [&](double x) { return std::min(front(x), x < 250 ? knoll(x) : 999.0); }, 3, hex(kOutline));
    // Grass tufts and flowers along the front.
    for (int i = 0; i < 26; ++i) {
        const double x = 12 + i * 31 + (i % 3) * 7, y = 452 + (i % 4) * 7;
        const Rgb blade = shade(kLeafDark, night, n - 0.1);
        c.polygon({{x - 6, y + 6}, {x - 2, y - 8}, {x, y + 6}}, blade);
        c.polygon({{x - 1, y + 6}, {x + 4, y - 11}, {x + 5, y + 6}}, blade);
        c.polygon({{x + 4, y + 6}, {x + 10, y - 6}, {x + 9, y + 6}}, blade);
        if (i % 4 == 1) {
            c.circle(x + 14, y - 2, 4.5, hex(kOutline));
            c.circle(x + 14, y - 2, 3, shade(i % 8 == 1 ? kEmberLight : kGoldLight, night, n - 0.2));
        }
    }
    return c;
}

}  // namespace tools::art

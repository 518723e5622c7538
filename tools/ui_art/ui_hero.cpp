// The hero: a brindle-coated fox-hound in a scarf, standing or running, drawn from one set of body
// proportions at any scale. Body coordinates are given for the standing picture (feet at 70, 160).
#include <algorithm>
#include <cmath>

#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

namespace {

constexpr double kPi = 3.14159265358979;

struct HeroPose {
    double footX, footY, scale;
    double bob = 0;          // the upper body's lift (breathing, stride)
    double tail = 0;         // tail swing in radians
    double scarf = 0;        // 0..1 flutter of the scarf's end
    double stride = -1;      // running: the stride phase in radians; < 0 stands
    bool blink = false;
    bool night = false;
};

class HeroPainter {
public:
    HeroPainter(Canvas& c, const HeroPose& p) : c_(c), p_(p) {}

    void paint() {
        const bool running = p_.stride >= 0;
        const double swing = running ? std::sin(p_.stride) * 0.7 : 0;
        const double lean = running ? 6 : 0;
        const double up = -p_.bob;
        // Tail: three strokes curling up behind, the tip in cream.
        {
            const double a = -2.2 + p_.tail;
            double x = 56, y = 116 + up, angle = a;
            for (int i = 0; i < 3; ++i) {
                const double nx = x + std::cos(angle) * 16, ny = y + std::sin(angle) * 16;
                stroke(x, y, nx, ny, 18 - i * 3, kFur);
                x = nx, y = ny, angle += 0.45;
            }
            disc(x, y, 8, kCream);
            stroke(50, 108 + up, 40, 100 + up, 4, kStripe);
        }
        // Far limbs first, darker.
        leg(64, running ? -swing : 0, kFurDark, up);
        arm(60 + lean, 94 + up, running ? swing : 0.15, kFurDark);
        // Body, belly and the brindle stripes.
        ellipse(70 + lean * 0.5, 104 + up, 26, 30, kFur);
        ellipse(80 + lean * 0.5, 110 + up, 13, 20, kCream);
        for (int i = 0; i < 3; ++i) stroke(48 + i * 4 + lean * 0.5, 90 + i * 11 + up, 58 + i * 4 + lean * 0.5, 95 + i * 11 + up, 4, kStripe);
        leg(78, running ? swing : 0, kFur, up);
        // Scarf round the neck, its two ends streaming back.
        const double flutter = p_.scarf * 8, run = running ? 12 : 0;
        polygon({{54 + lean, 78 + up}, {34 - run, 68 + up - flutter}, {16 - run, 70 + up - flutter}, {30 - run, 80 + up - flutter * 0.5},
                 {54 + lean, 88 + up}},
                kScarfDark);
        polygon({{54 + lean, 80 + up}, {36 - run, 80 + up - flutter * 0.4}, {22 - run, 90 + up - flutter * 0.3}, {38 - run, 92 + up},
                 {54 + lean, 90 + up}},
                kScarf);
        rect(50 + lean, 74 + up, 44, 13, 6, kScarf);
        stroke(54 + lean, 84 + up, 90 + lean, 84 + up, 2, kScarfDark);
        // Head: ears, skull, muzzle, nose, eye and brow stripes.
        const double hx = 76 + lean, hy = 50 + up;
        polygon({{hx - 24, hy - 14}, {hx - 18, hy - 46}, {hx - 2, hy - 22}}, kFurDark);
        polygon({{hx - 8, hy - 22}, {hx + 6, hy - 48}, {hx + 16, hy - 16}}, kFur);
        polygon({{hx - 2, hy - 24}, {hx + 6, hy - 40}, {hx + 11, hy - 20}}, kFurLight);
        disc(hx, hy, 30, kFur);
        ellipse(hx + 22, hy + 12, 20, 13, kCream);
        ellipse(hx + 4, hy + 22, 16, 7, kCream);
        disc(hx + 40, hy + 6, 6, kOutline);
        stroke(hx - 22, hy - 16, hx - 12, hy - 8, 4, kStripe);
        stroke(hx - 26, hy - 4, hx - 16, hy, 4, kStripe);
        stroke(hx - 24, hy + 8, hx - 15, hy + 10, 4, kStripe);
        if (p_.blink) {
            stroke(hx + 10, hy - 5, hx + 24, hy - 3, 3, kOutline);
        } else {
            ellipse(hx + 17, hy - 6, 7.5, 9.5, kWhite);
            disc(hx + 20, hy - 5, 4.5, kOutline);
            disc(hx + 21.5, hy - 7, 1.6, kWhite);
        }
        stroke(hx + 28, hy + 18, hx + 36, hy + 16, 2.5, kOutline);   // the mouth
        // Near arm over the body.
        arm(84 + lean, 94 + up, running ? -swing : -0.25, kFur);
    }

private:
    double X(double x) const { return p_.footX + (x - 70) * p_.scale; }
    double Y(double y) const { return p_.footY + (y - 160) * p_.scale; }
    double S(double v) const { return v * p_.scale; }
    Rgb col(uint32_t c) const { return shade(c, p_.night, 0.28); }

    void stroke(double x0, double y0, double x1, double y1, double w, uint32_t c) {
        c_.line(X(x0), Y(y0), X(x1), Y(y1), std::max(1.2, S(w)), col(c));
    }
    void disc(double x, double y, double r, uint32_t c) { c_.circle(X(x), Y(y), S(r), col(c)); }
    void ellipse(double x, double y, double rx, double ry, uint32_t c) { c_.ellipse(X(x), Y(y), S(rx), S(ry), col(c)); }
    void rect(double x, double y, double w, double h, double r, uint32_t c) { c_.roundRect(X(x), Y(y), S(w), S(h), S(r), col(c)); }
    void polygon(std::vector<std::pair<double, double>> pts, uint32_t c) {
        for (auto& [x, y] : pts) x = X(x), y = Y(y);
        c_.polygon(pts, col(c));
    }
    // A leg from the hip at x, swung by `angle` (radians, forward positive), with its boot.
    void leg(double hipX, double angle, uint32_t c, double up) {
        const double hipY = 122 + up * 0.5, len = 32;
        const double fx = hipX + std::sin(angle) * len, fy = hipY + std::cos(angle) * len;
        stroke(hipX, hipY, fx, fy, 15, c);
        ellipse(fx + 6, fy + 2, 12, 6.5, kStripe);
    }
    void arm(double x, double y, double angle, uint32_t c) {
        const double len = 24;
        const double ex = x + std::sin(angle) * len, ey = y + std::cos(angle) * len;
        stroke(x, y, ex, ey, 11, c);
        disc(ex, ey, 6.5, c == kFur ? kFurLight : kFur);
    }

    Canvas& c_;
    const HeroPose& p_;
};

}  // namespace

Rgb shade(Rgb colour, bool night, double amount) { return night ? mix(colour, hex(kNight), amount) : colour; }

Canvas heroStanding(int pose, bool night) {
    Canvas c(kHeroW, kHeroH);
    HeroPose p{kHeroFootX, kHeroFootY, 1.0};
    const double breath[] = {0, 1.5, 2.5, 1.5};
    const double tail[] = {0, 0.18, 0.3, 0.12};
    const double scarf[] = {0, 0.5, 1, 0.5};
    p.bob = breath[pose & 3];
    p.tail = tail[pose & 3];
    p.scarf = scarf[pose & 3];
    p.blink = (pose & 3) == 2;
    p.night = night;
    HeroPainter(c, p).paint();
    c.outline(2.6, hex(kOutline));
    return c;
}

Canvas heroRunning(int pose, bool night) {
    Canvas c(kRunnerW, kRunnerH);
    HeroPose p{kRunnerFootX, kRunnerFootY, 0.34};
    p.stride = (pose % 6) * 2 * kPi / 6;
    p.bob = std::abs(std::sin(p.stride)) * 5;
    p.tail = std::sin(p.stride) * 0.25;
    p.scarf = 1;
    p.night = night;
    HeroPainter(c, p).paint();
    c.outline(1.4, hex(kOutline));
    return c;
}

}  // namespace tools::art

namespace tools::art {

Canvas emblem(int size) {
    const double r = size / 2.0;
    Canvas disc(size, size);
    disc.circle(r, r, r - 1, hex(kOutline));
    disc.circle(r, r, r - 4, hex(kGold));
    disc.ring(r, r, r - 4, 3, hex(kGoldLight));
    disc.circle(r, r, r - 11, hex(kOutline));
    disc.shape([=](double x, double y) { return std::hypot(x - r, y - r) <= r - 13; },
               [&](int, int y) { return mix(hex(kSkyLight), hex(kNight), y / static_cast<double>(size)); });
    // The hero's head and shoulders, clipped to the disc.
    Canvas hero(size, size);
    const double s = size / 170.0;
    HeroPose p{r - 6 * s, r + 112 * s, s};
    p.scarf = 0.6;
    HeroPainter(hero, p).paint();
    hero.outline(std::max(1.5, 2.6 * s), hex(kOutline));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - r, y + 0.5 - r);
            const uint32_t px = hero.argb(x, y);
            const double cover = std::clamp(r - 13 - d + 0.5, 0.0, 1.0);
            if (cover > 0) disc.blend(x, y, hex(px & 0xFFFFFF), (px >> 24) / 255.0 * cover);
        }
    return disc;
}

}  // namespace tools::art

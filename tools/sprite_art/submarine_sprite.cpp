// Sprite 29, the submarine: a round diving bell centred on its position with the hero looking out
// of its porthole. Animation 0 the hull, 1 its destruction (plays once), 2 the hull with its lamp
// lit, 3..10 the hull more and more damaged; 11 + n the idle engine pointing along heading n (of 32,
// a 32nd of a turn each, 0 right, 8 down), 43 + n the same engine thrusting, its jet streaming
// back. The game draws the engine at both edges of the hull. Box 0 of every frame is the body the
// game collides with; box 1 of the hull's first frame is its middle.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kHull = 46;                                  // the hull's radius
constexpr std::array<int, 4> kHullBox = {-42, -42, 84, 84};

// `damage` 0..8 adds dents, cracks and leaks; `lamp` lights the top lamp; `bubbles` moves them.
void hull(SampleCanvas& c, double x, double y, int damage, bool lamp, int bubbles) {
    c.circle(x, y, kHull + 2.5, kOutline);
    c.fill([=](double px, double py) { return std::hypot(px - x, py - y) <= kHull; },
           [=](double px, double py) { return px - x + (py - y) * 0.6 > 18 ? kGoldDark : kGold; }, x - kHull, y - kHull,
           x + kHull, y + kHull);
    c.ring(x, y, kHull - 3, 3, kAmber);
    for (int i = 0; i < 10; ++i) {
        const double a = i * kPi / 5;
        c.circle(x + std::cos(a) * (kHull - 7), y + std::sin(a) * (kHull - 7), 2.2, kGoldLight);
    }
    // The porthole with the hero inside.
    c.circle(x + 6, y - 2, 25, kOutline);
    c.circle(x + 6, y - 2, 22, kStoneLight);
    c.circle(x + 6, y - 2, 19, kDusk);
    drawHeroHead(c, x + 8, y, 14, false);
    c.ellipse(x - 4, y - 14, 8, 4, kWhite, 120);
    // The lamp on top.
    c.roundRect(x - 6, y - kHull - 8, 12, 10, 3, kOutline);
    c.circle(x, y - kHull - 4, 4, lamp ? kGoldLight : kStone);
    if (lamp) c.circle(x, y - kHull - 4, 9, kGoldLight, 80);
    // Damage: dents first, then cracks across the glass and leaks.
    for (int d = 0; d < damage; ++d) {
        const double a = 2.2 + d * 1.37;
        const double dx = x + std::cos(a) * (kHull - 10), dy = y + std::sin(a) * (kHull - 10);
        if (d % 2 == 0) {
            c.circle(dx, dy, 5, kAmber);
            c.circle(dx - 1, dy - 1, 3, kGoldDark);
        } else {
            c.line(x + 6 + std::cos(a) * 4, y - 2 + std::sin(a) * 4, x + 6 + std::cos(a) * 18, y - 2 + std::sin(a) * 17, 1.5,
                   kWhite);
        }
        if (d >= 4)
            for (int b = 0; b < 2; ++b) {
                const double by = dy - 6 - ((bubbles + b * 3) % 4) * 5;
                c.circle(dx + b * 4, by, 2.8, kOutline);
                c.circle(dx + b * 4, by, 2, kHaze);
            }
    }
}

// An engine pod pointing along `angle` (radians, screen y down), its propeller behind it; `thrust`
// adds the jet, `phase` turns the blades and moves the jet.
void engine(SampleCanvas& c, double x, double y, double angle, bool thrust, int phase) {
    const double ux = std::cos(angle), uy = std::sin(angle);
    if (thrust)
        for (int i = 0; i < 4; ++i) {
            const double d = 14 + i * 7 + (phase % 3) * 2.3;
            const double r = 4.5 - i * 0.6;
            c.circle(x - ux * d + uy * ((i + phase) % 2 ? 2 : -2), y - uy * d - ux * ((i + phase) % 2 ? 2 : -2), r + 1.5, kOutline);
            c.circle(x - ux * d + uy * ((i + phase) % 2 ? 2 : -2), y - uy * d - ux * ((i + phase) % 2 ? 2 : -2), r, kHaze);
        }
    c.line(x - ux * 8, y - uy * 8, x + ux * 8, y + uy * 8, 14, kOutline);
    c.line(x - ux * 7, y - uy * 7, x + ux * 7, y + uy * 7, 10, kStone);
    c.line(x - ux * 5, y - uy * 5 - 2, x + ux * 5, y + uy * 5 - 2, 3, kStoneLight);
    // Two blades at the back, across the pod, their length turning with the phase.
    const double bx = x - ux * 11, by = y - uy * 11, blade = phase % 2 ? 4 : 9;
    c.line(bx - uy * blade, by + ux * blade, bx + uy * blade, by - ux * blade, 4.5, kOutline);
    c.line(bx - uy * blade, by + ux * blade, bx + uy * blade, by - ux * blade, 2.2, kGoldLight);
}

}  // namespace

void drawSubmarineSprite(SpriteSheet& sheet) {
    int next = 0;
    auto hullFrame = [&](int damage, bool lamp, int bubbles) {
        FrameCanvas f(-kHull - 6, -kHull - 14, kHull + 6, kHull + 6);
        hull(f.canvas, f.ax(0), f.ay(0), damage, lamp, bubbles);
        f.addTo(sheet, next);
        sheet.box(next, 0, kHullBox);
        return next++;
    };
    const int whole = hullFrame(0, false, 0);
    sheet.box(whole, 1, {-10, -10, 20, 20});
    const int lit = hullFrame(0, true, 0);
    sheet.animation(0, {{whole, 4}, {lit, 1}, {whole, 4}});
    // 1 destroyed: the hull breaking up into a burst of bubbles.
    std::vector<AnimStep> wreck;
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-kHull - 30, -kHull - 30, kHull + 30, kHull + 30);
        const double x = f.ax(0), y = f.ay(0);
        if (i < 2) hull(f.canvas, x, y, 8, false, i);
        for (int b = 0; b < 12; ++b) {
            const double a = b * kPi / 6 + i, d = 20 + i * 14 + (b % 3) * 5;
            f.canvas.circle(x + std::cos(a) * d, y + std::sin(a) * d, 5 - i * 0.5 + 1.5, kOutline);
            f.canvas.circle(x + std::cos(a) * d, y + std::sin(a) * d, 5 - i * 0.5, kHaze);
        }
        f.addTo(sheet, next);
        sheet.box(next, 0, kHullBox);
        wreck.push_back({next++, 2});
    }
    sheet.animation(1, wreck);
    sheet.animation(2, {{lit, 2}, {whole, 2}});
    for (int damage = 1; damage <= 8; ++damage) {
        const int a = hullFrame(damage, false, 0), b = hullFrame(damage, damage % 2 == 0, 2);
        sheet.animation(2 + damage, {{a, 3}, {b, 3}});
    }
    for (int thrust = 0; thrust < 2; ++thrust)
        for (int heading = 0; heading < 32; ++heading) {
            std::vector<AnimStep> steps;
            for (int phase = 0; phase < (thrust ? 3 : 2); ++phase) {
                FrameCanvas f(-44, -44, 44, 44);
                engine(f.canvas, f.ax(0), f.ay(0), heading * kPi / 16, thrust != 0, phase);
                f.addTo(sheet, next);
                sheet.box(next, 0, {-12, -12, 24, 24});
                steps.push_back({next++, thrust ? 1 : 3});
            }
            sheet.animation((thrust ? 43 : 11) + heading, steps);
        }
}

}  // namespace tools::art

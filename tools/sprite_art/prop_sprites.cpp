// The props. Sprite 4 the hook carriage the hero hangs from (0 waiting, 1 running along its line,
// 2 stopping at its end, sparks flying); sprite 26 the gate (0, standing on its position) and its
// lever (1 thrown, the gate rising with it; 2 at rest). The level props that stay loaded: sprite 18 the puffball (type 22: animation 0 idle, 1 bursting
// once when the hero comes by), sprite 25 the lift (animation 0, its position the middle of its deck)
// and sprite 33 the lurker (animation 0 hiding in its rock and peering out). Lift animations 1 and
// 2 and lurker animations 1 to 5 are the looks their actors' states play. Props stand on their
// position: their pictures are drawn upwards from it.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

struct CapColours {
    uint32_t dark, base, light;
};
constexpr CapColours kLeafCap = {kLeafDark, kLeaf, kLeafLight};

// The puffball: a round cap on a short stem; `swell` grows it, `burst` 0 whole, 1.. opened.
void puffball(SampleCanvas& c, double cx, double by, double swell, int burst, CapColours cap = kLeafCap) {
    c.ellipse(cx, by - 2, 26, 5, kShadow, 90);
    c.roundRect(cx - 9, by - 22, 18, 22, 6, kOutline);
    c.roundRect(cx - 6.5, by - 20, 13, 19, 5, kCream);
    c.roundRect(cx + 1, by - 20, 5.5, 19, 3, kFurLight);
    const double r = 24 * swell, cy = by - 20 - r * 0.7;
    if (burst == 0) {
        c.ellipse(cx, cy, r + 2.5, r * 0.8 + 2.5, kOutline);
        c.ellipse(cx, cy, r, r * 0.8, cap.dark);
        c.ellipse(cx - 2, cy - 3, r * 0.9, r * 0.66, cap.base);
        c.ellipse(cx - r * 0.35, cy - r * 0.4, r * 0.28, r * 0.14, cap.light);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 1.3 + 0.4;
            c.circle(cx + std::cos(a) * r * 0.55, cy + std::sin(a) * r * 0.4, r * 0.09, cap.light);
        }
        return;
    }
    // Opened: a torn cup and a cloud of spores rising.
    c.fill([=](double x, double y) {
        return (x - cx) * (x - cx) / ((r + 2.5) * (r + 2.5)) + (y - cy) * (y - cy) / std::pow(r * 0.8 + 2.5, 2) <= 1 &&
               y > cy - r * 0.1 + 3 * std::sin(x * 0.9);
    }, kOutline, cx - r - 3, cy - r, cx + r + 3, cy + r);
    c.fill([=](double x, double y) {
        return (x - cx) * (x - cx) / (r * r) + (y - cy) * (y - cy) / (r * r * 0.64) <= 1 && y > cy - r * 0.1 + 3 * std::sin(x * 0.9) + 2.5;
    }, kLeafDark, cx - r, cy - r, cx + r, cy + r);
    const int spores = 9;
    for (int i = 0; i < spores; ++i) {
        const double a = -M_PI / 2 + (i - spores / 2) * 0.32, d = 8 + burst * 11 + (i % 3) * 5;
        const double sx = cx + std::cos(a) * d, sy = cy - 4 + std::sin(a) * d * 0.9;
        const double sr = std::max(2.0, 6.0 - burst);
        c.circle(sx, sy, sr + 1.5, kOutline, static_cast<uint8_t>(230 - burst * 40));
        c.circle(sx, sy, sr, i % 2 ? kGoldLight : kLeafLight, static_cast<uint8_t>(240 - burst * 40));
    }
}

// `light` 0 dark, 1 gold, 2 leaf green; `turn` 0..3 turns the winch wheels.
void lift(SampleCanvas& c, double cx, double top, int light, int turn = 0) {
    constexpr double kW = 120;
    // Deck, then the rail and a motor housing with its lamp.
    c.roundRect(cx - kW / 2, top + 2, kW, 18, 5, kShadow, 90);
    c.roundRect(cx - kW / 2 - 2, top - 2, kW + 4, 20, 6, kOutline);
    c.roundRect(cx - kW / 2, top, kW, 16, 4, kStone);
    c.roundRect(cx - kW / 2 + 2, top + 1, kW - 4, 4, 2, kStoneLight);
    for (int i = 0; i < 6; ++i) c.roundRect(cx - kW / 2 + 8 + i * 19, top + 8, 10, 4, 2, kStoneDark);
    c.roundRect(cx - 22, top + 15, 44, 20, 6, kOutline);
    c.roundRect(cx - 19.5, top + 16, 39, 16, 4, kStoneDark);
    c.roundRect(cx - 16, top + 18, 32, 3, 1.5, kStone);
    c.circle(cx, top + 26, 5.5, kOutline);
    const uint32_t lamp = light == 2 ? kLeafLight : light ? kGoldLight : kGoldDark;
    c.circle(cx, top + 26, 4, lamp);
    if (light) c.circle(cx, top + 26, 9, light == 2 ? kLeaf : kGold, 70);
    // The winch wheels at the deck's ends, their spokes turned by `turn`.
    for (int side = -1; side <= 1; side += 2) {
        const double wx = cx + side * 30, wy = top + 8;
        c.circle(wx, wy, 5.5, kOutline);
        c.circle(wx, wy, 4, kStoneLight);
        const double a = turn * M_PI / 8 * side;
        c.line(wx - std::cos(a) * 3.5, wy - std::sin(a) * 3.5, wx + std::cos(a) * 3.5, wy + std::sin(a) * 3.5, 1.6, kStoneDark);
    }
    for (int side = -1; side <= 1; side += 2) {
        c.polygon({{cx + side * 50, top + 16}, {cx + side * 40, top + 16}, {cx + side * 45, top + 26}}, kOutline);
        c.polygon({{cx + side * 48, top + 16}, {cx + side * 42, top + 16}, {cx + side * 45, top + 22}}, kLeaf);
    }
}

// The lurker's rock with its eyes: `open` 0 shut .. 2 wide, looking by `look` pixels sideways;
// with its eyes open it bares its teeth. `reach` 0..1 puts its claws out of the crack, `hurt` flashes
// it ember, `crumble` 0..1 breaks the rock apart.
void lurker(SampleCanvas& c, double cx, double by, int open, double look, double reach = 0, bool hurt = false,
            double crumble = 0) {
    auto rock = [=](double grow) {
        return [=](double x, double y) {
            const double u = (x - cx) / (56 + grow), v = (y - by + 4) / (54 + grow);
            return v <= 0 && u * u + v * v * (1 + 0.25 * std::sin(u * 5)) <= 1;
        };
    };
    c.ellipse(cx, by - 2, 58, 7, kShadow, 100);
    if (crumble > 0) {
        // Broken: chunks of the rock thrown apart and a puff of dust.
        for (int i = 0; i < 7; ++i) {
            const double a = -M_PI + i * M_PI / 6, d = 10 + crumble * 40;
            const double x = cx + std::cos(a) * d * 1.3, y = by - 24 + std::sin(a) * d - crumble * 10 + (i % 2) * 8;
            const double r = 12 - crumble * 5 - (i % 3);
            c.circle(x, y, r + 2.5, kOutline);
            c.circle(x, y, r, i % 2 ? kStone : kStoneDark);
            c.circle(x - r * 0.3, y - r * 0.3, r * 0.35, kStoneLight);
        }
        for (int i = 0; i < 5; ++i)
            c.circle(cx - 30 + i * 15, by - 8 - (i % 2) * 6, 9 + crumble * 6, kMist, static_cast<uint8_t>(200 - crumble * 150));
        return;
    }
    const uint32_t body = hurt ? kEmber : kStone, shade = hurt ? kEmberDark : kStoneDark;
    c.fill(rock(2.5), kOutline, cx - 60, by - 62, cx + 60, by);
    c.fill(rock(0), [=](double x, double y) { return x - cx + (by - y) * 0.4 > 26 ? shade : body; }, cx - 58, by - 60, cx + 58, by);
    c.ellipse(cx - 22, by - 44, 14, 6, kStoneLight);
    c.circle(cx + 30, by - 40, 4, kStoneDark);
    c.circle(cx - 38, by - 16, 3, kStoneDark);
    for (int i = 0; i < 3; ++i) c.line(cx - 36 + i * 30, by - 10 - i * 3, cx - 24 + i * 30, by - 15 - i * 3, 2, kStoneDark);
    // The dark crack it peers out of.
    c.ellipse(cx, by - 28, 34, 14, kOutline);
    c.ellipse(cx, by - 28, 31, 11.5, kNight);
    if (open == 0) {
        for (int side = -1; side <= 1; side += 2) c.line(cx + side * 13 - 6, by - 30, cx + side * 13 + 6, by - 30, 2.2, kEmber);
        return;
    }
    const double h = open == 1 ? 2.5 : 6;
    for (int side = -1; side <= 1; side += 2) {
        c.ellipse(cx + side * 13, by - 31, 8, h + 1.5, kGold, 90);
        c.ellipse(cx + side * 13, by - 31, 7, h, kGoldLight);
        c.ellipse(cx + side * 13 + look, by - 31, 2.6, std::min(h, 4.0), kEmberDark);
    }
    if (open == 2)
        for (int t = -3; t <= 3; ++t)
            c.polygon({{cx + t * 6 - 3, by - 22}, {cx + t * 6 + 3, by - 22}, {cx + t * 6, by - 17}}, kMist);
    // Claws reaching out of the crack to the right.
    if (reach > 0) {
        const double len = 20 + reach * 50;
        for (int k = 0; k < 2; ++k) {
            const double y = by - 32 + k * 9;
            c.line(cx + 24, y, cx + 24 + len, y - 6 * reach, 9.5, kOutline);
            c.line(cx + 24, y, cx + 24 + len, y - 6 * reach, 6, kLeafDark);
            for (int f = -1; f <= 1; ++f) {
                const double tx = cx + 24 + len, ty = y - 6 * reach;
                c.polygon({{tx - 2, ty - 3 + f * 3}, {tx + 9, ty + f * 4 - 1}, {tx - 1, ty + 2 + f * 3}}, kOutline);
                c.polygon({{tx - 1, ty - 1.5 + f * 3}, {tx + 7, ty + f * 4 - 0.5}, {tx, ty + 1 + f * 3}}, kMist);
            }
        }
    }
}

}  // namespace

void drawPuffballSprite(SpriteSheet& sheet) {
    const double swell[3] = {1.0, 1.05, 0.97};
    for (int i = 0; i < 3; ++i) {
        FrameCanvas f(-34, -80, 34, 4);
        puffball(f.canvas, f.ax(0), f.ay(0), swell[i], 0);
        f.addTo(sheet, i);
    }
    for (int b = 1; b <= 3; ++b) {
        FrameCanvas f(-46, -100, 46, 4);
        puffball(f.canvas, f.ax(0), f.ay(0), 1.0, b);
        f.addTo(sheet, 2 + b);
    }
    sheet.animation(0, {{0, 3}, {1, 2}, {0, 3}, {2, 2}});
    sheet.animation(1, {{1, 1}, {1, 1}, {3, 2}, {4, 2}, {5, 3}});
    // 2..5 the same prop in the other colours a level may give it; 6..13 puff balloons floating on
    // their position (the helpers of the easier setting, and what lifts a ride).
    const CapColours caps[4] = {{kGoldDark, kGold, kGoldLight}, {kEmberDark, kEmber, kEmberLight},
                                {kSky, kSkyLight, kHaze}, {kStoneDark, kStone, kStoneLight}};
    int next = 6;
    for (int k = 0; k < 4; ++k) {
        std::vector<AnimStep> steps;
        for (double swell : {1.0, 1.05}) {
            FrameCanvas f(-34, -80, 34, 4);
            puffball(f.canvas, f.ax(0), f.ay(0), swell, 0, caps[k]);
            f.addTo(sheet, next);
            steps.push_back({next++, 3});
        }
        sheet.animation(2 + k, steps);
    }
    for (int k = 0; k < 8; ++k) {
        const CapColours cap = k % 5 == 4 ? kLeafCap : caps[k % 4];
        const double r = 16 + (k / 4) * 6;
        std::vector<AnimStep> steps;
        for (int bob = 0; bob < 2; ++bob) {
            FrameCanvas f(-32, -40, 32, 44);
            SampleCanvas& c = f.canvas;
            const double x = f.ax(0), y = f.ay(0) - bob * 2;
            c.line(x, y + r * 0.8, x + (bob ? 2 : -2), y + 38, 2.5, kOutline);
            c.ellipse(x, y, r + 2.5, r * 0.9 + 2.5, kOutline);
            c.ellipse(x, y, r, r * 0.9, cap.dark);
            c.ellipse(x - 2, y - 3, r * 0.85, r * 0.7, cap.base);
            c.ellipse(x - r * 0.35, y - r * 0.45, r * 0.28, r * 0.14, kWhite);
            c.polygon({{x - 4, y + r * 0.9}, {x + 4, y + r * 0.9}, {x, y + r * 0.9 + 5}}, cap.dark);
            f.addTo(sheet, next);
            steps.push_back({next++, 4});
        }
        sheet.animation(6 + k, steps);
    }
}

void drawLiftSprite(SpriteSheet& sheet) {
    for (int light = 0; light < 2; ++light) {
        FrameCanvas f(-64, -4, 64, 40);
        lift(f.canvas, f.ax(0), f.ay(0), light);
        f.addTo(sheet, light);
    }
    sheet.animation(0, {{0, 4}, {1, 4}});
    // 1: tipped or released, the lamp lit steady; 2: the lift pair's car, its winch turning and its
    // lamp green.
    for (int turn = 0; turn < 4; ++turn) {
        FrameCanvas f(-64, -4, 64, 40);
        lift(f.canvas, f.ax(0), f.ay(0), turn < 2 ? 1 : 2, turn < 2 ? turn * 2 : (turn - 2) * 2 + 1);
        f.addTo(sheet, 2 + turn);
    }
    sheet.animation(1, {{2, 3}, {3, 3}});
    sheet.animation(2, {{4, 2}, {5, 2}});
}

void drawLurkerSprite(SpriteSheet& sheet) {
    struct Look {
        int open;
        double look;
    };
    const Look looks[5] = {{2, 0}, {2, -3}, {2, 3}, {1, 0}, {0, 0}};
    for (int i = 0; i < 5; ++i) {
        FrameCanvas f(-62, -64, 62, 8);
        lurker(f.canvas, f.ax(0), f.ay(0), looks[i].open, looks[i].look);
        f.addTo(sheet, i);
    }
    sheet.animation(0, {{4, 4}, {3, 1}, {0, 3}, {1, 3}, {0, 1}, {2, 3}, {0, 2}, {3, 1}, {4, 2}});
    // 1 blinking; 2 hurt; 3 the snatch, claws out; 4 crumbling; 5 holding on, then letting go.
    struct Look2 {
        int open;
        double reach;
        bool hurt;
        double crumble;
    };
    const Look2 more[] = {{1, 0.4, false, 0}, {2, 1.0, false, 0}, {0, 0, true, 0}, {2, 0, true, 0},
                          {0, 0, false, 0.3}, {0, 0, false, 0.7}, {0, 0, false, 1.0}, {2, 0.7, false, 0}};
    for (int i = 0; i < 8; ++i) {
        FrameCanvas f(-70, -80, 140, 12);
        lurker(f.canvas, f.ax(0), f.ay(0), more[i].open, 0, more[i].reach, more[i].hurt, more[i].crumble);
        f.addTo(sheet, 5 + i);
    }
    sheet.animation(1, {{0, 4}, {3, 1}, {4, 1}, {3, 1}});
    sheet.animation(2, {{7, 1}, {8, 1}, {7, 1}, {8, 1}});
    sheet.animation(3, {{0, 1}, {5, 1}, {6, 2}, {12, 2}, {5, 1}});
    sheet.animation(4, {{7, 1}, {9, 2}, {10, 2}, {11, 2}});
    sheet.animation(5, {{12, 3}, {6, 3}, {12, 3}, {5, 2}, {0, 2}});
}

}  // namespace tools::art

namespace tools::art {

namespace {

// The hook carriage: a trolley on two wheels with the hook hanging to the position; `turn` turns
// the wheels, `spark` throws sparks off the line.
void carriage(SampleCanvas& c, double x, double y, int turn, bool spark) {
    c.roundRect(x - 22, y - 40, 44, 16, 5, kOutline);
    c.roundRect(x - 19.5, y - 38, 39, 11, 4, kStone);
    c.roundRect(x - 17, y - 37, 34, 3, 1.5, kStoneLight);
    for (int side = -1; side <= 1; side += 2) {
        const double wx = x + side * 12, wy = y - 44;
        c.circle(wx, wy, 7.5, kOutline);
        c.circle(wx, wy, 5.5, kStoneDark);
        const double a = turn * (M_PI / 4) * side;
        c.line(wx - std::cos(a) * 4.5, wy - std::sin(a) * 4.5, wx + std::cos(a) * 4.5, wy + std::sin(a) * 4.5, 1.8, kStoneLight);
    }
    c.line(x, y - 26, x, y - 8, 6, kOutline);
    c.line(x, y - 26, x, y - 8, 3, kStoneLight);
    // The hook itself, open to the front.
    c.ring(x + 5, y - 3, 8, 5.5, kOutline);
    c.ring(x + 5, y - 3, 7, 3, kGold);
    c.erase([=](double px, double py) { return px > x + 5 && py < y - 3; }, x + 4, y - 14, x + 16, y - 2);
    if (spark)
        for (int i = 0; i < 3; ++i) drawSparkle(c, x - 14 + i * 14, y - 52 - (i % 2) * 4, 6);
}

// The gate: an iron portcullis standing on its position, 160 pixels tall.
void gate(SampleCanvas& c, double x, double y, int shine) {
    c.roundRect(x - 26, y - 164, 52, 164, 4, kOutline);
    for (int i = 0; i < 4; ++i) c.roundRect(x - 21 + i * 12, y - 162, 6, 160, 2, kStone);
    for (int j = 0; j < 6; ++j) c.roundRect(x - 23, y - 150 + j * 26, 46, 6, 2, kStoneDark);
    for (int i = 0; i < 4; ++i)
        c.polygon({{x - 21 + i * 12, y - 2}, {x - 18 + i * 12, y + 4}, {x - 15 + i * 12, y - 2}}, kStoneDark);
    c.line(x - 19 + shine * 12, y - 158, x - 19 + shine * 12, y - 6, 1.5, kStoneLight);
}

// The lever on its base, tilted `tilt` (-1 back .. 1 thrown forward).
void lever(SampleCanvas& c, double x, double y, double tilt) {
    const double a = tilt * 0.8;
    const double tx = x + std::sin(a) * 30, ty = y - 12 - std::cos(a) * 30;
    c.line(x, y - 12, tx, ty, 7, kOutline);
    c.line(x, y - 12, tx, ty, 4, kFurDark);
    c.circle(tx, ty, 6.5, kOutline);
    c.circle(tx, ty, 4.5, tilt > 0.5 ? kLeaf : kEmber);
    c.roundRect(x - 16, y - 16, 32, 16, 5, kOutline);
    c.roundRect(x - 13.5, y - 14, 27, 12, 4, kStone);
    c.roundRect(x - 11, y - 13, 22, 3, 1.5, kStoneLight);
}

}  // namespace

void drawHookCarriageSprite(SpriteSheet& sheet) {
    for (int i = 0; i < 5; ++i) {
        FrameCanvas f(-30, -64, 30, 10);
        carriage(f.canvas, f.ax(0), f.ay(0), i % 4, i == 4);
        f.addTo(sheet, i);
    }
    sheet.animation(0, {{0, 4}});
    sheet.animation(1, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
    sheet.animation(2, {{4, 1}, {0, 2}, {4, 1}, {0, 4}});
}

void drawGateSprite(SpriteSheet& sheet) {
    for (int i = 0; i < 2; ++i) {
        FrameCanvas f(-30, -168, 30, 8);
        gate(f.canvas, f.ax(0), f.ay(0), i * 2);
        f.addTo(sheet, i);
    }
    const double tilts[6] = {-1, -0.6, -0.2, 0.2, 0.6, 1};
    for (int i = 0; i < 6; ++i) {
        FrameCanvas f(-40, -56, 40, 4);
        lever(f.canvas, f.ax(0), f.ay(0), tilts[i]);
        f.addTo(sheet, 2 + i);
    }
    sheet.animation(0, {{0, 6}, {1, 1}});
    sheet.animation(1, {{2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 3}});
    sheet.animation(2, {{2, 4}});
}

}  // namespace tools::art

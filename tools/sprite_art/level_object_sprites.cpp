// The level objects whose actors have no behaviour table: the level record or a trigger script picks
// their animation, so each sprite's animation 0 is the look a level gets by default. Sprite 3 the
// geyser (drawn behind everything; its updraft region comes from the record, not the picture),
// 9 the background beacon, 11 the pod the hero strikes to ride, 12 the warp door, 27 the crate
// (also the breakable one, which takes hits), 30 the spinning burr, 32 the air station the
// submarine docks at (box 0, the dock, on every frame: the code takes its collision box from it).
#include <array>
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

// A puff of steam with a soft rim, lighter on top.
void puff(SampleCanvas& c, double x, double y, double r, uint8_t opacity) {
    c.circle(x, y, r + 1.5, kStone, static_cast<uint8_t>(opacity / 2));
    c.circle(x, y, r, kStoneLight, opacity);
    c.circle(x - r * 0.25, y - r * 0.3, r * 0.55, kMist, opacity);
}

// The geyser's vent on its position; `gush` 0 at rest (wisps only), 1 the updraft: a jet from the
// vent and a column of puffs rising and narrowing, moved up by `phase`.
void geyser(SampleCanvas& c, double x, double y, int gush, int phase) {
    if (gush) {
        c.polygon({{x - 26, y - 14}, {x + 26, y - 14}, {x + 12, y - 210}, {x - 12, y - 210}}, kHaze, 60);
        for (int i = 0; i < 14; ++i) {
            const double t = ((i * 3 + phase * 3) % 42) / 42.0;   // 0 at the vent .. 1 at the top
            const double py = y - 24 - t * 190, spread = 34 * (1 - t * 0.65);
            const uint8_t o = static_cast<uint8_t>(235 - t * 140);
            puff(c, x + std::sin(t * 9) * spread * 0.5, py, 19 - t * 9, o);
        }
        c.line(x, y - 12, x, y - 70, 12, kHaze, 200);
        c.line(x, y - 12, x, y - 60, 5, kWhite, 220);
    } else {
        for (int i = 0; i < 3; ++i) puff(c, x - 10 + i * 10, y - 22 - ((i + phase) % 3) * 8, 7, 170);
    }
    // The vent: a ring of stones around a dark mouth.
    c.ellipse(x, y - 4, 40, 10, kShadow, 100);
    c.ellipse(x, y - 8, 36, 12, kOutline);
    c.ellipse(x, y - 9, 33, 9.5, kStone);
    c.ellipse(x, y - 11, 22, 6, kOutline);
    c.ellipse(x, y - 11, 19, 4.5, kNight);
    for (int i = 0; i < 5; ++i) c.circle(x - 28 + i * 14, y - 6 - (i % 2) * 3, 3, kStoneLight);
}

// The beacon in the background: a tall crystal on a stone plinth; `glow` 0 dim .. 3 bright.
void beacon(SampleCanvas& c, double x, double y, int glow) {
    c.roundRect(x - 30, y - 28, 60, 28, 6, kOutline);
    c.roundRect(x - 27, y - 26, 54, 23, 4, kStoneDark);
    c.roundRect(x - 24, y - 25, 48, 4, 2, kStone);
    if (glow) c.ellipse(x, y - 90, 40 + glow * 6, 70 + glow * 6, kHaze, static_cast<uint8_t>(30 + glow * 25));
    const uint32_t body = glow ? kHaze : kSky, light = glow ? kWhite : kSkyLight;
    c.polygon({{x - 20, y - 26}, {x + 20, y - 26}, {x + 13, y - 130}, {x, y - 156}, {x - 13, y - 130}}, kOutline);
    c.polygon({{x - 16, y - 28}, {x + 16, y - 28}, {x + 10, y - 128}, {x, y - 150}, {x - 10, y - 128}}, glow ? kSkyLight : kDusk);
    c.polygon({{x - 16, y - 28}, {x - 2, y - 28}, {x - 2, y - 144}, {x - 10, y - 128}}, body);
    c.line(x - 8, y - 40, x - 6, y - 120, 2.5, light, 200);
    if (glow > 1) drawSparkle(c, x + 6, y - 136 + glow * 4, 6 + glow);
}

// The pod the hero strikes to ride: a round seed with a ring handle, centred on its position;
// `tilt` rocks it, `hit` flashes it.
void pod(SampleCanvas& c, double x, double y, double tilt, bool hit) {
    const double hx = x + std::sin(tilt) * 14, hy = y - std::cos(tilt) * 14;
    c.ring(hx, hy - 5, 8, 5, kOutline);
    c.ring(hx, hy - 5, 7, 2.5, kGold);
    c.circle(x, y, 17.5, kOutline);
    c.circle(x, y, 15, hit ? kEmberLight : kLeaf);
    c.fill([=](double px, double py) { return std::hypot(px - x, py - y) <= 15 && px - x + (py - y) * 0.3 > 5; },
           hit ? kEmber : kLeafDark, x - 15, y - 15, x + 15, y + 15);
    c.ellipse(x - 5 + std::sin(tilt) * 3, y - 6, 5, 3, hit ? kWhite : kLeafLight);
    for (int i = -1; i <= 1; ++i) c.line(x + i * 6, y - 11, x + i * 7, y + 11, 1.6, hit ? kEmberDark : kLeafDark, 150);
}

// The warp door standing on its position: a stone arch around a swirl turned by `turn`; sealed, the
// swirl is gone and a bar crosses the arch.
void warpDoor(SampleCanvas& c, double x, double y, int turn, bool sealed) {
    auto arch = [=](double grow) {
        return [=](double px, double py) {
            const double top = y - 110;
            if (py > y || px < x - 44 - grow || px > x + 44 + grow) return false;
            return py >= top || std::hypot(px - x, py - top) <= 44 + grow;
        };
    };
    c.ellipse(x, y - 2, 52, 7, kShadow, 100);
    c.fill(arch(3), kOutline, x - 50, y - 160, x + 50, y);
    c.fill(arch(0), kStone, x - 48, y - 158, x + 48, y);
    c.fill(arch(-10), kOutline, x - 40, y - 150, x + 40, y);
    c.fill(arch(-12.5), sealed ? kNight : kDusk, x - 40, y - 150, x + 40, y);
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI + i * M_PI / 5;
        c.circle(x + std::cos(a) * 50, y - 110 + std::sin(a) * 50, 3, kStoneLight);
    }
    if (sealed) {
        c.roundRect(x - 38, y - 80, 76, 12, 4, kOutline);
        c.roundRect(x - 36, y - 78, 72, 8, 3, kFurDark);
        return;
    }
    // The swirl: arms of light wound round the doorway's middle.
    const double cx = x, cy = y - 80;
    for (int arm = 0; arm < 3; ++arm)
        for (int k = 0; k < 14; ++k) {
            const double a = arm * 2 * M_PI / 3 + k * 0.38 + turn * M_PI / 6, r = 4 + k * 2.4;
            c.circle(cx + std::cos(a) * r, cy + std::sin(a) * r * 1.5, 4.2 - k * 0.2, k < 5 ? kWhite : kHaze,
                     static_cast<uint8_t>(230 - k * 10));
        }
    c.circle(cx, cy, 6, kWhite);
}

// The crate standing on its position; `shake` tips it, `hurt` flashes it, `split` 0..1 flies it apart.
void crate(SampleCanvas& c, double x, double y, double shake, bool hurt, double split) {
    c.ellipse(x, y - 2, 32, 6, kShadow, 100);
    if (split > 0) {
        for (int i = 0; i < 6; ++i) {
            const double a = -M_PI * (0.15 + i * 0.14), d = 8 + split * 44;
            const double px = x + std::cos(a) * d, py = y - 24 + std::sin(a) * d * 0.8 + split * split * 20;
            const double t = a * 2 + split * 3;
            const double dx = std::cos(t) * 14, dy = std::sin(t) * 14;
            c.line(px - dx, py - dy, px + dx, py + dy, 9, kOutline);
            c.line(px - dx, py - dy, px + dx, py + dy, 5.5, i % 2 ? kFur : kFurLight);
        }
        for (int i = 0; i < 4; ++i)
            c.circle(x - 24 + i * 16, y - 10 - (i % 2) * 8, 10 + split * 6, kMist, static_cast<uint8_t>(190 - split * 150));
        return;
    }
    const double sx = x + shake * 3;
    const uint32_t board = hurt ? kEmberLight : kFur, dark = hurt ? kEmber : kFurDark;
    c.roundRect(sx - 28, y - 56, 56, 56, 5, kOutline);
    c.roundRect(sx - 25, y - 53, 50, 50, 3, board);
    for (int i = 0; i < 3; ++i) c.line(sx - 23, y - 40 + i * 16, sx + 23, y - 40 + i * 16, 1.6, dark, 160);
    c.line(sx - 21, y - 7, sx + 21, y - 49, 7, kOutline);
    c.line(sx - 21, y - 7, sx + 21, y - 49, 4, dark);
    for (int cx = -1; cx <= 1; cx += 2)
        for (int cy = 0; cy < 2; ++cy) c.circle(sx + cx * 19, y - 47 + cy * 38, 2.6, kStoneLight);
}

// The burr, centred on its position: a spiked seed turned by `turn`; `burst` 0..1 breaks it apart.
void burr(SampleCanvas& c, double x, double y, double turn, double burst) {
    if (burst > 0) {
        for (int i = 0; i < 8; ++i) {
            const double a = turn + i * M_PI / 4, d = 6 + burst * 22;
            c.line(x + std::cos(a) * d, y + std::sin(a) * d, x + std::cos(a) * (d + 8), y + std::sin(a) * (d + 8), 4.5,
                   kOutline);
            c.line(x + std::cos(a) * d, y + std::sin(a) * d, x + std::cos(a) * (d + 8), y + std::sin(a) * (d + 8), 2,
                   kGold, static_cast<uint8_t>(255 - burst * 120));
        }
        c.circle(x, y, 10 * (1 - burst) + 2, kGoldLight, static_cast<uint8_t>(220 - burst * 180));
        return;
    }
    for (int i = 0; i < 8; ++i) {
        const double a = turn + i * M_PI / 4;
        c.polygon({{x + std::cos(a - 0.28) * 10, y + std::sin(a - 0.28) * 10},
                   {x + std::cos(a) * 19, y + std::sin(a) * 19},
                   {x + std::cos(a + 0.28) * 10, y + std::sin(a + 0.28) * 10}},
                  kOutline);
        c.line(x + std::cos(a) * 9, y + std::sin(a) * 9, x + std::cos(a) * 16.5, y + std::sin(a) * 16.5, 2.2,
               i % 2 ? kGold : kGoldLight);
    }
    c.circle(x, y, 11.5, kOutline);
    c.circle(x, y, 9.5, kGoldDark);
    c.circle(x + std::cos(turn) * 3, y + std::sin(turn) * 3, 4, kGold);
    c.circle(x - 3, y - 3, 2.5, kGoldLight);
}

// The air station on the sea bed: a base with a vent pipe whose mouth is at (31, -14), two cradle
// arms around the dock above it, lamps round the dock lit by `lamp` (0 waiting, 1 filling), and
// bubbles from the vent moved up by `phase`.
constexpr int kDockY = -100;   // the dock's middle: the submarine is centred there
void airStation(SampleCanvas& c, double x, double y, int lamp, int phase) {
    const double dy = y + kDockY;
    c.ring(x, dy, 57.5, 3, kHaze, 90);
    for (int i = 0; i < 10; ++i) {
        const double a = i * M_PI / 5 + phase * 0.2;
        c.circle(x + std::cos(a) * 56, dy + std::sin(a) * 56, 3.5, kOutline, 200);
        const bool on = lamp ? (i + phase) % 2 == 0 : i == phase % 10;
        c.circle(x + std::cos(a) * 56, dy + std::sin(a) * 56, 2.3, on ? (lamp ? kLeafLight : kGoldLight) : kStone,
                 on ? 255 : 160);
    }
    for (int side = -1; side <= 1; side += 2) {
        c.line(x + side * 26, y - 26, x + side * 52, dy + 30, 9, kOutline);
        c.line(x + side * 26, y - 26, x + side * 52, dy + 30, 5, kStone);
        c.circle(x + side * 52, dy + 30, 6.5, kOutline);
        c.circle(x + side * 52, dy + 30, 4.5, kStoneLight);
    }
    c.ellipse(x, y - 2, 50, 8, kShadow, 100);
    c.roundRect(x - 40, y - 30, 80, 30, 8, kOutline);
    c.roundRect(x - 37, y - 28, 74, 25, 6, kStoneDark);
    c.roundRect(x - 34, y - 27, 68, 5, 2.5, kStone);
    c.roundRect(x - 12, y - 22, 24, 12, 4, kOutline);
    c.roundRect(x - 10, y - 21, 20, 9, 3, lamp ? kLeaf : kGoldDark);
    // The vent pipe, its mouth where the game lets its bubbles out.
    c.line(x + 22, y - 10, x + 31, y - 10, 9, kOutline);
    c.line(x + 31, y - 10, x + 31, y - 16, 9, kOutline);
    c.line(x + 22, y - 10, x + 31, y - 10, 5, kStoneLight);
    c.line(x + 31, y - 10, x + 31, y - 16, 5, kStoneLight);
    if (lamp)
        for (int i = 0; i < 3; ++i) drawBubble(c, x + 31 + (i % 2) * 5 - 2, y - 26 - ((i * 12 + phase * 6) % 36), 3.5, phase);
}

}  // namespace

void drawGeyserSprite(SpriteSheet& sheet) {
    int next = 0;
    for (int phase = 0; phase < 4; ++phase) {
        FrameCanvas f(-56, -236, 56, 8);
        geyser(f.canvas, f.ax(0), f.ay(0), 1, phase);
        f.addTo(sheet, next++);
    }
    for (int phase = 0; phase < 3; ++phase) {
        FrameCanvas f(-48, -52, 48, 8);
        geyser(f.canvas, f.ax(0), f.ay(0), 0, phase);
        f.addTo(sheet, next++);
    }
    sheet.animation(0, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
    sheet.animation(1, {{4, 3}, {5, 3}, {6, 3}});
}

void drawBeaconSprite(SpriteSheet& sheet) {
    for (int glow = 0; glow < 4; ++glow) {
        FrameCanvas f(-70, -190, 70, 4);
        beacon(f.canvas, f.ax(0), f.ay(0), glow);
        f.addTo(sheet, glow);
    }
    sheet.animation(0, {{0, 8}, {1, 2}});
    sheet.animation(1, {{1, 1}, {2, 1}, {3, 2}, {2, 1}});
}

void drawPodSprite(SpriteSheet& sheet) {
    const double tilts[] = {0, 0.12, 0, -0.12, 0.45, -0.35, 0.2};
    for (int i = 0; i < 7; ++i) {
        FrameCanvas f(-28, -36, 28, 24);
        pod(f.canvas, f.ax(0), f.ay(i < 4 ? (i == 1 ? -1 : i == 3 ? 1 : 0) : 0), tilts[i], i == 4);
        f.addTo(sheet, i);
    }
    sheet.animation(0, {{0, 3}, {1, 3}, {2, 3}, {3, 3}});
    sheet.animation(1, {{4, 1}, {5, 1}, {6, 1}, {0, 1}});
}

void drawWarpDoorSprite(SpriteSheet& sheet) {
    for (int turn = 0; turn < 4; ++turn) {
        FrameCanvas f(-56, -164, 56, 8);
        warpDoor(f.canvas, f.ax(0), f.ay(0), turn, false);
        f.addTo(sheet, turn);
    }
    FrameCanvas f(-56, -164, 56, 8);
    warpDoor(f.canvas, f.ax(0), f.ay(0), 0, true);
    f.addTo(sheet, 4);
    sheet.animation(0, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
    sheet.animation(1, {{4, 4}});
}

void drawCrateSprite(SpriteSheet& sheet) {
    struct Look {
        double shake;
        bool hurt;
        double split;
    };
    const Look looks[] = {{0, false, 0}, {-1, true, 0}, {1, false, 0}, {0, false, 0.3}, {0, false, 0.65}, {0, false, 1}};
    for (int i = 0; i < 6; ++i) {
        FrameCanvas f(-64, -96, 64, 8);
        crate(f.canvas, f.ax(0), f.ay(0), looks[i].shake, looks[i].hurt, looks[i].split);
        f.addTo(sheet, i);
    }
    sheet.animation(0, {{0, 4}});
    sheet.animation(1, {{1, 1}, {2, 1}, {1, 1}, {0, 1}});
    sheet.animation(2, {{1, 1}, {3, 1}, {4, 1}, {5, 2}});
}

void drawBurrSprite(SpriteSheet& sheet) {
    int next = 0;
    for (int i = 0; i < 4; ++i) {
        FrameCanvas f(-24, -24, 24, 24);
        burr(f.canvas, f.ax(0), f.ay(0), i * M_PI / 16, 0);
        f.addTo(sheet, next++);
    }
    for (int i = 1; i <= 3; ++i) {
        FrameCanvas f(-40, -40, 40, 40);
        burr(f.canvas, f.ax(0), f.ay(0), 0, i / 3.0);
        f.addTo(sheet, next++);
    }
    sheet.animation(0, {{0, 1}, {1, 1}, {2, 1}, {3, 1}});
    sheet.animation(1, {{4, 1}, {5, 1}, {6, 1}});
}

void drawAirStationSprite(SpriteSheet& sheet) {
    // Box 0: the dock, a square the submarine's hull fills, centred kDockY above the position.
    constexpr std::array<int, 4> kDock = {-48, kDockY - 48, 96, 96};
    int next = 0;
    for (int lamp = 0; lamp < 2; ++lamp)
        for (int phase = 0; phase < 4; ++phase) {
            FrameCanvas f(-68, -168, 68, 8);
            airStation(f.canvas, f.ax(0), f.ay(0), lamp, lamp ? phase : phase * 3);
            f.addTo(sheet, next);
            sheet.box(next++, 0, kDock);
        }
    sheet.animation(0, {{0, 3}, {1, 3}, {2, 3}, {3, 3}});
    sheet.animation(1, {{4, 1}, {5, 1}, {6, 1}, {7, 1}});
}

}  // namespace tools::art

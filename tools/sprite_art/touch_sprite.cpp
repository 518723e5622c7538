// The touch-button sprite. The pad (frames 0 and 1, anchored at its centre) is split 3 x 3: its eight
// sector frames (4..11: up, down, left, right, up-left, down-left, up-right, down-right) each own one
// outer cell and the middle cell is a dead hub. The game hit-tests a button by its frame's measured
// box, excluding the border, so a sector frame is one module reaching one pixel past its cell on the
// low side: neighbouring boxes then meet with no gap and no overlap. The buttons are anchored at a
// corner or an edge of the landscape picture and drawn away from it.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr int kPadR = 112;   // pad radius
constexpr int kCell = 38;    // half the width of the middle row and column
constexpr int kHubR = 46;
constexpr int kSectorIn = 56;   // sector lights start outside the hub's reach (>= kCell * sqrt 2)
constexpr int kGap = 3;         // unlit margin along a cell's edges

// The cells of the sector frames, in frame order: column and row (-1, 0, 1).
constexpr int kSectorCells[8][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};

// Pixels [lo, hi] of column or row band k.
void band(int k, int& lo, int& hi) {
    lo = k < 0 ? -kPadR : k == 0 ? -kCell : kCell;
    hi = k < 0 ? -kCell - 1 : k == 0 ? kCell - 1 : kPadR - 1;
}

using Points = std::vector<std::pair<double, double>>;

// An arrow head pointing along (dx, dy) with its tip at distance `tip` from (cx, cy).
Points arrowHead(double cx, double cy, double dx, double dy, double tip, double size) {
    const double len = std::hypot(dx, dy);
    dx /= len, dy /= len;
    const double bx = cx + dx * (tip - size), by = cy + dy * (tip - size);
    return {{cx + dx * tip, cy + dy * tip}, {bx - dy * size * 0.9, by + dx * size * 0.9}, {bx + dy * size * 0.9, by - dx * size * 0.9}};
}

void padArrows(SampleCanvas& c, double cx, double cy, bool diagonals) {
    for (int i = 0; i < 8; ++i) {
        const bool diagonal = i >= 4;
        if (diagonal && !diagonals) continue;
        const double dx = kSectorCells[i][0], dy = kSectorCells[i][1];
        const double size = diagonal ? 8 : 12;
        c.polygon(arrowHead(cx, cy, dx, dy, diagonal ? 96 : 100, size + 2.5), art::kOutline, 200);
        c.polygon(arrowHead(cx, cy, dx, dy, diagonal ? 94 : 97, size), diagonal ? art::kSkyLight : art::kMist, 235);
    }
}

void hub(SampleCanvas& c, double cx, double cy, bool lit) {
    c.circle(cx, cy + 3, kHubR, art::kShadow, 110);
    c.circle(cx, cy, kHubR, art::kOutline, 235);
    c.circle(cx, cy, kHubR - 3, lit ? art::kGoldDark : art::kDusk, 235);
    c.ellipse(cx, cy - 9, kHubR - 10, kHubR - 20, lit ? art::kGold : art::kSky, 235);
    c.ellipse(cx - 12, cy - 22, 10, 5, art::kSkyLight, 220);
    for (int k = -1; k <= 1; ++k) c.line(cx - 14, cy + 8 * k + 2, cx + 14, cy + 8 * k + 2, 3, art::kNight, 150);
}

void padBase(SampleCanvas& c, double cx, double cy, bool diagonals) {
    c.circle(cx, cy + 4, kPadR, art::kShadow, 90);
    c.circle(cx, cy, kPadR, art::kOutline, 210);
    c.circle(cx, cy, kPadR - 3, art::kNight, 150);
    c.ring(cx, cy, kPadR - 3, 3, art::kSky, 200);
    c.ring(cx, cy, kSectorIn - 2, 2, art::kSky, 140);
    if (diagonals) {
        // The cells' edges, from the hub out to the rim.
        for (int s = -1; s <= 1; s += 2)
            for (int side = -1; side <= 1; side += 2) {
                const double a = s * kCell, far = side * std::sqrt(double((kPadR - 4) * (kPadR - 4) - kCell * kCell));
                const double near = side * std::sqrt(double(kSectorIn * kSectorIn - kCell * kCell));
                c.line(cx + a, cy + near, cx + a, cy + far, 2, art::kSkyLight, 110);
                c.line(cx + near, cy + a, cx + far, cy + a, 2, art::kSkyLight, 110);
            }
    }
    padArrows(c, cx, cy, diagonals);
}

void sectorFrame(SpriteSheet& sheet, int frame) {
    FrameCanvas f(-kPadR - 1, -kPadR - 1, kPadR + 1, kPadR + 1);
    const int cellX = kSectorCells[frame - 4][0], cellY = kSectorCells[frame - 4][1];
    int xl, xh, yl, yh;
    band(cellX, xl, xh);
    band(cellY, yl, yh);
    const double cx = f.ax(0), cy = f.ay(0);
    const double gx0 = f.ax(xl + (cellX < 0 ? 0 : kGap)), gx1 = f.ax(xh + 1 - (cellX > 0 ? 0 : kGap));
    const double gy0 = f.ay(yl + (cellY < 0 ? 0 : kGap)), gy1 = f.ay(yh + 1 - (cellY > 0 ? 0 : kGap));
    auto inCell = [=](double x, double y) { return x >= gx0 && x < gx1 && y >= gy0 && y < gy1; };
    auto inRing = [=](double x, double y, double r0, double r1) {
        const double d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
    f.canvas.fill([&](double x, double y) { return inCell(x, y) && inRing(x, y, kSectorIn, kPadR - 2); }, art::kGoldDark,
                  0, 0, f.canvas.width(), f.canvas.height(), 210);
    f.canvas.fill([&](double x, double y) { return inCell(x, y) && inRing(x, y, kSectorIn + 3, kPadR - 6); },
                  [=](double x, double y) { return std::hypot(x - cx, y - cy) > kPadR - 30 ? art::kGoldLight : art::kGold; },
                  0, 0, f.canvas.width(), f.canvas.height(), 225);
    const bool diagonal = frame >= 8;
    const double size = diagonal ? 9 : 13;
    f.canvas.polygon(arrowHead(cx, cy, cellX, cellY, diagonal ? 97 : 100, size + 2.5), art::kOutline, 230);
    f.canvas.polygon(arrowHead(cx, cy, cellX, cellY, diagonal ? 95 : 97, size), art::kWhite);
    // One module per cell, from one pixel before the cell's first pixel to its last.
    sheet.exactFrame(frame, f.canvas, -f.x0, -f.y0,
                     {{static_cast<int>(f.ax(xl - 1)), static_cast<int>(f.ay(yl - 1)), xh - xl + 2, yh - yl + 2}});
}

using Icon = void (*)(SampleCanvas&, double, double, double, uint32_t);

void wrenchIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    const double k = s / 30;
    const double hx = cx + 9 * k, hy = cy - 9 * k;   // the head, open towards the top right
    c.line(cx - 16 * k, cy + 16 * k, hx, hy, 10 * k, ink);
    c.fill(
        [=](double x, double y) {
            const double d = std::hypot(x - hx, y - hy);
            const double along = ((x - hx) - (y - hy)) / std::sqrt(2.0), across = ((x - hx) + (y - hy)) / std::sqrt(2.0);
            return d <= 15 * k && !(along > -2 * k && std::fabs(across) < 5.5 * k);
        },
        ink, hx - 16 * k, hy - 16 * k, hx + 16 * k, hy + 16 * k);
}

void boltIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    const double k = s / 30;
    c.polygon({{cx + 4 * k, cy - 26 * k}, {cx - 14 * k, cy + 4 * k}, {cx - 1 * k, cy + 4 * k}, {cx - 6 * k, cy + 26 * k},
               {cx + 14 * k, cy - 6 * k}, {cx + 1 * k, cy - 6 * k}},
              ink);
}

void leftIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    c.polygon(arrowHead(cx + s * 0.35, cy, -1, 0, s * 0.85, s * 0.55), ink);
}
void rightIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    c.polygon(arrowHead(cx - s * 0.35, cy, 1, 0, s * 0.85, s * 0.55), ink);
}

void brakeIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    const double k = s / 30;
    c.roundRect(cx - 20 * k, cy - 24 * k, 40 * k, 8 * k, 3 * k, ink);
    c.polygon(arrowHead(cx, cy - 12 * k, 0, 1, 18 * k, 14 * k), ink);
    c.polygon(arrowHead(cx, cy + 2 * k, 0, 1, 22 * k, 14 * k), ink);
}

void shieldIcon(SampleCanvas& c, double cx, double cy, double s, uint32_t ink) {
    c.ring(cx, cy, s * 0.8, s * 0.2, ink);
    c.ellipse(cx - s * 0.25, cy - s * 0.3, s * 0.22, s * 0.13, ink);
    c.circle(cx + s * 0.28, cy + s * 0.25, s * 0.09, ink);
}

// A round button centred (dx, dy) from the frame's origin.
void button(SpriteSheet& sheet, int frame, double dx, double dy, double r, bool lit, Icon icon) {
    FrameCanvas f(static_cast<int>(dx - r - 2), static_cast<int>(dy - r - 2), static_cast<int>(dx + r + 2),
                  static_cast<int>(dy + r + 6));
    drawRoundButton(f.canvas, f.ax(dx), f.ay(dy), r, lit);
    const double s = r * 0.55;
    icon(f.canvas, f.ax(dx) + 1.5, f.ay(dy) + 2, s, art::kOutline);
    icon(f.canvas, f.ax(dx), f.ay(dy), s, lit ? art::kWhite : art::kMist);
    f.addTo(sheet, frame);
}

}  // namespace

void drawRoundButton(SampleCanvas& c, double cx, double cy, double r, bool lit) {
    c.circle(cx, cy + 4, r, art::kShadow, 100);
    c.circle(cx, cy, r, art::kOutline, 230);
    c.circle(cx, cy, r - 3, lit ? art::kGoldDark : art::kNight, lit ? 240 : 170);
    c.fill([=](double x, double y) { return std::hypot(x - cx, y - cy) <= r - 6 && y < cy + r * 0.15; },
           lit ? art::kGold : art::kDusk, cx - r, cy - r, cx + r, cy + r, lit ? 240 : 190);
    c.ring(cx, cy, r - 3, 2.5, lit ? art::kGoldLight : art::kSky, 220);
    c.ellipse(cx - r * 0.35, cy - r * 0.55, r * 0.22, r * 0.1, lit ? art::kWhite : art::kSkyLight, 170);
}

void drawTouchSprite(SpriteSheet& sheet) {
    // 0: the idle pad; 1: the four-way pad.
    for (int frame = 0; frame < 2; ++frame) {
        FrameCanvas f(-kPadR - 2, -kPadR - 2, kPadR + 2, kPadR + 8);
        padBase(f.canvas, f.ax(0), f.ay(0), frame == 0);
        hub(f.canvas, f.ax(0), f.ay(0), false);
        f.addTo(sheet, frame);
    }
    for (int frame = 4; frame < 12; ++frame) sectorFrame(sheet, frame);

    // Anchored at the bottom-right corner: spark (key '0') and strike (key '5').
    constexpr double kSparkX = -68, kSparkY = -170, kSparkR = 52, kStrikeX = -178, kStrikeY = -62, kStrikeR = 58;
    {
        FrameCanvas f(-240, -226, 0, 0);
        drawRoundButton(f.canvas, f.ax(kSparkX), f.ay(kSparkY), kSparkR, false);
        boltIcon(f.canvas, f.ax(kSparkX), f.ay(kSparkY), kSparkR * 0.55, art::kMist);
        drawRoundButton(f.canvas, f.ax(kStrikeX), f.ay(kStrikeY), kStrikeR, false);
        wrenchIcon(f.canvas, f.ax(kStrikeX), f.ay(kStrikeY), kStrikeR * 0.55, art::kMist);
        f.addTo(sheet, 2);
    }
    button(sheet, 12, kSparkX, kSparkY, kSparkR, true, boltIcon);
    button(sheet, 13, kStrikeX, kStrikeY, kStrikeR, true, wrenchIcon);

    // The single strike button in the corner (3 idle, 14 pressed; 26 and 27 the same for the
    // four-way layout) and the big one (22; 21 and 23 its lit looks).
    constexpr double kCornerX = -90, kCornerY = -90, kCornerR = 62;
    button(sheet, 3, kCornerX, kCornerY, kCornerR, false, wrenchIcon);
    button(sheet, 14, kCornerX, kCornerY, kCornerR, true, wrenchIcon);
    button(sheet, 26, kCornerX, kCornerY, kCornerR, false, wrenchIcon);
    button(sheet, 27, kCornerX, kCornerY, kCornerR, true, wrenchIcon);
    button(sheet, 22, -110, -110, 78, false, wrenchIcon);
    button(sheet, 21, -110, -110, 78, true, wrenchIcon);
    button(sheet, 23, -110, -110, 78, true, boltIcon);

    // The race: left and right at the middle of the sides, brake bottom-left, shield bottom-right.
    constexpr double kSideR = 55;
    button(sheet, 17, 72, 0, kSideR, false, leftIcon);
    button(sheet, 18, 72, 0, kSideR, true, leftIcon);
    button(sheet, 15, -72, 0, kSideR, false, rightIcon);
    button(sheet, 16, -72, 0, kSideR, true, rightIcon);
    button(sheet, 24, 80, -85, kSideR, false, brakeIcon);
    button(sheet, 25, 80, -85, kSideR, true, brakeIcon);
    button(sheet, 19, kCornerX, kCornerY, kSideR, false, shieldIcon);
    button(sheet, 20, kCornerX, kCornerY, kSideR, true, shieldIcon);
}

}  // namespace tools::art

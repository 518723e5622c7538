// The menu sprite: screen transition shutters, scroll arrows, row plates, the soft-key plates and
// the help browser's page arrows. Frame numbers are the ones the menu code draws.
#include <cmath>

#include "tools/ui_art/ui_menu.h"
#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

namespace {

struct Look {
    Rgb top, bottom, rim, ink;
};

const Look kNormal{hex(kSky), hex(kNight), hex(kSkyLight), hex(kGold)};
const Look kLit{hex(kGoldLight), hex(kGoldDark), hex(kWhite), hex(kWhite)};
const Look kOff{hex(kStone), hex(kStoneDark), hex(kStoneLight), hex(kStoneLight)};

void diamond(Canvas& c, double x, double y, double r, Rgb fill) {
    c.polygon({{x, y - r - 2}, {x + r + 2, y}, {x, y + r + 2}, {x - r - 2, y}}, hex(kOutline));
    c.polygon({{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}}, fill);
}

// A pill-shaped plate with a rim light along its top, outlined.
Canvas plate(int w, int h, double x, double y, double pw, double ph, double radius, const Look& look) {
    Canvas c(w, h);
    c.gradientRect(x, y, pw, ph, radius, look.top, look.bottom);
    c.roundRect(x + radius * 0.6, y + 4, pw - radius * 1.2, 5, 2.5, mix(look.rim, look.top, 0.35));
    c.outline(3, hex(kOutline));
    return c;
}

Canvas row(const Look& look, bool gems) {
    Canvas c = plate(480, 74, 10, 10, 460, 54, 27, look);
    if (gems) {
        diamond(c, 36, 37, 7, look.ink);
        diamond(c, 444, 37, 7, look.ink);
    }
    return c;
}

// The arrows are drawn 110 px from the middle row and the outer rows' plates reach 100 px: the
// box sits this far further out, with clear rows back to the anchor, so the painted (and hit-tested)
// frame spans the box and the gap and a list low on the screen keeps its down arrow on the screen.
constexpr int kArrowOut = 12;

// The up arrow's box at the top of its picture, clear rows below; flipped it is the down arrow.
Canvas arrowBox(const Look& look) {
    Canvas c = plate(104, 38 + kArrowOut, 4, 4, 96, 30, 12, look);
    c.polygon({{52, 9}, {68, 26}, {36, 26}}, hex(kOutline));
    c.polygon({{52, 13}, {63, 24}, {41, 24}}, look.ink);
    return c;
}

Canvas cornerIcon(const Look& look) {
    Canvas c(88, 88);
    c.gradientRect(6, -60, 140, 140, 36, look.top, look.bottom);
    c.outline(3, hex(kOutline));
    const Rgb bars = &look == &kLit ? hex(kNight) : hex(kMist);
    c.roundRect(30, 20, 11, 34, 4, hex(kOutline));
    c.roundRect(50, 20, 11, 34, 4, hex(kOutline));
    c.roundRect(32, 22, 7, 30, 3, bars);
    c.roundRect(52, 22, 7, 30, 3, bars);
    return c;
}

// The soft-key tab: its top corners rounded, running off the bottom of the screen.
Canvas tab(int w, const Look& look) {
    Canvas c(w, 54);
    c.gradientRect(3, 4, w - 6, 90, 20, look.top, look.bottom);
    c.roundRect(16, 8, w - 32, 4, 2, mix(look.rim, look.top, 0.35));
    c.outline(3, hex(kOutline));
    return c;
}

Canvas backKey(const Look& look) {
    Canvas c = tab(112, look);
    const Rgb ink = &look == &kLit ? hex(kNight) : hex(kMist);
    for (const auto& [colour, grow] : {std::pair{hex(kOutline), 2.5}, std::pair{ink, 0.0}}) {
        c.polygon({{30 - grow, 28}, {50 + grow, 12 - grow}, {50 + grow, 44 + grow}}, colour);
        c.line(48, 28, 76, 28, 10 + 2 * grow, colour);
        c.line(76, 28, 76, 40, 10 + 2 * grow, colour);
    }
    return c;
}

Canvas skipKey(const Look& look) {
    Canvas c = tab(112, look);
    const Rgb ink = &look == &kLit ? hex(kNight) : hex(kMist);
    for (const auto& [colour, grow] : {std::pair{hex(kOutline), 2.5}, std::pair{ink, 0.0}}) {
        c.polygon({{32 - grow, 13 - grow}, {54 + grow, 28}, {32 - grow, 43 + grow}}, colour);
        c.polygon({{54 - grow, 13 - grow}, {76 + grow, 28}, {54 - grow, 43 + grow}}, colour);
        c.roundRect(78 - grow, 13 - grow, 6 + 2 * grow, 30 + 2 * grow, 2, colour);
    }
    return c;
}

Canvas pageArrow(const Look& look) {
    Canvas c(76, 76);
    c.shape([](double x, double y) { return std::hypot(x - 38, y - 38) <= 33; },
            [&](int, int y) { return mix(look.top, look.bottom, y / 76.0); });
    c.roundRect(22, 10, 32, 5, 2.5, mix(look.rim, look.top, 0.35));
    c.outline(3, hex(kOutline));
    c.polygon({{22, 38}, {46, 18}, {46, 58}}, hex(kOutline));
    c.polygon({{27, 38}, {43, 25}, {43, 51}}, look.ink);
    return c;
}

// A half of the screen transition: a night-blue door with an inset panel and a gold edge.
void shutterParts(SpriteBuilder& b, std::vector<FramePart>& parts, int width) {
    if (width <= 0) return;
    const int panel = b.fillRect(kNight, width, 480);
    parts.push_back({panel, -400, -240});
    parts.push_back({panel, 400 - width, -240});
    if (width > 40) {
        const int inset = b.fillRect(kDusk, width - 40, 400);
        parts.push_back({inset, -400 + 20, -200});
        parts.push_back({inset, 400 - width + 20, -200});
    }
    const int edge = b.fillRect(kOutline, 4, 480), gold = b.fillRect(kGold, 6, 480);
    parts.push_back({edge, -400 + width - 4, -240});
    parts.push_back({gold, -400 + width - 10, -240});
    parts.push_back({edge, 400 - width, -240});
    parts.push_back({gold, 400 - width + 4, -240});
}

}  // namespace

void buildMenuSprite(SpriteBuilder& b) {
    // Frames 0..5: the shutters from open to closed, the emblem on the closed doors.
    for (int k = 0; k <= 5; ++k) {
        std::vector<FramePart> parts;
        shutterParts(b, parts, k * 80);
        if (k == 5) {
            const int badge = b.image(emblem(150));
            parts.push_back({badge, -75, -75});
        }
        b.frameAt(k, parts);
    }
    const int up = b.image(arrowBox(kNormal)), upLit = b.image(arrowBox(kLit));
    const std::array<int, 4> upBoxRect{-52, -19 - kArrowOut, 104, 38 + kArrowOut}, downBoxRect{-52, -19, 104, 38 + kArrowOut};
    b.frameAt(kFrameArrowUp, {{up, -52, -19 - kArrowOut}}, {upBoxRect});
    b.frameAt(kFrameArrowDown, {{up, -52, -19, 2}}, {downBoxRect});
    const std::array<int, 4> rowRect{-240, -37, 480, 74};
    b.frameAt(kFrameRow, {{b.image(row(kNormal, true)), -240, -37}}, {rowRect});
    b.frameAt(kFrameRowDisabled, {{b.image(row(kOff, false)), -240, -37}}, {rowRect});
    b.frameAt(kFrameRowSelected, {{b.image(row(kLit, true)), -240, -37}}, {rowRect});
    b.frameAt(kFrameCorner, {{b.image(cornerIcon(kNormal)), -88, 0}}, {{-88, 0, 88, 88}});
    b.frameAt(kFrameCornerLit, {{b.image(cornerIcon(kLit)), -88, 0}}, {{-88, 0, 88, 88}});
    b.frameAt(kFrameLeftKey, {{b.image(tab(200, kNormal)), 0, -54}}, {{0, -54, 200, 54}});
    b.frameAt(kFrameLeftKeyLit, {{b.image(tab(200, kLit)), 0, -54}}, {{0, -54, 200, 54}});
    b.frameAt(kFrameRightKey, {{b.image(backKey(kNormal)), -112, -54}}, {{-112, -54, 112, 54}});
    b.frameAt(kFrameRightKeyLit, {{b.image(backKey(kLit)), -112, -54}}, {{-112, -54, 112, 54}});
    b.frameAt(kFrameSkipKey, {{b.image(skipKey(kNormal)), -112, -54}}, {{-112, -54, 112, 54}});
    b.frameAt(kFrameSkipKeyLit, {{b.image(skipKey(kLit)), -112, -54}}, {{-112, -54, 112, 54}});
    const int page = b.image(pageArrow(kNormal)), pageLit = b.image(pageArrow(kLit));
    const std::array<int, 4> pageRect{-38, -38, 76, 76};
    b.frameAt(kFramePageLeft, {{page, -38, -38}}, {pageRect});
    b.frameAt(kFramePageRight, {{page, -38, -38, 1}}, {pageRect});
    b.frameAt(kFrameArrowUpLit, {{upLit, -52, -19 - kArrowOut}}, {upBoxRect});
    b.frameAt(kFrameArrowDownLit, {{upLit, -52, -19, 2}}, {downBoxRect});
    b.frameAt(kFramePageLeftLit, {{pageLit, -38, -38}}, {pageRect});
    b.frameAt(kFramePageRightLit, {{pageLit, -38, -38, 1}}, {pageRect});

    b.animationAt(kAnimOpen, {{4}, {3}, {2}, {1}, {0}});
    b.animationAt(kAnimClose, {{1}, {2}, {3}, {4}, {5}});
    b.animationAt(kAnimUpIdle, {{kFrameArrowUp, 2}, {kFrameArrowUp, 1, 0, -2}, {kFrameArrowUp, 2, 0, -4}, {kFrameArrowUp, 1, 0, -2}});
    b.animationAt(kAnimUpFlash, {{kFrameArrowUpLit}, {kFrameArrowUp}, {kFrameArrowUpLit}, {kFrameArrowUp}});
    b.animationAt(kAnimDownIdle, {{kFrameArrowDown, 2}, {kFrameArrowDown, 1, 0, 2}, {kFrameArrowDown, 2, 0, 4}, {kFrameArrowDown, 1, 0, 2}});
    b.animationAt(kAnimDownFlash, {{kFrameArrowDownLit}, {kFrameArrowDown}, {kFrameArrowDownLit}, {kFrameArrowDown}});
    b.animationAt(kAnimPageLeftIdle, {{kFramePageLeft, 3}, {kFramePageLeft, 1, -2}, {kFramePageLeft, 2, -4}, {kFramePageLeft, 1, -2}});
    b.animationAt(kAnimPageLeftPress, {{kFramePageLeftLit, 2}, {kFramePageLeft, 1}});
    b.animationAt(kAnimPageRightIdle, {{kFramePageRight, 3}, {kFramePageRight, 1, 2}, {kFramePageRight, 2, 4}, {kFramePageRight, 1, 2}});
    b.animationAt(kAnimPageRightPress, {{kFramePageRightLit, 2}, {kFramePageRight, 1}});
}

}  // namespace tools::art

// Each picture: an outline pass (the shape grown by the outline width in kOutline), the body in the
// family's base colour, a darker lower part and a light highlight at the top left.
#include "tools/sprite_art/item_icons.h"

#include <cmath>

#include "tools/art_palette.h"

namespace tools::art {

namespace {

using Points = std::vector<std::pair<double, double>>;

// A star of `points` tips.
Points star(double cx, double cy, double outer, double inner, int points, double angle) {
    Points out;
    for (int i = 0; i < points * 2; ++i) {
        const double a = angle + i * M_PI / points - M_PI / 2, r = i % 2 ? inner : outer;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

}  // namespace

void drawSparkle(SampleCanvas& c, double cx, double cy, double size) {
    c.polygon({{cx, cy - size}, {cx + size * 0.22, cy - size * 0.22}, {cx + size, cy}, {cx + size * 0.22, cy + size * 0.22},
               {cx, cy + size}, {cx - size * 0.22, cy + size * 0.22}, {cx - size, cy}, {cx - size * 0.22, cy - size * 0.22}},
              kWhite, 240);
}

void drawHeroHead(SampleCanvas& c, double cx, double cy, double r, bool scarf) {
    const double k = r / 22;
    if (scarf) {
        // Two tails fluttering behind the neck.
        auto tail = [&](double dy, double len, uint32_t colour, double grow) {
            c.fill(
                [=](double x, double y) {
                    const double t = (x - cx) / (len * k);
                    if (t < 0.2 || t > 1) return false;
                    const double mid = cy + (dy + 6 * std::sin(t * 7)) * k - t * 8 * k;
                    return std::fabs(y - mid) <= (5.5 - 2.5 * t) * k + grow;
                },
                colour, cx, cy - 30 * k, cx + len * k + 4, cy + 30 * k);
        };
        tail(12, 78, kOutline, 2.2);
        tail(2, 64, kOutline, 2.2);
        tail(12, 78, kScarfDark, 0);
        tail(2, 64, kScarf, 0);
    }
    // Ears, then the face.
    for (int side = -1; side <= 1; side += 2) {
        const Points ear{{cx + side * 8 * k, cy - 14 * k}, {cx + side * 21 * k, cy - 26 * k}, {cx + side * 20 * k, cy - 6 * k}};
        c.polygon({{ear[0].first - side * 3, ear[0].second}, {ear[1].first + side * 2, ear[1].second - 3},
                   {ear[2].first + side * 3, ear[2].second + 2}},
                  kOutline);
        c.polygon(ear, kFurDark);
        c.polygon({{cx + side * 11 * k, cy - 13 * k}, {cx + side * 19 * k, cy - 21 * k}, {cx + side * 18 * k, cy - 9 * k}},
                  kEmberLight);
    }
    c.ellipse(cx, cy, 20 * k + 2.5, 17 * k + 2.5, kOutline);
    c.ellipse(cx, cy, 20 * k, 17 * k, kFur);
    c.fill([=](double x, double y) { return (x - cx) * (x - cx) / (400 * k * k) + (y - cy) * (y - cy) / (289 * k * k) <= 1 && y > cy + 6 * k; },
           kFurDark, cx - 20 * k, cy, cx + 20 * k, cy + 18 * k, 120);
    // Brindle stripes on the brow.
    for (int s = -1; s <= 1; ++s)
        c.line(cx + s * 7 * k, cy - 15 * k, cx + s * 5 * k, cy - 8 * k, 2.6 * k, kStripe);
    c.ellipse(cx - 6 * k, cy - 10 * k, 5 * k, 2.5 * k, kFurLight, 200);
    // Muzzle, eyes, nose.
    c.ellipse(cx, cy + 7 * k, 11 * k, 7.5 * k, kCream);
    for (int side = -1; side <= 1; side += 2) {
        c.ellipse(cx + side * 8 * k, cy - 2 * k, 3.6 * k, 4.4 * k, kOutline);
        c.circle(cx + side * 8 * k + 1.2 * k, cy - 3.5 * k, 1.3 * k, kWhite);
    }
    c.ellipse(cx, cy + 3.5 * k, 4 * k, 2.8 * k, kOutline);
    c.line(cx, cy + 5 * k, cx, cy + 9 * k, 1.4 * k, kOutline);
    c.line(cx - 4 * k, cy + 10 * k, cx, cy + 9 * k, 1.4 * k, kOutline);
    c.line(cx + 4 * k, cy + 10 * k, cx, cy + 9 * k, 1.4 * k, kOutline);
}

void drawStarShell(SampleCanvas& c, double cx, double cy, double r, int phase) {
    c.circle(cx, cy + 2, r, kShadow, 90);
    c.circle(cx, cy, r, kOutline);
    c.circle(cx, cy, r - 2.5, kEmberDark);
    c.circle(cx - r * 0.1, cy - r * 0.1, r - 5, kEmber);
    c.ellipse(cx - r * 0.35, cy - r * 0.45, r * 0.3, r * 0.16, kEmberLight);
    c.polygon(star(cx, cy + 1, r * 0.62 + 2.5, r * 0.27 + 2, 5, 0), kOutline);
    c.polygon(star(cx, cy + 1, r * 0.62, r * 0.27, 5, 0), kGold);
    c.polygon(star(cx - 1, cy, r * 0.38, r * 0.16, 5, 0), kGoldLight);
    const double a = phase * M_PI / 4 - M_PI / 2;
    drawSparkle(c, cx + std::cos(a) * r * 0.95, cy + std::sin(a) * r * 0.95, phase % 2 ? 5.5 : 7.5);
}

void drawChargeCell(SampleCanvas& c, double cx, double cy, double r, int glow) {
    const double w = r * 1.7, h = r * 1.35;
    const double x = cx - w / 2 - 2, y = cy - h / 2;
    c.roundRect(x + w - 1, cy - h * 0.2 - 2.5, 7.5, h * 0.4 + 5, 2, kOutline);
    c.roundRect(x + w, cy - h * 0.2, 5, h * 0.4, 1.5, kStoneLight);
    c.roundRect(x - 2.5, y - 2.5, w + 5, h + 5, 7, kOutline);
    c.roundRect(x, y, w, h, 5, kStone);
    // The window lights up from night to sky as the cell charges.
    const uint32_t window = glow >= 5 ? kSky : glow >= 3 ? kDusk : kNight;
    c.roundRect(x + 3, y + 3, w - 6, h - 6, 3, window);
    c.roundRect(x + 2, y + 1, w - 4, 3, 1.5, kStoneLight);
    const uint32_t bolt = glow >= 5 ? kWhite : glow >= 3 ? kGoldLight : kGold;
    if (glow >= 2) {
        // Sparks leaping off the bolt.
        const double a = glow * 1.1;
        c.circle(cx - 2 + std::cos(a) * r * 0.55, cy + std::sin(a) * r * 0.4, 1.8, kGoldLight);
        c.circle(cx - 2 - std::cos(a) * r * 0.6, cy - std::sin(a) * r * 0.35, 1.4, kGoldLight);
    }
    const double k = r / 30;
    const Points shape{{cx + 2 * k, cy - 24 * k}, {cx - 14 * k, cy + 4 * k}, {cx - 2 * k, cy + 4 * k}, {cx - 7 * k, cy + 24 * k},
                       {cx + 12 * k, cy - 6 * k}, {cx, cy - 6 * k}};
    Points outline;
    for (const auto& [px, py] : shape) outline.push_back({px + (px < cx - 2 ? -1.6 : 1.6), py + (py < cy ? -1.6 : 1.6)});
    c.polygon(outline, kOutline);
    c.polygon(shape, bolt);
}

void drawFeather(SampleCanvas& c, double cx, double cy, double r, double tilt) {
    // The vane along the local y axis, turned by tilt.
    auto vane = [=](double grow, double width) {
        return [=](double x, double y) {
            const double ca = std::cos(-tilt), sa = std::sin(-tilt);
            const double u = (x - cx) * ca - (y - cy) * sa, v = (x - cx) * sa + (y - cy) * ca;   // v along the shaft
            const double t = (v + r) / (2 * r);
            if (t < 0.02 || t > 0.98) return false;
            const double half = width * std::sin(t * M_PI) * (t < 0.5 ? 0.8 + t * 0.4 : 1.0);
            return std::fabs(u + (t - 0.5) * 3) <= half + grow;
        };
    };
    c.fill(vane(2.2, r * 0.48), kOutline, cx - r - 4, cy - r - 4, cx + r + 4, cy + r + 4);
    // White with a sky-blue tip; the far side of the shaft in shade.
    c.fill(vane(0, r * 0.48),
           [=](double x, double y) {
               const double along = -((x - cx) * std::sin(tilt)) + (y - cy) * std::cos(tilt);
               if (along < -r * 0.45) return along < -r * 0.7 ? kSky : kHaze;
               return x < cx ? kMist : kWhite;
           },
           cx - r, cy - r, cx + r, cy + r);
    const double ca = std::cos(tilt), sa = std::sin(tilt);
    auto at = [&](double u, double v) { return std::pair<double, double>{cx + u * ca - v * sa, cy + u * sa + v * ca}; };
    for (int i = -2; i <= 2; ++i) {
        const auto [ax0, ay0] = at(0, i * r * 0.28);
        const auto [ax1, ay1] = at(r * 0.38, i * r * 0.28 - r * 0.12);
        c.line(ax0, ay0, ax1, ay1, 1.2, kSkyLight);
    }
    const auto [sx0, sy0] = at(1.5, -r * 0.95);
    const auto [sx1, sy1] = at(-1.5, r * 1.1);
    c.line(sx0, sy0, sx1, sy1, 2.2, kGoldDark);
}

void drawBubble(SampleCanvas& c, double cx, double cy, double r, double wobble) {
    const double rx = r * (1 + 0.06 * wobble), ry = r * (1 - 0.06 * wobble);
    c.ellipse(cx, cy, rx + 2, ry + 2, kOutline, 220);
    c.ellipse(cx, cy, rx, ry, kHaze, 120);
    c.fill([=](double x, double y) {
        const double d = (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry);
        return d <= 1 && d >= 0.72;
    }, kSkyLight, cx - rx, cy - ry, cx + rx, cy + ry, 220);
    c.ellipse(cx - rx * 0.38, cy - ry * 0.42, rx * 0.28, ry * 0.16, kWhite, 240);
    c.circle(cx + rx * 0.42, cy + ry * 0.38, r * 0.09, kWhite, 220);
}

void drawBerry(SampleCanvas& c, double cx, double cy, double r) {
    const double br = r * 0.42;
    const double pts[3][2] = {{-0.45, 0.2}, {0.45, 0.2}, {0, -0.25}};
    for (const auto& p : pts) c.circle(cx + p[0] * r, cy + p[1] * r + 4, br + 2.4, kOutline);
    for (const auto& p : pts) {
        const double bx = cx + p[0] * r, by = cy + p[1] * r + 4;
        c.circle(bx, by, br, kEmberDark);
        c.circle(bx - br * 0.12, by - br * 0.12, br * 0.8, kEmber);
        c.circle(bx - br * 0.35, by - br * 0.38, br * 0.22, kEmberLight);
    }
    // The leaf and stalk on top.
    const Points leaf{{cx, cy - r * 0.55}, {cx + r * 0.35, cy - r * 1.0}, {cx + r * 0.85, cy - r * 0.85}, {cx + r * 0.45, cy - r * 0.5}};
    Points rim;
    for (const auto& [x, y] : leaf) rim.push_back({x + (x > cx + r * 0.4 ? 2 : -2), y + (y < cy - r * 0.7 ? -2 : 2)});
    c.polygon(rim, kOutline);
    c.polygon(leaf, kLeaf);
    c.line(cx, cy - r * 0.2, cx + r * 0.1, cy - r * 0.75, 2.5, kLeafDark);
}

void drawPear(SampleCanvas& c, double cx, double cy, double r) {
    auto body = [=](double grow) {
        return [=](double x, double y) {
            const double low = (x - cx) * (x - cx) / std::pow(r * 0.72 + grow, 2) + (y - cy - r * 0.3) * (y - cy - r * 0.3) / std::pow(r * 0.62 + grow, 2);
            const double top = (x - cx) * (x - cx) / std::pow(r * 0.42 + grow, 2) + (y - cy + r * 0.3) * (y - cy + r * 0.3) / std::pow(r * 0.5 + grow, 2);
            return low <= 1 || top <= 1;
        };
    };
    c.fill(body(2.4), kOutline, cx - r, cy - r, cx + r, cy + r);
    c.fill(body(0), [=](double x, double y) { return x - cx + (y - cy) * 0.5 > r * 0.25 ? kGoldDark : kGold; }, cx - r, cy - r, cx + r, cy + r);
    c.ellipse(cx - r * 0.3, cy + r * 0.05, r * 0.14, r * 0.3, kGoldLight);
    c.ellipse(cx - r * 0.1, cy - r * 0.5, r * 0.08, r * 0.12, kGoldLight);
    c.line(cx, cy - r * 0.72, cx + r * 0.12, cy - r * 1.0, 3.2, kOutline);
    c.line(cx, cy - r * 0.74, cx + r * 0.12, cy - r * 0.98, 1.6, kFurDark);
    c.ellipse(cx + r * 0.32, cy - r * 0.88, r * 0.25 + 1.5, r * 0.11 + 1.5, kOutline);
    c.ellipse(cx + r * 0.32, cy - r * 0.88, r * 0.25, r * 0.11, kLeaf);
}

void drawBadge(SampleCanvas& c, double cx, double cy, double r) {
    // Ribbon tails under a gold medal with the hero's paw.
    for (int side = -1; side <= 1; side += 2) {
        const Points tail{{cx + side * r * 0.1, cy + r * 0.2}, {cx + side * r * 0.62, cy + r * 0.2}, {cx + side * r * 0.55, cy + r * 1.05},
                          {cx + side * r * 0.38, cy + r * 0.85}, {cx + side * r * 0.2, cy + r * 1.0}};
        Points rim;
        for (const auto& [x, y] : tail) rim.push_back({x + (x - cx) * 0.08 + side * 0.5, y + 2});
        c.polygon(rim, kOutline);
        c.polygon(tail, side < 0 ? kScarf : kScarfDark);
    }
    c.circle(cx, cy - r * 0.12, r * 0.72 + 2.5, kOutline);
    c.circle(cx, cy - r * 0.12, r * 0.72, kGoldDark);
    c.circle(cx - 1, cy - r * 0.15 - 1, r * 0.6, kGold);
    c.ring(cx, cy - r * 0.12, r * 0.5, 1.5, kGoldDark);
    // A paw: the pad and four toes.
    c.ellipse(cx, cy - r * 0.02, r * 0.2, r * 0.16, kAmber);
    for (int i = 0; i < 4; ++i) {
        const double a = (-0.85 + i * 0.57) - M_PI / 2;
        c.circle(cx + std::cos(a) * r * 0.3, cy - r * 0.12 + std::sin(a) * r * 0.28, r * 0.08, kAmber);
    }
    c.ellipse(cx - r * 0.3, cy - r * 0.5, r * 0.15, r * 0.08, kGoldLight);
}

void drawGust(SampleCanvas& c, double cx, double cy, double r, int phase) {
    // Three curls of wind; each is an arc ending in a hook, shifted right by the phase.
    for (int i = 0; i < 3; ++i) {
        const double y = cy + (i - 1) * r * 0.55, len = r * (i == 1 ? 1.5 : 1.1);
        const double x0 = cx - len / 2 + ((phase + i) % 4 - 1.5) * r * 0.1;
        for (int pass = 0; pass < 2; ++pass) {
            const double w = pass ? 3.2 : 6.4;
            const uint32_t colour = pass ? (i == 1 ? kWhite : kHaze) : kOutline;
            c.line(x0, y, x0 + len, y, w, colour);
            const double hx = x0 + len, hr = r * 0.22;
            c.fill([=](double x, double yy) {
                const double d = std::hypot(x - hx, yy - (y - hr));
                return d <= hr + w / 2 && d >= hr - w / 2 && (x > hx || yy < y - hr);
            }, colour, hx - hr - w, y - 2 * hr - w, hx + hr + w, y + w);
        }
    }
}

}  // namespace tools::art

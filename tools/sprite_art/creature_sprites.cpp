// The creatures: the enemies, the bosses and the other actors with a behaviour table, each one round
// creature of its own colours, size and features, drawn in the moves its states play (animation
// numbers fixed by the behaviour tables): resting, moving, attacking, hurt (flashing ember), dying
// (squashed into a puff), and the few special moves (a boss's throw with its rock leaving the paw
// on frame 14, thrown rocks, projectiles and debris). Walkers stand on their position, fliers are
// centred on it; each faces right (the game mirrors it).
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/creature_sprites.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr double kPi = 3.14159265358979;

struct Pose {
    double bob = 0;         // body lift
    double squash = 1;      // height scale
    double lean = 0;        // forward lean in pixels at the top
    double step = 0;        // feet phase, -1..1
    double mouth = 0;       // 0 shut .. 1 wide
    double arm = -1;        // the throwing arm's angle (radians from down, forward positive); < 0 none
    bool hurt = false;
    bool eyesShut = false;
    double fade = 0;        // 0 whole .. 1 gone into a puff
    bool holding = false;   // a rock in the raised paw
};

void rock(SampleCanvas& c, double x, double y, double r) {
    c.circle(x, y, r + 2.5, kOutline);
    c.circle(x, y, r, kStone);
    c.circle(x - r * 0.3, y - r * 0.3, r * 0.35, kStoneLight);
    c.circle(x + r * 0.35, y + r * 0.2, r * 0.2, kStoneDark);
}

class CreaturePainter {
public:
    CreaturePainter(SampleCanvas& c, const CreatureLook& look, const Pose& p, double x, double y)
        : c_(c), k_(look), p_(p), x_(x), y_(y) {}

    void paint() {
        const double r = k_.size, h = r * k_.tall * p_.squash;
        // The body's middle: walkers stand on the position, fliers float round it.
        const double cy = k_.flier ? y_ - p_.bob : y_ - h - r * 0.25 - p_.bob;
        const double cx = x_ + p_.lean * 0.3;
        const uint32_t body = p_.hurt ? kEmber : k_.body, dark = p_.hurt ? kEmberDark : k_.dark,
                       light = p_.hurt ? kEmberLight : k_.light;
        if (!k_.flier) c_.ellipse(x_, y_ - 1, r * 1.1, r * 0.18, kShadow, 90);
        if (p_.fade >= 1) return puffOnly(cx, cy, r);
        const uint8_t a = static_cast<uint8_t>(255 * (1 - p_.fade * 0.8));
        // Feet or wings behind the body.
        if (k_.flier) {
            for (int side = -1; side <= 1; side += 2) {
                const double flap = p_.step * 0.6 * side;
                const double wx = cx - r * 0.2, wy = cy - r * 0.2;
                std::vector<std::pair<double, double>> wing = {
                    {wx, wy}, {wx - r * 1.3, wy - r * (0.9 + flap)}, {wx - r * 1.5, wy - r * (0.1 + flap)}};
                std::vector<std::pair<double, double>> rim;
                for (auto [px, py] : wing) rim.emplace_back(wx + (px - wx) * 1.12, wy + (py - wy) * 1.12 + 1);
                c_.polygon(rim, kOutline, a);
                c_.polygon(wing, side < 0 ? dark : light, a);
            }
        } else {
            for (int side = -1; side <= 1; side += 2) {
                const double fx = cx + side * r * 0.45 + p_.step * side * r * 0.25;
                c_.ellipse(fx, y_ - r * 0.12, r * 0.32 + 2, r * 0.17 + 2, kOutline, a);
                c_.ellipse(fx, y_ - r * 0.12, r * 0.32, r * 0.17, dark, a);
            }
        }
        // Spikes along the back.
        if (k_.spikes)
            for (int i = 0; i < 4; ++i) {
                const double ang = -kPi / 2 - 0.5 - i * 0.35, bx = cx + std::cos(ang) * r, by = cy + std::sin(ang) * h;
                const double tx = cx + std::cos(ang) * (r + r * 0.45), ty = cy + std::sin(ang) * (h + r * 0.45);
                c_.polygon({{bx - 4, by + 2}, {tx, ty}, {bx + 4, by + 2}}, kOutline, a);
                c_.polygon({{bx - 2.5, by + 1}, {tx, ty + 2}, {bx + 2.5, by + 1}}, k_.accent, a);
            }
        // Body, belly, a shine.
        c_.ellipse(cx, cy, r + 2.5, h + 2.5, kOutline, a);
        c_.fill([=](double px, double py) { return (px - cx) * (px - cx) / (r * r) + (py - cy) * (py - cy) / (h * h) <= 1; },
                [=](double px, double py) { return px - cx + (py - cy) * 0.5 > r * 0.45 ? dark : body; }, cx - r, cy - h,
                cx + r, cy + h, a);
        c_.ellipse(cx + r * 0.25, cy + h * 0.35, r * 0.5, h * 0.42, light, a);
        c_.ellipse(cx - r * 0.35, cy - h * 0.5, r * 0.25, h * 0.12, kWhite, static_cast<uint8_t>(a * 0.6));
        // Horns.
        if (k_.horns)
            for (int side = -1; side <= 1; side += 2) {
                const double hx = cx + side * r * 0.45, hy = cy - h * 0.8;
                c_.polygon({{hx - 5, hy + 3}, {hx + side * r * 0.3, hy - r * 0.55}, {hx + 5, hy + 2}}, kOutline, a);
                c_.polygon({{hx - 3, hy + 2}, {hx + side * r * 0.28, hy - r * 0.48}, {hx + 3, hy + 1}}, kCream, a);
            }
        // Eyes looking forward, and the mouth.
        const double ex = cx + r * 0.35, ey = cy - h * 0.25, er = std::max(3.0, r * 0.2);
        for (int i = 0; i < (k_.oneEye ? 1 : 2); ++i) {
            const double x = k_.oneEye ? ex - er * 0.3 : ex - er * 1.2 + i * er * 2.1;
            const double rr = k_.oneEye ? er * 1.5 : er;
            if (p_.eyesShut || p_.hurt) {
                c_.line(x - rr, ey - rr * 0.4, x + rr, ey + rr * 0.4, 2.2, kOutline, a);
                c_.line(x - rr, ey + rr * 0.4, x + rr, ey - rr * 0.4, 2.2, kOutline, a);
                continue;
            }
            c_.circle(x, ey, rr + 1.5, kOutline, a);
            c_.circle(x, ey, rr, kWhite, a);
            c_.circle(x + rr * 0.35, ey, rr * 0.55, k_.eye, a);
            c_.circle(x + rr * 0.5, ey - rr * 0.25, rr * 0.18, kWhite, a);
        }
        const double my = cy + h * 0.25, mw = r * 0.5, mh = 2 + p_.mouth * r * 0.35;
        c_.ellipse(cx + r * 0.35, my, mw, mh, kOutline, a);
        if (p_.mouth > 0.2) {
            c_.ellipse(cx + r * 0.35, my + 1, mw - 2, mh - 2, kEmberDark, a);
            for (int t = -1; t <= 1; ++t)
                c_.polygon({{cx + r * 0.35 + t * mw * 0.5 - 2.5, my - mh + 1}, {cx + r * 0.35 + t * mw * 0.5 + 2.5, my - mh + 1},
                            {cx + r * 0.35 + t * mw * 0.5, my - mh + 5}},
                           kMist, a);
        }
        // The throwing arm, with its rock.
        if (p_.arm >= 0) {
            const double sx = cx + r * 0.1, sy = cy - h * 0.1;
            const double hx = sx + std::sin(p_.arm) * r * 0.9, hy = sy + std::cos(p_.arm) * r * 0.9;
            c_.line(sx, sy, hx, hy, r * 0.3 + 5, kOutline);
            c_.line(sx, sy, hx, hy, r * 0.3, body);
            if (p_.holding) rock(c_, hx, hy - r * 0.15, r * 0.3);
        }
        if (p_.fade > 0) puffOnly(cx, cy, r * p_.fade);
    }

private:
    void puffOnly(double cx, double cy, double r) {
        for (int i = 0; i < 6; ++i) {
            const double a = i * kPi / 3 + r * 0.05;
            const double px = cx + std::cos(a) * r * 0.6, py = cy + std::sin(a) * r * 0.5;
            c_.circle(px, py, r * 0.45 + 2, kOutline, 200);
            c_.circle(px, py, r * 0.45, kMist, 200);
        }
    }

    SampleCanvas& c_;
    const CreatureLook& k_;
    const Pose& p_;
    double x_, y_;
};

// The frames of one move, as poses.
std::vector<Pose> moveFrames(CreatureMove move) {
    std::vector<Pose> out;
    switch (move) {
        case CreatureMove::Rest:
            for (double b : {0.0, 1.5, 2.5, 1.5}) out.push_back({.bob = b, .squash = 1 - b * 0.01});
            break;
        case CreatureMove::Blink:
            out = {{}, {.eyesShut = true}, {}, {.bob = 1}};
            break;
        case CreatureMove::Move:
            for (int i = 0; i < 4; ++i) out.push_back({.bob = std::fabs(std::sin(i * kPi / 2)) * 3, .lean = 4, .step = std::cos(i * kPi / 2)});
            break;
        case CreatureMove::Rush:
            for (int i = 0; i < 4; ++i)
                out.push_back({.bob = std::fabs(std::sin(i * kPi / 2)) * 4, .squash = 0.9, .lean = 12, .step = std::cos(i * kPi / 2), .mouth = 0.6});
            break;
        case CreatureMove::Attack:
            out = {{.squash = 0.85, .lean = -6, .mouth = 0.2}, {.squash = 1.1, .lean = 14, .mouth = 1}, {.squash = 1.05, .lean = 12, .mouth = 1},
                   {.lean = 4, .mouth = 0.3}};
            break;
        case CreatureMove::Hurt:
            out = {{.squash = 0.9, .lean = -8, .hurt = true}, {.squash = 1.0, .lean = -4}, {.squash = 0.92, .lean = -6, .hurt = true}};
            break;
        case CreatureMove::Stunned:
            for (int i = 0; i < 4; ++i) out.push_back({.squash = 0.85 + 0.04 * (i % 2), .lean = (i % 2 ? 3.0 : -3.0), .eyesShut = true});
            break;
        case CreatureMove::Die:
            out = {{.squash = 0.9, .hurt = true}, {.squash = 0.7, .hurt = true}, {.squash = 0.5, .fade = 0.4},
                   {.squash = 0.4, .fade = 0.8}, {.fade = 1}};
            break;
        case CreatureMove::Throw:
            // Wind-up over frames 0..13, the rock leaves the paw on frame 14.
            for (int i = 0; i < 16; ++i) {
                Pose p;
                p.holding = i < 14;
                p.arm = i < 10 ? 0.3 + i * 0.28 : i < 14 ? 3.1 - (i - 10) * 0.1 : 1.6 - (i - 14) * 0.4;
                p.lean = i < 14 ? -i * 0.6 : 10;
                p.mouth = i >= 13 ? 1 : 0.1;
                out.push_back(p);
            }
            break;
        case CreatureMove::Rise:
            out = {{.squash = 0.6, .fade = 0.6}, {.squash = 0.8, .fade = 0.3}, {.squash = 1.05}, {.bob = 2}};
            break;
        default:
            break;
    }
    return out;
}

void loose(SpriteSheet& sheet, int& next, int anim, CreatureMove move, const CreatureLook& look) {
    std::vector<AnimStep> steps;
    const double r = look.size * 0.35;
    for (int i = 0; i < 4; ++i) {
        const int half = static_cast<int>(r * 2 + 8);
        FrameCanvas f(-half, -half, half, half);
        const double x = f.ax(0), y = f.ay(0);
        if (move == CreatureMove::Rock) {
            rock(f.canvas, x, y, r);
            f.canvas.line(x - r * 0.6 * std::cos(i * kPi / 4), y - r * 0.6 * std::sin(i * kPi / 4),
                          x + r * 0.6 * std::cos(i * kPi / 4), y + r * 0.6 * std::sin(i * kPi / 4), 1.6, kStoneDark);
        } else if (move == CreatureMove::Shot) {
            f.canvas.circle(x, y, r * 0.7 + 2.5, kOutline);
            f.canvas.circle(x, y, r * 0.7, look.accent);
            f.canvas.circle(x - r * 0.2, y - r * 0.2, r * 0.3, kWhite);
            f.canvas.line(x - r * (1.4 + 0.2 * (i % 2)), y, x - r * 0.7, y, 3, look.light, 200);
        } else {   // Chip: a shard of the creature's shell
            std::vector<std::pair<double, double>> pts;
            for (int k = 0; k < 3; ++k) {
                const double a = i * kPi / 3 + k * 2 * kPi / 3;
                pts.emplace_back(x + std::cos(a) * r * 0.7, y + std::sin(a) * r * 0.5);
            }
            std::vector<std::pair<double, double>> rim;
            for (auto [px, py] : pts) rim.emplace_back(x + (px - x) * 1.4, y + (py - y) * 1.4);
            f.canvas.polygon(rim, kOutline);
            f.canvas.polygon(pts, look.body);
        }
        f.addTo(sheet, next);
        steps.push_back({next++, 1});
    }
    sheet.animation(anim, steps);
}

}  // namespace

void drawCreatureSprite(SpriteSheet& sheet, const CreatureLook& look, const std::vector<CreatureAnim>& anims) {
    int next = 0;
    for (const CreatureAnim& a : anims) {
        if (a.move == CreatureMove::Rock || a.move == CreatureMove::Shot || a.move == CreatureMove::Chip) {
            loose(sheet, next, a.animation, a.move, look);
            continue;
        }
        const std::vector<Pose> poses = moveFrames(a.move);
        std::vector<AnimStep> steps;
        const int half = static_cast<int>(look.size * 2.6) + 12;
        for (size_t i = 0; i < poses.size(); ++i) {
            FrameCanvas f(-half, look.flier ? -half : -2 * half, half, look.flier ? half : 8);
            CreaturePainter(f.canvas, look, poses[i], f.ax(0), f.ay(0)).paint();
            f.addTo(sheet, next);
            if (a.box) {
                // The area the move reaches: in front of the body at mid height.
                const int r = static_cast<int>(look.size);
                const int mid = look.flier ? 0 : -r - r / 2;
                if (poses[i].mouth >= 1 || a.move != CreatureMove::Attack)
                    sheet.box(next, 0, {r / 2, mid - r / 2, r + r / 2, r});
            }
            steps.push_back({next++, a.move == CreatureMove::Rest ? 3 : a.move == CreatureMove::Stunned ? 2 : 1});
        }
        sheet.animation(a.animation, steps);
    }
}

}  // namespace tools::art

// The effects, drawn round the effect's position. Sprite 13, by animation: 0 a shot's impact, 1 a
// strike's impact, 2 a landing puff, 3 the warp opening and 4 closing, 5 a burst (an actor
// destroyed; plays once), 6 the racer's shield, 7 a spent casing turning as it falls, 8 a debris
// streak, 9..14 drifting motes (the game steps from one to the next), 15 a leaf swaying down. Sprite 15, the special
// shot fired from the gun point by aim (animation = aim: 0 up, 1 up and forward, 2 forward, 3 down
// and forward, 4 down): a charge gathering at the point and a bolt reaching out along the aim.
// Sprite 14, the race's obstacles, and sprite 22, the fire vents and what they throw, are here too.
#include <cmath>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr double kPi = 3.14159265358979;

// A star of `points` spikes, outline first.
void burstStar(SampleCanvas& c, double cx, double cy, double outer, double inner, int points, double turn,
               uint32_t fill, uint32_t core) {
    auto star = [&](double o, double i) {
        std::vector<std::pair<double, double>> pts;
        for (int k = 0; k < points * 2; ++k) {
            const double a = turn + k * kPi / points, r = k % 2 ? i : o;
            pts.emplace_back(cx + std::cos(a) * r, cy + std::sin(a) * r);
        }
        return pts;
    };
    c.polygon(star(outer + 2.5, inner + 2), kOutline);
    c.polygon(star(outer, inner), fill);
    c.circle(cx, cy, inner * 0.8, core);
}

// A soft puff: outlined overlapping circles.
void puff(SampleCanvas& c, double cx, double cy, double r, uint8_t opacity, uint32_t colour) {
    const double off[4][2] = {{-0.6, 0.1}, {0.6, 0.15}, {0, -0.35}, {0, 0.3}};
    for (const auto& o : off) c.circle(cx + o[0] * r, cy + o[1] * r, r * 0.62 + 2, kOutline, opacity);
    for (const auto& o : off) c.circle(cx + o[0] * r, cy + o[1] * r, r * 0.62, colour, opacity);
    c.circle(cx - r * 0.25, cy - r * 0.3, r * 0.25, kWhite, static_cast<uint8_t>(opacity * 0.7));
}

class EffectSheet {
public:
    explicit EffectSheet(SpriteSheet& sheet) : sheet_(sheet) {}
    template <typename Draw>
    int frame(int half, Draw draw) {
        FrameCanvas f(-half, -half, half, half);
        draw(f.canvas, f.ax(0), f.ay(0));
        f.addTo(sheet_, next_);
        return next_++;
    }
    void anim(int n, const std::vector<int>& frames, int time = 1) {
        std::vector<AnimStep> steps;
        for (int f : frames) steps.push_back({f, time});
        sheet_.animation(n, steps);
    }

private:
    SpriteSheet& sheet_;
    int next_ = 0;
};

}  // namespace

void drawEffectSprite(SpriteSheet& sheet) {
    EffectSheet e(sheet);
    // 0 a shot's impact: a white-hot star shrinking to embers.
    std::vector<int> impact;
    for (int i = 0; i < 4; ++i)
        impact.push_back(e.frame(24, [i](SampleCanvas& c, double x, double y) {
            burstStar(c, x, y, 18 - i * 4, 7 - i * 1.5, 6, i * 0.3, i < 2 ? kGoldLight : kGold, i < 2 ? kWhite : kGoldLight);
        }));
    e.anim(0, impact);
    // 1 a strike's impact: a crossed flash with a ring.
    std::vector<int> blow;
    for (int i = 0; i < 4; ++i)
        blow.push_back(e.frame(30, [i](SampleCanvas& c, double x, double y) {
            c.ring(x, y, 10 + i * 6, 3.5, kHaze, static_cast<uint8_t>(255 - i * 50));
            burstStar(c, x, y, 20 - i * 4, 6, 4, kPi / 4 + i * 0.2, kMist, kWhite);
        }));
    e.anim(1, blow);
    // 2 a landing puff spreading sideways.
    std::vector<int> landing;
    for (int i = 0; i < 4; ++i)
        landing.push_back(e.frame(36, [i](SampleCanvas& c, double x, double y) {
            for (int side = -1; side <= 1; side += 2)
                puff(c, x + side * (8 + i * 7), y - 6 - i, 9 - i * 1.2, static_cast<uint8_t>(255 - i * 45), kMist);
        }));
    e.anim(2, landing);
    // 3 the warp opening, 4 the warp closing: a swirl of light spinning.
    std::vector<int> warpIn, warpOut;
    const double sizes[8] = {0.3, 0.6, 0.9, 1.0, 1.0, 0.9, 0.6, 0.3};
    for (int i = 0; i < 8; ++i)
        (i < 4 ? warpIn : warpOut).push_back(e.frame(56, [i, s = sizes[i]](SampleCanvas& c, double x, double y) {
            c.ellipse(x, y, 40 * s + 2.5, 50 * s + 2.5, kOutline);
            c.ellipse(x, y, 40 * s, 50 * s, kDusk);
            for (int arm = 0; arm < 3; ++arm)
                for (double t = 0; t < 1; t += 0.04) {
                    const double a = i * 0.7 + arm * 2 * kPi / 3 + t * 4;
                    c.circle(x + std::cos(a) * t * 36 * s, y + std::sin(a) * t * 46 * s, 1 + 4 * t * s,
                             arm == 0 ? kGoldLight : kHaze);
                }
            c.circle(x, y, 6 * s, kWhite);
        }));
    e.anim(3, warpIn);
    e.anim(4, warpOut);
    // 5 a burst: a ball of fire, then smoke.
    std::vector<int> burst;
    for (int i = 0; i < 6; ++i)
        burst.push_back(e.frame(44, [i](SampleCanvas& c, double x, double y) {
            if (i < 3) {
                burstStar(c, x, y, 18 + i * 9, 10 + i * 6, 9, i * 0.4, kEmber, kGold);
                c.circle(x, y, 6 + i * 3, kGoldLight);
            } else {
                for (int k = 0; k < 5; ++k) {
                    const double a = k * 2 * kPi / 5 + i;
                    puff(c, x + std::cos(a) * (10 + i * 4), y + std::sin(a) * (8 + i * 3) - i * 2, 12 - i,
                         static_cast<uint8_t>(255 - (i - 3) * 60), kStoneLight);
                }
            }
        }));
    e.anim(5, burst);
    // 6 the racer's shield: a bubble shimmering round it.
    std::vector<int> shield;
    for (int i = 0; i < 4; ++i)
        shield.push_back(e.frame(72, [i](SampleCanvas& c, double x, double y) {
            c.ring(x, y, 66, 6, kOutline, 160);
            c.ring(x, y, 64, 4, kHaze, 200);
            c.circle(x, y, 62, kSkyLight, 40);
            const double a = i * kPi / 2 - kPi * 0.75;
            c.ellipse(x + std::cos(a) * 40, y + std::sin(a) * 40, 12, 6, kWhite, 150);
            drawSparkle(c, x + std::cos(a + 2.5) * 60, y + std::sin(a + 2.5) * 60, 9);
        }));
    e.anim(6, shield);
    // 7 a spent casing turning.
    std::vector<int> casing;
    for (int i = 0; i < 4; ++i)
        casing.push_back(e.frame(8, [i](SampleCanvas& c, double x, double y) {
            const double a = i * kPi / 4;
            const double dx = std::cos(a) * 3.5, dy = std::sin(a) * 3.5;
            c.line(x - dx, y - dy, x + dx, y + dy, 5.5, kOutline);
            c.line(x - dx, y - dy, x + dx, y + dy, 3, kGold);
            c.circle(x + dx, y + dy, 1.2, kGoldLight);
        }));
    e.anim(7, casing);
    // 8 a spark streak.
    std::vector<int> streak;
    for (int i = 0; i < 2; ++i)
        streak.push_back(e.frame(14, [i](SampleCanvas& c, double x, double y) {
            c.line(x - 10 + i * 2, y, x + 6, y, 4.5, kOutline);
            c.line(x - 9 + i * 2, y, x + 5, y, 2.5, i ? kGold : kGoldLight);
            c.circle(x + 5, y, 2, kWhite);
        }));
    e.anim(8, streak);
    // 9..14 drifting motes, one look each (the game steps through them in turn): dust, pollen, a
    // seed, a petal, a spore, a glint.
    const uint32_t moteColours[6] = {kFurLight, kGoldLight, kCream, kEmberLight, kLeafLight, kWhite};
    for (int m = 0; m < 6; ++m) {
        std::vector<int> mote;
        for (int i = 0; i < 2; ++i)
            mote.push_back(e.frame(10, [m, i, col = moteColours[m]](SampleCanvas& c, double x, double y) {
                const double r = 3.5 + (m % 3) * 0.8 + i * 0.5;
                if (m == 5) {
                    drawSparkle(c, x, y, 6 + i * 2);
                    return;
                }
                c.ellipse(x, y, r + 1.8 + (m == 3 ? 2 : 0), r + 1.8, kOutline);
                c.ellipse(x, y, r + (m == 3 ? 2 : 0), r, col);
                c.circle(x - r * 0.3, y - r * 0.3, r * 0.35, kWhite);
            }));
        e.anim(9 + m, mote, 3);
    }
    // 15 a leaf swaying as it falls.
    std::vector<int> leaf;
    for (int i = 0; i < 4; ++i)
        leaf.push_back(e.frame(14, [i](SampleCanvas& c, double x, double y) {
            const double a = std::sin(i * kPi / 2) * 0.6;
            const double dx = std::cos(a) * 8, dy = std::sin(a) * 8;
            c.ellipse(x, y, 9.5, 5.5, kOutline);
            c.polygon({{x - dx, y - dy}, {x - dy * 0.4, y + dx * 0.4}, {x + dx, y + dy}, {x + dy * 0.4, y - dx * 0.4}}, kLeaf);
            c.line(x - dx, y - dy, x + dx, y + dy, 1.2, kLeafDark);
        }));
    e.anim(15, leaf, 2);
}

void drawSpecialShotSprite(SpriteSheet& sheet) {
    EffectSheet e(sheet);
    for (int aim = 0; aim < 5; ++aim) {
        // The aim's direction, the screen's y pointing down.
        const double a = kPi / 2 - aim * kPi / 4;
        const double ux = std::cos(a), uy = -std::sin(a);
        std::vector<int> frames;
        for (int i = 0; i < 5; ++i)
            frames.push_back(e.frame(120, [=](SampleCanvas& c, double x, double y) {
                const double len = i == 0 ? 0 : std::min(1.0, i / 3.0) * 110;
                const double fade = i == 4 ? 0.5 : 1.0;
                if (len > 0) {
                    const double ex = x + ux * len, ey = y + uy * len;
                    c.line(x, y, ex, ey, 16 * fade + 4, kOutline);
                    c.line(x, y, ex, ey, 16 * fade, kScarf);
                    c.line(x, y, ex, ey, 8 * fade, kHaze);
                    c.line(x, y, ex, ey, 3 * fade, kWhite);
                    drawSparkle(c, ex, ey, 12 * fade);
                }
                const double r = i == 0 ? 8 : 11 * fade;
                c.circle(x, y, r + 2.5, kOutline);
                c.circle(x, y, r, kHaze);
                c.circle(x, y, r * 0.5, kWhite);
            }));
        std::vector<AnimStep> steps;
        for (int f : frames) steps.push_back({f, 1});
        sheet.animation(aim, steps);
    }
}

// Sprite 14, the race's obstacles drifting in the updraught, centred on their position, at most five
// frames each: 0 a thorn ball turning, 1 a storm cloud flickering, 2 a drifting boulder, 3 a
// spiked log rolling.
void drawObstacleSprite(SpriteSheet& sheet) {
    EffectSheet e(sheet);
    std::vector<int> thorns, storm, boulder, log;
    for (int i = 0; i < 4; ++i)
        thorns.push_back(e.frame(30, [i](SampleCanvas& c, double x, double y) {
            burstStar(c, x, y, 24, 15, 10, i * kPi / 20, kLeafDark, kLeafDark);
            c.circle(x, y, 14, kLeaf);
            c.circle(x - 4, y - 4, 5, kLeafLight);
        }));
    for (int i = 0; i < 4; ++i)
        storm.push_back(e.frame(40, [i](SampleCanvas& c, double x, double y) {
            if (i % 2)
                c.polygon({{x - 4, y + 6}, {x + 6, y + 6}, {x, y + 18}, {x + 8, y + 18}, {x - 6, y + 36}, {x - 2, y + 22},
                           {x - 8, y + 22}},
                          kGoldLight);
            puff(c, x, y - 2 + (i == 2 ? 1 : 0), 24, 255, i % 2 ? kStoneLight : kStone);
        }));
    for (int i = 0; i < 2; ++i)
        boulder.push_back(e.frame(34, [i](SampleCanvas& c, double x, double y) {
            c.ellipse(x, y + i, 28 + 2.5, 22 + 2.5, kOutline);
            c.ellipse(x, y + i, 28, 22, kStone);
            c.ellipse(x + 6, y + 6 + i, 18, 12, kStoneDark);
            c.ellipse(x - 9, y - 8 + i, 9, 5, kStoneLight);
        }));
    for (int i = 0; i < 4; ++i)
        log.push_back(e.frame(46, [i](SampleCanvas& c, double x, double y) {
            c.roundRect(x - 40 - 2.5, y - 10 - 2.5, 85, 25, 10, kOutline);
            c.roundRect(x - 40, y - 10, 80, 20, 9, kFurDark);
            for (int k = 0; k < 4; ++k) {
                const double sx = x - 30 + ((k * 20 + i * 5) % 80);
                c.polygon({{sx - 4, y - 10}, {sx, y - 20}, {sx + 4, y - 10}}, kOutline);
                c.polygon({{sx - 2.5, y - 10}, {sx, y - 17}, {sx + 2.5, y - 10}}, kCream);
                c.line(sx, y - 6, sx + 3, y + 6, 2, kStripe);
            }
            c.ellipse(x + 38, y, 5, 9, kFur);
            c.ring(x + 38, y, 4, 1.5, kFurDark);
        }));
    e.anim(0, thorns);
    e.anim(1, storm, 2);
    e.anim(2, boulder, 3);
    e.anim(3, log);
}

// Sprite 22, the fire vents and what they throw: 0 a fireball, 1 a flame jet bursting up and dying
// down (it burns only in its first half), 2 a tall jet, 3 the vent burning, 4 the vent smouldering
// at rest, 5 a harmless wisp of smoke, 6 a falling ember. Vents stand on their position; what they
// throw is centred on it.
void drawHazardSprite(SpriteSheet& sheet) {
    EffectSheet e(sheet);
    auto flame = [](SampleCanvas& c, double x, double y, double h, double w, int flicker) {
        auto tongue = [&](double grow, uint32_t colour, double scale) {
            c.fill([=](double px, double py) {
                const double t = (y - py) / (h * scale);
                if (t < 0 || t > 1) return false;
                const double half = w * scale * (1 - t) * (0.8 + 0.2 * std::sin(t * 9 + flicker * 1.7)) + grow;
                return std::fabs(px - x - std::sin(t * 5 + flicker) * 3 * t) <= half;
            }, colour, x - w - 4, y - h - 4, x + w + 4, y + 2);
        };
        tongue(2.5, kOutline, 1);
        tongue(0, kEmber, 1);
        tongue(0, kGold, 0.7);
        tongue(0, kGoldLight, 0.4);
    };
    std::vector<int> ball;
    for (int i = 0; i < 3; ++i)
        ball.push_back(e.frame(22, [&, i](SampleCanvas& c, double x, double y) {
            flame(c, x - 4, y + 10, 24, 9, i);
            c.circle(x, y + 6, 9, kOutline);
            c.circle(x, y + 6, 7, kGold);
            c.circle(x - 2, y + 4, 3, kGoldLight);
        }));
    e.anim(0, ball);
    const double jet[6] = {0.4, 0.9, 1.0, 0.8, 0.45, 0.2};
    std::vector<int> jetShort, jetTall;
    for (int i = 0; i < 6; ++i)
        jetShort.push_back(e.frame(50, [&, i](SampleCanvas& c, double x, double y) { flame(c, x, y + 40, 80 * jet[i], 12, i); }));
    for (int i = 0; i < 6; ++i)
        jetTall.push_back(e.frame(80, [&, i](SampleCanvas& c, double x, double y) { flame(c, x, y + 70, 140 * jet[i], 15, i); }));
    e.anim(1, jetShort);
    e.anim(2, jetTall);
    auto vent = [&](SampleCanvas& c, double x, double y, bool lit, int i) {
        if (lit) flame(c, x, y - 10, 30 + (i % 2) * 6, 11, i);
        c.roundRect(x - 24, y - 14, 48, 16, 5, kOutline);
        c.roundRect(x - 21.5, y - 12, 43, 12, 4, kStoneDark);
        c.roundRect(x - 12, y - 14, 24, 5, 2, lit ? kGold : kEmberDark);
        c.roundRect(x - 19, y - 11, 38, 2.5, 1, kStone);
    };
    std::vector<int> burning, resting;
    for (int i = 0; i < 3; ++i)
        burning.push_back(e.frame(44, [&, i](SampleCanvas& c, double x, double y) { vent(c, x, y, true, i); }));
    for (int i = 0; i < 2; ++i)
        resting.push_back(e.frame(30, [&, i](SampleCanvas& c, double x, double y) {
            vent(c, x, y, false, i);
            puff(c, x + i * 3, y - 22 - i * 4, 6 + i, 160, kStoneLight);
        }));
    e.anim(3, burning);
    e.anim(4, resting, 3);
    std::vector<int> smoke;
    for (int i = 0; i < 4; ++i)
        smoke.push_back(e.frame(24, [i](SampleCanvas& c, double x, double y) {
            puff(c, x, y - i * 3, 8 + i * 2, static_cast<uint8_t>(230 - i * 45), kStoneLight);
        }));
    e.anim(5, smoke);
    std::vector<int> drop;
    for (int i = 0; i < 2; ++i)
        drop.push_back(e.frame(14, [&, i](SampleCanvas& c, double x, double y) {
            flame(c, x, y + 4, 14 + i * 3, 5, i);
            c.circle(x, y + 3, 4.5, kOutline);
            c.circle(x, y + 3, 3, kGoldLight);
        }));
    e.anim(6, drop);
}

}  // namespace tools::art

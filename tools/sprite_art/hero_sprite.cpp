// Sprite 0, the hero: the brindle fox-hound of the interface art, about 90 pixels tall, facing right
// (the game mirrors it to face left). Standing animations stand on the position; the hanging ones
// hang from it (the hands are at the position, the body below). Each picture is a pose: joint
// angles of a small skeleton, drawn as round strokes with one outline grown round the whole figure.
// Animations by number: 0 stand, 1 look about, 2 walk, 3 land, 4 jump, 5 fall, 6 diagonal jump (a
// somersault), 7 diagonal fall, 8 hold a grab point, 9 grab into hang, 10 hang, 11..20 the hanging
// shot by aim (odd: fire at aim (n - 11) / 2, even: recover from aim n / 2 - 6), 21 hand over hand
// (moves the hero by its step offsets), 22 pull up, 23 lower back, 24 pulled up, 25 hurt, 26
// stunned, 27 hurt while hanging, 28 rising in an updraught, 29 drifting, 30..39 the standing shot
// by aim (even: fire at aim n / 2 - 15, odd: recover from aim (n - 31) / 2), 40 carried, 41 strike
// wind-up, 42 air strike wind-up, 43 look up, 44 wave, 45..48 strike by aim 0..3, 49 air strike,
// 50 crouch down, 51 crouch, 52 stand up, 53 float, 54 knocked down, 55 leave through the exit, 56
// and 57 seized, 58 and 59 thrown, 60 hold a line, 61 the lost scarf, 62 dizzy stars, 63 knocked
// out (61 and 63 fly off as effects when the hero is crushed).
// Aims: 0 up, 1 up and forward, 2 forward, 3 down and forward, 4 down. Box 0 of a shot frame is the
// gun point, of a strike frame the attack area; box 1 of a strike frame is where the blow lands.
#include <cmath>
#include <functional>

#include "tools/art_palette.h"
#include "tools/sprite_art/item_icons.h"
#include "tools/sprite_art/sprite_art.h"

namespace tools::art {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kOutlineWidth = 2;

using Points = std::vector<std::pair<double, double>>;

// Angles of limbs are measured from straight down, positive towards the facing side (right).
struct Pose {
    double hipX = 0, hipY = -40;
    double lean = 0;             // the torso's tilt from upright, positive forwards
    double legs[2][2] = {{0.1, -0.05}, {-0.12, 0.02}};   // near, far: thigh, shin
    double arms[2][2] = {{0.25, 0.5}, {-0.15, 0.25}};    // near, far: upper arm, forearm
    double head = 0;             // the head's tilt, positive looking down
    double tail = 0;             // tail swing
    double scarf = 0.3;          // 0..1 flutter of the scarf's ends
    double spin = 0;             // the whole figure turned round its middle
    int eyes = 0;                // 0 open, 1 shut, 2 dazed
    bool gun = false;            // the near hand holds the spark gun along the forearm
    double flash = 0;            // muzzle flash size
    double swipe = -1;           // a claw swipe: the arc's middle angle (same measure); < 0 none
};

struct Vec {
    double x, y;
};
Vec along(Vec p, double angle, double len) { return {p.x + std::sin(angle) * len, p.y + std::cos(angle) * len}; }

// One pose's skeleton: where each joint ends up.
struct Skeleton {
    Vec hip, shoulder, neck, head;
    Vec knee[2], foot[2], elbow[2], paw[2];
    double headAngle;
    explicit Skeleton(const Pose& p) {
        hip = {p.hipX, p.hipY};
        const double up = kPi - p.lean;     // the torso's direction, measured like a limb
        shoulder = along(hip, up, 25);
        neck = along(hip, up, 30);
        headAngle = up - p.head * 0.6;
        head = along(neck, headAngle, 11);
        for (int i = 0; i < 2; ++i) {
            knee[i] = along(hip, p.legs[i][0], 17);
            foot[i] = along(knee[i], p.legs[i][0] + p.legs[i][1], 17);
            const Vec s = along(shoulder, kPi / 2, i == 0 ? 2 : -2);
            elbow[i] = along(s, p.arms[i][0], 15);
            paw[i] = along(elbow[i], p.arms[i][0] + p.arms[i][1], 15);
        }
    }
    [[nodiscard]] Vec gunTip(const Pose& p) const { return along(paw[0], p.arms[0][0] + p.arms[0][1], 15); }
};

// Draws a pose twice: first every part grown by the outline width in the outline colour, then the
// parts in their colours, so the figure gets one outline round its silhouette.
class HeroPainter {
public:
    HeroPainter(SampleCanvas& c, const Pose& p, double ox, double oy) : c_(c), p_(p), s_(p), ox_(ox), oy_(oy) {
        // The figure turns round the middle of its torso.
        pivot_ = along(s_.hip, kPi - p.lean, 12);
    }

    void paint() {
        for (int pass = 0; pass < 2; ++pass) {
            outline_ = pass == 0;
            figure();
        }
        effects();
    }

private:
    [[nodiscard]] Vec T(Vec v) const {
        const double dx = v.x - pivot_.x, dy = v.y - pivot_.y, c = std::cos(p_.spin), s = std::sin(p_.spin);
        return {ox_ + pivot_.x + dx * c - dy * s, oy_ + pivot_.y + dx * s + dy * c};
    }
    [[nodiscard]] uint32_t col(uint32_t c) const { return outline_ ? kOutline : c; }
    [[nodiscard]] double grow() const { return outline_ ? kOutlineWidth : 0; }

    void stroke(Vec a, Vec b, double w, uint32_t c) {
        const Vec ta = T(a), tb = T(b);
        c_.line(ta.x, ta.y, tb.x, tb.y, w + 2 * grow(), col(c));
    }
    void disc(Vec a, double r, uint32_t c) {
        const Vec t = T(a);
        c_.circle(t.x, t.y, r + grow(), col(c));
    }
    void poly(const std::vector<Vec>& pts, uint32_t c) {
        Points out;
        for (const Vec& v : pts) {
            const Vec t = T(v);
            out.emplace_back(t.x, t.y);
        }
        if (outline_)
            for (size_t i = 0; i < out.size(); ++i) {
                const auto& a = out[i];
                const auto& b = out[(i + 1) % out.size()];
                c_.line(a.first, a.second, b.first, b.second, 2 * grow(), kOutline);
            }
        c_.polygon(out, col(c));
    }

    void figure() {
        const Skeleton& s = s_;
        // Scarf ends streaming back from the neck, behind everything.
        const double f = p_.scarf * 7;
        const Vec knot = along(s.neck, kPi - p_.lean, -3);
        poly({knot, {knot.x - 14, knot.y - 2 - f}, {knot.x - 24, knot.y + 1 - f * 1.3}, {knot.x - 16, knot.y + 5 - f * 0.6},
              {knot.x, knot.y + 5}},
             kScarfDark);
        poly({knot, {knot.x - 12, knot.y + 4 - f * 0.4}, {knot.x - 20, knot.y + 10 - f * 0.6}, {knot.x - 10, knot.y + 10},
              {knot.x, knot.y + 6}},
             kScarf);
        // Tail: a curl of three strokes up behind, its tip cream.
        Vec t = along(s.hip, kPi / 2, -6);
        double a = -2.2 - p_.tail;
        for (int i = 0; i < 3; ++i) {
            const Vec n = along(t, a, 8);
            stroke(t, n, 9 - i * 2, kFur);
            t = n, a -= 0.5;
        }
        disc(t, 3.5, kCream);
        // Far limbs, darker.
        limb(s.hip, s.knee[1], s.foot[1], 8.5, kFurDark, true, p_.legs[1][0] + p_.legs[1][1]);
        limb(along(s.shoulder, kPi / 2, -2), s.elbow[1], s.paw[1], 6.5, kFurDark, false, 0);
        // Torso with belly and brindle stripes.
        stroke(s.hip, s.shoulder, 20, kFur);
        const Vec belly0 = along(s.hip, kPi / 2 - p_.lean, 4), belly1 = along(s.shoulder, kPi / 2 - p_.lean, 4);
        if (!outline_) {
            stroke(belly0, belly1, 9, kCream);
            for (int i = 0; i < 3; ++i) {
                const Vec m = {s.hip.x + (s.shoulder.x - s.hip.x) * (0.2 + i * 0.28), s.hip.y + (s.shoulder.y - s.hip.y) * (0.2 + i * 0.28)};
                stroke(along(m, -kPi / 2 - p_.lean, 8), along(along(m, -kPi / 2 - p_.lean, 3), kPi - p_.lean, -3), 2.4, kStripe);
            }
        }
        limb(s.hip, s.knee[0], s.foot[0], 9, kFur, true, p_.legs[0][0] + p_.legs[0][1]);
        // The scarf round the neck.
        stroke(along(knot, kPi / 2 - p_.lean, -5), along(knot, kPi / 2 - p_.lean, 6), 8, kScarf);
        head();
        limb(along(s.shoulder, kPi / 2, 2), s.elbow[0], s.paw[0], 7, kFur, false, 0);
        if (p_.gun) gun();
    }

    void limb(Vec root, Vec joint, Vec end, double w, uint32_t c, bool leg, double footAngle) {
        stroke(root, joint, w, c);
        stroke(joint, end, w * 0.85, c);
        if (leg) {
            // A dark boot pointing forwards from the foot.
            const double fa = footAngle + kPi / 2;
            stroke(along(end, fa, -2), along(end, fa, 6), 7, kStripe);
        } else {
            disc(end, w * 0.55, c == kFur ? kFurLight : kFur);
        }
    }

    void head() {
        const Skeleton& s = s_;
        const double ha = s.headAngle;   // the head's "up", measured like a limb
        auto at = [&](double up, double fwd) { return along(along(s.head, ha, up), ha - kPi / 2, fwd); };
        // Ears: the far one dark, the near one with a light inside.
        poly({at(4, -10), at(18, -8), at(6, -2)}, kFurDark);
        poly({at(6, -6), at(19, -2), at(7, 3)}, kFur);
        if (!outline_) poly({at(7, -4), at(15, -2), at(7, 1)}, kFurLight);
        disc(s.head, 11.5, kFur);
        // Muzzle and jaw.
        stroke(at(-2, 6), at(-3, 14), 10, kCream);
        disc(at(0, 17), 2.8, kOutline);
        if (outline_) return;
        stroke(at(7, -5), at(3, -7), 2.2, kStripe);
        stroke(at(3, -9), at(-1, -10), 2.2, kStripe);
        stroke(at(-7, 11), at(-6, 15), 1.4, kOutline);
        const Vec eye = at(3, 5);
        if (p_.eyes == 1) {
            stroke(at(3, 2), at(3, 8), 1.8, kOutline);
        } else if (p_.eyes == 2) {
            stroke(at(5, 3), at(1, 7), 1.6, kOutline);
            stroke(at(1, 3), at(5, 7), 1.6, kOutline);
        } else {
            disc(eye, 3.4, kWhite);
            disc(at(3, 6.2), 2.1, kOutline);
            disc(at(4, 6.8), 0.7, kWhite);
        }
    }

    void gun() {
        const Skeleton& s = s_;
        const double a = p_.arms[0][0] + p_.arms[0][1];
        stroke(along(s.paw[0], a, -2), along(s.paw[0], a, 12), 6, kStoneDark);
        stroke(along(s.paw[0], a, 0), along(s.paw[0], a, 10), 2.5, kStoneLight);
        disc(along(s.paw[0], a, 13), 2.6, kGold);
        stroke(along(s.paw[0], a + kPi / 2, 0), along(along(s.paw[0], a, 2), a - kPi / 2, 5), 4, kStoneDark);
    }

    void effects() {
        if (p_.flash > 0) {
            const Vec tip = T(s_.gunTip(p_));
            const double r = p_.flash;
            Points star;
            for (int i = 0; i < 16; ++i) {
                const double ang = i * kPi / 8 + p_.arms[0][0];
                const double d = i % 2 ? r * 0.45 : r;
                star.emplace_back(tip.x + std::cos(ang) * d, tip.y + std::sin(ang) * d);
            }
            c_.polygon(star, kGold);
            c_.circle(tip.x, tip.y, r * 0.4, kGoldLight);
            c_.circle(tip.x, tip.y, r * 0.2, kWhite);
        }
        if (p_.swipe >= 0) {
            // A crescent of three claw trails round the shoulder.
            const Vec o = T(s_.shoulder);
            for (int k = 0; k < 3; ++k) {
                const double r0 = 30 + k * 6;
                for (double t = -0.7; t <= 0.7; t += 0.05) {
                    const double ang = p_.swipe + t;
                    const double w = 3.2 * (1 - std::fabs(t) / 0.8);
                    const Vec q = along({o.x, o.y}, ang, r0);
                    c_.circle(q.x, q.y, w + 1, kDusk, 200);
                }
                for (double t = -0.7; t <= 0.7; t += 0.05) {
                    const double ang = p_.swipe + t;
                    const double w = 2.2 * (1 - std::fabs(t) / 0.8);
                    const Vec q = along({o.x, o.y}, ang, r0);
                    c_.circle(q.x, q.y, w, k == 1 ? kWhite : kHaze);
                }
            }
        }
    }

    SampleCanvas& c_;
    const Pose& p_;
    Skeleton s_;
    Vec pivot_{};
    double ox_, oy_;
    bool outline_ = false;
};

// The frames and animations of the sprite, numbered as they are added.
class HeroSheet {
public:
    explicit HeroSheet(SpriteSheet& sheet) : sheet_(sheet) {}

    // A frame of the pose, with `extra` drawn over it in origin coordinates; returns its number.
    int frame(const Pose& p, const std::function<void(FrameCanvas&)>& extra = {}) {
        FrameCanvas f(-72, -120, 72, 130);
        HeroPainter(f.canvas, p, f.ax(0), f.ay(0)).paint();
        if (extra) extra(f);
        f.addTo(sheet_, next_);
        return next_++;
    }
    // A shot frame: box 0 is the gun point.
    int shot(const Pose& p) {
        const int f = frame(p);
        const Vec tip = Skeleton(p).gunTip(p);
        sheet_.box(f, 0, {static_cast<int>(std::lround(tip.x)) - 2, static_cast<int>(std::lround(tip.y)) - 2, 4, 4});
        return f;
    }
    // A strike frame: box 0 the area the swipe covers, box 1 the point where it lands.
    int strike(const Pose& p) {
        const int f = frame(p);
        const Skeleton s(p);
        const Vec hit = along(s.shoulder, p.swipe, 38);
        const int cx = static_cast<int>(std::lround(hit.x)), cy = static_cast<int>(std::lround(hit.y));
        sheet_.box(f, 0, {cx - 26, cy - 26, 52, 52});
        sheet_.box(f, 1, {cx - 3, cy - 3, 6, 6});
        return f;
    }
    // The next frame number, for a frame drawn by the caller; last() is the one reserved last.
    int reserve() { return next_++; }
    [[nodiscard]] int last() const { return next_ - 1; }
    void anim(int n, const std::vector<int>& frames, int time = 1) {
        std::vector<AnimStep> steps;
        for (int f : frames) steps.push_back({f, time});
        sheet_.animation(n, steps);
    }
    void anim(int n, std::vector<AnimStep> steps) { sheet_.animation(n, std::move(steps)); }

private:
    SpriteSheet& sheet_;
    int next_ = 0;
};

// Poses built from the standing one.
Pose standing(double breath) {
    Pose p;
    p.hipY = -40 + breath * 0.5;
    p.lean = 0.05;
    p.head = -breath * 0.05;
    p.tail = breath * 0.15;
    p.scarf = 0.2 + breath * 0.2;
    p.arms[0][1] = 0.5 + breath * 0.1;
    return p;
}

Pose walking(double phase) {
    Pose p;
    const double s = std::sin(phase), c = std::cos(phase);
    p.hipY = -40 + std::fabs(c) * -2;
    p.lean = 0.18;
    p.legs[0][0] = 0.55 * s, p.legs[0][1] = -0.6 * std::max(0.0, -c);
    p.legs[1][0] = -0.55 * s, p.legs[1][1] = -0.6 * std::max(0.0, c);
    p.arms[0][0] = -0.6 * s, p.arms[0][1] = 0.7;
    p.arms[1][0] = 0.6 * s, p.arms[1][1] = 0.7;
    p.tail = 0.3 * s;
    p.scarf = 0.8 + 0.2 * s;
    return p;
}

Pose crouching(double depth) {
    Pose p;
    p.hipY = -40 + 20 * depth;
    p.lean = 0.1 + 0.45 * depth;
    p.legs[0][0] = 1.4 * depth, p.legs[0][1] = -2.2 * depth;
    p.legs[1][0] = 1.2 * depth, p.legs[1][1] = -2.0 * depth;
    p.arms[0][0] = 0.3 + 0.3 * depth, p.arms[0][1] = 0.6;
    p.arms[1][0] = 0.1 + 0.3 * depth, p.arms[1][1] = 0.6;
    p.head = 0.5 * depth - 0.4 * depth;
    return p;
}

Pose airborne(bool rising, double wave) {
    Pose p;
    p.hipY = -52;
    p.lean = rising ? 0.1 : -0.05;
    if (rising) {
        p.legs[0][0] = 0.9, p.legs[0][1] = -1.5;
        p.legs[1][0] = 0.4, p.legs[1][1] = -1.2;
        p.arms[0][0] = 2.6, p.arms[0][1] = 0.3;
        p.arms[1][0] = 2.3, p.arms[1][1] = 0.4;
        p.scarf = 0.2;
    } else {
        p.legs[0][0] = 0.3 + wave * 0.2, p.legs[0][1] = -0.4;
        p.legs[1][0] = -0.2 - wave * 0.2, p.legs[1][1] = -0.3;
        p.arms[0][0] = 2.1 + wave * 0.4, p.arms[0][1] = 0.5;
        p.arms[1][0] = 1.6 - wave * 0.4, p.arms[1][1] = 0.5;
        p.scarf = 1;
        p.head = -0.2;
    }
    return p;
}

// Hanging from the position by both hands.
Pose hanging(double sway) {
    Pose p;
    // The arms spread past the head, so the paws grip beside it rather than behind it.
    p.hipY = 52;
    p.hipX = -sway * 4;
    p.lean = sway * 0.08;
    p.arms[0][0] = kPi - 0.5 + sway * 0.08, p.arms[0][1] = 0.1;
    p.arms[1][0] = kPi + 0.5 + sway * 0.08, p.arms[1][1] = -0.1;
    p.legs[0][0] = 0.15 + sway * 0.15, p.legs[0][1] = -0.15;
    p.legs[1][0] = -0.1 + sway * 0.15, p.legs[1][1] = -0.05;
    p.head = -0.3;
    p.scarf = 0.1;
    p.tail = -0.6;
    return p;
}

// The angle of aim `aim` (0 up .. 4 down).
double aimAngle(int aim) { return kPi - aim * kPi / 4; }

// The near arm pointed at `aim`, holding the gun; the forearm carries on the upper arm's line.
Pose aimed(Pose p, int aim, double flash) {
    const double a = aimAngle(aim);
    p.arms[0][0] = a - 0.1, p.arms[0][1] = 0.1;
    p.gun = true;
    p.flash = flash;
    return p;
}

}  // namespace

void drawHeroSprite(SpriteSheet& sheet) {
    HeroSheet h(sheet);
    // 0 stand (breathing), 1 look about.
    std::vector<int> breathe;
    for (double b : {0.0, 1.0, 2.0, 1.0}) breathe.push_back(h.frame(standing(b)));
    h.anim(0, {{breathe[0], 3}, {breathe[1], 2}, {breathe[2], 3}, {breathe[3], 2}});
    Pose look = standing(0);
    look.head = -0.35, look.tail = 0.4;
    const int lookUp = h.frame(look);
    look.head = 0.1, look.eyes = 1;
    const int blink = h.frame(look);
    h.anim(1, {{breathe[0], 4}, {lookUp, 4}, {blink, 1}, {lookUp, 3}, {breathe[0], 2}});
    // 2 walk: an eight-step stride.
    std::vector<int> stride;
    for (int i = 0; i < 8; ++i) stride.push_back(h.frame(walking(i * kPi / 4)));
    h.anim(2, stride);
    // 3 land, 50 crouch down, 51 crouch, 52 stand up.
    const int squat1 = h.frame(crouching(0.45)), squat2 = h.frame(crouching(1.0));
    Pose crouch = crouching(1.0);
    crouch.hipY += 1;
    crouch.tail = 0.3;
    const int crouch2 = h.frame(crouch);
    h.anim(3, {{squat2, 2}, {squat1, 2}});
    h.anim(50, {{squat1, 1}, {squat2, 1}});
    h.anim(51, {{squat2, 6}, {crouch2, 6}});
    h.anim(52, {{squat2, 1}, {squat1, 1}});
    // 4 jump, 5 fall.
    const int rise = h.frame(airborne(true, 0));
    h.anim(4, {{squat1, 1}, {rise, 1}});
    const int fall1 = h.frame(airborne(false, 1)), fall2 = h.frame(airborne(false, -1));
    h.anim(5, {{fall1, 2}, {fall2, 2}});
    // 6 diagonal jump: a forward somersault; 7 diagonal fall, leaning into it.
    std::vector<int> flip;
    for (int i = 0; i < 6; ++i) {
        Pose p = airborne(true, 0);
        p.legs[0][0] = 1.6, p.legs[0][1] = -2.2, p.legs[1][0] = 1.5, p.legs[1][1] = -2.1;
        p.arms[0][0] = 1.0, p.arms[0][1] = 1.2, p.arms[1][0] = 0.9, p.arms[1][1] = 1.2;
        p.spin = i * kPi / 3;
        flip.push_back(h.frame(p));
    }
    h.anim(6, flip);
    std::vector<int> dive;
    for (double w : {1.0, -1.0}) {
        Pose p = airborne(false, w);
        p.lean = 0.45;
        p.arms[0][0] = 1.9 + w * 0.2, p.arms[1][0] = 1.7 - w * 0.2;
        dive.push_back(h.frame(p));
    }
    h.anim(7, dive, 2);
    // 9 grab into hang, 10 hang, 8 hold a grab point with one hand.
    Pose reach = hanging(0);
    reach.arms[0][0] = kPi - 0.3, reach.arms[0][1] = -0.5, reach.legs[0][0] = 0.6, reach.legs[0][1] = -0.9;
    reach.hipY = 50;
    const int reach1 = h.frame(reach);
    std::vector<int> hang;
    for (double s : {0.0, 1.0, 0.0, -1.0}) hang.push_back(h.frame(hanging(s)));
    h.anim(9, {{reach1, 1}, {hang[1], 1}});
    h.anim(10, {{hang[0], 3}, {hang[1], 3}, {hang[2], 3}, {hang[3], 3}});
    std::vector<int> hold;
    for (double s : {0.0, 1.0}) {
        Pose p = hanging(s);
        p.arms[0][0] = 1.1 + s * 0.2, p.arms[0][1] = 0.6;
        p.legs[0][0] = 0.4 + s * 0.2;
        hold.push_back(h.frame(p));
    }
    h.anim(8, hold, 4);
    // 11..20: the hanging shot by aim, and its recovery.
    for (int aim = 0; aim < 5; ++aim) {
        Pose p = hanging(0);
        p.legs[0][0] = 0.4, p.legs[0][1] = -0.5;
        const int fire1 = h.shot(aimed(p, aim, 9)), fire2 = h.shot(aimed(p, aim, 5));
        const int recover = h.shot(aimed(p, aim, 0));
        h.anim(11 + aim * 2, {{fire1, 1}, {fire2, 1}, {recover, 1}});
        h.anim(12 + aim * 2, {{recover, 2}, {hang[0], 1}});
    }
    // 21 hand over hand: the step offsets carry the hero along.
    std::vector<AnimStep> handOver;
    for (int i = 0; i < 4; ++i) {
        Pose p = hanging(i % 2 ? 0.6 : -0.6);
        p.arms[i % 2][0] = kPi - 0.5, p.arms[i % 2][1] = -0.2;
        p.legs[0][0] = i % 2 ? 0.4 : -0.1;
        handOver.push_back({h.frame(p), 2, i * 6, 0});
    }
    h.anim(21, handOver);
    // 22 pull up, 24 pulled up, 23 lower back.
    std::vector<int> pull;
    for (int i = 1; i <= 3; ++i) {
        Pose p = hanging(0);
        const double t = i / 3.0;
        p.hipY = 52 - 22 * t;
        p.arms[0][0] = kPi - 0.1 - 1.6 * t, p.arms[0][1] = 2.4 * t;
        p.arms[1][0] = kPi + 0.1 - 1.6 * t, p.arms[1][1] = 2.2 * t;
        p.legs[0][0] = 0.9 * t, p.legs[0][1] = -1.4 * t;
        p.legs[1][0] = 0.7 * t, p.legs[1][1] = -1.2 * t;
        pull.push_back(h.frame(p));
    }
    h.anim(22, pull);
    h.anim(23, {pull[2], pull[1], pull[0]});
    Pose up = hanging(0);
    up.hipY = 30, up.arms[0][0] = kPi - 1.7, up.arms[0][1] = 2.4, up.arms[1][0] = kPi - 1.5, up.arms[1][1] = 2.2;
    up.legs[0][0] = 0.9, up.legs[0][1] = -1.4, up.legs[1][0] = 0.7, up.legs[1][1] = -1.2, up.head = 0;
    const int up2 = h.frame([&] { Pose q = up; q.legs[0][0] = 1.1; q.tail = 0.4; return q; }());
    h.anim(24, {{pull[2], 4}, {up2, 4}});
    // 25 hurt, 27 hurt while hanging, 54 knocked down.
    std::vector<int> hurt;
    for (int i = 0; i < 2; ++i) {
        Pose p = standing(0);
        p.lean = -0.35 - i * 0.1, p.eyes = 2, p.head = -0.3;
        p.arms[0][0] = 2.2, p.arms[1][0] = 2.6, p.legs[0][0] = 0.5, p.scarf = 1;
        hurt.push_back(h.frame(p));
    }
    h.anim(25, {{hurt[0], 2}, {hurt[1], 2}, {hurt[0], 2}});
    std::vector<int> hangHurt;
    for (int i = 0; i < 2; ++i) {
        Pose p = hanging(i ? 1 : -1);
        p.eyes = 2, p.legs[0][0] = 0.8 - i * 0.6, p.legs[1][0] = -0.3 + i * 0.6;
        hangHurt.push_back(h.frame(p));
    }
    h.anim(27, {{hangHurt[0], 2}, {hangHurt[1], 2}, {hangHurt[0], 2}});
    std::vector<int> knocked;
    for (int i = 0; i < 3; ++i) {
        Pose p = standing(0);
        p.eyes = 2;
        p.spin = -0.5 * (i + 1);
        p.hipY = -40 + i * 10;
        p.arms[0][0] = 2.4, p.arms[1][0] = 2.8, p.legs[0][0] = 0.7;
        knocked.push_back(h.frame(p));
    }
    h.anim(54, {{knocked[0], 1}, {knocked[1], 2}, {knocked[2], 4}, {squat2, 2}});
    // 26 stunned: sitting with stars round the head; 62 the stars alone.
    std::vector<int> dazed, stars;
    for (int i = 0; i < 4; ++i) {
        Pose p = crouching(1);
        p.eyes = 2, p.head = 0.2 + (i % 2) * 0.1, p.lean = 0.1 + 0.05 * (i % 2);
        const Vec head = Skeleton(p).head;
        auto circling = [i, head](FrameCanvas& f) {
            for (int k = 0; k < 3; ++k) {
                const double a = i * kPi / 6 + k * 2 * kPi / 3;
                drawSparkle(f.canvas, f.ax(head.x + std::cos(a) * 16), f.ay(head.y - 16 + std::sin(a) * 5), 6);
            }
        };
        dazed.push_back(h.frame(p, circling));
        FrameCanvas f(-40, -110, 40, -40);
        circling(f);
        f.addTo(sheet, h.reserve());
        stars.push_back(h.last());
    }
    h.anim(26, dazed, 2);
    h.anim(62, stars, 2);
    // 28 rising in an updraught, 29 drifting across it.
    std::vector<int> updraught, drift;
    for (double w : {1.0, -1.0}) {
        Pose p = airborne(false, w);
        p.arms[0][0] = 2.8 + w * 0.15, p.arms[1][0] = 3.2 - w * 0.15, p.scarf = 0, p.head = -0.4;
        p.legs[0][0] = -0.1 + w * 0.1, p.legs[1][0] = 0.1 - w * 0.1;
        updraught.push_back(h.frame(p));
        Pose q = airborne(false, w);
        q.lean = 1.2, q.hipY = -40, q.arms[0][0] = 2.4 + w * 0.4, q.arms[1][0] = 2.4 - w * 0.4;
        q.legs[0][0] = -0.6 + w * 0.3, q.legs[1][0] = -0.6 - w * 0.3, q.head = -0.6;
        drift.push_back(h.frame(q));
    }
    h.anim(28, updraught, 3);
    h.anim(29, drift, 3);
    // 30..39: the standing shot by aim, and its recovery.
    for (int aim = 0; aim < 5; ++aim) {
        Pose p = standing(0);
        p.legs[0][0] = 0.35, p.legs[1][0] = -0.3, p.lean = aim == 4 ? 0.3 : 0.08;
        const int fire1 = h.shot(aimed(p, aim, 10)), fire2 = h.shot(aimed(p, aim, 5));
        const int recover = h.shot(aimed(p, aim, 0));
        h.anim(30 + aim * 2, {{fire1, 1}, {fire2, 1}, {recover, 1}});
        h.anim(31 + aim * 2, {{recover, 2}, {breathe[0], 1}});
    }
    // 40 carried: keeping balance.
    std::vector<int> balance;
    for (double w : {1.0, -1.0}) {
        Pose p = standing(0);
        p.arms[0][0] = 1.7 + w * 0.25, p.arms[1][0] = 1.5 - w * 0.25, p.arms[0][1] = p.arms[1][1] = -0.2;
        p.lean = 0.05 * w;
        balance.push_back(h.frame(p));
    }
    h.anim(40, balance, 3);
    // 41 strike wind-up, 42 in the air; 45..48 the strike by aim 0..3; 49 the air strike.
    Pose wind = standing(0);
    wind.lean = -0.15, wind.arms[0][0] = -0.9, wind.arms[0][1] = 1.6, wind.legs[0][0] = 0.45, wind.legs[1][0] = -0.35;
    const int wind1 = h.frame(wind);
    wind.arms[0][0] = -1.3, wind.lean = -0.25;
    const int wind2 = h.frame(wind);
    h.anim(41, {wind1, wind2});
    Pose airWind = airborne(true, 0);
    airWind.arms[0][0] = -1.2, airWind.arms[0][1] = 1.5;
    const int airWind1 = h.frame(airWind);
    airWind.lean = -0.3;
    const int airWind2 = h.frame(airWind);
    h.anim(42, {airWind1, airWind2});
    for (int aim = 0; aim < 4; ++aim) {
        const double a = aimAngle(aim);
        Pose p = standing(0);
        p.lean = 0.3, p.legs[0][0] = 0.6, p.legs[0][1] = -0.4, p.legs[1][0] = -0.45;
        p.arms[1][0] = -0.6;
        p.arms[0][0] = a - 0.5, p.arms[0][1] = 0.2;
        p.swipe = a + 0.15;
        const int swipe1 = h.strike(p);
        p.arms[0][0] = a + 0.3, p.swipe = a - 0.15;
        const int swipe2 = h.strike(p);
        Pose follow = p;
        follow.swipe = -1, follow.arms[0][0] = a + 0.6, follow.lean = 0.2;
        const int after = h.frame(follow);
        h.anim(45 + aim, {{wind2, 1}, {swipe1, 1}, {swipe2, 1}, {after, 2}});
    }
    std::vector<int> airStrike;
    for (int i = 0; i < 3; ++i) {
        Pose p = airborne(true, 0);
        p.spin = 0.5 + i * 0.7;
        p.arms[0][0] = 1.6, p.arms[0][1] = 0.1;
        p.swipe = 1.3 + i * 0.4;
        airStrike.push_back(h.strike(p));
    }
    h.anim(49, airStrike);
    // 43 look up, 44 wave.
    Pose gaze = standing(0);
    gaze.head = -0.8, gaze.lean = -0.1;
    h.anim(43, {{h.frame(gaze), 6}, {breathe[1], 2}});
    std::vector<int> wave;
    for (double w : {0.0, 1.0}) {
        Pose p = standing(0);
        p.arms[0][0] = kPi - 0.6, p.arms[0][1] = -0.4 - 0.6 * w, p.tail = 0.4 * w;
        wave.push_back(h.frame(p));
    }
    h.anim(44, {{wave[0], 2}, {wave[1], 2}, {wave[0], 2}, {wave[1], 2}});
    // 53 float: the scarf held up as a sail.
    std::vector<int> glide;
    for (double w : {1.0, -1.0}) {
        Pose p = airborne(false, 0);
        p.arms[0][0] = kPi - 0.35, p.arms[1][0] = kPi + 0.35, p.arms[0][1] = p.arms[1][1] = 0;
        p.legs[0][0] = 0.2 + w * 0.1, p.legs[1][0] = -0.1 - w * 0.1;
        p.scarf = 0;
        glide.push_back(h.frame(p, [p, w](FrameCanvas& f) {
            const Skeleton s(p);
            const double l = s.paw[1].x, r = s.paw[0].x, top = std::min(s.paw[0].y, s.paw[1].y);
            auto sail = [&](double grow, uint32_t c) {
                f.canvas.fill([=, &f](double x, double y) {
                    const double u = (x - f.ax((l + r) / 2)) / ((r - l) / 2 + 10 + grow);
                    const double v = f.ay(top) - y;
                    return std::fabs(u) <= 1 && v >= -grow && v <= 18 * (1 - u * u) + w + grow;
                }, c, f.ax(l - 20), f.ay(top - 30), f.ax(r + 20), f.ay(top + 4));
            };
            sail(2, kOutline);
            sail(0, kScarf);
            f.canvas.line(f.ax(l), f.ay(top - 1), f.ax(r), f.ay(top - 1), 3, kScarfDark);
        }));
    }
    h.anim(53, glide, 3);
    // 55 leave through the exit: a wave, then a hop away into the distance.
    Pose hop = airborne(true, 0);
    hop.spin = 0.2;
    h.anim(55, {{wave[0], 2}, {wave[1], 2}, {wave[0], 2}, {squat1, 2}, {h.frame(hop), 3}});
    // 56 and 57 seized by the collar, kicking.
    for (int n = 56; n <= 57; ++n) {
        std::vector<int> kick;
        for (double w : {1.0, -1.0}) {
            Pose p = hanging(w * 0.5);
            p.hipY = -30, p.eyes = 2;
            p.arms[0][0] = 1.3 + w * 0.5, p.arms[1][0] = 1.8 - w * 0.5, p.arms[0][1] = p.arms[1][1] = 0.4;
            p.legs[0][0] = 0.7 * w, p.legs[0][1] = -0.8, p.legs[1][0] = -0.6 * w, p.legs[1][1] = -0.6;
            p.scarf = 1, p.lean = n == 56 ? -0.2 : 0.2;
            kick.push_back(h.frame(p));
        }
        h.anim(n, kick, 2);
    }
    // 58 and 59 thrown: tumbling head over heels; 63 knocked out and tumbling.
    std::vector<int> tumble, out;
    for (int i = 0; i < 4; ++i) {
        Pose p = airborne(false, i % 2 ? 1 : -1);
        p.spin = -i * kPi / 2, p.eyes = 2;
        tumble.push_back(h.frame(p));
        p.eyes = 1, p.arms[0][0] = 1.0, p.arms[1][0] = 2.0, p.legs[0][0] = 0.8;
        out.push_back(h.frame(p));
    }
    h.anim(58, tumble);
    h.anim(59, tumble);
    h.anim(63, out);
    // 60 holding a line with both hands.
    std::vector<int> haul;
    for (double w : {0.0, 1.0}) {
        Pose p = standing(0);
        p.lean = -0.2 - 0.1 * w, p.legs[0][0] = 0.5, p.legs[1][0] = -0.2;
        p.arms[0][0] = 1.4, p.arms[0][1] = 0.1 + 0.2 * w, p.arms[1][0] = 1.3, p.arms[1][1] = 0.2 + 0.2 * w;
        haul.push_back(h.frame(p, [p](FrameCanvas& f) {
            const Skeleton s(p);
            f.canvas.line(f.ax(s.paw[1].x - 6), f.ay(s.paw[1].y + 1), f.ax(70), f.ay(s.paw[0].y - 8), 3, kAmber);
        }));
    }
    h.anim(60, haul, 4);
    // 61 the scarf, blown off and fluttering.
    std::vector<int> scarf;
    for (int i = 0; i < 2; ++i) {
        FrameCanvas f(-30, -20, 30, 20);
        for (int pass = 0; pass < 2; ++pass) {
            const double g = pass == 0 ? 2 : 0;
            f.canvas.fill([=, &f](double x, double y) {
                const double u = (x - f.ax(0)) / 24;
                const double mid = f.ay(0) + 5 * std::sin(u * 4 + i * kPi);
                return std::fabs(u) <= 1 && std::fabs(y - mid) <= 4.5 * (1 - 0.4 * std::fabs(u)) + g;
            }, pass == 0 ? kOutline : (i ? kScarfDark : kScarf), 0, 0, 60, 40);
        }
        f.addTo(sheet, h.reserve());
        scarf.push_back(h.last());
    }
    h.anim(61, scarf, 2);
}

}  // namespace tools::art

namespace tools::art {

// Sprite 10, the hero as the racer riding the updraught up the course: animation 6 - n (n 0..6) leans
// it by its distance from the course's middle (6 upright in the middle, 0 leaning hard at the edge),
// 15 - n the same while braking (arms and scarf spread); 7 and 8 knocked about (8 in the middle).
void drawRacerSprite(SpriteSheet& sheet) {
    HeroSheet h(sheet);
    for (int brake = 0; brake < 2; ++brake)
        for (int a = 0; a <= 6; ++a) {
            std::vector<int> frames;
            for (double w : {1.0, -1.0}) {
                Pose p = airborne(false, w);
                p.spin = (6 - a) * 0.09;
                p.head = -0.4;
                if (brake) {
                    p.arms[0][0] = 2.0 + w * 0.1, p.arms[1][0] = 2.3 - w * 0.1, p.arms[0][1] = p.arms[1][1] = -0.3;
                    p.legs[0][0] = 0.9, p.legs[0][1] = -1.3, p.legs[1][0] = 0.6, p.legs[1][1] = -1.1;
                    p.scarf = 1;
                } else {
                    p.arms[0][0] = 2.9 + w * 0.12, p.arms[1][0] = 3.3 - w * 0.12;
                    p.legs[0][0] = -0.1 + w * 0.15, p.legs[1][0] = 0.1 - w * 0.15;
                    p.scarf = 0;
                }
                frames.push_back(h.frame(p));
            }
            h.anim(brake ? 15 - a : 6 - a, frames, 2);
        }
    for (int n = 7; n <= 8; ++n) {
        std::vector<int> frames;
        for (int i = 0; i < 4; ++i) {
            Pose p = airborne(false, i % 2 ? 1 : -1);
            p.eyes = 2;
            p.spin = (n == 7 ? 1 : -1) * i * kPi / 2;
            frames.push_back(h.frame(p));
        }
        h.anim(n, frames);
    }
}

}  // namespace tools::art

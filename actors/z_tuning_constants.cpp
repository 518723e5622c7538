// Z's tuning constants: whole units (pixels, pixels per second, pixels per second squared) shifted
// into 8.8 by FP_SHIFT at start-up, so the step that sets FP_SHIFT must run first.
#include "actors/z.h"

jint Z::GRAVITY = 0;
jint Z::T85 = 0;
jint Z::T86 = 0;
jint Z::T98 = 0;
jint Z::T99 = 0;
jint Z::T122 = 0;
jint Z::T135 = 0;
jint Z::T136 = 0;
jint Z::T138 = 0;
jint Z::T139 = 0;
jint Z::T152 = 0;
jint Z::T156 = 0;
jint Z::T157 = 0;
jint Z::T187 = 0;
jint Z::T188 = 0;
jint Z::BOUNCE_SPEED = 0;
jint Z::TARGET_HEIGHT_RANGE = 0;
jint Z::AIM_POINT_DROP = 0;
jint Z::HERO_SLOPE_ACCEL = 0;
jint Z::HERO_SLIDE_FRICTION = 0;

namespace {

[[nodiscard]] jint fixed(jint units) { return jt::shl(units, Z::FP_SHIFT); }

}  // namespace

void Z::buildTuningConstants() {
    GRAVITY = jt::mul(fixed(1000), 2);
    T85 = fixed(-160);
    T86 = fixed(100);
    T98 = fixed(-200);
    T99 = fixed(200);
    T122 = fixed(200);
    T135 = fixed(100);
    T136 = fixed(400);
    T138 = fixed(400);
    T139 = fixed(800);
    T152 = fixed(50);
    T156 = fixed(450);
    T157 = fixed(550);
    T187 = fixed(160);
    T188 = fixed(-100);
    BOUNCE_SPEED = jt::mul(fixed(-450), 2);
    TARGET_HEIGHT_RANGE = fixed(170);
    AIM_POINT_DROP = fixed(90);
    HERO_SLOPE_ACCEL = jt::mul(fixed(100), 2);
    HERO_SLIDE_FRICTION = jt::mul(fixed(400), 2);
}

// The animation player: one animation of one sprite, advanced by the game loop's frame time and
// painted with its own draw effects. The sprite's tables are checked through ASprite's accessors,
// so an animation or frame outside them plays as no animation.
#include <algorithm>

#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_draw.h"

namespace {

const uint32_t kPlayerRefs[] = {BX_REF_FIELD(BXLibPlayer, sprite)};
const RefFieldRegistration kPlayerRefsReg(CID_BXLibPlayer, kPlayerRefs);

}  // namespace

void BXLibPlayer::init() { Reset(); }

void BXLibPlayer::init(ASprite* s, jint px, jint py) {
    Reset();
    x = px;
    y = py;
    sprite = s;
    frame = 0;
    time = 0;
    loops = -2;
    finished = 0;
}

void BXLibPlayer::Reset() {
    x = y = flags = frame = time = 0;
    sprite = nullptr;
    anim = -1;
    loops = 1;
    finished = 1;
    effectParamA = effectParamB = -1;
}

void BXLibPlayer::SetSprite(ASprite* s) {
    sprite = s;
    if (finished == 0 && anim == -1) return;
    anim = -1;
    frame = time = 0;
    loops = -2;
    finished = 0;
}

void BXLibPlayer::SetAnim(jint a, jint loopCount) {
    if (a == anim && finished == 0) return;
    anim = a;
    frame = time = 0;
    loops = loopCount - 1;
    finished = 0;
}

void BXLibPlayer::SetAnimForced(jint a, jint loopCount, bool force) {
    if (force && !(finished == 0 && anim == -1)) {
        anim = -1;
        frame = time = loops = finished = 0;
    }
    SetAnim(a, loopCount);
}

jint BXLibPlayer::GetAnimFrameCount() const {
    const jint count = (anim >= 0 && sprite) ? sprite->GetAFrames(anim) : 0;
    return count > 0 ? count : -1;
}

jint BXLibPlayer::SetFrame(jint f) {
    // A count of 0 would never bring f below it: such an animation is no animation.
    const jint count = GetAnimFrameCount();
    if (count < 1) return -1;
    if (f >= count) f %= count;
    frame = f;
    time = 0;
    return f;
}

jint BXLibPlayer::GetFrameDuration() const {
    if (GetAnimFrameCount() < 1) return 0;
    return sprite->GetAFrameTime(anim, frame) * kMsPerTimeUnit;
}

bool BXLibPlayer::IsAnimOver() const {
    if (GetAnimFrameCount() < 1) return true;
    if (loops < 0) return false;
    return finished != 0;
}

void BXLibPlayer::Update(jint dt) {
    const jint d = GetFrameDuration();
    if (finished == 1 || anim < 0 || d == 0) return;
    if (time >= d) {
        time -= d;
        if (frame < GetAnimFrameCount() - 1) {
            ++frame;
        } else if (loops == 0) {
            finished = 1;
        } else {
            frame = 0;
            if (loops > 0) --loops;
        }
    }
    // Held at the int range: a surplus that wrapped negative would stop the animation.
    time = static_cast<jint>(std::clamp<jlong>(jlong{time} + dt, INT32_MIN, INT32_MAX));
}

void BXLibPlayer::Render() {
    if (anim < 0 || !sprite) return;
    if (effectParamB != -1) {
        cGameDraw::setDrawEffect(cGameDraw::kEffectScale, false);
        cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, effectParamB);
        if (effectParamA != -1) cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 2, effectParamA);
    } else if (effectParamA != -1) {
        cGameDraw::setDrawEffect(cGameDraw::kEffectAlpha, false);
        cGameDraw::setDrawEffectParam(cGameDraw::kEffectAlpha, 1, effectParamA);
    }
    sprite->PaintAFrame(cGameDraw::s_g, anim, frame, x, y, flags, 0, 0);
    cGameDraw::s_drawEffects &= ~cGameDraw::kPixelEffectsMask;
}

// The hero's collision box per state (with the probe that keeps a crouch under a low ceiling), its
// segment test (the corners, the bottom edge against a segment's end, and the box edges in the
// levels that need them) and slope following for both of its horizontal speeds.
#include <algorithm>

#include "actors/chero.h"
#include "actors/platform_polyline.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr jint px(jint v) { return v << 8; }

constexpr jint kHalfWidth = px(20);
constexpr jint kCarriedAnim = 40;
constexpr jint kPolyNoBottomSweep = 256;
constexpr jint kWallWindow = 14;  // units of 256 per turn around straight up or down
// The steepest slope a speed follows (the movement step's limit, so speed x tangent stays in range).
constexpr jint kMaxSlopeTangent = 64 << 8;

// The box's top and bottom for a state; false for the carried state's animation box.
bool verticalExtent(jint s, jint& top, jint& bottom) {
    bottom = 0;
    if (s >= 122 && s <= 124) {
        top = 0;
        bottom = px(60);
    } else if (cHero::isHangingState(s)) {
        top = 0;
        bottom = px(120);
    } else if (cHero::isCrouchState(s)) {
        top = px(-60);
    } else if (s == 2 || s == 3 || s == 105) {
        top = px(-120);
    } else {
        top = px(-90);
    }
    return true;
}

bool levelTestsBoxEdges(jint level) { return level == 3 || level == 5 || level == 8 || level == 9; }

jint absOf(jint v) { return v < 0 ? jt::neg(v) : v; }

struct SharedContactScratch {
    jint codes[cActor::kContactTableLimit + 1] = {};
    jint count = 0, passes = 0;
    jint search[4] = {};

    static SharedContactScratch save() {
        SharedContactScratch s;
        s.count = cActor::s_contactCount;
        s.passes = cActor::s_contactPasses;
        for (jint i = 0; i < 4 && cActor::s_searchRect; ++i) s.search[i] = cActor::s_searchRect->get(i);
        IntArray* t = cActor::s_contacts;
        for (jint i = 0; t && i < t->length && i <= cActor::kContactTableLimit; ++i) s.codes[i] = t->get(i);
        return s;
    }
    void restore() const {
        cActor::s_contactCount = count;
        cActor::s_contactPasses = passes;
        for (jint i = 0; i < 4 && cActor::s_searchRect; ++i) cActor::s_searchRect->set(i, search[i]);
        IntArray* t = cActor::s_contacts;
        for (jint i = 0; t && i < t->length && i <= cActor::kContactTableLimit; ++i) t->set(i, codes[i]);
    }
};

}  // namespace

void cHero::updateBoxes() {
    IntArray* b = localBox;
    BX_RETURN_IF_NULL(b);
    if (state == 106 && player && player->anim == kCarriedAnim) {
        if (!getAnimRect(b)) b->fill({0, 0, 0, 0});
        refreshCollisionRect();
        return;
    }
    jint top = 0, bottom = 0;
    verticalExtent(state, top, bottom);
    const jint oldTop = b->get(1);
    b->fill({jt::neg(kHalfWidth), top, kHalfWidth, bottom});
    if (top >= oldTop || state == 106 || !collisionRect || !s_searchRect) {
        refreshCollisionRect();
        return;
    }
    // Growing upward: the old top is swept up by the growth and the contacts looked at. A contact
    // that cuts the sweep means no room to stand up, so the old top stays (unless it was 0: from
    // hanging, the reference point moves to the feet).
    b->set(1, oldTop);
    const jint savedMoveX = moveX, savedMoveY = moveY, savedAngle = angle;
    const jint savedFlags = contactFlags, savedId = contactId, savedGround = groundId;
    const jint savedPrevFlags = prevContactFlags, savedPrevId = prevContactId, savedPrevGround = prevGroundId,
               savedPrevSegment = prevGroundSegment;
    const jint growth = top - oldTop;
    // The probe may run inside a contact pass (a state entered by a contact): that pass's table,
    // counters and search rectangle are kept for it.
    const SharedContactScratch outer = SharedContactScratch::save();
    moveX = 0;
    moveY = growth;
    refreshCollisionRect();
    runContactPasses();
    outer.restore();
    BX_RETURN_IF_PENDING();
    // The probe only looks: what it met is not what the hero stands on, so the hero's own contacts
    // and moves come back whichever way it ends (kept, a hero under a low ceiling would lose its
    // ground and fall every frame).
    if (moveY == growth || oldTop == 0) b->set(1, top);
    moveX = savedMoveX;
    moveY = savedMoveY;
    angle = savedAngle;
    contactFlags = savedFlags;
    contactId = savedId;
    groundId = savedGround;
    prevContactFlags = savedPrevFlags;
    prevContactId = savedPrevId;
    prevGroundId = savedPrevGround;
    prevGroundSegment = savedPrevSegment;
    refreshCollisionRect();
}

bool cHero::testCollision(cActor* platform, jint segment) {
    const bool hit = cActor::testCollision(platform, segment);
    BX_RETURN_IF_PENDING(hit);
    collideSegment(platform, segment);
    BX_RETURN_IF_PENDING(hit);
    if (levelTestsBoxEdges(cGame::s_level)) collideSegmentEdges(platform, segment);
    return hit;
}

void cHero::collideSegment(cActor* platform, jint k) {
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (!line.hasSegment(k) || !collisionRect || moveY <= 0 || (line.flags & kPolyNoBottomSweep)) return;
    const jint a = line.angle(k) & 255;
    if (absOf(a - 64) <= kWallWindow || absOf(a - 192) <= kWallWindow) return;
    const jint ax = platform->x + line.x(k), ay = platform->y + line.y(k);
    const jint bx = platform->x + line.x(k + 1), by = platform->y + line.y(k + 1);
    IntArray* c = collisionRect;
    const jint bottom = c->get(3);
    if (cGame::segmentsIntersect(ax, ay, bx, by, c->get(0), bottom, c->get(2), bottom) != 1) return;
    jint height = 0;
    if (pointInRect(ax, ay, c)) height = ay;
    else if (pointInRect(bx, by, c)) height = by;
    else return;
    const jint bits = (line.flags & ~15) | kContactSegment | kDirFloor;
    const jint r = applyContact(platform, 5, bits, bx - ax, by - ay, true);
    BX_RETURN_IF_PENDING();
    moveY += height - bottom;
    refreshCollisionRect();
    if (r != 5) setContact(platform->id, bits, k);
}

void cHero::applySlope() {
    if (!isOnGround() || state == 2 || state == 132) return;
    const jint t = std::clamp(cGame::tan(angle), -kMaxSlopeTangent, kMaxSlopeTangent);
    for (const jint v : {speedX, heroSpeedX}) {
        const jlong p = jlong{v} * t;
        if (p >= 256) speedY = static_cast<jint>(std::clamp<jlong>(speedY + (p >> 8), INT32_MIN, INT32_MAX));
    }
}

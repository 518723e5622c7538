// The small operations the actor code shares: flips and facing, rectangle tests in 8.8 (inclusive
// edges; a rectangle whose right equals its left overlaps nothing), motion helpers, look-ups of
// other actors, screen placement, and the movers of types 7 and 53.
#include "actors/cactor.h"

#include <algorithm>

#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"

namespace {

jint px(jint v) { return cGame::fixedToInt(v); }

jint absOf(jint v) { return v < 0 ? jt::neg(v) : v; }

}  // namespace

bool cActor::isFlipped() const { return player && (player->flags & 1) != 0; }

void cActor::setFlipped(bool on) {
    BX_RETURN_IF_NULL(player);
    player->flags = on ? (player->flags | 1) : (player->flags & ~1);
}

void cActor::setFlippedY(bool on) {
    BX_RETURN_IF_NULL(player);
    player->flags = on ? (player->flags | 2) : (player->flags & ~2);
}

void cActor::toggleFlipped() { setFlipped(!isFlipped()); }

jint cActor::facingValue(jint v) const { return isFlipped() ? jt::neg(v) : v; }

void cActor::limitSpeedXFacing(jint limit) {
    if (!isFlipped()) speedX = std::min(speedX, limit);
    else speedX = std::max(speedX, jt::neg(limit));
}

void cActor::faceHero() {
    cActor* hero = cGame::s_hero;
    BX_RETURN_IF_NULL(hero);
    const bool heroLeft = hero->x < x;
    if (behaviourSpeed >= 0) {
        angle = heroLeft ? 128 : 0;
        const jint a = angle & 255;
        setFlipped(a >= 64 && a <= 192);
    } else {
        speedX = heroLeft ? jt::neg(absOf(speedX)) : absOf(speedX);
        setFlipped(heroLeft);
    }
}

void cActor::faceActor(cActor* other) {
    BX_RETURN_IF_NULL(other);
    setFlipped(other->x < x);
}

bool cActor::isOnGround() const { return (flags & kFlagGround) && groundId >= 0; }

bool cActor::isDying() const { return state == 20 || state == 21 || state == 22; }

IntArray* cActor::toWorldRect(IntArray* box) {
    BX_RETURN_IF_NULL(box, nullptr);
    BX_RETURN_IF_NULL(scratchRect, nullptr);
    scratchRect->set(0, box->get(0) + x);
    scratchRect->set(1, box->get(1) + y);
    scratchRect->set(2, box->get(2) + x);
    scratchRect->set(3, box->get(3) + y);
    return scratchRect;
}

IntArray* cActor::offsetRect(IntArray* rect) {
    BX_RETURN_IF_NULL(rect, nullptr);
    rect->set(0, rect->get(0) + x);
    rect->set(1, rect->get(1) + y);
    rect->set(2, rect->get(2) + x);
    rect->set(3, rect->get(3) + y);
    return rect;
}

bool cActor::rectsTouch(IntArray* a, IntArray* b) {
    BX_RETURN_IF_NULL(a, false);
    BX_RETURN_IF_NULL(b, false);
    return rectOverlapsBox(a, b->get(0), b->get(1), b->get(2), b->get(3));
}

bool cActor::rectsOverlap(IntArray* a, IntArray* b) {
    BX_RETURN_IF_NULL(a, false);
    BX_RETURN_IF_NULL(b, false);
    if (a->get(2) == a->get(0) || b->get(2) == b->get(0)) return false;
    return rectsTouch(a, b);
}

bool cActor::rectOverlapsBox(IntArray* r, jint l, jint t, jint rt, jint b) {
    BX_RETURN_IF_NULL(r, false);
    return r->get(2) >= l && r->get(0) <= rt && r->get(3) >= t && r->get(1) <= b;
}

bool cActor::pointInRect(jint x0, jint y0, IntArray* r) {
    BX_RETURN_IF_NULL(r, false);
    return x0 >= r->get(0) && x0 <= r->get(2) && y0 >= r->get(1) && y0 <= r->get(3);
}

bool cActor::containsPlayer() {
    cActor* f = cGame::s_cameraFollow;
    if (!f) return false;
    return pointInRect(f->x, f->y, toWorldRect(localBox));
}

void cActor::snapTo(cActor* other, bool alignOwnTop, bool useTopBox) {
    BX_RETURN_IF_NULL(other);
    BX_RETURN_IF_NULL(other->localBox);
    BX_RETURN_IF_NULL(localBox);
    y = other->y + other->localBox->get(useTopBox ? 1 : 3) - (alignOwnTop ? localBox->get(1) : 0);
    x = other->x + ((localBox->get(0) + localBox->get(2)) >> 1);
}

bool cActor::clampToCameraZone() {
    cActor* zone = cGame::s_cameraZone;
    if (!zone || zone->param(8) != 4 || !zone->collisionRect || !collisionRect) return false;
    const jint sides = zone->param(12);
    IntArray* z = zone->collisionRect;
    IntArray* o = collisionRect;
    bool horizontal = false;
    if ((sides & 1) && o->get(0) < z->get(0)) {
        x += z->get(0) - o->get(0);
        horizontal = true;
    } else if ((sides & 4) && o->get(2) > z->get(2)) {
        x += z->get(2) - o->get(2);
        horizontal = true;
    }
    if ((sides & 2) && o->get(1) < z->get(1)) y += z->get(1) - o->get(1);
    else if ((sides & 8) && o->get(3) > z->get(3)) y += z->get(3) - o->get(3);
    return horizontal;
}

void cActor::placePlayerOnScreen() {
    BX_RETURN_IF_NULL(player);
    const bool offsets = (flags & kFlagAnimMotion) != 0;
    player->x = px(x) - cGame::s_cameraX - (offsets ? px(animOffsetX) : 0);
    player->y = px(y) - cGame::s_cameraY - cGame::s_viewBob - (offsets ? px(animOffsetY) : 0);
}

void cActor::placeOnWheel() {
    BX_RETURN_IF_NULL(player);
    IntArray* v = cGame::s_viewRect;
    const jint top = v ? v->get(1) : 0;
    const jint degrees = px(jt::div(jt::mul(x, 220), 1000)) + 160;
    const jint d = px(y - top);
    const jint r = static_cast<jint>(jlong{d} * d * 220 / 360000);
    const jint a = jt::div(jt::mul(degrees, 256), 360);
    player->x = 400 + px(jt::mul(cGame::cos(a), r));
    player->y = 200 - px(jt::mul(cGame::cos(64 - a), r));
}

jint cActor::approxDistance(jint dx, jint dy) {
    const jint ax = absOf(dx), ay = absOf(dy);
    const jint a = std::max(ax, ay), b = std::min(ax, ay);
    return static_cast<jint>((jlong{246} * a + jlong{102} * b) >> 8);
}

jint cActor::scaleBySin(jint v, jint a) { return jt::mul(cGame::cos(64 - a), v) >> 8; }
jint cActor::scaleByCos(jint v, jint a) { return jt::mul(cGame::cos(a), v) >> 8; }

void cActor::limitSpeed(jint len, jint a) {
    const jint lx = absOf(scaleByCos(len, a)), ly = absOf(scaleBySin(len, a));
    speedX = clampMagnitude(speedX, lx);
    speedY = clampMagnitude(speedY, ly);
}

jint cActor::scaleBySpeedFactor(jint v) { return (jt::mul(cGame::s_speedFactor, v) + 128) >> 8; }

jint cActor::predictPosition(jint v, jint a) {
    const jlong t = cGame::s_frameTime;
    return scaleBySpeedFactor(v) + static_cast<jint>(t * t * a / 2 / 1000000);
}

jint cActor::clampMagnitude(jint v, jint limit) { return std::clamp(v, std::min(jt::neg(limit), limit), std::max(limit, jt::neg(limit))); }

void cActor::polarOffset(jint len, jint a, jint dx, jint dy) {
    BX_RETURN_IF_NULL(s_vec2);
    s_vec2->set(0, px(jt::mul(cGame::cos(a), len)) + dx);
    s_vec2->set(1, px(jt::mul(cGame::cos(64 - a), len)) + dy);
}

cActor* cActor::findNearestAbove() {
    cActor* best = nullptr;
    jint bestDistance = 0;
    for (cActor* a = listHead(kListDraw); a; a = a->nextIn(kListDraw)) {
        if (!isTargetType(a->type)) continue;
        if (a->y > y || absOf(a->x - x) >= Z::T152) continue;
        const jint d = y - a->y;
        if (!best || d < bestDistance) {
            best = a;
            bestDistance = d;
        }
    }
    return best;
}

bool cActor::isHeroNearX(jint d) const {
    cActor* hero = cGame::s_hero;
    return hero && absOf(x - hero->x) <= d;
}

bool cActor::isHeroRidingLinked() {
    cActor* hero = cGame::s_hero;
    if (!hero || !typeData || typeData->length < 1) return false;
    cActor* platform = findInList(typeData->get(0), kListLevel);
    return platform && hero->groundId == platform->id && hero->state == 1 && hero->speedX != 0;
}

void cActor::findZoneSegment() {
    updateBoxes();
    BX_RETURN_IF_PENDING();
    constexpr jint t = 30 * 256 / 360;
    auto level = [](jint a) {
        a &= 255;
        return a <= t || (a >= 128 - t && a <= 128 + t) || a >= 256 - t;
    };
    for (cActor* p = listHead(kListLevel); p; p = p->nextIn(kListLevel)) {
        if (!(p->paramFlags & 2)) continue;
        const jint poly = p->param(7);
        if (!cGame::s_polyPoints || !cGame::s_polyFlags) return;
        // A polyline without a segment is passed over: the platforms after it still count.
        if (poly < 0 || poly >= cGame::s_polyCount) continue;
        auto* points = static_cast<IntArray*>(cGame::s_polyPoints->get(poly));
        auto* angles = cGame::s_polyAngles ? static_cast<IntArray*>(cGame::s_polyAngles->get(poly)) : nullptr;
        if (!points || !angles || points->length < 4) continue;
        if (cGame::s_polyFlags->get(poly) < 1 || (cGame::s_polyFlags->get(poly) & 0x200)) continue;
        IntArray* box = toWorldRect(localBox);
        const jint count = points->length / 2;
        for (jint k = 0; k + 1 < count; ++k) {
            if (!pointInRect(points->get(2 * k) + p->x, points->get(2 * k + 1) + p->y, box)) continue;
            jint segment = -1;
            if (level(angles->get(k))) segment = k;
            else if (k > 0 && level(angles->get(k - 1))) segment = k - 1;
            if (segment < 0) continue;
            typeData = Runtime::newIntArray(2);
            BX_RETURN_IF_NULL(typeData);
            typeData->fill({p->id, segment});
            break;
        }
    }
}

void cActor::moveType7() {
    if (!typeData || typeData->length < 4) return;
    const jint x0 = typeData->get(0), y0 = typeData->get(1), x1 = typeData->get(2), y1 = typeData->get(3);
    // A path without horizontal length has no height for an x: the carriage keeps its y.
    if (px(x1 - x0) == 0) return;
    y = y0 + jt::div(jt::mul(x - x0, px(y1 - y0)), px(x1 - x0));
}

void cActor::moveType53() {
    if (type != 53 || state == 285 || !typeData || typeData->length < 3) return;
    jint a = typeData->get(0);
    while (a < 0) a += 256;
    a %= 256;
    typeData->set(0, a + param(8));
    if (state == 284 && linked && linked->typeData && linked->typeData->length >= 3) {
        const jint limit = linked->typeData->get(2);
        if (limit == s_enemyAngleNarrow && a >= s_enemyAngleNarrow)
            typeData->set(0, std::max(typeData->get(0), s_enemyAngleNarrow));
        else if (limit == s_enemyAngleWide && a >= s_enemyAngleWide)
            typeData->set(0, std::max(typeData->get(0), s_enemyAngleWide));
    }
    polarOffset(param(7) << 8, typeData->get(0), typeData->get(1), typeData->get(2));
    moveX = s_vec2->get(0) - x;
    moveY = s_vec2->get(1) - y;
}

jint cActor::typeValueOf(const cActor* a, jint k) {
    const IntArray* v = a ? a->typeData : nullptr;
    return v && k >= 0 && k < v->length ? v->get(k) : 0;
}

void cActor::setTypeValueOf(cActor* a, jint k, jint value) {
    IntArray* v = a ? a->typeData : nullptr;
    if (v && k >= 0 && k < v->length) v->set(k, value);
}

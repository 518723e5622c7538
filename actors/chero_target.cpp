// The hero's reach and aim: its attack rectangle (a frame box in the close strikes, the whole view
// in the facing direction for the long shots), the search for a target among the visible actors,
// and the step to the end of a strike, which stops where a blocking polyline crosses it.
// Angles here are degrees with 90 pointing up the screen, as the aim keys give them.
#include "actors/chero.h"

#include <cstdint>

#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

jint cHero::s_aimDegrees = -1;

namespace {

constexpr jint kWideWindow = 40, kNarrowWindow = 22;

bool isLongReachState(jint s) { return s == 113 || s == 115 || s == 117; }

// The angle, in degrees 0..360, from a to b.
jint degreesTo(const cActor* a, const cActor* b) {
    const jint angle = cGame::atan2(jt::sub(b->x, a->x), jt::sub(a->y, b->y));
    return jt::mul(angle, 360) >> 8;
}

// angle within window degrees of aim, either way round the circle.
bool withinWindow(jint angle, jint aim, jint window) {
    jint d = (angle - aim) % 360;
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d >= -window && d <= window;
}

bool skippedByLongReach(cActor* o) {
    if (o->type == 58 && o->linked && o->linked->type == 59) return true;
    if (o->type == 16 || o->type == 1) return true;
    if (o->type == 60 && !o->isOnGround()) return true;
    return o->type == 48 && o->state == 0;
}

// The vertical centres (top + bottom sums) of the two world boxes less than the reach apart.
bool verticallyClose(cActor* hero, cActor* o) {
    IntArray* h = hero->toWorldRect(hero->localBox);
    BX_RETURN_IF_NULL(h, false);
    const jlong heroSum = jlong{h->get(1)} + h->get(3);
    IntArray* r = o->toWorldRect(o->localBox);
    BX_RETURN_IF_NULL(r, false);
    const jlong otherSum = jlong{r->get(1)} + r->get(3);
    const jlong diff = heroSum > otherSum ? heroSum - otherSum : otherSum - heroSum;
    return diff / 2 < Z::TARGET_HEIGHT_RANGE;
}

// Every filter of the target search but the first-found rule; the caller is the hero.
bool qualifies(cActor* hero, cActor* o, jint window) {
    if (isLongReachState(hero->state)) {
        if (skippedByLongReach(o)) return false;
        const jint angle = degreesTo(hero, o);
        cActor::s_targetAngle = angle;
        const jint aim = cHero::s_aimDegrees != -1 ? cHero::s_aimDegrees : (hero->isFlipped() ? 180 : 0);
        if (!withinWindow(angle, aim, window)) return false;
    }
    if (cGame::s_level == 5 || cGame::s_level == 6) return verticallyClose(hero, o);
    return true;
}

// 2 for most types; the lesser targets rank below them.
jint targetClass(const cActor* o) {
    if (o->type == 41) return 1;
    if (o->type == 47) return o->param(11) == 0 ? 0 : 1;
    return 2;
}

}  // namespace

cActor* cHero::findTarget(cActor* caller) {
    for (cActor* o = listHead(kListDraw); o; o = o->nextIn(kListDraw)) {
        if (o == caller || !isTargetType(o->type)) continue;
        if (caller != cGame::s_hero) return o;
        if (qualifies(caller, o, kWideWindow)) return o;
    }
    return nullptr;
}

cActor* cHero::findBestTarget(cActor* caller) {
    cActor* best = nullptr;
    jint bestClass = -1, bestDistance = 0;
    cActor* ref = cGame::s_cameraFollow ? cGame::s_cameraFollow : caller;
    const jint refX = ref ? ref->x : 0, refY = ref ? ref->y : 0;
    for (cActor* o = listHead(kListDraw); o; o = o->nextIn(kListDraw)) {
        if (o == caller || !isTargetType(o->type)) continue;
        if (caller != cGame::s_hero) return o;
        if (!qualifies(caller, o, kNarrowWindow)) continue;
        const jint c = targetClass(o);
        const jint d = approxDistance(jt::sub(o->x, refX), jt::sub(o->y, refY));
        if (c > bestClass || (c == bestClass && d < bestDistance)) {
            best = o;
            bestClass = c;
            bestDistance = d;
        }
    }
    return best;
}

void cHero::computeAttackRect() {
    IntArray* r = attackRect();
    BX_RETURN_IF_NULL(r);
    if (state == 106 || state == 108 || state == 111) {
        getFrameBoxRect(0, r);
        offsetRect(r);
        return;
    }
    IntArray* view = cGame::s_viewRect;
    BX_RETURN_IF_NULL(view);
    if (isLongReachState(state)) {
        r->set(0, isFlipped() ? view->get(0) : x);
        r->set(2, isFlipped() ? x : view->get(2));
    }
    r->set(1, view->get(1));
    r->set(3, view->get(3));
}

void cHero::moveToAttackPoint(jint fromX, jint fromY) {
    computeAttackRect();
    BX_RETURN_IF_PENDING();
    IntArray* r = attackRect();
    BX_RETURN_IF_NULL(r);
    jint tx = static_cast<jint>((jlong{r->get(0)} + r->get(2)) / 2), ty = r->get(3);
    const jint segment = static_cast<jint>(static_cast<uint32_t>(contactFlags) >> 16);
    for (cActor* p = listHead(kListLevel); p; p = p->nextIn(kListLevel)) {
        if (!(p->paramFlags & 2)) continue;
        const jint poly = p->param(7);
        if (poly < 0 || poly >= cGame::s_polyCount || !cGame::s_polyPoints || !cGame::s_polyFlags ||
            poly >= cGame::s_polyFlags->length || poly >= cGame::s_polyPoints->length)
            continue;
        if (!(cGame::s_polyFlags->get(poly) & 0x6000)) continue;
        auto* points = static_cast<IntArray*>(cGame::s_polyPoints->get(poly));
        // The segment index comes from the hero's last contact: one outside this polyline is none.
        if (!points || segment < 0 || jlong{segment} * 2 + 3 >= points->length) continue;
        const jint x1 = points->get(2 * segment) + p->x, y1 = points->get(2 * segment + 1) + p->y;
        const jint x2 = points->get(2 * segment + 2) + p->x, y2 = points->get(2 * segment + 3) + p->y;
        if (cGame::segmentsIntersect(fromX, fromY, tx, ty, x1, y1, x2, y2) == 1) {
            tx = cGame::s_intersectX;
            ty = cGame::s_intersectY;
        }
    }
    x = tx;
    y = ty;
}

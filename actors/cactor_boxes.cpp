// Actor boxes: the collision box by type (slot 15), the current animation frame's rectangle and
// boxes with the flips of player and animation frame, the record rectangle, and the view tests.
// Rectangles are int[4] {left, top, right, bottom} in 8.8, relative to the actor unless made world
// ones; s_searchRect is the shared scratch result, copied by callers before the next call.
#include "actors/cactor.h"

#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

// One animation frame of a sprite, read with every index checked against its table.
struct AnimFrame {
    bool valid = false;
    jint frame = 0, flags = 0, offX = 0, offY = 0;
};

AnimFrame animFrame(const ASprite* s, jint anim, jint aframe) {
    AnimFrame f;
    if (!s || aframe < 0 || aframe >= s->GetAFrames(anim) || !s->animAfFirst) return f;
    const jint k = s->animAfFirst->get(anim) + aframe;
    if (k < 0 || k >= s->aframeCount || !s->afFrame || !s->afFlags || k >= s->afFrame->length ||
        k >= s->afFlags->length)
        return f;
    f.flags = s->afFlags->get(k) & 0xFF;
    f.frame = (s->afFrame->get(k) & 0xFF) + ((f.flags & 0xC0) << 2);
    f.offX = s->GetAFrameX(k);
    f.offY = s->GetAFrameY(k);
    f.valid = true;
    return f;
}

void setRect(IntArray* r, jint l, jint t, jint rt, jint b) {
    if (!r || r->length < 4) return;
    r->set(0, l);
    r->set(1, t);
    r->set(2, rt);
    r->set(3, b);
}

Bsprite* spriteOf(const BXLibPlayer* p) {
    if (!p || !p->sprite || p->sprite->classId() != CID_Bsprite) return nullptr;
    return static_cast<Bsprite*>(p->sprite);
}

}  // namespace

jint cActor::getFrameOffsetX() const {
    if (!player || player->anim < 0) return 0;
    const AnimFrame f = animFrame(player->sprite, player->anim, player->frame);
    if (!f.valid) return 0;
    return (player->flags & 1) ? -f.offX : f.offX;
}

jint cActor::getFrameOffsetY() const {
    if (!player || player->anim < 0) return 0;
    const AnimFrame f = animFrame(player->sprite, player->anim, player->frame);
    return f.valid ? f.offY : 0;
}

// The stored rectangle holds the frame's top-left corner and size, as the painter places it.
void cActor::computeFrameRect(IntArray* rect) {
    Bsprite* s = spriteOf(player);
    const AnimFrame f = s ? animFrame(s, player->anim, player->frame) : AnimFrame{};
    jint left = 0, top = 0, w = 0, h = 0;
    if (f.valid) {
        left = s->GetFrameX(f.frame) + f.offX;
        top = s->GetFrameY(f.frame) + f.offY;
        w = s->GetFrameWidth(f.frame);
        h = s->GetFrameHeight(f.frame);
        if (((player->flags ^ f.flags) & 1) != 0) left = -(left + w);
    }
    setRect(s_searchRect, left, top, left + w, top + h);
    setRect(rect, left << 8, top << 8, (left + w) << 8, (top + h) << 8);
}

void cActor::getAFrameBoxRect(jint anim, jint aframe, jint box, IntArray* rect) {
    Bsprite* s = spriteOf(player);
    IntArray* b = s_viewScratch;
    setRect(b, 0, 0, 0, 0);
    if (s && b) s->GetAFrameBox(anim, aframe, box, b, player->flags & 3, false);
    const jint bx = (b ? b->get(0) : 0) + getFrameOffsetX();
    const jint by = (b ? b->get(1) : 0) + getFrameOffsetY();
    setRect(rect, bx << 8, by << 8, (bx + (b ? b->get(2) : 0)) << 8, (by + (b ? b->get(3) : 0)) << 8);
}

void cActor::getFrameBoxRect(jint box, IntArray* rect) {
    if (!player) return setRect(rect, 0, 0, 0, 0);
    getAFrameBoxRect(player->anim, player->frame, box, rect);
}

void cActor::centerOnPoint(jint cx, jint cy) {
    IntArray* r = s_searchRect;
    BX_RETURN_IF_NULL(r);
    getAFrameBoxRect(0, 0, 1, r);
    x = cx - ((r->get(0) + r->get(2)) >> 1);
    y = cy - ((r->get(1) + r->get(3)) >> 1);
}

IntArray* cActor::getRecordRect() {
    const jint left = (param(2) + param(7)) << 8, top = (param(3) + param(8)) << 8;
    setRect(s_searchRect, left, top, left + (param(9) << 8), top + (param(10) << 8));
    return s_searchRect;
}

void cActor::updateBoxes() {
    IntArray* b = localBox;
    BX_RETURN_IF_NULL(b);
    auto px = [](jint v) { return v << 8; };
    switch (type) {
        case 2: setRect(b, px(param(8)), px(param(9)), px(param(8) + param(10)), px(param(9) + param(11))); break;
        case 18: setRect(b, px(param(7)), px(param(8)), px(param(7) + param(9)), px(param(8) + param(10))); break;
        case 6:
            if (typeData && typeData->length >= 7)
                setRect(b, typeData->get(5), typeData->get(1), typeData->get(6), typeData->get(2));
            break;
        case 38: setRect(b, px(-60), px(-100), px(60), 0); break;
        case 8: setRect(b, px(-40), px(-50), px(40), 0); break;
        case 9: setRect(b, px(-36), px(-120), px(36), 0); break;
        case 32: setRect(b, px(-40), px(-120), px(40), 0); break;
        case 37:
        case 15: setRect(b, px(-20), px(-20), px(20), px(20)); break;
        case 5:
        case 10:
        case 11: setRect(b, 0, 0, px(param(6)), px(param(7))); break;
        case 24: setRect(b, px(-20), px(-40), px(20), 0); break;
        case 29: setRect(b, px(-40), px(-80), px(param(8) == 2 ? 30 : 40), 0); break;
        case 43:
            if (!getAnimRect(b)) setRect(b, 0, 0, 0, 0);
            b->set(1, b->get(1) - px(8));
            b->set(3, b->get(3) + px(3));
            break;
        case 36:
        case 40: getFrameBoxRect(0, b); break;
        default:
            if (!getAnimRect(b)) setRect(b, 0, 0, 0, 0);
            break;
    }
    refreshCollisionRect();
}

void cActor::refreshCollisionRect() { updateCollisionRect(moveX, moveY, false); }

// The box at the position swept along the move; a degenerate box sweeps nothing (it never overlaps).
void cActor::updateCollisionRect(jint dx, jint dy, bool keepBase) {
    IntArray* c = collisionRect;
    IntArray* b = localBox;
    BX_RETURN_IF_NULL(c);
    BX_RETURN_IF_NULL(b);
    if (b->get(2) == b->get(0) || b->get(3) == b->get(1)) return setRect(c, 0, 0, 0, 0);
    if (!keepBase) setRect(c, x + b->get(0), y + b->get(1), x + b->get(2), y + b->get(3));
    if (dx < 0) c->set(0, c->get(0) + dx);
    else c->set(2, c->get(2) + dx);
    if (dy < 0) c->set(1, c->get(1) + dy);
    else c->set(3, c->get(3) + dy);
}

// The world frame rectangle of an actor with an animation; otherwise its position as a point (the
// search rectangle would hold whatever the last caller left there).
static IntArray* worldFrameRect(cActor* a) {
    IntArray* r = cActor::s_searchRect;
    if (!r) return nullptr;
    if (a->getAnimRect(r)) return a->offsetRect(r);
    setRect(r, a->x, a->y, a->x, a->y);
    return r;
}

bool cActor::isOutsideView(jint margin) {
    IntArray* r = worldFrameRect(this);
    IntArray* v = cGame::s_viewRect;
    BX_RETURN_IF_NULL(r, false);
    BX_RETURN_IF_NULL(v, false);
    const jint m = margin << 8;
    return !rectOverlapsBox(r, v->get(0) - m, v->get(1) - m, v->get(2) + m, v->get(3) + m);
}

bool cActor::isOutsideViewVertically(jint margin) {
    IntArray* r = worldFrameRect(this);
    IntArray* v = cGame::s_viewRect;
    BX_RETURN_IF_NULL(r, false);
    BX_RETURN_IF_NULL(v, false);
    const jint m = margin << 8;
    return r->get(3) < v->get(1) + m || r->get(1) > v->get(3) + m;
}

bool cActor::cornerTouchesRect(IntArray* rect, bool useTop, bool stripAtTop) {
    IntArray* b = localBox;
    IntArray* strip = s_searchRect;
    BX_RETURN_IF_NULL(rect, false);
    BX_RETURN_IF_NULL(b, false);
    BX_RETURN_IF_NULL(strip, false);
    const jint cy = y + (useTop ? b->get(1) : b->get(3));
    for (jint corner : {b->get(0), b->get(2)}) {
        const jint cx = x + corner;
        if (moveX != 0 && moveY != 0) {
            if (stripAtTop) setRect(strip, rect->get(0), rect->get(1), rect->get(2), rect->get(1) + 1);
            else setRect(strip, rect->get(0), rect->get(3) - 1, rect->get(2), rect->get(3));
            if (rectOverlapsBox(strip, cx, cy, cx + moveX, cy + moveY)) return true;
        } else if (pointInRect(cx, cy, rect)) {
            return true;
        }
    }
    return false;
}

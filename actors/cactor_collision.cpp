// The contact resolver: the contacts of one moved actor collected into the shared table (platform
// segments and other actors whose swept rectangles meet its own), dispatched in two sweeps to the
// segment test (slot 12) and to pushApart, searched again while a clip widens the swept area.
// Invariant: a contact code is id << 16 | 0x8000 | segment (the whole index, so long polylines are
// solid everywhere) or id << 16 | 0x2000 | kind; the table holds at most 19 distinct codes; the
// table, its counters and the search rectangle are one actor's scratch, rebuilt for each.
#include <algorithm>

#include "actors/cactor.h"
#include "actors/platform_polyline.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

constexpr jint kMaxSearchPasses = 4;

jint absOf(jint v) { return v < 0 ? jt::neg(v) : v; }

// A rectangle read once for the walks, where every actor and every segment is tested against it.
// Rectangles the actors own always hold four values; anything else reads as degenerate.
struct Box {
    jint l = 0, t = 0, r = 0, b = 0;
};

Box boxOf(IntArray* a) {
    if (!a || a->length < 4) return {};
    const jint* e = a->elements();
    return {e[0], e[1], e[2], e[3]};
}

// cActor::rectsOverlap on boxes: inclusive edges, degenerate boxes overlap nothing.
bool overlaps(const Box& a, const Box& b) {
    if (a.r == a.l || b.r == b.l) return false;
    return a.r >= b.l && a.l <= b.r && a.b >= b.t && a.t <= b.b;
}

bool cornerIsTop(jint c) { return c >= 2; }
bool cornerIsLeft(jint c) { return (c & 1) == 0; }

}  // namespace

void cActor::rollContactState() {
    prevContactFlags = contactFlags;
    prevContactId = contactId;
    prevGroundSegment = contactFlags >> 16;
    prevGroundId = groundId;
    contactId = -1;
    groundId = -1;
    contactFlags = 0;
}

void cActor::resolveContacts() {
    BX_RETURN_IF_NULL(s_searchRect);
    BX_RETURN_IF_NULL(collisionRect);
    runContactPasses();
}

void cActor::runContactPasses() {
    for (jint i = 0; i < 4; ++i) s_searchRect->set(i, collisionRect->get(i));
    s_contactCount = 0;
    rollContactState();
    s_contactPasses = 0;
    bool more = false;
    do {
        checkActorContacts();
        more = dispatchContacts();
        if (Runtime::pending()) return;
        ++s_contactPasses;
    } while (more);
}

jint cActor::contactKindOf(cActor* other) const {
    if (type == 1) {
        if (other->type == 29 || other->type == 53) return 2;
        if (other->type == 30 && other->param(7) == 0) return 15;
        if (other->type == 43) return 5;
        if (other->flags & kFlagContactKind) return other->contactKind;
    }
    if ((flags & kFlagGround) && (other->paramFlags & kParamFlagPolyline)) return 13;
    return 0;
}

void cActor::addContact(jint code) {
    BX_RETURN_IF_NULL(s_contacts);
    if (s_contactCount >= kContactTableLimit || s_contactCount >= s_contacts->length) return;
    for (jint i = 0; i < s_contactCount; ++i)
        if (s_contacts->get(i) == code) return;
    s_contacts->set(s_contactCount++, code);
}

void cActor::checkActorContacts() {
    if (prevContactId > 0) {
        cActor* last = cGame::findActorById(prevContactId);
        if (last && last != this) {
            const jint k = contactKindOf(last);
            if (k != 0) recheckContact(last, k, prevGroundSegment);
        }
    }
    const Box mine = boxOf(collisionRect);
    for (cActor* o = listHead(kListUpdate); o; o = o->nextIn(kListUpdate)) {
        if (o == this || !overlaps(mine, boxOf(o->collisionRect))) continue;
        const jint kind = contactKindOf(o);
        if (kind == 0) continue;
        if (o->paramFlags & kParamFlagPolyline) {
            if (paramFlags & kParamFlagPolyline) checkActorCollision(o->collisionRect, this);
            else checkActorCollision(collisionRect, o);
        } else {
            addContact(kind | o->id << 16 | kContactActor);
        }
    }
}

bool cActor::recheckContact(cActor* other, jint kind, jint segment) {
    if (!rectsOverlap(collisionRect, other->collisionRect)) return false;
    if (other->paramFlags & kParamFlagPolyline) {
        const bool self = (paramFlags & kParamFlagPolyline) != 0;
        IntArray* rect = self ? other->collisionRect : collisionRect;
        cActor* platform = self ? this : other;
        if (segment == -1) checkActorCollision(rect, platform);
        else if (segmentBoxOverlap(rect, platform, segment) && platform->id != contactId)
            addContact((segment & kContactIndexMask) | platform->id << 16 | kContactSegment);
    } else {
        addContact(kind | other->id << 16 | kContactActor);
    }
    return true;
}

// The segments' boxes are tested inline (segmentBoxOverlap's rule): a long polyline is walked
// once per actor and pass, so its points are read straight from the array, which nothing here
// can move (no allocation until the walk ends).
bool cActor::checkActorCollision(IntArray* rect, cActor* platform) {
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (line.count < 2 || !rect) return false;
    const Box r = boxOf(rect);
    const jint* pts = line.points->elements();
    const jint mx = platform->moveX, my = platform->moveY;
    bool any = false;
    for (jint k = 0; k + 1 < line.count; ++k) {
        const jint x0 = platform->x + pts[2 * k], y0 = platform->y + pts[2 * k + 1];
        const jint x1 = platform->x + pts[2 * k + 2], y1 = platform->y + pts[2 * k + 3];
        const jint loX = std::min(x0, x1) + std::min(mx, 0), hiX = std::max(x0, x1) + std::max(mx, 0);
        const jint loY = std::min(y0, y1) + std::min(my, 0), hiY = std::max(y0, y1) + std::max(my, 0);
        if (!(r.r >= loX && r.l <= hiX && r.b >= loY && r.t <= hiY)) continue;
        any = true;
        if (platform->id != contactId) addContact((k & kContactIndexMask) | platform->id << 16 | kContactSegment);
    }
    return any;
}

bool cActor::segmentBoxOverlap(IntArray* rect, cActor* platform, jint k) const {
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (!line.hasSegment(k)) return false;
    jint loX = platform->x + std::min(line.x(k), line.x(k + 1));
    jint hiX = platform->x + std::max(line.x(k), line.x(k + 1));
    jint loY = platform->y + std::min(line.y(k), line.y(k + 1));
    jint hiY = platform->y + std::max(line.y(k), line.y(k + 1));
    if (platform->moveX < 0) loX += platform->moveX;
    else hiX += platform->moveX;
    if (platform->moveY < 0) loY += platform->moveY;
    else hiY += platform->moveY;
    return rectOverlapsBox(rect, loX, loY, hiX, hiY);
}

bool cActor::dispatchContacts() {
    auto dispatch = [this](jint i) {
        const jint code = s_contacts->get(i);
        cActor* other = cGame::findActorById(code >> 16);
        if (!other || !rectsOverlap(collisionRect, other->collisionRect)) return false;
        if (code & kContactSegment) return testCollision(other, code & kContactIndexMask);
        if (code & kContactActor) return pushApart(other, code & 0xFFFF, true, true);
        return false;
    };
    if (!s_contacts) return false;
    for (jint i = 0; i < s_contactCount; ++i) {
        if (dispatch(i)) return true;
        if (Runtime::pending()) return false;
    }
    for (jint i = s_contactCount - 1; i >= 0; --i) {
        if (dispatch(i)) return true;
        if (Runtime::pending()) return false;
    }
    return false;
}

bool cActor::testCollision(cActor* platform, jint k) {
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (!line.hasSegment(k) || !localBox || !s_cornerX || !s_cornerY) return false;
    const jint f = line.flags;
    const jint a0 = line.angle(k) & 255;
    const jint ax = platform->x + line.x(k), ay = platform->y + line.y(k);
    const jint bx = platform->x + line.x(k + 1), by = platform->y + line.y(k + 1);
    const bool platformMoves = platform->moveX != 0 || platform->moveY != 0;
    jint bits = (f & ~15) | kContactSegment;
    for (jint c = 0; c < 4; ++c) {
        const bool top = cornerIsTop(c);
        if (top && (f & kPolyOneWay)) continue;
        const jint cornerX = localBox->get(cornerIsLeft(c) ? 0 : 2), cornerY = localBox->get(top ? 1 : 3);
        jint px = cornerX + x, py = cornerY + y;
        if (platformMoves) {
            px += platform->moveX;
            py += platform->moveY;
        }
        const jint qx = cornerX + x + moveX, qy = cornerY + y + moveY;
        if (cGame::segmentsIntersect(ax, ay, bx, by, px, py, qx, qy) != 1) continue;
        const jint ix = cGame::s_intersectX, iy = cGame::s_intersectY;
        const jint t = top ? 28 : 14;
        const bool wall = ((64 - t < a0 && a0 < 64 + t) || (192 - t < a0 && a0 < 192 + t)) && !(f & kPolyWallKick);
        if (wall) {
            // The vertical overshoot is turned along the wall, pointing down the screen.
            const jint oy = (py + moveY) - iy;
            jint a = a0;
            if (oy != 0 && a0 >= 128) a -= 128;
            a += 256;
            bits |= cornerIsLeft(c) != isFlipped() ? kDirWallBehind : kDirWallFront;
            refreshCollisionRect();
            const jint r = applyContact(platform, 5, bits, bx - ax, by - ay, true);
            BX_RETURN_IF_PENDING(false);
            if (r == 6) {
                moveX = cGame::cos(a) - px + ix + s_cornerX->get(c);
                moveY = cGame::cos(64 - a) - py + iy;
            } else if (r != 4) {
                moveX = ((jt::mul(cGame::cos(a), oy) + 128) >> 8) - px + ix + s_cornerX->get(c);
                moveY = ((jt::mul(cGame::cos(64 - a), oy) + 128) >> 8) - py + iy;
            }
            if (growSearchRect()) {
                if (type == 36) moveX = moveY = 0;
                return true;
            }
            refreshCollisionRect();
            continue;
        }
        // A one-way line is passed from below by an actor not standing on anything.
        if ((f & kPolyOneWay) && moveY - platform->moveY < 0 && prevGroundId < 0) continue;
        // The overshoot slides along the segment, in the segment's right-pointing direction.
        jint ox = (px + moveX) - ix;
        jint a = a0;
        if (ox > 0 && 64 < a0 && a0 < 192) a += 128;
        else if (ox < 0 && 64 <= a0 && a0 <= 192) a -= 128;
        a += 256;
        if (top) ox = 0;
        jint nx = ((jt::mul(ox, cGame::cos(a)) + 128) >> 8) - px + ix;
        jint ny = ((jt::mul(ox, cGame::cos(64 - a)) + 128) >> 8) - py + iy + s_cornerY->get(c);
        bits |= top ? kDirCeiling : kDirFloor;
        updateCollisionRect(nx, ny, false);
        const jint r = applyContact(platform, 5, bits, bx - ax, by - ay, true);
        BX_RETURN_IF_PENDING(false);
        if (r == 4) {
            refreshCollisionRect();
            continue;
        }
        if (r == 6) {
            nx = cGame::cos(a) - px + ix;
            ny = cGame::cos(64 - a) - py + iy + s_cornerY->get(c);
            updateCollisionRect(nx, ny, false);
            if (growSearchRect() && type == 36) {
                moveX = moveY = 0;
                return true;
            }
        }
        if (r != 3) {
            if (!top && speedY > 0) speedY = 0;
            if (top && speedY < 0) speedY = 0;
        }
        moveX = nx;
        moveY = ny;
        refreshCollisionRect();
        if (r != 5) setContact(platform->id, bits, k);
        angle = (a0 < 64 || a0 > 192) ? a0 : a0 - 128;
        if (growSearchRect() && type == 36) {
            moveX = moveY = 0;
            return true;
        }
        refreshCollisionRect();
    }
    return false;
}

bool cActor::growSearchRect() {
    if (s_contactPasses > kMaxSearchPasses || !s_searchRect || !collisionRect) return false;
    IntArray* c = collisionRect;
    IntArray* s = s_searchRect;
    if (c->get(0) < s->get(0)) {
        s->set(0, c->get(0));
        return true;
    }
    if (c->get(2) > s->get(2)) {
        s->set(2, c->get(2));
        return true;
    }
    if (c->get(1) < s->get(1)) {
        s->set(1, c->get(1));
        return true;
    }
    if (c->get(3) > s->get(3)) {
        s->set(3, c->get(3));
        return true;
    }
    return false;
}

void cActor::setContact(jint contactActorId, jint contactBits, jint segment) {
    jint f = contactBits;
    if (f & kContactActor) {  // seen from the other actor: floor and ceiling swap
        const jint vertical = f & (kDirCeiling | kDirFloor);
        f &= ~(kDirCeiling | kDirFloor | 0x1E00);
        if (vertical & kDirCeiling) f |= kDirFloor;
        if (vertical & kDirFloor) f |= kDirCeiling;
    }
    auto store = [this, f, segment] { contactFlags = ((contactFlags | f) & 0xFFFF) | segment << 16; };
    if ((f & 0xE000) && (f & kDirFloor)) {
        groundId = contactActorId;
        store();
    }
    if (groundId < 1) store();
    else contactFlags |= f & 15;
    contactId = contactActorId;
}

bool cActor::pushApart(cActor* other, jint code, bool swept, bool fromDispatch) {
    if (!other->collisionRect || !other->localBox || !localBox || !s_cornerSign) return false;
    const jint rx = moveX - other->moveX, ry = moveY - other->moveY;
    const jint h = rx < 0 ? 0 : 2, v = ry < 0 ? 1 : 3;
    jint bits = 0;
    jint nx = moveX, ny = moveY;
    if (ry != 0) {
        if (swept) ny = other->collisionRect->get(4 - v) - y - localBox->get(v) + s_cornerSign->get(v);
        else ny = other->moveY - y + other->y + other->localBox->get(v) - localBox->get(v);
        if (absOf(ry) >= absOf(ny) || absOf(other->moveY) >= absOf(ny)) bits |= ry < 0 ? 0x408 : 0x202;
    }
    if (rx != 0) {
        const bool otherFlipFlag = (other->flags & 1) != 0;
        if (swept) {
            nx = other->collisionRect->get(2 - h) - x - localBox->get(h) + s_cornerSign->get(h);
            bool counts = true;
            if (absOf(rx) < absOf(nx) && absOf(other->moveX) < absOf(nx))
                counts = !(bits & (kDirCeiling | kDirFloor)) && cGame::sameSign(x - other->x, nx);
            if (counts) bits |= (h == 2) != otherFlipFlag ? 0x1001 : 0x804;
        } else {
            nx = other->moveX - x + other->x + other->localBox->get(h) - localBox->get(h);
            if (!(absOf(rx) < absOf(nx) && absOf(other->moveX) < absOf(nx))) bits |= h == 2 ? 0x804 : 0x1001;
        }
    }
    jint f = bits & code;
    jint chosenX = moveX, chosenY = moveY;
    if (f & (kDirCeiling | kDirFloor)) chosenY = ny;
    else if (f & (kDirWallBehind | kDirWallFront)) chosenX = nx;
    updateCollisionRect(chosenX, chosenY, false);
    if (f & (kDirWallBehind | kDirWallFront)) {
        const bool front = (!isFlipped() && h == 2) || (isFlipped() && h == 0);
        f = (f & ~(kDirWallBehind | kDirWallFront)) | (front ? kDirWallFront : kDirWallBehind);
    }
    const jint r = applyContact(other, 1, f | kContactActor, 0, 0, fromDispatch);
    BX_RETURN_IF_PENDING(false);
    if (r != 4) {
        moveX = chosenX;
        if (other->type != 30) moveY = chosenY;
        if (r != 3 && (f & kDirFloor)) speedY = 0;
        if (f & kDirCeiling) {
            rideOn(other);
            refreshCollisionRect();
        }
        setContact(other->id, f | kContactActor, 0);
    }
    refreshCollisionRect();
    return false;
}

void cActor::rideOn(cActor* other) {
    if (other->type == 29) {
        moveY += other->moveY;
    } else if (other->type == 53 && type == 1 && !s_heroCarried) {
        s_heroCarried = 1;
        moveX += other->moveX;
        if (other->moveY >= 0) moveY += other->moveY;
    }
    flags |= kFlagCarried;
}

void cActor::findSwitchPlatforms() {
    updateBoxes();
    BX_RETURN_IF_PENDING();
    if (!typeData || typeData->length < 4) {
        IntArray* data = Runtime::newIntArray(4);
        BX_RETURN_IF_NULL(data);
        for (jint i = 0; typeData && i < typeData->length; ++i) data->set(i, typeData->get(i));
        typeData = data;
    }
    for (cActor* p = listHead(kListLevel); p; p = p->nextIn(kListLevel)) {
        if (!(p->paramFlags & kParamFlagPolyline)) continue;
        const PlatformPolyline line = PlatformPolyline::of(p);
        if (line.count < 2 || !(line.flags & (32 | 64))) continue;
        IntArray* box = toWorldRect(localBox);
        jint found = -1;
        for (jint i = 0; i < line.count && found < 0; ++i)
            if (pointInRect(p->x + line.x(i), p->y + line.y(i), box)) found = i;
        if (found < 0) continue;
        const jint s = std::max(0, found - 1);
        if (line.flags & 32) {
            typeData->set(0, p->id);
            typeData->set(1, s);
            p->flags &= ~kFlagSwitchedOff;
        } else {
            typeData->set(2, p->id);
            typeData->set(3, s);
            p->flags |= kFlagSwitchedOff;
        }
    }
}

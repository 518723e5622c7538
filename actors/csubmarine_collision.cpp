// cSubmarine's own segment collision: after the common corner test, the leading edges of its
// collision rectangle are cut back to a segment end that lies inside it, so the hull stops at
// thin spikes the corners would pass by. A contact is left in the wall statics for the bounce.
#include "actors/csubmarine.h"

#include "actors/platform_polyline.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"

namespace {

struct Point {
    jint x, y;
};

void recordWallHit(jint dx, jint dy) {
    cSubmarine::s_wallHit = 1;
    cSubmarine::s_wallX = dx;
    cSubmarine::s_wallY = dy;
}

}  // namespace

bool cSubmarine::testCollision(cActor* platform, jint segment) {
    const bool result = cActor::testCollision(platform, segment);
    BX_RETURN_IF_PENDING(result);
    collideSegment(platform, segment);
    return result;
}

void cSubmarine::collideSegment(cActor* platform, jint segment) { (void)collideSegmentEdges(platform, segment); }

jint cSubmarine::collideSegmentEdges(cActor* platform, jint segment) {
    if (!platform || !collisionRect) return 0;
    const PlatformPolyline line = PlatformPolyline::of(platform);
    if (!line.hasSegment(segment)) return 0;
    const Point a{platform->x + line.x(segment), platform->y + line.y(segment)};
    const Point b{platform->x + line.x(segment + 1), platform->y + line.y(segment + 1)};
    IntArray* r = collisionRect;
    auto inside = [r](Point p) {
        return p.x >= r->get(0) && p.x <= r->get(2) && p.y >= r->get(1) && p.y <= r->get(3);
    };
    auto meets = [&a, &b](jint x1, jint y1, jint x2, jint y2) {
        return cGame::segmentsIntersect(a.x, a.y, b.x, b.y, x1, y1, x2, y2) != 0;
    };

    bool verticalContact = false;
    jint contactX = 0;
    const bool verticalPass = moveY != 0;
    if (verticalPass) {
        const jint edgeY = moveY < 0 ? r->get(1) : r->get(3);
        if (meets(r->get(0), edgeY, r->get(2), edgeY) && (inside(a) || inside(b))) {
            const Point p = inside(a) ? a : b;
            moveY += p.y - edgeY;
            refreshCollisionRect();
            recordWallHit(100, 0);
            verticalContact = true;
            contactX = p.x;
        }
    }

    if (moveX == 0 && !verticalPass) return 0;
    bool hit = false;
    jint edgeX = r->get(0);
    if (moveX != 0) {
        edgeX = moveX < 0 ? r->get(0) : r->get(2);
        hit = meets(edgeX, r->get(1), edgeX, r->get(3));
    } else {
        hit = meets(r->get(0), r->get(1), r->get(2), r->get(3));
    }
    if (hit) {
        jint px = 0;
        bool found = true;
        if (inside(a)) px = a.x;
        else if (inside(b)) px = b.x;
        else if (verticalContact) px = contactX;
        else found = false;
        if (found) {
            moveX += px - edgeX;
            refreshCollisionRect();
            recordWallHit(0, 100);
            return 1;
        }
    }
    return verticalContact ? 1 : 0;
}

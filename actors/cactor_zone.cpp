// The level's invisible zones: type 5 trigger zones in their fifteen kinds (record word 8) and the
// type 11 camera zones that take the camera while its target is inside. Boxes are world
// rectangles, inclusive on every edge; "the hero's point" is its position (its feet).
// Invariant: at most one camera zone holds the camera (cGame::s_cameraZone), and it is in state 194.
#include "actors/cactor.h"

#include <algorithm>

#include "actors/chero.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"

namespace {

enum Kind : jint {
    kExit = 0,
    kCheckpoint,
    kGrabEdge,
    kLanding,
    kLift,
    kTrackSwitch,
    kOverdraw,
    kBarrier,
    kBlackout,
    kBouncePad,
    kVehicleExit,
    kRemoteSwitch,
    kScrollText,
    kInfoScreen,
    kTitleText
};

constexpr jint kMsgGrabEdge = 30, kMsgLanding = 31, kMsgLift = 33, kMsgBounce = 38;
constexpr jint kMsgZoneTaken = 19;
constexpr jint kHeroLeaving = 136, kHeroWalking = 1;
constexpr jint kVehicleDriven = 142, kVehicleLeaving = 144;
constexpr jint kZoneHolding = 194, kLockingZone = 4, kCameraFollowMode = 2;
constexpr jint kInfoState = 26, kInfoPageBase = 102, kTitleTextBase = 130;
constexpr jint kScrollTextId = 81, kScrollPropertyLiteral = 70, kScrollFont = 1, kScrollWidth = 780;
constexpr jint kScrollStartY = 448, kScrollStep = 2;
constexpr jint kTitleFramesPerPhase = 10;

// A world box copied out of the actor's scratch rectangle (the next toWorldRect reuses it).
struct Box {
    jint l = 0, t = 0, r = 0, b = 0;
    bool valid = false;
    [[nodiscard]] bool contains(jint px, jint py) const { return valid && px >= l && px <= r && py >= t && py <= b; }
    [[nodiscard]] bool overlaps(IntArray* o) const { return valid && o && cActor::rectOverlapsBox(o, l, t, r, b); }
};

Box worldBox(cActor* a) {
    Box box;
    IntArray* w = a->toWorldRect(a->localBox);
    if (!w) return box;
    box = {w->get(0), w->get(1), w->get(2), w->get(3), true};
    return box;
}

// The hero's world box, when the hero has one that is not degenerate.
IntArray* heroBox(cActor* hero) {
    if (!hero || !hero->localBox) return nullptr;
    IntArray* w = hero->toWorldRect(hero->localBox);
    if (!w || w->get(0) == w->get(2)) return nullptr;
    return w;
}

cActor* drivenVehicle() {
    for (cActor* a = cActor::listHead(cActor::kListUpdate); a; a = a->nextIn(cActor::kListUpdate))
        if (a->classId() == CID_cSubmarine && a->state == kVehicleDriven) return a;
    return nullptr;
}

// The two platforms of a track switch change roles and the hero moves onto the one now solid.
void runTrackSwitch(cActor* zone, cActor* hero) {
    IntArray* v = zone->typeData;
    cActor* active = cGame::findActorById(v->get(0));
    cActor* other = cGame::findActorById(v->get(2));
    if (!active || !other) return;
    active->setFlag(cActor::kFlagSwitchedOff);
    other->clearFlag(cActor::kFlagSwitchedOff);
    const jint id = v->get(0), segment = v->get(1);
    v->set(0, v->get(2));
    v->set(1, v->get(3));
    v->set(2, id);
    v->set(3, segment);
    hero->snapToSegment(v->get(0), v->get(1));
}

void startScrollText(cActor* zone) {
    javax_microedition_midlet_MIDlet* midlet = cGame::s_midlet;
    String* property = midlet ? midlet->getAppProperty(Runtime::ldcString(kScrollPropertyLiteral)) : nullptr;
    BX_RETURN_IF_PENDING();
    String* text = cGame::formatText1(cGame::getString(kScrollTextId), property);
    BX_RETURN_IF_PENDING();
    Bsprite* font = cGame::fontSprite(kScrollFont);
    jint lines = 0, lineHeight = 0;
    cGame::s_wrappedText = text;
    cGame::s_scrollLines = nullptr;
    if (font && text) {
        // The font's line table is shared with every other wrapped text: keep a copy.
        ShortArray* table = font->SplitText(text, kScrollWidth);
        BX_RETURN_IF_PENDING();
        if (table) {
            ShortArray* copy = Runtime::newShortArray(table->length);
            BX_RETURN_IF_NULL(copy);
            for (jint i = 0; i < table->length; ++i) copy->set(i, table->get(i));
            cGame::s_scrollLines = copy;
            lines = copy->get(0);
        }
        lineHeight = font->GetFontHeight();
    }
    cGame::s_loadStep = kScrollStartY;
    cGame::s_scrollHeight = (lineHeight + 1) * lines;
    zone->setState(1);
}

void stepScrollText(cActor* zone) {
    if (cGame::s_loadStep > -cGame::s_scrollHeight) {
        cGame::s_loadStep -= kScrollStep;
        return;
    }
    const jint next = zone->param(10);
    zone->setState(cActor::kStateDead);
    BX_RETURN_IF_PENDING();
    if (cGame::s_levelServices.fireTrigger) cGame::s_levelServices.fireTrigger(next);
}

void stepTitleText(cActor* zone) {
    if (zone->state == 0) {
        cGame::s_titleFrames = 0;
        cGame::s_titleTextId = zone->param(9) + kTitleTextBase;
        String* text = cGame::getString(cGame::s_titleTextId);
        BX_RETURN_IF_PENDING();
        IntArray* offsets = Runtime::newIntArray(text ? text->length() : 0);
        BX_RETURN_IF_NULL(offsets);
        for (jint i = 0; i < offsets->length; ++i) offsets->set(i, cGame::getRandom(5, 10));
        cGame::s_titleOffsets = offsets;
        zone->setState(1);
    } else if (zone->state == 1) {
        // The painter counts the frames while the title blinks in.
        if (cGame::s_titleFrames > kTitleFramesPerPhase) {
            cGame::s_titleFrames = 0;
            zone->setState(3);
        }
    } else if (zone->state == 3) {
        IntArray* offsets = cGame::s_titleOffsets;
        for (jint i = 0; offsets && i < offsets->length; ++i) offsets->set(i, offsets->get(i) + 1);
        if (++cGame::s_titleFrames > kTitleFramesPerPhase) {
            cGame::s_titleOffsets = nullptr;
            zone->setState(cActor::kStateDead);
        }
    }
}

}  // namespace

void cActor::updateTrigger() {
    cActor* hero = cGame::s_hero;
    const Box box = worldBox(this);
    const bool heroInside = hero && box.contains(hero->x, hero->y);
    switch (param(8)) {
        case kExit: {
            bool reached;
            if (cGame::s_altPlayerLevel) {
                cActor* alt = cGame::s_altPlayer;
                reached = alt && collisionRect && alt->y <= collisionRect->get(3);
            } else {
                reached = heroInside && (hero->isOnGround() || cGame::s_level == 9);
            }
            cActor* leaving = hero ? hero : cGame::s_altPlayer;
            if (!reached || !leaving) return;
            leaving->setState(kHeroLeaving);
            BX_RETURN_IF_PENDING();
            leaving->setFlipped(false);
            setState(kStateDead);
            return;
        }
        case kCheckpoint:
            if (!heroInside || hero->hasFlag(kFlagWaiting)) return;
            deactivate(true);
            BX_RETURN_IF_PENDING();
            if (cGame::s_levelServices.writeSaveBuffer) cGame::s_levelServices.writeSaveBuffer(id);
            return;
        case kGrabEdge: {
            if (!hero || hero->classId() != CID_cHero) return;
            const bool leftSide = param(9) == 0;
            IntArray* r = scratchRect;
            if (!static_cast<cHero*>(hero)->tryGrabEdge(r, leftSide, true)) return;
            hero->onMessage(this, kMsgGrabEdge, leftSide ? box.l : box.r, box.t, 0);
            return;
        }
        case kLanding:
            if (heroInside) hero->onMessage(this, kMsgLanding, 0, 0, 0);
            return;
        case kLift:
            if (heroInside) hero->onMessage(this, kMsgLift, 0, box.t, 0);
            return;
        case kTrackSwitch: {
            IntArray* v = typeData;
            if (!v || v->length < 5) return;
            if (!box.overlaps(heroBox(hero))) {
                v->set(4, 0);
                return;
            }
            const bool walking = hero->state == kHeroWalking && hero->moveX != 0;
            if (v->get(4) == 1 || !walking || hero->groundId != v->get(0)) return;
            v->set(4, 1);
            runTrackSwitch(this, hero);
            return;
        }
        case kOverdraw:
            if (!box.overlaps(heroBox(hero))) {
                cGame::s_overdrawActive = 0;
                return;
            }
            if (!cGame::s_overdrawRect) cGame::s_overdrawRect = Runtime::newIntArray(4);
            BX_RETURN_IF_NULL(cGame::s_overdrawRect);
            cGame::s_overdrawRect->fill({cGame::fixedToInt(box.l), cGame::fixedToInt(box.r), cGame::fixedToInt(box.t),
                                         cGame::fixedToInt(box.b)});
            cGame::s_overdrawActive = 1;
            return;
        case kBarrier:
            if (state == 0) {
                if (heroInside) setState(1);
            } else if (state == 1 && hero && hero->x > box.r) {
                hero->x = box.r;
            }
            return;
        case kBlackout:
            if (heroInside) cGame::s_blackout = 1;
            return;
        case kBouncePad:
            if (box.overlaps(heroBox(hero))) hero->onMessage(this, kMsgBounce, 0, 0, 0);
            return;
        case kVehicleExit: {
            cActor* vehicle = drivenVehicle();
            IntArray* vb = vehicle ? heroBox(vehicle) : nullptr;
            if (!box.overlaps(vb)) return;
            if (vb->get(0) > box.l && vb->get(2) < box.r) vehicle->setState(kVehicleLeaving);
            return;
        }
        case kRemoteSwitch: {
            if (!box.overlaps(heroBox(hero))) return;
            cActor* target = cGame::findActorById(param(9));
            if (target && target->type == 5 && target->param(8) == kTrackSwitch) target->findSwitchPlatforms();
            return;
        }
        case kScrollText:
            if (state == 0) startScrollText(this);
            else if (state == 1) stepScrollText(this);
            return;
        case kInfoScreen:
            if (state != 0) return;
            if (cGame::s_difficulty != 2) {
                cGame::s_infoPage = param(9) + kInfoPageBase;
                cGame::s_infoPageArg = param(10) > 1 ? param(10) : 0;
                cGame::setState(kInfoState);
            }
            setState(kStateDead);
            return;
        case kTitleText:
            stepTitleText(this);
            return;
        default:
            return;
    }
}

void cActor::updateCameraZone() {
    if (!hasFlag(kFlagActive)) return;
    const Box box = worldBox(this);
    if (state == 0) {
        cActor* target = cGame::s_cameraFollow;
        if (!target || target->hasFlag(kFlagHeld) || !box.contains(target->x, target->y) || box.t > target->y) return;
        if (cActor* holder = cGame::s_cameraZone) {
            holder->state = 0;
            cGame::s_cameraLock = kCameraFollowMode;
            cGame::s_cameraZone = nullptr;
        }
        cGame::s_cameraZone = this;
        state = kZoneHolding;
        onMessage(this, kMsgZoneTaken, 0, 0, 0);
        return;
    }
    if (state != kZoneHolding) return;
    cActor* hero = cGame::s_hero;
    if (param(8) != kLockingZone && !(hero && box.contains(hero->x, hero->y))) {
        if (cGame::s_cameraZone == this) {
            cGame::s_cameraLock = kCameraFollowMode;
            cGame::s_cameraZone = nullptr;
            onMessage(this, kMsgZoneReleased, 0, 0, 0);
            BX_RETURN_IF_PENDING();
        }
        state = 0;
        return;
    }
    if (cGame::s_cameraZone != this) return;
    cGame::computeCameraTarget();
    jint tx = cGame::s_cameraTargetX + param(9), ty = cGame::s_cameraTargetY + param(10);
    const jint sides = param(12);
    if (sides & 1) tx = std::max(tx, cGame::fixedToInt(box.l));
    if (sides & 4) tx = std::min(tx, cGame::fixedToInt(box.r) - cGame::kViewWidth);
    if (sides & 2) ty = std::max(ty, cGame::fixedToInt(box.t));
    if (sides & 8) ty = std::min(ty, cGame::fixedToInt(box.b) - cGame::kViewHeight);
    cGame::s_cameraTargetX = tx;
    cGame::s_cameraTargetY = ty;
}

bool cHero::tryGrabEdge(IntArray* box, bool leftSide, bool /*top*/) {
    if (!box || !collisionRect || isFlipped() != leftSide) return false;
    if (!rectsOverlap(collisionRect, box)) return false;
    const jint l = collisionRect->get(0), t = collisionRect->get(1), r = collisionRect->get(2);
    const bool grab = rectOverlapsBox(box, l + moveX, t, r + moveX, t + (1 << 8));
    const bool reaching = leftSide ? l < box->get(2) : r > box->get(0);
    if (!isOnGround() && reaching) speedX = 0;
    return grab;
}

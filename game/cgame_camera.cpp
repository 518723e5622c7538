// The chase camera: a target from the followed actor, a per-axis chase with speed limit and
// acceleration scaled by the frame time (or a jump on snap), the shake over it, the bounds, then the
// view rectangle, the bob and the tile layers' positions (layer 0 with its parallax or sway).
// Positions are whole world pixels; the view rectangle is 8.8 with inclusive corners.
#include "game/cgame_camera.h"

#include <algorithm>

#include "actors/cactor.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "sprites/bxlib_player.h"

jint cGameCamera::s_cameraX = 0, cGameCamera::s_cameraY = 0;
jint cGameCamera::s_cameraTargetX = 0, cGameCamera::s_cameraTargetY = 0;
jint cGameCamera::s_cameraVelX = 0, cGameCamera::s_cameraVelY = 0;
jint cGameCamera::s_cameraSpeedX = 0, cGameCamera::s_cameraSpeedY = 0;
jbyte cGameCamera::s_cameraSnap = 0;
cActor* cGameCamera::s_cameraFollow = nullptr;
cActor* cGameCamera::s_cameraZone = nullptr;
jint cGameCamera::s_cameraLock = 0;
jint cGameCamera::s_cameraMinX = 0, cGameCamera::s_cameraMaxX = 0, cGameCamera::s_cameraMinY = 0,
     cGameCamera::s_cameraMaxY = 0;
jint cGameCamera::s_shakeX = 0, cGameCamera::s_shakeY = 0;
jint cGameCamera::s_shakeActive = 0;
jint cGameCamera::s_shakeTime = 0;
jint cGameCamera::s_viewBob = 0, cGameCamera::s_viewBobDir = -1;
jint cGameCamera::s_layerSwayDir = 1;
jint cGameCamera::s_runningTriggers = 0;

namespace {

using B = BXLibPlayer;

const StaticRefRegistration kStatics(CID_cGame, &cGameCamera::s_cameraFollow, &cGameCamera::s_cameraZone);
using C = cGameCamera;
const StaticStartValues kStartValues(&C::s_cameraX, &C::s_cameraY, &C::s_cameraTargetX, &C::s_cameraTargetY, &C::s_cameraVelX,
                                     &C::s_cameraVelY, &C::s_cameraSpeedX, &C::s_cameraSpeedY, &C::s_cameraSnap,
                                     &C::s_cameraFollow, &C::s_cameraZone, &C::s_cameraLock, &C::s_cameraMinX,
                                     &C::s_cameraMaxX, &C::s_cameraMinY, &C::s_cameraMaxY, &C::s_shakeX, &C::s_shakeY,
                                     &C::s_shakeActive, &C::s_shakeTime, &C::s_viewBob, &C::s_viewBobDir,
                                     &C::s_layerSwayDir, &C::s_runningTriggers);

constexpr jint kHeroLookAhead = 40 << 8, kAttackLookState = 106, kHeroRaisedState = 137;
constexpr jint kSizeLayer = 3, kTileSize = 40;

jint px(jint v) { return cGame::fixedToInt(v); }

// A rate in 8.8 per second as whole pixels for this step's frame time.
jint stepOf(jint rate) {
    return static_cast<jint>(((((jlong{rate} * cGame::s_speedFactor + 128) >> 8) + 128) >> 8));
}

IntArray* layerRecord(jint layer) {
    if (!B::s_layerRecords || layer < 0 || layer >= B::s_layerRecords->length) return nullptr;
    Object* r = B::s_layerRecords->get(layer);
    auto* rec = r && r->classId() == CID_IntArray ? static_cast<IntArray*>(r) : nullptr;
    return rec && rec->length >= B::kLayerRecordWords ? rec : nullptr;
}

// One axis of the chase: the limit slows near the target; the velocity gains the acceleration.
void chaseAxis(jint target, jint& camera, jint& velocity, jint& speed, jint accel, bool headRule) {
    const jint d = target - camera;
    const jint ad = d < 0 ? jt::neg(d) : d;
    if (ad <= 2 * speed) speed = ad > 1 ? ad / 2 : ad;
    velocity += stepOf(d > 0 ? accel : jt::neg(accel));
    if (headRule && d < 0) velocity = jt::neg(speed);
    velocity = std::clamp(velocity, jt::neg(speed), speed);
    camera += velocity;
}

void shakeStep() {
    if (cGame::s_shakeActive) {
        auto step = [](jint& v) {
            v = jt::neg(v);
            if (v > 0) --v;
        };
        step(cGame::s_shakeX);
        step(cGame::s_shakeY);
        cGame::s_shakeActive = jt::neg(cGame::s_shakeActive);
        if (cGame::s_shakeX == 0 && cGame::s_shakeY == 0) cGame::s_shakeActive = 0;
    }
    cGame::s_cameraX += cGame::s_shakeX;
    cGame::s_cameraY += cGame::s_shakeY;
}

void bobStep() {
    if (!cGame::isLevel5or6()) return;
    jint& bob = cGame::s_viewBob;
    if (cGame::s_cameraY >= 20 && cGame::s_cameraY < cGame::s_levelHeight - 500) {
        bob += stepOf(cGame::kSwayRate) * cGame::s_viewBobDir;
        if (bob > 20) {
            bob = 20;
            cGame::s_viewBobDir = -1;
        } else if (bob < -20) {
            bob = -20;
            cGame::s_viewBobDir = 1;
        }
    } else {
        bob = 0;
    }
}

void placeLayers() {
    for (jint layer : {2, 3, 4})
        if (cGame::levelHasLayer(layer)) B::TilesetSetPosition(layer, cGame::s_cameraX, cGame::s_cameraY + cGame::s_viewBob);
    if (!cGame::levelHasLayer(0)) return;
    IntArray* rec = layerRecord(0);
    const jint currentX = rec ? rec->get(B::kLayerOriginX) : 0;
    jint x0 = 0, y0 = 0;
    if (cGame::s_altPlayerLevel) {
        const jint speedY = cGame::s_altPlayer ? cGame::s_altPlayer->speedY : 0;
        x0 = currentX + static_cast<jint>((((jlong{speedY} * cGame::s_speedFactor + 128) >> 8 >> 1) + 128) >> 8);
    } else if (cGame::isLevel5or6()) {
        x0 = (cGame::s_frameCounter & 1) == 0 ? currentX + stepOf(cGame::kSwayRate) * cGame::s_layerSwayDir : currentX;
        if (x0 > 40) {
            x0 = 40;
            cGame::s_layerSwayDir = -1;
        } else if (x0 < 0) {
            x0 = 0;
            cGame::s_layerSwayDir = 1;
        }
    } else if (rec && rec->get(B::kLayerPixelH) > cGame::kViewHeight) {
        y0 = cGame::layer0ParallaxY(cGame::s_cameraY, rec->get(B::kLayerPixelH));
    }
    B::TilesetSetPosition(0, x0, y0);
}

}  // namespace

void cGameCamera::resetStatics() { kStartValues.restore(); }

void cGameCamera::resetLevelState(bool noLevel) {
    const jint minX = 0, minY = 0;
    jint maxX = 0, maxY = 0;
    if (!noLevel) {
        jint w = cGame::s_levelWidth, h = cGame::s_levelHeight;
        if (cGame::s_altPlayerLevel) {
            w = 256000;
            h = 9216000;
        } else if (IntArray* rec = layerRecord(kSizeLayer)) {
            w = rec->get(B::kLayerPixelW);
            h = rec->get(B::kLayerPixelH);
        }
        maxX = w - kViewWidth;
        maxY = h - kViewHeight;
    }
    resetStatics();
    setCameraBounds(minX, minY, maxX, maxY);
    cGame::s_viewRect = Runtime::newIntArray(4);
}

void cGameCamera::setCameraBounds(jint minX, jint minY, jint maxX, jint maxY) {
    s_cameraMinX = minX;
    s_cameraMinY = minY;
    s_cameraMaxX = maxX;
    s_cameraMaxY = maxY;
}

void cGameCamera::setCameraTarget(cActor* actor, bool snap) {
    if (actor) {
        if (actor != s_cameraFollow) {
            s_cameraFollow = actor;
            s_cameraSnap = snap ? 1 : 0;
        }
    } else {
        if (!s_cameraFollow) s_cameraFollow = cGame::s_hero;
        s_cameraSnap = snap ? 1 : 0;
    }
}

void cGameCamera::startScreenShake(jint amplitude, jint durationMs) {
    if (s_shakeActive || s_shakeTime > 0) return;
    s_shakeActive = 1;
    s_shakeX = s_shakeY = amplitude;
    s_shakeTime = durationMs;
}

void cGameCamera::computeCameraTarget() {
    cActor* f = s_cameraFollow;
    if (f && f == cGame::s_hero) {
        const jlong step = (jlong{kCameraSpeed} * cGame::s_speedFactor + 128) >> 8;
        const jint speed = static_cast<jint>((step + 128) >> 7) & ~1;
        s_cameraSpeedX = s_cameraSpeedY = speed;
        if (f->state == kHeroRaisedState) {
            s_cameraTargetX = px(f->x);
            s_cameraTargetY = px(f->y) - 100;
        } else {
            jint lookX = f->x;
            if (f->state == kAttackLookState && cActor::s_attackRect) {
                f->computeAttackRect();
                lookX = (cActor::s_attackRect->get(0) + cActor::s_attackRect->get(2)) >> 1;
            }
            s_cameraTargetX = (lookX + (f->isFlipped() ? -kHeroLookAhead : kHeroLookAhead) + 128) >> 8;
            const jint bottom = f->y + (f->localBox ? f->localBox->get(3) : 0);
            s_cameraTargetY = ((bottom - kHeadHeight + 128) >> 8) + 20;
        }
    } else if (f && f == cGame::s_altPlayer) {
        s_cameraSnap = 1;
        s_cameraSpeedY = 40;
        s_cameraTargetX = 0;
        s_cameraTargetY = (f->state >= 196 && f->state <= 201) ? 0 : px(f->y) - 300;
    } else if (f) {
        s_cameraTargetX = px(f->x);
        s_cameraTargetY = px(f->y) + 20;
        s_cameraSpeedX = s_cameraSpeedY = 40;
    }
    s_cameraTargetX = std::min(std::max(s_cameraTargetX - kViewWidth / 2, s_cameraMinX), s_cameraMaxX);
    s_cameraTargetY = std::min(std::max(s_cameraTargetY - kViewHeight / 2, s_cameraMinY), s_cameraMaxY);
}

void cGameCamera::updateCamera() {
    if (s_cameraLock != 1) {
        s_cameraSpeedX = s_cameraSpeedY = 20;
        // A zone that holds the camera sets the target itself (the level objects' code).
        if (!(s_cameraZone && s_cameraZone->state != 0)) computeCameraTarget();
        if (s_cameraSnap) {
            s_cameraVelX = 0;
            s_cameraX = s_cameraTargetX;
            s_cameraVelY = s_cameraTargetY - s_cameraY;
            s_cameraY = s_cameraTargetY;
            s_cameraSnap = 0;
        } else {
            chaseAxis(s_cameraTargetX, s_cameraX, s_cameraVelX, s_cameraSpeedX, kChaseAccelX, false);
            cActor* hero = cGame::s_hero;
            const bool headNearTop = hero && s_cameraFollow == hero && px(hero->y - kHeadHeight) - 80 < s_cameraY;
            chaseAxis(s_cameraTargetY, s_cameraY, s_cameraVelY, s_cameraSpeedY, kChaseAccelY, headNearTop);
        }
    }
    shakeStep();
    s_shakeTime -= cGame::s_frameTime;
    s_cameraX = std::clamp(s_cameraX, s_cameraMinX, std::max(s_cameraMinX, s_cameraMaxX));
    s_cameraY = std::clamp(s_cameraY, s_cameraMinY, std::max(s_cameraMinY, s_cameraMaxY));
    if (IntArray* v = cGame::s_viewRect; v && v->length >= 4) {
        const jint width = cGame::s_altPlayerLevel ? kAltViewWidth : kViewWidth;
        v->fill({s_cameraX << 8, s_cameraY << 8, (s_cameraX + width - 1) << 8, (s_cameraY + kViewHeight - 1) << 8});
    }
    bobStep();
    placeLayers();
}

// The ratio divides: a level no wider than the screen (or a layer 0 no taller) gives none, and layer
// 0 then stays put vertically.
jint cGameCamera::layer0ParallaxY(jint cameraY, jint layer0Height) {
    if (layer0Height <= kViewHeight) return 0;
    const jint ratio = cGame::fixedDiv(jt::shl(cGame::s_levelWidth - 480, 8), jt::shl(layer0Height - 480, 8));
    if (ratio <= 0) return 0;
    return (cGame::fixedDiv(jt::shl(cameraY, 8), ratio) + 128) >> 8;
}

bool cGameCamera::isRectInView(IntArray* r) { return isRectInViewMargin(r, 0); }

bool cGameCamera::isRectInViewMargin(IntArray* r, jint m) {
    IntArray* v = cGame::s_viewRect;
    BX_RETURN_IF_NULL(r, false);
    BX_RETURN_IF_NULL(v, false);
    return jlong{r->get(2)} >= jlong{v->get(0)} - m && jlong{r->get(0)} <= jlong{v->get(2)} + m &&
           jlong{r->get(3)} >= jlong{v->get(1)} - m && jlong{r->get(1)} <= jlong{v->get(3)} + m;
}

bool cGameCamera::isRectNearView(IntArray* r) {
    IntArray* v = cGame::s_viewRect;
    BX_RETURN_IF_NULL(r, false);
    BX_RETURN_IF_NULL(v, false);
    return r->get(3) > v->get(1) && jlong{r->get(1)} < jlong{v->get(3)} + (kViewHeight << 8);
}

bool cGameCamera::levelHasLayer(jint layer) {
    IntArray* items = cGame::s_levelLayerItems;
    const jlong at = jlong{cGame::s_level} * cGame::kLayersPerLevel + layer;
    return items && cGame::s_level >= 0 && layer >= 0 && layer < cGame::kLayersPerLevel && at < items->length &&
           items->get(static_cast<jint>(at)) != -1;
}

jint cGameCamera::getTileIndexAt(jint x, jint y) {
    IntArray* rec = layerRecord(kSizeLayer);
    if (!rec || x < 0 || y < 0) return -1;
    const jint col = x / kTileSize, row = y / kTileSize, cols = rec->get(B::kLayerCols);
    if (col >= cols || row >= rec->get(B::kLayerRows)) return -1;
    return row * cols + col;
}

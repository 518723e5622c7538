// cGame's camera and view: the chase camera (speed limits, acceleration, snap, trigger lock, zones,
// shake, bounds), the view rectangle the actors test against, the bob and sway, the tile layers'
// positions with layer 0's parallax, and the level-state reset. cGame derives from cGameCamera.
// Invariant: after updateCamera the camera lies within its bounds and s_viewRect is its view in 8.8.
#pragma once

#include "runtime/jtypes.h"

class cActor;
class IntArray;

struct cGameCamera {
    static constexpr jint kViewWidth = 800, kViewHeight = 480, kAltViewWidth = 1000;
    static constexpr jint kCameraSpeed = 1200 << 8, kChaseAccelX = 90 << 8, kChaseAccelY = 360 << 8;
    static constexpr jint kHeadHeight = 120 << 8, kSwayRate = 60 << 8;

    static void updateCamera();
    static void computeCameraTarget();
    static void resetLevelState(bool noLevel);
    static void setCameraTarget(cActor* actor, bool snap);
    static void setCameraBounds(jint minX, jint minY, jint maxX, jint maxY);
    static void startScreenShake(jint amplitude, jint durationMs);
    [[nodiscard]] static bool isRectInView(IntArray* r);
    [[nodiscard]] static bool isRectInViewMargin(IntArray* r, jint m);
    [[nodiscard]] static bool isRectNearView(IntArray* r);
    [[nodiscard]] static jint getTileIndexAt(jint x, jint y);
    // The current level has tile layer `layer` (its entry in the level's layer items is not -1).
    [[nodiscard]] static bool levelHasLayer(jint layer);
    // Layer 0's vertical position for a camera y (0 when the layer does not scroll vertically).
    [[nodiscard]] static jint layer0ParallaxY(jint cameraY, jint layer0Height);
    static void resetStatics();

    static jint s_cameraX, s_cameraY;
    static jint s_cameraTargetX, s_cameraTargetY;
    static jint s_cameraVelX, s_cameraVelY;
    static jint s_cameraSpeedX, s_cameraSpeedY;
    static jbyte s_cameraSnap;
    static cActor* s_cameraFollow;
    static cActor* s_cameraZone;
    static jint s_cameraLock;
    static jint s_cameraMinX, s_cameraMaxX, s_cameraMinY, s_cameraMaxY;
    static jint s_shakeX, s_shakeY;
    static jint s_shakeActive;
    static jint s_shakeTime;
    static jint s_viewBob, s_viewBobDir;
    static jint s_layerSwayDir;
    static jint s_runningTriggers;
};

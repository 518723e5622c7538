// cGame's level geometry and play step: the polylines read from the geometry item into platform
// actors, the restart of a level, and the play step run once a frame. cGame derives from cGameLevel.
// Invariant: entries 0..s_polyCount-1 of the three polyline tables are filled, each polyline with
// at least two points; the geometry item is untrusted and checked against its length.
#pragma once

#include "runtime/jtypes.h"

class ByteArray;
class cGame;
class IntArray;
class ObjectArray;

struct cGameLevel {
    static constexpr jint kGeometryPackLiteral = 152;
    static constexpr jint kMaxPolylines = 2000;     // what one level may hold
    static constexpr jint kMaxPolylinePoints = 4096;

    // The geometry of s_level, from its item (read from the geometry pack once per level load and
    // kept, so a restart reloads nothing); false when the item is missing or malformed (the loader
    // then gives the level up).
    static bool loadLevelData();
    // The same over bytes already read (tests and the loader share it).
    static bool readLevelGeometry(ByteArray* data);
    static void restartLevel(bool fromCheckpoint);
    static void updateInGame();
    // The play state (14): one play step a frame, and the scene: the layers behind, the visible
    // actors, the foreground layer and the heads-up display.
    static void statePlay(cGame* game, jint message);
    static void paintGameScene();
    [[nodiscard]] static bool levelHasGeometry();
    static void resetStatics();

    static ByteArray* s_levelGeometry;   // the current level's geometry item, null until read
    static jint s_polyCount;
    static ObjectArray* s_polyPoints;
    static IntArray* s_polyFlags;
    static ObjectArray* s_polyAngles;
    static jint s_heroMeterBonus;
    static jbyte s_blackout;
    static jint s_triggerResult;   // the trigger scripts' answer of this step, for the hero
};

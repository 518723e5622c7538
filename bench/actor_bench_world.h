// What the actor benches share: a runtime with its heaps and object manager, the actors' statics and
// a fixed seed; level 0 entered at a given size with the fixed frame time; little-endian records.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "game/cgame.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "tests/support/actor_statics.h"

struct ActorBenchRuntime {
    std::unique_ptr<ObjectManager> objects;

    // False when the heaps cannot be made.
    bool start() {
        if (!Runtime::initHeaps(32 << 20, 64 << 20)) return false;
        objects = std::make_unique<ObjectManager>();
        buildActorStatics();
        cGame::setRandomSeed(7);
        return true;
    }

    // Level 0 of this size in pixels, stepped at the fixed 50 ms frame.
    static void enterLevel(jint width, jint height) {
        cGame::setLevel(0);
        cGame::s_frameTime = cGame::kFixedFrameTime;
        cGame::s_speedFactor = cGame::kFixedSpeedFactor;
        cGame::s_levelWidth = width;
        cGame::s_levelHeight = height;
        cGame::resetLevelState(false);
    }
};

inline std::string le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }

// One level record: its count of values, then each as 16 bits.
inline void addRecord(std::string& records, std::initializer_list<int> values) {
    records += static_cast<char>(values.size());
    for (int v : values) records += le16(v);
}

// The statics the actors and the game's level code read, built in the start-up order without the
// rest of the program (Z's tables, cActor's statics, cGame's statics, the boot pack's cosines), and
// a synthetic sprite for actors to play: what the actor world and the play-step bench stand on.
// Call on fresh heaps; StaticClass::releaseStatics undoes it.
#pragma once

#include <cmath>
#include <string>

#include "actors/cactor.h"
#include "actors/z.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tools/sprite_writer.h"

inline void buildActorStatics() {
    Z::buildUpdateOrderPairs();
    cActor::staticInit();
    cActor::setConstants();
    Z::setFixedPointConstants();
    Z::buildTuningConstants();
    cGame::initStaticFields();
    Z::copyAngleConstants();
    Z::buildBehaviourTables();
    Z::buildEnemyParamTables();
    cActor::setTimingStatics();
    Z::buildTypeSpriteMap();
    cGame::copyActorTables();
    // The boot pack's table: cos(2 pi i / 256) * 256 rounded, i = 0..64.
    IntArray* cosines = Runtime::newIntArray(65);
    for (jint i = 0; cosines && i <= 64; ++i)
        cosines->set(i, static_cast<jint>(std::lround(256.0 * std::cos(i * M_PI / 128.0))));
    cGame::s_cosTable = cosines;
    cGame::createKeyTables();
}

// A sprite of `anims` animations of `frames` animation frames each; animation a, frame f shows
// sprite frame a * frames + f: a filled 20 x 40 box from (-10, -40) (the rectangle), with box 0
// {-10, -40, 20, 40} and box 1 {-5, -30, 10, 10}, shown for `time` units of 62 ms. Null when it
// cannot be made.
inline Bsprite* syntheticSprite(int anims, int frames, int time = 1) {
    tools::SpriteDefinition s;
    s.palettes = {{0xFF000000u}};
    for (int a = 0; a < anims; ++a) {
        tools::SpriteAnimation anim;
        for (int f = 0; f < frames; ++f) {
            tools::SpriteModule m;
            m.kind = tools::ModuleKind::FillRect;
            m.colour = 0xFF000000u | static_cast<uint32_t>(0x203040 + 0x102030 * (a * frames + f));
            m.w = 20;
            m.h = 40;
            s.modules.push_back(m);
            tools::SpriteFrame fr;
            fr.modules.push_back({a * frames + f, -10, -40, 0});
            fr.boxes = {{-10, -40, 20, 40}, {-5, -30, 10, 10}};
            fr.rect = {-10, -40, 20, 40};
            s.frames.push_back(fr);
            anim.frames.push_back({a * frames + f, time, 0, 0, 0});
        }
        s.animations.push_back(anim);
    }
    std::string bytes, error;
    if (!tools::writeSprite(s, "synthetic sprite", bytes, error)) return nullptr;
    ByteArray* data = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    if (!data) return nullptr;
    for (size_t i = 0; i < bytes.size(); ++i) data->set(static_cast<jint>(i), static_cast<jbyte>(bytes[i]));
    auto* sprite = Runtime::make<Bsprite>();
    return sprite && sprite->Load(data, 0) ? sprite : nullptr;
}

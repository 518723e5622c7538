// The program's start-up order: every static initialiser of every layer, by the name its class
// registers it under. Only this layer knows them all; the runtime follows whatever order it is given,
// skipping the steps of classes not in the build.
#pragma once

#include <string_view>

#include "runtime/static_class.h"

// Each step may rely on everything before it (and on the constant pool). The actor tables come
// first (their update orders, then the actor statics, the fixed-point constants the tuning values
// are shifted by), then cGame's statics, whose angle constants the behaviour tables and the actor
// timing read, with the draw-effect table right after them (cGame's statics start it empty); the
// promotion screen and the sprite statics follow the library classes they use, and the
// type-to-sprite map is last. The sprite layer's steps (the bitmap font's counters, the animation
// player's constants and spare arrays, ASprite's statics) keep the places the game's order gives them.
inline constexpr std::string_view kStartupSteps[] = {
    "Z::buildUpdateOrderPairs",   // actors/
    "BitmapFont statics",         // sprites/
    "cActor::staticInit",         // actors/
    "cActor constants",           // actors/
    "Z::setFixedPointConstants",  // actors/
    "Z::buildTuningConstants",    // actors/
    "BXLibPlayer constants",      // sprites/
    "cGame::initStaticFields",    // game/
    "cGame trigger services",     // game/
    "cGame::initDrawEffects",     // sprites/
    "Z::copyAngleConstants",      // actors/
    "Z::buildBehaviourTables",    // actors/
    "Z::buildEnemyParamTables",   // actors/
    "cActor timing statics",      // actors/
    "cActor paint services",      // actors/
    "cActor actor view",          // actors/
    "BXLibPlayer arrays",         // sprites/
    "java_lang_System::clinit",   // classlib/
    "java_lang_Boolean::clinit",  // classlib/
    "IGP::staticInit",            // promo/
    "ASprite::staticInit",        // sprites/
    "java_lang_Runtime::clinit",  // classlib/
    "Z::buildTypeSpriteMap",      // actors/
};

inline constexpr StartupOrder kStartupOrder{kStartupSteps};

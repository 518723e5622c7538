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
    "Z::buildUpdateOrderPairs",
    "BitmapFont statics",
    "cActor::staticInit",
    "cActor constants",
    "Z::setFixedPointConstants",
    "Z::buildTuningConstants",
    "BXLibPlayer constants",
    "cGame::initStaticFields",
    "cGame::initDrawEffects",
    "Z::copyAngleConstants",
    "Z::buildBehaviourTables",
    "Z::buildEnemyParamTables",
    "cActor timing statics",
    "BXLibPlayer arrays",
    "java_lang_System::clinit",
    "java_lang_Boolean::clinit",
    "IGP::staticInit",
    "ASprite::staticInit",
    "java_lang_Runtime::clinit",
    "Z::buildTypeSpriteMap",
};

inline constexpr StartupOrder kStartupOrder{kStartupSteps};

// What the loader's files share: the steps of each load kind, the check-and-log of a pack item, the
// registered services looked up by name, and the end of a level load that cannot go on.
// Everything here runs on the game thread, inside the loading state's update.
#pragma once

#include <string>

#include "game/cgame.h"

namespace loader {

// Step `step` of each kind; a step outside the kind's table does nothing.
void runGameStartStep(jint step);
void runLevelStep(jint step);
void runUnloadStep(jint step);

// The pool literal's pack name, for logging ("?" when the pool has none).
[[nodiscard]] std::string packName(String* name);
[[nodiscard]] std::string packName(jint literal);
// One log line naming the pack and the item that is missing or malformed, and what follows.
void logBadItem(const std::string& pack, jint item, const char* consequence);

// The service when it is registered; otherwise its name is logged (once for the whole run of the
// program, or until resetLevelServices) and null is answered.
void noteMissingService(const char* name);
template <class F>
[[nodiscard]] F* service(F* fn, const char* name) {
    if (!fn) noteMissingService(name);
    return fn;
}

// Sprite n of the open pack (named by its pool literal) into the sprite table; a missing or refused
// item is logged and its slot left empty.
void loadTableSprite(jint packLiteral, jint n);

// The module-image cache anew: pool 0 of 300 entries for every sprite, pool 1 kept free for the
// touch buttons' own cache.
void resetModuleImageCache();
// Every sprite of the table but the five kept for the whole game.
void dropLevelSprites();
// The tile sprites of layers 0, 2, 3 and 4.
void dropLayerSprites();

// The level cannot be loaded: it is released, the run ends at once with the main menu as its
// target, and the menu opens a message box saying so.
void abandonLevel(const char* why);

}  // namespace loader

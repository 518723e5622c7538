// The creatures' sprites: one drawing of a round creature with its own colours and features, in
// the moves their behaviour tables play.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/sprite_art/sprite_sheet.h"

namespace tools::art {

struct CreatureLook {
    uint32_t body, dark, light, accent, eye;
    double size;            // body radius in pixels
    double tall = 1;        // height to width
    bool flier = false;     // centred on its position, with wings; else standing on it
    bool horns = false, spikes = false, oneEye = false;
};

enum class CreatureMove {
    Rest, Blink, Move, Rush, Attack, Hurt, Stunned, Die, Throw, Rise,
    Rock, Shot, Chip,   // loose things: a thrown rock, a projectile, a chip of shell
};

struct CreatureAnim {
    int animation;
    CreatureMove move;
    bool box = false;   // box 0 on the frames that reach out: the area the move hits
};

void drawCreatureSprite(SpriteSheet& sheet, const CreatureLook& look, const std::vector<CreatureAnim>& anims);

}  // namespace tools::art

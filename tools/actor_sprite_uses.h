// What the actors' code reads from each sprite of the sprites pack it draws actors with: the
// animations their states and remaps play, the frame counts the code waits for, and the frame boxes
// it reads (gun points, attack areas, impact points). The content checker holds the pack to it and
// the content tests load each sprite through the engine against it.
#pragma once

#include <vector>

namespace tools {

struct ActorAnimationUse {
    static constexpr int kAnyFrame = -1;     // at least one frame of the animation
    static constexpr int kEveryFrame = -2;   // each of its frames

    int animation;
    int minFrames = 1;
    int boxes = 0;                  // the frame boxes 0 .. boxes - 1 the code reads
    int boxFrame = kAnyFrame;       // the animation frame they are read on, or one of the above
    int maxFrames = 0;              // the most frames the code copes with; 0 no limit
};

struct ActorSpriteUse {
    int slot;                       // the sprite number (item of the sprites pack)
    const char* role;
    std::vector<ActorAnimationUse> animations;
};

const std::vector<ActorSpriteUse>& actorSpriteUses();

}  // namespace tools

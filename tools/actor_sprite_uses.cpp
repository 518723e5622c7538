#include "tools/actor_sprite_uses.h"

namespace tools {

namespace {

using A = ActorAnimationUse;

// Animations first .. last, each with at least one frame.
void plain(std::vector<A>& out, int first, int last) {
    for (int a = first; a <= last; ++a) out.push_back({a});
}

std::vector<A> hero() {
    std::vector<A> out;
    plain(out, 0, 10);
    // The shots by aim: the gun point (box 0) is read while frame 0 shows, and the shot ends once
    // the animation is past frame 1.
    for (int aim = 0; aim < 5; ++aim) {
        out.push_back({11 + aim * 2, 3, 1, 0});
        out.push_back({12 + aim * 2});
    }
    plain(out, 21, 29);
    for (int aim = 0; aim < 5; ++aim) {
        out.push_back({30 + aim * 2, 3, 1, 0});
        out.push_back({31 + aim * 2});
    }
    plain(out, 40, 44);
    // The strikes by aim and in the air: the attack area (box 0) and where the blow lands (box 1).
    for (int a = 45; a <= 49; ++a) out.push_back({a, 1, 2, A::kAnyFrame});
    plain(out, 50, 63);
    return out;
}

}  // namespace

const std::vector<ActorSpriteUse>& actorSpriteUses() {
    static const std::vector<ActorSpriteUse> uses = {
        {0, "the hero: its states, the shots and strikes by aim, the effects it throws off", hero()},
        {13, "the effects: impacts of shots and strikes, landing, warp, chips, burst, wisp, casing, streak, dust",
         {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}}},
        {15, "the special shot by aim (0 up .. 4 down; 2 without a target)", {{0}, {1}, {2}, {3}, {4}}},
        {7, "the pick-ups: a life, energy, full energy, a meter bonus, a special shot; the burst when taken",
         {{0}, {1}, {2}, {3}, {4}, {5}}},
        {18, "the one-shot prop: idle and bursting", {{0}, {1}}},
        {25, "the platform mechanism: at rest, tipped or released, the lift pair's car", {{0}, {1}, {2}}},
        {33, "the lurker: hiding, blinking, hurt, the snatch, crumbling, holding on", {{0}, {1}, {2}, {3}, {4}, {5}}},
    };
    return uses;
}

}  // namespace tools

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

// Animations 0 .. last, each with at least one frame.
std::vector<A> upTo(int last) {
    std::vector<A> out;
    plain(out, 0, last);
    return out;
}

// The rock giant: its throw lets the rock go once the animation reaches frame 14.
std::vector<A> rockGiant() {
    std::vector<A> out = upTo(6);
    out[2].minFrames = 15;
    return out;
}

// The night king: its volley reads the attack area (box 0) of its frames.
std::vector<A> nightKing() {
    std::vector<A> out = upTo(9);
    out[7].boxes = 1;
    return out;
}

// The submarine: the hull's body (box 0) on every frame, its middle (box 1) on the hull's first.
std::vector<A> submarine() {
    std::vector<A> out;
    for (int a = 0; a <= 74; ++a) out.push_back({a, 1, 1, A::kEveryFrame});
    out[0] = {0, 1, 2, 0};
    return out;
}

// The air station: the collision box is box 0 of whatever frame shows, and the docking submarine
// is centred on it.
std::vector<A> airStation() {
    std::vector<A> out;
    for (int a = 0; a <= 1; ++a) out.push_back({a, 1, 1, A::kEveryFrame});
    return out;
}

}  // namespace

const std::vector<ActorSpriteUse>& actorSpriteUses() {
    static const std::vector<ActorSpriteUse> uses = {
        {0, "the hero: its states, the shots and strikes by aim, the effects it throws off", hero()},
        {13, "the effects: impacts, landing, warp in and out, burst, shield, casing, debris, motes, sway", upTo(15)},
        {15, "the special shot by aim (0 up .. 4 down; 2 without a target)", {{0}, {1}, {2}, {3}, {4}}},
        {7, "the pick-ups: a life, energy, full energy, a meter bonus, a special shot; the burst when taken",
         {{0}, {1}, {2}, {3}, {4}, {5}}},
        {18, "the one-shot prop: idle, bursting, its other colours and the puff balloons (8 lifts a ride)", upTo(13)},
        {25, "the platform mechanism: at rest, tipped or released, the lift pair's car", {{0}, {1}, {2}}},
        {33, "the lurker: hiding, blinking, hurt, the snatch, crumbling, holding on", {{0}, {1}, {2}, {3}, {4}, {5}}},
        {1, "the charger: waiting, charging, walking, stunned, hurt, dying", upTo(6)},
        {4, "the hook carriage: waiting, running along its line, stopping", upTo(2)},
        {26, "the gate (0) and its lever: thrown (the gate opens with its frames), at rest", upTo(2)},
        {5, "the spiker: resting, moving, dazed, attacking, hurt; its shell chips", upTo(6)},
        {6, "the rock giant: resting, stunned, the throw, the swing, walking, rising, dying", rockGiant()},
        {8, "the thrown rocks: four looks for the geyser, the giant's rock", upTo(5)},
        {17, "the ember wisp: floating (two looks by place), attacking", upTo(2)},
        {19, "the sprout: resting, moving", upTo(1)},
        {20, "the gloomling: resting, hurt", upTo(1)},
        {22, "the fire vents: fireball, flame jets, the vent burning and at rest, smoke, a falling ember", upTo(6)},
        {23, "the mothling: flying, hurt", upTo(1)},
        {24, "the magma brute: resting, attacking, moving, rising, stunned, hurt", upTo(5)},
        {28, "the watcher stone: watching, waking the spawner; the drops its spawner rains", upTo(2)},
        {31, "the bramble bear: resting, blinking, the grab, stunned, walking", upTo(4)},
        {34, "the helper puff: resting, moving, attacking", upTo(2)},
        {35, "the hive and its minions: resting, hurt, the minion flying", upTo(2)},
        {36, "the sentry: its watch, moving, attacking, stunned, rising, resting", upTo(6)},
        {37, "the snapper trap: waiting, the snap with its bite area (box 0), closing, dying",
         {{0}, {1}, {2}, {3, 1, 1, A::kAnyFrame}, {4}, {5}, {6}}},
        {38, "the night king: its phases, hurt, dying, the volley, its projectiles", nightKing()},
        {10, "the racer: leaning by its distance from the middle (braking: 9 to 15), knocked about", upTo(15)},
        {14, "the race's obstacles (at most five frames each)",
         {{0, 1, 0, A::kAnyFrame, 5}, {1, 1, 0, A::kAnyFrame, 5}, {2, 1, 0, A::kAnyFrame, 5}, {3, 1, 0, A::kAnyFrame, 5}}},
        {16, "the race's collectables: feather, gust, bubble", upTo(2)},
        {29, "the submarine: hull, destroyed, lit, damage looks 3 to 10, engines idle and thrusting by heading",
         submarine()},
        {39, "the shell crab: its chips, resting, attacking", upTo(4)},
        {3, "the geyser: its updraft, the vent at rest", upTo(1)},
        {9, "the beacon behind the scene: dim, glowing", upTo(1)},
        {11, "the pod the hero strikes to ride: floating, struck", upTo(1)},
        {12, "the warp door: open, sealed", upTo(1)},
        {21, "the race's backdrop: the pulsing glow's quarter (module 0 is the mask)", upTo(0)},
        {27, "the crate, plain or breakable: whole, shaken, splintering", upTo(2)},
        {30, "the spinning burr: spinning, bursting", upTo(1)},
        {32, "the air station with its dock (box 0): waiting, filling", airStation()},
    };
    return uses;
}

}  // namespace tools

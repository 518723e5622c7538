// spriteart: draws the sprites pack's pictures into a folder (the committed assets/sprites.pack/
// was made by it): `spriteart OUT_DIR` writes NAME.png and NAME.json for each sprite; pack.json,
// which numbers the items, is kept by hand.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "tools/sprite_art/sprite_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: spriteart OUT_DIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    struct Sprite {
        const char* name;
        void (*draw)(tools::art::SpriteSheet&);
    };
    const Sprite sprites[] = {{"hero", tools::art::drawHeroSprite}, {"effects", tools::art::drawEffectSprite}, {"racer", tools::art::drawRacerSprite},
                              {"obstacles", tools::art::drawObstacleSprite},
                              {"submarine", tools::art::drawSubmarineSprite},
                              {"hook_carriage", tools::art::drawHookCarriageSprite}, {"gate", tools::art::drawGateSprite},
                              {"fire_vents", tools::art::drawHazardSprite},
                              {"special_shot", tools::art::drawSpecialShotSprite}, {"hud", tools::art::drawHudSprite},         {"pickups", tools::art::drawPickupSprite},
                              {"race_items", tools::art::drawRaceItemSprite}, {"puffball", tools::art::drawPuffballSprite},
                              {"lift", tools::art::drawLiftSprite},          {"lurker", tools::art::drawLurkerSprite},
                              {"touch", tools::art::drawTouchSprite},
                              {"geyser", tools::art::drawGeyserSprite}, {"beacon", tools::art::drawBeaconSprite},
                              {"pod", tools::art::drawPodSprite}, {"warp_door", tools::art::drawWarpDoorSprite},
                              {"race_backdrop", tools::art::drawRaceBackdropSprite},
                              {"crate", tools::art::drawCrateSprite}, {"burr", tools::art::drawBurrSprite},
                              {"air_station", tools::art::drawAirStationSprite}};
    auto write = [&](const std::string& name, const std::function<void(tools::art::SpriteSheet&)>& draw) {
        tools::art::SpriteSheet sheet;
        draw(sheet);
        std::string error;
        if (sheet.write(dir, name, error)) return true;
        std::fprintf(stderr, "spriteart: %s\n", error.c_str());
        return false;
    };
    for (const Sprite& s : sprites)
        if (!write(s.name, s.draw)) return 1;
    for (const tools::art::NamedSprite& s : tools::art::creatureSprites())
        if (!write(s.name, s.draw)) return 1;
    return 0;
}

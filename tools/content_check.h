// The content checker: holds the compiled archive entries to what the game's code hard-wires, so a
// source that breaks such a rule fails the build with a message naming its file and field, not the
// game at run time. Packs are found by the names the code reads from the constant pool.
//   - the language-0 text pack: every text the game draws (by id) is there and not empty, the
//     credits text has its "%s0";
//   - the boot pack's cosine table (65 cosines of 256 units a turn, scaled by 256);
//   - the reference-time pack (one time per level, 10 levels);
//   - the sound content types and the 17 sounds: ids 0..16 only, each with a content type the
//     types pack names and data of that type;
//   - the sprites pack (the touch buttons, the heads-up display, the sprites that stay loaded) and
//     the interface pack (logo, title and loading picture, menu sprite): every frame and animation
//     the game draws from them is there and not empty;
//   - the actors' sprites: each animation, frame count and frame box the actors' code reads
//     (tools/actor_sprite_uses.h), so a missing one names the sprite, the animation and the role.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/bar_writer.h"

namespace tools {

// `constantsText` is constants.txt (named `constantsFile`); `assetsDir` is where the packs' sources
// are, for naming the file at fault.
[[nodiscard]] bool checkGameContent(const std::vector<BarEntry>& entries, std::string_view constantsText,
                                    const std::string& constantsFile, const std::filesystem::path& assetsDir,
                                    std::string& error);

}  // namespace tools

// A pack's source: a folder NAME.pack holding pack.json and the files it names (paths relative to
// the folder, never leaving it):
//   {
//     "subFiles": [0, 40],                              first item of each sub-file (default [0])
//     "items": [
//       {"file": "hero.bin", "kind": 3, "lzma": true},  a file's bytes
//       {"nested": {"ints": [1, 2]}},                   a nested array (tools/nested_array_compiler.h),
//       {"nested": "table.json"},                         inline or from a JSON file
//       {"texts": "en.txt"},                            a text pack (tools/text_pack_compiler.h)
//       {"sprite": "hero.json"},                        a sprite source (tools/sprite_source.h)
//       {"font": "font0.json"},                         a sprite font rendered now (tools/sprite_font.h)
//       {"charMap": "glyphs.txt"},                      the char map of a glyph list (likewise)
//       {"music": "title.notes", "kind": 2},            a MIDI file (tools/music_compiler.h)
//       {"synth": "jump.sfx"},                          a WAVE clip (tools/sfx_synth.h)
//       {"built": "boom.ogg", "kind": 1},               a file the build made, read from the build
//                                                         folder's NAME.pack/ (an Ogg encoded by
//                                                         tools/sfx_ogg from the folder's boom.sfx)
//       {"level": "meadow.level", "part": 0},         item `part` of a level's pack, and
//       {"geometry": "meadow.level"},                   its geometry item (tools/level_source.h)
//       {"empty": true}                                 an item of no bytes at all
//     ]
//   }
// "kind" (0..126, default 0) and "lzma" (default false) go with every item but an empty one. It
// becomes the archive entries NAME (sub-file 0) and NAME + separator + k for k >= 1.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/bar_writer.h"

namespace tools {

[[nodiscard]] bool compilePackFolder(const std::filesystem::path& folder, const std::string& packName,
                                     const std::string& separator, const std::filesystem::path& builtFolder,
                                     std::vector<BarEntry>& entries, std::string& error);

}  // namespace tools

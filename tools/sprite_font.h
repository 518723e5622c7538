// Sprite fonts rendered at build time from a system TrueType face through FreeType, and the char
// map the game builds the fonts' glyph lookup from.
//
// The glyph list (a UTF-8 text file, one line, every character once) gives the frame of each
// character: frame i draws character i of the list. It starts with "./0123456789", so the digit
// font's frames for '.', '/' and '0'-'9' are the character minus 46, holds ' ' (whose advance is the
// space width), and every character is at most U+00FF (the game's texts are Latin-1).
//
// A font's description (JSON):
//   {"face": "DejaVuSans-Bold.ttf",   a file of /usr/share/fonts/truetype/dejavu (fonts-dejavu-core)
//    "size": 26,                      pixel size of the em
//    "outline": 2,                    outline radius in pixels (0..4)
//    "lineGap": 2,                    pixels between one line's box and the next
//    "glyphs": "glyphs.txt",          the glyph list, beside the description
//    "palettes": [{"top": "#FFFFFF", "bottom": "#C0C8D8", "outline": "#101020"}, ...]}
// Each glyph frame: frame-module 0 an empty module at (advance, -ascent), 1 an empty module one box
// height (ascent + descent, the engine's line spacing: one line's height) below it, 2 one line gap
// (the engine's font height) below that (frame 0's serve as the metrics), then the glyph's pixels
// placed from the baseline; the frame rectangle is {0, -ascent, advance, line gap}. Fill is a
// vertical gradient from top to bottom over the box, edged by the outline; palette p recolours the
// same indices with palette p's colours.
#pragma once

#include <filesystem>
#include <string>

#include "tools/png_picture.h"
#include "tools/sprite_definition.h"

namespace tools {

// `glyphs`, when given, receives the glyph list (frame i draws glyphs[i]).
[[nodiscard]] bool renderSpriteFont(const std::filesystem::path& file, SpriteDefinition& sprite, std::string& error,
                                    std::u32string* glyphs = nullptr);

// A sample sheet for review: every glyph, then sample lines, in each palette over a dark and a
// light background, drawn glyph by glyph from the frames as the game places them.
[[nodiscard]] bool renderFontSheet(const std::filesystem::path& file, Picture& sheet, std::string& error);

// The char map of a glyph list as the nested array of shorts the game reads: bucket count, each
// bucket's first pair {character, frame}, then records {bucket, pair count, pairs...}.
[[nodiscard]] bool compileCharMap(const std::filesystem::path& glyphList, std::string& out, std::string& error);

}  // namespace tools

// The promotion resource's source: a folder NAME.igp holding manifest.json and the PNG files it
// names (paths relative to the folder, never leaving it). It compiles into the archive entry NAME:
// a little-endian index of u32 offsets and the entries the promotion screen reads (header, texts,
// font, fixed pictures, title pictures, special, two lists, portal, optional).
//   {
//     "headerText": "...",  "format": "",  "wideGlyphs": false,  "optional": false,
//     "languages": ["EN"],
//     "titles": [{"name": "ALPHA", "picture": "title_alpha.png"}, ...],
//     "lists": [{"rows": [{"name": "ARCADE", "picture": "row.png"}, ..., {"name": "MORE"}]}, {...}, {...}],
//     "special": {"picture": "special.png", "languagePictures": ["lang_en.png"]},
//     "portal": {"picture": "portal.png", "extra": "extra.png"},   extra: optional
//     "optionalPicture": "optional.png",                           only with "optional": true
//     "fixed": [14 pictures],
//     "font": {"picture": "font.png", "glyphs": "font_glyphs.json"},  glyphs: [[code, x, y, w, h], ...]
//     "texts": {"EN": {"items": [...], "optionalTitle": "", "optionalBody": "", "ok": "", "back": "",
//                      "button": "", "buttonTitle": "", "list0Rows": [...], "list1Rows": [...]}}
//   }
// Three lists, each with a picture for every row but the last (whose picture is a fixed one). The
// texts of a language are placed at the indices the screen reads them from: "items" holds one
// description per item slot (the titles, the special item, list 0, list 1, the portal), the row
// texts one per row. The font picture is a palette PNG (the screen recolours palette entry 1).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tools {

// Where the screen finds its texts, for a catalogue of `titles` titles and lists of rows0 and
// rows1 rows; textCount is the number of texts of each language.
struct PromoTextLayout {
    int items = 0;           // description texts: slots 0 .. items - 1
    int optionalTitle = 0, optionalBody = 0, ok = 0, back = 0, button = 0, buttonTitle = 0;
    int list0Last = 0, list1Last = 0;
    int textCount = 0;
};
[[nodiscard]] PromoTextLayout promoTextLayout(int titles, int rows0, int rows1);

[[nodiscard]] bool compilePromoFolder(const std::filesystem::path& folder, std::string& resource,
                                      std::string& error);

// Parses a compiled resource back, as the screen reads it, into a readable listing. False (with
// the reason) when the bytes are not a well-formed resource.
[[nodiscard]] bool dumpPromoResource(const std::string& resource, std::string& listing, std::string& error);

}  // namespace tools

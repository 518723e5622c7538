// Glyphs through FreeType's anti-aliased rasteriser; the outline is the glyph's coverage spread by
// the outline radius with a soft edge. Pixels keep only a few coverage levels and gradient bands so
// that every palette recolours the same small set of indices.
#include "tools/sprite_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

#include "archive/modified_utf8.h"
#include "tools/file_bytes.h"
#include "tools/nested_array_compiler.h"

namespace tools {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu";
constexpr const char32_t* kDigitPrefix = U"./0123456789";
constexpr int kCharMapBuckets = 64;
constexpr int kCoverageLevels = 4;   // coverage kept as 0..4 quarters
constexpr int kBands = 6;            // gradient steps from top to bottom

std::string codePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

bool readGlyphList(const fs::path& file, std::u32string& chars, std::string& error) {
    std::string text;
    if (!readFileBytes(file, text, error)) return false;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string why;
    if (!archive::decodeUtf8(text, chars, why)) {
        error = file.string() + ": " + why;
        return false;
    }
    const auto fail = [&](const std::string& message) {
        error = file.string() + ": " + message;
        return false;
    };
    if (chars.compare(0, 12, kDigitPrefix) != 0) return fail("the list starts with \"./0123456789\" (the digit font's frames)");
    if (chars.find(U' ') == std::u32string::npos) return fail("the list holds ' ' (its advance is the space width)");
    for (size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        const std::string at = "character " + std::to_string(i) + " (" + codePoint(c) + ")";
        if (c < 32 || (c >= 127 && c < 160)) return fail(at + ": a control character");
        if (c > 0xFF) return fail(at + ": above U+00FF");
        if (chars.find(c) != i) return fail(at + ": listed twice");
    }
    return true;
}

struct Colour {
    double r, g, b;
};

bool parseColour(const json& v, Colour& out) {
    const std::string t = v.is_string() ? v.get<std::string>() : "";
    if (t.size() != 7 || t[0] != '#' || t.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) return false;
    const unsigned long c = std::stoul(t.substr(1), nullptr, 16);
    out = {static_cast<double>((c >> 16) & 0xFF), static_cast<double>((c >> 8) & 0xFF), static_cast<double>(c & 0xFF)};
    return true;
}

Colour mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct FontPalette {
    Colour top, bottom, outline;
};

// A pixel's class: outline coverage, fill coverage (quarters) and gradient band.
using Shade = std::tuple<int, int, int>;

uint32_t shadeColour(const Shade& s, const FontPalette& p) {
    const auto [o, f, band] = s;
    if (o == 0 && f == 0) return 0x00FF00FF;
    const double fill = static_cast<double>(f) / kCoverageLevels;
    const Colour face = mix(p.top, p.bottom, static_cast<double>(band) / (kBands - 1));
    const Colour c = mix(p.outline, face, fill);
    const double alpha = std::max(o, f) / static_cast<double>(kCoverageLevels);
    const auto byte = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return byte(alpha * 255) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

struct FreeType {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeType() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

}  // namespace

bool renderSpriteFont(const fs::path& file, SpriteDefinition& sprite, std::string& error, std::u32string* glyphsOut) {
    std::string text;
    if (!readFileBytes(file, text, error)) return false;
    const json source = json::parse(text, nullptr, false);
    const auto fail = [&](const std::string& field, const std::string& message) {
        error = file.string() + ": " + field + ": " + message;
        return false;
    };
    if (!source.is_object()) return fail("description", "not a JSON object");
    for (const auto& [key, value] : source.items()) {
        (void)value;
        if (key != "face" && key != "size" && key != "outline" && key != "lineGap" && key != "glyphs" && key != "palettes")
            return fail("description", "unknown key \"" + key + "\"");
    }
    const auto integer = [&](const char* key, int lo, int hi, int fallback, int& out) {
        out = fallback;
        if (!source.contains(key)) return true;
        const json& v = source[key];
        if (!v.is_number_integer() || v.get<int64_t>() < lo || v.get<int64_t>() > hi)
            return fail(key, "is an integer from " + std::to_string(lo) + " to " + std::to_string(hi));
        out = v.get<int>();
        return true;
    };
    int size = 0, outline = 0, lineGap = 0;
    if (!integer("size", 6, 64, 0, size) || !integer("outline", 0, 4, 0, outline) ||
        !integer("lineGap", 0, 64, 0, lineGap))
        return false;
    if (size == 0) return fail("size", "is needed");
    const json face = source.value("face", json());
    const std::string faceName = face.is_string() ? face.get<std::string>() : "";
    if (faceName.empty() || faceName.find('/') != std::string::npos)
        return fail("face", "is a file name in " + std::string(kFontFolder));
    const json glyphs = source.value("glyphs", json());
    const std::string glyphName = glyphs.is_string() ? glyphs.get<std::string>() : "";
    if (glyphName.empty() || glyphName.find('/') != std::string::npos)
        return fail("glyphs", "is a file name beside the description");
    std::u32string chars;
    if (!readGlyphList(file.parent_path() / glyphName, chars, error)) return false;
    std::vector<FontPalette> palettes;
    const json list = source.value("palettes", json());
    if (!list.is_array() || list.empty() || list.size() > 16) return fail("palettes", "is a list of 1 to 16 palettes");
    for (size_t p = 0; p < list.size(); ++p) {
        FontPalette palette{};
        const std::string field = "palettes[" + std::to_string(p) + "]";
        if (!list[p].is_object() || !parseColour(list[p].value("top", json()), palette.top) ||
            !parseColour(list[p].value("bottom", json()), palette.bottom) ||
            !parseColour(list[p].value("outline", json()), palette.outline) || list[p].size() != 3)
            return fail(field, "is {\"top\", \"bottom\", \"outline\"}, each \"#RRGGBB\"");
        palettes.push_back(palette);
    }

    FreeType ft;
    const std::string facePath = std::string(kFontFolder) + "/" + faceName;
    if (FT_Init_FreeType(&ft.library) != 0) return fail("face", "FreeType does not start");
    if (FT_New_Face(ft.library, facePath.c_str(), 0, &ft.face) != 0)
        return fail("face", facePath + " cannot be opened (fonts-dejavu-core installs it)");
    if (FT_Set_Pixel_Sizes(ft.face, 0, static_cast<FT_UInt>(size)) != 0) return fail("size", "the face has no such size");
    // The line holds the face's ascender and descender and every listed glyph (accented capitals
    // rise above the ascender), outline included.
    int ascent = static_cast<int>((ft.face->size->metrics.ascender + 63) >> 6);
    int descent = static_cast<int>((-ft.face->size->metrics.descender + 63) >> 6);
    for (size_t i = 0; i < chars.size(); ++i) {
        if (FT_Load_Char(ft.face, chars[i], FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            return fail("glyphs[" + std::to_string(i) + "]", "FreeType cannot render it");
        ascent = std::max(ascent, ft.face->glyph->bitmap_top);
        descent = std::max(descent, static_cast<int>(ft.face->glyph->bitmap.rows) - ft.face->glyph->bitmap_top);
    }
    ascent += outline;
    descent += outline;
    const int height = ascent + descent;
    // Outline weights by offset: 1 inside the radius, fading over the last half pixel.
    std::vector<double> weights;
    for (int dy = -outline; dy <= outline; ++dy)
        for (int dx = -outline; dx <= outline; ++dx)
            weights.push_back(std::clamp(outline + 0.5 - std::hypot(dx, dy), 0.0, 1.0));

    sprite = SpriteDefinition{};
    sprite.paletteFormat = 0x8888;
    sprite.pixelFormat = 0x56F2;
    SpriteModule marker;
    marker.kind = ModuleKind::Empty;
    sprite.modules.push_back(marker);
    std::map<Shade, uint8_t> shades{{Shade{0, 0, 0}, 0}};
    std::vector<Shade> order{Shade{0, 0, 0}};
    for (size_t i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i] == 0xA0 ? U' ' : chars[i];
        const std::string field = "glyphs[" + std::to_string(i) + "]";
        if (FT_Get_Char_Index(ft.face, c) == 0) return fail(field, facePath + " has no glyph for " + codePoint(c));
        if (FT_Load_Char(ft.face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            return fail(field, "FreeType cannot render it");
        const FT_GlyphSlot g = ft.face->glyph;
        const FT_Bitmap& bitmap = g->bitmap;
        const int advance = static_cast<int>((g->advance.x + 32) >> 6) + outline;
        // The engine reads its metrics from frame 0 (every glyph frame carries the same): module 0
        // holds the advance and the box top, module 1 sits one box height below that top (the line
        // spacing, which is one line's measured height), module 2 and the rectangle's height add the
        // gap between lines (the font height). A line then measures its box and lines step by
        // box + gap.
        SpriteFrame frame;
        frame.modules.push_back({0, advance, -ascent, 0});
        frame.modules.push_back({0, 0, -ascent + height, 0});
        frame.modules.push_back({0, 0, -ascent + height + lineGap, 0});
        frame.rect = {0, -ascent, advance, lineGap};
        const int bw = static_cast<int>(bitmap.width), bh = static_cast<int>(bitmap.rows);
        if (bw > 0 && bh > 0) {
            SpriteModule m;
            m.w = bw + 2 * outline;
            m.h = bh + 2 * outline;
            std::vector<int> fill(static_cast<size_t>(m.w) * m.h, 0);
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x)
                    fill[static_cast<size_t>(y + outline) * m.w + x + outline] = bitmap.buffer[y * bitmap.pitch + x];
            const int left = g->bitmap_left - outline, top = -g->bitmap_top - outline;
            for (int y = 0; y < m.h; ++y) {
                for (int x = 0; x < m.w; ++x) {
                    // Outline: the largest neighbour coverage within the radius, its edge softened.
                    double spread = fill[static_cast<size_t>(y) * m.w + x];
                    const double* weight = weights.data();
                    for (int dy = -outline; dy <= outline; ++dy) {
                        for (int dx = -outline; dx <= outline; ++dx, ++weight) {
                            const int nx = x + dx, ny = y + dy;
                            if (nx < 0 || ny < 0 || nx >= m.w || ny >= m.h) continue;
                            spread = std::max(spread, fill[static_cast<size_t>(ny) * m.w + nx] * *weight);
                        }
                    }
                    const int f = static_cast<int>(std::lround(fill[static_cast<size_t>(y) * m.w + x] * kCoverageLevels / 255.0));
                    const int o = std::max(f, static_cast<int>(std::lround(spread * kCoverageLevels / 255.0)));
                    const int fromTop = top + y + ascent;
                    const int band = f == 0 ? 0 : std::clamp(fromTop * kBands / std::max(height, 1), 0, kBands - 1);
                    const Shade shade{o, f, o == 0 ? 0 : band};
                    auto it = shades.find(shade);
                    if (it == shades.end()) {
                        it = shades.emplace(shade, static_cast<uint8_t>(order.size())).first;
                        order.push_back(shade);
                    }
                    m.indices.push_back(it->second);
                }
            }
            frame.modules.push_back({static_cast<int>(sprite.modules.size()), left, top, 0});
            sprite.modules.push_back(std::move(m));
        }
        sprite.frames.push_back(std::move(frame));
    }
    if (glyphsOut) *glyphsOut = chars;
    for (const FontPalette& p : palettes) {
        std::vector<uint32_t> colours;
        for (const Shade& s : order) colours.push_back(shadeColour(s, p));
        sprite.palettes.push_back(std::move(colours));
    }
    return true;
}

bool renderFontSheet(const fs::path& file, Picture& sheet, std::string& error) {
    SpriteDefinition font;
    std::u32string glyphs;
    if (!renderSpriteFont(file, font, error, &glyphs)) return false;
    const std::u32string& all = glyphs;
    std::vector<std::u32string> lines;
    for (size_t i = 0; i < all.size(); i += 32) lines.push_back(all.substr(i, 32));
    for (const char32_t* sample : {U"LEVEL 3: THE FOUNDRY  1.250/9.999",
                                   U"Press 5 to jump. Tap the arrows to move!",
                                   U"Crème brûlée, Smørrebrød, Ærø, Ñandú, Größe ¿¡«»"})
        lines.emplace_back(sample);
    const SpriteFrame& metrics = font.frames[0];
    const int ascent = -metrics.modules[0].y;
    const int lineHeight = metrics.modules[2].y + ascent;
    const auto frameOf = [&](char32_t c) {
        const size_t i = glyphs.find(c);
        return i == std::u32string::npos ? 1 : static_cast<int>(i);
    };
    const int blockHeight = static_cast<int>(lines.size()) * lineHeight + 16;
    sheet.width = 800;
    sheet.height = blockHeight * static_cast<int>(font.palettes.size()) * 2;
    sheet.argb.assign(static_cast<size_t>(sheet.width) * sheet.height, 0);
    for (size_t p = 0; p < font.palettes.size() * 2; ++p) {
        const int top = static_cast<int>(p) * blockHeight;
        const bool light = p % 2 == 1;
        for (int y = top; y < top + blockHeight; ++y)
            for (int x = 0; x < sheet.width; ++x)
                sheet.argb[static_cast<size_t>(y) * sheet.width + x] =
                    light ? 0xFF000000u | (0x60 + x * 0x90 / sheet.width) << 16 | 0xB0D0 : 0xFF101828u;
        const std::vector<uint32_t>& palette = font.palettes[p / 2];
        int baseline = top + 8 + ascent;
        for (const std::u32string& line : lines) {
            int pen = 8;
            for (const char32_t c : line) {
                const SpriteFrame& frame = font.frames[frameOf(c)];
                for (size_t j = 3; j < frame.modules.size(); ++j) {
                    const SpriteFModule& fm = frame.modules[j];
                    const SpriteModule& m = font.modules[fm.module];
                    for (int y = 0; y < m.h; ++y) {
                        for (int x = 0; x < m.w; ++x) {
                            const int sx = pen + fm.x + x, sy = baseline + fm.y + y;
                            if (sx < 0 || sy < 0 || sx >= sheet.width || sy >= sheet.height) continue;
                            const uint32_t src = palette[m.indices[static_cast<size_t>(y) * m.w + x]];
                            uint32_t& dst = sheet.argb[static_cast<size_t>(sy) * sheet.width + sx];
                            const uint32_t a = src >> 24;
                            uint32_t out = 0xFF000000u;
                            for (int shift = 0; shift < 24; shift += 8) {
                                const uint32_t s8 = (src >> shift) & 0xFF, d8 = (dst >> shift) & 0xFF;
                                out |= ((s8 * a + d8 * (255 - a) + 127) / 255) << shift;
                            }
                            dst = out;
                        }
                    }
                }
                pen += frame.modules[0].x;
            }
            baseline += lineHeight;
        }
    }
    return true;
}

bool compileCharMap(const fs::path& glyphList, std::string& out, std::string& error) {
    std::u32string chars;
    if (!readGlyphList(glyphList, chars, error)) return false;
    std::vector<std::vector<std::pair<int, int>>> buckets(kCharMapBuckets);
    for (size_t i = 0; i < chars.size(); ++i)
        buckets[chars[i] % kCharMapBuckets].emplace_back(static_cast<int>(chars[i]), static_cast<int>(i));
    json values = json::array({kCharMapBuckets});
    // A bucket without characters starts with U+FFFF, which no text holds.
    for (const auto& b : buckets) {
        values.push_back(b.empty() ? -1 : b[0].first);
        values.push_back(b.empty() ? 1 : b[0].second);
    }
    for (size_t b = 0; b < buckets.size(); ++b) {
        if (buckets[b].size() < 2) continue;
        values.push_back(static_cast<int>(b));
        values.push_back(static_cast<int>(buckets[b].size() - 1));
        for (size_t k = 1; k < buckets[b].size(); ++k) {
            values.push_back(buckets[b][k].first);
            values.push_back(buckets[b][k].second);
        }
    }
    return compileNestedArray({{"shorts", values}}, glyphList.string(), out, error);
}

}  // namespace tools

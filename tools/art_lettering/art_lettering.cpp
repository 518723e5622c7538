// Lettering through FreeType: DejaVu Sans Bold from fonts-dejavu-core, the face of the game's fonts.
#include "tools/art_lettering/art_lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/art_palette.h"

namespace tools::art {

namespace {

constexpr const char* kFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

FT_Face face(int size) {
    static FT_Library library = nullptr;
    static FT_Face loaded = nullptr;
    if (!loaded && (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kFace, 0, &loaded) != 0)) {
        std::fprintf(stderr, "cannot open %s (fonts-dejavu-core)\n", kFace);
        std::exit(1);
    }
    FT_Set_Pixel_Sizes(loaded, 0, static_cast<FT_UInt>(size));
    return loaded;
}

}  // namespace

Canvas boldText(const std::string& text, int size, Rgb top, Rgb bottom, double outline, int wave) {
    FT_Face f = face(size);
    const int ascent = static_cast<int>(f->size->metrics.ascender >> 6);
    const int pad = static_cast<int>(std::ceil(outline)) + 2;
    int width = 0;
    for (char ch : text) {
        FT_Load_Char(f, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT);
        width += static_cast<int>(f->glyph->advance.x >> 6);
    }
    // The capitals span roughly 0.73 em above the baseline; the gradient runs over them.
    const int cap = size * 73 / 100;
    Canvas c(width + 2 * pad, ascent + size / 4 + 2 * pad + wave);
    int pen = pad;
    for (size_t i = 0; i < text.size(); ++i) {
        FT_Load_Char(f, static_cast<unsigned char>(text[i]), FT_LOAD_RENDER);
        const FT_GlyphSlot g = f->glyph;
        const int lift = (i % 2) ? wave : 0;
        const int baseline = pad + ascent + wave - lift;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const uint8_t v = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
                if (!v) continue;
                const int y = baseline - g->bitmap_top + static_cast<int>(row);
                const double t = std::clamp((y - (baseline - cap)) / static_cast<double>(cap), 0.0, 1.0);
                c.blend(pen + g->bitmap_left + static_cast<int>(col), y, mix(top, bottom, t), v / 255.0);
            }
        pen += static_cast<int>(g->advance.x >> 6);
    }
    if (outline > 0) c.outline(outline, hex(kOutline));
    return c;
}

}  // namespace tools::art

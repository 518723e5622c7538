// Lettering through FreeType (DejaVu Sans Bold from fonts-dejavu-core), the title wordmark and the
// studio emblem.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/ui_art/ui_pictures.h"

namespace tools::art {

namespace {

constexpr const char* kFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

FT_Face face(int size) {
    static FT_Library library = nullptr;
    static FT_Face loaded = nullptr;
    if (!loaded && (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kFace, 0, &loaded) != 0)) {
        std::fprintf(stderr, "uiart: cannot open %s (fonts-dejavu-core)\n", kFace);
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

Canvas wordmark(double shine) {
    Canvas fill = boldText("BRINDLEX", 96, hex(kGoldLight), hex(kGoldDark), 0, 5);
    // A light band along the upper half of the letters, and the sweep when asked.
    for (int y = 0; y < fill.height(); ++y)
        for (int x = 0; x < fill.width(); ++x) {
            const uint32_t p = fill.argb(x, y);
            if (!(p >> 24)) continue;
            const double band = shine < 0 ? 1e9 : std::abs((x + y * 0.6) - shine * (fill.width() + fill.height()));
            if (band < 26) fill.blend(x, y, hex(kWhite), 0.75 * (1 - band / 26) * ((p >> 24) / 255.0));
        }
    fill.outline(5, hex(kOutline));
    Canvas out(fill.width() + 8, fill.height() + 8);
    // The drop shadow: the outlined letters again, dark, down and right.
    Canvas shadow(fill.width(), fill.height());
    for (int y = 0; y < fill.height(); ++y)
        for (int x = 0; x < fill.width(); ++x) shadow.blend(x, y, hex(kShadow), (fill.argb(x, y) >> 24) / 255.0 * 0.55);
    out.draw(shadow, 7, 7);
    out.draw(fill, 0, 0);
    return out;
}

}  // namespace tools::art

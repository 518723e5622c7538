// The built-in system font: glyph rows from the public-domain misc-fixed 9x15 bold font.
// Invariant: drawing never writes outside the surface.
#include "platform/graphics/system_font.h"

namespace {

#include "platform/graphics/system_font_glyphs.inc"

const uint16_t* glyphOf(char16_t ch) {
    if (ch < 32 || ch > 255 || (ch >= 127 && ch < 160)) ch = u'?';
    return kGlyphRows[ch - 32];
}

}  // namespace

namespace SystemFont {

int height() { return kGlyphHeight; }
int ascent() { return kGlyphAscent; }
int charWidth(char16_t) { return kGlyphWidth; }
int textWidth(std::u16string_view text) { return static_cast<int>(text.size()) * kGlyphWidth; }

void drawText(const Surface565& surface, int x, int y, std::u16string_view text, uint16_t colour) {
    for (char16_t ch : text) {
        const uint16_t* rows = glyphOf(ch);
        for (int gy = 0; gy < kGlyphHeight; ++gy) {
            const int py = y + gy;
            if (py < 0 || py >= surface.height) continue;
            uint16_t* out = surface.row(py);
            for (int gx = 0; gx < kGlyphWidth; ++gx) {
                const int px = x + gx;
                if (px >= 0 && px < surface.width && ((rows[gy] >> (kGlyphWidth - 1 - gx)) & 1)) out[px] = colour;
            }
        }
        x += kGlyphWidth;
    }
}

}  // namespace SystemFont

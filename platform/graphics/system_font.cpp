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

void drawTextIn(const Surface565& surface, const Rect& area, int64_t x, int64_t y, std::u16string_view text,
                uint16_t colour) {
    if (area.empty() || y >= area.bottom() || y + kGlyphHeight <= area.y) return;
    // First character whose cell reaches into the area.
    size_t first = 0;
    if (x + kGlyphWidth <= area.x) first = static_cast<size_t>((area.x - x) / kGlyphWidth);
    for (size_t i = first; i < text.size(); ++i) {
        const int64_t cellX = x + static_cast<int64_t>(i) * kGlyphWidth;
        if (cellX >= area.right()) break;
        const uint16_t* rows = glyphOf(text[i]);
        for (int gy = 0; gy < kGlyphHeight; ++gy) {
            const int64_t py = y + gy;
            if (py < area.y || py >= area.bottom()) continue;
            uint16_t* out = surface.row(static_cast<int>(py));
            for (int gx = 0; gx < kGlyphWidth; ++gx) {
                const int64_t px = cellX + gx;
                if (px >= area.x && px < area.right() && ((rows[gy] >> (kGlyphWidth - 1 - gx)) & 1)) out[px] = colour;
            }
        }
    }
}

}  // namespace SystemFont

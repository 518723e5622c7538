// The built-in bitmap font that stands in for the phone's system font: one fixed 9x15 bold cell
// per Latin-1 character. Invariant: every character measures kCellWidth; characters outside
// Latin-1 (and controls) draw as '?'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/graphics/surface.h"

namespace SystemFont {

[[nodiscard]] int height();  // cell height (tmHeight)
[[nodiscard]] int ascent();  // baseline from the cell's top (tmAscent)
[[nodiscard]] int charWidth(char16_t ch);
[[nodiscard]] int textWidth(std::u16string_view text);
// Draws the glyph pixels of text with its cell's top-left at (x, y), clipped to the surface; the
// background is left alone.
void drawText(const Surface565& surface, int x, int y, std::u16string_view text, uint16_t colour);
// The same clipped to `area` (inside the surface), the position 64-bit: only the characters whose
// cells meet the area are visited.
void drawTextIn(const Surface565& surface, const Rect& area, int64_t x, int64_t y, std::u16string_view text,
                uint16_t colour);

}  // namespace SystemFont

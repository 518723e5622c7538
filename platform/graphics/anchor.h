// Anchor bits shared by image and text placement, and the text anchor rule.
// Invariant: an axis with no bit of its own resolves to 0 (a quirk callers rely on), not to x or y.
#pragma once

#include <cstdint>

enum AnchorBit : int {
    kAnchorHCenter = 1,
    kAnchorVCenter = 2,
    kAnchorLeft = 4,
    kAnchorRight = 8,
    kAnchorTop = 16,
    kAnchorBottom = 32,
    kAnchorBaseline = 64,
};

// The top-left corner of a text block of width w, height h and baseline a anchored at (x, y).
// Anchor 0 is TOP | LEFT; later rules override earlier ones: LEFT, TOP, RIGHT, BOTTOM, HCENTER,
// BASELINE. VCENTER moves nothing.
// 64-bit: a long text's width passes the int range.
struct TextCorner {
    int64_t x = 0, y = 0;
};
[[nodiscard]] constexpr TextCorner resolveTextAnchor(int64_t w, int64_t h, int64_t a, int anchor, int64_t x,
                                                     int64_t y) {
    if (anchor == 0) anchor = kAnchorTop | kAnchorLeft;
    TextCorner p;
    if (anchor & kAnchorLeft) p.x = x;
    if (anchor & kAnchorTop) p.y = y;
    if (anchor & kAnchorRight) p.x = x - w;
    if (anchor & kAnchorBottom) p.y = y - h;
    if (anchor & kAnchorHCenter) p.x = x - (w >> 1);
    if (anchor & kAnchorBaseline) p.y = y - a;
    return p;
}

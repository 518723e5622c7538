// Line clipping and drawing; see shapes.h. The clip's intersections are computed with 128-bit
// products (a 64-bit difference times a 64-bit distance), truncated toward zero.
#include "platform/graphics/shapes.h"

#include <cstdlib>

namespace {

using Wide = __int128;

enum : unsigned { kAbove = 1, kBelow = 2, kRightOf = 4, kLeftOf = 8 };

unsigned outcode(int64_t x, int64_t y, int64_t w, int64_t h) {
    unsigned code = 0;
    if (y < 0) code |= kAbove;
    if (y >= h) code |= kBelow;
    if (x >= w) code |= kRightOf;
    if (x < 0) code |= kLeftOf;
    return code;
}

int64_t along(int64_t from, int64_t delta, int64_t distance, int64_t span) {
    return static_cast<int64_t>(from + Wide{delta} * distance / span);
}

}  // namespace

bool clipLine(const Rect& clip, LineEnds& line) {
    if (clip.empty()) return false;
    const int64_t W = clip.w, H = clip.h;
    int64_t x1 = line.x1 - clip.x, y1 = line.y1 - clip.y, x2 = line.x2 - clip.x, y2 = line.y2 - clip.y;
    unsigned c1 = outcode(x1, y1, W, H), c2 = outcode(x2, y2, W, H);
    // Each move puts one coordinate on an edge; a handful suffice, more would mean a rounding cycle.
    for (int moves = 0; moves < 16; ++moves) {
        if ((c1 | c2) == 0) {
            line = {x1 + clip.x, y1 + clip.y, x2 + clip.x, y2 + clip.y};
            return true;
        }
        if (c1 & c2) return false;
        const bool first = c1 != 0;
        const unsigned code = first ? c1 : c2;
        int64_t x, y;
        if (code & kAbove) {
            x = along(x1, x2 - x1, -y1, y2 - y1);
            y = 0;
        } else if (code & kBelow) {
            x = along(x1, x2 - x1, H - y1, y2 - y1);
            y = H - 1;
        } else if (code & kRightOf) {
            y = along(y1, y2 - y1, W - x1, x2 - x1);
            x = W - 1;
        } else {
            y = along(y1, y2 - y1, -x1, x2 - x1);
            x = 0;
        }
        if (first) {
            x1 = x, y1 = y;
            c1 = outcode(x1, y1, W, H);
        } else {
            x2 = x, y2 = y;
            c2 = outcode(x2, y2, W, H);
        }
    }
    return false;
}

void drawLine565(const Surface565& surface, const LineEnds& line, uint32_t argb) {
    const auto colour = static_cast<uint16_t>(((argb >> 8) & 0xF800) | ((argb >> 5) & 0x07E0) | ((argb >> 3) & 0x001F));
    const auto alpha = static_cast<int32_t>(argb >> 24);
    const int64_t dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = alongX ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = alongX ? std::llabs(dy) : std::llabs(dx);
    const int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    int64_t x = line.x1, y = line.y1, e = 2 * minor - major;
    for (int64_t i = 0; i <= major; ++i) {
        uint16_t& pixel = surface.row(static_cast<int>(y))[x];
        pixel = alpha == 0xFF ? colour : blend565(pixel, colour, alpha);
        if (e >= 0) {
            if (alongX) y += sy;
            else x += sx;
            e -= 2 * major;
        }
        if (alongX) x += sx;
        else y += sy;
        e += 2 * minor;
    }
}

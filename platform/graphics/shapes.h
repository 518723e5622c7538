// Integer shape walkers behind Graphics' primitives: line clipping and Bresenham, the midpoint
// circle of rounded corners, the midpoint ellipse of arcs and the triangle's 8.8 spans.
// Invariant: coordinates are 64-bit (a translated int plus a size passes the int range) and the
// walkers hand out positions only; whoever plots clips (lines are clipped before they are walked).
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/graphics/rect.h"
#include "platform/graphics/surface.h"

struct LineEnds {
    int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Cohen-Sutherland against `clip` (absolute). On acceptance the ends are moved inside the clip and
// true is returned; an empty clip rejects every line.
[[nodiscard]] bool clipLine(const Rect& clip, LineEnds& line);

// Bresenham between two ends inside the surface, both ends plotted; x is the major axis unless
// |dx| < |dy|. Alpha 0xFF writes the RGB565 colour, any other alpha blends it per field.
void drawLine565(const Surface565& surface, const LineEnds& line, uint32_t argb);

// d + (s - d) * a / 256 per RGB565 field, computed on the fields in place with a floor shift and
// masked back into each field.
[[nodiscard]] inline uint16_t blend565(uint32_t d, uint32_t s, int32_t a) {
    const int32_t di = static_cast<int32_t>(d), si = static_cast<int32_t>(s);
    const int32_t r = ((di & 0xF800) + ((((si & 0xF800) - (di & 0xF800)) * a) >> 8)) & 0xF800;
    const int32_t g = ((di & 0x07E0) + ((((si & 0x07E0) - (di & 0x07E0)) * a) >> 8)) & 0x07E0;
    const int32_t b = ((di & 0x001F) + ((((si & 0x001F) - (di & 0x001F)) * a) >> 8)) & 0x001F;
    return static_cast<uint16_t>(r | g | b);
}

// The midpoint circle of radius r: after each of its steps, step(k, q) with the step's offsets.
template <class Step>
void walkCircle(int64_t r, Step step) {
    int64_t k = 0, q = r, d = 1 - r, dE = 3, dSE = 5 - 2 * r;
    while (q > k) {
        k += 1;
        if (d < 0) {
            d += dE;
            dSE += 2;
        } else {
            d += dSE;
            dSE += 4;
            q -= 1;
        }
        dE += 2;
        step(k, q);
    }
}

// The midpoint ellipse of half axes a and b (>= 0) from (0, b) round to (a, 0): plot(X, Y) for
// every offset of one quadrant. The start values are rounded as 16.16 values would be; the
// arithmetic is 128-bit so no size overflows.
template <class Plot>
void walkEllipse(int64_t a, int64_t b, Plot plot) {
    using Wide = __int128;
    const Wide a2 = Wide{a} * a, b2 = Wide{b} * b;
    int64_t X = 0, Y = b;
    Wide px = 0, py = 2 * a2 * b;
    plot(X, Y);
    // round(v) of a value held as 4v: floor((4v + 2) / 4).
    Wide d = (4 * b2 - 4 * a2 * b + a2 + 2) >> 2;
    while (px < py) {
        X += 1;
        px += 2 * b2;
        if (d >= 0) {
            Y -= 1;
            py -= 2 * a2;
            d += px - py;
        } else {
            d += px;
        }
        d += b2;
        plot(X, Y);
    }
    if (Y < 1) return;
    d = (b2 * (2 * Wide{X} + 1) * (2 * Wide{X} + 1) + 4 * a2 * (Wide{Y} - 1) * (Wide{Y} - 1) - 4 * a2 * b2 + 2) >> 2;
    do {
        Y -= 1;
        py -= 2 * a2;
        if (d <= 0) {
            X += 1;
            px += 2 * b2;
            d += px - py;
        } else {
            d -= py;
        }
        d += a2;
        plot(X, Y);
    } while (Y > 0);
}

// The triangle's rows as fillRect spans: the vertices sorted by y, 8.8 slopes, span [left >> 8,
// right >> 8) on every row from the top vertex to the bottom one, but only rows firstRow..lastRow
// are handed to span(y, left, width); the edges at a row are computed, not walked to, so a huge
// triangle costs only its visible rows.
struct TriangleVertex {
    int64_t x = 0, y = 0;
};
template <class Span>
void walkTriangle(TriangleVertex A, TriangleVertex B, TriangleVertex C, int64_t firstRow, int64_t lastRow,
                  Span span) {
    using Wide = __int128;
    for (int pass = 0; pass < 2; ++pass) {
        if (A.y > B.y) std::swap(A, B);
        if (B.y > C.y) std::swap(B, C);
    }
    auto slope = [](TriangleVertex p, TriangleVertex q) -> Wide {
        return q.y == p.y ? 0 : Wide{(q.x - p.x) * 256} / (q.y - p.y);
    };
    const Wide sAB = slope(A, B), sAC = slope(A, C), sBC = slope(B, C);
    Wide left = Wide{A.x} * 256, right = left;
    if (A.y == B.y) {
        left = Wide{std::min(A.x, B.x)} * 256;
        right = Wide{std::max(A.x, B.x)} * 256;
    }
    // Far outside any clip, a span only needs to stay far outside.
    constexpr Wide kFar = Wide{1} << 40;
    auto emit = [&](int64_t y, Wide l, Wide r) {
        const Wide lx = std::clamp<Wide>(l >> 8, -kFar, kFar), rx = std::clamp<Wide>(r >> 8, -kFar, kFar);
        span(y, static_cast<int64_t>(lx), static_cast<int64_t>(rx - lx));
    };
    const Wide upperLeft = std::min(sAB, sAC), upperRight = std::max(sAB, sAC);
    for (int64_t y = std::max(A.y, firstRow); y < B.y && y <= lastRow; ++y)
        emit(y, left + upperLeft * (y - A.y), right + upperRight * (y - A.y));
    left += upperLeft * (B.y - A.y);
    right += upperRight * (B.y - A.y);
    const Wide lowerLeft = std::max(sAC, sBC), lowerRight = std::min(sAC, sBC);
    for (int64_t y = std::max(B.y, firstRow); y <= C.y && y <= lastRow; ++y)
        emit(y, left + lowerLeft * (y - B.y), right + lowerRight * (y - B.y));
}

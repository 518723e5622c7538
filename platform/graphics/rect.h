// Point and Rect, the drawing room's value types. Clipping is done here once, in 64-bit arithmetic:
// a coordinate plus a size (or a translation) can pass the int range, and must never wrap back into
// a surface. Invariant: a Rect with w <= 0 or h <= 0 is empty and names no pixel.
#pragma once

#include <algorithm>
#include <cstdint>

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    [[nodiscard]] constexpr bool empty() const { return w <= 0 || h <= 0; }
    [[nodiscard]] constexpr int64_t right() const { return int64_t{x} + w; }    // exclusive
    [[nodiscard]] constexpr int64_t bottom() const { return int64_t{y} + h; }   // exclusive

    // The part of the rectangle at (left, top) of w by h that lies inside this one; empty (all
    // zero) when none does. Wide arguments take translated coordinates without wrapping.
    [[nodiscard]] constexpr Rect clip(int64_t left, int64_t top, int64_t width, int64_t height) const {
        const int64_t l = std::max<int64_t>(left, x);
        const int64_t t = std::max<int64_t>(top, y);
        const int64_t r = std::min<int64_t>(left + width, right());
        const int64_t b = std::min<int64_t>(top + height, bottom());
        if (r <= l || b <= t) return {};
        return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t)};
    }
    [[nodiscard]] constexpr Rect intersect(const Rect& other) const { return clip(other.x, other.y, other.w, other.h); }
    [[nodiscard]] constexpr bool contains(Point p) const {
        return p.x >= x && p.y >= y && p.x < right() && p.y < bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The drawing surface of the art generators (promoart, uiart): an RGBA picture with anti-aliased
// shapes (4x4 supersampled coverage), gradients, an outline grown around whatever has been drawn,
// and PNG output (words come from tools/art_lettering/). Header-only: each generator is a
// small program of its own.
#pragma once

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tools::art {

struct Rgb {
    uint8_t r, g, b;
};

// Even-odd rule: true when (px, py) lies inside the closed polygon.
inline bool insidePolygon(const std::vector<std::pair<double, double>>& pts, double px, double py) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        const auto [xi, yi] = pts[i];
        const auto [xj, yj] = pts[j];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

inline Rgb hex(uint32_t v) {
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

inline Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w * h) * 4, 0) {}

    [[nodiscard]] int width() const { return w_; }
    [[nodiscard]] int height() const { return h_; }

    // 0xAARRGGBB of a pixel; 0 outside.
    [[nodiscard]] uint32_t argb(int x, int y) const {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0;
        const uint8_t* p = &px_[static_cast<size_t>(y * w_ + x) * 4];
        return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }

    void blend(int x, int y, Rgb c, double coverage) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0) return;
        uint8_t* p = &px_[static_cast<size_t>(y * w_ + x) * 4];
        const double a = std::min(coverage, 1.0);
        const double da = p[3] / 255.0;
        const double oa = a + da * (1 - a);
        auto ch = [&](uint8_t src, uint8_t dst) {
            return static_cast<uint8_t>(std::lround((src * a + dst * da * (1 - a)) / (oa > 0 ? oa : 1)));
        };
        p[0] = ch(c.r, p[0]);
        p[1] = ch(c.g, p[1]);
        p[2] = ch(c.b, p[2]);
        p[3] = static_cast<uint8_t>(std::lround(oa * 255));
    }

    // Fills the shape `inside` (a test on a point) with colour(x, y), 16 samples a pixel.
    void shape(const std::function<bool(double, double)>& inside, const std::function<Rgb(int, int)>& colour,
               int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
        if (x1 < 0) x1 = w_;
        if (y1 < 0) y1 = h_;
        for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
                if (hits) blend(x, y, colour(x, y), hits / 16.0);
            }
    }

    void roundRect(double x, double y, double w, double h, double r, const std::function<Rgb(int, int)>& colour) {
        shape(
            [=](double px, double py) {
                if (px < x || py < y || px > x + w || py > y + h) return false;
                const double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
                return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
            },
            colour, static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w) + 1, static_cast<int>(y + h) + 1);
    }
    void roundRect(double x, double y, double w, double h, double r, Rgb c) {
        roundRect(x, y, w, h, r, [c](int, int) { return c; });
    }
    // A vertical gradient from top to bottom inside a rounded rectangle.
    void gradientRect(double x, double y, double w, double h, double r, Rgb top, Rgb bottom) {
        roundRect(x, y, w, h, r, [=](int, int py) { return mix(top, bottom, std::clamp((py - y) / h, 0.0, 1.0)); });
    }
    void circle(double cx, double cy, double r, Rgb c) {
        shape([=](double px, double py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; },
              [c](int, int) { return c; }, static_cast<int>(cx - r) - 1, static_cast<int>(cy - r) - 1,
              static_cast<int>(cx + r) + 2, static_cast<int>(cy + r) + 2);
    }
    void ellipse(double cx, double cy, double rx, double ry, Rgb c) {
        shape([=](double px, double py) { return (px - cx) * (px - cx) / (rx * rx) + (py - cy) * (py - cy) / (ry * ry) <= 1; },
              [c](int, int) { return c; }, static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1,
              static_cast<int>(cx + rx) + 2, static_cast<int>(cy + ry) + 2);
    }
    void ring(double cx, double cy, double r, double thickness, Rgb c) {
        shape(
            [=](double px, double py) {
                const double d = std::hypot(px - cx, py - cy);
                return d <= r && d >= r - thickness;
            },
            [c](int, int) { return c; });
    }
    // A stroke of width `thickness` with round ends from (x0, y0) to (x1, y1).
    void line(double x0, double y0, double x1, double y1, double thickness, Rgb c) {
        const double dx = x1 - x0, dy = y1 - y0, len2 = std::max(dx * dx + dy * dy, 1e-9), r = thickness / 2;
        shape(
            [=](double px, double py) {
                const double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0);
                const double qx = x0 + t * dx - px, qy = y0 + t * dy - py;
                return qx * qx + qy * qy <= r * r;
            },
            [c](int, int) { return c; }, static_cast<int>(std::min(x0, x1) - r) - 1, static_cast<int>(std::min(y0, y1) - r) - 1,
            static_cast<int>(std::max(x0, x1) + r) + 2, static_cast<int>(std::max(y0, y1) + r) + 2);
    }
    void polygon(const std::vector<std::pair<double, double>>& pts, Rgb c) {
        polygon(pts, [c](int, int) { return c; });
    }
    void polygon(const std::vector<std::pair<double, double>>& pts, const std::function<Rgb(int, int)>& colour) {
        double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
        for (const auto& [px, py] : pts) {
            minX = std::min(minX, px), minY = std::min(minY, py), maxX = std::max(maxX, px), maxY = std::max(maxY, py);
        }
        shape([&pts](double px, double py) { return insidePolygon(pts, px, py); }, colour, static_cast<int>(minX) - 1, static_cast<int>(minY) - 1, static_cast<int>(maxX) + 2,
            static_cast<int>(maxY) + 2);
    }

    // An outline of `radius` pixels in colour c grown under everything drawn so far (each pixel takes
    // the strongest coverage within the radius, and what was drawn stays on top).
    void outline(double radius, Rgb c) {
        std::vector<double> grown(static_cast<size_t>(w_ * h_), 0);
        const int r = static_cast<int>(std::ceil(radius));
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                double best = 0;
                for (int dy = -r; dy <= r && best < 1; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        const double d = std::hypot(dx, dy);
                        if (d > radius + 0.5) continue;
                        const double a = (argb(x + dx, y + dy) >> 24) / 255.0 * std::clamp(radius + 0.5 - d, 0.0, 1.0);
                        best = std::max(best, a);
                    }
                grown[static_cast<size_t>(y * w_ + x)] = best;
            }
        Canvas under(w_, h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) under.blend(x, y, c, grown[static_cast<size_t>(y * w_ + x)]);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const uint32_t top = argb(x, y);
                under.blend(x, y, hex(top & 0xFFFFFF), (top >> 24) / 255.0);
            }
        px_ = std::move(under.px_);
    }

    // Another canvas drawn over this one with its top-left at (x, y).
    void draw(const Canvas& other, int x, int y) {
        for (int v = 0; v < other.h_; ++v)
            for (int u = 0; u < other.w_; ++u) {
                const uint32_t p = other.argb(u, v);
                blend(x + u, y + v, hex(p & 0xFFFFFF), (p >> 24) / 255.0);
            }
    }

    bool save(const std::filesystem::path& path) const {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(w_);
        image.height = static_cast<png_uint_32>(h_);
        image.format = PNG_FORMAT_RGBA;
        return png_image_write_to_file(&image, path.c_str(), 0, px_.data(), 0, nullptr) != 0;
    }

private:
    int w_, h_;
    std::vector<uint8_t> px_;
};

}  // namespace tools::art

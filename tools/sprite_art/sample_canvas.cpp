#include "tools/sprite_art/sample_canvas.h"

#include "tools/art_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tools::art {

SampleCanvas::SampleCanvas(int width, int height)
    : m_w(width), m_h(height), m_samples(static_cast<size_t>(width * height * kSub * kSub)) {}

void SampleCanvas::fill(const std::function<bool(double, double)>& inside,
                        const std::function<uint32_t(double, double)>& colour, double x0, double y0, double x1,
                        double y1, uint8_t opacity) {
    const int sw = m_w * kSub, sh = m_h * kSub;
    const int sx0 = std::max(0, static_cast<int>(std::floor(x0 * kSub)));
    const int sy0 = std::max(0, static_cast<int>(std::floor(y0 * kSub)));
    const int sx1 = std::min(sw, static_cast<int>(std::ceil(x1 * kSub)));
    const int sy1 = std::min(sh, static_cast<int>(std::ceil(y1 * kSub)));
    for (int sy = sy0; sy < sy1; ++sy)
        for (int sx = sx0; sx < sx1; ++sx) {
            const double px = (sx + 0.5) / kSub, py = (sy + 0.5) / kSub;
            if (!inside(px, py)) continue;
            Sample& s = m_samples[static_cast<size_t>(sy * sw + sx)];
            s.colour = colour(px, py) & 0xFFFFFFu;
            s.opacity = opacity;
        }
}

void SampleCanvas::fill(const std::function<bool(double, double)>& inside, uint32_t colour, double x0, double y0,
                        double x1, double y1, uint8_t opacity) {
    fill(inside, [colour](double, double) { return colour; }, x0, y0, x1, y1, opacity);
}

void SampleCanvas::ellipse(double cx, double cy, double rx, double ry, uint32_t colour, uint8_t opacity) {
    fill([=](double x, double y) { return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1; },
         colour, cx - rx, cy - ry, cx + rx, cy + ry, opacity);
}

void SampleCanvas::ring(double cx, double cy, double r, double thickness, uint32_t colour, uint8_t opacity) {
    fill(
        [=](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            return d <= r && d >= r - thickness;
        },
        colour, cx - r, cy - r, cx + r, cy + r, opacity);
}

void SampleCanvas::roundRect(double x, double y, double w, double h, double r, uint32_t colour, uint8_t opacity) {
    fill(
        [=](double px, double py) {
            if (px < x || py < y || px > x + w || py > y + h) return false;
            const double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
            return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
        },
        colour, x, y, x + w, y + h, opacity);
}

void SampleCanvas::polygon(const std::vector<std::pair<double, double>>& points, uint32_t colour, uint8_t opacity) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const auto& [x, y] : points) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    fill([&points](double x, double y) { return insidePolygon(points, x, y); }, colour, x0, y0, x1, y1, opacity);
}

void SampleCanvas::line(double x0, double y0, double x1, double y1, double width, uint32_t colour, uint8_t opacity) {
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy, r = width / 2;
    fill(
        [=](double x, double y) {
            const double t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0) : 0.0;
            const double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
            return ex * ex + ey * ey <= r * r;
        },
        colour, std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r, opacity);
}

void SampleCanvas::setPixel(int x, int y, uint32_t colour, uint8_t opacity) {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    const int sw = m_w * kSub;
    for (int sy = y * kSub; sy < (y + 1) * kSub; ++sy)
        for (int sx = x * kSub; sx < (x + 1) * kSub; ++sx)
            m_samples[static_cast<size_t>(sy * sw + sx)] = {colour & 0xFFFFFFu, opacity};
}

void SampleCanvas::erase(const std::function<bool(double, double)>& inside, double x0, double y0, double x1,
                         double y1) {
    const int sw = m_w * kSub;
    for (int sy = std::max(0, static_cast<int>(y0 * kSub)); sy < std::min(m_h * kSub, static_cast<int>(y1 * kSub) + 1); ++sy)
        for (int sx = std::max(0, static_cast<int>(x0 * kSub)); sx < std::min(sw, static_cast<int>(x1 * kSub) + 1); ++sx)
            if (inside((sx + 0.5) / kSub, (sy + 0.5) / kSub)) m_samples[static_cast<size_t>(sy * sw + sx)] = {};
}

Picture SampleCanvas::picture() const {
    Picture out;
    out.width = m_w;
    out.height = m_h;
    out.argb.assign(static_cast<size_t>(m_w * m_h), 0);
    const int sw = m_w * kSub;
    std::array<std::pair<uint32_t, int>, kSub * kSub> counts{};
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            int distinct = 0, opacity = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    const Sample& s = m_samples[static_cast<size_t>((y * kSub + sy) * sw + x * kSub + sx)];
                    if (!s.opacity) continue;
                    opacity += s.opacity;
                    int k = 0;
                    while (k < distinct && counts[static_cast<size_t>(k)].first != s.colour) ++k;
                    if (k == distinct) counts[static_cast<size_t>(distinct++)] = {s.colour, 0};
                    counts[static_cast<size_t>(k)].second += s.opacity;
                }
            const int alpha = (opacity + kSub * kSub / 2) / (kSub * kSub);
            if (!distinct || alpha == 0) continue;
            const auto best = std::max_element(counts.begin(), counts.begin() + distinct,
                                               [](const auto& a, const auto& b) { return a.second < b.second; });
            out.argb[static_cast<size_t>(y * m_w + x)] = static_cast<uint32_t>(alpha) << 24 | best->first;
        }
    return out;
}

}  // namespace tools::art

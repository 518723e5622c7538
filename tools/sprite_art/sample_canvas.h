// A drawing surface for sprite art: every pixel holds 4x4 samples, each a colour of the art palette
// with an opacity, so shapes come out with smooth silhouettes while the pixels keep the palette's
// colours (a sprite's palette holds at most 256). A pixel resolves to the colour most of its samples
// have and the mean opacity of all 16, which the sprite compiler stores as the pixel's alpha. (The
// interface art's tools/art_canvas.h blends colours instead, which suits its pictures and images.)
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "tools/png_picture.h"

namespace tools::art {

class SampleCanvas {
public:
    static constexpr int kSub = 4;

    SampleCanvas(int width, int height);

    [[nodiscard]] int width() const { return m_w; }
    [[nodiscard]] int height() const { return m_h; }

    // Paints every sample whose centre satisfies `inside` (in pixel units) with colour(x, y);
    // the search is limited to the box [x0, x1) x [y0, y1). Opacity 0..255.
    void fill(const std::function<bool(double, double)>& inside, const std::function<uint32_t(double, double)>& colour,
              double x0, double y0, double x1, double y1, uint8_t opacity = 255);
    void fill(const std::function<bool(double, double)>& inside, uint32_t colour, double x0, double y0, double x1,
              double y1, uint8_t opacity = 255);

    void ellipse(double cx, double cy, double rx, double ry, uint32_t colour, uint8_t opacity = 255);
    void circle(double cx, double cy, double r, uint32_t colour, uint8_t opacity = 255) {
        ellipse(cx, cy, r, r, colour, opacity);
    }
    void ring(double cx, double cy, double r, double thickness, uint32_t colour, uint8_t opacity = 255);
    void roundRect(double x, double y, double w, double h, double r, uint32_t colour, uint8_t opacity = 255);
    void polygon(const std::vector<std::pair<double, double>>& points, uint32_t colour, uint8_t opacity = 255);
    // A stroke of the given width with round ends.
    void line(double x0, double y0, double x1, double y1, double width, uint32_t colour, uint8_t opacity = 255);
    // One whole pixel in one colour and opacity: for pictures whose pixels are data, not shapes.
    void setPixel(int x, int y, uint32_t colour, uint8_t opacity);
    // Clears the samples inside the shape (a cut-out).
    void erase(const std::function<bool(double, double)>& inside, double x0, double y0, double x1, double y1);

    // The resolved picture, 0xAARRGGBB; a pixel with no opacity is 0.
    [[nodiscard]] Picture picture() const;

private:
    struct Sample {
        uint32_t colour = 0;
        uint8_t opacity = 0;
    };
    int m_w, m_h;
    std::vector<Sample> m_samples;
};

}  // namespace tools::art

// The portrait screen image the engine paints on (Image 480 x 800, RGB565 like the phone's screen),
// read back upright as the landscape picture the player sees; and text labels for review pictures.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "tools/png_picture.h"

namespace tools {

inline constexpr int kLandscapeWidth = 800, kLandscapeHeight = 480;
inline constexpr uint32_t kChecker[2] = {0xFF6C7A89, 0xFF7D8B9A};  // behind what is shown on its own

// The portrait screen the engine paints on, and the landscape picture read back from it.
class LandscapeScreen {
public:
    LandscapeScreen() : image_(javax_microedition_lcdui_Image::createImage(kLandscapeHeight, kLandscapeWidth)), g_(image_ ? image_->getGraphics() : nullptr) {}
    [[nodiscard]] bool ready() const { return g_ != nullptr; }
    javax_microedition_lcdui_Graphics* g() { return g_; }

    void fill(uint32_t rgb) {
        g_->setClip(0, 0, kLandscapeHeight, kLandscapeWidth);
        g_->setColor(static_cast<jint>(rgb & 0xFFFFFF));
        g_->fillRect(0, 0, kLandscapeHeight, kLandscapeWidth);
    }
    void checker() {
        fill(kChecker[0]);
        g_->setColor(static_cast<jint>(kChecker[1] & 0xFFFFFF));
        for (int y = 0; y < kLandscapeWidth; y += 16)
            for (int x = (y / 16 % 2) * 16; x < kLandscapeHeight; x += 32) g_->fillRect(x, y, 16, 16);
    }
    // The landscape rectangle (x, y, w, h) of the picture, upright.
    Picture read(int x, int y, int w, int h) {
        Picture out;
        x = std::clamp(x, 0, kLandscapeWidth), y = std::clamp(y, 0, kLandscapeHeight);
        w = std::clamp(w, 0, kLandscapeWidth - x), h = std::clamp(h, 0, kLandscapeHeight - y);
        out.width = w, out.height = h;
        out.argb.resize(static_cast<size_t>(w * h));
        if (w == 0 || h == 0) return out;
        IntArray* portrait = Runtime::newIntArray(h * w);
        if (!portrait) return out;
        // Landscape (x, y) is portrait (479 - y, x): the block is portrait (480 - y - h, x, h, w).
        image_->getRGB(portrait, 0, h, kLandscapeHeight - y - h, x, h, w);
        for (int ly = 0; ly < h; ++ly)
            for (int lx = 0; lx < w; ++lx)
                out.argb[static_cast<size_t>(ly * w + lx)] =
                    static_cast<uint32_t>(portrait->get(lx * h + (h - 1 - ly))) | 0xFF000000u;
        return out;
    }
    Picture readAll() { return read(0, 0, kLandscapeWidth, kLandscapeHeight); }

private:
    javax_microedition_lcdui_Image* image_;
    javax_microedition_lcdui_Graphics* g_;
};

// Text in the system font at (x, y), each pixel `scale` times, clipped to the picture.
void drawLabel(Picture& picture, int x, int y, const std::string& text, int scale, uint32_t colour);

}  // namespace tools

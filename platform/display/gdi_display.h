// GdiDisplay: the frame buffer is a plain top-down bitmap; a flush is one stretch of it onto the
// whole screen, nearest-pixel (COLORONCOLOR) unless the smooth mode was asked for.
// Invariant: without init, or after release, there is no bitmap and flush fails.
#pragma once

#include <memory>

#include "platform/display/display_backend.h"

class GdiDisplay final : public DisplayBackend {
public:
    static constexpr int kColorOnColor = 3;
    static constexpr int kHalftone = 5;

    GdiDisplay(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight);
    ~GdiDisplay() override;
    bool init(DeviceScreen* window) override;
    void release() override;
    bool setCooperativeNormal() override { return true; }
    bool setCooperativeFullScreen() override { return true; }
    void setFastStretch() override { m_stretchMode = kColorOnColor; }
    void setSmoothStretch() override { m_stretchMode = kHalftone; }
    int screenWidth() override { return m_screenWidth; }
    int screenHeight() override { return m_screenHeight; }
    int bitsPerPixel() override { return 16; }
    int xPitch() override { return 2; }
    int yPitch() override { return m_screenWidth * 2; }
    int backBufferPitch() override { return m_virtualWidth * 2; }
    bool lock() override { return true; }
    bool unlock() override { return true; }
    int virtualWidth() override { return m_virtualWidth; }
    int virtualHeight() override { return m_virtualHeight; }
    uint16_t* backBuffer() override { return m_bits.get(); }
    bool flush() override;

    [[nodiscard]] int stretchMode() const { return m_stretchMode; }

private:
    int m_stretchMode = kColorOnColor;
    std::unique_ptr<uint16_t[]> m_bits;  // the bitmap's pixels, virtual width x height
};

// DDrawDisplay: the DirectDraw-shaped back end over the same device screen. The back surface is
// its own buffer with its own row pitch, locked around drawing; a flush blits it stretched onto the
// primary (the device screen) with a plain source copy.
// Invariant: init either succeeds whole or leaves nothing allocated.
#pragma once

#include <memory>

#include "platform/display/display_backend.h"

class DDrawDisplay final : public DisplayBackend {
public:
    DDrawDisplay(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight);
    ~DDrawDisplay() override;
    bool init(DeviceScreen* window) override;
    void release() override;
    bool setCooperativeNormal() override { return m_window != nullptr; }
    bool setCooperativeFullScreen() override { return m_window != nullptr; }
    // The blit is always a plain source copy: the blitter has no filtering mode to choose.
    void setFastStretch() override {}
    void setSmoothStretch() override {}
    int screenWidth() override { return m_screenWidth; }
    int screenHeight() override { return m_screenHeight; }
    int bitsPerPixel() override { return m_bitsPerPixel; }
    int xPitch() override { return m_xPitch; }
    int yPitch() override { return m_yPitch; }
    int backBufferPitch() override { return m_backBufferPitch; }
    bool lock() override;
    bool unlock() override;
    int virtualWidth() override { return m_virtualWidth; }
    int virtualHeight() override { return m_virtualHeight; }
    uint16_t* backBuffer() override { return m_back.get(); }
    bool flush() override;

private:
    std::unique_ptr<uint16_t[]> m_back;  // back surface, m_backBufferPitch bytes a row
    bool m_locked = false;
};

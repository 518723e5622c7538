// DDrawDisplay; see ddraw_display.h. The primary surface is the device screen; its format is the
// device's RGB565, so the blit is a plain stretched copy.
#include "platform/display/ddraw_display.h"

#include <new>

#include "platform/device/device.h"
#include "platform/graphics/surface.h"

namespace {
// Back-surface rows start on 64-byte boundaries, as a blitter wants them.
constexpr int kSurfaceRowAlign = 64;
}  // namespace

DDrawDisplay::DDrawDisplay(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight)
    : DisplayBackend(screenWidth, screenHeight, virtualWidth, virtualHeight) {}

DDrawDisplay::~DDrawDisplay() { release(); }

bool DDrawDisplay::init(DeviceScreen* window) {
    m_window = window;
    if (!setCooperativeNormal() || m_virtualWidth <= 0 || m_virtualHeight <= 0) {
        release();
        return false;
    }
    // The primary: the device screen, RGB565 without row padding.
    m_screenWidth = window->screenWidth();
    m_screenHeight = window->screenHeight();
    m_bitsPerPixel = 16;
    m_xPitch = 2;
    m_yPitch = m_screenWidth * 2;
    // The back surface in the primary's format at the virtual size.
    m_backBufferPitch = (m_virtualWidth * 2 + kSurfaceRowAlign - 1) / kSurfaceRowAlign * kSurfaceRowAlign;
    m_back.reset(new (std::nothrow) uint16_t[static_cast<size_t>(m_backBufferPitch / 2) * m_virtualHeight]());
    if (!m_back) {
        release();
        return false;
    }
    return true;
}

void DDrawDisplay::release() {
    m_back.reset();
    m_locked = false;
    m_window = nullptr;
}

bool DDrawDisplay::lock() {
    if (!m_back || m_locked) return false;  // a locked surface is busy
    m_locked = true;
    return true;
}

bool DDrawDisplay::unlock() {
    if (!m_locked) return false;
    m_locked = false;
    return true;
}

bool DDrawDisplay::flush() {
    if (m_window == nullptr || !m_back) return false;
    const ConstSurface565 back{m_back.get(), m_virtualWidth, m_virtualHeight, m_backBufferPitch / 2};
    return m_window->drawScreen([&](Surface565& primary) { stretchBlit(back, primary, StretchMode::Nearest); });
}

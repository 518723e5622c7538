// GdiDisplay; see gdi_display.h. The bitmap is the frame buffer itself: drawing writes it directly
// and a flush is the one stretch to the screen.
#include "platform/display/gdi_display.h"

#include <new>

#include "platform/device/device.h"
#include "platform/graphics/surface.h"

GdiDisplay::GdiDisplay(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight)
    : DisplayBackend(screenWidth, screenHeight, virtualWidth, virtualHeight) {}

GdiDisplay::~GdiDisplay() { release(); }

bool GdiDisplay::init(DeviceScreen* window) {
    if (window == nullptr || m_virtualWidth <= 0 || m_virtualHeight <= 0) return false;
    m_window = window;
    m_bitsPerPixel = 16;
    m_xPitch = 2;
    m_yPitch = m_screenWidth * 2;
    m_backBufferPitch = m_virtualWidth * 2;
    m_bits.reset(new (std::nothrow) uint16_t[static_cast<size_t>(m_virtualWidth) * m_virtualHeight]());
    if (!m_bits) {
        release();
        return false;
    }
    return true;
}

void GdiDisplay::release() {
    m_window = nullptr;
    m_bits.reset();
}

bool GdiDisplay::flush() {
    if (m_window == nullptr || !m_bits) return false;
    const ConstSurface565 bitmap{m_bits.get(), m_virtualWidth, m_virtualHeight, m_virtualWidth};
    const StretchMode mode = m_stretchMode == kHalftone ? StretchMode::Smooth : StretchMode::Nearest;
    return m_window->drawScreen([&](Surface565& screen) { stretchBlit(bitmap, screen, mode); });
}

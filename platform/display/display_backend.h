// DisplayBackend: owner of the 480x800 RGB565 frame buffer that the screen Image wraps, and the
// copy of it to the device's screen. The virtual functions are the back end's slots, in order.
// Invariant: the frame buffer stays where it is from init to release (the screen Image points at it).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

class DeviceScreen;

class DisplayBackend {
public:
    DisplayBackend(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight);
    virtual ~DisplayBackend();                           // 0
    [[nodiscard]] virtual bool init(DeviceScreen* window) = 0;  // 1
    virtual void release() = 0;                          // 2
    virtual bool setCooperativeNormal() = 0;             // 3
    virtual bool setCooperativeFullScreen() = 0;         // 4
    virtual void setFastStretch() = 0;                   // 5
    virtual void setSmoothStretch() = 0;                 // 6
    [[nodiscard]] virtual int screenWidth() = 0;         // 7
    [[nodiscard]] virtual int screenHeight() = 0;        // 8
    [[nodiscard]] virtual int bitsPerPixel() = 0;        // 9
    [[nodiscard]] virtual int xPitch() = 0;              // 10: bytes from one screen pixel to the next
    [[nodiscard]] virtual int yPitch() = 0;              // 11: bytes per screen row
    [[nodiscard]] virtual int backBufferPitch() = 0;     // 12: bytes per frame-buffer row
    virtual bool lock() = 0;                             // 13
    virtual bool unlock() = 0;                           // 14
    [[nodiscard]] virtual int virtualWidth() = 0;        // 15
    [[nodiscard]] virtual int virtualHeight() = 0;       // 16
    [[nodiscard]] virtual uint16_t* backBuffer() = 0;    // 17: rows top-down
    virtual bool flush() = 0;                            // 18: the frame buffer to the screen

protected:
    DeviceScreen* m_window = nullptr;
    int m_bitsPerPixel = 0;
    int m_screenWidth;
    int m_screenHeight;
    int m_xPitch = 0;
    int m_yPitch = 0;
    int m_backBufferPitch = 0;
    int m_virtualWidth;
    int m_virtualHeight;
};

inline constexpr int kVirtualScreenWidth = 480;
inline constexpr int kVirtualScreenHeight = 800;

// Creates the back end named "DDRAW", "GDI" or "AUTO" (DirectDraw first, else GDI) for the
// window's screen, stores it in backend and initialises it; logs the outcome to the debug trace.
// A back end whose init failed stays stored, to be released at shutdown. Any other name: false.
[[nodiscard]] bool openDisplayBackend(std::u16string_view type, DeviceScreen& window,
                                      std::unique_ptr<DisplayBackend>& backend);

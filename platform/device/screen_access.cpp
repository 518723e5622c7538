// Platform::screen: the installed screen, read from any thread.
#include <atomic>

#include "platform/device/device.h"

namespace {
std::atomic<DeviceScreen*> g_screen{nullptr};
}

DeviceScreen* Platform::screen() { return g_screen.load(std::memory_order_acquire); }
void Platform::setScreen(DeviceScreen* screen) { g_screen.store(screen, std::memory_order_release); }

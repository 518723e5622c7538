// The back-end base and the choice of back end by name; see display_backend.h.
// Invariant: the log lines are the system's own texts, newlines included.
#include "platform/display/display_backend.h"

#include "platform/device/device.h"
#include "platform/display/ddraw_display.h"
#include "platform/display/gdi_display.h"
#include "runtime/method_trace.h"

DisplayBackend::DisplayBackend(int screenWidth, int screenHeight, int virtualWidth, int virtualHeight)
    : m_screenWidth(screenWidth),
      m_screenHeight(screenHeight),
      m_virtualWidth(virtualWidth),
      m_virtualHeight(virtualHeight) {}

DisplayBackend::~DisplayBackend() = default;

namespace {

template <typename Backend>
bool openBackend(DeviceScreen& window, std::unique_ptr<DisplayBackend>& backend) {
    backend = std::make_unique<Backend>(window.screenWidth(), window.screenHeight(), kVirtualScreenWidth,
                                        kVirtualScreenHeight);
    return backend->init(&window);
}

}  // namespace

bool openDisplayBackend(std::u16string_view type, DeviceScreen& window, std::unique_ptr<DisplayBackend>& backend) {
    if (type == u"DDRAW") {
        const bool ok = openBackend<DDrawDisplay>(window, backend);
        Runtime::traceLog("%s", ok ? "openDisplay(DDRAW): Using DDRAW display type."
                                   : "openDisplay(DDRAW): Could not create a DDRAW display type.");
        return ok;
    }
    if (type == u"GDI") {
        const bool ok = openBackend<GdiDisplay>(window, backend);
        Runtime::traceLog("%s", ok ? "\nApplicationImpl::openDisplay(GDI): Using GDI display type.\n"
                                   : "\nApplicationImpl::openDisplay(GDI): Could not create a GDI display type.\n");
        return ok;
    }
    if (type == u"AUTO") {
        if (openBackend<DDrawDisplay>(window, backend)) {
            Runtime::traceLog("%s", "\nApplicationImpl::openDisplay(AUTO): Using DDRAW display type.\n");
            return true;
        }
        Runtime::traceLog("%s", "\nApplicationImpl::openDisplay(AUTO): Could not create a DDRAW display type.\n");
        backend.reset();
        const bool ok = openBackend<GdiDisplay>(window, backend);
        Runtime::traceLog("%s", ok ? "\nApplicationImpl::openDisplay(AUTO): Using GDI display type.\n"
                                   : "\nApplicationImpl::openDisplay(AUTO): Could not create a GDI display type.\n");
        return ok;
    }
    Runtime::traceLog("%s", "\nApplicationImpl::openDisplay(): Display type invalid.\n");
    return false;
}

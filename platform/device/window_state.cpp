// Focus and visibility transitions of the window; see window_state.h.
// Invariant: only the window thread changes the state or sends messages.
#include "platform/device/window_state.h"

#include <utility>

void WindowState::create(WindowProc& proc) {
    m_windowThread = std::this_thread::get_id();
    m_proc.store(&proc, std::memory_order_release);
    send({HostMessageKind::Create, 0, 0, 0});
}

void WindowState::show() {
    m_visible = true;
    m_minimised = false;
    gainFocus();
}

void WindowState::minimize() {
    m_minimised = true;
    loseFocus();
}

void WindowState::gainFocus() {
    if (!m_visible || focused()) return;
    m_focused.store(true, std::memory_order_release);
    send({HostMessageKind::Activate, 1, 0, 0});
    send({HostMessageKind::SetFocus, 0, 0, 0});
}

void WindowState::loseFocus() {
    if (!focused()) return;
    m_focused.store(false, std::memory_order_release);
    send({HostMessageKind::Activate, 0, 0, 0});
    send({HostMessageKind::KillFocus, 0, 0, 0});
}

void WindowState::defer(std::function<void()> call) {
    std::lock_guard lock(m_deferredLock);
    m_deferred.push_back(std::move(call));
}

void WindowState::runDeferred() {
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_deferredLock);
        calls.swap(m_deferred);
    }
    for (auto& call : calls) call();
}

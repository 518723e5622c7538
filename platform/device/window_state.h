// The window's visibility and focus, and the order in which focus messages reach the window
// procedure; shared by both devices. Invariant: Activate precedes SetFocus on a gain and
// KillFocus on a loss; the focused flag changes before the messages go out, so a handler that
// shows or minimises the window again sends nothing twice.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/device/host_message.h"

class WindowState {
public:
    // Remembers the procedure and the window thread, then sends Create.
    void create(WindowProc& proc);
    [[nodiscard]] bool created() const { return m_proc.load(std::memory_order_acquire) != nullptr; }
    [[nodiscard]] bool onWindowThread() const { return std::this_thread::get_id() == m_windowThread; }

    // Visible, restored, and focused if it was not.
    void show();
    // Minimised and unfocused.
    void minimize();
    // Focus to a visible window (a minimised one counts; the host restores it itself).
    void gainFocus();
    void loseFocus();
    [[nodiscard]] bool focused() const { return m_focused.load(std::memory_order_acquire); }
    [[nodiscard]] bool visible() const { return m_visible; }
    [[nodiscard]] bool minimised() const { return m_minimised; }

    int32_t send(const HostMessage& message) {
        WindowProc* proc = m_proc.load(std::memory_order_acquire);
        return proc ? proc->windowProc(message) : 0;
    }

    // Window calls made on another thread wait here for the window thread's next message peek.
    void defer(std::function<void()> call);
    void runDeferred();

private:
    std::atomic<WindowProc*> m_proc{nullptr};
    std::thread::id m_windowThread;
    bool m_visible = false;
    bool m_minimised = false;
    std::atomic<bool> m_focused{false};
    std::mutex m_deferredLock;
    std::vector<std::function<void()>> m_deferred;
};

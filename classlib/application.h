// Application: the runtime context of one run and the one door through which the host shell talks
// to the application classes. It owns the two heaps, the collector, the started statics, the
// MIDlet, the current Displayable and the screen Image over the host's frame buffer.
// Invariants: at most one Application is live (from init to close); its first five words are the
// collector's roots; every paint of the screen runs under the paint lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/heaps.h"
#include "runtime/jtypes.h"
#include "runtime/static_class.h"

class Object;
class ObjectManager;
class String;
class javax_microedition_lcdui_Displayable;
class javax_microedition_lcdui_Graphics;
class javax_microedition_lcdui_Image;
class javax_microedition_midlet_MIDlet;

// What the host shell lends the paint road.
class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    // False while a frame must be dropped (window inactive, not in front, turning).
    [[nodiscard]] virtual bool mayPaint() = 0;
    // Shows the frame buffer (the display back end's flush).
    virtual void flush() = 0;
};

// What the host shell does for the MIDlet's natives (platformRequest, notifyDestroyed).
class MIDletHost {
public:
    virtual ~MIDletHost() = default;
    // Starts the device's browser with url; true when it was started.
    virtual bool platformRequest(const std::u16string& url) = 0;
    // The MIDlet has ended: the host loop stops at its next pass.
    virtual void notifyDestroyed() = 0;
};

class Application {
public:
    static constexpr jint kScreenWidth = 480;
    static constexpr jint kScreenHeight = 800;

    struct HeapSizes {
        size_t objectHeap = Runtime::kObjectHeapSize;
        size_t nativeHeap = Runtime::kNativeHeapSize;
    };
    // What the heaps still held after close's final collection, just before they were dropped.
    struct CloseReport {
        size_t objectHeapBytes = 0;
        size_t nativeHeapBytes = 0;
        bool heapsIntact = false;  // both heaps' block walks passed
    };

    Application();
    ~Application();  // closes the application if the host has not
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The live Application (between init and close), or null.
    [[nodiscard]] static Application* getApplication();

    // Start-up: the two heaps, the collector with this object's roots, the statics (class table,
    // constant pool, static initialisers); then, with a frame buffer (kScreenWidth x kScreenHeight
    // RGB565, rows of 960 bytes, kept in place until close), the screen Image over it, cleared to
    // black, and its Graphics. False, with nothing made, when another Application is live or the
    // heaps already exist or cannot be had.
    // The static initialisers run in `order`, which the program gives (it knows every layer's steps).
    // `beforeStatics` runs once the heaps exist and before any static initialiser: the host attaches
    // the main thread there, so initialisers already see Thread.currentThread().
    [[nodiscard]] bool init(uint16_t* frameBuffer, HeapSizes sizes, StartupOrder order,
                            const std::function<void()>& beforeStatics = {});
    // Stores the screen Image and makes the screen Graphics over it.
    void setScreenImage(javax_microedition_lcdui_Image* image);
    // The host's side of the paint road (null: paint always, show nothing).
    void setScreenHost(ScreenHost* host);

    // The host behind the MIDlet natives (null: none; platformRequest then starts nothing). Set
    // before startApp; cleared by close.
    void setMIDletHost(MIDletHost* host) { m_midletHost = host; }
    [[nodiscard]] MIDletHost* midletHost() const { return m_midletHost; }

    // Makes the application's MIDlet (its registered class) and calls its startApp. Once.
    void startApp();
    // Focus loss: MIDlet pauseApp, then the current Displayable's hideNotify; only when both exist
    // and the application is not paused already.
    void pause();
    // Focus gain: MIDlet startApp, then showNotify; only when both exist and the application is
    // paused.
    void resume();
    [[nodiscard]] bool isPaused() const { return m_paused; }
    // The window's focus handlers: MIDlet startApp then showNotify (focus gained), MIDlet pauseApp
    // then hideNotify (focus lost), when both exist. The paused flag is left alone.
    void startAndShow();
    void pauseAndHide();

    // The paint road of Canvas.repaint: under the paint lock, when the host lets it, paint and then
    // show the frame. Runs on the calling thread; a frame the host refuses is dropped.
    void repaint();
    // Under the paint lock: the screen Graphics back at the origin, clipped to the screen, white;
    // the current Displayable's paint; a throttled collection. Without a Displayable it only
    // resets the clip. The frame is not shown here.
    void paint();

    // Forwarded to the current Displayable, when there is one (host thread).
    void keyPressed(jint code);
    void keyReleased(jint code);
    void pointerPressed(jint x, jint y);
    void pointerReleased(jint x, jint y);
    void pointerDragged(jint x, jint y);

    // The calling thread's method trace as a new String ("stacktrace:\n", names newest first).
    [[nodiscard]] String* getStackTrace();
    // The same text to the debug trace log.
    void printStackTrace();

    // destroyApp(true) on the MIDlet, when there is one.
    void destoryMIDlet();
    // Shutdown, with every other thread stopped: destroyApp(true), the roots and statics dropped,
    // a collection that frees every object, then the collector and both heaps go. A second close
    // does nothing.
    CloseReport close();

    [[nodiscard]] javax_microedition_midlet_MIDlet* midlet() const { return m_midlet; }
    [[nodiscard]] javax_microedition_lcdui_Displayable* current() const;
    // Display.setCurrent: no notification.
    void setCurrent(javax_microedition_lcdui_Displayable* displayable);
    [[nodiscard]] javax_microedition_lcdui_Image* screenImage() const { return m_screenImage; }
    [[nodiscard]] javax_microedition_lcdui_Graphics* screenGraphics() const { return m_screenGraphics; }
    [[nodiscard]] ObjectManager* objectManager() const { return m_objectManager.get(); }

private:
    // The collector's roots: these four words, in this order, first. (The phone kept a shared
    // scratch StringBuffer as a fifth; our string decoders use their own storage instead.)
    javax_microedition_midlet_MIDlet* m_midlet = nullptr;
    javax_microedition_lcdui_Displayable* m_current = nullptr;  // read and written from any thread
    javax_microedition_lcdui_Image* m_screenImage = nullptr;
    javax_microedition_lcdui_Graphics* m_screenGraphics = nullptr;

    std::unique_ptr<ObjectManager> m_objectManager;
    ScreenHost* m_screenHost = nullptr;
    MIDletHost* m_midletHost = nullptr;
    bool m_paused = false;
    // Serialises painting between the host thread and the game thread; waiting for it is a safe
    // region. Recursive: a repaint asked for from inside a paint does not deadlock.
    std::recursive_mutex m_paintLock;

    [[nodiscard]] Object** rootSlot(int index);
    void lockPaint();
};

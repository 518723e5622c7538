// Application: start-up and shutdown of a run, the MIDlet's lifecycle, input forwarding and the
// paint road. Calls into application code leave no exception pending on the host's threads: what
// one leaves behind is logged and dropped here, as the platform's event loop did.
#include "classlib/application.h"

#include <atomic>
#include <cstring>
#include <string>

#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_displayable.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/method_trace.h"
#include "runtime/object_manager.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/thread_state.h"

namespace {

std::atomic<Application*> g_application{nullptr};

constexpr int kRootCount = 4;

// Logs and drops what a call into application code left pending.
void dropPending(const char* call) {
    Object* left = Runtime::getPendingException();
    if (!left) return;
    const ClassRecord* record = Class::forId(left->classId());
    Log::warn("uncaught %s left pending by %s", record ? record->name() : "object", call);
    Runtime::clearPendingException();
}

void lockRecursive(void* lock) { static_cast<std::recursive_mutex*>(lock)->lock(); }

}  // namespace

Application::Application() = default;

Application::~Application() { close(); }

Application* Application::getApplication() { return g_application.load(std::memory_order_acquire); }

Object** Application::rootSlot(int index) {
    switch (index) {
        case 0: return staticRootSlot(&m_midlet);
        case 1: return staticRootSlot(&m_current);
        case 2: return staticRootSlot(&m_screenImage);
        default: return staticRootSlot(&m_screenGraphics);
    }
}

bool Application::init(uint16_t* frameBuffer, HeapSizes sizes, StartupOrder order,
                       const std::function<void()>& beforeStatics) {
    Runtime::traceLog("Application::init");
    Application* none = nullptr;
    if (!g_application.compare_exchange_strong(none, this)) {
        Log::error("Application::init: another application is live");
        return false;
    }
    if (Runtime::heapsReady() || !Runtime::initHeaps(sizes.objectHeap, sizes.nativeHeap)) {
        Log::error("Application::init: the heaps exist already or cannot be made");
        g_application.store(nullptr);
        return false;
    }
    m_objectManager = std::make_unique<ObjectManager>();
    for (int i = 0; i < kRootCount; ++i) m_objectManager->addRoot(rootSlot(i));
    m_paused = false;
    Runtime::clearPendingException();
    if (beforeStatics) beforeStatics();
    StaticClass::initStatics(order);
    dropPending("the static initialisers");

    if (frameBuffer) {
        auto* screen = new javax_microedition_lcdui_Image();
        if (screen) {
            screen->attachFrameBuffer(frameBuffer, kScreenWidth, kScreenHeight);
            std::memset(frameBuffer, 0, sizeof(uint16_t) * kScreenWidth * kScreenHeight);
            setScreenImage(screen);
        }
    }
    return true;
}

void Application::setScreenImage(javax_microedition_lcdui_Image* image) {
    Runtime::traceLog("Application::setScreenImage");
    m_screenImage = image;
    auto* g = Runtime::make<javax_microedition_lcdui_Graphics>(image);
    m_screenGraphics = g;
}

void Application::setScreenHost(ScreenHost* host) {
    lockPaint();
    m_screenHost = host;
    m_paintLock.unlock();
}

void Application::startApp() {
    Runtime::traceLog("Application::startApp");
    if (m_midlet) {
        Log::error("Application::startApp: the MIDlet is started already");
        return;
    }
    const MIDletClass* midletClass = applicationMIDletClass();
    if (!midletClass) {
        Log::error("Application::startApp: no MIDlet class is linked in");
        return;
    }
    javax_microedition_midlet_MIDlet* midlet = midletClass->allocate();
    if (!midlet) return;
    m_midlet = midlet;
    midletClass->construct(midlet);
    if (Runtime::pending()) return dropPending("the MIDlet's constructor");
    midlet->startApp();
    dropPending("startApp");
}

void Application::pause() {
    if (m_paused || !m_midlet || !current()) return;
    pauseAndHide();
    m_paused = true;
}

void Application::resume() {
    if (!m_paused || !m_midlet || !current()) return;
    startAndShow();
    m_paused = false;
}

void Application::startAndShow() {
    if (!m_midlet || !current()) return;
    m_midlet->startApp();
    dropPending("startApp");
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->showNotify();
        dropPending("showNotify");
    }
}

void Application::pauseAndHide() {
    if (!m_midlet || !current()) return;
    m_midlet->pauseApp();
    dropPending("pauseApp");
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->hideNotify();
        dropPending("hideNotify");
    }
}

void Application::lockPaint() {
    if (m_paintLock.try_lock()) return;
    Runtime::runParked(lockRecursive, &m_paintLock);
}

void Application::repaint() {
    lockPaint();
    if (!m_screenHost || m_screenHost->mayPaint()) {
        paint();
        if (m_screenHost) m_screenHost->flush();
    }
    m_paintLock.unlock();
}

void Application::paint() {
    lockPaint();
    javax_microedition_lcdui_Graphics* g = m_screenGraphics;
    javax_microedition_lcdui_Image* screen = m_screenImage;
    if (g && screen) {
        if (javax_microedition_lcdui_Displayable* d = current()) {
            g->translate(jt::neg(g->getTranslateX()), jt::neg(g->getTranslateY()));
            g->setClip(0, 0, screen->getWidth(), screen->getHeight());
            g->setColor(0xFFFFFF);
            d->paint(g);
            dropPending("paint");
            if (m_objectManager) m_objectManager->gc(0);
        }
        g->setClip(0, 0, screen->getWidth(), screen->getHeight());
    }
    m_paintLock.unlock();
}

void Application::keyPressed(jint code) {
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->keyPressed(code);
        dropPending("keyPressed");
    }
}

void Application::keyReleased(jint code) {
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->keyReleased(code);
        dropPending("keyReleased");
    }
}

void Application::pointerPressed(jint x, jint y) {
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->pointerPressed(x, y);
        dropPending("pointerPressed");
    }
}

void Application::pointerReleased(jint x, jint y) {
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->pointerReleased(x, y);
        dropPending("pointerReleased");
    }
}

void Application::pointerDragged(jint x, jint y) {
    if (javax_microedition_lcdui_Displayable* d = current()) {
        d->pointerDragged(x, y);
        dropPending("pointerDragged");
    }
}

String* Application::getStackTrace() {
    const std::string text = Runtime::getStackTrace();
    return String::fromCString(text.c_str());
}

void Application::printStackTrace() { Runtime::printStackTrace(); }

void Application::destoryMIDlet() {
    Runtime::traceLog("Application::destoryMIDlet");
    if (!m_midlet) return;
    m_midlet->destroyApp(1);
    dropPending("destroyApp");
}

javax_microedition_lcdui_Displayable* Application::current() const {
    return std::atomic_ref(const_cast<javax_microedition_lcdui_Displayable*&>(m_current)).load(std::memory_order_acquire);
}

void Application::setCurrent(javax_microedition_lcdui_Displayable* displayable) {
    std::atomic_ref(m_current).store(displayable, std::memory_order_release);
}

Application::CloseReport Application::close() {
    CloseReport report;
    if (!m_objectManager) return report;
    Runtime::traceLog("Application::close");
    if (m_midlet) {
        m_midlet->destroyApp(1);
        dropPending("destroyApp");
    } else {
        Runtime::traceLog("m_midlet is already NULL.");
    }
    m_midlet = nullptr;
    setCurrent(nullptr);
    m_screenImage = nullptr;
    m_screenGraphics = nullptr;
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    StaticClass::releaseStatics();
    Runtime::setConstantPool(nullptr);
    Runtime::clearPendingException();

    m_objectManager->gc(ObjectManager::kFreeAll);
    report.objectHeapBytes = Runtime::objectHeap().usedBytes();
    report.nativeHeapBytes = Runtime::nativeHeap().usedBytes();
    report.heapsIntact = Runtime::objectHeap().walk() && Runtime::nativeHeap().walk();
    if (report.objectHeapBytes || report.nativeHeapBytes || !report.heapsIntact)
        Log::error("Application::close: %zu object-heap and %zu native-heap bytes outlived the final collection%s",
                   report.objectHeapBytes, report.nativeHeapBytes, report.heapsIntact ? "" : "; a heap is damaged");

    for (int i = 0; i < kRootCount; ++i) m_objectManager->removeRoot(rootSlot(i));
    m_objectManager.reset();
    Runtime::destroyHeaps();
    m_screenHost = nullptr;
    m_midletHost = nullptr;
    g_application.store(nullptr);
    return report;
}

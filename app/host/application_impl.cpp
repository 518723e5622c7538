// ApplicationImpl: start-up of the runtime over the back end's frame buffer, the host loop, the
// shutdown, the paint road's host side, the volume keys and the MIDlet natives' host side.
// Invariant: after shutdown nothing of the run is held; a second shutdown finds nothing to do.
#include "app/host/application_impl.h"

#include "app/host/host_record.h"
#include "app/host/host_shell.h"
#include "classlib/java_lang/java_lang_thread.h"
#include "platform/device/device.h"
#include "platform/media/decoded_sound.h"
#include "runtime/clock.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/thread_state.h"
#include "runtime/thread_table.h"

namespace {

ApplicationImpl g_instance;

constexpr int64_t kPassSleepMillis = 5;
// Device time a shutdown gives the MIDlet's threads to finish their frame and end: a few frames.
constexpr int kEndingPasses = 100;

uint32_t stepChannels(uint32_t volume, bool up) {
    const auto step = [up](uint32_t channel) -> uint32_t {
        if (up) return channel >= ApplicationImpl::kVolumeTop ? 0xFFFF : channel + ApplicationImpl::kVolumeStep;
        return channel <= ApplicationImpl::kVolumeStep ? 0 : channel - ApplicationImpl::kVolumeStep;
    };
    return step(volume & 0xFFFF) | (step(volume >> 16) << 16);
}

// Registered threads other than the caller's.
int otherRegisteredThreads() {
    struct Count {
        ThreadState* self;
        int others;
    } count{&Runtime::currentThreadState(), 0};
    Runtime::forEachThreadState(
        [](ThreadState& state, void* context) {
            auto* c = static_cast<Count*>(context);
            if (&state != c->self) ++c->others;
        },
        &count);
    return count.others;
}

}  // namespace

ApplicationImpl* ApplicationImpl::getInstance() { return &g_instance; }

Application* ApplicationImpl::getApplication() { return g_instance.m_application.get(); }

void ApplicationImpl::begin(Device& device) {
    m_device = &device;
    // The media players' sound output, until shutdown has closed every player.
    Platform::setWaveDevice(&device.waveDevice());
    Platform::setScreen(&device);
    m_running.store(true);
    m_active.store(false);
    m_repaintSuppress.store(false);
    m_passLimit = -1;
    m_passes = 0;
    m_threadsLeftStopped = 0;
}

bool ApplicationImpl::openDisplay(std::u16string_view type) {
    if (!m_device) return false;
    return openDisplayBackend(type, *m_device, m_display);
}

bool ApplicationImpl::init(uintptr_t stackBase, StartupOrder startupOrder) {
    m_preemptive = Host::isPocketPC();
    if (!m_display) return false;
    m_frameBuffer = m_display->backBuffer();
    if (!m_frameBuffer) return false;
    // The main thread: a Thread that is never collected, in the table like the game's threads, made
    // before the static initialisers run so they see it. Its OS priority is the normal one, so its
    // Thread priority is 9 - that.
    if (stackBase) {
        m_savedStackBase = Runtime::setStackBase(stackBase);
        m_stackBaseSet = true;
    }
    auto attachMainThread = [this] {
        auto* mainThread = Runtime::make<java_lang_Thread>();
        if (!mainThread) return;
        mainThread->setCollectable(false);
        mainThread->m_priority = 9 - ThreadTable::getThreadPriority();
        m_mainThreadSlot = ThreadTable::attachCurrentThread(mainThread);
    };
    // The soundfont loads while the logos show, not when the first music is wanted.
    Media::loadSoundFontAhead();
    // The screen Image is made over the frame buffer and clears it to black.
    auto application = std::make_unique<Application>();
    if (!application->init(m_frameBuffer, Application::HeapSizes{}, startupOrder, attachMainThread)) return false;
    m_application = std::move(application);
    m_application->setScreenHost(this);
    m_application->setMIDletHost(this);
    m_application->startApp();
    return true;
}

// Timed events due by the end of the pause reach the game before the clock moves there: the
// other threads first finish what is due now, then the host hands the events over, then time moves
// and wakes the frame due then, which sees them however the threads are scheduled.
bool ApplicationImpl::pause() {
    ClockSource& clock = m_device->clock();
    Runtime::runParked([&clock] { clock.settleOthers(); });
    m_device->releaseEventsDueBy(clock.monotonicMillis() + kPassSleepMillis);
    Host::pumpMessages();
    if (hostRecord().cleanedUp) return false;
    Runtime::runParked([&clock] { clock.sleepMillis(kPassSleepMillis); });
    return true;
}

void ApplicationImpl::run() {
    while (m_running.load()) {
        Host::processPowerQueue();
        Host::pumpMessages();
        // A quit has shut the run down and cleaned up: the program ends where the pump found it.
        if (hostRecord().cleanedUp) break;
        m_repaintSuppress.store(false);
        if (m_active.load() && hostRecord().recheckOrientation) (void)Host::checkOrientation();
        m_device->present();
        // Each pause is also the main thread's parking point for a collection on another thread.
        if (!pause() || !pause()) break;
        if (m_passLimit >= 0 && ++m_passes >= m_passLimit) {
            Log::info("host: the frame limit ends the run");
            m_running.store(false);
        }
    }
    shutdown();
}

// The MIDlet is asked to end (its game thread leaves the loop at the end of its frame) and device
// time runs on until its threads have ended, so a run stopped from outside (the frame limit, the
// window closed) ends them in order instead of stopping them mid-frame.
void ApplicationImpl::endApplicationThreads() {
    if (otherRegisteredThreads() == 0) return;
    m_application->destoryMIDlet();
    ClockSource& clock = m_device->clock();
    for (int pass = 0; pass < kEndingPasses && otherRegisteredThreads() > 0; ++pass)
        Runtime::runParked([&clock] { clock.sleepMillis(kPassSleepMillis); });
}

void ApplicationImpl::shutdown() {
    m_running.store(false);
    if (m_application) {
        endApplicationThreads();
        Runtime::suspendAllThreads();
        if (m_mainThreadSlot >= 0) ThreadTable::freeSlot(m_mainThreadSlot);
        m_mainThreadSlot = -1;
        (void)m_application->close();
        m_application.reset();
        if (m_stackBaseSet) (void)Runtime::setStackBase(m_savedStackBase);
        m_stackBaseSet = false;
        // A thread still registered is parked in the stopped world; released, it would run on
        // the freed heaps. It stays stopped until the process ends.
        m_threadsLeftStopped = otherRegisteredThreads();
        if (m_threadsLeftStopped == 0)
            Runtime::resumeAllThreads();
        else
            Log::warn("shutdown: %d application thread(s) left stopped", m_threadsLeftStopped);
    }
    if (m_display) {
        m_display->release();
        m_display.reset();
    }
    m_frameBuffer = nullptr;
    Platform::setWaveDevice(nullptr);
    Platform::setScreen(nullptr);
}

void ApplicationImpl::volumeUp() {
    m_deviceVolume = stepChannels(m_device->waveVolume(), true);
    m_device->setWaveVolume(m_deviceVolume);
}

void ApplicationImpl::volumeDown() {
    m_deviceVolume = stepChannels(m_device->waveVolume(), false);
    m_device->setWaveVolume(m_deviceVolume);
}

bool ApplicationImpl::mayPaint() {
    return m_active.load() && !m_repaintSuppress.load() && Host::isForegroundWindow();
}

void ApplicationImpl::flush() {
    if (m_display) (void)m_display->flush();
}

bool ApplicationImpl::platformRequest(const std::u16string& url) {
    if (!Host::launchBrowser(url)) return false;
    m_device->showWindow(ShowCommand::Minimize);
    return true;
}

void ApplicationImpl::notifyDestroyed() { m_running.store(false); }

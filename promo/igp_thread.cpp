// IGP: the link thread. It polls once a second for the link the player chose, hands it to the
// platform, puts the screen back to browsing and ends the application.
// Invariant: at most one link thread is alive (start stops and joins the previous one) and each
// visit launches at most one link (the pending link is taken by exchange, s_linkLaunched guards).
#include <mutex>
#include <string>

#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "promo/igp.h"
#include "promo/igp_failures.h"
#include "promo/igp_thread.h"
#include "runtime/clock.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/thread_state.h"

String* IGP::s_pendingLink = nullptr;
String* IGP::s_launchLink = nullptr;
java_lang_Thread* IGP::s_linkThread = nullptr;
std::atomic<bool> IGP::s_linkLaunched{false};

namespace {

const StaticRefRegistration kThreadStatics(CID_IGP, &IGP::s_pendingLink, &IGP::s_launchLink, &IGP::s_linkThread);

// The running link thread's record while its run lasts; a stop raises its wake signal.
std::mutex g_wakeLock;
ThreadState* g_linkThreadState = nullptr;

std::atomic_ref<String*> pendingLink() { return std::atomic_ref<String*>(IGP::s_pendingLink); }

// Sleeps up to `millis` of the runtime's clock, parked; a stop cuts it short.
void pause(jint millis) {
    const int64_t deadline = Runtime::clock().monotonicMillis() + millis;
    Runtime::runParked([deadline] {
        while (IGP::s_running && Runtime::clock().monotonicMillis() < deadline) Runtime::waitForWake(deadline);
    });
}

void setLinkThreadState(ThreadState* state) {
    std::lock_guard<std::mutex> lock(g_wakeLock);
    g_linkThreadState = state;
}

}  // namespace

namespace igp {

void startLinkThread() {
    pendingLink().store(nullptr);
    IGP::s_launchLink = nullptr;
    IGP::s_linkLaunched = false;
    {
        std::lock_guard<std::mutex> lock(g_wakeLock);
        IGP::s_running = true;
    }
    auto* runner = new IGP();
    if (!runner) return;
    auto* thread = Runtime::make<java_lang_Thread>(static_cast<Object*>(runner));
    BX_RETURN_IF_PENDING();
    if (!thread) return;
    if (thread->start() < 0) {
        Log::error("promotion: no thread for the links");
        return;
    }
    IGP::s_linkThread = thread;
}

void endRunning() {
    {
        std::lock_guard<std::mutex> lock(g_wakeLock);
        IGP::s_running = false;
        if (g_linkThreadState) Runtime::wakeThread(*g_linkThreadState);
    }
}

void offerLink(String* link) { pendingLink().store(link); }

}  // namespace igp

void IGP::run() {
    setLinkThreadState(&Runtime::currentThreadState());
    while (s_running) {
        String* link = pendingLink().exchange(nullptr);
        if (link && !s_linkLaunched.exchange(true)) {
            s_launchLink = link;
            launchPendingUrl();
        }
        pause(kLinkPollMillis);
    }
    setLinkThreadState(nullptr);
}

void IGP::launchPendingUrl() {
    String* link = s_launchLink;
    if (!link || link->length() == 0) return;
    s_launchLink = nullptr;
    std::string text;
    for (jint i = 0; i < link->length(); ++i) text += static_cast<char>(link->charAt(i) & 0x7F);
    Log::info("promotion: opening %s", text.c_str());
    if (s_midlet) (void)s_midlet->platformRequest(link);
    else Runtime::nullPointer();
    // A failed request changes nothing: the application ends all the same.
    (void)igp::catchException();
    pause(kLaunchPauseMillis);
    s_state = kStateBrowsing;
    if (s_midlet) s_midlet->notifyDestroyed();
    else Runtime::nullPointer();
}

void IGP::stopLinkThread() {
    igp::endRunning();
    java_lang_Thread* thread = s_linkThread;
    if (!thread) return;
    if (thread != java_lang_Thread::currentThread()) thread->join();
    s_linkThread = nullptr;
}

bool IGP::linkThreadAlive() { return s_linkThread && s_linkThread->isAlive(); }

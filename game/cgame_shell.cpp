// cGame's shell: the constructor, the game thread's run loop with its 58 ms period, the paint road
// that makes every repaint one frame, pause and resume, the orderly stop, and the game lock that
// keeps the host thread's handlers and the frames from running at once.
#include <algorithm>
#include <atomic>
#include <mutex>

#include "classlib/java_lang/java_lang_thread.h"
#include "classlib/lcdui/javax_microedition_lcdui_display.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/log.h"
#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/system_natives.h"
#include "runtime/thread_state.h"
#include "sprites/bxlib_player.h"

cGame* cGameShell::s_game = nullptr;
cGame* cGameShell::s_canvas = nullptr;
jint cGameShell::s_runFlag = -1;
jbyte cGameShell::s_inPaint = 0;
javax_microedition_lcdui_Graphics* cGameShell::s_paintGraphics = nullptr;
javax_microedition_lcdui_Graphics* cGameShell::s_frameGraphics = nullptr;
jint cGameShell::s_frameTime = 0;
jlong cGameShell::s_lastTick = 0;
jlong cGameShell::s_now = 0;
jint cGameShell::s_totalFrameTime = 0;
jint cGameShell::s_frameCounter = 0;
jint cGameShell::s_averageFps = 0;
jint cGameShell::s_speedFactor = 0;
jbyte cGameShell::s_fullRedraw = 0;
jint cGameShell::s_screenWidth = 0;
jint cGameShell::s_screenHeight = 0;
jint cGameShell::s_musicId = -1;
jbyte cGameShell::s_musicLoop = 0;

namespace {

// Used by this file only.
javax_microedition_lcdui_Display* g_display = nullptr;
jint g_frameDuration = 0;

const uint32_t kGameRefs[] = {BX_REF_FIELD(cGame, m_unused), BX_REF_FIELD(cGame, m_frameImage),
                              BX_REF_FIELD(cGame, m_frameImageGraphics), BX_REF_FIELD(cGame, m_savedGraphics)};
const RefFieldRegistration kGameRefsReg(CID_cGame, kGameRefs);
const StaticRefRegistration kStatics(CID_cGame, &cGame::s_game, &cGame::s_canvas, &g_display,
                                     &cGame::s_paintGraphics, &cGame::s_frameGraphics);
const NewInstanceRegistration kNew(CID_cGame, &newInstanceOf<cGame>);
const StaticInitRegistration kInit("cGame::initStaticFields", &cGame::initStaticFields);

// The frame, and the handlers of the host thread, take turns through this lock.
std::recursive_mutex g_gameLock;
// Whether some thread holds it, for the show handling's repaint (a frame is never started from a
// show while another thread holds the lock).
std::atomic<int> g_gameLockDepth{0};

const TryEntry kExceptionTry[] = {{CID_java_lang_Exception, 0, 1}, {0, 0, 0}};

// An Exception pending on this thread is printed and dropped; true when there was one. Anything
// else stays pending.
bool printAndDropException() {
    Object* thrown = Runtime::getPendingException();
    if (!thrown) return false;
    (void)Runtime::checkPendingException(0);
    if (Runtime::findExceptionHandler(kExceptionTry) != 0) return false;
    static_cast<java_lang_Throwable*>(thrown)->printStackTrace();
    Runtime::clearPendingException();
    return true;
}

// An Exception pending on this thread is caught (true); anything else stays pending.
bool catchException() {
    if (!Runtime::getPendingException()) return false;
    (void)Runtime::checkPendingException(0);
    return Runtime::findExceptionHandler(kExceptionTry) == 0;
}

jlong now() { return java_lang_System::currentTimeMillis(); }

jint runFlag() { return std::atomic_ref<jint>(cGame::s_runFlag).load(std::memory_order_acquire); }
void setRunFlag(jint v) { std::atomic_ref<jint>(cGame::s_runFlag).store(v, std::memory_order_release); }

}  // namespace

cGame::GameLock::GameLock() {
    if (!g_gameLock.try_lock()) Runtime::runParked([] { g_gameLock.lock(); });
    g_gameLockDepth.fetch_add(1, std::memory_order_relaxed);
}

cGame::GameLock::~GameLock() {
    g_gameLockDepth.fetch_sub(1, std::memory_order_relaxed);
    g_gameLock.unlock();
}

bool cGame::gameLockFree() { return g_gameLockDepth.load(std::memory_order_relaxed) == 0; }

void* cGame::getInterface(jint classId) {
    switch (classId) {
        case CID_java_lang_Runnable:
            return static_cast<java_lang_Runnable*>(this);
        case CID_IActor:
        case CID_IConst:
        case CID_IDef:
            return static_cast<Object*>(this);  // constant interfaces: nothing to call
        default:
            return javax_microedition_lcdui_Canvas::getInterface(classId);
    }
}

void cGame::initStaticFields() {
    // The shell's scalars as a fresh start has them (references are cleared by the start-up).
    setRunFlag(-1);
    s_paused = 0;
    s_inPaint = 0;
    s_fullRedraw = 0;
    s_frameTime = 0;
    s_lastTick = 0;
    s_now = 0;
    s_totalFrameTime = 0;
    s_frameCounter = 0;
    s_averageFps = 0;
    s_speedFactor = 0;
    s_altPlayerLevel = 0;
    s_musicLoop = 0;
    s_screenWidth = 480;
    s_screenHeight = 640;
    g_frameDuration = kFrameDuration;
    s_angleUnitsPerTurn = 256;
    s_angleQuarter = 64;
    s_angleHalf = 128;
    s_angleThreeQuarters = 192;
    s_angleFullTurn = 256;
    s_musicId = -1;
    s_lastKeyCode = kNoKeyCode;
    s_touchButtonsShown = true;
    s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
    registerScenePainter();
    initStaticData();
}

void cGame::resetAllStatics() {
    cGamePacks::resetStatics();
    cGameDraw::resetStatics();
    cGameShell::resetStatics();
    cGameStateMachine::resetStatics();
    cGameBoot::resetStatics();
    cGameSave::resetStatics();
    cGameMath::resetStatics();
    cGameKeys::resetStatics();
    cGameStaticData::resetStatics();
    cGameRotated::resetStatics();
    cGameText::resetStatics();
    cGameSound::resetStatics();
    cGameMenus::resetStatics();
    cGameScreens::resetStatics();
    cGameTouch::resetStatics();
    cGameLoader::resetStatics();
    cGameActors::resetStatics();
    cGameCamera::resetStatics();
    cGameLevel::resetStatics();
    cGameFrameCaches::resetStatics();
    cGameZoneDisplay::resetStatics();
    cGamePlayScreens::resetStatics();
    cGameTriggers::resetStatics();
}

void cGame::init(javax_microedition_midlet_MIDlet* midlet, javax_microedition_lcdui_Display* display) {
    s_canvas = this;
    setRunFlag(-1);
    s_inPaint = 1;
    s_midlet = midlet;
    g_display = display;
    if (display) display->setCurrent(this);
    initKeyMap();
    BX_RETURN_IF_PENDING();
    s_lastTick = now();
    frameStart = s_lastTick;
    m_frameImage = javax_microedition_lcdui_Image::createImage(1, 1);
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(m_frameImage);
    m_frameImageGraphics = m_frameImage->getGraphics();
    m_param8 = 8;
    m_param100 = 100;
    m_param60 = 60;
    resetStateMachine();
}

void cGame::startThread() {
    if (runFlag() >= 0) return;
    s_screenWidth = 480;
    s_screenHeight = 640;
    createKeyTables();
    setRandomSeed(now());
    setRunFlag(0);
    auto* thread = Runtime::make<java_lang_Thread>(static_cast<Object*>(this));
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(thread);
    if (java_lang_Thread* self = java_lang_Thread::currentThread()) {
        thread->setPriority(self->getPriority());
        BX_RETURN_IF_PENDING();
    }
    (void)thread->start();
}

void cGame::sizeChanged(jint w, jint h) {
    GameLock lock;
    s_screenWidth = w;
    s_screenHeight = h;
}

void cGame::showNotify() { onShowNotify(); }

void cGame::hideNotify() { onHideNotify(); }

void cGame::paint(javax_microedition_lcdui_Graphics* g) { onPaint(g); }

void cGame::run() {
    if (g_display) g_display->setCurrent(this);
    {
        GameLock lock;
        s_inPaint = 0;
    }
    // Every pass ends in a sleep, the loop's safe point: a collection asked for by another thread
    // never waits longer than one frame for this one.
    while (runFlag() >= 0) {
        bool paused = false;
        {
            GameLock lock;
            paused = s_paused != 0;
            if (paused) frameStart = std::min(frameStart, now());
        }
        if (paused) {
            java_lang_Thread::sleep(1);
        } else {
            javax_microedition_lcdui_Canvas::repaint(this);
            javax_microedition_lcdui_Canvas::serviceRepaints(this);
            if (!Runtime::pending()) {
                jlong sleepMillis = 1;
                {
                    GameLock lock;
                    s_fullRedraw = 0;
                    const jlong t = now();
                    frameStart = std::min(frameStart, t);
                    sleepMillis = std::max(jlong{1}, jt::sub(jlong{g_frameDuration}, jt::sub(t, frameStart)));
                }
                java_lang_Thread::sleep(sleepMillis);
                GameLock lock;
                frameStart = now();
            }
        }
        if (Runtime::pending()) {
            if (!catchException()) return;  // not an Exception: leave at once
            setRunFlag(-1);
        }
    }
    dropKeyTables();
    s_byteArrays = nullptr;
    Log::info("game: the run loop has ended");
    BX_RETURN_IF_NULL(s_midlet);
    s_midlet->notifyDestroyed();
}

void cGame::onPaint(javax_microedition_lcdui_Graphics* g) {
    GameLock lock;
    s_paintGraphics = g;
    if (s_paused || s_inPaint) return;
    s_inPaint = 1;
    updateKeyStates();

    const jlong t = now();
    s_frameTime = std::clamp(jt::l2i(jt::sub(t, s_lastTick)), 0, kMaxFrameTime);
    s_now = t;
    s_totalFrameTime = jt::add(s_totalFrameTime, s_frameTime);
    // In 64 bits: frames x 100000 passes 2^31 after some 21,000 frames.
    const jlong fps = jlong{s_frameCounter} * 100000 / (jlong{s_totalFrameTime} + 1);
    s_averageFps = static_cast<jint>(std::clamp<jlong>(fps, 0, jint{0x7FFFFFFF}));
    s_lastTick = t;
    s_frameCounter = jt::add(s_frameCounter, 1);

    s_frameGraphics = g;
    s_g = g;
    frame();
    if (catchException()) {
        Log::error("game: an exception ended the frame; the game stops");
        setRunFlag(-1);
    }
    s_inPaint = 0;
    s_paintGraphics = nullptr;
}

void cGame::frame() {
    if (s_altPlayerLevel) {
        s_speedFactor = jt::div(jt::mul(s_frameTime, 256), 1000);
    } else {
        s_frameTime = kFixedFrameTime;
        s_speedFactor = kFixedSpeedFactor;
    }
    stepStateMachine(this);
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(s_g);
    s_g->setClip(0, 0, 480, 800);
}

void cGame::onShowNotify() {
    bool repaintWanted = false;
    {
        GameLock lock;
        dispatchState(this, kMsgShow);
        if (!printAndDropException()) {
            if (Runtime::pending()) return;
            const bool statePausesMusic =
                s_state == kStatePauseMenu || s_state == kStatePlay || s_state == kStateInfoPages ||
                ((s_state == kStatePictureBrowser || s_state == kStateSoundMenuInGame) && s_prevState == kStatePauseMenu);
            if (s_musicId >= 0 && !statePausesMusic) {
                playMusic(s_musicId, s_musicLoop != 0);
                if (printAndDropException() || Runtime::pending()) return;
            }
        }
        if (s_paused) {
            s_now = now();
            s_lastTick = s_now;
            frameStart = s_now;
            s_paused = 0;
            if (g_display) g_display->setCurrent(this);
            s_fullRedraw = 1;
            repaintWanted = !s_inPaint;
            clearKeys();
        }
    }
    // Outside the lock: the frame takes the paint lock first and the game lock inside it. A frame
    // running elsewhere paints the screen anyway.
    if (repaintWanted && gameLockFree()) javax_microedition_lcdui_Canvas::repaint(this);
}

void cGame::onHideNotify() {
    GameLock lock;
    dispatchState(this, kMsgHide);
    if (!Runtime::pending()) {
        if (!BXLibPlayer::SndIsPlaying(0)) {
            s_musicId = -1;
            s_musicLoop = 0;
        }
        if (!Runtime::pending()) BXLibPlayer::SndStopAll();
    }
    // An Exception is printed and the game is paused all the same; anything else stays pending.
    (void)printAndDropException();
    s_paused = 1;
}

namespace {

const StaticStartValues kStartValues(&cGameShell::s_game, &cGameShell::s_canvas, &g_display,
                                     &cGameShell::s_runFlag, &cGameShell::s_inPaint, &cGameShell::s_paintGraphics,
                                     &cGameShell::s_frameGraphics, &cGameShell::s_frameTime, &cGameShell::s_lastTick,
                                     &cGameShell::s_now, &cGameShell::s_totalFrameTime, &cGameShell::s_frameCounter,
                                     &cGameShell::s_averageFps, &cGameShell::s_speedFactor,
                                     &g_frameDuration, &cGameShell::s_fullRedraw,
                                     &cGameShell::s_screenWidth, &cGameShell::s_screenHeight, &cGameShell::s_musicId,
                                     &cGameShell::s_musicLoop);

}  // namespace

void cGameShell::resetStatics() { kStartValues.restore(); }

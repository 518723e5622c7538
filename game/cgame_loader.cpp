// The loading state (4) and its runs: a run has a kind, a number of steps and a target state; one
// step is done each frame under a progress bar, and the target is requested in the frame of the last
// step. Invariant: while s_loading is set, s_loadStep stays within 0..s_loadStepCount, and a run whose
// level cannot load is cut short with s_loadDone set and the main menu as its target.
#include <chrono>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "game/cgame_loader_steps.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/static_start_values.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"
#include "sprites/interface_frames.h"

jint cGameLoader::s_loadStep = 0;
jint cGameLoader::s_loadStepCount = 0;
jbyte cGameLoader::s_loading = 0;
jbyte cGameLoader::s_loadDone = 0;
jbyte cGameLoader::s_levelLoaded = 0;
ByteArray* cGameLoader::s_levelRecords = nullptr;
jint cGameLoader::s_spriteMask[2] = {0, 0};
jint cGameLoader::s_levelWidth = 0;
jint cGameLoader::s_levelHeight = 0;
Bsprite* cGameLoader::s_touchSprite = nullptr;
IntArray* cGameLoader::s_arcTable = nullptr;
cGame::LevelServices cGameLoader::s_levelServices{};

namespace {

const StaticRefRegistration kStatics(CID_cGame, &cGame::s_levelRecords, &cGame::s_touchSprite, &cGame::s_arcTable);

using Clock = std::chrono::steady_clock;

constexpr jint kStepCounts[] = {10, 53, 4};   // by kind 0, 1, 2

// The progress bar on the portrait screen: a white outline, the orange bar inside it growing down
// the screen (left to right in the landscape picture), and for a level the running figure.
constexpr jint kOutlineX = 13, kOutlineY = 66, kOutlineW = 20;
constexpr jint kBarX = 14, kBarY = 68, kBarW = 17, kBarInset = 3;
constexpr jint kWhite = 0xFFFFFF, kOrange = 0xF87800, kBlack = 0x000000;
constexpr jint kFigureX = 66, kFigureY = 457;
// A level's loading picture and its name, in the landscape picture.
constexpr jint kPictureX = 400, kPictureY = 240;
constexpr jint kNameFont = 2, kNameX = 400, kNameY = 45, kNameWave = 10, kNameCentred = 1 | 2;
constexpr jint kOpenMessageBox = 2;   // the pending action that opens the message box

// Timing of the run in progress, for its log line.
Clock::time_point g_runStart;
Clock::duration g_stepTime{};
jint g_stepsRun = 0;   // steps of this run that ran

std::vector<std::string>& missingServicesLogged() {
    static std::vector<std::string> names;
    return names;
}

jlong millis(Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); }

void enterLoading() {
    using B = BXLibPlayer;
    cGame::setSoftkeys(cGame::kSoftkeyNone, cGame::kSoftkeyNone, false);
    if (cGame::s_loadKind == cGame::kLoadKindLevel) {
        B* figure = cGame::s_loadingPlayer;
        if (figure) {
            if (figure->sprite != cGame::s_loadingPicture) figure->SetSprite(cGame::s_loadingPicture);
            figure->SetAnim(LoadingPicture::kFigureAnim, 0);
            figure->x = kFigureX;
            figure->y = kFigureY;
        }
        if (auto* redraw = loader::service(cGame::s_levelServices.redrawSceneCache, "redrawSceneCache")) redraw();
    }
    cGame::startLoading();
    cGame::stopAllSounds();
}

void paintLoading() {
    javax_microedition_lcdui_Graphics* g = cGame::s_g;
    BX_RETURN_IF_NULL(g);
    g->setClip(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    g->setColor(kBlack);
    g->fillRect(0, 0, cGame::kPortraitWidth, cGame::kPortraitHeight);
    const bool level = cGame::s_loadKind == cGame::kLoadKindLevel;
    if (level) {
        if (cGame::s_loadingPicture) cGame::s_loadingPicture->PaintFrame(g, 0, kPictureX, kPictureY, 0, 0, 0);
        IntArray* names = cGame::s_levelNames;
        if (names && cGame::s_level >= 0 && cGame::s_level < names->length) {
            String* name = cGame::getString(names->get(cGame::s_level));
            // On a plate: the name's warm colours would not read on the day sky.
            cGame::paintTextPlate(kNameFont, name, kNameX, kNameY, kNameCentred, kNameWave);
            cGame::drawWavyText(name, kNameFont, kNameX, kNameY, 0, kNameWave);
        }
    }
    const jint p = cGame::loadProgress();
    g->setColor(kWhite);
    g->drawRect(kOutlineX, kOutlineY, kOutlineW, cGame::kProgressBarLength);
    if (p - kBarInset > 0) {
        g->setColor(kOrange);
        g->fillRect(kBarX, kBarY, kBarW, p - kBarInset);
    }
    if (level && cGame::s_loadingPlayer) {
        cGame::s_loadingPlayer->x = kFigureX + p;
        cGame::s_loadingPlayer->y = kFigureY;
        cGame::s_loadingPlayer->Render();
    }
}

void exitLoading() {
    if (cGame::s_loadKind == cGame::kLoadKindLevel) {
        auto* font = cGame::s_fonts && cGame::s_fonts->length > kNameFont ? cGame::s_fonts->get(kNameFont) : nullptr;
        if (font && font->classId() == CID_Bsprite) static_cast<Bsprite*>(font)->ClearModuleCache();
        if (cGame::s_loadingPicture) cGame::s_loadingPicture->ClearModuleCache();
    }
    cGame::s_loadKind = cGame::kLoadKindNone;
}

}  // namespace

void cGame::requestLoading(jint kind, jint target) {
    s_loadKind = kind;
    s_loadTarget = target;
    setState(kStateLoading);
}

void cGame::startLoading() {
    s_loadDone = 0;
    s_loading = 1;
    s_loadStep = 0;
    if (s_loadKind >= 0 && s_loadKind < static_cast<jint>(std::size(kStepCounts)))
        s_loadStepCount = kStepCounts[s_loadKind];
    g_runStart = Clock::now();
    g_stepTime = Clock::duration{};
    g_stepsRun = 0;
}

bool cGame::finishLoading() {
    if (!s_loading || !s_loadDone) return false;
    // An abandoned run fills the bar (its step jumps to the count), so the steps are counted apart.
    const auto stepMs = static_cast<long long>(millis(g_stepTime));
    const auto runMs = static_cast<long long>(millis(Clock::now() - g_runStart));
    if (g_stepsRun >= s_loadStepCount) {
        Log::info("loader: kind %d done in %d steps, %lld ms in the steps, %lld ms from start to end", s_loadKind,
                  g_stepsRun, stepMs, runMs);
    } else {
        Log::info("loader: kind %d abandoned after %d of %d steps, %lld ms in the steps, %lld ms from start to end",
                  s_loadKind, g_stepsRun, s_loadStepCount, stepMs, runMs);
    }
    setState(s_loadTarget);
    s_loading = 0;
    s_loadTarget = -1;
    return true;
}

void cGame::loadStep() {
    const bool wasDone = s_loadDone != 0;
    const Clock::time_point start = Clock::now();
    switch (s_loadKind) {
        case kLoadKindGameStart: loader::runGameStartStep(s_loadStep); break;
        case kLoadKindLevel: loader::runLevelStep(s_loadStep); break;
        case kLoadKindUnload: loader::runUnloadStep(s_loadStep); break;
        default: break;
    }
    const Clock::duration took = Clock::now() - start;
    g_stepTime += took;
    ++g_stepsRun;
    Log::debug("loader: kind %d step %d took %lld ms", s_loadKind, s_loadStep, static_cast<long long>(millis(took)));
    BX_RETURN_IF_PENDING();
    // A level that could not load has ended its run inside the step.
    if (wasDone || s_loadDone) return;
    if (++s_loadStep >= s_loadStepCount) s_loadDone = 1;
}

jint cGame::loadProgress() {
    if (s_loadStepCount <= 0) return 0;
    const jlong p = jlong{s_loadStep} * kProgressBarLength / s_loadStepCount;
    return static_cast<jint>(p < 0 ? 0 : p > kProgressBarLength ? kProgressBarLength : p);
}

bool cGame::isPermanentSprite(jint n) { return n == 7 || n == 16 || n == 18 || n == 25 || n == 33; }

void cGame::stateLoading(cGame*, jint message) {
    switch (message) {
        case kMsgEnter:
            enterLoading();
            return;
        case kMsgUpdate:
            loadStep();
            BX_RETURN_IF_PENDING();
            (void)finishLoading();
            if (s_loadingPlayer) s_loadingPlayer->Update(s_frameTime);
            return;
        case kMsgPaint:
            paintLoading();
            return;
        case kMsgExit:
            exitLoading();
            return;
        default:
            return;
    }
}

void cGame::resetLevelServices() {
    s_levelServices = LevelServices{};
    missingServicesLogged().clear();
}

namespace loader {

void noteMissingService(const char* name) {
    std::vector<std::string>& logged = missingServicesLogged();
    for (const std::string& n : logged)
        if (n == name) return;
    logged.emplace_back(name);
    Log::warn("loader: no %s registered yet; its part of the load is skipped", name);
}

std::string packName(String* name) { return name ? name->toCString() : std::string("?"); }

std::string packName(jint literal) { return packName(Runtime::ldcString(literal)); }

void logBadItem(const std::string& pack, jint item, const char* consequence) {
    Log::warn("loader: item %d of pack \"%s\" is missing or malformed; %s", item, pack.c_str(), consequence);
}

void abandonLevel(const char* why) {
    Log::warn("loader: level %d cannot be loaded (%s) at step %d; back to the main menu", cGame::s_level, why,
              cGame::s_loadStep);
    cGame::packClose();
    for (jint step = 0; step < kStepCounts[cGame::kLoadKindUnload]; ++step) runUnloadStep(step);
    cGame::s_levelLoaded = 0;
    cGame::showMessageBox(cGame::getString(cGame::kLevelLoadFailedText));
    cGame::s_pendingAction = kOpenMessageBox;
    cGame::s_loadTarget = cGame::kStateMainMenu;
    cGame::s_loadStep = cGame::s_loadStepCount;
    cGame::s_loadDone = 1;
}

}  // namespace loader

namespace {

const StaticStartValues kStartValues(&cGameLoader::s_levelServices, &cGameLoader::s_loadStep,
                                     &cGameLoader::s_loadStepCount, &cGameLoader::s_loading, &cGameLoader::s_loadDone,
                                     &cGameLoader::s_levelLoaded, &cGameLoader::s_levelRecords,
                                     &cGameLoader::s_spriteMask[0], &cGameLoader::s_spriteMask[1],
                                     &cGameLoader::s_levelWidth, &cGameLoader::s_levelHeight,
                                     &cGameLoader::s_touchSprite, &cGameLoader::s_arcTable);

}  // namespace

void cGameLoader::resetStatics() {
    kStartValues.restore();
    missingServicesLogged().clear();
}

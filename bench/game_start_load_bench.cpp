// The game-start load (state 4, kind 0) over the build's data.bar, as the boot state leaves the
// statics: the CPU time the game thread spends on the whole run, frame by frame, and the whole
// process's, which also counts the sound bank's music renders on their own threads until they
// have ended. Prints both against the 150 ms budget; exits 1 when the run does not reach the
// splash screen.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "classlib/constant_pool_loader.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/media/javax_microedition_media_player.h"
#include "game/cgame.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/asprite.h"
#include "sprites/bsprite.h"
#include "sprites/bxlib_player.h"

namespace {

constexpr double kBudgetMs = 150.0;

double cpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}
double threadCpuMs() { return cpuMs(CLOCK_THREAD_CPUTIME_ID); }
double processCpuMs() { return cpuMs(CLOCK_PROCESS_CPUTIME_ID); }

}  // namespace

int main() {
    using Image = javax_microedition_lcdui_Image;
    if (!Runtime::initHeaps(16 << 20, 64 << 20)) return 1;
    auto objects = std::make_unique<ObjectManager>();
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "brindlex_load_bench";
    std::filesystem::create_directories(home);
    platform::setHomeFolder(home);
    platform::setDataFile(BRINDLEX_DATA_BAR);
    Runtime::loadConstants();
    if (Runtime::pending()) {
        std::fputs("game_start_load_bench: the data file's constants do not load\n", stderr);
        return 1;
    }
    // What the boot state prepares before the first loading run.
    cGame::s_encoding = Runtime::ldcString(cGamePacks::kEncodingLiteral);
    cGame::initStaticData();
    cGame::s_sprites = Runtime::newObjectArray(CID_Bsprite, 41);
    cGame::s_screenImages = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, 2);
    ASprite::InitCachePools(1);
    ASprite::InitCachePool(0, 300);
    cGame::s_frameImage = Image::createImage(480, 800);

    cGame::s_state = 0;
    cGame::s_frameTime = 50;
    const double begin = threadCpuMs(), processBegin = processCpuMs();
    cGame::requestLoading(cGame::kLoadKindGameStart, cGame::kStateSplash);
    cGame::s_g = cGame::s_frameImage->getGraphics();
    cGame::stepStateMachine(nullptr);
    std::string figures;
    int frames = 0;
    double last = threadCpuMs();
    while (cGame::s_state == cGame::kStateLoading && frames < 100) {
        cGame::s_g = cGame::s_frameImage->getGraphics();
        cGame::stepStateMachine(nullptr);
        const double now = threadCpuMs();
        figures += " " + std::to_string(static_cast<int>(now - last));
        last = now;
        ++frames;
    }
    const double total = threadCpuMs() - begin;
    const bool reached = cGame::s_state == cGame::kStateSplash && !Runtime::pending();
    cGame::s_g = nullptr;
    // The renders run on: a player's duration waits for its render to end.
    for (jint i = 0; BXLibPlayer::s_sndPrefetched && i < BXLibPlayer::s_sndPrefetched->length; ++i)
        if (javax_microedition_media_Player* player = Runtime::asPlayer(BXLibPlayer::s_sndPrefetched->get(i)))
            (void)player->getDuration();
    const double process = processCpuMs() - processBegin;
    objects->gc(ObjectManager::kFreeAll);
    std::printf("kind 0 load: %.1f ms game-thread CPU in %d frames (budget %.0f ms); per frame (ms):%s\n", total,
                frames, kBudgetMs, figures.c_str());
    std::printf("kind 0 load: %.1f ms CPU for the whole process, the music renders included (budget %.0f ms)\n",
                process, kBudgetMs);
    std::filesystem::remove_all(home);
    if (!reached) {
        std::fputs("game_start_load_bench: the load did not reach the splash screen\n", stderr);
        return 1;
    }
    return 0;
}

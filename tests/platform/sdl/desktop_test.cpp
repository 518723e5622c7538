// The desktop side of the sdl device that needs no window: key codes, the UI language from the
// locale, and the single-instance lock with its raise request.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/device/locale_language.h"
#include "platform/device/sdl/sdl_keys.h"
#include "platform/device/single_instance.h"
#include "../platform_test_support.h"

TEST(DesktopTest, GivesThePhonesVirtualKeys) {
    struct Case {
        SDL_Keycode key;
        int32_t vk;
    };
    const Case cases[] = {
        {SDLK_q, 'Q'},      {SDLK_a, 'A'},     {SDLK_z, 'Z'},      {SDLK_0, '0'},      {SDLK_9, '9'},
        {SDLK_RETURN, 13},  {SDLK_KP_ENTER, 13}, {SDLK_LEFT, 37},  {SDLK_UP, 38},      {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},    {SDLK_F1, 112},    {SDLK_F2, 113},     {SDLK_F3, 114},     {SDLK_F6, 117},
        {SDLK_F7, 118},     {SDLK_F8, 119},    {SDLK_F9, 120},     {SDLK_F12, 123},    {SDLK_ESCAPE, 27},
        {SDLK_HOME, 36},    {SDLK_LGUI, 91},   {SDLK_RGUI, 92},    {SDLK_LSHIFT, 0},   {SDLK_SPACE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.key));
        EXPECT_EQ(virtualKeyFromSdl(c.key), c.vk);
    }
}

TEST(DesktopTest, ReadsTheLanguageFromTheLocale) {
    struct Case {
        const char* locale;
        int id;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", 7}, {"cs_CZ", 5}, {"es", 10}, {"fr_CA@euro", 12}, {"pt_BR.utf8", 22},
        {"PT-pt", 22},      {"en_GB", 9}, {"C", 9},   {"POSIX", 9},       {"", 9},
        {"ja_JP", 9},       {"des", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(primaryLanguageFromLocale(c.locale), c.id);
    }
}

TEST(DesktopTest, ASecondStartAsksTheFirstToComeToTheFront) {
    TempFolder dir;
    const std::string path = (dir.path() / "game.lock").string();
    auto first = std::make_unique<SingleInstanceLock>(path);
    ASSERT_TRUE(first->acquire());
    EXPECT_FALSE(first->takeRaiseRequest());
    {
        SingleInstanceLock second(path);
        EXPECT_FALSE(second.acquire());
        EXPECT_FALSE(second.takeRaiseRequest());  // only the holder takes requests
    }
    EXPECT_TRUE(first->takeRaiseRequest());
    EXPECT_FALSE(first->takeRaiseRequest());
    // Once the first ends, a new start gets the lock.
    first.reset();
    SingleInstanceLock third(path);
    EXPECT_TRUE(third.acquire());
}

// Where the lock file cannot be made (a read-only home; here a link at its name, which is never
// followed), the folder is locked instead, so a second run is still refused; and a lock whose
// holder reads no requests leaves none behind.
TEST(DesktopTest, ALockFileThatCannotBeMadeStillRefusesTheSecondRunAndLeavesNoRequest) {
    TempFolder dir;
    const std::filesystem::path path = dir.path() / "home.lock";
    std::filesystem::create_symlink(dir.path() / "elsewhere", path);
    SingleInstanceLock first(path.string(), SingleInstanceLock::Raise::None);
    ASSERT_TRUE(first.acquire());
    SingleInstanceLock second(path.string(), SingleInstanceLock::Raise::None);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "home.lock.raise"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "elsewhere"));
}

// The promotion on the real program, headless: from the main menu's promotion row into state 31, the
// keypad's 5 chooses the first title, the link thread opens its link (with the language code) once
// and the program ends with exit code 0; the visited store is left in the home folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "classlib/constant_pool_loader.h"
#include "game/cgame.h"
#include "game/cgame_loader_steps.h"
#include "platform/file_paths.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "sprites/asprite.h"
#include "tests/game/shipped_interface.h"
#include "tests/game/touch_points.h"
#include "tests/support/child_output.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kMainListY = 285, kSoundQuestion = 25;

// The sound question's "yes" and the main menu's second row of three, as the game measures them
// from the shipped data; in a child process, so this binary's statics stay untouched.
std::string measureTaps() {
    return outputOfChild([] {
        return withShippedInterface(std::string(), [] {
            cGame::showMessageBoxById(kSoundQuestion, 1, false);
            const TapPoint yes = dialogAnswerTap(cGame::s_dialogTextHeight, 0);
            const TapPoint row = menuRowTap(kMainListY, 3, 1);
            std::ostringstream out;
            out << yes.x << " " << yes.y << " " << row.x << " " << row.y;
            return out.str();
        });
    });
}

std::string tap(int at, int x, int y) {
    return std::to_string(at) + " stylusdown " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(at + 100) + " stylusup " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

TEST(IgpRunTest, ThePromotionRowLeadsToOneOpenedLinkAndTheEnd) {
    std::istringstream measured(measureTaps());
    int yesX = 0, yesY = 0, rowX = 0, rowY = 0;
    ASSERT_TRUE(measured >> yesX >> yesY >> rowX >> rowY);
    TempFolder temp;
    // The logos, the sound question answered, the splash tapped away, the promotion row (the
    // second of the three rows shown), then the keypad's 5 (J) once the promotion has loaded.
    const std::string script = tap(11000, yesX, yesY) + tap(12500, 240, 400) + tap(14000, rowX, rowY) +
                               "16000 keydown J\n16100 keyup J\n";
    const std::string file = temp.write("script.txt", script).string();
    const std::string home = (temp.path() / "home").string();
    const std::string command = std::string("'") + BRINDLEX_PROGRAM + "' --headless --log --frames 2600 --script '" +
                                file + "' --data '" + BRINDLEX_DATA_BAR + "' --home '" + home + "' > /dev/null 2>&1";
    const int rc = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(rc));
    EXPECT_EQ(WEXITSTATUS(rc), 0);
    const std::string log = temp.read("home/log.txt");
    EXPECT_NE(log.find("game state 6 -> 31"), std::string::npos) << log;
    const std::string opened = "promotion: opening https://games.example.com/get?title=skylark&lang=EN&title=01\n";
    const size_t first = log.find(opened);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(opened, first + 1), std::string::npos) << "opened twice\n" << log;
    EXPECT_EQ(log.find("game state 31 ->"), std::string::npos) << "the program ends inside the promotion\n" << log;
    bool store = false;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home"))
        store = store || entry.path().filename().string().find("zarnquist_promo") != std::string::npos;
    EXPECT_TRUE(store) << "the visited store";
}

}  // namespace

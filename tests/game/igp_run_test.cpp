// The promotion on the real program, headless: from the main menu's promotion row into state 31, the
// keypad's 5 chooses the first title, the link thread opens its link (with the language code) once
// and the program ends with exit code 0; the visited store is left in the home folder. A second run
// first sees the row's new-content marker, then pages by keys and by the page arrows, moves a list's
// selection by keys and chooses a row by a tap: again one link, that row's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>

#include "classlib/constant_pool_loader.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "game/cgame.h"
#include "game/cgame_loader_steps.h"
#include "platform/file_paths.h"
#include "promo/igp.h"
#include "promo/igp_paint.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
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

// The program run headless over `script` with its own home folder in `temp`; answers its exit status
// (-1 when it did not exit).
int runProgram(TempFolder& temp, const std::string& script, int frames) {
    const std::string file = temp.write("script.txt", script).string();
    const std::string home = (temp.path() / "home").string();
    const std::string command = std::string("'") + BRINDLEX_PROGRAM + "' --headless --log --frames " +
                                std::to_string(frames) + " --script '" + file + "' --data '" + BRINDLEX_DATA_BAR +
                                "' --home '" + home + "' > /dev/null 2>&1";
    const int rc = std::system(command.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

bool visitedStoreIn(const std::filesystem::path& home) {
    bool store = false;
    for (const auto& entry : std::filesystem::directory_iterator(home))
        store = store || entry.path().filename().string().find("zarnquist_promo") != std::string::npos;
    return store;
}

// The log holds `line` exactly once.
void expectOnce(const std::string& log, const std::string& line) {
    const size_t first = log.find(line);
    EXPECT_NE(first, std::string::npos) << line << "\n" << log;
    if (first != std::string::npos) {
        EXPECT_EQ(log.find(line, first + 1), std::string::npos) << "twice: " << line;
    }
}

class PlainMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

// The promotion's walk, driven as the state drives it: keys become actions, taps go through the
// pointer handlers at landscape points, and several frames are painted between steps (as the
// seconds between a script's events give them).
constexpr jint kRightArrowImage = 7;
constexpr jint kKeyAction = 0, kTapLeftArrow = 1, kTapRightArrow = 2, kTapRow = 3;
struct WalkStep {
    const char* script;  // the script's event: a key name, or "tap"
    jint kind;
    jint action;  // the key's action, or the row tapped
};
const WalkStep kWalk[] = {
    {"D", kKeyAction, IGP::kActionRight},  // keypad 6: title 1
    {"tap", kTapRightArrow, 0},            // title 2
    {"A", kKeyAction, IGP::kActionLeft},   // keypad 4: title 1
    {"tap", kTapLeftArrow, 0},             // title 0
    {"A", kKeyAction, IGP::kActionLeft},   // wraps to the portal page
    {"tap", kTapLeftArrow, 0},             // the second list's page
    {"S", kKeyAction, IGP::kActionDown},   // keypad 8: row 1
    {"S", kKeyAction, IGP::kActionDown},   // row 2
    {"W", kKeyAction, IGP::kActionUp},     // keypad 2: row 1
    {"tap", kTapRow, 0},                   // row 0: the first touch selects it, the release chooses it
};

// In a child over the shipped data and app.jad: the promotion loaded on an 800 x 480 picture, then
// kWalk with each tap's point measured from the geometry the last paint left for the hit test.
// Answers per step the item, selection and (for a tap) its landscape point, then the chosen link.
std::string measurePromotionWalk() {
    return outputOfChild([] {
        return withShippedInterface(std::string("no heaps"), [] {
            using Image = javax_microedition_lcdui_Image;
            auto* midlet = new PlainMIDlet();
            if (!midlet) return std::string("no midlet");
            midlet->init();
            IGP::s_midlet = midlet;
            IGP::loadData();
            if (!IGP::s_available) return std::string("promotion unavailable");
            IGP::initialize(midlet, nullptr, 800, 480, nullptr);
            // A visit begun as enter begins one, without its link thread and its visited store.
            IGP::s_language = 0;
            IGP::s_loadStep = -1;
            IGP::s_loadStepCount = IGP::loadStepCount();
            IGP::s_state = IGP::kStateLoading;
            IGP::s_keepAction = true;
            IGP::s_action = IGP::s_pressedAction = 0;
            IGP::s_listScroll = IGP::s_listSelection = 0;
            IGP::s_lineWidths = Runtime::newIntArray(IGP::kLineTableSize);
            IGP::s_loadingText = String::fromCString("LOADING");
            IGP::s_currentItem = IGP::getFirstAvailable();
            Object* held[2] = {Image::createImage(800, 480), nullptr};
            for (Object*& slot : held) Runtime::getObjectManager()->addRoot(&slot);
            auto* picture = static_cast<Image*>(held[0]);
            if (!picture) return std::string("no picture");
            javax_microedition_lcdui_Graphics* g = picture->getGraphics();
            held[1] = g;
            IGP::s_running = true;
            auto frames = [&](jint action, int n) {
                bool ended = false;
                for (int i = 0; i < n; ++i) {
                    IGP::paint(g);
                    ended = ended || IGP::update(i == 0 ? action : IGP::kActionNone);
                }
                return ended;
            };
            for (int i = 0; i < 60 && IGP::s_state.load() == IGP::kStateLoading; ++i) (void)frames(0, 1);
            (void)frames(0, 6);
            std::ostringstream out;
            for (const WalkStep& step : kWalk) {
                jint x = 0, y = 0;
                if (step.kind == kKeyAction) {
                    (void)frames(step.action, 8);
                } else {
                    // Both page arrows' bands are measured by the right arrow's picture (fixed image 7).
                    const jint aw = igp::widthOf(igp::fixedImage(kRightArrowImage));
                    if (step.kind == kTapLeftArrow) {
                        x = aw;
                        y = IGP::s_screenHeight / 2;
                    } else if (step.kind == kTapRightArrow) {
                        x = IGP::s_screenWidth - aw;
                        y = IGP::s_screenHeight / 2;
                    } else {
                        x = IGP::s_rowBoxX + IGP::s_rowBoxWidth / 2;
                        y = IGP::s_rowsTop + (step.action - IGP::s_listScroll) * IGP::s_rowHeight +
                            IGP::s_rowHeight / 2;
                    }
                    IGP::pointerPressed(x, y);
                    IGP::pointerReleased(x, y);
                    (void)frames(IGP::kActionNone, 8);
                }
                out << IGP::s_currentItem << " " << IGP::s_listSelection << " " << x << " " << y << "\n";
            }
            String* link = IGP::s_state.load() == IGP::kStateLaunching ? IGP::chosenLink() : nullptr;
            out << (link ? link->toCString() : std::string("none")) << "\n";
            for (Object*& slot : held) Runtime::getObjectManager()->removeRoot(&slot);
            return out.str();
        });
    });
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
    const std::string opened = "promotion: opening https://games.example.com/get?game=skylark&lang=EN&title=01\n";
    const size_t first = log.find(opened);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(opened, first + 1), std::string::npos) << "opened twice\n" << log;
    EXPECT_EQ(log.find("game state 31 ->"), std::string::npos) << "the program ends inside the promotion\n" << log;
    bool store = false;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home"))
        store = store || entry.path().filename().string().find("zarnquist_promo") != std::string::npos;
    EXPECT_TRUE(store) << "the visited store";
}

TEST(IgpRunTest, TheMarkedRowThenPagesAndAListByKeysAndTapsOpenTheChosenRow) {
    std::istringstream taps(measureTaps());
    int yesX = 0, yesY = 0, rowX = 0, rowY = 0;
    ASSERT_TRUE(taps >> yesX >> yesY >> rowX >> rowY);
    const std::string walk = measurePromotionWalk();
    std::istringstream measured(walk);
    // Where each step leaves the promotion: the item shown and the list selection.
    const int want[][2] = {{1, 0}, {2, 0}, {1, 0}, {0, 0}, {6, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 1}, {5, 0}};
    static_assert(std::size(want) == std::size(kWalk));
    TempFolder temp;
    std::string script = tap(11000, yesX, yesY) + tap(12500, 240, 400) + tap(14000, rowX, rowY);
    int at = 16000;
    for (size_t i = 0; i < std::size(kWalk); ++i, at += 700) {
        int item = -1, selection = -1, x = 0, y = 0;
        ASSERT_TRUE(measured >> item >> selection >> x >> y) << walk;
        EXPECT_EQ(item, want[i][0]) << "step " << i << "\n" << walk;
        EXPECT_EQ(selection, want[i][1]) << "step " << i << "\n" << walk;
        if (kWalk[i].kind == kKeyAction) {
            script += std::to_string(at) + " keydown " + kWalk[i].script + "\n" + std::to_string(at + 100) + " keyup " +
                      kWalk[i].script + "\n";
        } else {
            // The promotion's landscape point (x, y) is the portrait point (480 - y, x).
            script += tap(at, 480 - y, x);
        }
    }
    std::string link;
    ASSERT_TRUE(measured >> link) << walk;
    // The second list's first row (app.jad's Promo-List-Top), its language marker given the code.
    const std::string chosen = "https://games.example.com/get?game=emberhold&lang=EN";
    EXPECT_EQ(link, chosen);

    EXPECT_EQ(runProgram(temp, script, 3200), 0);
    const std::string log = temp.read("home/log.txt");
    const size_t marker = log.find("main menu: promotion marker shown");
    const size_t entered = log.find("game state 6 -> 31");
    ASSERT_NE(marker, std::string::npos) << log;
    ASSERT_NE(entered, std::string::npos) << log;
    EXPECT_LT(marker, entered) << "the row carries its marker before the promotion is entered";
    expectOnce(log, "promotion: opening " + chosen + "\n");
    size_t openings = 0;
    for (size_t p = log.find("promotion: opening "); p != std::string::npos; p = log.find("promotion: opening ", p + 1))
        ++openings;
    EXPECT_EQ(openings, 1u) << log;
    EXPECT_EQ(log.find("game state 31 ->"), std::string::npos) << "the program ends inside the promotion\n" << log;
    EXPECT_TRUE(visitedStoreIn(temp.path() / "home"));
}

}  // namespace

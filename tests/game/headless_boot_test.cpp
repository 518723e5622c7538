// The program itself, headless with its log: the game starts in state 1, goes on to the logos (2)
// in the next frame, to the loader (4) once the logos have had their 7 seconds of state time, and to
// the splash screen (3) when the game-start run is done, at the same frames and device times on
// every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

// The state lines of one run's log ("game state A -> B ...").
std::vector<std::string> runAndTraceStates(const TempFolder& temp, const std::string& name) {
    const std::string home = (temp.path() / name).string();
    const std::string command = std::string("'") + BRINDLEX_PROGRAM + "' --headless --log --frames 1000 --data '" +
                                BRINDLEX_DATA_BAR + "' --home '" + home + "' > /dev/null 2>&1";
    const int rc = std::system(command.c_str());
    EXPECT_EQ(rc, 0) << command;
    std::ifstream log(home + "/log.txt");
    EXPECT_TRUE(log.good()) << home;
    std::vector<std::string> states;
    std::string all;
    for (std::string line; std::getline(log, line);) {
        all += line + "\n";
        if (line.rfind("game state", 0) == 0) states.push_back(line);
    }
    if (states.size() < 3) ADD_FAILURE() << all;
    return states;
}

TEST(HeadlessBootTest, StatesFromBootToTheLoaderAtTheSameFramesEveryRun) {
    TempFolder temp;
    const std::vector<std::string> first = runAndTraceStates(temp, "first");
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(first[0], "game state -1 -> 1 (start)");
    EXPECT_EQ(first[1].rfind("game state 1 -> 2 at frame 1 (", 0), 0u) << first[1];
    // The logos' update sees 50 ms more state time per frame from frame 2 on: 7050 > 7000 in 143.
    EXPECT_EQ(first[2].rfind("game state 2 -> 4 at frame 143 (", 0), 0u) << first[2];
    // The game-start run takes ten frames, one step each, and requests the splash screen.
    EXPECT_EQ(first[3].rfind("game state 4 -> 3 at frame 153 (", 0), 0u) << first[3];
    // The device clock runs on while a frame overruns its period (the sound bank renders its music
    // in the loader's frame), so from the loader on only the frames are the same on every run.
    auto framesOnly = [](std::vector<std::string> states) {
        for (size_t i = 3; i < states.size(); ++i) states[i] = states[i].substr(0, states[i].find(" ("));
        return states;
    };
    EXPECT_EQ(framesOnly(runAndTraceStates(temp, "second")), framesOnly(first));
}

}  // namespace

// The feel of movement pinned down: a box thrown to the right drops onto a slope, slides down it,
// runs along the flat, up a ramp and onto the flat at its top. Each play step's position,
// speeds and contact flags are compared with a reviewed trace, so any change of feel shows as a
// diff. BRINDLEX_UPDATE_GOLDEN=1 rewrites tests/fixtures/actor_traces/slope_and_ramp.txt instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "actors/cactor.h"
#include "tests/actors/motion_world.h"

namespace {

using ActorSlideTraceTest = MotionWorld;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(ActorSlideTraceTest, SlopeAndRampTraceMatchesTheReviewedOne) {
    startLevel(boxRecord(1, 60, 200),
               geometry({{{0}, {{0, 300}, {400, 500}, {700, 500}, {1000, 350}, {1100, 350}}}}, 1));
    cActor* box = actorById(1);
    setBox(box, -16, -16, 16, 16);
    box->x = 60 << 8;
    box->y = 200 << 8;
    box->speedX = 180 << 8;
    box->speedY = 0;
    std::ostringstream trace;
    trace << "# frame x y speedX speedY contactFlags (8.8 values; flags in hex)\n";
    for (int frame = 1; frame <= 128; ++frame) {
        step();
        trace << frame << ' ' << box->x << ' ' << box->y << ' ' << box->speedX << ' ' << box->speedY << ' ' << std::hex
              << box->contactFlags << std::dec << '\n';
    }
    const std::string path = std::string(BRINDLEX_FIXTURES) + "/actor_traces/slope_and_ramp.txt";
    if (std::getenv("BRINDLEX_UPDATE_GOLDEN")) {
        std::ofstream(path) << trace.str();
        GTEST_SKIP() << "rewrote " << path;
    }
    const std::string golden = readFile(path);
    ASSERT_FALSE(golden.empty()) << "no trace at " << path << " (BRINDLEX_UPDATE_GOLDEN=1 writes it)";
    std::istringstream want(golden), got(trace.str());
    std::string w, g;
    for (int line = 1;; ++line) {
        w.clear();
        g.clear();
        const bool moreWanted = static_cast<bool>(std::getline(want, w));
        const bool moreGot = static_cast<bool>(std::getline(got, g));
        if (!moreWanted && !moreGot) break;
        ASSERT_EQ(g, w) << "line " << line << " of " << path;
    }
}

}  // namespace

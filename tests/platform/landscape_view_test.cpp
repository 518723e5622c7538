// The window's view of the portrait screen: fitting, turning and mapping points back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/landscape_view.h"

TEST(LandscapeViewTest, FitsThePictureWithItsAspect) {
    struct Case {
        int w, h;
        Viewport expected;
    };
    const Case cases[] = {
        {800, 480, {0, 0, 800, 480}},     {1600, 960, {0, 0, 1600, 960}}, {1000, 700, {0, 50, 1000, 600}},
        {1000, 480, {100, 0, 800, 480}},  {400, 600, {0, 180, 400, 240}}, {0, 480, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const Viewport v = fitPicture(c.w, c.h, 800, 480);
        EXPECT_EQ(v.x, c.expected.x);
        EXPECT_EQ(v.y, c.expected.y);
        EXPECT_EQ(v.width, c.expected.width);
        EXPECT_EQ(v.height, c.expected.height);
    }
}

TEST(LandscapeViewTest, MapsWindowPointsBackToThePortraitScreen) {
    const Viewport sameSize{0, 0, 800, 480};
    const Viewport doubled{10, 20, 1600, 960};
    struct Case {
        const char* what;
        Viewport view;
        int wx, wy;
        int x, y;
    };
    const Case cases[] = {
        {"top-left of the picture is the screen's top-right", sameSize, 0, 0, 479, 0},
        {"bottom-left is the screen's top-left", sameSize, 0, 479, 0, 0},
        {"top-right is the screen's bottom-right", sameSize, 799, 0, 479, 799},
        {"bottom-right is the screen's bottom-left", sameSize, 799, 479, 0, 799},
        {"scaled and offset", doubled, 10 + 2 * 100, 20 + 2 * 30, 449, 100},
        {"left of the picture gives a negative y", doubled, 9, 20, 479, -1},
        {"below the picture gives a negative x", sameSize, 0, 480, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScreenPoint p = windowToPortrait(c.wx, c.wy, c.view, 480, 800);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
    }
}

TEST(LandscapeViewTest, TurnsThePortraitScreenUpright) {
    // A 2x3 portrait screen: landscape (x, y) is portrait (1 - y, x).
    const std::vector<uint16_t> portrait = {1, 2,  //
                                            3, 4,  //
                                            5, 6};
    std::vector<uint16_t> landscape(6, 0);
    turnToLandscape({portrait.data(), 2, 3, 2}, {landscape.data(), 3, 2, 3});
    EXPECT_EQ(landscape, (std::vector<uint16_t>{2, 4, 6,  //
                                                1, 3, 5}));
}

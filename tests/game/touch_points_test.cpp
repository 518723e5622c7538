// Tap points over the shipped interface art: every point the scripted runs use lies on the screen,
// inside the box the touch step tests and in no other, and the lists' rows step one row apart.
#include <gtest/gtest.h>

#include "game/cgame.h"
#include "runtime/array.h"
#include "tests/game/shipped_data_fixture.h"
#include "tests/game/touch_points.h"

namespace {

using TouchPointsTest = ShippedDataTest;

bool inside(TapPoint p, IntArray* r) {
    return cGame::isPointInRect(p.x, p.y, r->get(0), r->get(1), r->get(2), r->get(3));
}

TEST_F(TouchPointsTest, PointsLieInTheirOwnBoxesOnTheScreen) {
    ASSERT_TRUE(loadTapSprites());
    IntArray* box = Runtime::newIntArray(4);
    auto onScreen = [](TapPoint p) { return p.valid() && p.x < cGame::kPortraitWidth && p.y < cGame::kPortraitHeight; };
    for (jint centre : {240, 285, 318, 360}) {
        for (jint rows : {2, 3}) {
            for (jint i = 0; i < rows; ++i) {
                const TapPoint p = menuRowTap(centre, rows, i);
                ASSERT_TRUE(onScreen(p)) << centre << " " << rows << " " << i;
                for (jint j = 0; j < rows; ++j) {
                    ASSERT_TRUE(cGame::menuRowRect(box, centre, rows, j));
                    EXPECT_EQ(inside(p, box), i == j) << centre << " row " << i << " in box " << j;
                }
                // Each row 70 landscape pixels below the one before: 70 to the left on the screen.
                if (i > 0) { EXPECT_EQ(p.x, menuRowTap(centre, rows, i - 1).x - 70); }
            }
        }
        for (jint arrow : {0, 1}) {
            const TapPoint p = menuArrowTap(centre, arrow);
            ASSERT_TRUE(onScreen(p));
            ASSERT_TRUE(cGame::menuArrowRect(box, centre, arrow));
            EXPECT_TRUE(inside(p, box));
        }
    }
    for (jint height : {20, 60, 120}) {
        for (jint answer : {0, 1}) {
            const TapPoint p = dialogAnswerTap(height, answer);
            ASSERT_TRUE(onScreen(p));
            ASSERT_TRUE(cGame::dialogAnswerRect(box, height, 1 - answer));
            EXPECT_FALSE(inside(p, box)) << "answer " << answer << " also hits the other one";
        }
    }
    for (jint arrow : {0, 1}) {
        const TapPoint p = pageArrowTap(arrow);
        ASSERT_TRUE(onScreen(p));
        ASSERT_TRUE(cGame::pageArrowRect(box, 1 - arrow));
        EXPECT_FALSE(inside(p, box));
    }
    EXPECT_TRUE(onScreen(leftSoftkeyTap()) && onScreen(rightSoftkeyTap()));
}

}  // namespace

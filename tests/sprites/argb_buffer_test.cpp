// cGame's pixel effects over int arrays and Bsprite's ARGB buffer operations: the array the effect
// answers, the effect-applied flag, runs past an array, and the cut of fills, outlines and copies
// to the buffer and to the current Graphics' clip, with bad buffer sizes refused.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

using E = cGameDraw;

class ArgbBufferTest : public TestWorld {
protected:
    void TearDown() override {
        E::s_g = nullptr;
        E::s_resultProcessAlpha = 0;
        TestWorld::TearDown();
    }
    static IntArray* ints(std::vector<uint32_t> values) {
        IntArray* a = Runtime::newIntArray(static_cast<jint>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) a->elements()[i] = static_cast<jint>(values[i]);
        return a;
    }
    static std::vector<uint32_t> pixels(IntArray* a) {
        std::vector<uint32_t> out(static_cast<size_t>(a->length));
        for (jint i = 0; i < a->length; ++i) out[static_cast<size_t>(i)] = static_cast<uint32_t>(a->elements()[i]);
        return out;
    }
    // The low bytes only, for buffers whose pixels are marks.
    static std::vector<uint32_t> marks(IntArray* a) {
        std::vector<uint32_t> out = pixels(a);
        for (uint32_t& p : out) p &= 0xFF;
        return out;
    }
};

TEST_F(ArgbBufferTest, PixelEffectsAnswerTheirResultAndRaiseTheFlagOnlyForNewAlpha) {
    IntArray* src = ints({0xFF204060, 0xFFFF10FF});
    IntArray* dst = ints({0, 0});
    EXPECT_EQ(E::applyPixelEffect(src, dst, 2, 255, -1, false, false), src);  // nothing to do
    EXPECT_EQ(pixels(dst), (std::vector<uint32_t>{0, 0}));
    EXPECT_EQ(E::applyPixelEffect(src, dst, 2, 128, -1, false, false), dst);
    EXPECT_EQ(pixels(dst), (std::vector<uint32_t>{0xFF203040, 0xFFFF87FF}));
    EXPECT_EQ(E::s_resultProcessAlpha, 0);
    EXPECT_EQ(E::applyPixelEffect(src, dst, 2, 0, 128, true, false), dst);
    EXPECT_EQ(pixels(dst), (std::vector<uint32_t>{0x80202020, 0}));
    EXPECT_EQ(E::s_resultProcessAlpha, 1);

    E::s_resultProcessAlpha = 0;
    EXPECT_EQ(E::applyColorEffect(src, dst, 2, 300, true, false), dst);
    EXPECT_EQ(pixels(dst), (std::vector<uint32_t>{0xFF204060, 0xFFFF10FF}));
    EXPECT_EQ(E::s_resultProcessAlpha, 1);
}

TEST_F(ArgbBufferTest, ARunPastEitherArrayWritesNothing) {
    IntArray* src = ints({1, 2, 3});
    IntArray* dst = ints({9, 9});
    EXPECT_EQ(E::applyPixelEffect(src, dst, 3, 0, 10, false, false), dst);
    EXPECT_EQ(E::applyColorEffect(dst, src, 3, 10, false, false), src);
    EXPECT_EQ(Runtime::getPendingException(), nullptr);
    EXPECT_EQ(pixels(dst), (std::vector<uint32_t>{9, 9}));
    EXPECT_EQ(pixels(src), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(E::s_resultProcessAlpha, 0);
}

TEST_F(ArgbBufferTest, FillsAreCutToTheBuffer) {
    struct Case {
        jint x, y, w, h;
        std::vector<uint32_t> want;  // the 8 x 1 buffer afterwards, 1 for filled
    };
    const Case cases[] = {
        {-5, 0, 10, 1, {1, 1, 1, 1, 1, 0, 0, 0}},
        {8, 0, 3, 1, {0, 0, 0, 0, 0, 0, 0, 0}},              // right of the buffer
        {2, 0, 0, 1, {0, 0, 0, 0, 0, 0, 0, 0}},              // no width
        {2, 0, 3, -1, {0, 0, 0, 0, 0, 0, 0, 0}},             // negative height
        {6, 0, INT_MAX, INT_MAX, {0, 0, 0, 0, 0, 0, 1, 1}},  // ends far past the buffer, never wraps
        {INT_MIN, 0, INT_MAX, 1, {0, 0, 0, 0, 0, 0, 0, 0}},
        {0, -1, 8, 1, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        IntArray* buf = ints(std::vector<uint32_t>(8, 0));
        Bsprite::FillRectARGB(buf, 8, 1, false, c.x, c.y, c.w, c.h, 0xFF000001);
        EXPECT_EQ(marks(buf), c.want);
    }
}

TEST_F(ArgbBufferTest, BuffersOfBadSizesAreRefused) {
    LogCapture log;
    IntArray* buf = ints(std::vector<uint32_t>(6, 0));
    IntArray* src = ints({7, 7, 7, 7});
    const jint sizes[][2] = {{4, 2}, {-3, -2}, {0, 6}, {6, 0}, {INT_MAX, INT_MAX}};
    for (const auto& s : sizes) {
        Bsprite::FillRectARGB(buf, s[0], s[1], false, 0, 0, 2, 2, 0xFFFFFFFF);
        Bsprite::BlitARGB(buf, s[0], s[1], false, 0, 0, src, 2, 2, 0, 0);
    }
    Bsprite::BlitARGB(buf, 3, 2, false, 0, 0, src, 3, 2, 0, 0);  // source shorter than 3 x 2
    Bsprite::FillRectARGB(nullptr, 3, 2, false, 0, 0, 2, 2, 0xFFFFFFFF);
    Bsprite::BlitARGB(buf, 3, 2, false, 0, 0, nullptr, 2, 2, 0, 0);
    EXPECT_EQ(pixels(buf), std::vector<uint32_t>(6, 0));
    EXPECT_TRUE(log.contains("ARGB buffer refused"));
    EXPECT_TRUE(log.contains("ARGB copy refused"));
}

TEST_F(ArgbBufferTest, OutlineCoversOneMoreColumnAndRowAndFillsTheCornerTwice) {
    IntArray* buf = ints(std::vector<uint32_t>(25, 0xFF000000));
    Bsprite::DrawRectARGB(buf, 5, 5, false, 1, 1, 2, 2, 0x80FFFFFF);
    const uint32_t o = 0xFF000000, once = 0xFF808080, twice = 0xFFBFBFBF;
    EXPECT_EQ(pixels(buf), (std::vector<uint32_t>{o, o, o, o, o,              //
                                                  o, twice, once, once, o,    //
                                                  o, once, o, once, o,        //
                                                  o, once, once, once, o,     //
                                                  o, o, o, o, o}));
}

TEST_F(ArgbBufferTest, TheCurrentGraphicsClipCutsFillsAndCopies) {
    javax_microedition_lcdui_Image* image = javax_microedition_lcdui_Image::createImage(10, 10);
    ASSERT_NE(image, nullptr);
    E::s_g = image->getGraphics();
    E::s_g->setClip(1, 0, 2, 5);
    IntArray* buf = ints(std::vector<uint32_t>(4, 0));
    Bsprite::FillRectARGB(buf, 4, 1, false, 0, 0, 4, 1, 0xFF000001);
    EXPECT_EQ(marks(buf), (std::vector<uint32_t>{0, 1, 1, 0}));
    IntArray* src = ints({5, 6, 7, 8});
    Bsprite::BlitARGB(buf, 4, 1, false, 0, 0, src, 4, 1, 0, 1);  // mirrored, then cut to columns 1..2
    EXPECT_EQ(marks(buf), (std::vector<uint32_t>{0, 7, 6, 0}));
    Runtime::keepAlive(image);
}

TEST_F(ArgbBufferTest, AQuarterTurnPutsTheLeftPixelOnTop) {
    IntArray* buf = ints(std::vector<uint32_t>(4, 0));
    IntArray* src = ints({0xFF0000AA, 0xFF0000BB});
    Bsprite::BlitARGB(buf, 2, 2, false, 0, 0, src, 2, 1, 2, 4);
    EXPECT_EQ(pixels(buf), (std::vector<uint32_t>{0xFF0000AA, 0, 0xFF0000BB, 0}));
    // Blended copy at x = -5 of a 10-wide source lands in columns 0..4 only.
    IntArray* wide = ints(std::vector<uint32_t>(10, 0xFF000001));
    IntArray* row = ints(std::vector<uint32_t>(8, 0));
    Bsprite::BlitARGB(row, 8, 1, true, -5, 0, wide, 10, 1, 2, 0);
    EXPECT_EQ(pixels(row), (std::vector<uint32_t>{0xFF000001, 0xFF000001, 0xFF000001, 0xFF000001, 0xFF000001, 0, 0, 0}));
}

}  // namespace

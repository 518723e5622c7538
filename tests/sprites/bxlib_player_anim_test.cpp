// The animation player's timing (the test before the addition, one frame per call, loops, the
// frozen frame of time 0), its choice of animation and frame, and what Render hands the painter.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/compiled.h"
#include "sprites/bxlib_player.h"
#include "sprites/cgame_draw.h"
#include "tests/sprites/paint_sprite.h"
#include "tests/support/test_world.h"

namespace {

struct Painted {
    jint module, x, y, flags;
    bool scale, alpha;
    jint p1, p2;
};
std::vector<Painted> g_painted;

class RecordingSprite : public Bsprite {
public:
    void PaintModule(javax_microedition_lcdui_Graphics*, jint module, jint x, jint y, jint flags) override {
        const jint effect = cGameDraw::hasDrawEffect(cGameDraw::kEffectScale) ? cGameDraw::kEffectScale
                                                                              : cGameDraw::kEffectAlpha;
        g_painted.push_back({module, x, y, flags, cGameDraw::hasDrawEffect(cGameDraw::kEffectScale),
                             cGameDraw::hasDrawEffect(cGameDraw::kEffectAlpha), cGameDraw::drawEffectParam(effect, 1, 0),
                             cGameDraw::drawEffectParam(effect, 2, 0)});
    }
};

class PlayerAnimTest : public TestWorld {
protected:
    void SetUp() override {
        TestWorld::SetUp();
        cGameDraw::createDrawEffectParams();
        g_painted.clear();
    }
    static RecordingSprite* sprite() {
        auto* s = loadPaintSpriteAs<RecordingSprite>();
        EXPECT_NE(s, nullptr);
        g_painted.clear();
        return s;
    }
};

// Animation 0: frame times 1 and 2 units (62, 124 ms). Animation 3: 1, 2, 0 units.
TEST_F(PlayerAnimTest, UpdateTimingTables) {
    RecordingSprite* s = sprite();
    auto* p = Runtime::make<BXLibPlayer>(static_cast<ASprite*>(s), 10, 20);
    struct Step {
        jint dt;
        jint frame, time, loops, finished;
        bool over;
    };
    struct Case {
        const char* what;
        jint anim, loopCount;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"58 ms frames on a 62 ms frame: the change comes on the third update",
         0, 0,
         {{58, 0, 58, -1, 0, false}, {58, 0, 116, -1, 0, false}, {58, 1, 112, -1, 0, false},
          {58, 1, 170, -1, 0, false}, {58, 0, 104, -1, 0, false}}},
        {"played once: the last frame's full time, then over", 0, 1,
         {{62, 0, 62, 0, 0, false}, {0, 1, 0, 0, 0, false}, {124, 1, 124, 0, 0, false}, {5, 1, 5, 0, 1, true},
          {500, 1, 5, 0, 1, true}}},
        {"twice: the loop count runs down", 0, 2,
         {{62, 0, 62, 1, 0, false}, {124, 1, 124, 1, 0, false}, {0, 0, 0, 0, 0, false}, {62, 0, 62, 0, 0, false},
          {124, 1, 124, 0, 0, false}, {0, 1, 0, 0, 1, true}}},
        {"a huge dt advances one frame per call", 0, 0,
         {{1000, 0, 1000, -1, 0, false}, {1000, 1, 1938, -1, 0, false}, {0, 0, 1814, -1, 0, false},
          {0, 1, 1752, -1, 0, false}}},
        {"a frame of time 0 freezes the animation", 3, 0,
         {{62, 0, 62, -1, 0, false}, {124, 1, 124, -1, 0, false}, {10, 2, 10, -1, 0, false},
          {1000, 2, 10, -1, 0, false}}},
        {"an empty animation is no animation", 1, 0, {{100, 0, 0, -1, 0, true}}},
        {"an animation the sprite lacks is no animation", 9, 0, {{100, 0, 0, -1, 0, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p->SetAnimForced(c.anim, c.loopCount, true);
        int n = 0;
        for (const Step& st : c.steps) {
            SCOPED_TRACE(++n);
            p->Update(st.dt);
            EXPECT_EQ(p->frame, st.frame);
            EXPECT_EQ(p->time, st.time);
            EXPECT_EQ(p->loops, st.loops);
            EXPECT_EQ(p->finished, st.finished);
            EXPECT_EQ(p->IsAnimOver(), st.over);
        }
    }
}

TEST_F(PlayerAnimTest, ChoosingAnimationsAndFrames) {
    RecordingSprite* s = sprite();
    BXLibPlayer* idle = Runtime::make<BXLibPlayer>();
    EXPECT_EQ(idle->anim, -1);
    EXPECT_EQ(idle->loops, 1);
    EXPECT_EQ(idle->finished, 1);
    EXPECT_EQ(idle->effectParamA, -1);
    EXPECT_TRUE(idle->IsAnimOver());

    auto* p = Runtime::make<BXLibPlayer>(static_cast<ASprite*>(s), 10, 20);
    EXPECT_EQ(p->anim, -1);
    EXPECT_EQ(p->loops, -2);
    EXPECT_EQ(p->finished, 0);
    EXPECT_TRUE(p->IsAnimOver());
    EXPECT_EQ(p->SetFrame(1), -1);
    p->Render();
    EXPECT_TRUE(g_painted.empty());

    // The running animation is kept; once finished, the same call restarts it.
    p->SetAnim(0, 1);
    p->Update(62);
    p->Update(0);
    p->SetAnim(0, 5);
    EXPECT_EQ(p->frame, 1);
    EXPECT_EQ(p->loops, 0);
    p->Update(124);
    p->Update(1);
    ASSERT_EQ(p->finished, 1);
    p->SetAnim(0, 5);
    EXPECT_EQ(p->frame, 0);
    EXPECT_EQ(p->loops, 4);
    EXPECT_EQ(p->finished, 0);
    // Forced: even the running animation starts again.
    p->Update(62);
    p->Update(0);
    p->SetAnimForced(0, 5, true);
    EXPECT_EQ(p->frame, 0);

    p->SetAnim(3, 0);
    struct FrameCase {
        jint asked, answer;
    };
    for (const FrameCase& c : {FrameCase{7, 1}, FrameCase{3, 0}, FrameCase{2, 2}, FrameCase{0, 0}}) {
        p->time = 40;
        EXPECT_EQ(p->SetFrame(c.asked), c.answer) << c.asked;
        EXPECT_EQ(p->frame, c.answer);
        EXPECT_EQ(p->time, 0);
    }
    EXPECT_EQ(p->GetAnimFrameCount(), 3);
    p->SetFrame(2);
    EXPECT_EQ(p->GetFrameDuration(), 0);
    p->SetFrame(1);
    EXPECT_EQ(p->GetFrameDuration(), 124);

    // No frames: SetFrame answers -1 at once rather than looping for ever.
    p->SetAnim(1, 0);
    EXPECT_EQ(p->SetFrame(5), -1);
    EXPECT_EQ(p->GetAnimFrameCount(), -1);

    // A new sprite sends a playing player back to idle.
    p->SetSprite(s);
    EXPECT_EQ(p->anim, -1);
    EXPECT_EQ(p->loops, -2);
    p->Reset();
    EXPECT_EQ(p->sprite, nullptr);
    EXPECT_EQ(p->finished, 1);
}

TEST_F(PlayerAnimTest, RenderAppliesItsEffectsToItselfOnly) {
    RecordingSprite* s = sprite();
    auto* p = Runtime::make<BXLibPlayer>(static_cast<ASprite*>(s), 100, 200);
    p->SetAnim(2, 0);   // frame 0 at (3, 4): module 0 at (1, 2)
    p->flags = 1;
    struct Case {
        const char* what;
        jint a, b;
        bool scale, alpha;
        jint p1, p2;
    };
    const Case cases[] = {
        {"no effects", -1, -1, false, false, 0, 0},
        {"alpha: effect 10 with its first parameter", 120, -1, false, true, 120, 0},
        {"scale: effect 11, the alpha as its second parameter", 120, 150, true, false, 150, 120},
        {"scale alone keeps effect 11's second parameter", -1, 50, true, false, 50, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_painted.clear();
        p->effectParamA = c.a;
        p->effectParamB = c.b;
        cGameDraw::setDrawEffect(cGameDraw::kEffectGreyFromRed, false);
        cGameDraw::setDrawEffect(2, false);
        p->Render();
        ASSERT_EQ(g_painted.size(), 1u);
        const Painted& d = g_painted[0];
        // Flip x: the animation frame's offset is negated, the module's extent kept.
        const jint dx = c.scale ? static_cast<jint>(jlong{-5} * c.p1 / 100) : -5;
        EXPECT_EQ(d.x, 97 + dx);
        EXPECT_EQ(d.flags, 1);
        EXPECT_EQ(d.scale, c.scale);
        EXPECT_EQ(d.alpha, c.alpha);
        if (c.scale || c.alpha) {
            EXPECT_EQ(d.p1, c.p1);
            EXPECT_EQ(d.p2, c.p2);
        }
        // The pixel-effect bits are gone afterwards; others stay.
        EXPECT_EQ(cGameDraw::s_drawEffects, 1 << 2);
        cGameDraw::s_drawEffects = 0;
    }
}

}  // namespace

// Platform text: Font metrics, widths and the cache; drawString's anchors, clip, translation, the
// key colour, and the character ranges that draw nothing.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/lcdui/javax_microedition_lcdui_font.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "lcdui_text_fixture.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"

namespace {

using Font = javax_microedition_lcdui_Font;
using Graphics = javax_microedition_lcdui_Graphics;
using Image = javax_microedition_lcdui_Image;

using LcduiTextTest = LcduiTextFixture;

std::vector<uint16_t> pixels(Image* image) {
    const auto* p = static_cast<const uint16_t*>(image->m_pixels->data);
    return std::vector<uint16_t>(p, p + image->m_pixels->length);
}

// The text drawn by `draw` on a fresh 80 x 40 image with a white colour.
template <class Draw>
std::vector<uint16_t> drawn(Draw draw) {
    Image* image = Image::createImage(80, 40);
    Graphics* g = image->getGraphics();
    g->setColor(0xFFFFFF);
    draw(g);
    return pixels(image);
}

TEST_F(LcduiTextTest, FontsMeasureLikeTheSystemFontAndAreCached) {
    Font* plain = Font::getDefaultFont();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(Font::getDefaultFont(), plain);
    EXPECT_EQ(plain->getHeight(), 15);
    EXPECT_EQ(plain->getBaselinePosition(), 12);
    EXPECT_TRUE(plain->isPlain());

    Font* boldSmall = Font::getFont(0, 1, 8);
    ASSERT_NE(boldSmall, nullptr);
    EXPECT_EQ(Font::getFont(0, 1, 8), boldSmall);
    EXPECT_EQ(Font::getFont(1, 0, 8), boldSmall);  // the same key, 9
    EXPECT_TRUE(boldSmall->isBold());
    EXPECT_EQ(boldSmall->getSize(), 8);
    Font* large = Font::getFont(32, 1, 16);
    EXPECT_NE(large, boldSmall);
    EXPECT_EQ(large->getHeight(), plain->getHeight());

    EXPECT_EQ(Font::getFont(1), plain);
    EXPECT_EQ(Font::getFont(0), plain);
    EXPECT_EQ(Font::getFont(2), nullptr);
    Object* e = Runtime::getPendingException();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->classId(), CID_java_lang_IllegalArgumentException);
    Runtime::clearPendingException();

    String* text = String::fromCString("Brindlex");
    EXPECT_EQ(plain->stringWidth(text), 72);
    EXPECT_EQ(large->substringWidth(text, 1, 3), 18);
    EXPECT_EQ(plain->charWidth(u'W'), 9);
    struct Range {
        jint begin, end;
    };
    for (const Range r : {Range{3, 2}, Range{-1, 2}, Range{0, 9}, Range{INT_MIN, INT_MAX}})
        EXPECT_EQ(plain->substringWidth(text, r.begin, r.end), 0) << r.begin << ".." << r.end;
    EXPECT_EQ(plain->substringWidth(nullptr, 0, 1), 0);
    CharArray* chars = Runtime::newCharArray(4);
    EXPECT_EQ(plain->charsWidth(chars, 1, 3), 27);
    EXPECT_EQ(plain->charsWidth(chars, 2, 3), 0);
}

TEST_F(LcduiTextTest, AnchorsPlaceTheTextBlock) {
    String* s = String::fromCString("Hi");  // 18 x 15, baseline 12
    const auto reference = drawn([&](Graphics* g) { g->drawString(s, 10, 5, 20); });
    EXPECT_NE(reference, drawn([](Graphics*) {}));
    struct Case {
        const char* what;
        jint x, y, anchor;
    };
    const Case same[] = {
        {"anchor 0 is top left", 10, 5, 0},
        {"right", 28, 5, 8 | 16},
        {"horizontal centre", 19, 5, 1 | 16},
        {"bottom", 10, 20, 4 | 32},
        {"baseline", 10, 17, 4 | 64},
        {"vertical centre moves nothing: y resolves to 0, x from LEFT", 10, 5, 4 | 2},
    };
    for (const Case& c : same) {
        SCOPED_TRACE(c.what);
        const auto got = drawn([&](Graphics* g) {
            if (c.anchor == (4 | 2)) g->translate(0, 5);  // the y axis has no bit: it resolves to 0
            g->drawString(s, c.x, c.y, c.anchor);
        });
        EXPECT_EQ(got, reference);
    }
    // Translation moves the text; a clip cuts it exactly where the clip ends.
    EXPECT_EQ(drawn([&](Graphics* g) {
                  g->translate(4, 2);
                  g->drawString(s, 6, 3, 20);
              }),
              reference);
    const auto clipped = drawn([&](Graphics* g) {
        g->setClip(0, 0, 19, 11);
        g->drawString(s, 10, 5, 20);
    });
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            const size_t i = static_cast<size_t>(y) * 80 + x;
            ASSERT_EQ(clipped[i], x < 19 && y < 11 ? reference[i] : 0) << x << "," << y;
        }
}

TEST_F(LcduiTextTest, EmptyRangesAndTheKeyColourDrawNothing) {
    const auto blank = drawn([](Graphics*) {});
    String* s = String::fromCString("abc");
    CharArray* chars = Runtime::newCharArray(3);
    struct Case {
        const char* what;
        void (*draw)(Graphics*, String*, CharArray*);
    };
    const Case cases[] = {
        {"empty text", [](Graphics* g, String*, CharArray*) { g->drawString(String::fromCString(""), 0, 0, 20); }},
        {"null text", [](Graphics* g, String*, CharArray*) { g->drawString(nullptr, 0, 0, 20); }},
        {"negative offset", [](Graphics* g, String* t, CharArray*) { g->drawSubstring(t, -1, 2, 0, 0, 20); }},
        {"negative length", [](Graphics* g, String* t, CharArray*) { g->drawSubstring(t, 1, -1, 0, 0, 20); }},
        {"past the end", [](Graphics* g, String* t, CharArray*) { g->drawSubstring(t, 2, 2, 0, 0, 20); }},
        {"overflowing range", [](Graphics* g, String* t, CharArray*) { g->drawSubstring(t, 1, INT_MAX, 0, 0, 20); }},
        {"chars past the end", [](Graphics* g, String*, CharArray* c) { g->drawChars(c, 1, 3, 0, 0, 20); }},
        {"the key colour", [](Graphics* g, String* t, CharArray*) {
             g->setColor(0x00F81F);
             g->drawString(t, 0, 0, 20);
         }},
        {"far outside", [](Graphics* g, String* t, CharArray*) { g->drawString(t, INT_MIN, INT_MAX, 20); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(drawn([&](Graphics* g) { c.draw(g, s, chars); }), blank);
    }
    // A substring and drawChar draw what the whole string draws of them.
    EXPECT_EQ(drawn([&](Graphics* g) { g->drawSubstring(s, 1, 1, 0, 0, 20); }),
              drawn([&](Graphics* g) { g->drawChar(u'b', 0, 0, 20); }));
}

}  // namespace

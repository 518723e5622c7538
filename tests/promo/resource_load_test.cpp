// The stepwise load of the shipped promotion resource, and how a malformed resource fails: the
// promotion unavailable, or a table or picture left null, never a read outside an array or a hang.
#include <functional>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "promo/igp.h"
#include "runtime/memory_manager.h"
#include "tests/support/log_capture.h"
#include "tests/promo/promo_fixture.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using promotest::u16;
using promotest::u32;

Image* imageAt(ObjectArray* images, jint i) { return images ? static_cast<Image*>(images->get(i)) : nullptr; }

jint pixel(Image* image, jint x, jint y) {
    IntArray* argb = Runtime::newIntArray(1);
    image->getRGB(argb, 0, 1, x, y, 1, 1);
    return argb->get(0);
}

}  // namespace

TEST_F(PromoTest, ShippedResourceLoadsStepByStep) {
    installResource(shippedResource());
    IGP::loadData();
    ASSERT_TRUE(IGP::s_available);
    runLoad();

    EXPECT_EQ(narrow(IGP::getText(IGP::s_textButton)), "OPEN");
    EXPECT_EQ(narrow(IGP::getText(IGP::s_textButtonTitle)), "GET IT");
    EXPECT_EQ(narrow(IGP::getText(IGP::s_textList1Last)), "More games");
    EXPECT_EQ(narrow(IGP::getText(0)), "Race the wind over\nseven mountain ranges.");
    // Unused and out-of-range texts are empty, never "null".
    EXPECT_EQ(narrow(IGP::getText(9)), "");
    EXPECT_EQ(narrow(IGP::getText(-1)), "");
    EXPECT_EQ(narrow(IGP::getText(1000)), "");

    // The font and its two recoloured copies: the ink of a glyph takes each colour.
    for (jint i = 0; i < 3; ++i) ASSERT_NE(imageAt(IGP::s_fontImages, i), nullptr) << i;
    const jint ax = IGP::lookupRecordField('A', IGP::s_glyphX), ay = IGP::lookupRecordField('A', IGP::s_glyphY);
    EXPECT_EQ(IGP::lookupRecordField('A', IGP::s_glyphW), 23);
    EXPECT_EQ(IGP::s_lineHeight, 35);
    EXPECT_EQ(IGP::s_lineSpacing, -1);
    // Ink is the white of palette entry 1 (its outline stays dark in every copy).
    jint inkX = -1, inkY = -1;
    for (jint y = ay; y < ay + 35 && inkX < 0; ++y)
        for (jint x = ax; x < ax + 23 && inkX < 0; ++x)
            if ((static_cast<uint32_t>(pixel(imageAt(IGP::s_fontImages, 0), x, y)) & 0xFFFFFF) == 0xFFFFFF) inkX = x, inkY = y;
    ASSERT_GE(inkX, 0) << "no ink in the glyph of 'A'";
    constexpr uint32_t k565 = 0xF8FCF8;
    EXPECT_EQ(static_cast<uint32_t>(pixel(imageAt(IGP::s_fontImages, 1), inkX, inkY)) & k565,
              static_cast<uint32_t>(IGP::kHighlightColour) & k565);
    EXPECT_EQ(static_cast<uint32_t>(pixel(imageAt(IGP::s_fontImages, 2), inkX, inkY)) & k565,
              static_cast<uint32_t>(IGP::kAlertColour) & k565);

    for (jint i = 0; i < IGP::kFixedImageCount; ++i) EXPECT_NE(imageAt(IGP::s_fixedImages, i), nullptr) << i;
    for (jint slot = 0; slot < IGP::s_itemCount; ++slot) EXPECT_NE(imageAt(IGP::s_itemImages, slot), nullptr) << slot;
    EXPECT_EQ(imageAt(IGP::s_itemImages, IGP::s_listItem0), imageAt(IGP::s_fixedImages, 10));
    EXPECT_EQ(imageAt(IGP::s_itemImages, 0)->getWidth(), 400);
    EXPECT_NE(IGP::s_languageImage, nullptr);
    EXPECT_EQ(IGP::s_extraImage, nullptr);  // only for the two listed languages
    auto* list0 = static_cast<ObjectArray*>(IGP::s_listImages->get(0));
    ASSERT_EQ(list0->length, 3);
    EXPECT_NE(imageAt(list0, 0), nullptr);
    EXPECT_EQ(imageAt(list0, 2), imageAt(IGP::s_fixedImages, 11));
    EXPECT_EQ(IGP::s_dataCount, 0) << "the closing step drops the index";

    IGP::freeImages(true);
    EXPECT_EQ(IGP::s_fontImages, nullptr);
    EXPECT_EQ(IGP::s_texts, nullptr);
    EXPECT_EQ(IGP::s_itemImages, nullptr);
    EXPECT_EQ(narrow(IGP::getText(IGP::s_textButton)), "");
}

// With fewer than two titles the item count alone never reaches the closing step.
TEST_F(PromoTest, FewTitlesStillReachTheClosingStep) {
    for (size_t titles : {0u, 1u}) {
        SCOPED_TRACE(titles);
        IGP::resetData();
        promotest::Parts parts;
        parts.titles.resize(titles);
        parts.texts.assign(static_cast<size_t>(4 + 14 + 3 + 3), "");
        installResource(parts.bytes(), {{"Promo-Portal", "https://example.com/club"},
                                        {"Promo-Portal-Items", "PORTAL=1"}});
        IGP::loadData();
        ASSERT_TRUE(IGP::s_available);
        EXPECT_GE(IGP::loadStepCount(), IGP::s_closingStep + 1);
        runLoad();
        EXPECT_NE(imageAt(IGP::s_itemImages, IGP::s_portalItem), nullptr);
        EXPECT_EQ(IGP::s_dataCount, 0);
        EXPECT_EQ(IGP::s_dataOffsets, nullptr);
    }
}

TEST_F(PromoTest, MalformedResourcesFailSafely) {
    using promotest::Parts;
    struct Case {
        const char* name;
        std::function<std::string()> bytes;
        bool available;
        std::function<void()> check;  // after the whole load
    };
    auto edit = [](const std::function<void(Parts&)>& change) {
        return [change] {
            Parts p;
            change(p);
            return p.bytes();
        };
    };
    auto replaceEntry = [](size_t index, const std::function<std::string(const Parts&)>& entry) {
        return [index, entry] {
            Parts p;
            std::vector<std::string> e = p.entries();
            e[index] = entry(p);
            return promotest::resource(e);
        };
    };
    const std::string good = Parts().bytes();
    const std::vector<Case> cases = {
        {"no bytes at all", [] { return std::string(); }, false, [] {}},
        {"index count with no offsets", [] { return u16(10) + u32(0) + u32(4); }, false, [] {}},
        {"an index of one offset: no entries", [] { return u16(1) + u32(0); }, false, [] {}},
        {"decreasing offsets",
         [good] {
             std::string b = good;
             b.replace(2 + 4 * 3, 4, u32(1));
             return b;
         },
         false, [] {}},
        {"an offset past what an int holds",
         [good] {
             std::string b = good;
             b.replace(2 + 4 * 9, 4, u32(0x80000000u));
             return b;
         },
         false, [] {}},
        {"a short stream: the last entries cut off", [good] { return good.substr(0, good.size() - 500); }, true,
         [] {
             // The cut entries read as missing: their pictures stay null.
             EXPECT_EQ(imageAt(IGP::s_itemImages, IGP::s_portalItem), nullptr);
             EXPECT_NE(imageAt(IGP::s_fixedImages, 0), nullptr);
         }},
        {"a short stream inside the header", [good] { return good.substr(0, 2 + 4 * 10 + 10); }, false, [] {}},
        {"header names more titles than it holds",
         replaceEntry(0, [](const Parts&) { return u16(0) + promotest::text("h") + promotest::strings({"EN"}) + u16(60000); }),
         false, [] {}},
        {"header without a language",
         replaceEntry(0, [](const Parts& p) {
             std::string h = p.header();
             return h.replace(2 + 2 + 4, 6, u16(0));
         }),
         false, [] {}},
        {"K = 0 texts", edit([](Parts& p) { p.textBlock = promotest::text("abc") + u16(0) + u16(0); }), true,
         [] {
             ASSERT_NE(IGP::s_texts, nullptr);
             EXPECT_EQ(IGP::s_texts->length, 0);
             EXPECT_EQ(narrow(IGP::getText(0)), "");
         }},
        {"text ends out of order and past the data",
         edit([](Parts& p) { p.textBlock = promotest::text("abcdef") + u16(0) + u16(4) + u16(4) + u16(2) + u16(900); }),
         true,
         [] {
             EXPECT_EQ(narrow(IGP::getText(0)), "abcd");
             EXPECT_EQ(narrow(IGP::getText(1)), "");  // ends before it begins
             EXPECT_EQ(narrow(IGP::getText(2)), "");  // ends past the data
             EXPECT_EQ(narrow(IGP::getText(3)), "");
         }},
        {"text count larger than its ends",
         edit([](Parts& p) { p.textBlock = promotest::text("abc") + u16(0) + u16(5000) + u16(1); }), true,
         [] { EXPECT_EQ(IGP::s_texts, nullptr); }},
        {"a glyph code past the table",
         edit([](Parts& p) {
             p.highestCode = 64;
             p.glyphRecords = u16(300) + std::string("\x01\x01\x05\x05", 4) + u16(65535) + std::string("\x01\x01\x05\x05", 4) +
                              u16(' ') + std::string("\x00\x00\x06\x0f", 4);
         }),
         true,
         [] {
             ASSERT_NE(IGP::s_glyphs, nullptr);
             EXPECT_EQ(IGP::s_glyphs->length, 4 * 65);
             EXPECT_EQ(IGP::lookupRecordField(300, IGP::s_glyphW), 0);
             EXPECT_EQ(IGP::s_lineHeight, 15);
         }},
        {"glyph records longer than their entry",
         replaceEntry(2, [](const Parts& p) { return promotest::text(p.fontPicture) + u16(60) + u16(126) + u16('A') + "xy"; }),
         true,
         [] { EXPECT_EQ(IGP::lookupRecordField('A', IGP::s_glyphW), 0); }},
        {"glyph rectangles outside the font picture",
         edit([](Parts& p) {
             p.glyphRecords = u16('A') + std::string("\xf0\x00\x30\x0f", 4) + u16('B') + std::string("\x00\xf0\x09\x30", 4) +
                              u16(' ') + std::string("\x00\x00\x06\x0f", 4);
         }),
         true,
         [] {
             EXPECT_EQ(IGP::lookupRecordField('A', IGP::s_glyphW), 0);
             EXPECT_EQ(IGP::lookupRecordField('B', IGP::s_glyphH), 0);
             EXPECT_EQ(IGP::lookupRecordField(' ', IGP::s_glyphW), 6);
         }},
        {"a font picture without PLTE",
         edit([](Parts& p) { p.fontPicture = p.picture; }), true,
         [] {
             EXPECT_NE(imageAt(IGP::s_fontImages, 0), nullptr);
             EXPECT_EQ(imageAt(IGP::s_fontImages, 1), nullptr);
             EXPECT_EQ(imageAt(IGP::s_fontImages, 2), nullptr);
         }},
        {"a font picture whose PLTE length runs past it",
         edit([](Parts& p) {
             const size_t at = p.fontPicture.find("PLTE");
             p.fontPicture.replace(at - 4, 4, std::string("\x00\x00\xff\xf0", 4));
         }),
         true, [] { EXPECT_EQ(imageAt(IGP::s_fontImages, 1), nullptr); }},
        {"a font entry ending just after PLTE",
         replaceEntry(2, [](const Parts& p) { return promotest::text(p.fontPicture.substr(0, p.fontPicture.find("PLTE") + 5)); }),
         true,
         [] {
             EXPECT_EQ(imageAt(IGP::s_fontImages, 0), nullptr);
             EXPECT_EQ(imageAt(IGP::s_fontImages, 1), nullptr);
         }},
        {"an empty list", edit([](Parts& p) { p.lists[0].clear(); }), true,
         [] {
             auto* rows = static_cast<ObjectArray*>(IGP::s_listImages->get(0));
             ASSERT_NE(rows, nullptr);
             EXPECT_EQ(rows->length, 0);
             EXPECT_FALSE(IGP::s_itemAvailable->get(IGP::s_listItem0));
         }},
        {"pictures that are not PNGs", edit([](Parts& p) { p.picture = "not a picture"; }), true,
         [] { EXPECT_EQ(imageAt(IGP::s_fixedImages, 0), nullptr); }},
        {"a picture longer than its entry",
         replaceEntry(3, [](const Parts&) { return u16(4000) + std::string(10, 'x'); }), true,
         [] {
             EXPECT_EQ(imageAt(IGP::s_fixedImages, 0), nullptr);
             // The next visit reads its texts whole: one entry's failure does not carry over.
             IGP::freeImages(true);
             runLoad();
             EXPECT_EQ(narrow(IGP::getText(14)), "OPEN");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;  // the refused pictures are logged
        IGP::resetData();
        installResource(c.bytes(), {{"Promo-Link-Template", "https://example.com/XXXX"},
                                    {"Promo-Titles", "ALPHA=a;BETA=b"},
                                    {"Promo-List-New", "R0=r0;R1=r1"},
                                    {"Promo-Portal", "https://example.com/club"}});
        IGP::loadData();
        EXPECT_EQ(IGP::s_available, c.available);
        if (!IGP::s_available) {
            EXPECT_TRUE(log.contains("promotion unavailable"));
            continue;
        }
        runLoad();
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
        // Arrays live in our own heaps, out of the sanitizer's sight: a write past one shows here.
        std::string why;
        EXPECT_TRUE(Runtime::nativeHeap().walk(&why)) << why;
        EXPECT_TRUE(Runtime::objectHeap().walk(&why)) << why;
        c.check();
        IGP::freeImages(true);
    }
}

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/modified_utf8.h"

namespace {

TEST(ModifiedUtf8Test, EncodesZeroAndSupplementaryCharactersTheWayReadUtfExpects) {
    struct Case {
        const char* what;
        std::string utf8;
        std::string want;
        std::u16string units;  // what readUTF makes of `want`
    };
    const Case cases[] = {
        {"ASCII", "Az~", "Az~", u"Az~"},
        {"U+0000", std::string("a\0b", 3), "a\xC0\x80" "b", std::u16string(u"a\0b", 3)},
        {"U+00E9", "\xC3\xA9", "\xC3\xA9", u"\u00E9"},
        {"U+20AC", "\xE2\x82\xAC", "\xE2\x82\xAC", u"\u20AC"},
        {"U+FFFF", "\xEF\xBF\xBF", "\xEF\xBF\xBF", u"\uFFFF"},
        {"U+1F600 as two surrogates", "\xF0\x9F\x98\x80", "\xED\xA0\xBD\xED\xB8\x80", u"\U0001F600"},
        {"U+10FFFF as two surrogates", "\xF4\x8F\xBF\xBF", "\xED\xAF\xBF\xED\xBF\xBF", u"\U0010FFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "x", error;
        ASSERT_TRUE(archive::appendModifiedUtf8(c.utf8, out, error)) << error;
        EXPECT_EQ(out, "x" + c.want);
        std::u16string units;
        ASSERT_TRUE(archive::decodeModifiedUtf8(c.want, units));
        EXPECT_EQ(units, c.units);
    }
}

TEST(ModifiedUtf8Test, RefusesMalformedUtf8NamingTheByte) {
    struct Case {
        const char* what;
        std::string utf8;
        const char* error;
    };
    const Case cases[] = {
        {"overlong zero", "ab\xC0\x80", "invalid UTF-8 at byte 2: byte cannot start a character"},
        {"overlong three-byte", "\xE0\x9F\xBF", "invalid UTF-8 at byte 0: overlong form"},
        {"encoded surrogate", "a\xED\xA0\x80", "invalid UTF-8 at byte 1: encoded surrogate"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "invalid UTF-8 at byte 0: above U+10FFFF"},
        {"cut at the end", "a\xE2\x82", "invalid UTF-8 at byte 1: character cut short"},
        {"cut by ASCII", "\xE2\x82z", "invalid UTF-8 at byte 0: character cut short"},
        {"lone continuation", "\x80", "invalid UTF-8 at byte 0: byte cannot start a character"},
        {"Latin-1 byte", "caf\xE9", "invalid UTF-8 at byte 3: character cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "kept", error;
        EXPECT_FALSE(archive::appendModifiedUtf8(c.utf8, out, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(out, "kept");
    }
}

TEST(ModifiedUtf8Test, DecodesExactlyWhatReadUtfAccepts) {
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        std::u16string units;
    };
    const Case cases[] = {
        {"two-byte e acute", "a\xC3\xA9", true, u"a\u00E9"},
        {"two-byte zero", "\xC0\x80", true, std::u16string(1, u'\0')},
        {"lone surrogate kept", "\xED\xA0\x80", true, std::u16string(1, static_cast<char16_t>(0xD800))},
        {"continuation as lead", "\x80", false, u""},
        {"four-byte lead", "\xF0\x9F\x98\x80", false, u""},
        {"two-byte cut", "a\xC3", false, u""},
        {"three-byte bad second", "\xE2\x41\x80", false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::u16string units;
        EXPECT_EQ(archive::decodeModifiedUtf8(c.bytes, units), c.ok);
        if (c.ok) {
            EXPECT_EQ(units, c.units);
        }
    }
}

// The decoder itself, with valid continuation bytes lying just past the body: a form cut by the
// length must fail, whatever follows it in memory.
TEST(ModifiedUtf8Test, AFormCutByTheBodysEndFailsEvenWhenItsBytesFollow) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;  // the body is the first n
        size_t n;
        bool ok;
        std::u16string units;
    };
    const Case cases[] = {
        {"two-byte form whole", {'a', 0xC3, 0xA9}, 3, true, u"a\u00E9"},
        {"two-byte form cut", {'a', 0xC3, 0xA9}, 2, false, u""},
        {"three-byte form whole", {0xE2, 0x82, 0xAC}, 3, true, u"\u20AC"},
        {"three-byte form cut after two", {0xE2, 0x82, 0xAC}, 2, false, u""},
        {"three-byte form cut after one", {'x', 0xE2, 0x82, 0xAC}, 2, false, u""},
        {"encoded zero", {0xC0, 0x80}, 2, true, std::u16string(1, u'\0')},
        {"stray continuation", {0x80}, 1, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::u16string units;
        EXPECT_EQ(archive::forEachModifiedUtf8Unit(c.bytes.data(), c.n, [&](uint16_t u) { units += char16_t(u); }),
                  c.ok);
        if (c.ok) {
            EXPECT_EQ(units, c.units);
        }
    }
}

// The name decoder sees a view into the whole archive: a form cut by the view's end fails even when
// valid continuation bytes follow it in the archive.
TEST(ModifiedUtf8Test, AFormCutByTheViewsEndFailsWhateverFollowsIt) {
    const std::string index = "x\xE2\x82\xAC" "a\xC3\xA9";
    struct Case {
        const char* what;
        std::size_t start, length;
        bool ok;
    };
    const Case cases[] = {
        {"three-byte form whole", 1, 3, true},
        {"three-byte form cut after two", 1, 2, false},
        {"three-byte form cut after one", 0, 2, false},
        {"two-byte form whole", 4, 3, true},
        {"two-byte form cut", 4, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::u16string units;
        EXPECT_EQ(archive::decodeModifiedUtf8(std::string_view(index).substr(c.start, c.length), units), c.ok);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>

#include "tools/jad_check.h"

namespace {

TEST(JadCheckTest, PassesGoodDescriptorsThroughAsLatin1) {
    struct Case {
        const char* what;
        std::string text;
        std::string want;
    };
    const Case cases[] = {
        {"LF lines", "MIDlet-Name: Brindlex\nMIDlet-Version: 1.0.0\n", "MIDlet-Name: Brindlex\nMIDlet-Version: 1.0.0\n"},
        {"CR LF lines kept", "A: 1\r\nB: 2\r\n", "A: 1\r\nB: 2\r\n"},
        {"no line end after the last line", "A: 1\nB: http://x", "A: 1\nB: http://x"},
        {"U+00E9 and U+00FF become single bytes", "Name: Caf\xC3\xA9 \xC3\xBF\n", "Name: Caf\xE9 \xFF\n"},
        {"empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string latin1, error;
        ASSERT_TRUE(tools::checkAppDescriptor(c.text, "app.jad", latin1, error)) << error;
        EXPECT_EQ(latin1, c.want);
    }
}

TEST(JadCheckTest, RefusesLinesTheDeviceWouldMisreadNamingTheLine) {
    struct Case {
        const char* what;
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"line without a colon", "A: 1\nMIDlet-Name Brindlex\nB: 2\n", "app.jad:2: no ':' (every line is \"key: value\")"},
        {"blank line inside", "A: 1\n\nB: 2\n", "app.jad:2: blank line (every line is \"key: value\")"},
        {"blank CR LF line", "A: 1\r\n\r\nB: 2\r\n", "app.jad:2: blank line (every line is \"key: value\")"},
        {"two line ends at the end", "A: 1\n\n", "app.jad:2: blank line (every line is \"key: value\")"},
        {"blank first line", "\nA: 1\n", "app.jad:1: blank line (every line is \"key: value\")"},
        {"spaces only", "A: 1\n   \n", "app.jad:2: no ':' (every line is \"key: value\")"},
        {"character above U+00FF", "A: 1\nName: \xE2\x82\xAC\n", "app.jad:2: character U+20AC is not in ISO-8859-1"},
        {"Latin-1 bytes rather than UTF-8", "Name: Caf\xE9\n", "app.jad:1: invalid UTF-8 at byte 9: character cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string latin1 = "kept", error;
        EXPECT_FALSE(tools::checkAppDescriptor(c.text, "app.jad", latin1, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(latin1, "kept");
    }
}

}  // namespace

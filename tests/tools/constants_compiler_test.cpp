#include <gtest/gtest.h>

#include <string>

#include "tools/constants_compiler.h"

namespace {

using namespace std::string_literals;

std::string compile(std::string_view text) {
    std::string bin, error;
    EXPECT_TRUE(tools::compileConstants(text, "constants.txt", bin, error)) << error;
    return bin;
}

TEST(ConstantsCompilerTest, NumbersLiteralLinesOnlyAndResolvesEscapes) {
    const std::string text =
        "# header\n"
        "\n"                     // 0: the empty text
        "a\\nb\\\\c\n"           // 1: a, newline, b, backslash, c
        "# comment\n"
        "\\# not a comment\r\n"  // 2: CR LF line end
        "x\0y\n"                 // 3: U+0000
        "\xF0\x9F\x98\x80"s;     // 4: U+1F600, no line end after the last line
    const std::string bin = compile(text);
    const std::string want = "\0\0\0\5"s +
                             "\0\0"s +
                             "\0\5" "a\nb\\c"s +
                             "\0\x0F" "# not a comment"s +
                             "\0\4" "x\xC0\x80y"s +
                             "\0\6" "\xED\xA0\xBD\xED\xB8\x80"s;
    EXPECT_EQ(bin, want);
}

TEST(ConstantsCompilerTest, EmptyFileGivesAnEmptyPoolAndALoneLineEndOneEmptyLiteral) {
    EXPECT_EQ(compile(""), "\0\0\0\0"s);
    EXPECT_EQ(compile("\n"), "\0\0\0\1\0\0"s);
    EXPECT_EQ(compile("a\n\n"), "\0\0\0\2\0\1a\0\0"s);
}

TEST(ConstantsCompilerTest, RefusesBadLinesNamingFileLineAndLiteral) {
    struct Case {
        const char* what;
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"unknown escape", "# c\nok\nta\\tb\n", "constants.txt:3: literal 1: unknown escape \\t (only \\n, \\\\ and \\# exist)"},
        {"backslash at the end", "a\\\n", "constants.txt:1: literal 0: backslash at the end of the line (write \\\\ for a backslash)"},
        {"not UTF-8", "\n\ncaf\xE9\n", "constants.txt:3: literal 2: invalid UTF-8 at byte 3: character cut short"},
        {"too long", "\n" + std::string(65536, 'a'), "constants.txt:2: literal 1: 65536 bytes encoded, at most 65535 fit"},
        {"too long once encoded", std::string(32768, '\0'), "constants.txt:1: literal 0: 65536 bytes encoded, at most 65535 fit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bin = "kept", error;
        EXPECT_FALSE(tools::compileConstants(c.text, "constants.txt", bin, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(bin, "kept");
    }
}

TEST(ConstantsCompilerTest, AcceptsALiteralOfExactly65535Bytes) {
    const std::string bin = compile(std::string(65535, 'a'));
    ASSERT_EQ(bin.size(), 4u + 2u + 65535u);
    EXPECT_EQ(bin.substr(0, 6), "\0\0\0\1\xFF\xFF"s);
}

}  // namespace

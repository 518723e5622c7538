#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tools/bar_writer.h"

namespace {

using namespace std::string_literals;

std::vector<tools::BarEntry> namedEntries(const std::vector<std::string>& names) {
    std::vector<tools::BarEntry> entries;
    for (const std::string& name : names) entries.push_back(tools::BarEntry::fromBytes(name, "x"));
    return entries;
}

std::vector<std::string> folderContents(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BarWriterTest, WritesSortedIndexThenDataWithModifiedUtf8Names) {
    TempFolder temp;
    std::vector<tools::BarEntry> entries;
    entries.push_back(tools::BarEntry::fromBytes("b", "BB"));
    entries.push_back(tools::BarEntry::fromBytes("\xC3\xA9", ""));
    entries.push_back(tools::BarEntry::fromFile("A/z", temp.write("source", "zzz"), 3));
    std::string error;
    ASSERT_TRUE(tools::writeArchive(temp.path() / "out.bar", entries, error)) << error;

    const std::string want = "\0\3"s +
                             "\0\3" "A/z" "\0\0\0\x26" "\0\0\0\3"s +  // index: 2 + 3 x 10 + 6 name bytes = 38
                             "\0\1" "b" "\0\0\0\x29" "\0\0\0\2"s +
                             "\0\2" "\xC3\xA9" "\0\0\0\x2B" "\0\0\0\0"s +
                             "zzz" "BB"s;
    EXPECT_EQ(temp.read("out.bar"), want);
}

TEST(BarWriterTest, RefusesEntriesTheIndexCannotHoldOrLookupsCannotTellApart) {
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::string error;
    };
    const Case cases[] = {
        {"case-only difference", {"x", "Pack/Level1.bin", "pack/level1.BIN"},
         "entries \"Pack/Level1.bin\" and \"pack/level1.BIN\" have the same name but for letter case (lookups would only ever find one)"},
        {"same name twice", {"constants.bin", "constants.bin"}, "two entries are named \"constants.bin\""},
        {"leading slash", {"/app.jad"}, "entry \"/app.jad\": name starts with '/' (lookups drop one leading '/', so it could not be found)"},
        {"empty name", {""}, "an entry has an empty name"},
        {"name not UTF-8", {"caf\xE9"}, "entry \"caf\xE9\": name is not UTF-8: invalid UTF-8 at byte 3: character cut short"},
        {"name over 65535 bytes", {std::string(65536, 'n')},
         "entry \"" + std::string(65536, 'n') + "\": name is 65536 bytes encoded, at most 65535 fit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto entries = namedEntries(c.names);
        std::string index, error;
        EXPECT_FALSE(tools::layOutArchive(entries, index, error));
        EXPECT_EQ(error, c.error);
    }
    auto entries = namedEntries({std::string(65535, 'n')});
    std::string index, error;
    EXPECT_TRUE(tools::layOutArchive(entries, index, error)) << error;
}

TEST(BarWriterTest, HoldsAtMost32767Entries) {
    std::vector<std::string> names;
    for (int i = 0; i < 32768; ++i) names.push_back(std::to_string(i));
    auto entries = namedEntries(names);
    std::string index, error;
    EXPECT_FALSE(tools::layOutArchive(entries, index, error));
    EXPECT_EQ(error, "32768 entries, at most 32767 fit the index count");

    entries.pop_back();
    ASSERT_TRUE(tools::layOutArchive(entries, index, error)) << error;
    EXPECT_EQ(index.substr(0, 2), "\x7F\xFF"s);
}

TEST(BarWriterTest, RefusesDataPastTheLargestS32Offset) {
    // Index: 2 + (2 + 1 + 8) x 2 = 24 bytes, so 2^31 - 1 - 24 bytes of data still fit.
    const std::uint64_t room = 2147483647u - 24u;
    struct Case {
        std::uint64_t firstSize;
        bool fits;
    };
    for (const Case c : {Case{room, true}, Case{room + 1, false}}) {
        SCOPED_TRACE(c.firstSize);
        std::vector<tools::BarEntry> entries = {tools::BarEntry::fromFile("a", "/nonexistent", c.firstSize),
                                                tools::BarEntry::fromFile("b", "/nonexistent", 0)};
        std::string index, error;
        EXPECT_EQ(tools::layOutArchive(entries, index, error), c.fits);
        if (c.fits) {
            EXPECT_EQ(index.substr(index.size() - 8), "\x7F\xFF\xFF\xFF\0\0\0\0"s);  // "b" at the very end
        } else {
            EXPECT_EQ(error, "entry \"a\": 2147483624 bytes at offset 24 go past the 2147483647 bytes an archive can address");
        }
    }
}

TEST(BarWriterTest, LeavesNothingBehindWhenASourceFileDoesNotMatch) {
    TempFolder temp;
    temp.write("out.bar", "old archive");
    const auto source = temp.write("source", "four");
    struct Case {
        const char* what;
        std::uint64_t declared;
        std::string error;
    };
    const Case cases[] = {
        {"file grew", 3, source.string() + ": changed size while being packed"},
        {"file shrank", 5, source.string() + ": changed size while being packed"},
        {"file gone", 4, "/nonexistent/source: cannot open: No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path path = c.what == std::string("file gone") ? "/nonexistent/source" : source;
        std::string error;
        EXPECT_FALSE(tools::writeArchive(temp.path() / "out.bar", {tools::BarEntry::fromFile("s", path, c.declared)}, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(temp.read("out.bar"), "old archive");
        EXPECT_EQ(folderContents(temp.path()), (std::vector<std::string>{"out.bar", "source"}));
    }
}

}  // namespace

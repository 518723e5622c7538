#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "tests/support/temp_folder.h"
#include "tools/barpack_cli.h"

namespace {

using namespace std::string_literals;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome barpack(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = tools::runBarpack(args, out, err);
    return {status, out.str(), err.str()};
}

void writeTinyAssets(const TempFolder& assets) {
    assets.write("constants.txt", "# c\nab\n\n");
    assets.write("app.jad", "K: \xC3\xA9\n");
    assets.write("Z.dat", "z");
    assets.write("sub/x.bin", "\1\2\3");
}

// The archive of writeTinyAssets: a 76-byte index, then the data in name order.
const std::string kTinyArchive = "\0\4"s +
                                 "\0\5" "Z.dat" "\0\0\0\x4C" "\0\0\0\1"s +
                                 "\0\7" "app.jad" "\0\0\0\x4D" "\0\0\0\5"s +
                                 "\0\x0D" "constants.bin" "\0\0\0\x52" "\0\0\0\x0A"s +
                                 "\0\x09" "sub/x.bin" "\0\0\0\x5C" "\0\0\0\3"s +
                                 "z"
                                 "K: \xE9\n"
                                 "\0\0\0\2" "\0\2" "ab" "\0\0"
                                 "\1\2\3"s;

TEST(BarpackTest, PacksAFolderIntoTheExactArchiveAndListsIt) {
    TempFolder assets, build;
    writeTinyAssets(assets);
    const std::string out = (build.path() / "data.bar").string();

    const Outcome pack = barpack({assets.path().string(), out});
    EXPECT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "");
    EXPECT_EQ(build.read("data.bar"), kTinyArchive);

    const Outcome list = barpack({"--list", out});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out,
              "4 entries\n"
              "        76          1 Z.dat\n"
              "        77          5 app.jad\n"
              "        82         10 constants.bin\n"
              "        92          3 sub/x.bin\n");
}

TEST(BarpackTest, BadAssetsFailNamingTheFileAndLeaveTheOldArchive) {
    struct Case {
        const char* what;
        std::string file;
        std::string contents;  // empty: remove the file
        std::string error;     // after "barpack: " and the assets folder
    };
    const Case cases[] = {
        {"bad escape", "constants.txt", "ok\n\\q\n", "/constants.txt:2: literal 1: unknown escape \\q (only \\n, \\\\ and \\# exist)"},
        {"bad descriptor", "app.jad", "K: v\nno colon\n", "/app.jad:2: no ':' (every line is \"key: value\")"},
        {"no constants", "constants.txt", "", "/constants.txt: missing (the runtime loads its literals from it)"},
        {"no descriptor", "app.jad", "", "/app.jad: missing (the MIDlet reads its properties from it)"},
        {"case twins", "SUB/x.bin", "y",
         ": entries \"SUB/x.bin\" and \"sub/x.bin\" have the same name but for letter case (lookups would only ever find one)"},
        {"constants.bin beside constants.txt", "Constants.bin", "raw",
         ": entries \"Constants.bin\" and \"constants.bin\" have the same name but for letter case (lookups would only ever find one)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder assets, build;
        writeTinyAssets(assets);
        if (c.contents.empty()) {
            std::filesystem::remove(assets.path() / c.file);
        } else {
            assets.write(c.file, c.contents);
        }
        build.write("data.bar", "old");

        const Outcome pack = barpack({assets.path().string(), (build.path() / "data.bar").string()});
        EXPECT_EQ(pack.status, 1);
        EXPECT_EQ(pack.err, "barpack: " + assets.path().string() + c.error + "\n");
        EXPECT_EQ(build.read("data.bar"), "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(build.path()), std::filesystem::directory_iterator()), 1);
    }
}

TEST(BarpackTest, ListFailsCleanlyOnEveryTruncationOfAnArchive) {
    TempFolder temp;
    for (std::size_t length = 0; length < kTinyArchive.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string path = temp.write("cut.bar", kTinyArchive.substr(0, length)).string();
        const Outcome list = barpack({"--list", path});
        EXPECT_EQ(list.status, 1);
        EXPECT_EQ(list.out, "");
        EXPECT_TRUE(list.err.starts_with("barpack: " + path + ": ")) << list.err;
    }
}

TEST(BarpackTest, ListNamesWhatIsWrongWithACorruptIndex) {
    const auto patched = [](std::size_t at, std::string bytes) {
        std::string archive = kTinyArchive;
        archive.replace(at, bytes.size(), bytes);
        return archive;
    };
    struct Case {
        const char* what;
        std::string archive;
        const char* error;
    };
    const Case cases[] = {
        {"count above 32767", patched(0, "\x80\x00"s), "entry count -32768 is negative (more than 32767 entries)"},
        {"name with a four-byte lead", patched(4, "\xF0"), "index entry 0 at byte 2: name is not modified UTF-8"},
        {"negative offset", patched(26, "\xFF"), "index entry 1 at byte 17: \"app.jad\" has offset -16777139 and size 5"},
        {"size past the end", patched(75, "\x04"),
         "index entry 3 at byte 57: \"sub/x.bin\" ends at byte 96, past the end of the 95-byte file"},
        {"cut inside a name", kTinyArchive.substr(0, 20), "index entry 1 at byte 17: index cut short inside the name"},
        {"too short for the count", "\0"s, "shorter than the 2-byte entry count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<archive::IndexEntry> entries;
        std::string error;
        EXPECT_FALSE(archive::readIndex(c.archive, entries, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(BarpackTest, WrongUsageExitsWithStatus2) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--list"}, {"a", "b", "c"}, {"--bogus", "x"}}) {
        SCOPED_TRACE(args.size());
        const Outcome run = barpack(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.starts_with("usage: barpack")) << run.err;
    }
}

}  // namespace

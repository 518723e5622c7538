// The data file check before start-up: every way the file can be unusable is named, nothing hangs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/host/data_file_check.h"
#include "platform/device/headless/event_script.h"
#include "tests/support/temp_folder.h"
#include "tests/support/data_bar_variant.h"

namespace {

TEST(DataFileCheckTest, NamesWhatMakesADataFileUnusable) {
    TempFolder temp;
    const auto good = temp.path() / "good.bar";
    std::filesystem::copy_file(BRINDLEX_DATA_BAR, good);
    writeDataBarVariant(good, temp.path() / "nojad.bar", {{"app.jad", std::nullopt}});
    writeDataBarVariant(good, temp.path() / "noliterals.bar", {{"constants.bin", std::string(4, '\0')}});
    writeDataBarVariant(good, temp.path() / "emptyconstants.bar", {{"constants.bin", ""}});
    // Literal 0 announced as 5 bytes, with 2 left.
    writeDataBarVariant(good, temp.path() / "cutconstants.bar", {{"constants.bin", std::string("\0\0\1\x61\0\5ab", 8)}});
    writeDataBarVariant(good, temp.path() / "shorttexts.bar", {{"text_EN", shortTextPack(62)}});
    writeDataBarVariant(good, temp.path() / "notexts.bar", {{"text_EN", std::nullopt}});
    std::string goodBytes = temp.read("good.bar");
    temp.write("truncated.bar", goodBytes.substr(0, 9));
    temp.write("empty.bar", "");
    temp.write("random.bar", "\x7f\x13garbage that is no index at all");
    std::filesystem::create_directories(temp.path() / "folder.bar");
    ASSERT_EQ(::mkfifo((temp.path() / "fifo.bar").c_str(), 0600), 0);

    struct Case {
        const char* file;
        const char* why;  // empty: usable
    };
    const Case cases[] = {
        {"good.bar", ""},
        {"missing.bar", "not found"},
        {"empty.bar", "the file is empty"},
        {"folder.bar", "not a regular file"},
        {"fifo.bar", "not a regular file"},
        {"truncated.bar", "not a data archive"},
        {"random.bar", "not a data archive"},
        {"nojad.bar", "the archive has no app.jad"},
        {"noliterals.bar", "constants.bin holds 0 literals; the program reads 353"},
        {"emptyconstants.bar", "constants.bin has no literal count"},
        {"cutconstants.bar", "constants.bin: literal 0 of 353 is cut short or malformed"},
        {"shorttexts.bar", "the text pack text_EN holds 62 texts; the game draws 158"},
        {"notexts.bar", "the archive has no text pack text_EN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string why;
        EXPECT_EQ(checkDataFile(temp.path() / c.file, why), *c.why == '\0');
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

TEST(DataFileCheckTest, AFolderOrFifoIsNoScript) {
    TempFolder temp;
    std::filesystem::create_directories(temp.path() / "script");
    ASSERT_EQ(::mkfifo((temp.path() / "fifo").c_str(), 0600), 0);
    for (const char* name : {"script", "fifo", "missing"}) {
        SCOPED_TRACE(name);
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(loadEventScript((temp.path() / name).string(), events, error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace

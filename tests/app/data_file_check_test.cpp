// The data file check before start-up: every way the file can be unusable is named, nothing hangs.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "app/host/data_file_check.h"
#include "platform/device/headless/event_script.h"
#include "tests/support/temp_folder.h"
#include "tools/bar_writer.h"

namespace {

TEST(DataFileCheckTest, NamesWhatMakesADataFileUnusable) {
    TempFolder temp;
    const auto good = temp.path() / "good.bar";
    std::string error;
    ASSERT_TRUE(tools::writeArchive(good,
                                    {tools::BarEntry::fromBytes("constants.bin", std::string(4, '\0')),
                                     tools::BarEntry::fromBytes("app.jad", "MIDlet-Name: x\n")},
                                    error))
        << error;
    const auto noJad = temp.path() / "nojad.bar";
    ASSERT_TRUE(tools::writeArchive(noJad, {tools::BarEntry::fromBytes("constants.bin", std::string(4, '\0'))}, error));
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

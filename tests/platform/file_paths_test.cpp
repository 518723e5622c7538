#include <gtest/gtest.h>

#include <string>

#include "platform/file_paths.h"
#include "platform/host_files.h"
#include "tests/support/temp_folder.h"

namespace {

class FilePathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setHomeFolder("/home-root");
        platform::setDataFile("/opt/game/data.bar");
    }
    void TearDown() override { platform::setFileFaults({}); }
};

TEST_F(FilePathsTest, MapsTheInstallFolderAndRefusesEverythingOutsideIt) {
    struct Case {
        std::string virtualPath;
        const char* want;  // null: refused
    };
    const Case cases[] = {
        {"\\Program Files\\Brindlex\\Zarnquist\\data.bar", "/opt/game/data.bar"},
        {"\\program files\\brindlex\\zarnquist\\Save.RS", "/home-root/save.rs"},
        {"/program files/brindlex/zarnquist/a/b.idx", "/home-root/a/b.idx"},
        {"\\program files\\brindlex\\zarnquist\\\\x", "/home-root/x"},
        {"pack.bar", "/home-root/pack.bar"},
        {"data.bar", "/opt/game/data.bar"},
        {"sub\\data.bar", "/home-root/sub/data.bar"},
        {"/pack.bar", nullptr},  // the phone's root folder: not ours
        {"\\program files\\brindlex\\zarnquist", nullptr},
        {"\\program files\\brindlex\\other\\x", nullptr},
        {"\\program files\\brindlex\\zarnquist\\..\\x", nullptr},
        {"..\\x", nullptr},
        {"a/./b", nullptr},
        {"/etc/passwd", nullptr},
        {"c:\\x", nullptr},
        {std::string("a\0b", 3), nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.virtualPath);
        const auto host = platform::hostPathFor(c.virtualPath);
        if (!c.want) {
            EXPECT_FALSE(host.has_value()) << *host;
            continue;
        }
        ASSERT_TRUE(host.has_value());
        EXPECT_EQ(host->string(), c.want);
    }
}

class SaveFileTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setHomeFolder(temp.path()); }
    void TearDown() override { platform::setFileFaults({}); }

    // Saves `bytes` over "rec.rs" (which holds "old"); answers whether the commit succeeded.
    bool save(const std::string& bytes) {
        temp.write("rec.rs", "old");
        auto file = platform::SaveFile::create("rec.rs");
        if (!file) return false;
        file->write(bytes.data(), bytes.size());
        return file->commit();
    }
    size_t filesInFolder() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(temp.path())) ++n;
        return n;
    }
    TempFolder temp;
};

TEST_F(SaveFileTest, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        const char* what;
        platform::FileFaults faults;
        bool committed;
        const char* content;
    };
    const Case cases[] = {
        {"no fault", {}, true, "new bytes"},
        {"open fails", {.failOpens = 1}, false, "old"},
        {"short write", {.writeBudget = 4}, false, "old"},
        {"fsync fails", {.failFsync = true}, false, "old"},
        {"close fails", {.failClose = true}, false, "old"},
        {"budget exactly enough", {.writeBudget = 9}, true, "new bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::setFileFaults(c.faults);
        EXPECT_EQ(save("new bytes"), c.committed);
        platform::setFileFaults({});
        EXPECT_EQ(temp.read("rec.rs"), c.content);
        EXPECT_EQ(filesInFolder(), 1u);
    }
}

TEST_F(SaveFileTest, AnAbandonedSaveLeavesTheTargetAlone) {
    temp.write("rec.rs", "old");
    {
        auto file = platform::SaveFile::create("rec.rs");
        ASSERT_NE(file, nullptr);
        file->write("partial", 7);
    }
    EXPECT_EQ(temp.read("rec.rs"), "old");
    EXPECT_EQ(filesInFolder(), 1u);
}

}  // namespace

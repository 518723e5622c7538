// The --log file: the previous run's log is kept, and a link at the log's name is never followed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/host/host_shell.h"
#include "runtime/log.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(LogFileTest, KeepsThePreviousLogAndNeverFollowsALink) {
    TempFolder temp;
    temp.write("log.txt", "the last run's crash\n");
    temp.write("victim", "precious\n");
    const auto log = temp.path() / "log.txt";

    ASSERT_TRUE(Host::reopenLog(log));
    Log::error("first run");
    Host::closeLog();
    EXPECT_EQ(temp.read("log.old.txt"), "the last run's crash\n");
    EXPECT_NE(temp.read("log.txt").find("first run"), std::string::npos);

    std::filesystem::remove(log);
    std::filesystem::create_symlink(temp.path() / "victim", log);
    ASSERT_TRUE(Host::reopenLog(log));
    Log::error("second run");
    Host::closeLog();
    EXPECT_EQ(temp.read("victim"), "precious\n");
    EXPECT_FALSE(std::filesystem::is_symlink(log));
    EXPECT_NE(temp.read("log.txt").find("second run"), std::string::npos);
}

}  // namespace

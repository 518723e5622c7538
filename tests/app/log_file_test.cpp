// The --log file: the previous run's log is kept, and a link at the log's name is never followed.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

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

// On a full disk the log file takes nothing: warnings and errors (a failed save) go to stderr
// instead, information lines are dropped.
TEST(LogFileTest, WhatTheFullLogCannotTakeReachesStderr) {
    TempFolder temp;
    ASSERT_TRUE(Host::reopenLog(temp.path() / "log.txt"));
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ::dup2(full, STDOUT_FILENO);
    ::close(full);
    std::fflush(stderr);
    const int savedStderr = ::dup(STDERR_FILENO);
    const int errors = ::open((temp.path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ::dup2(errors, STDERR_FILENO);
    ::close(errors);
    const LogLevel level = Log::level();
    Log::setLevel(LogLevel::Info);
    Log::info("game state 1 -> 2");
    Log::warn("the game could not be saved: Record store write failed");
    Log::setLevel(level);
    std::fflush(stderr);
    ::dup2(savedStderr, STDERR_FILENO);
    ::close(savedStderr);
    Host::closeLog();
    EXPECT_EQ(temp.read("stderr.txt"),
              "brindlex (the log file cannot be written): the game could not be saved: Record store write failed\n");
}

}  // namespace

// The program itself started over hostile files: a named pipe where the save's record lives, a
// damaged save index, a text pack shorter than the texts the game draws, an empty literal pool.
// Each run must end (nothing may block on the pipe), with the exit code and the first line it says
// about the fault: the home folder's faults in the log, the data file's on stderr before start. A
// home that cannot be written is said at start, and its lock still refuses a second run.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/data_bar_variant.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kHomeInUseExit = 4;

// The first line of a file that says more than the run's progress.
std::string firstNotice(const std::filesystem::path& file) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("game state", 0) == 0 || line.rfind("static initialiser", 0) == 0) continue;
        return line;
    }
    return "(nothing)";
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string indexBytes(std::initializer_list<uint32_t> values) {
    std::string out;
    for (uint32_t v : values)
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
    return out;
}

TEST(HostileStartTest, EachFaultEndsTheRunWithItsExitCodeAndOneLineNamingIt) {
    TempFolder temp;
    struct Case {
        const char* name;
        DataBarEdits data;  // none: the built data file
        void (*prepareHome)(const std::filesystem::path& home);
        int exitCode;
        const char* firstLine;  // its start, after the home folder or data file is put in for {}
        bool onStderr;
    };
    const Case cases[] = {
        {"pipe as the save's record",
         {},
         [](const std::filesystem::path& home) {
             std::ofstream(home / "rms_zarnquist.rs", std::ios::binary) << indexBytes({1, 1, 1});
             ASSERT_EQ(::mkfifo((home / "rms_zarnquist.rs.1.rs").c_str(), 0600), 0);
         },
         0, "record store {}/rms_zarnquist.rs: the index is damaged (the file of record 1 is missing)", false},
        {"index at the last id",
         {},
         [](const std::filesystem::path& home) {
             std::ofstream(home / "rms_zarnquist.rs", std::ios::binary) << indexBytes({0x7FFFFFFF, 0});
         },
         0, "record store {}/rms_zarnquist.rs: the index is damaged (its last id 2147483647", false},
        {"short text pack",
         {{"text_EN", shortTextPack(62)}},
         [](const std::filesystem::path&) {},
         3, "brindlex: cannot use the data file {}: the text pack text_EN holds 62 texts; the game draws 158", true},
        {"empty constants",
         {{"constants.bin", ""}},
         [](const std::filesystem::path&) {},
         3, "brindlex: cannot use the data file {}: constants.bin has no literal count", true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto folder = temp.path() / ("run" + std::to_string(n++));
        const auto home = folder / "home";
        std::filesystem::create_directories(home);
        c.prepareHome(home);
        std::filesystem::path data = BRINDLEX_DATA_BAR;
        if (!c.data.empty()) {
            data = folder / "data.bar";
            writeDataBarVariant(BRINDLEX_DATA_BAR, data, c.data);
        }
        const auto errors = folder / "stderr.txt";
        // timeout(1) turns a hang into exit 124 instead of a stuck suite.
        const std::string command = "timeout 120 '" + std::string(BRINDLEX_PROGRAM) +
                                    "' --headless --log --frames 200 --data '" + data.string() + "' --home '" +
                                    home.string() + "' > /dev/null 2> '" + errors.string() + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << command;
        std::string expected = c.firstLine;
        expected.replace(expected.find("{}"), 2, c.onStderr ? data.string() : home.string());
        const std::string said = firstNotice(c.onStderr ? errors : home / "log.txt");
        EXPECT_EQ(said.rfind(expected, 0), 0u) << said;
    }
}

// A home the program cannot write, for a reason the superuser obeys too: a process's folder under
// /proc (this test's own, so no other test shares it) takes no new files. The first run says that
// progress will not be kept and locks the folder itself; a second run on it is refused.
TEST(HostileStartTest, AHomeThatCannotBeWrittenIsSaidAtStartAndStillRefusesASecondRun) {
    TempFolder temp;
    const std::string home = "/proc/" + std::to_string(::getpid());
    const auto firstErrors = temp.path() / "first.txt", secondErrors = temp.path() / "second.txt";
    const std::string program = BRINDLEX_PROGRAM, data = BRINDLEX_DATA_BAR, errors = firstErrors.string();
    std::vector<const char*> argv{program.c_str(), "--headless", "--frames", "1000000", "--data", data.c_str(),
                                  "--home", home.c_str(), nullptr};
    posix_spawn_file_actions_t files;
    ASSERT_EQ(posix_spawn_file_actions_init(&files), 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t first = -1;
    const int spawned = posix_spawn(&first, program.c_str(), &files, nullptr, const_cast<char**>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&files);
    ASSERT_EQ(spawned, 0);
    const std::string notice = "brindlex: the home folder " + home + " cannot be written: progress will not be kept";
    bool said = false;
    for (int tries = 0; tries < 1200 && !said; ++tries) {
        said = readText(firstErrors).find(notice) != std::string::npos;
        if (!said) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(said) << readText(firstErrors);
    int firstStatus = 0;
    EXPECT_EQ(::waitpid(first, &firstStatus, WNOHANG), 0) << "the first run ended early";

    const std::string command = "timeout 120 '" + program + "' --headless --frames 20 --data '" + data + "' --home '" +
                                home + "' > /dev/null 2> '" + secondErrors.string() + "'";
    const int status = std::system(command.c_str());
    ::kill(first, SIGKILL);
    (void)::waitpid(first, &firstStatus, 0);
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), kHomeInUseExit);
    EXPECT_EQ(firstNotice(secondErrors), "brindlex: another run is using the home folder " + home);
}

}  // namespace

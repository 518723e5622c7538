#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "classlib/java_io/file_input_stream.h"
#include "classlib/java_io/file_output_stream.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/memory_dump.h"
#include "runtime/object_manager.h"
#include "tests/classlib/stream_fixture.h"

namespace {

using FileTest = StreamTest;

class OverPromisingStream : public java_io_InputStream {
public:
    jint read() override { return -1; }
    jint read_3(ByteArray*, jint, jint) override { return 0; }
    jint available() override { return 5; }
};

constexpr const char* kInstall = "\\Program Files\\Brindlex\\Zarnquist\\";

javax_microedition_io_File* installFile(const std::string& name) {
    return javax_microedition_io_File::make(String::fromCString((kInstall + name).c_str()));
}

TEST_F(FileTest, PathIsLoweredForAsciiLettersOnly) {
    javax_microedition_io_File* f = javax_microedition_io_File::make(String::fromCString("\\A\xC9Z\\Mix.RS"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(narrow(f->path), "\\a\xC9z\\mix.rs");
    EXPECT_EQ(narrow(Runtime::getDataBarPath()), "\\Program Files\\Brindlex\\Zarnquist\\data.bar");
}

TEST_F(FileTest, CreateTruncatesAndSizeOfAMissingFileIsZero) {
    temp.write("home/store.rs", "0123456789");
    javax_microedition_io_File* f = installFile("Store.RS");
    EXPECT_EQ(f->fileSize(), 10);
    EXPECT_EQ(f->create(), 1);
    EXPECT_EQ(f->exists(), 1);
    EXPECT_EQ(f->fileSize(), 0);
    EXPECT_EQ(temp.read("home/store.rs"), "");

    javax_microedition_io_File* missing = installFile("none.rs");
    EXPECT_EQ(missing->exists(), 0);
    EXPECT_EQ(missing->fileSize(), 0);
    EXPECT_EQ(missing->openInputStream(), nullptr);
    EXPECT_EQ(missing->readAllBytes(), nullptr);
    EXPECT_EQ(missing->getFreeSpace(), 0x7FFFFFFF);

    javax_microedition_io_File* outside = javax_microedition_io_File::make(String::fromCString("\\windows\\x.rs"));
    EXPECT_EQ(outside->create(), 0);
    EXPECT_EQ(outside->openOutputStream(), nullptr);
}

TEST_F(FileTest, FolderListingIsAlwaysANewEmptyVector) {
    temp.write("home/a.rs", "x");
    java_util_Vector* first = javax_microedition_io_File::listFiles(String::fromCString("\\program files"));
    java_util_Vector* second = javax_microedition_io_File::listFiles(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->size(), 0);
    EXPECT_EQ(second->size(), 0);
}

TEST_F(FileTest, FileInputStreamAnswersZeroAtTheEndAndMaySkipPastIt) {
    temp.write("home/ten.bin", "0123456789");
    FileInputStream* in = installFile("ten.bin")->openInputStream();
    ASSERT_NE(in, nullptr);
    ByteArray* b = bytes("....");
    EXPECT_EQ(in->available(), 10);
    EXPECT_EQ(in->read_3(b, 0, 4), 4);
    EXPECT_EQ(text(b), "0123");
    EXPECT_EQ(in->available(), 6);
    in->mark(0);
    EXPECT_EQ(in->read(), '4');
    EXPECT_EQ(in->read(), '5');
    in->reset();
    EXPECT_EQ(in->read(), '4');
    EXPECT_EQ(in->read_3(b, 0, 4), 4);
    EXPECT_EQ(in->read(), '9');
    EXPECT_EQ(in->read(), -1);
    EXPECT_EQ(in->read_3(b, 0, 4), 0);
    EXPECT_EQ(in->read_3(b, 0, 0), 0);
    EXPECT_EQ(in->read_3(b, 2, 3), -1);  // would overrun b: refused
    EXPECT_EQ(text(b), "5678");

    in = installFile("ten.bin")->openInputStream();
    EXPECT_EQ(in->skip(0), 0);
    EXPECT_EQ(in->skip(-5), 0);
    EXPECT_EQ(in->available(), 10);
    EXPECT_EQ(in->skip(100), 100);
    EXPECT_EQ(in->available(), -90);
    EXPECT_EQ(in->read(), -1);

    in->close();
    in->close();
    EXPECT_EQ(in->read(), -1);
    EXPECT_EQ(in->read_3(b, 0, 4), -1);
    EXPECT_EQ(in->available(), 0);
    EXPECT_EQ(in->skip(3), 0);
}

TEST_F(FileTest, ReadAllBytesAndReadStreamFully) {
    std::string big(1300, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    temp.write("home/big.bin", big);
    EXPECT_EQ(text(installFile("big.bin")->readAllBytes()), big);

    temp.write("home/empty.bin", "");
    ByteArray* empty = installFile("empty.bin")->readAllBytes();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(Runtime::readStreamFully(nullptr), nullptr);

    // A stream whose available() over-promises: the loop ends at the first empty read.
    auto* liar = new OverPromisingStream();
    ByteArray* got = Runtime::readStreamFully(liar);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->length, 0);
}

TEST_F(FileTest, FileOutputStreamReplacesTheFileAtCloseOrKeepsTheOldOne) {
    temp.write("home/save.rs", "old");
    FileOutputStream* out = installFile("save.rs")->openOutputStream();
    ASSERT_NE(out, nullptr);
    out->write('n');
    out->write_3(bytes("xewx"), 1, 2);
    out->write_3(bytes("ab"), 1, 5);  // outside the array: refused
    EXPECT_EQ(temp.read("home/save.rs"), "old");
    out->close();
    EXPECT_EQ(temp.read("home/save.rs"), "new");
    out->write('z');  // after close: nothing
    out->close();
    EXPECT_EQ(temp.read("home/save.rs"), "new");

    platform::setFileFaults({.writeBudget = 2});
    out = installFile("save.rs")->openOutputStream();
    out->writeArray(bytes("longer"));
    out->close();
    EXPECT_EQ(temp.read("home/save.rs"), "new");

    // The bytes are on disk before the rename, and the rename before the save counts as done.
    std::vector<std::string> steps;
    platform::setFileFaults({.onCommitStep = [&](const char* step) { steps.emplace_back(step); }});
    out = installFile("save.rs")->openOutputStream();
    out->writeArray(bytes("durable"));
    out->close();
    EXPECT_EQ(steps, (std::vector<std::string>{"fsync file", "rename", "fsync folder"}));
    EXPECT_EQ(temp.read("home/save.rs"), "durable");

    platform::setFileFaults({.failOpens = 2});
    EXPECT_EQ(installFile("save.rs")->openOutputStream(), nullptr);
    EXPECT_EQ(installFile("save.rs")->openInputStream(), nullptr);
    EXPECT_NE(installFile("save.rs")->openInputStream(), nullptr);
}

// Only close() commits: a stream the collector meets unclosed (a save cut short by an exception or
// a quit) is discarded, and the good file stays.
TEST_F(FileTest, AnUnclosedOutputStreamIsDiscardedByTheCollector) {
    LogCapture log;
    temp.write("home/lost.rs", "old");
    FileOutputStream* out = installFile("lost.rs")->openOutputStream();
    ASSERT_NE(out, nullptr);
    out->writeArray(bytes("partial"));
    out = nullptr;
    objectManager().gc(ObjectManager::kFreeAll);
    EXPECT_EQ(temp.read("home/lost.rs"), "old");
    EXPECT_TRUE(log.contains("never closed"));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home")) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u);  // no temporary left either
}

TEST_F(FileTest, SavesNeverTouchTheDataFileNorMakeFoldersAndKeepTheFilesMode) {
    temp.write("data.bar", "archive");
    // Neither a save nor create() may replace or empty the game's data.
    FileOutputStream* onData = installFile("data.bar")->openOutputStream();
    EXPECT_EQ(onData, nullptr);
    EXPECT_EQ(installFile("DATA.BAR")->create(), 0);
    EXPECT_EQ(temp.read("data.bar"), "archive");

    // The home folder is made when missing, folders below it are not.
    std::filesystem::remove_all(temp.path() / "home");
    EXPECT_EQ(installFile("sub\\x.rs")->openOutputStream(), nullptr);
    EXPECT_EQ(installFile("sub\\x.rs")->create(), 0);
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "home" / "sub"));
    FileOutputStream* top = installFile("x.rs")->openOutputStream();
    ASSERT_NE(top, nullptr);
    top->close();
    EXPECT_EQ(temp.read("home/x.rs"), "");

    // A replaced file keeps its permission bits.
    std::filesystem::permissions(temp.path() / "home" / "x.rs", std::filesystem::perms(0640));
    FileOutputStream* again = installFile("x.rs")->openOutputStream();
    ASSERT_NE(again, nullptr);
    again->writeArray(bytes("y"));
    again->close();
    EXPECT_EQ(temp.read("home/x.rs"), "y");
    EXPECT_EQ(std::filesystem::status(temp.path() / "home" / "x.rs").permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
}

// A named pipe or a folder where a save lives is not a file to the program: nothing opens it (an open
// of a pipe would wait for a writer for ever) and nothing reports it as there.
TEST_F(FileTest, ANamedPipeOrFolderInTheHomeFolderIsNeitherOpenedNorThere) {
    std::filesystem::create_directories(temp.path() / "home" / "folder.rs");
    ASSERT_EQ(::mkfifo((temp.path() / "home" / "pipe.rs").c_str(), 0600), 0);
    for (const char* name : {"pipe.rs", "folder.rs"}) {
        SCOPED_TRACE(name);
        javax_microedition_io_File* f = installFile(name);
        EXPECT_EQ(f->exists(), 0);
        EXPECT_EQ(f->openInputStream(), nullptr);
        EXPECT_EQ(f->readAllBytes(), nullptr);
        EXPECT_EQ(f->fileSize(), 0);
        EXPECT_EQ(f->create(), 0);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(temp.path() / "home" / "pipe.rs"));
}

// Temporaries a killed save left are removed when their target is next opened or saved; another
// file's and a live save's temporaries stay.
TEST_F(FileTest, StaleTemporariesOfATargetAreRemovedWhenItIsNextUsed) {
    temp.write("home/game.rs", "good");
    temp.write("home/game.rs.tmpa1B2c3", "crash one");
    temp.write("home/game.rs.tmpZz9988", "crash two");
    temp.write("home/game.rs.backup", "a name of the user's");
    temp.write("home/other.rs.tmpa1B2c3", "another target's");
    auto names = [&] {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home"))
            found.insert(entry.path().filename().string());
        return found;
    };
    ASSERT_NE(installFile("game.rs")->openInputStream(), nullptr);
    EXPECT_EQ(names(), (std::set<std::string>{"game.rs", "game.rs.backup", "other.rs.tmpa1B2c3"}));

    // A save sweeps its own target's leftovers, but never a live save's temporary.
    FileOutputStream* first = installFile("other.rs")->openOutputStream();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(names().count("other.rs.tmpa1B2c3"));
    FileOutputStream* second = installFile("other.rs")->openOutputStream();
    ASSERT_NE(second, nullptr);
    first->writeArray(bytes("first"));
    first->close();
    EXPECT_EQ(temp.read("home/other.rs"), "first");
    second->close();
    EXPECT_EQ(temp.read("home/other.rs"), "");
}

// The dump lands in the install folder through the file layer, whole, replacing the last one.
TEST_F(FileTest, MemoryDumpIsWrittenToTheInstallFolder) {
    temp.write("home/memdump.dat", "an older dump");
    String* kept = String::fromCString("kept");
    ASSERT_TRUE(writeMemoryDump(objectManager()));
    const std::string written = temp.read("home/memdump.dat");
    ASSERT_GT(written.size(), 8u);
    EXPECT_EQ(written[0], 1);
    EXPECT_NE(kept, nullptr);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{"memdump.dat"});
}

}  // namespace

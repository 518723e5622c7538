#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "game/cgame.h"
#include "tests/classlib/record_store_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_world.h"

namespace {

constexpr const char* kIndex = "rms_zarnquist.rs";
constexpr const char* kRecord1 = "rms_zarnquist.rs.1.rs";
constexpr int kCrashed = 86;

std::string record(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

class SaveRecordTest : public RecordStoreTest {
protected:
    void SetUp() override {
        RecordStoreTest::SetUp();
        resetGame();
    }
    void TearDown() override {
        resetGame();
        RecordStoreTest::TearDown();
    }
    static void resetGame() {
        cGame::s_saveBuffer = nullptr;
        cGame::s_saveStore = nullptr;
        cGame::s_saveStreamData = nullptr;
        cGame::s_midlet = nullptr;
        cGame::s_musicOn = false;
        cGame::s_sfxOn = false;
        cGame::s_difficulty = 0;
        cGame::s_firstRun = false;
    }
    void removeStore() {
        std::error_code ec;
        std::filesystem::remove_all(temp.path() / "home", ec);
        std::filesystem::create_directories(temp.path() / "home", ec);
    }
    static std::string saveHead() { return text(cGame::s_saveBuffer, cGame::kSaveRecordSize); }
    static std::string storedSave() {
        return text(cGame::rmsRead(Runtime::ldcString(350)));
    }
    // A save of these flags and highest level, made the game's way.
    static void save(bool music, bool effects, int level) {
        cGame::s_musicOn = music;
        cGame::s_sfxOn = effects;
        static_cast<jbyte*>(cGame::s_saveBuffer->data)[7] = static_cast<jbyte>(level);
        cGame::saveData();
    }

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

TEST_F(SaveRecordTest, FirstRunStoresTheDefaultRecordWithTheFlagsOfTheMoment) {
    for (int m : {0, 1}) {
        for (int e : {0, 1}) {
            removeStore();
            resetGame();
            cGame::s_musicOn = m == 1;
            cGame::s_sfxOn = e == 1;
            cGame::loadSave();
            EXPECT_TRUE(cGame::s_firstRun);
            EXPECT_EQ(hostFile(kRecord1), record({0x01, 0x00, m, e, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}));
            EXPECT_EQ(hostFile(kIndex), ints({1, 1, 1}));
            ASSERT_NE(cGame::s_saveBuffer, nullptr);
            EXPECT_EQ(cGame::s_saveBuffer->length, 20493);
            EXPECT_EQ(saveHead(), hostFile(kRecord1));
        }
    }
}

// A valid record (at least 11 bytes, version 1) is loaded and its options applied; any other leaves
// the stored files as they are and starts from the defaults in memory. A damaged index is rebuilt
// from the record files, so the record it lost is loaded again.
TEST_F(SaveRecordTest, LoadingAcceptsValidRecordsAndNeverOverwritesAStoredOne) {
    const std::string valid = record({1, 0, 1, 0, 0, 0, 0, 3, 7, 0, 2});
    std::string longer(30000, '\x04');
    longer[0] = 1;
    longer[20492] = 9;
    struct Case {
        const char* what;
        std::string index;
        std::string record1;
        bool accepted;
        bool rebuilt = false;
    };
    const Case cases[] = {
        {"exactly 11 bytes", ints({1, 1, 1}), valid, true},
        {"longer than the buffer: cut", ints({1, 1, 1}), longer, true},
        {"10 bytes", ints({1, 1, 1}), valid.substr(0, 10), false},
        {"another version", ints({1, 1, 1}), record({2, 0, 1, 0, 0, 0, 0, 3, 7, 0, 2}), false},
        {"record file too big to read", ints({1, 1, 1}),
         std::string(javax_microedition_rms_RecordStore::kMaxRecordBytes + 1, '\x01'), false},
        {"an emptied store", "", "", false},
        {"a damaged index", ints({1}).substr(0, 2), valid, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        removeStore();
        resetGame();
        temp.write(std::string("home/") + kIndex, c.index);
        if (!c.record1.empty()) temp.write(std::string("home/") + kRecord1, c.record1);
        cGame::loadSave();
        EXPECT_FALSE(Runtime::pending());
        ASSERT_NE(cGame::s_saveBuffer, nullptr);
        EXPECT_EQ(cGame::s_saveBuffer->length, 20493);
        EXPECT_EQ(cGame::s_firstRun, !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(saveHead(), c.record1.substr(0, 11));
            EXPECT_EQ(static_cast<jbyte*>(cGame::s_saveBuffer->data)[20492], c.record1.size() > 20492 ? 9 : 0);
            EXPECT_EQ(cGame::s_difficulty, c.record1[10]);
            EXPECT_EQ(cGame::s_musicOn, c.record1[2] == 1);
            EXPECT_EQ(cGame::s_sfxOn, c.record1[3] == 1);
        } else {
            EXPECT_EQ(saveHead(), record({1, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0}));
        }
        EXPECT_EQ(hostFile(kIndex), c.rebuilt ? ints({1, 1, 1}) : c.index);
        EXPECT_EQ(hostFile(kRecord1), c.record1);
    }
}

TEST_F(SaveRecordTest, SavingStoresElevenBytesWithTheFlags) {
    cGame::loadSave();
    auto* buffer = static_cast<jbyte*>(cGame::s_saveBuffer->data);
    for (jint i = 11; i < cGame::kSaveBufferSize; ++i) buffer[i] = 0x55;
    buffer[10] = 2;
    save(false, true, 4);
    EXPECT_EQ(buffer[2], 0);
    EXPECT_EQ(buffer[3], 1);
    EXPECT_EQ(hostFile(kRecord1), record({1, 0, 0, 1, 0, 0, 0, 4, 0, 0, 2}));
    EXPECT_EQ(hostFile(kIndex), ints({1, 1, 1}));  // set, not added

    resetGame();
    cGame::loadSave();
    EXPECT_FALSE(cGame::s_firstRun);
    EXPECT_EQ(cGame::s_difficulty, 2);
    EXPECT_FALSE(cGame::s_musicOn);
    EXPECT_TRUE(cGame::s_sfxOn);
    buffer = static_cast<jbyte*>(cGame::s_saveBuffer->data);
    for (jint i = 11; i < cGame::kSaveBufferSize; ++i) ASSERT_EQ(buffer[i], 0) << i;

    // The whole-array writer stores what it is given as the save record.
    cGame::rmsWriteAll(Runtime::ldcString(350), bytes("whole array"));
    EXPECT_EQ(hostFile(kRecord1), "whole array");
    java_io_InputStream* in = cGame::rmsReadStream(Runtime::ldcString(350));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->available(), 11);
    EXPECT_EQ(cGame::rmsReadStream(str("no such store")), nullptr);
}

// A store whose index lacks record 1 still takes saves: the save is added, and read back from the
// newest record.
TEST_F(SaveRecordTest, AStoreWithoutRecordOneIsSavedByAdding) {
    temp.write(std::string("home/") + kIndex, ints({3, 1, 3}));
    temp.write("home/rms_zarnquist.rs.3.rs", record({1, 0, 0, 0, 0, 0, 0, 6, 0, 0, 1}));
    cGame::loadSave();
    EXPECT_FALSE(cGame::s_firstRun);
    EXPECT_EQ(static_cast<jbyte*>(cGame::s_saveBuffer->data)[7], 6);
    save(true, true, 7);
    EXPECT_EQ(hostFile(kIndex), ints({4, 2, 3, 4}));
    EXPECT_EQ(hostFile("rms_zarnquist.rs.4.rs"), record({1, 0, 1, 1, 0, 0, 0, 7, 0, 0, 1}));
    resetGame();
    cGame::loadSave();
    EXPECT_EQ(static_cast<jbyte*>(cGame::s_saveBuffer->data)[7], 7);
}

TEST_F(SaveRecordTest, AFullDiskKeepsTheOldSave) {
    cGame::loadSave();
    save(false, false, 2);
    const std::string old = hostFile(kRecord1);
    const std::string index = hostFile(kIndex);
    for (int64_t budget : {0, 5, 11, 14}) {
        platform::setFileFaults({.writeBudget = budget});
        save(true, true, 3);
        EXPECT_FALSE(Runtime::pending());  // the game drops store errors
        platform::setFileFaults({});
        EXPECT_EQ(hostFile(kIndex), index);
        // The record is whole: old while the record itself failed, new once only the index did.
        EXPECT_EQ(hostFile(kRecord1), budget < 11 ? old : record({1, 0, 1, 1, 0, 0, 0, 3, 0, 0, 0}));
        save(false, false, 2);
        EXPECT_EQ(hostFile(kRecord1), old);
    }
}

// The process dies at every byte of a save (the record's 11, then the index's 12) and after every
// durable step; on restart the save reads as the old one or the new one, and the next save lands.
TEST_F(SaveRecordTest, ACrashAnywhereInASaveLeavesTheOldOrTheNewSave) {
    cGame::loadSave();
    save(false, false, 2);
    const std::string old = storedSave();
    const std::string fresh = record({1, 0, 1, 1, 0, 0, 0, 5, 0, 0, 0});
    ASSERT_EQ(old, record({1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0}));

    auto restartAndCheck = [&](const std::string& expected) {
        resetGame();
        cGame::loadSave();
        EXPECT_FALSE(cGame::s_firstRun);
        EXPECT_EQ(saveHead(), expected);
        EXPECT_EQ(storedSave(), expected);
        save(false, false, 2);  // writable again: back to the old save for the next round
        EXPECT_EQ(storedSave(), old);
        EXPECT_EQ(hostFile(kIndex), ints({1, 1, 1}));
    };

    constexpr int kSaveBytes = 11 + 12;
    for (int64_t at = 0; at < kSaveBytes; ++at) {
        SCOPED_TRACE("crash at byte " + std::to_string(at));
        EXPECT_EXIT(
            {
                platform::setFileFaults({.writeBudget = at, .crashExitCode = kCrashed});
                save(true, true, 5);
                ::_exit(0);
            },
            ::testing::ExitedWithCode(kCrashed), "");
        restartAndCheck(at < 11 ? old : fresh);
    }
    // Steps: the record's fsync, rename, folder fsync, then the index's.
    for (int step = 0; step < 6; ++step) {
        SCOPED_TRACE("crash after step " + std::to_string(step));
        EXPECT_EXIT(
            {
                int seen = 0;
                platform::setFileFaults({.onCommitStep = [&](const char*) {
                    if (seen++ == step) ::_exit(kCrashed);
                }});
                save(true, true, 5);
                ::_exit(0);
            },
            ::testing::ExitedWithCode(kCrashed), "");
        restartAndCheck(step < 1 ? old : fresh);
    }

    // The very first run cut anywhere (its empty index, the default record, the index listing it):
    // the restart starts from the defaults and saves again.
    for (int64_t at = 0; at < 8 + kSaveBytes; ++at) {
        SCOPED_TRACE("first save, crash at byte " + std::to_string(at));
        removeStore();
        resetGame();
        EXPECT_EXIT(
            {
                platform::setFileFaults({.writeBudget = at, .crashExitCode = kCrashed});
                cGame::loadSave();
                ::_exit(0);
            },
            ::testing::ExitedWithCode(kCrashed), "");
        resetGame();
        cGame::loadSave();
        EXPECT_EQ(saveHead(), record({1, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0}));
        save(true, false, 1);
        EXPECT_EQ(storedSave(), record({1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}));
    }
}

}  // namespace

// A save that cannot land is said in the log (never silent), and the store stays as it was: an
// unwritable store folder, then a record file that is a folder.
TEST_F(SaveRecordTest, AFailedSaveIsLoggedAndKeepsTheStoredRecord) {
    cGame::loadSave();
    save(false, false, 2);
    const std::string old = hostFile(kRecord1);
    struct Case {
        const char* name;
        std::function<void()> breakStore;
        std::function<void()> mend;
    };
    const std::filesystem::path home = temp.path() / "home";
    const Case cases[] = {
        {"folder not writable", [&] { std::filesystem::permissions(home, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec); },
         [&] { std::filesystem::permissions(home, std::filesystem::perms::owner_all); }},
        {"write budget spent", [] { platform::setFileFaults({.writeBudget = 0}); }, [] { platform::setFileFaults({}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "folder not writable" && ::geteuid() == 0) continue;   // root writes anyway
        LogCapture log;
        c.breakStore();
        save(true, true, 5);
        c.mend();
        EXPECT_FALSE(Runtime::pending());
        EXPECT_TRUE(log.contains("the game could not be saved")) << c.name;
        EXPECT_EQ(hostFile(kRecord1), old);
    }
    {
        // A store made by this save: neither its record nor the index its close writes lands.
        removeStore();
        LogCapture log;
        platform::setFileFaults({.writeBudget = 0});
        save(true, true, 5);
        platform::setFileFaults({});
        EXPECT_FALSE(Runtime::pending());
        EXPECT_TRUE(log.contains("the game could not be saved"));
        EXPECT_TRUE(log.contains("the save store could not be closed"));
    }
    LogCapture log;
    save(true, true, 5);
    EXPECT_FALSE(log.contains("could not be saved"));
    EXPECT_FALSE(log.contains("could not be closed"));
}

// The level start raises the highest level reached and the game stores it; killed at any byte of
// that save, the next start reads the level it had or the one reached, never a damaged save.
TEST_F(SaveRecordTest, TheHighestLevelReachedSurvivesAKillAnywhereInItsSave) {
    cGame::loadSave();
    save(false, false, 2);
    constexpr int kSaveBytes = 11 + 12;
    for (int64_t at = 0; at < kSaveBytes; ++at) {
        SCOPED_TRACE("killed at byte " + std::to_string(at));
        EXPECT_EXIT(
            {
                platform::setFileFaults({.writeBudget = at, .crashExitCode = kCrashed});
                cGame::s_level = 4;
                cGame::writeSaveBuffer(0);
                cGame::saveData();
                ::_exit(0);
            },
            ::testing::ExitedWithCode(kCrashed), "");
        resetGame();
        cGame::loadSave();
        EXPECT_FALSE(cGame::s_firstRun);
        EXPECT_EQ(cGame::highestLevelReached(), at < 11 ? 2 : 4);
        save(false, false, 2);
    }
}


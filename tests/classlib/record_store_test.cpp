#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/rms/javax_microedition_rms_record_enumeration_impl.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "tests/classlib/record_store_fixture.h"

namespace {

using Store = javax_microedition_rms_RecordStore;

constexpr int kInvalidId = CID_javax_microedition_rms_InvalidRecordIDException;
constexpr int kStoreError = CID_javax_microedition_rms_RecordStoreException;

Store* open(const char* name, bool create = true) { return Store::openRecordStore_2(String::fromCString(name), create); }

class StoreTest : public RecordStoreTest {
protected:
    jint add(Store* s, std::string_view bytesText) {
        return s->addRecord(bytesText.empty() ? nullptr : bytes(bytesText), 0, static_cast<jint>(bytesText.size()));
    }
};

TEST_F(StoreTest, AddThreeDeleteTheSecondAndReopen) {
    Store* s = open("Save");
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(hostExists("rms_save.rs"));  // a new store writes nothing until its first add
    EXPECT_EQ(add(s, "one"), 1);
    EXPECT_EQ(add(s, "two"), 2);
    EXPECT_EQ(add(s, "three"), 3);
    s->deleteRecord(2);
    EXPECT_EQ(hostFile("rms_save.rs"), ints({3, 2, 1, 3}));
    EXPECT_TRUE(hostExists("rms_save.rs.2.rs"));
    EXPECT_EQ(hostFile("rms_save.rs.2.rs"), "");
    EXPECT_EQ(hostFile("rms_save.rs.1.rs"), "one");
    EXPECT_EQ(s->getNextRecordID(), 4);
    EXPECT_EQ(s->getNumRecords(), 2);
    EXPECT_EQ(s->getSize(), 8);

    EXPECT_EQ(s->getRecord(2), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("2")));
    s->deleteRecord(2);  // no longer held: nothing happens
    EXPECT_EQ(takeThrown().first, -1);
    for (int id : {2, 9}) {
        EXPECT_EQ(s->getRecordSize(id), 0);
        EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::to_string(id)));
        s->setRecord(id, bytes("x"), 0, 1);
        EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::to_string(id)));
    }
    s->closeRecordStore();

    Store* again = open("save", false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(text(again->getRecord(3)), "three");
    EXPECT_EQ(add(again, "four"), 4);
    EXPECT_EQ(hostFile("rms_save.rs"), ints({4, 3, 1, 3, 4}));
    again->setRecord(1, bytes("uno!"), 0, 4);
    EXPECT_EQ(text(again->getRecord(1)), "uno!");
    EXPECT_EQ(again->getRecordSize(1), 4);
    EXPECT_EQ(takeThrown().first, -1);
}

// The index path: install folder, piece A, piece B, name, piece C; the seven characters / : * ? < > |
// become '_' over the whole path; the files on disk are lower-cased.
TEST_F(StoreTest, PathRules) {
    struct Case {
        const char* name;
        const char* vendor;
        const char* suite;
        const char* path;
        const char* hostName;  // empty: outside the install folder, no file can be made
    };
    const Case cases[] = {
        {"Save", "", "", "\\Program Files\\Brindlex\\Zarnquist\\rms_Save.rs", "rms_save.rs"},
        {"a/b:c*d?e<f>g|h", nullptr, "x", "\\Program Files\\Brindlex\\Zarnquist\\rms_a_b_c_d_e_f_g_h.rs",
         "rms_a_b_c_d_e_f_g_h.rs"},
        {"Mix", "Brindlex", "Zarnquist", "\\Program Files\\Brindlex\\Zarnquist\\rms_Mix.rs", "rms_mix.rs"},
        {"n", "V:1", "S/2", "\\Program Files\\V_1\\S_2\\rms_n.rs", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store* s = Store::openRecordStoreImpl(str(c.name), c.vendor ? str(c.vendor) : nullptr, str(c.suite), 1);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(narrow(s->getName()), c.path);
        EXPECT_EQ(add(s, "r"), *c.hostName ? 1 : 0);
        if (*c.hostName) {
            EXPECT_EQ(hostFile(c.hostName), ints({1, 1, 1}));
            EXPECT_EQ(hostFile(std::string(c.hostName) + ".1.rs"), "r");
        } else {
            EXPECT_EQ(takeThrown(), std::make_pair(kStoreError, std::string("Record store write failed")));
        }
    }
    // Names that differ in case, or in a replaced character against '_', share the files.
    EXPECT_EQ(text(open("SAVE", false)->getRecord(1)), "r");
    EXPECT_EQ(text(open("a_b_c_d_e_f_g_h", false)->getRecord(1)), "r");
    EXPECT_EQ(text(Store::openRecordStore_3(str("mix"), str("Brindlex"), str("Zarnquist"))->getRecord(1)), "r");

    EXPECT_EQ(open("missing", false), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(static_cast<int>(CID_javax_microedition_rms_RecordStoreNotFoundException),
                                           std::string("\\Program Files\\Brindlex\\Zarnquist\\rms_missing.rs")));
    EXPECT_EQ(Store::openRecordStore_3(str("mix"), str("Other"), str("Suite")), nullptr);
    EXPECT_EQ(takeThrown().first, CID_javax_microedition_rms_RecordStoreNotFoundException);

    ObjectArray* listed = Store::listRecordStores();
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->length, 0);
}

TEST_F(StoreTest, EmptyStoresEmptyRecordsAndSmallBuffers) {
    Store* s = open("edge");
    s->writeStoreFile();
    EXPECT_EQ(hostFile("rms_edge.rs"), ints({0, 0}));
    EXPECT_EQ(s->getNextRecordID(), 1);

    EXPECT_EQ(s->addRecord(nullptr, 0, 0), 1);
    ByteArray* empty = s->getRecord(1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->length, 0);
    EXPECT_EQ(hostFile("rms_edge.rs.1.rs"), "");

    EXPECT_EQ(add(s, "12345"), 2);
    ByteArray* buffer = bytes("........");
    EXPECT_EQ(s->getRecord_3(2, buffer, 3), 5);
    EXPECT_EQ(text(buffer), "...12345");
    EXPECT_EQ(s->getRecord_3(2, buffer, 4), 0);  // one byte short
    EXPECT_EQ(s->getRecord_3(2, bytes("...."), 0), 0);
    EXPECT_EQ(s->getRecord_3(2, buffer, -1), 0);
    EXPECT_EQ(takeThrown().first, -1);

    // Two opens are two objects: the index ends as the one written last.
    Store* other = open("edge");
    EXPECT_EQ(add(s, "third"), 3);
    other->deleteRecord(1);
    EXPECT_EQ(hostFile("rms_edge.rs"), ints({2, 1, 2}));
}

// The index and record files are untrusted input: reads stop at their end, ids held in a damaged
// index are never issued again, and a record file too big for a record is refused unread.
// A damaged index is rebuilt from the record files present: those holding bytes are the records, the
// newest file's id the last issued. A sound index (an emptied record file is a deleted record; one
// file past the last id is an add whose index never landed) is kept as it is.
TEST_F(StoreTest, DamagedIndexIsRebuiltFromTheRecordFilesAndHugeRecordFilesAreRefused) {
    struct Case {
        const char* what;
        std::string index;
        std::vector<std::pair<int, std::string>> files;
        std::vector<jint> records;
        jint nextId;
        bool rebuilt;
    };
    const Case cases[] = {
        {"a deleted store", "", {}, {}, 1, false},
        {"sound, with a deleted record", ints({2, 1, 1}), {{1, "a"}, {2, ""}}, {1}, 3, false},
        {"sound, an add's index lost", ints({1, 1, 1}), {{1, "a"}, {2, "b"}}, {1}, 2, false},
        {"cut inside the last id", ints({5}).substr(0, 3), {{1, "a"}}, {1}, 2, true},
        {"count beyond the file", ints({5, 3, 1}), {{1, "a"}}, {1}, 2, true},
        {"an id above the last one issued", ints({2, 2, 1, 7}), {{1, "a"}, {2, "b"}}, {1, 2}, 3, true},
        {"a huge count", ints({1, 0x7FFFFFFF, 1, 2, 3}), {}, {}, 1, true},
        {"a negative count", ints({3, -4, 1, 2}), {{3, "c"}}, {3}, 4, true},
        {"the last id at the top", ints({0x7FFFFFFF, 1, 1}), {{1, "a"}}, {1}, 2, true},
        {"negative ids", ints({-5, 2, -7, -6}), {{1, "a"}}, {1}, 2, true},
        {"a listed record's file missing", ints({2, 2, 1, 2}), {{1, "a"}, {2, ""}, {10, "x"}}, {1, 10}, 11, true},
        {"an id twice", ints({1, 2, 1, 1}), {{1, "a"}}, {1}, 2, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "bad" + std::to_string(n++);
        temp.write("home/rms_" + name + ".rs", c.index);
        for (const auto& [id, body] : c.files) temp.write("home/rms_" + name + ".rs." + std::to_string(id) + ".rs", body);
        Store* s = open(name.c_str(), false);
        ASSERT_NE(s, nullptr);
        std::vector<jint> ids;
        for (jint i = 0; i < s->getNumRecords(); ++i)
            ids.push_back(static_cast<java_lang_Integer*>(s->recordIds->elementAt(i))->intValue());
        EXPECT_EQ(ids, c.records);
        EXPECT_EQ(s->getNextRecordID(), c.nextId);
        EXPECT_EQ(takeThrown().first, -1);
        s->closeRecordStore();
        std::vector<jint> rebuilt = {c.nextId - 1, static_cast<jint>(c.records.size())};
        rebuilt.insert(rebuilt.end(), c.records.begin(), c.records.end());
        EXPECT_EQ(hostFile("rms_" + name + ".rs"), c.rebuilt ? ints(rebuilt) : c.index);
        // A rebuilt store saves again.
        if (!c.rebuilt) continue;
        Store* again = open(name.c_str(), false);
        EXPECT_EQ(again->addRecord(bytes("new"), 0, 3), c.nextId);
        EXPECT_EQ(takeThrown().first, -1);
    }

    // Past the last id there is none to issue: the store is full rather than wrapping round.
    temp.write("home/rms_top.rs", ints({0x7FFFFFFF, 1, 0x7FFFFFFF}));
    temp.write("home/rms_top.rs.2147483647.rs", "t");
    Store* top = open("top", false);
    EXPECT_EQ(top->addRecord(nullptr, 0, 0), 0);
    EXPECT_EQ(takeThrown().first, CID_javax_microedition_rms_RecordStoreFullException);
    EXPECT_EQ(hostFile("rms_top.rs"), ints({0x7FFFFFFF, 1, 0x7FFFFFFF}));

    temp.write("home/rms_big.rs", ints({1, 1, 1}));
    temp.write("home/rms_big.rs.1.rs", std::string(Store::kMaxRecordBytes + 1, 'x'));
    Store* big = open("big", false);
    EXPECT_EQ(big->getRecord(1), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(kStoreError, std::string("Record too large")));
    EXPECT_EQ(big->getRecord_3(1, Runtime::newByteArray(Store::kMaxRecordBytes + 8), 0), 0);
    EXPECT_EQ(big->addRecord(nullptr, 0, Store::kMaxRecordBytes + 1), 0);
    EXPECT_EQ(takeThrown(), std::make_pair(static_cast<int>(CID_javax_microedition_rms_RecordStoreFullException),
                                           std::string("Record store full")));
    // An offset or length outside the data writes nothing, and the store is as it was.
    EXPECT_EQ(big->addRecord(bytes("abc"), 2, 2), 0);
    EXPECT_EQ(takeThrown().first, kStoreError);
    big->setRecord(1, bytes("abc"), -1, 1);
    EXPECT_EQ(takeThrown().first, kStoreError);
    EXPECT_EQ(big->getNextRecordID(), 2);
    EXPECT_EQ(hostFile("rms_big.rs"), ints({1, 1, 1}));
    EXPECT_EQ(hostFile("rms_big.rs.1.rs").size(), static_cast<size_t>(Store::kMaxRecordBytes + 1));
}

// Each file is replaced whole: a temporary beside it, synced, renamed, the folder synced; a write
// that fails raises RecordStoreException (literal 122) and leaves files and ids as they were.
TEST_F(StoreTest, WritesAreAtomicAndFailuresAreReported) {
    std::vector<std::string> steps;
    platform::setFileFaults({.onCommitStep = [&](const char* step) { steps.emplace_back(step); }});
    Store* s = open("disk");
    EXPECT_EQ(add(s, "first"), 1);
    const std::vector<std::string> oneFile{"fsync file", "rename", "fsync folder"};
    std::vector<std::string> twoFiles = oneFile;
    twoFiles.insert(twoFiles.end(), oneFile.begin(), oneFile.end());
    EXPECT_EQ(steps, twoFiles);  // the record, then the index
    EXPECT_EQ(add(s, "second"), 2);
    const std::string index = hostFile("rms_disk.rs");

    struct Case {
        const char* what;
        platform::FileFaults faults;
    };
    const Case cases[] = {
        {"full disk at once", {.writeBudget = 0}},
        {"full disk inside the record", {.writeBudget = 3}},
        {"full disk inside the index", {.writeBudget = 6}},
        {"no file can be opened", {.failOpens = 100}},
        {"fsync fails", {.failFsync = true}},
        {"close fails", {.failClose = true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::setFileFaults(c.faults);
        const bool indexOnly = c.faults.writeBudget == 6;  // the record's 5 bytes fit, the index's do not
        s->setRecord(1, bytes("newer"), 0, 5);
        EXPECT_EQ(takeThrown(), std::make_pair(kStoreError, std::string("Record store write failed")));

        platform::setFileFaults(c.faults);
        EXPECT_EQ(add(s, "third"), 0);
        EXPECT_EQ(takeThrown(), std::make_pair(kStoreError, std::string("Record store write failed")));
        platform::setFileFaults(c.faults);
        s->deleteRecord(2);
        EXPECT_EQ(takeThrown(), std::make_pair(kStoreError, std::string("Record store write failed")));

        platform::setFileFaults({});
        EXPECT_EQ(s->getNumRecords(), 2);
        EXPECT_EQ(s->getNextRecordID(), 3);
        EXPECT_EQ(hostFile("rms_disk.rs"), index);
        EXPECT_EQ(text(s->getRecord(2)), "second");
        EXPECT_EQ(text(s->getRecord(1)), indexOnly ? "newer" : "first");
        s->setRecord(1, bytes("first"), 0, 5);
        ASSERT_EQ(takeThrown().first, -1);
    }
    // Still writable after every failure, and no temporary left behind.
    EXPECT_EQ(add(s, "third"), 3);
    EXPECT_EQ(text(open("disk", false)->getRecord(3)), "third");
    for (const auto& entry : std::filesystem::directory_iterator(temp.path() / "home"))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(StoreTest, EnumerationIsALiveCursorOverTheIds) {
    Store* s = open("walk");
    for (const char* r : {"a", "b", "c", "d"}) add(s, r);
    s->deleteRecord(2);
    // The test reaches the enumerations through their interface, a pointer into the object that the
    // collector's stack scan does not count, so it holds each in a root slot.
    Object* held[2] = {};
    objectManager().addRoot(&held[0]);
    objectManager().addRoot(&held[1]);
    auto* impl = s->enumerateRecords();
    held[0] = impl;
    ASSERT_NE(impl, nullptr);
    auto* e = static_cast<javax_microedition_rms_RecordEnumeration*>(
        impl->getInterface(CID_javax_microedition_rms_RecordEnumeration));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(impl->getInterface(CID_java_util_Enumeration), nullptr);

    EXPECT_EQ(e->numRecords(), 3);
    EXPECT_FALSE(e->hasPreviousElement());
    EXPECT_EQ(e->nextRecordId(), 1);
    EXPECT_EQ(e->previousRecordId(), 3);  // the element at the cursor, not the one just returned
    EXPECT_EQ(e->nextRecordId(), 1);
    EXPECT_EQ(e->nextRecordId(), 3);
    EXPECT_EQ(e->nextRecordId(), 4);
    EXPECT_FALSE(e->hasNextElement());
    EXPECT_EQ(e->nextRecordId(), 0);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("3")));
    EXPECT_EQ(e->nextRecord(), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("3")));

    e->reset();
    EXPECT_FALSE(e->hasPreviousElement());
    EXPECT_EQ(text(e->nextRecord()), "a");
    EXPECT_TRUE(e->hasPreviousElement());
    EXPECT_EQ(text(e->previousRecord()), "c");
    EXPECT_EQ(e->previousRecordId(), 1);
    EXPECT_EQ(e->previousRecordId(), 0);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("-1")));
    EXPECT_EQ(e->previousRecord(), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("-1")));

    // Live: an add shows at once; nothing else changes with keepUpdated or rebuild.
    e->reset();
    add(s, "e");
    EXPECT_EQ(e->numRecords(), 4);
    e->keepUpdated(true);
    e->rebuild();
    EXPECT_FALSE(e->isKeptUpdated());
    e->destroy();
    for (int id : {1, 3, 4, 5}) EXPECT_EQ(e->nextRecordId(), id);

    auto* emptyImpl = open("void")->enumerateRecords();
    held[1] = emptyImpl;
    auto* none = static_cast<javax_microedition_rms_RecordEnumeration*>(
        emptyImpl->getInterface(CID_javax_microedition_rms_RecordEnumeration));
    EXPECT_EQ(none->numRecords(), 0);
    EXPECT_FALSE(none->hasNextElement());
    EXPECT_EQ(none->nextRecord(), nullptr);
    EXPECT_EQ(takeThrown(), std::make_pair(kInvalidId, std::string("0")));
    objectManager().removeRoot(&held[1]);
    objectManager().removeRoot(&held[0]);
}

TEST_F(StoreTest, DeleteRecordStoreEmptiesEverything) {
    Store* s = open("gone");
    add(s, "x");
    add(s, "y");
    Store::deleteRecordStore(str("GONE"));
    EXPECT_EQ(takeThrown().first, -1);
    EXPECT_EQ(hostFile("rms_gone.rs"), "");
    EXPECT_EQ(hostFile("rms_gone.rs.1.rs"), "");
    EXPECT_EQ(hostFile("rms_gone.rs.2.rs"), "");
    Store* again = open("gone", false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getNumRecords(), 0);
    EXPECT_EQ(add(again, "z"), 1);
    Store::deleteRecordStore(str("never"));
    EXPECT_EQ(takeThrown().first, CID_javax_microedition_rms_RecordStoreNotFoundException);
}

}  // namespace

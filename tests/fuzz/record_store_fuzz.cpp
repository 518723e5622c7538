// libFuzzer target for a record store's files, which are untrusted: the first input byte says how
// many of the following bytes are the index file; the rest is record 1's file (and, cut in two,
// record 2's). The store is opened and walked. Invariants checked: nothing stays pending after a
// caught store error, no more ids are held than the index has room for, the last id issued is at
// least every id held, and closing a store read from disk leaves its index as it was.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

using Store = javax_microedition_rms_RecordStore;

std::filesystem::path g_home;

// The store literals as shipped (path pieces 119-123, messages 118, 122, 351, 352).
void installPool() {
    const std::pair<jint, const char*> literals[] = {{118, "Record store full"}, {119, "\\"}, {120, "rms_"},
                                                     {121, ".rs"}, {122, "Record store write failed"}, {123, "."},
                                                     {351, "Record too large"}, {352, "Record read failed"}};
    ObjectArray* pool = Runtime::newObjectArray(CID_String, 353);
    if (!pool) __builtin_trap();
    Runtime::setConstantPool(pool);
    for (jint i = 0; i < pool->length; ++i) {
        const char* text = "";
        for (const auto& [index, literal] : literals)
            if (index == i) text = literal;
        String* s = String::fromCString(text);
        if (!s) __builtin_trap();
        s->setCollectable(false);
        pool->elements()[i] = s;
    }
}

ObjectManager* start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    auto* manager = new ObjectManager();
    std::string pattern = (std::filesystem::temp_directory_path() / "brindlex-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) __builtin_trap();
    g_home = pattern;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_home, ec);
    });
    platform::setHomeFolder(g_home);
    platform::setDataFile(g_home / "data.bar");
    installPool();
    return manager;
}

void put(const char* name, const uint8_t* bytes, size_t n) {
    std::ofstream(g_home / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(n));
}

std::string get(const char* name) {
    std::ifstream in(g_home / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void dropStoreError() {
    Object* e = Runtime::getPendingException();
    if (!e) return;
    // Only the store's own exceptions may come out of a read.
    const jint id = e->classId();
    if (id != CID_javax_microedition_rms_RecordStoreException && id != CID_javax_microedition_rms_InvalidRecordIDException)
        __builtin_trap();
    Runtime::clearPendingException();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ObjectManager* manager = start();
    (void)manager;
    if (size < 1 || size > 0x10000) return 0;
    const size_t indexBytes = std::min<size_t>(data[0], size - 1);
    const uint8_t* index = data + 1;
    const uint8_t* rest = index + indexBytes;
    const size_t restBytes = size - 1 - indexBytes;
    put("rms_f.rs", index, indexBytes);
    put("rms_f.rs.1.rs", rest, restBytes / 2);
    put("rms_f.rs.2.rs", rest + restBytes / 2, restBytes - restBytes / 2);

    Store* store = Store::openRecordStore_2(String::fromCString("f"), 0);
    if (Runtime::pending() || !store) __builtin_trap();
    const jint count = store->getNumRecords();
    if (indexBytes < 8 ? count != 0 : count > static_cast<jint>((indexBytes - 8) / 4)) __builtin_trap();
    for (jint i = 0; i < count; ++i) {
        auto* boxed = static_cast<java_lang_Integer*>(store->recordIds->elementAt(i));
        if (!boxed || boxed->intValue() > store->lastRecordId) __builtin_trap();
        ByteArray* bytes = store->getRecord(boxed->intValue());
        dropStoreError();
        if (bytes && bytes->length > Store::kMaxRecordBytes) __builtin_trap();
        ByteArray* buffer = Runtime::newByteArray(16);
        if (buffer) {
            const jint copied = store->getRecord_3(boxed->intValue(), buffer, 3);
            if (copied < 0 || copied > 13) __builtin_trap();
        }
        dropStoreError();
    }
    (void)store->getSize();
    if (Runtime::pending()) __builtin_trap();
    const std::string before = get("rms_f.rs");
    store->closeRecordStore();
    if (Runtime::pending() || get("rms_f.rs") != before) __builtin_trap();
    return 0;
}

// cGame's record-store layer: open, close, read and write the save record of a named store.
// Store errors (RecordStoreException and its subclasses) are caught here, a failed write or close logged;
// anything else stays pending for the caller and leaves the store open.
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "game/cgame.h"
#include "platform/file_paths.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/string.h"

namespace {

// Call sites 0 and 1 reach the store; its errors are caught, others are not.
const TryEntry kStoreTry[] = {{CID_javax_microedition_rms_RecordStoreException, 0, 2}, {0, 0, 0}};

// Record 1, or in a store that lacks it the newest record (where rmsWrite added the save); 0 when
// the store holds no record.
jint saveRecordId(javax_microedition_rms_RecordStore* store) {
    if (store->hasRecord(1)) return 1;
    const jint count = store->getNumRecords();
    if (count == 0) return 0;
    auto* newest = static_cast<java_lang_Integer*>(store->recordIds->elementAt(count - 1));
    return newest ? newest->intValue() : 0;
}

}  // namespace

void cGame::rmsOpen(String* name) { s_saveStore = javax_microedition_rms_RecordStore::openRecordStore_2(name, 1); }

void cGame::rmsClose() {
    if (!s_saveStore) return;
    s_saveStore->closeRecordStore();
    // Closing writes the store's index: a failure is said with the store's error, and the game goes on.
    if (Object* error = Runtime::getPendingException()) {
        Runtime::clearPendingException();
        String* what = error->toString();
        Log::warn("the save store could not be closed in %s: %s", platform::homeFolder().c_str(),
                  what ? what->toCString().c_str() : "store error");
    }
    s_saveStore = nullptr;
}

ByteArray* cGame::rmsRead(String* name) {
    ByteArray* data = nullptr;
    rmsOpen(name);
    BX_CHECK_SITE(0);
    BX_RETURN_IF_NULL(s_saveStore, nullptr);
    if (const jint id = saveRecordId(s_saveStore); id != 0) {
        data = s_saveStore->getRecord(id);
        BX_CHECK_SITE(1);
    }
    rmsClose();
    return data;
dispatch:
    if (Runtime::findExceptionHandler(kStoreTry) == 0) rmsClose();
    return nullptr;
}

void cGame::rmsWrite(String* name, ByteArray* data, jint off, jint len) {
    rmsOpen(name);
    BX_CHECK_SITE(0);
    BX_RETURN_IF_NULL(s_saveStore);
    if (s_saveStore->hasRecord(1)) {
        s_saveStore->setRecord(1, data, off, len);
    } else {
        (void)s_saveStore->addRecord(data, off, len);
    }
    BX_CHECK_SITE(1);
    rmsClose();
    return;
dispatch:
    // A save that did not land is said in the log, naming the store error; the game goes on.
    Object* error = Runtime::getPendingException();
    if (Runtime::findExceptionHandler(kStoreTry) != 0) return;
    String* what = error ? error->toString() : nullptr;
    Log::warn("the game could not be saved in %s: %s", platform::homeFolder().c_str(),
              what ? what->toCString().c_str() : "store error");
    rmsClose();
}

java_io_InputStream* cGame::rmsReadStream(String* name) {
    s_saveStreamData = rmsRead(name);
    if (!s_saveStreamData) return nullptr;
    return java_io_ByteArrayInputStream::over(s_saveStreamData);
}

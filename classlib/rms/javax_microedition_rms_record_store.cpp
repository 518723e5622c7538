// RecordStore: paths, the index, record files and the operations over them. Every file write goes
// through FileOutputStream (temporary file, fsync, rename, folder fsync) and its outcome is checked.
#include "classlib/rms/javax_microedition_rms_record_store.h"

#include <initializer_list>

#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/java_io/file_input_stream.h"
#include "classlib/java_io/file_output_stream.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/rms/javax_microedition_rms_record_enumeration_impl.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(javax_microedition_rms_RecordStore, indexPath),
                          BX_REF_FIELD(javax_microedition_rms_RecordStore, recordIds)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_rms_RecordStore, kRefs);

// Constant-pool literals of the stores.
constexpr jint kSuiteName = 1;
constexpr jint kFullMessage = 118;
constexpr jint kPieceA = 119;  // between folder names
constexpr jint kPieceB = 120;  // before a store name
constexpr jint kPieceC = 121;  // after a store name and a record id
constexpr jint kWriteFailedMessage = 122;
constexpr jint kPieceD = 123;  // between the index path and a record id
constexpr jint kTooLargeMessage = 351;
constexpr jint kReadFailedMessage = 352;

// The characters a store path may not hold, each replaced by '_'.
constexpr jchar kReplacedChars[] = {'/', ':', '*', '?', '<', '>', '|'};

String* join(std::initializer_list<String*> parts) {
    String* out = String::fromCString("");
    for (String* part : parts) {
        if (!out || !part) return nullptr;
        out = out->concat(part);
    }
    return out;
}

void raiseStoreError(jint literal) {
    Runtime::raise<javax_microedition_rms_RecordStoreException>(Runtime::ldcString(literal));
}

void raiseFull() {
    Runtime::raise<javax_microedition_rms_RecordStoreFullException>(Runtime::ldcString(kFullMessage));
}

void raiseInvalidId(jint id) { Runtime::raise<javax_microedition_rms_InvalidRecordIDException>(String::valueOfInt(id)); }

bool isEmpty(String* s) { return !s || s->length() == 0; }

// The room the device reports for stores (it never runs short: a full disk shows as a failed write).
jint freeSpace(String* path) {
    javax_microedition_io_File* file = javax_microedition_io_File::make(path);
    return file ? file->getFreeSpace() : 0;
}

}  // namespace

String* javax_microedition_rms_RecordStore::indexPathFor(String* name, String* vendor, String* suite) {
    BX_RETURN_IF_NULL(name, nullptr);
    String* a = Runtime::ldcString(kPieceA);
    String* tail = join({a, Runtime::ldcString(kPieceB), name, Runtime::ldcString(kPieceC)});
    String* path = isEmpty(vendor) || isEmpty(suite)
                       ? join({Runtime::getInstallFolder(), tail})
                       : join({Runtime::getProgramFilesFolder(), a, vendor, a, suite, tail});
    for (jchar c : kReplacedChars) {
        if (!path) return nullptr;
        path = path->replace(c, '_');
    }
    return path;
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStoreImpl(String* name,
                                                                                           String* vendor,
                                                                                           String* suite,
                                                                                           jboolean create) {
    String* path = indexPathFor(name, vendor, suite);
    if (!path) return nullptr;
    const jboolean exists = javax_microedition_io_File::fileExists(path) != 0;
    if (!exists && !create) {
        Runtime::raise<javax_microedition_rms_RecordStoreNotFoundException>(path);
        return nullptr;
    }
    return Runtime::make<javax_microedition_rms_RecordStore>(path, exists);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore_2(String* name,
                                                                                         jboolean create) {
    return openRecordStore_4(name, create, 0, 1);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore_4(String* name,
                                                                                         jboolean create, jint,
                                                                                         jboolean) {
    String* suite = Runtime::ldcString(kSuiteName);
    return openRecordStoreImpl(name, suite, suite, create);
}

javax_microedition_rms_RecordStore* javax_microedition_rms_RecordStore::openRecordStore_3(String* name,
                                                                                         String* vendor,
                                                                                         String* suite) {
    return openRecordStoreImpl(name, vendor, suite, 0);
}

void javax_microedition_rms_RecordStore::init(String* path, jboolean exists) {
    recordIds = Runtime::make<java_util_Vector>(10, 0);
    openFlag = 1;
    indexPath = path;
    lastRecordId = 0;
    indexOnDisk = exists;
    if (exists) {
        readIndex();
        return;
    }
    if (freeSpace(path) < 0) raiseFull();
}

// The index is untrusted: reading stops at its end, and the last id issued is raised to the largest
// id listed so a damaged index can never make an add reuse a held id.
void javax_microedition_rms_RecordStore::readIndex() {
    FileInputStream* file = javax_microedition_io_File::openFileInputStream(indexPath);
    if (!file) return;
    java_io_DataInputStream* in = java_io_DataInputStream::over(file);
    if (in && recordIds) {
        const jint last = in->readInt();
        if (!Runtime::pending()) {
            lastRecordId = last;
            const jint count = in->readInt();
            for (jint i = 0; i < count && !Runtime::pending(); ++i) {
                const jint id = in->readInt();
                if (Runtime::pending()) break;
                java_lang_Integer* boxed = Runtime::make<java_lang_Integer>(id);
                if (!boxed) break;
                recordIds->addElement(boxed);
                if (id > lastRecordId) lastRecordId = id;
            }
        }
    }
    Runtime::clearPendingException();
    file->close();
}

jint javax_microedition_rms_RecordStore::getNumRecords() { return recordIds ? recordIds->size() : 0; }

bool javax_microedition_rms_RecordStore::hasRecord(jint id) {
    bool found = false;
    for (jint i = 0; i < getNumRecords(); ++i) {
        auto* boxed = static_cast<java_lang_Integer*>(recordIds->elementAt(i));
        if (boxed && boxed->intValue() == id) found = true;
    }
    return found;
}

bool javax_microedition_rms_RecordStore::checkRecord(jint id) {
    if (hasRecord(id)) return true;
    raiseInvalidId(id);
    return false;
}

javax_microedition_io_File* javax_microedition_rms_RecordStore::recordFile(jint id) {
    String* path = join({indexPath, Runtime::ldcString(kPieceD), String::valueOfInt(id), Runtime::ldcString(kPieceC)});
    return path ? javax_microedition_io_File::make(path) : nullptr;
}

void javax_microedition_rms_RecordStore::writeIndex(java_io_DataOutputStream* out) {
    BX_RETURN_IF_NULL(out);
    out->writeInt(lastRecordId);
    BX_RETURN_IF_PENDING();
    out->writeInt(getNumRecords());
    BX_RETURN_IF_PENDING();
    for (jint i = 0; i < getNumRecords(); ++i) {
        auto* boxed = static_cast<java_lang_Integer*>(recordIds->elementAt(i));
        BX_RETURN_IF_PENDING();
        const jint id = boxed ? boxed->intValue() : 0;
        for (int shift = 24; shift >= 0; shift -= 8) {
            out->write(jt::ushr(id, shift) & 0xFF);
            BX_RETURN_IF_PENDING();
        }
    }
}

void javax_microedition_rms_RecordStore::writeStoreFile() {
    javax_microedition_io_File* file = javax_microedition_io_File::make(indexPath);
    FileOutputStream* stream = file ? file->openOutputStream() : nullptr;
    java_io_DataOutputStream* out = stream ? java_io_DataOutputStream::over(stream) : nullptr;
    bool written = false;
    if (out) {
        writeIndex(out);
        // A stream left uncommitted after a failure is discarded by the collector.
        written = !Runtime::pending() && stream->commit();
    }
    if (written) {
        indexOnDisk = 1;
        return;
    }
    Runtime::clearPendingException();
    Log::error("the index of record store %s could not be written", indexPath ? indexPath->toCString().c_str() : "?");
    raiseStoreError(kWriteFailedMessage);
}

void javax_microedition_rms_RecordStore::closeRecordStore() {
    if (!indexOnDisk) writeStoreFile();
}

bool javax_microedition_rms_RecordStore::writeRecordFile(jint id, ByteArray* data, jint offset, jint numBytes) {
    if (data && (offset < 0 || numBytes < 0 || offset > data->length - numBytes)) return false;
    javax_microedition_io_File* file = recordFile(id);
    FileOutputStream* stream = file ? file->openOutputStream() : nullptr;
    if (!stream) return false;
    if (data && numBytes > 0) stream->write_3(data, offset, numBytes);
    if (Runtime::pending()) {
        Runtime::clearPendingException();
        return false;
    }
    return stream->commit();
}

jint javax_microedition_rms_RecordStore::addRecord(ByteArray* data, jint offset, jint numBytes) {
    // After id 2147483647 no new id is left: wrapping would issue ids that may be held.
    if (freeSpace(indexPath) < numBytes || numBytes > kMaxRecordBytes || lastRecordId == INT32_MAX) {
        raiseFull();
        return 0;
    }
    BX_RETURN_IF_NULL(recordIds, 0);
    const jint previousLast = lastRecordId;
    lastRecordId = jt::add(previousLast, 1);
    const jint id = lastRecordId;
    java_lang_Integer* boxed = Runtime::make<java_lang_Integer>(id);
    if (boxed) recordIds->addElement(boxed);
    if (!boxed || Runtime::pending() || !writeRecordFile(id, data, offset, numBytes)) {
        Runtime::clearPendingException();
        if (boxed) (void)recordIds->removeElement(boxed);
        lastRecordId = previousLast;
        raiseStoreError(kWriteFailedMessage);
        return 0;
    }
    writeStoreFile();
    if (Runtime::pending()) {
        // Unlisted on disk, so unlisted here; the next add overwrites its record file.
        Object* failure = Runtime::getPendingException();
        Runtime::clearPendingException();
        (void)recordIds->removeElement(boxed);
        lastRecordId = previousLast;
        Runtime::throwException(failure);
        return 0;
    }
    return id;
}

void javax_microedition_rms_RecordStore::setRecord(jint id, ByteArray* data, jint offset, jint numBytes) {
    if (!checkRecord(id)) return;
    const jint old = getRecordSize(id);
    if (freeSpace(indexPath) < jt::sub(numBytes, old) || numBytes > kMaxRecordBytes) return raiseFull();
    if (!writeRecordFile(id, data, offset, numBytes)) return raiseStoreError(kWriteFailedMessage);
    writeStoreFile();
}

void javax_microedition_rms_RecordStore::deleteRecord(jint id) {
    BX_RETURN_IF_NULL(recordIds);
    for (jint i = recordIds->size() - 1; i >= 0; --i) {
        Object* element = recordIds->elementAt(i);
        auto* boxed = static_cast<java_lang_Integer*>(element);
        if (!boxed || boxed->intValue() != id) continue;
        recordIds->removeElementAt(i);
        writeStoreFile();
        if (Runtime::pending()) {
            // Still listed on disk: keep it listed here too.
            Object* failure = Runtime::getPendingException();
            Runtime::clearPendingException();
            recordIds->insertElementAt(element, i);
            Runtime::throwException(failure);
            return;
        }
        javax_microedition_io_File* file = recordFile(id);
        if (!file || file->create() == 0) Log::error("record %d is deleted but its file could not be emptied", id);
        return;
    }
}

jint javax_microedition_rms_RecordStore::getRecordSize(jint id) {
    if (!checkRecord(id)) return 0;
    javax_microedition_io_File* file = recordFile(id);
    return file ? file->fileSize() : 0;
}

jint javax_microedition_rms_RecordStore::getSize() {
    jint total = 0;
    for (jint i = 0; i < getNumRecords(); ++i) {
        auto* boxed = static_cast<java_lang_Integer*>(recordIds->elementAt(i));
        if (!boxed) continue;
        const jint size = getRecordSize(boxed->intValue());
        if (Runtime::pending()) {
            Runtime::clearPendingException();
            continue;
        }
        total = jt::add(total, size);
    }
    return total;
}

jint javax_microedition_rms_RecordStore::readRecordFile(jint id, ByteArray* buffer, jint offset) {
    javax_microedition_io_File* file = recordFile(id);
    if (!file || !buffer) return 0;
    FileInputStream* stream = file->openInputStream();
    if (!stream) return 0;
    const jint size = stream->size;
    jint copied = 0;
    if (size >= 0 && size <= kMaxRecordBytes && offset >= 0 && offset <= buffer->length - size) {
        java_io_DataInputStream* in = java_io_DataInputStream::over(stream);
        if (in) in->readFully(buffer, offset, size);
        copied = in && !Runtime::pending() ? size : 0;
        Runtime::clearPendingException();
    }
    stream->close();
    return copied;
}

ByteArray* javax_microedition_rms_RecordStore::loadRecordFile(jint id) {
    javax_microedition_io_File* file = recordFile(id);
    if (!file || !file->exists()) return nullptr;
    const jint size = file->fileSize();
    if (size > kMaxRecordBytes) {
        raiseStoreError(kTooLargeMessage);
        return nullptr;
    }
    ByteArray* bytes = Runtime::newByteArray(size);
    if (!bytes) return nullptr;
    // An empty record is an empty array; otherwise every byte must arrive.
    if (size > 0 && readRecordFile(id, bytes, 0) != size) {
        raiseStoreError(kReadFailedMessage);
        return nullptr;
    }
    return bytes;
}

ByteArray* javax_microedition_rms_RecordStore::getRecord(jint id) {
    if (!checkRecord(id)) return nullptr;
    return loadRecordFile(id);
}

jint javax_microedition_rms_RecordStore::getRecord_3(jint id, ByteArray* buffer, jint offset) {
    if (!checkRecord(id)) return 0;
    return readRecordFile(id, buffer, offset);
}

javax_microedition_rms_RecordEnumerationImpl* javax_microedition_rms_RecordStore::enumerateRecords() {
    return Runtime::make<javax_microedition_rms_RecordEnumerationImpl>(this);
}

ObjectArray* javax_microedition_rms_RecordStore::filterFileList(javax_microedition_io_File* folder, String* prefix,
                                                               String* suffix) {
    java_util_Vector* names = javax_microedition_io_File::listFiles(folder ? folder->path : nullptr);
    BX_RETURN_IF_NULL(names, nullptr);
    for (jint i = names->size() - 1; i >= 0; --i) {
        auto* name = static_cast<String*>(names->elementAt(i));
        if (!name || !name->startsWith(prefix) || !name->endsWith(suffix)) names->removeElementAt(i);
    }
    ObjectArray* kept = Runtime::newObjectArray(CID_String, names->size());
    if (kept) names->copyInto(kept);
    return kept;
}

ObjectArray* javax_microedition_rms_RecordStore::listRecordStores() {
    String* prefix = Runtime::ldcString(kPieceB);
    String* suffix = Runtime::ldcString(kPieceC);
    ObjectArray* names = filterFileList(javax_microedition_io_File::make(Runtime::getInstallFolder()), prefix, suffix);
    if (!names) return nullptr;
    for (jint i = 0; i < names->length; ++i) {
        auto* name = static_cast<String*>(names->elements()[i]);
        if (name) names->elements()[i] = name->substring(prefix->length(), name->length() - suffix->length());
    }
    return names;
}

void javax_microedition_rms_RecordStore::deleteAllRecordsAndFile() {
    while (getNumRecords() > 0) {
        auto* boxed = static_cast<java_lang_Integer*>(recordIds->elementAt(getNumRecords() - 1));
        BX_RETURN_IF_NULL(boxed);
        deleteRecord(boxed->intValue());
        BX_RETURN_IF_PENDING();
    }
    if (javax_microedition_io_File::createFile(indexPath) == 0) raiseStoreError(kWriteFailedMessage);
}

void javax_microedition_rms_RecordStore::deleteRecordStore(String* name) {
    javax_microedition_rms_RecordStore* store = openRecordStore_2(name, 0);
    BX_RETURN_IF_PENDING();
    BX_RETURN_IF_NULL(store);
    store->deleteAllRecordsAndFile();
}

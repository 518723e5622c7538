// RecordStore: paths, the index, record files and the operations over them. Every file write goes
// through FileOutputStream (temporary file, fsync, rename, folder fsync) and its outcome is checked.
#include "classlib/rms/javax_microedition_rms_record_store.h"

#include <charconv>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

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
#include "platform/host_files.h"
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

namespace {

// An index as read: the last id issued and the ids listed.
struct IndexContents {
    jint lastId = 0;
    std::vector<jint> ids;
};

jint bigEndianInt(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<jint>((static_cast<uint32_t>(bytes[at]) << 24) | (static_cast<uint32_t>(bytes[at + 1]) << 16) |
                             (static_cast<uint32_t>(bytes[at + 2]) << 8) | bytes[at + 3]);
}

// The ids of the record files beside an index ("<index>.<id>.rs", id a plain positive decimal) and
// whether each holds bytes. A file name that is anything else is not a record of this store.
std::map<jint, bool> recordFilesOf(const std::string& indexPath) {
    std::map<jint, bool> records;
    const auto host = platform::hostPathFor(indexPath);
    if (!host) return records;
    const std::string prefix = host->filename().string() + ".";
    const std::string suffix = ".rs";
    for (const std::string& name : platform::regularFilesStartingWith(indexPath + ".")) {
        if (name.size() <= prefix.size() + suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        jint id = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
        if (ec != std::errc() || end != digits.data() + digits.size() || id <= 0 || digits[0] == '0') continue;
        std::error_code sizeError;
        const auto size = std::filesystem::file_size(host->parent_path() / name, sizeError);
        records[id] = !sizeError && size > 0;
    }
    return records;
}

// Why an index cannot be the store's, or empty when it can: its length must be its count's, every id
// issued (1..the last id) and listed once with its record file present, and the last id issued the
// newest record file's (or one below it, where an add failed before the index was written).
std::string damageOf(const std::vector<uint8_t>& bytes, const std::map<jint, bool>& files, IndexContents& index) {
    if (bytes.empty()) return {};  // a deleted store's emptied index
    if (bytes.size() < 8) return "shorter than its header";
    index.lastId = bigEndianInt(bytes, 0);
    const jint count = bigEndianInt(bytes, 4);
    if (count < 0 || static_cast<uint64_t>(count) * 4 + 8 != bytes.size())
        return "its count of " + std::to_string(count) + " does not match its " + std::to_string(bytes.size()) + " bytes";
    std::set<jint> seen;
    for (jint i = 0; i < count; ++i) {
        const jint id = bigEndianInt(bytes, 8 + 4 * static_cast<size_t>(i));
        if (id < 1 || id > index.lastId) return "it lists id " + std::to_string(id) + " beyond the ids issued";
        if (!seen.insert(id).second) return "it lists id " + std::to_string(id) + " twice";
        if (!files.count(id)) return "the file of record " + std::to_string(id) + " is missing";
        index.ids.push_back(id);
    }
    const jint newestFile = files.empty() ? 0 : files.rbegin()->first;
    if (index.lastId < 0 || index.lastId > newestFile || static_cast<jlong>(newestFile) > static_cast<jlong>(index.lastId) + 1)
        return "its last id " + std::to_string(index.lastId) + " does not match the record files";
    return {};
}

}  // namespace

// The index is untrusted. One that cannot be opened or read gives an empty store and stays as it
// is; one whose contents are damaged is rebuilt from the record files present (those holding bytes
// are the records; the newest file's id is the last issued, so no add reuses a file) and written
// back when the store closes.
void javax_microedition_rms_RecordStore::readIndex() {
    javax_microedition_io_File* file = indexPath ? javax_microedition_io_File::make(indexPath) : nullptr;
    ByteArray* read = file ? file->readAllBytes() : nullptr;
    Runtime::clearPendingException();
    if (!read || !recordIds) return;
    const auto* first = reinterpret_cast<const uint8_t*>(read->elements());
    const std::vector<uint8_t> bytes(first, first + read->length);
    const std::string path = indexPath->toCString();
    const std::map<jint, bool> files = recordFilesOf(path);
    IndexContents index;
    const std::string damage = damageOf(bytes, files, index);
    if (!damage.empty()) {
        index = IndexContents{};
        for (const auto& [id, holdsBytes] : files) {
            if (holdsBytes) index.ids.push_back(id);
            index.lastId = id;
        }
        const auto host = platform::hostPathFor(path);
        Log::warn("record store %s: the index is damaged (%s); rebuilt from %zu record file(s)",
                  host ? host->c_str() : path.c_str(), damage.c_str(), index.ids.size());
        indexOnDisk = 0;
    }
    lastRecordId = index.lastId;
    for (const jint id : index.ids) {
        java_lang_Integer* boxed = Runtime::make<java_lang_Integer>(id);
        if (!boxed) break;
        recordIds->addElement(boxed);
    }
    Runtime::clearPendingException();
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
    const auto host = indexPath ? platform::hostPathFor(indexPath->toCString()) : std::nullopt;
    Log::error("the index of record store %s could not be written", host ? host->c_str() : "?");
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

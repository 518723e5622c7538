// javax_microedition_rms_RecordStore (class id 110): a record store as plain files in the install
// folder, an index file (last id issued, count, ids) and one file per record holding its bytes.
// The object keeps only the ids; bodies are always read from and written to their files. Every
// change rewrites the whole index. Files are replaced atomically (FileOutputStream), so a crash
// leaves each file old or new, never torn; nothing is ever removed, a delete truncates.
// Invariants: ids are issued in increasing order and never reused (lastRecordId is at least every
// id held); the in-memory ids equal the index on disk after every operation that returns normally.
#pragma once

#include "runtime/jtypes.h"
#include "runtime/object.h"

class ByteArray;
class ObjectArray;
class String;
class java_io_DataOutputStream;
class java_util_Vector;
class javax_microedition_io_File;
class javax_microedition_rms_RecordEnumerationImpl;

class javax_microedition_rms_RecordStore : public Object {
public:
    javax_microedition_rms_RecordStore() { setClassId(CID_javax_microedition_rms_RecordStore); }

    // RecordStore(path, exists): reads the index when it exists (an unreadable one gives an empty
    // store; a damaged one is rebuilt from the record files present, logged, and written at close);
    // a new store writes nothing until its first add or index write.
    void init(String* path, jboolean exists);

    // Slot 6: the sum of the record sizes (the index not counted).
    virtual jint getSize();

    // The opens; every open makes a new, independent object.
    [[nodiscard]] static javax_microedition_rms_RecordStore* openRecordStore_2(String* name, jboolean create);
    [[nodiscard]] static javax_microedition_rms_RecordStore* openRecordStore_4(String* name, jboolean create,
                                                                               jint authmode, jboolean writable);
    [[nodiscard]] static javax_microedition_rms_RecordStore* openRecordStore_3(String* name, String* vendor,
                                                                               String* suite);
    // RecordStoreNotFoundException (message: the index path) when the index is missing and
    // create is false.
    [[nodiscard]] static javax_microedition_rms_RecordStore* openRecordStoreImpl(String* name, String* vendor,
                                                                                 String* suite, jboolean create);
    // The index path of a store (not lower-cased: File lowers it), or null on a null name.
    [[nodiscard]] static String* indexPathFor(String* name, String* vendor, String* suite);
    // Always a String[0]: the folder listing native names no files.
    [[nodiscard]] static ObjectArray* listRecordStores();
    // The names of folder's listing that start with prefix and end with suffix, in listing order.
    [[nodiscard]] static ObjectArray* filterFileList(javax_microedition_io_File* folder, String* prefix,
                                                     String* suffix);
    // Deletes every record and empties the index (the 0-byte index stays).
    static void deleteRecordStore(String* name);

    // Writes fail loudly: RecordStoreException (literal 122) when a record or the index cannot be
    // written; the store then keeps its previous ids and the files their previous bytes. A record
    // above kMaxRecordBytes, or an add after id 2147483647, raises RecordStoreFullException (118).
    jint addRecord(ByteArray* data, jint offset, jint numBytes);
    void setRecord(jint id, ByteArray* data, jint offset, jint numBytes);
    // The index is written before the record file is emptied, so a crash between them leaves the
    // record listed and whole.
    void deleteRecord(jint id);
    // Null when the record file is missing; RecordStoreException (literal 351) for a record file
    // above kMaxRecordBytes, (literal 352) when it cannot be read whole.
    [[nodiscard]] ByteArray* getRecord(jint id);
    // The bytes copied, or 0 when the file is missing, unreadable or larger than the room left.
    jint getRecord_3(jint id, ByteArray* buffer, jint offset);
    jint getRecordSize(jint id);
    [[nodiscard]] jint getNumRecords();
    [[nodiscard]] jint getNextRecordID() { return jt::add(lastRecordId, 1); }
    [[nodiscard]] String* getName() { return indexPath; }
    [[nodiscard]] jint getOpenFlag() const { return openFlag; }
    // Rewrites the index; RecordStoreException (literal 122) when it cannot be written.
    void writeStoreFile();
    // Writes the index only for a store never written yet: every change has already written it, and
    // rewriting after a read that failed would replace a good index with what little was read.
    void closeRecordStore();
    [[nodiscard]] javax_microedition_rms_RecordEnumerationImpl* enumerateRecords();

    [[nodiscard]] bool hasRecord(jint id);
    [[nodiscard]] javax_microedition_io_File* recordFile(jint id);
    jint readRecordFile(jint id, ByteArray* buffer, jint offset);
    [[nodiscard]] ByteArray* loadRecordFile(jint id);
    // True when the record file was replaced by numBytes of data from offset (0 bytes for null).
    [[nodiscard]] bool writeRecordFile(jint id, ByteArray* data, jint offset, jint numBytes);
    void writeIndex(java_io_DataOutputStream* out);
    void deleteAllRecordsAndFile();

    // Records are the game's small saves; a record file above this is refused, never allocated.
    static constexpr jint kMaxRecordBytes = 1 << 20;

    String* indexPath;
    java_util_Vector* recordIds;  // java_lang_Integer, in the order added
    jint lastRecordId;
    jint openFlag;
    jboolean indexOnDisk;  // the index file holds these ids (read at open, or written since)

private:
    void readIndex();
    // Raises InvalidRecordIDException (the id in decimal) and answers false when id is not held.
    [[nodiscard]] bool checkRecord(jint id);
};

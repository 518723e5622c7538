// javax_microedition_io_ResourceInputStream (class id 80): a bounded stream over one entry of the
// archive "data.bar", with its own file handle. The archive index is read once, on the first lookup,
// into the class's statics; an index that is not sound throughout gives no entries.
#pragma once

#include "classlib/java_io/java_io_input_stream.h"

class IntArray;
class ObjectArray;
class String;
class javax_microedition_io_File;

class javax_microedition_io_ResourceInputStream : public java_io_InputStream {
public:
    javax_microedition_io_ResourceInputStream() { setClassId(CID_javax_microedition_io_ResourceInputStream); }

    // ResourceInputStream(in, size): `in` already stands at the entry's first byte.
    void init(java_io_InputStream* in, jint size);

    // -1 once the entry is used up (pos counts the byte before the file is asked for it).
    jint read() override;
    // EOFException once the entry is used up; otherwise at most what is left of the entry.
    jint read_3(ByteArray* b, jint off, jint len) override;
    // Cut to what is left of the entry.
    jlong skip(jlong n) override;
    jint available() override { return size - pos; }
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    bool markSupported() override;

    // The entry `name` (one leading '/' ignored; ASCII letters compared without case; the first
    // match wins) as a new stream, or null.
    [[nodiscard]] static javax_microedition_io_ResourceInputStream* openArchiveEntry(String* name);
    // Reads the index of the archive at Runtime::getDataBarPath into the statics, once.
    static void loadArchiveIndex();
    // Reads the index from `in` (an archive of archiveSize bytes) into the statics, whole or not at
    // all: an index cut short, with a bad name or with an entry outside the archive leaves no
    // entries (quietly). Apart from the file, for tests and fuzzing.
    static void readArchiveIndex(java_io_InputStream* in, jint archiveSize);
    // Forgets the index (statics null): the next lookup reads it again. For tests and
    // shutdown, before the collector goes away.
    static void unloadArchiveIndex();

    java_io_InputStream* in;
    jint size;
    jint pos;

    static javax_microedition_io_File* archiveFile;
    static ObjectArray* entryNames;
    static IntArray* entryOffsets;
    static IntArray* entrySizes;
    // The entries a lookup sees: all of the index, or none.
    static jint entryCount;
};

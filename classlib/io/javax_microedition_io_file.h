// javax_microedition_io_File (class id 76): a virtual phone path, lower-cased (A-Z only) at
// construction. Its natives reach the host only through the platform's path mapper, so a path that
// leaves the install folder opens nothing. No operation raises: failures answer null or 0.
#pragma once

#include <string>

#include "runtime/object.h"

class ByteArray;
class FileInputStream;
class FileOutputStream;
class String;
class java_util_Vector;

class javax_microedition_io_File : public Object {
public:
    javax_microedition_io_File() { setClassId(CID_javax_microedition_io_File); }

    // File(path): stores path.toLowerCase().
    void init(String* path);
    [[nodiscard]] static javax_microedition_io_File* make(String* path);

    // fopen "rb": a new FileInputStream, or null.
    [[nodiscard]] FileInputStream* openInputStream();
    // Creates or replaces the file: a new FileOutputStream whose bytes replace the file's at close
    // (atomically), or null.
    [[nodiscard]] FileOutputStream* openOutputStream();
    // The file's length; 0 when it cannot be opened.
    [[nodiscard]] jint fileSize();
    [[nodiscard]] jint exists();
    // An empty file, made or truncated: 1, or 0 when it cannot be.
    jint create();
    [[nodiscard]] jint getFreeSpace() { return 0x7FFFFFFF; }
    // The whole file as a byte[], or null when it cannot be opened.
    [[nodiscard]] ByteArray* readAllBytes();

    // The narrow form the host sees: each unit cut to its low byte.
    [[nodiscard]] std::string narrowPath() const;

    static FileInputStream* openFileInputStream(String* path);
    static jint fileExists(String* path);
    static jint createFile(String* path);
    // The record stores' folder listing: a new, empty Vector. No folder is read: stores are found by
    // name, never by listing.
    [[nodiscard]] static java_util_Vector* listFiles(String* folder);

    String* path;
};

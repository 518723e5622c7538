// Fixture for the stream and file tests: fresh heaps per test, a temporary home folder and data
// file for the path mapper, and helpers between C++ bytes and byte[] / pending exceptions.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "platform/file_paths.h"
#include "platform/host_files.h"
#include "runtime/array.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"
#include "tests/support/temp_folder.h"

class StreamTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(temp.path() / "data.bar");
    }
    void TearDown() override {
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
        platform::setFileFaults({});
        Runtime::clearPendingException();
        RuntimeTest::TearDown();
    }

    static ByteArray* bytes(std::string_view text) {
        ByteArray* a = Runtime::newByteArray(static_cast<jint>(text.size()));
        if (a && !text.empty()) std::memcpy(a->data, text.data(), text.size());
        return a;
    }
    static std::string text(ByteArray* a, jint n = -1) {
        if (!a) return "<null>";
        if (n < 0) n = a->length;
        return std::string(static_cast<const char*>(a->data), static_cast<size_t>(n));
    }
    static std::string narrow(String* s) {
        if (!s) return "<null>";
        std::string out;
        for (jint i = 0; i < s->length(); ++i) out += static_cast<char>(s->charAt(i));
        return out;
    }
    static java_io_DataInputStream* dataOver(std::string_view text) {
        return java_io_DataInputStream::over(java_io_ByteArrayInputStream::over(bytes(text)));
    }
    // The pending exception's class id (cleared), or -1 when none is pending.
    static int takePending() {
        Object* e = Runtime::getPendingException();
        if (!e) return -1;
        Runtime::clearPendingException();
        return e->classId();
    }

    TempFolder temp;
};

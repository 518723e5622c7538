// Fixture for the record-store and save tests: the stream fixture's temporary home folder, the
// shipped constant pool (the store path pieces and messages are shipped texts), and helpers for
// the host files behind a store.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "tests/classlib/shipped_constants.h"
#include "tests/classlib/stream_fixture.h"

class RecordStoreTest : public StreamTest {
protected:
    void SetUp() override {
        StreamTest::SetUp();
        std::string bin;
        std::string error;
        ASSERT_TRUE(compileShippedConstants(bin, error)) << error;
        Runtime::loadConstantsFrom(java_io_ByteArrayInputStream::over(bytes(bin)));
        ASSERT_FALSE(Runtime::pending());
    }
    void TearDown() override {
        Runtime::setConstantPool(nullptr);
        StreamTest::TearDown();
    }

    static String* str(const char* text) { return String::fromCString(text); }
    // The host file of a store file name in the install folder.
    std::string hostFile(const std::string& name) const { return temp.read("home/" + name); }
    bool hostExists(const std::string& name) const { return std::filesystem::exists(temp.path() / "home" / name); }
    // The pending exception's class id and message (cleared); {-1, ""} when none is pending.
    static std::pair<int, std::string> takeThrown() {
        Object* e = Runtime::getPendingException();
        if (!e) return {-1, ""};
        Runtime::clearPendingException();
        return {e->classId(), narrow(static_cast<java_lang_Throwable*>(e)->getMessage())};
    }
    // Big-endian s32s as bytes.
    static std::string ints(std::initializer_list<int32_t> values) { return ints(std::vector<int32_t>(values)); }
    static std::string ints(const std::vector<int32_t>& values) {
        std::string out;
        for (int32_t v : values)
            for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF);
        return out;
    }
};

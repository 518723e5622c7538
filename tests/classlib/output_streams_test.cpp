#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/java_io/java_io_byte_array_output_stream.h"
#include "classlib/java_io/java_io_console_output_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "classlib/java_io/java_io_print_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "tests/classlib/oracle_fixture.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/classlib/stream_fixture.h"

namespace {

using namespace std::string_literals;

using OutputStreamsTest = StreamTest;

String* units(std::u16string_view text) {
    return String::fromUnits(reinterpret_cast<const jchar*>(text.data()), static_cast<jint>(text.size()));
}

std::string written(java_io_ByteArrayOutputStream* out) {
    ByteArray* b = out->toByteArray();
    return b ? std::string(static_cast<const char*>(b->data), static_cast<size_t>(b->length)) : "<null>";
}

TEST_F(OutputStreamsTest, TypedWritesMatchTheJvmBytes) {
    const DataStreamsOracle oracle = DataStreamsOracle::load();
    ASSERT_EQ(oracle.cases.size(), 17u);
    using W = java_io_DataOutputStream;
    const std::map<std::string, std::function<void(W*)>> writes = {
        {"writeShort_-2", [](W* o) { o->writeShort(-2); }},
        {"writeShort_258", [](W* o) { o->writeShort(258); }},
        {"writeShort_70000", [](W* o) { o->writeShort(70000); }},
        {"writeInt_258", [](W* o) { o->writeInt(258); }},
        {"writeInt_-2", [](W* o) { o->writeInt(-2); }},
        {"writeInt_min", [](W* o) { o->writeInt(INT32_MIN); }},
        {"writeLong_1", [](W* o) { o->writeLong(1); }},
        {"writeLong_-2", [](W* o) { o->writeLong(-2); }},
        {"writeLong_0123456789abcdef", [](W* o) { o->writeLong(0x0123456789ABCDEFLL); }},
        {"writeByte_-1", [](W* o) { o->writeByte(-1); }},
        {"writeBoolean_true", [](W* o) { o->writeBoolean(1); }},
        {"writeChar_fffe", [](W* o) { o->writeChar(0xFFFE); }},
        {"writeChars_Ab", [](W* o) { o->writeChars(String::fromCString("Ab")); }},
        {"writeUTF_a_e_acute", [](W* o) { o->writeUTF(units(u"a\u00E9")); }},
        {"writeUTF_nul", [](W* o) { o->writeUTF(units(std::u16string(1, u'\0'))); }},
        {"writeUTF_empty", [](W* o) { o->writeUTF(units(u"")); }},
        {"writeUTF_mixed", [](W* o) { o->writeUTF(units(u"x\u0000\u007F\u0080\u07FF\u0800\u20AC\uFFFF\xD800"s)); }},
    };
    for (const auto& [name, want] : oracle.cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(writes.count(name));
        auto* bytesOut = new java_io_ByteArrayOutputStream();
        bytesOut->init();
        writes.at(name)(W::over(bytesOut));
        EXPECT_EQ(written(bytesOut), want);
    }
}

TEST_F(OutputStreamsTest, ReadUtfReadsBackWhatTheJvmWrote) {
    const DataStreamsOracle oracle = DataStreamsOracle::load();
    const std::u16string mixed = u"x\u0000\u007F\u0080\u07FF\u0800\u20AC\uFFFF\xD800"s;
    String* s = dataOver(oracle.cases.at("writeUTF_mixed"))->readUTF();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(s->chars), static_cast<size_t>(s->length())), mixed);
    java_io_DataInputStream* d = dataOver(oracle.cases.at("writeLong_0123456789abcdef"));
    EXPECT_EQ(d->readLong(), 0x0123456789ABCDEFLL);
}

TEST_F(OutputStreamsTest, ArchiveIndexMatchesTheJvmBytes) {
    const DataStreamsOracle oracle = DataStreamsOracle::load();
    struct Entry {
        const char* name;
        jint offset;
        jint size;
    };
    const Entry entries[] = {{"Mixed/Case.TXT", 102, 5}, {"mixed/case.txt", 107, 6}, {"/slashed", 113, 1},
                             {"empty", 114, 0}, {"small.bin", 114, 10}};
    auto* bytesOut = new java_io_ByteArrayOutputStream();
    bytesOut->init();
    java_io_DataOutputStream* out = java_io_DataOutputStream::over(bytesOut);
    out->writeShort(5);
    for (const Entry& e : entries) {
        out->writeUTF(String::fromCString(e.name));
        out->writeInt(e.offset);
        out->writeInt(e.size);
    }
    EXPECT_EQ(written(bytesOut), oracle.archive.substr(0, 102));
}

TEST_F(OutputStreamsTest, WriteUtfRefusesTextsLongerThanItsLengthField) {
    auto* bytesOut = new java_io_ByteArrayOutputStream();
    bytesOut->init();
    java_io_DataOutputStream* out = java_io_DataOutputStream::over(bytesOut);
    const std::u16string longest(21845, u'\u0800');  // 3 bytes each: 65535
    out->writeUTF(String::fromUnits(reinterpret_cast<const jchar*>(longest.data()), 21845));
    EXPECT_EQ(takePending(), -1);  // 65535 bytes: the largest that fits
    EXPECT_EQ(bytesOut->size(), 65537);
    bytesOut->reset();
    const std::u16string tooLong(21846, u'\u0800');
    out->writeUTF(String::fromUnits(reinterpret_cast<const jchar*>(tooLong.data()), 21846));
    EXPECT_EQ(takePending(), CID_java_io_UTFDataFormatException);
    EXPECT_EQ(bytesOut->size(), 0);
}

TEST_F(OutputStreamsTest, ByteArrayOutputStreamGrowsByDoublingAndHandsOutItsArrayOnlyWhenClosedAndFull) {
    auto* out = new java_io_ByteArrayOutputStream();
    out->init();
    for (int i = 0; i < 32; ++i) out->write('a' + i % 26);
    EXPECT_EQ(out->buf->length, 32);
    ByteArray* own = out->buf;
    EXPECT_NE(out->toByteArray(), own);  // open: a copy
    out->close();
    EXPECT_EQ(out->toByteArray(), own);  // closed and exactly full: its own array
    out->write('!');                     // still writable after close
    EXPECT_EQ(out->buf->length, 64);
    EXPECT_NE(out->toByteArray(), out->buf);

    ByteArray* big = bytes(std::string(200, 'x'));
    out->write_3(big, 0, 200);  // needs more than double
    EXPECT_EQ(out->size(), 233);
    EXPECT_EQ(out->buf->length, 233);
    out->write_3(big, 150, 51);  // outside the source: refused
    EXPECT_EQ(out->size(), 233);

    out->reset();
    out->write_3(bytes("\xE9t\xE9"), 0, 3);
    String* s = out->toString();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->length(), 3);
    EXPECT_EQ(s->charAt(0), 0xE9);
}

// An output stream whose every write raises the exception class it is given.
class FailingOutputStream : public java_io_OutputStream {
public:
    void write(jint) override { raise(); }
    void write_3(ByteArray*, jint, jint) override { raise(); }
    void raise() {
        Object* e = classId == CID_java_io_EOFException ? static_cast<Object*>(Runtime::make<java_io_EOFException>())
                                                         : static_cast<Object*>(Runtime::make<java_lang_IllegalStateException>());
        Runtime::throwException(e);
        ++calls;
    }
    int classId;
    int calls;
};

TEST_F(OutputStreamsTest, PrintStreamWritesLatin1AndDropsOnlyIoExceptions) {
    installPool({{271, "true"}, {272, "false"}});
    auto* sink = new java_io_ByteArrayOutputStream();
    sink->init();
    java_io_PrintStream* p = java_io_PrintStream::over(sink);
    p->println(String::fromCString("ab"));
    p->print(static_cast<jint>(-12));
    p->printlnBoolean(1);
    p->printBoolean(0);
    p->println(static_cast<jchar>(0x141));  // low 8 bits
    p->print(static_cast<jlong>(1) << 40);
    EXPECT_EQ(written(sink), "ab\n-12true\nfalseA\n1099511627776");

    auto* failing = new FailingOutputStream();
    failing->classId = CID_java_io_EOFException;  // an IOException subclass
    p = java_io_PrintStream::over(failing);
    p->println(String::fromCString("x"));
    EXPECT_EQ(takePending(), -1);
    EXPECT_EQ(failing->calls, 2);  // the text, then the newline: each caught on its own
    EXPECT_FALSE(p->checkError());

    failing->classId = CID_java_lang_IllegalStateException;
    failing->calls = 0;
    p->println(String::fromCString("x"));
    EXPECT_EQ(takePending(), CID_java_lang_IllegalStateException);
    EXPECT_EQ(failing->calls, 1);  // stops at the first: no newline

    auto* data = java_io_DataOutputStream::over(failing);
    failing->calls = 0;
    data->writeInt(7);
    EXPECT_EQ(takePending(), CID_java_lang_IllegalStateException);
    EXPECT_EQ(failing->calls, 1);
}

TEST_F(OutputStreamsTest, ConsolePrintStreamOutputsNothing) {
    LogCapture log;
    auto* console = new java_io_ConsoleOutputStream();
    java_io_PrintStream* out = java_io_PrintStream::over(console);
    out->println(String::fromCString("hello"));
    out->println(static_cast<jint>(3));
    EXPECT_EQ(takePending(), -1);
    EXPECT_TRUE(log.lines.empty());
}

}  // namespace

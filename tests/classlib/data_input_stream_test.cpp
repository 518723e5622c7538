#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/classlib/stream_fixture.h"

namespace {

using namespace std::string_literals;

using DataInputStreamTest = StreamTest;

TEST_F(DataInputStreamTest, TypedReadsAreBigEndianAndRaiseAtTheEnd) {
    struct Case {
        const char* what;
        std::string input;
        std::function<jlong(java_io_DataInputStream*)> read;
        jlong want;
        int exception;
    };
    const Case cases[] = {
        {"readInt 258", "\0\0\1\2"s, [](auto* d) { return d->readInt(); }, 258, -1},
        {"readInt -2", "\xFF\xFF\xFF\xFE"s, [](auto* d) { return d->readInt(); }, -2, -1},
        {"readUnsignedShort", "\xFF\xFE"s, [](auto* d) { return d->readUnsignedShort(); }, 65534, -1},
        {"readShort", "\xFF\xFE"s, [](auto* d) { return d->readShort(); }, -2, -1},
        {"readChar", "\xFF\xFE"s, [](auto* d) { return d->readChar(); }, 65534, -1},
        {"readByte", "\xFF"s, [](auto* d) { return d->readByte(); }, -1, -1},
        {"readUnsignedByte", "\xFF"s, [](auto* d) { return d->readUnsignedByte(); }, 255, -1},
        {"readBoolean", "\x02"s, [](auto* d) { return d->readBoolean(); }, 1, -1},
        {"readLong", "\x80\0\0\0\xFF\xFF\xFF\xFF"s, [](auto* d) { return d->readLong(); },
         static_cast<jlong>(0x80000000FFFFFFFFULL), -1},
        {"readInt short", "\0\1\2"s, [](auto* d) { return d->readInt(); }, 0, CID_java_io_EOFException},
        {"readLong short", "\0\0\0\0\0\0\0"s, [](auto* d) { return d->readLong(); }, 0, CID_java_io_EOFException},
        {"readByte empty", ""s, [](auto* d) { return d->readByte(); }, 0, CID_java_io_EOFException},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        java_io_DataInputStream* d = dataOver(c.input);
        EXPECT_EQ(c.read(d), c.want);
        EXPECT_EQ(takePending(), c.exception);
    }
}

TEST_F(DataInputStreamTest, ReadUtfDecodesAndRejectsMalformedBodies) {
    struct Case {
        std::string input;
        std::u16string want;
        int exception;
    };
    const Case cases[] = {
        {"\0\3a\xC3\xA9"s, u"a\u00E9", -1},
        {"\0\2\xC0\x80"s, std::u16string(1, u'\0'), -1},
        {"\0\3\xE2\x82\xAC"s, u"\u20AC", -1},
        {"\0\0"s, u"", -1},
        {"\0\1\x80"s, u"", CID_java_io_UTFDataFormatException},       // a continuation byte leads
        {"\0\1\xF0"s, u"", CID_java_io_UTFDataFormatException},       // lead nibble 15
        {"\0\2\xC3\x41"s, u"", CID_java_io_UTFDataFormatException},   // second byte not 10xxxxxx
        {"\0\2\xE2\x82"s, u"", CID_java_io_UTFDataFormatException},   // three-byte form cut by the length
        {"\0\3\xE2\x82\x41"s, u"", CID_java_io_UTFDataFormatException},
        {"\0\2a"s, u"", CID_java_io_EOFException},                    // body shorter than its length
        {"\0"s, u"", CID_java_io_EOFException},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        String* s = dataOver(c.input)->readUTF();
        const int exception = takePending();
        EXPECT_EQ(exception, c.exception);
        if (c.exception != -1) {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(s->chars), static_cast<size_t>(s->length())), c.want);
    }
}

// A stream that answers 0 for every array read, as a file stream does at its end.
class ZeroAtEndStream : public java_io_InputStream {
public:
    jint read() override { return -1; }
    jint read_3(ByteArray*, jint, jint) override { return 0; }
};

TEST_F(DataInputStreamTest, ReadFullyEndsWithEofWhenTheStreamStopsDelivering) {
    java_io_DataInputStream* d = java_io_DataInputStream::over(new ZeroAtEndStream());
    ByteArray* b = bytes("xxxx");
    d->readFully(b);
    EXPECT_EQ(takePending(), CID_java_io_EOFException);

    java_io_DataInputStream* partial = dataOver("ab");
    partial->readFully(b, 1, 3);
    EXPECT_EQ(takePending(), CID_java_io_EOFException);
    EXPECT_EQ(text(b), "xabx");

    dataOver("abc")->readFully(b, 2, 3);  // would overrun b
    EXPECT_EQ(takePending(), CID_java_lang_IndexOutOfBoundsException);
    EXPECT_EQ(text(b), "xabx");
}

TEST_F(DataInputStreamTest, SkipBytesStopsAtTheEnd) {
    java_io_DataInputStream* d = dataOver("abcdef");
    EXPECT_EQ(d->skipBytes(2), 2);
    EXPECT_EQ(d->read(), 'c');
    EXPECT_EQ(d->skipBytes(100), 3);
    EXPECT_EQ(d->skipBytes(1), 0);
    EXPECT_EQ(d->read(), -1);
}

TEST_F(DataInputStreamTest, ByteArrayInputStreamReadsSkipsAndResets) {
    java_io_ByteArrayInputStream* s = java_io_ByteArrayInputStream::over(bytes("abc"));
    EXPECT_EQ(s->read(), 'a');
    EXPECT_EQ(s->read(), 'b');
    EXPECT_EQ(s->read(), 'c');
    EXPECT_EQ(s->read(), -1);

    ByteArray* b = bytes("..........");
    s = java_io_ByteArrayInputStream::over(bytes("abc"));
    EXPECT_EQ(s->read_3(b, 0, 10), 3);
    EXPECT_EQ(text(b, 3), "abc");
    EXPECT_EQ(s->read_3(b, 0, 10), -1);

    s = java_io_ByteArrayInputStream::over(bytes("abc"));
    EXPECT_EQ(s->skip(10), 3);
    EXPECT_EQ(s->skip(-1), 0);

    s = java_io_ByteArrayInputStream::over(bytes("abc"));
    s->read();
    s->mark(0);
    s->read();
    s->read();
    s->reset();
    EXPECT_EQ(s->available(), 2);
    EXPECT_EQ(s->read(), 'b');
    EXPECT_EQ(s->read_3(b, 9, 2), -1);  // outside b: refused, nothing read
    EXPECT_EQ(s->read(), 'c');

    auto* window = new java_io_ByteArrayInputStream();
    window->init(bytes("abcde"), 2, 100);
    EXPECT_EQ(window->read_3(b, 0, 10), 3);
    EXPECT_EQ(text(b, 3), "cde");
    window->init(bytes("abcde"), -4, -1);
    EXPECT_EQ(window->available(), 0);
}

}  // namespace

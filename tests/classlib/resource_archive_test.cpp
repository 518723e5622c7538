#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/file_input_stream.h"
#include "classlib/java_lang_class.h"
#include "tests/classlib/stream_fixture.h"
#include "tools/bar_writer.h"

namespace {

using namespace std::string_literals;

class ResourceArchiveTest : public StreamTest {
protected:
    void pack(std::vector<tools::BarEntry> entries) {
        std::string error;
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), std::move(entries), error)) << error;
    }
    // Everything the stream gives, read byte by byte (at most 1000 bytes).
    static std::string drain(java_io_InputStream* in) {
        std::string out;
        for (int i = 0; i < 1000; ++i) {
            const jint c = in->read();
            if (c < 0) break;
            out += static_cast<char>(c);
        }
        return out;
    }
    static java_io_InputStream* open(const char* name) {
        return java_lang_Class::getResourceAsStream(String::fromCString(name));
    }
};

TEST_F(ResourceArchiveTest, LookupIgnoresAsciiCaseAndOneLeadingSlash) {
    pack({tools::BarEntry::fromBytes("Sprites/Hero.PNG", "hero"), tools::BarEntry::fromBytes("empty.bin", ""),
          tools::BarEntry::fromBytes("constants.bin", "\0\0\0\0"s), tools::BarEntry::fromBytes("\xC3\x89t\xC3\xA9", "E")});
    struct Case {
        const char* name;
        const char* want;  // null: not found
    };
    const Case cases[] = {
        {"Sprites/Hero.PNG", "hero"},
        {"sprites/hero.png", "hero"},
        {"/SPRITES/HERO.png", "hero"},
        {"//sprites/hero.png", nullptr},
        {"sprites/hero.pn", nullptr},
        {"sprites/hero.pngx", nullptr},
        {"/empty.bin", ""},
        {"/constants.bin", "\0\0\0\0"},
        {"\xC9t\xE9", "E"},        // non-ASCII units compare exactly
        {"\xE9t\xE9", nullptr},    // no case folding beyond A-Z
        {"missing", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        java_io_InputStream* in = open(c.name);
        if (!c.want) {
            EXPECT_EQ(in, nullptr);
            continue;
        }
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(in->classId(), CID_javax_microedition_io_ResourceInputStream);
        const std::string want(c.want, std::string(c.name) == "/constants.bin" ? 4 : std::strlen(c.want));
        EXPECT_EQ(in->available(), static_cast<jint>(want.size()));
        EXPECT_EQ(drain(in), want);
        in->close();
    }
}

TEST_F(ResourceArchiveTest, EntryStreamStopsAtItsEnd) {
    pack({tools::BarEntry::fromBytes("a", "0123456789"), tools::BarEntry::fromBytes("b", "after"),
          tools::BarEntry::fromBytes("z", "")});
    ByteArray* b = bytes(std::string(100, '.'));

    java_io_InputStream* in = open("a");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->read_3(b, 0, 100), 10);
    EXPECT_EQ(text(b, 10), "0123456789");
    EXPECT_EQ(in->read(), -1);
    EXPECT_EQ(in->read_3(b, 0, 1), 0);
    EXPECT_EQ(takePending(), CID_java_io_EOFException);

    in = open("a");
    EXPECT_EQ(in->skip(100), 10);
    EXPECT_EQ(in->available(), 0);
    EXPECT_EQ(in->skip(5), 0);

    in = open("a");
    EXPECT_EQ(in->read(), '0');
    in->mark(0);
    EXPECT_EQ(in->read(), '1');
    in->reset();
    EXPECT_EQ(in->read(), '1');      // the file position comes back
    EXPECT_EQ(in->available(), 7);   // pos does not

    in = open("z");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->available(), 0);
    EXPECT_EQ(in->read(), -1);
    EXPECT_EQ(in->read_3(b, 0, 1), 0);
    EXPECT_EQ(takePending(), CID_java_io_EOFException);
}

TEST_F(ResourceArchiveTest, BarNamesPreferAFileThroughThePathMapper) {
    pack({tools::BarEntry::fromBytes("pack.bar", "from archive"), tools::BarEntry::fromBytes("Other.BAR", "upper")});
    java_io_InputStream* in = open("pack.bar");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->classId(), CID_javax_microedition_io_ResourceInputStream);
    EXPECT_EQ(drain(in), "from archive");

    temp.write("home/pack.bar", "from file");
    in = open("Pack.bar");  // the file name is lowered
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->classId(), CID_java_io_InputStream);
    EXPECT_EQ(drain(in), "from file");

    temp.write("home/other.bar", "file");
    in = open("Other.BAR");  // ".bar" is tested with its case: this is an archive name
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(drain(in), "upper");

    temp.write("outside.bar", "never");
    EXPECT_EQ(open("../outside.bar"), nullptr);  // refused by the mapper, and no such entry
}

TEST_F(ResourceArchiveTest, NoArchiveMeansEveryLookupFails) {
    EXPECT_EQ(open("/constants.bin"), nullptr);
    pack({tools::BarEntry::fromBytes("constants.bin", "x")});
    EXPECT_EQ(open("/constants.bin"), nullptr);  // a failed load is not retried
}

}  // namespace

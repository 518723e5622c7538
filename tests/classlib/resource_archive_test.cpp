#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/java_io/file_input_stream.h"
#include "classlib/java_lang/java_lang_class.h"
#include "tests/classlib/stream_fixture.h"
#include "tests/classlib/oracle_fixture.h"
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
    // Everything an entry holds, or "<none>" when the lookup fails.
    static std::string entry(const char* name) {
        java_io_InputStream* in = open(name);
        if (!in) return "<none>";
        const jint available = in->available();
        std::string got = drain(in);
        in->close();
        return static_cast<jint>(got.size()) == available ? got : "<available " + std::to_string(available) + ">";
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

// The JVM-written archive holds what the packer refuses: names equal but for case, a name with '/'.
TEST_F(ResourceArchiveTest, FirstOfTwoNamesEqualButForCaseWinsAndOwnSlashNeedsTwo) {
    temp.write("data.bar", DataStreamsOracle::load().archive);
    struct Case {
        const char* name;
        std::string want;
    };
    const Case cases[] = {
        {"mixed/case.txt", "first"},
        {"/MIXED/CASE.TXT", "first"},
        {"/slashed", "<none>"},
        {"slashed", "<none>"},
        {"//slashed", "s"},
        {"empty", ""},
        {"/small.bin", std::string("\0\1\2\3\4\5\6\7\x08\x09", 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entry(c.name), c.want);
    }
}

// Damaged archives: the index is taken whole or not at all, so every lookup ends at once with none,
// even for entries the damage does not touch; the sound archive finds them.
TEST_F(ResourceArchiveTest, DamagedArchivesGiveNoEntries) {
    const std::string good = DataStreamsOracle::load().archive;
    ASSERT_EQ(good.size(), 124u);
    auto patched = [&](size_t at, std::string bytes) {
        std::string a = good;
        a.replace(at, bytes.size(), bytes);
        return a;
    };
    struct Case {
        const char* what;
        std::string archive;
        bool sound;
    };
    const Case cases[] = {
        {"sound", good, true},
        {"empty file", "", false},
        {"cut inside the count", good.substr(0, 1), false},
        {"cut inside the index", good.substr(0, 60), false},
        {"cut inside an entry", good.substr(0, 110), false},
        {"negative count", patched(0, std::string("\x80\x00", 2)), false},
        {"count beyond the index", patched(0, std::string("\x7F\xFF", 2)), false},
        {"huge size", patched(22, "\x7F\xFF\xFF\xFF"), false},
        {"negative offset", patched(18, "\xFF\xFF\xFF\xFF"), false},
        {"offset past the end", patched(18, std::string("\x00\x00\x01\x00", 4)), false},
        {"malformed name", patched(2, std::string("\x00\x0E\x80", 3)), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp.write("data.bar", c.archive);
        EXPECT_EQ(entry("Mixed/Case.TXT"), c.sound ? "first" : "<none>");
        EXPECT_EQ(entry("empty"), c.sound ? "" : "<none>");
        EXPECT_EQ(entry("//slashed"), c.sound ? "s" : "<none>");
        EXPECT_EQ(Runtime::getPendingException(), nullptr);
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    }
}

}  // namespace

// The one index reader pulled through a source that hands out the archive in pieces of any size, as
// the library's streams do: the same entries or the same refusal as over the whole file, and a
// name's length is checked against the file before its bytes are asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_index.h"
#include "archive/big_endian.h"

namespace {

// Two entries: "a.bin" (3 bytes) and "\u00E9" (1 byte), data after the index.
std::string twoEntryArchive() {
    std::string index;
    archive::appendU16(index, 2);
    const std::string names[] = {"a.bin", "\xC3\xA9"};
    const std::size_t indexSize = 2 + (2 + 5 + 8) + (2 + 2 + 8);
    archive::appendU16(index, 5);
    index += names[0];
    archive::appendS32(index, static_cast<int32_t>(indexSize));
    archive::appendS32(index, 3);
    archive::appendU16(index, 2);
    index += names[1];
    archive::appendS32(index, static_cast<int32_t>(indexSize + 3));
    archive::appendS32(index, 1);
    return index + "xyzw";
}

struct Pulled {
    bool ok;
    std::vector<archive::IndexEntry> entries;
    std::string error;
    std::size_t asked = 0;  // bytes the reader asked for in all
};

Pulled pullInPieces(const std::string& bytes, uint64_t archiveSize, std::size_t piece) {
    Pulled out;
    std::size_t at = 0;
    const archive::ReadBytes read = [&](uint8_t* into, std::size_t n) {
        out.asked += n;
        const std::size_t k = std::min({n, piece, bytes.size() - at});
        std::memcpy(into, bytes.data() + at, k);
        at += k;
        return k;
    };
    out.ok = archive::readIndex(read, archiveSize, out.entries, out.error);
    return out;
}

TEST(ArchiveIndexTest, PiecesOfAnySizeReadAsTheWholeFile) {
    const std::string good = twoEntryArchive();
    std::string badName = good;
    badName[4] = '\x80';  // a continuation byte as the first of "a.bin"
    struct Case {
        const char* what;
        std::string archive;
    };
    const Case cases[] = {
        {"sound", good},
        {"cut inside the second name", good.substr(0, 20)},
        {"cut before the data", good.substr(0, good.size() - 1)},
        {"bad name", badName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<archive::IndexEntry> whole;
        std::string wholeError;
        const bool wholeOk = archive::readIndex(c.archive, whole, wholeError);
        for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            SCOPED_TRACE(piece);
            const Pulled pulled = pullInPieces(c.archive, c.archive.size(), piece);
            EXPECT_EQ(pulled.ok, wholeOk);
            EXPECT_EQ(pulled.error, wholeError);
            ASSERT_EQ(pulled.entries.size(), whole.size());
            for (std::size_t i = 0; i < whole.size(); ++i) {
                EXPECT_EQ(pulled.entries[i].name, whole[i].name);
                EXPECT_EQ(pulled.entries[i].offset, whole[i].offset);
                EXPECT_EQ(pulled.entries[i].size, whole[i].size);
            }
        }
    }
    std::vector<archive::IndexEntry> entries;
    std::string error;
    ASSERT_TRUE(archive::readIndex(good, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, u"\u00E9");
    EXPECT_EQ(entries[1].offset, 32);
}

TEST(ArchiveIndexTest, ANameLongerThanTheFileIsRefusedBeforeItsBytesAreRead) {
    std::string archive;
    archive::appendU16(archive, 1);
    archive::appendU16(archive, 0xFFFF);
    archive += "abc";
    const Pulled pulled = pullInPieces(archive, archive.size(), 4096);
    EXPECT_FALSE(pulled.ok);
    EXPECT_EQ(pulled.error, "index entry 0 at byte 2: index cut short inside the name");
    EXPECT_EQ(pulled.asked, 4u);  // the count and the length, nothing more
}

}  // namespace

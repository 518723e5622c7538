// Fixture for the pack tests: the stream fixture's heaps, home folder and data file, the pack
// reader's statics cleared around each test, and helpers to build a data.bar either by the asset
// compiler or from hand-made entries, with the shipped constant pool loaded from it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "runtime/constant_pool.h"
#include "sprites/cgame_packs.h"
#include "tests/classlib/stream_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/test_world.h"
#include "tools/asset_packer.h"
#include "tools/bar_writer.h"

// Pack bytes written by hand.
namespace packbytes {

inline std::string u16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
inline std::string u32(uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }

// A one-sub-file pack of the given raw items (kind byte included), offsets computed.
inline std::string onePack(const std::vector<std::string>& items) {
    std::string head = u16(static_cast<uint32_t>(items.size())) + u16(1) + u16(0);
    uint32_t at = static_cast<uint32_t>(head.size() + (items.size() + 1) * 4);
    std::string table, data;
    for (const std::string& item : items) {
        table += u32(at);
        at += static_cast<uint32_t>(item.size());
        data += item;
    }
    return head + table + u32(at) + data;
}

}  // namespace packbytes

class PackTest : public StreamTest {
protected:
    void SetUp() override {
        StreamTest::SetUp();
        resetPacks();
    }
    void TearDown() override {
        resetPacks();
        Runtime::setConstantPool(nullptr);
        StreamTest::TearDown();
    }

public:
    // Every pack-engine static back to "no pack open" (other fixtures reset the packs with it).
    static void resetPacks() {
        using P = cGamePacks;
        P::s_packName = nullptr;
        P::s_packStream = nullptr;
        P::s_packPos = 0;
        P::s_packItemCount = 0;
        P::s_packSubFileCount = 0;
        P::s_packFirstItems = nullptr;
        P::s_packSubFile = 0;
        P::s_packOffsets = nullptr;
        P::s_packItemKind = 0;
        P::s_packCompressed = 0;
        P::s_packSkipBuffer = nullptr;
        P::s_streamCount = 0;
        P::s_byteArrays = nullptr;
        P::s_encoding = nullptr;
        P::s_lzmaResult = nullptr;
        P::textUnload();
    }

    // The shipped constants.txt and app.jad, copied into the assets folder being built.
    void copyShippedBasics(const std::string& assets) {
        for (const char* name : {"constants.txt", "app.jad"}) {
            const std::vector<uint8_t> bytes = readFile((std::string(BRINDLEX_FIXTURES "/../../assets/") + name).c_str());
            temp.write(assets + "/" + name, std::string(bytes.begin(), bytes.end()));
        }
    }
    // Compiles the assets folder into the data file, then loads its constant pool and sets the
    // game's encoding name.
    void compileAssets(const std::string& assets) {
        std::string error;
        ASSERT_TRUE(tools::packAssets(temp.path() / assets, platform::dataFile(), error)) << error;
        loadPool();
    }
    // Hand-made entries beside the shipped constants.
    void packEntries(std::vector<tools::BarEntry> entries) {
        copyShippedBasics("basics");
        std::string error;
        std::vector<tools::BarEntry> basics;
        ASSERT_TRUE(tools::collectAssets(temp.path() / "basics", basics, error)) << error;
        for (auto& e : basics) entries.push_back(std::move(e));
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), std::move(entries), error)) << error;
        loadPool();
    }
    static void loadPool() {
        Runtime::loadConstants();
        cGamePacks::s_encoding = Runtime::ldcString(cGamePacks::kEncodingLiteral);
    }

    static std::string text16(String* s) {
        if (!s) return "<null>";
        std::string out;
        for (jint i = 0; i < s->length(); ++i) {
            const jchar c = s->charAt(i);
            if (c < 0x80) out += static_cast<char>(c);
            else {
                char code[8];
                std::snprintf(code, sizeof code, "\\u%04X", c);
                out += code;
            }
        }
        return out;
    }
    static String* str(const char* text) { return String::fromCString(text); }

private:
    // The statics reset before the set-up and after the tear-down.
    WorldStatics m_world;
};

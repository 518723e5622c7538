// Fixture for the promotion tests: heaps whose arrays the sanitizer watches, a temporary data
// file holding the shipped constants, a promotion resource and an app.jad of the test's choosing,
// a MIDlet reading that app.jad, and the statics reset around each test by the test world. Also a
// builder of promotion resources by hand, for the malformed cases.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "platform/file_paths.h"
#include "promo/igp.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_world.h"
#include "tools/bar_writer.h"
#include "tools/constants_compiler.h"
#include "tools/promo_source.h"

#ifndef BRINDLEX_FIXTURES
#error "BRINDLEX_FIXTURES names tests/fixtures"
#endif

namespace promotest {

inline std::string u16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
inline std::string u32(uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }
inline std::string text(const std::string& s) { return u16(static_cast<uint32_t>(s.size())) + s; }
inline std::string strings(const std::vector<std::string>& names) {
    std::string out = u16(static_cast<uint32_t>(names.size()));
    for (const std::string& n : names) out += text(n);
    return out;
}
// The index (offsets relative to its end) followed by the entries.
inline std::string resource(const std::vector<std::string>& entries) {
    std::string index = u16(static_cast<uint32_t>(entries.size() + 1)), data;
    for (const std::string& e : entries) {
        index += u32(static_cast<uint32_t>(data.size()));
        data += e;
    }
    return index + u32(static_cast<uint32_t>(data.size())) + data;
}

inline std::string shippedFile(const std::string& relative) {
    const std::vector<uint8_t> bytes = readFile((std::string(BRINDLEX_FIXTURES "/../../assets/") + relative).c_str());
    return {bytes.begin(), bytes.end()};
}

// A small well-formed resource: two titles, lists of the given rows, one language, a font of the
// shipped palette picture with glyphs for 'A' and ' ', every picture one shipped PNG.
struct Parts {
    std::vector<std::string> titles{"ALPHA", "BETA"};
    std::vector<std::vector<std::string>> lists{{"R0", "R1", "LAST"}, {"S0", "PORTAL", "END"}, {}};
    uint32_t optionFlag = 0;
    std::string format;
    std::string textBlock;  // empty: made from `texts`
    std::vector<std::string> texts;
    std::string fontPicture;
    std::string glyphRecords;  // empty: two records
    uint32_t highestCode = 126;
    std::string picture;

    Parts() {
        fontPicture = shippedFile("promo.dat.igp/font.png");
        picture = shippedFile("promo.dat.igp/mark_gold.png");
        texts.assign(25, "");
        texts[14] = "OPEN";
        texts[12] = "OK";
    }
    [[nodiscard]] std::string png() const { return text(picture); }
    [[nodiscard]] std::string pictures(size_t n) const {
        std::string out;
        for (size_t i = 0; i < n; ++i) out += png();
        return out;
    }
    [[nodiscard]] std::string header() const {
        std::string h = u16(0) + text("head") + strings({"EN"}) + strings(titles);
        for (const auto& l : lists) h += strings(l);
        return h + u16(optionFlag) + text(format);
    }
    [[nodiscard]] std::string textsEntry() const {
        if (!textBlock.empty()) return u16(static_cast<uint32_t>(textBlock.size())) + textBlock;
        std::string data, ends;
        for (size_t j = 0; j < texts.size(); ++j) {
            data += texts[j];
            if (j + 1 < texts.size()) ends += u16(static_cast<uint32_t>(data.size()));
        }
        const std::string block = text(data) + u16(0) + u16(static_cast<uint32_t>(texts.size())) + ends;
        return u16(static_cast<uint32_t>(block.size())) + block;
    }
    [[nodiscard]] std::string fontEntry() const {
        // 'A' and the space where the shipped font picture has them.
        using namespace std::string_literals;
        const std::string records =
            glyphRecords.empty() ? u16('A') + "\x2d\x0f\x09\x0f"s + u16(' ') + "\x00\x00\x06\x0f"s : glyphRecords;
        return text(fontPicture) + u16(static_cast<uint32_t>(records.size())) + u16(highestCode) + records;
    }
    [[nodiscard]] std::vector<std::string> entries() const {
        auto rowsBut = [](const std::vector<std::string>& l) { return l.empty() ? 0 : l.size() - 1; };
        std::vector<std::string> e{header(),
                                   textsEntry(),
                                   fontEntry(),
                                   pictures(14),
                                   pictures(titles.size()),
                                   pictures(2),
                                   pictures(rowsBut(lists[0])),
                                   pictures(rowsBut(lists[1])),
                                   pictures(1)};
        if (optionFlag == 1) e.push_back(pictures(1));
        return e;
    }
    [[nodiscard]] std::string bytes() const { return resource(entries()); }

};

// The app.jad of the shipped game.
inline const std::map<std::string, std::string>& shippedProperties() {
    static const std::map<std::string, std::string> properties{
        {"Promo-Link-Template", "https://games.example.com/get?game=XXXX&lang=X"},
        {"Promo-Titles", "SKYLARK=skylark;EMBERHOLD=emberhold;TIDEWATCH=tidewatch"},
        {"Promo-Portal", "https://portal.example.com/brindlex?lang=X"},
        {"Promo-Portal-Title", "Zarnquist Games"},
        {"Promo-Portal-Items", "PORTAL=yes;SPECIAL=yes;MORE=yes"},
        {"Promo-List-New", "SKYLARK=skylark;PORTAL=yes"},
        {"Promo-List-Top", "EMBERHOLD=emberhold;TIDEWATCH=tidewatch"},
    };
    return properties;
}

class PlainMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

}  // namespace promotest

class PromoTest : public TestWorld {
protected:
    static constexpr size_t kTinyNativeHeap = 256;

    // A native heap too small for any array: array data comes from malloc, where the sanitizer
    // sees every byte read or written past an array's end.
    PromoTest() : TestWorld(8 << 20, kTinyNativeHeap) {}
    void SetUp() override {
        TestWorld::SetUp();
        platform::setHomeFolder(temp.path() / "home");
        platform::setDataFile(temp.path() / "data.bar");
    }

    // data.bar with the shipped constants, the resource (when given) and an app.jad of these
    // properties; the constant pool loaded from it and a MIDlet over it installed as the screen's.
    void install(const std::string* resource, const std::map<std::string, std::string>& properties) {
        std::string jad, bin, error;
        for (const auto& [key, value] : properties) jad += key + ": " + value + "\n";
        ASSERT_TRUE(tools::compileConstants(promotest::shippedFile("constants.txt"), "constants.txt", bin, error))
            << error;
        std::vector<tools::BarEntry> entries{tools::BarEntry::fromBytes("constants.bin", bin),
                                             tools::BarEntry::fromBytes("app.jad", jad)};
        if (resource) entries.push_back(tools::BarEntry::fromBytes("promo.dat", *resource));
        ASSERT_TRUE(tools::writeArchive(platform::dataFile(), entries, error)) << error;
        javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
        Runtime::loadConstants();
        auto* midlet = new promotest::PlainMIDlet();
        ASSERT_NE(midlet, nullptr);
        midlet->init();
        IGP::s_midlet = midlet;
    }
    void installResource(const std::string& resource,
                         const std::map<std::string, std::string>& properties = promotest::shippedProperties()) {
        install(&resource, properties);
    }
    // The shipped promotion folder, compiled as the build does.
    static std::string shippedResource() {
        std::string bytes, error;
        EXPECT_TRUE(tools::compilePromoFolder(std::string(BRINDLEX_FIXTURES "/../../assets/promo.dat.igp"), bytes, error))
            << error;
        return bytes;
    }
    // Every load step a visit runs, in order.
    static void runLoad() {
        const jint steps = IGP::loadStepCount();
        for (jint step = -1; step < steps; ++step) IGP::loadStep(step);
    }

    static std::string narrow(String* s) {
        if (!s) return "<null>";
        std::string out;
        for (jint i = 0; i < s->length(); ++i) out += static_cast<char>(s->charAt(i));
        return out;
    }
    static std::string link(jint slot) {
        return IGP::s_itemLinks ? narrow(static_cast<String*>(IGP::s_itemLinks->get(slot))) : "<no table>";
    }
    static bool available(jint slot) { return IGP::s_itemAvailable && IGP::s_itemAvailable->get(slot); }

    TempFolder temp;
};

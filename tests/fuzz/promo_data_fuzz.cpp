// libFuzzer target for the promotion resource: the index, the header and catalogue, then every
// load step (texts, font and glyphs, recolouring, pictures, lists) and the release. The first
// input byte picks the language and command mode; the rest is the resource, served from a data
// file as the game serves it. Invariants checked: nothing stays pending, and every table the load
// fills has the length its readers rely on.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "classlib/constant_pool_loader.h"
#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "classlib/midlet/javax_microedition_midlet_midlet.h"
#include "platform/file_paths.h"
#include "promo/igp.h"
#include "runtime/exceptions.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"
#include "tools/bar_writer.h"
#include "tools/constants_compiler.h"
#include "tools/file_bytes.h"

namespace {

class FuzzMIDlet final : public javax_microedition_midlet_MIDlet {
public:
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(jboolean) override {}
};

std::string g_constants;

const char kAppJad[] =
    "Promo-Link-Template: https://example.com/XXXX?lang=_\n"
    "Promo-Titles: A=a;B=b;SKYLARK=s;VAULT=v\n"
    "Promo-Portal: https://example.com/club?lang=_\n"
    "Promo-Portal-Title: CLUB\n"
    "Promo-Portal-Items: PORTAL=1;SPECIAL=s;MORE=m;CLUB=c;LAST=l;END=e\n"
    "Promo-List-New: SKYLARK=a;PORTAL=p;R0=r;R1=r\n"
    "Promo-List-Top: EMBERHOLD=n;S0=s\n";

void writeDataFile(const std::string& resource) {
    std::string error;
    std::vector<tools::BarEntry> entries{tools::BarEntry::fromBytes("constants.bin", g_constants),
                                         tools::BarEntry::fromBytes("app.jad", kAppJad),
                                         tools::BarEntry::fromBytes("promo.dat", resource)};
    if (!tools::writeArchive(platform::dataFile(), entries, error)) __builtin_trap();
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
}

bool start() {
    if (!Runtime::initHeaps()) __builtin_trap();
    Log::setSink([](LogLevel, const std::string&) {});
    new ObjectManager();
    std::string text, error;
    if (!tools::readFileBytes(BRINDLEX_ASSETS "/constants.txt", text, error) ||
        !tools::compileConstants(text, "constants.txt", g_constants, error))
        __builtin_trap();
    std::string folder = (std::filesystem::temp_directory_path() / "promo-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data())) __builtin_trap();
    platform::setHomeFolder(std::filesystem::path(folder) / "home");
    platform::setDataFile(std::filesystem::path(folder) / "data.bar");
    writeDataFile("");
    Runtime::loadConstants();
    return true;
}

void checkTables() {
    if (IGP::s_fixedImages && IGP::s_fixedImages->length != IGP::kFixedImageCount) __builtin_trap();
    if (IGP::s_itemImages && IGP::s_itemImages->length != IGP::s_itemCount) __builtin_trap();
    if (IGP::s_textEnds && IGP::s_texts && IGP::s_textEnds->length != IGP::s_texts->length) __builtin_trap();
    if (IGP::s_glyphs && IGP::s_glyphs->length % (4 + IGP::s_wideGlyphs) != 0) __builtin_trap();
    for (jint list = 0; list < IGP::kPageListCount; ++list)
        if (IGP::s_listLengths[list] < 0 ||
            (IGP::s_listLinks[list] && IGP::s_listLengths[list] > IGP::s_listLinks[list]->length))
            __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = start();
    (void)started;
    if (size < 1 || size > 0x40000) return 0;
    writeDataFile(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    IGP::resetData();
    auto* midlet = new FuzzMIDlet();
    if (!midlet) return 0;
    midlet->init();
    IGP::s_midlet = midlet;
    IGP::s_commandMode = (data[0] & 2) != 0;
    IGP::loadData();
    if (Runtime::getPendingException()) __builtin_trap();
    if (IGP::s_available) {
        IGP::s_language = data[0] & 1;
        const jint steps = IGP::loadStepCount();
        for (jint step = -1; step < steps; ++step) {
            IGP::loadStep(step);
            if (Runtime::getPendingException()) __builtin_trap();
        }
        checkTables();
        (void)IGP::getText(data[0] >> 2);
        IGP::freeImages(true);
    }
    IGP::resetData();
    return 0;
}

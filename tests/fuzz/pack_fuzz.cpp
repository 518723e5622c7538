// libFuzzer target for the pack reader over untrusted archive entries. The input is split into a
// pack's sub-file 0 and sub-file 1 (the first two bytes give the split), packed into a data.bar of
// this process's own, and every item is read forwards and backwards, as data, as a nested array and
// as a text pack. Invariants checked: nothing stays pending, no item is larger than the cap, and the
// reader's position never runs past what its stream delivered.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "classlib/io/javax_microedition_io_resource_input_stream.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/cgame_packs.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/fuzz/fuzz_heaps.h"
#include "tools/bar_writer.h"

namespace {

using P = cGamePacks;

std::filesystem::path start() {
    startFuzzHeaps();
    (void)installPool({{P::kEncodingLiteral, "UTF-8"}, {P::kSubFileSeparatorLiteral, "_"},
                       {P::kUtf8Literal, "UTF-8"}, {P::kFallbackLiteral, "?"}});
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("brindlex-pack-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "home");
    platform::setHomeFolder(folder / "home");
    platform::setDataFile(folder / "data.bar");
    return folder;
}

void resetReader() {
    P::packClose();
    P::s_packName = nullptr;
    P::s_packFirstItems = nullptr;
    P::s_packOffsets = nullptr;
    P::s_packItemCount = 0;
    P::s_packSubFileCount = 0;
    P::s_packSubFile = 0;
    P::s_encoding = Runtime::ldcString(P::kEncodingLiteral);
    P::textUnload();
}

void check() {
    if (Runtime::getPendingException()) __builtin_trap();
}

void readItem(jint item) {
    ByteArray* data = P::packReadData(item);
    check();
    if (data && data->length > P::kMaxUnpackedSize) __builtin_trap();
    (void)P::packReadStream(item);
    check();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = start();
    if (size < 2 || size > 0x10000) return 0;
    const size_t split = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<tools::BarEntry> entries;
    entries.push_back(tools::BarEntry::fromBytes("p", bytes.substr(0, split)));
    if (split < bytes.size()) entries.push_back(tools::BarEntry::fromBytes("p_1", bytes.substr(split)));
    // Laid out by the archive writer, written plainly (the atomic write's syncs would be most of the time).
    std::string index, error;
    if (!tools::layOutArchive(entries, index, error)) __builtin_trap();
    std::ofstream out(folder / "data.bar", std::ios::binary | std::ios::trunc);
    out << index;
    for (const tools::BarEntry& e : entries) out << e.bytes;
    out.close();
    javax_microedition_io_ResourceInputStream::unloadArchiveIndex();
    resetReader();

    String* name = String::fromCString("p");
    P::packOpen(name);
    check();
    const jint count = P::s_packItemCount < 8 ? P::s_packItemCount : 8;
    for (jint i = 0; i <= count; ++i) readItem(i);
    for (jint i = count; i >= 0; --i) readItem(i);
    P::packLoadText(name, 0);
    check();
    for (jint i = 0; P::s_textCache && i < P::s_textCache->length && i < 64; ++i) {
        if (!P::getString(i)) __builtin_trap();
    }
    resetReader();
    return 0;
}

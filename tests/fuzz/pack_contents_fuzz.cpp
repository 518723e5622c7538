// libFuzzer target for the review readers of `barpack --contents` and the content checker, which
// take archives from the command line: the input is split into a pack's sub-file 0 and sub-file 1
// (the first two bytes give the split) and read as a pack, and each item and the whole input are
// described, read as a byte-array pack, a text pack and an int array. Invariants: the item payloads
// stay within the unpacked-size cap and a text pack's texts never exceed the input.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "sprites/cgame_packs.h"
#include "tools/pack_contents.h"

namespace {

void readEverything(std::string_view bytes) {
    (void)tools::describePayload(bytes);
    std::vector<std::string> entries, texts;
    std::vector<int32_t> ints;
    std::string error;
    (void)tools::readByteArrayPack(bytes, entries, error);
    size_t total = 0;
    if (tools::readTextPack(bytes, texts))
        for (const std::string& t : texts) total += t.size();
    if (total > bytes.size()) std::abort();
    if (tools::readNestedInts(bytes, ints) && ints.size() > bytes.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t split = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
    const std::string_view all(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::map<std::string, std::string_view> archive = {{"p", all.substr(0, split)}, {"p_1", all.substr(split)}};
    const tools::EntryLookup lookup = [&](const std::string& name) -> std::optional<std::string_view> {
        const auto it = archive.find(name);
        if (it == archive.end()) return std::nullopt;
        return it->second;
    };
    std::vector<tools::PackItemView> items;
    std::string error;
    (void)tools::looksLikePack(all);
    if (tools::readPack(lookup, "p", "_", items, error)) {
        for (const tools::PackItemView& item : items) {
            if (item.payload.size() > static_cast<size_t>(cGamePacks::kMaxUnpackedSize)) std::abort();
            readEverything(item.payload);
        }
    }
    readEverything(all);
    return 0;
}

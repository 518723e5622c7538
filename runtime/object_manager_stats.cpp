// The collector's statistics and the memory dump. Nothing in the program calls them; they are for
// whoever hunts a leak. The dump's words are 64-bit where they hold addresses.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

// The two header words (vptr and class word) of every object.
constexpr size_t kHeaderBytes = sizeof(void*) + sizeof(uint64_t);

bool isArrayClass(uint16_t id) { return id >= CID_ObjectArray && id <= CID_DoubleArray; }

// Bytes of variable data an object holds: a String's or StringBuffer's units, an array's elements.
size_t dataBytes(Object* object) {
    const uint16_t id = object->classId();
    if (id == CID_String) {
        const jint units = static_cast<String*>(object)->length();
        return static_cast<size_t>(units) * sizeof(jchar);
    }
    if (id == CID_StringBuffer) {
        const jint units = static_cast<StringBuffer*>(object)->length;
        return units > 0 ? static_cast<size_t>(units) * sizeof(jchar) : 0;
    }
    if (isArrayClass(id)) {
        auto* array = static_cast<Array*>(object);
        return array->length > 0 ? static_cast<size_t>(array->length) * static_cast<size_t>(array->elementSize()) : 0;
    }
    return 0;
}

const void* dataOf(Object* object) {
    const uint16_t id = object->classId();
    if (id == CID_String) {
        auto* s = static_cast<String*>(object);
        return s->chars == s->inlineBuffer ? nullptr : s->chars;
    }
    if (id == CID_StringBuffer) return static_cast<StringBuffer*>(object)->chars;
    if (isArrayClass(id)) return static_cast<Array*>(object)->data;
    return nullptr;
}

class DumpWriter {
public:
    explicit DumpWriter(std::FILE* file) : m_file(file) {}
    void bytes(const void* data, size_t n) { m_ok = m_ok && std::fwrite(data, 1, n, m_file) == n; }
    void bigEndian32(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        bytes(b, 4);
    }
    void bigEndian16(uint16_t v) {
        const uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
        bytes(b, 2);
    }
    void little32(uint32_t v) {
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        bytes(b, 4);
    }
    void little64(uint64_t v) {
        little32(static_cast<uint32_t>(v));
        little32(static_cast<uint32_t>(v >> 32));
    }
    void freeBlocks(const MemoryManager& heap) {
        const std::vector<MemoryManager::FreeBlock> blocks = heap.freeBlocks();
        bigEndian32(static_cast<uint32_t>(blocks.size()));
        for (const auto& block : blocks) {
            little64(reinterpret_cast<uintptr_t>(block.address + heap.headerSize()));
            little32(static_cast<uint32_t>(block.length));
        }
    }
    [[nodiscard]] bool ok() const { return m_ok; }

private:
    std::FILE* m_file;
    bool m_ok = true;
};

}  // namespace

size_t ObjectManager::usedBytes() {
    std::lock_guard guard(m_registryLock);
    size_t total = 0;
    for (Object* object : registeredObjects()) total += kHeaderBytes + dataBytes(object);
    return total;
}

void ObjectManager::printMemoryStats() {
    std::lock_guard guard(m_registryLock);
    size_t counts[kClassCount] = {};
    size_t bytes[kClassCount] = {};
    size_t totalCount = 0;
    size_t totalBytes = 0;
    for (Object* object : registeredObjects()) {
        const uint16_t id = object->classId();
        if (id >= kClassCount) continue;
        ++counts[id];
        bytes[id] += kHeaderBytes + dataBytes(object);
    }
    std::string text = "Memory allocation:\n";
    for (int id = 0; id < kClassCount; ++id) {
        if (counts[id] == 0) continue;
        text += Log::format("\t%s: %zu (%zu)\n", kClassNames[id], counts[id], bytes[id]);
        totalCount += counts[id];
        totalBytes += bytes[id];
    }
    // The static reference fields are what this runtime keeps of the statics: one word per root.
    text += Log::format("\tStaticClass: %zu\n", m_roots.size() * sizeof(Object*));
    text += Log::format("\tTOTAL: %zu (%zu)\n", totalCount, totalBytes);
    Log::write(LogLevel::Debug, text);
}

bool ObjectManager::dumpMemory(const char* path) {
    std::lock_guard guard(m_registryLock);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "wb"), &std::fclose);
    if (!file) {
        Log::error("memory dump: cannot write %s", path);
        return false;
    }
    DumpWriter out(file.get());
    const uint8_t version[4] = {1, 0, 0, 0};
    out.bytes(version, sizeof version);

    out.bigEndian32(kClassCount);
    for (const char* name : kClassNames) {
        const size_t length = std::strlen(name);
        out.bigEndian16(static_cast<uint16_t>(length));
        out.bytes(name, length);
    }

    MemoryManager& objects = Runtime::objectHeap();
    MemoryManager& natives = Runtime::nativeHeap();
    const std::vector<Object*> registry = registeredObjects();
    out.bigEndian32(static_cast<uint32_t>(registry.size()));
    for (Object* object : registry) {
        out.little32(static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(object->classId()))));
        out.little64(reinterpret_cast<uintptr_t>(object));
        out.little32(static_cast<uint32_t>(objects.blockSize(object) + objects.headerSize()));
        out.little32(0);
        const void* data = dataOf(object);
        out.little32(data ? 1 : 0);
        if (!data) continue;
        out.little64(reinterpret_cast<uintptr_t>(data));
        const int32_t block = natives.contains(data)
                                  ? static_cast<int32_t>(natives.blockSize(data) + natives.headerSize())
                                  : -1;
        out.little32(static_cast<uint32_t>(block));
        out.little32(static_cast<uint32_t>(dataBytes(object)));
    }
    out.freeBlocks(objects);
    out.freeBlocks(natives);
    return out.ok();
}

// The collector's statistics and the memory dump. Nothing in the program calls them; they are for
// whoever hunts a leak. The dump's words are 64-bit where they hold addresses.
#include <cstring>
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

// What the statistics count for an object's header: the phone's two 32-bit words.
constexpr size_t kCountedHeaderBytes = 8;

bool isArrayClass(uint16_t id) { return id >= CID_ObjectArray && id <= CID_DoubleArray; }

// Units of a String or StringBuffer, or bytes of an array's elements; 0 for other objects.
size_t dataUnits(Object* object) {
    const uint16_t id = object->classId();
    if (id == CID_String) return static_cast<size_t>(static_cast<String*>(object)->length());
    if (id == CID_StringBuffer) {
        const jint units = static_cast<StringBuffer*>(object)->length;
        return units > 0 ? static_cast<size_t>(units) : 0;
    }
    if (isArrayClass(id)) {
        auto* array = static_cast<Array*>(object);
        return array->length > 0 ? static_cast<size_t>(array->length) * static_cast<size_t>(array->elementSize()) : 0;
    }
    return 0;
}

size_t countedBytes(Object* object) { return kCountedHeaderBytes + dataUnits(object); }

// The dump's data length is in bytes for every kind.
size_t dataBytes(Object* object) {
    const uint16_t id = object->classId();
    return id == CID_String || id == CID_StringBuffer ? dataUnits(object) * sizeof(jchar) : dataUnits(object);
}

// A String's inline units count as its data too (outside the native heap).
const void* dataOf(Object* object) {
    const uint16_t id = object->classId();
    if (id == CID_String) return static_cast<String*>(object)->chars;
    if (id == CID_StringBuffer) return static_cast<StringBuffer*>(object)->chars;
    if (isArrayClass(id)) return static_cast<Array*>(object)->data;
    return nullptr;
}

class DumpWriter {
public:
    void bytes(const void* data, size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + n);
    }
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
    [[nodiscard]] std::vector<uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace

size_t ObjectManager::usedBytes() {
    std::lock_guard guard(m_registryLock);
    size_t total = 0;
    for (Object* object : m_registry) total += countedBytes(object);
    return total;
}

void ObjectManager::printMemoryStats() {
    std::lock_guard guard(m_registryLock);
    size_t counts[kClassCount] = {};
    size_t bytes[kClassCount] = {};
    size_t totalCount = 0;
    size_t totalBytes = 0;
    for (Object* object : m_registry) {
        const uint16_t id = object->classId();
        if (id >= kClassCount) continue;
        ++counts[id];
        bytes[id] += countedBytes(object);
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

std::vector<uint8_t> ObjectManager::memoryDump() {
    std::lock_guard guard(m_registryLock);
    DumpWriter out;
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
    out.bigEndian32(static_cast<uint32_t>(m_registry.size()));
    for (Object* object : m_registry) {
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
    return out.take();
}

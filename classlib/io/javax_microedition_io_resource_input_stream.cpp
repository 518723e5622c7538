// The archive index and its entry streams. The index statics are registered with StaticClass, so
// they are collector roots. The index is read by the one archive index reader and taken whole or not
// at all: every entry a lookup can see lies inside the archive, so a damaged index never points a
// stream astray.
#include "classlib/io/javax_microedition_io_resource_input_stream.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "archive/archive_index.h"

#include "classlib/io/javax_microedition_io_file.h"
#include "classlib/java_io/file_input_stream.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "platform/file_paths.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

using ResourceStream = javax_microedition_io_ResourceInputStream;

javax_microedition_io_File* ResourceStream::archiveFile = nullptr;
ObjectArray* ResourceStream::entryNames = nullptr;
IntArray* ResourceStream::entryOffsets = nullptr;
IntArray* ResourceStream::entrySizes = nullptr;
jint ResourceStream::entryCount = 0;

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(ResourceStream, in)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_io_ResourceInputStream, kRefs);
const NewInstanceRegistration kNew(CID_javax_microedition_io_ResourceInputStream, &newInstanceOf<ResourceStream>);

const StaticRefRegistration kStatics(CID_javax_microedition_io_ResourceInputStream, &ResourceStream::archiveFile,
                                     &ResourceStream::entryNames, &ResourceStream::entryOffsets,
                                     &ResourceStream::entrySizes);

// One leading '/' ignored; ASCII letters without case; everything else exactly.
bool namesMatch(String* entry, String* name, jint skip) {
    const jint n = name->length() - skip;
    if (entry->length() != n) return false;
    for (jint i = 0; i < n; ++i) {
        jchar a = entry->charAt(i);
        jchar b = name->charAt(i + skip);
        if (a >= 'A' && a <= 'Z') a = static_cast<jchar>(a + 32);
        if (b >= 'A' && b <= 'Z') b = static_cast<jchar>(b + 32);
        if (a != b) return false;
    }
    return true;
}

// The index is pulled through the stream this many bytes at a time.
constexpr jint kIndexChunk = 4096;

ClassRecord* indexLock() { return Class::forId(CID_javax_microedition_io_ResourceInputStream); }

}  // namespace

void ResourceStream::init(java_io_InputStream* stream, jint entrySize) {
    in = nullptr;
    size = 0;
    pos = 0;
    in = stream;
    size = entrySize;
}

jint ResourceStream::read() {
    BX_RETURN_IF_NULL(in, -1);
    if (pos >= size) return -1;
    pos += 1;
    return in->read();
}

jint ResourceStream::read_3(ByteArray* b, jint off, jint len) {
    BX_RETURN_IF_NULL(in, 0);
    if (pos >= size) {
        Runtime::raise<java_io_EOFException>();
        return 0;
    }
    if (len > size - pos) len = size - pos;
    const jint got = in->read_3(b, off, len);
    if (got > 0) pos += got;
    return got;
}

jlong ResourceStream::skip(jlong n) {
    BX_RETURN_IF_NULL(in, 0);
    if (n > static_cast<jlong>(size) - pos) n = static_cast<jlong>(size) - pos;
    const jlong skipped = in->skip(n);
    pos = jt::add(pos, jt::l2i(skipped));
    return skipped;
}

void ResourceStream::close() {
    BX_RETURN_IF_NULL(in, );
    in->close();
}

void ResourceStream::mark(jint readlimit) {
    BX_RETURN_IF_NULL(in, );
    in->mark(readlimit);
}

void ResourceStream::reset() {
    BX_RETURN_IF_NULL(in, );
    in->reset();
}

bool ResourceStream::markSupported() {
    BX_RETURN_IF_NULL(in, false);
    return in->markSupported();
}

void ResourceStream::readArchiveIndex(java_io_InputStream* stream, jint archiveSize) {
    entryCount = 0;
    entryNames = nullptr;
    entryOffsets = nullptr;
    entrySizes = nullptr;
    if (!stream || archiveSize < 0) return;
    // The stream's bytes staged in C++ memory a chunk at a time: the chunk's data may move between reads.
    ByteArray* chunk = Runtime::newByteArray(kIndexChunk);
    if (!chunk || chunk->length != kIndexChunk) return;
    std::vector<uint8_t> staged;
    size_t next = 0;
    const archive::ReadBytes read = [&](uint8_t* into, size_t n) -> size_t {
        if (next == staged.size()) {
            const jint got = stream->read_3(chunk, 0, kIndexChunk);
            if (Runtime::pending()) Runtime::clearPendingException();
            if (got <= 0 || got > kIndexChunk || !chunk->data) return 0;
            const auto* data = static_cast<const uint8_t*>(chunk->data);
            staged.assign(data, data + got);
            next = 0;
        }
        const size_t k = std::min(n, staged.size() - next);
        std::memcpy(into, staged.data() + next, k);
        next += k;
        return k;
    };
    std::vector<archive::IndexEntry> entries;
    std::string error;
    if (!archive::readIndex(read, static_cast<uint64_t>(archiveSize), entries, error)) {
        Log::debug("data.bar: %s", error.c_str());
        return;
    }
    const auto count = static_cast<jint>(entries.size());
    if (count < 1) return;
    auto* names = Runtime::newObjectArray(CID_String, count);
    entryNames = names;
    auto* offsets = Runtime::newIntArray(count);
    entryOffsets = offsets;
    auto* sizes = Runtime::newIntArray(count);
    entrySizes = sizes;
    if (!names || !offsets || !sizes || names->length != count || offsets->length != count || sizes->length != count)
        return;
    std::vector<jchar> units;
    for (jint i = 0; i < count; ++i) {
        const archive::IndexEntry& entry = entries[static_cast<size_t>(i)];
        units.assign(entry.name.begin(), entry.name.end());
        String* name = String::fromUnits(units.data(), static_cast<jint>(units.size()));
        if (!name) return;  // the heap is exhausted: no entries at all rather than some
        entryNames->set(i, name);
        entryOffsets->set(i, entry.offset);
        entrySizes->set(i, entry.size);
    }
    entryCount = count;
}

void ResourceStream::loadArchiveIndex() {
    archiveFile = javax_microedition_io_File::make(Runtime::getDataBarPath());
    if (!archiveFile) return;
    FileInputStream* file = archiveFile->openInputStream();
    if (!file) return;
    readArchiveIndex(file, file->size);
    file->close();
}

void ResourceStream::unloadArchiveIndex() {
    MonitorLock guard(indexLock());
    archiveFile = nullptr;
    entryNames = nullptr;
    entryOffsets = nullptr;
    entrySizes = nullptr;
    entryCount = 0;
}

ResourceStream* ResourceStream::openArchiveEntry(String* name) {
    if (!name) {
        Runtime::nullPointer();
        return nullptr;
    }
    jint offset = -1;
    jint entrySize = 0;
    {
        MonitorLock guard(indexLock());
        if (!archiveFile) loadArchiveIndex();
        const jint skip = name->length() > 0 && name->charAt(0) == '/' ? 1 : 0;
        for (jint i = 0; i < entryCount && entryNames; ++i) {
            auto* entry = static_cast<String*>(entryNames->get(i));
            if (!entry || entryOffsets->get(i) < 0 || !namesMatch(entry, name, skip)) continue;
            offset = entryOffsets->get(i);
            entrySize = entrySizes->get(i);
            break;
        }
        if (offset < 0 || !archiveFile) return nullptr;
    }
    FileInputStream* file = archiveFile->openInputStream();
    if (!file) return nullptr;
    file->skip(offset);
    BX_RETURN_IF_PENDING(nullptr);
    auto* stream = Runtime::make<ResourceStream>(file, entrySize);
    if (!stream) file->close();
    return stream;
}

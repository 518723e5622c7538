// What the fuzz targets over runtime objects share: the heaps and a collector, made once per
// process with the log quiet, and the input as a byte[] (null when it is too big to bother).
#pragma once

#include <cstdint>
#include <cstring>

#include "runtime/array.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/object_manager.h"

inline void startFuzzHeaps() {
    if (!Runtime::initHeaps()) __builtin_trap();
    Log::setLevel(LogLevel::Off);
    new ObjectManager();  // lives as long as the process
}

inline ByteArray* fuzzBytes(const uint8_t* data, size_t size) {
    if (size > 0x10000) return nullptr;
    ByteArray* bytes = Runtime::newByteArray(static_cast<jint>(size));
    if (bytes && size > 0) std::memcpy(bytes->data, data, size);
    return bytes;
}

// Runs host I/O as a safe region, so a collection on another thread need not wait for the disk.
// The callable must not touch the object heap or the native heap: read into C++ memory inside,
// copy into arrays afterwards.
#pragma once

#include <utility>

#include "runtime/thread_state.h"

template <class F>
void runBlockingIo(F&& io) {
    using Fn = std::remove_reference_t<F>;
    Runtime::runParked([](void* context) { (*static_cast<Fn*>(context))(); }, &io);
}

// The constant-pool loader: "/constants.bin" (s32 count, then count strings in readUTF form) read
// through a DataInputStream into a new pool. The file is untrusted: the count is held against the
// bytes the stream has, and the first short or malformed string ends the load.
#pragma once

class java_io_InputStream;

namespace Runtime {

// Opens "/constants.bin" with getResourceAsStream and loads it; a missing resource installs an
// empty pool (logged). Registered as StaticClass's constant loader.
void loadConstants();
// Loads the pool from `in` (not closed) and installs it. Every pooled String is non-collectable.
// Literals past the end of the data stay missing (ldcString answers them with the empty String).
void loadConstantsFrom(java_io_InputStream* in);

}  // namespace Runtime

// The memory dump's file: the collector's dump bytes written to the virtual file "memdump.dat" (in
// the install folder, replaced atomically) through a File output stream and a DataOutputStream, as
// every other file of the program is. Nothing in the program calls it; it is for leak hunting.
#pragma once

class ObjectManager;

// False when the file cannot be opened or a write raised (the exception is cleared and logged);
// a failed replace at close is logged by the file layer and keeps the previous dump.
bool writeMemoryDump(ObjectManager& collector);

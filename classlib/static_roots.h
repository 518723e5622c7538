// Static reference fields of class-library classes, until StaticClass holds them: a class roots
// its slots with the installed collector when it first stores into them and unroots them when it
// clears them. Fold these calls into StaticClass's root table once it exists.
#pragma once

class Object;

namespace Runtime {

// Each slot becomes a root of the installed collector (none installed: nothing happens).
void rootStaticSlots(Object** const* slots, int count);
void unrootStaticSlots(Object** const* slots, int count);

}  // namespace Runtime

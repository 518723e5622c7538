// Root registration of class-library statics with the installed collector.
#include "classlib/static_roots.h"

#include "runtime/object_manager.h"

namespace Runtime {

void rootStaticSlots(Object** const* slots, int count) {
    ObjectManager* manager = getObjectManager();
    if (!manager) return;
    for (int i = 0; i < count; ++i) manager->addRoot(slots[i]);
}

void unrootStaticSlots(Object** const* slots, int count) {
    ObjectManager* manager = getObjectManager();
    if (!manager) return;
    for (int i = 0; i < count; ++i) manager->removeRoot(slots[i]);
}

}  // namespace Runtime

// java_lang_Runtime: its instance static, rooted through StaticClass, its initialiser and the
// memory figures.
#include "classlib/java_lang_runtime.h"

#include "runtime/heaps.h"
#include "runtime/memory_manager.h"

#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"

java_lang_Runtime* java_lang_Runtime::s_runtime = nullptr;

namespace {

const StaticRefRegistration kRuntimeStatics(CID_java_lang_Runtime, &java_lang_Runtime::s_runtime);
const StaticInitRegistration kRuntimeInit(StaticInit::java_lang_Runtime_clinit, &java_lang_Runtime::clinit);
const NewInstanceRegistration kRuntimeNew(CID_java_lang_Runtime, &newInstanceOf<java_lang_Runtime>);

}  // namespace

void java_lang_Runtime::clinit() { s_runtime = new java_lang_Runtime(); }

jlong java_lang_Runtime::totalMemory() {
    if (!Runtime::heapsReady()) return 0;
    return static_cast<jlong>(Runtime::objectHeap().arenaSize() + Runtime::nativeHeap().arenaSize());
}

jlong java_lang_Runtime::freeMemory() {
    if (!Runtime::heapsReady()) return 0;
    const size_t used = Runtime::objectHeap().usedBytes() + Runtime::nativeHeap().usedBytes();
    return totalMemory() - static_cast<jlong>(used);
}

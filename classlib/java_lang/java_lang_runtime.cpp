// java_lang_Runtime: its instance static, rooted through StaticClass, its initialiser and the
// memory figures, which are the machine's physical memory, not the heaps'.
#include "classlib/java_lang/java_lang_runtime.h"

#include <unistd.h>

#include "runtime/new_instance_factory.h"
#include "runtime/static_class.h"

java_lang_Runtime* java_lang_Runtime::s_runtime = nullptr;

namespace {

const StaticRefRegistration kRuntimeStatics(CID_java_lang_Runtime, &java_lang_Runtime::s_runtime);
const StaticInitRegistration kRuntimeInit("java_lang_Runtime::clinit", &java_lang_Runtime::clinit);
const NewInstanceRegistration kRuntimeNew(CID_java_lang_Runtime, &newInstanceOf<java_lang_Runtime>);

}  // namespace

void java_lang_Runtime::clinit() { s_runtime = new java_lang_Runtime(); }

namespace {

// Pages of `which` times the page size; 0 when the system cannot say.
jlong physicalBytes(int which) {
    const long pages = sysconf(which);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<jlong>(pages) * static_cast<jlong>(pageSize);
}

}  // namespace

jlong java_lang_Runtime::totalMemory() { return physicalBytes(_SC_PHYS_PAGES); }

jlong java_lang_Runtime::freeMemory() { return physicalBytes(_SC_AVPHYS_PAGES); }

// The registries behind the start-up sequence and the sequence itself. Registrations run before
// main from any file: every registry is constant-initialised or made on first use.
#include "runtime/static_class.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "runtime/class_record.h"
#include "runtime/log.h"

namespace {

struct RefStatic {
    uint16_t classId;
    Object** slot;
};

std::vector<RefStatic>& refStatics() {
    static std::vector<RefStatic> statics;
    return statics;
}

struct Initializer {
    std::string_view step;
    void (*run)();
};

std::vector<Initializer>& initializers() {
    static std::vector<Initializer> registered;
    return registered;
}

void (*g_constantLoader)() = nullptr;

[[noreturn]] void registrationFault(const char* what, unsigned value) {
    std::fprintf(stderr, "static registration: %s (%u)\n", what, value);
    std::abort();
}

[[noreturn]] void registrationFault(const char* what, std::string_view name) {
    std::fprintf(stderr, "static registration: %s (%.*s)\n", what, static_cast<int>(name.size()), name.data());
    std::abort();
}

}  // namespace

void StaticClass::initStatics(StartupOrder order) {
    for (const RefStatic& s : refStatics()) *s.slot = nullptr;
    (void)ClassTable::records();
    if (g_constantLoader)
        g_constantLoader();
    else
        Log::error("the constant-pool loader is not linked in");
    std::vector<Initializer>& registered = initializers();
    std::vector<bool> ran(registered.size(), false);
    for (const std::string_view step : order) {
        const auto it =
            std::find_if(registered.begin(), registered.end(), [step](const Initializer& i) { return i.step == step; });
        if (it == registered.end()) continue;  // its class is not in this build
        const auto index = static_cast<size_t>(it - registered.begin());
        if (ran[index]) continue;
        ran[index] = true;
        Log::debug("static initialiser %.*s", static_cast<int>(step.size()), step.data());
        it->run();
    }
    for (size_t i = 0; i < registered.size(); ++i)
        if (!ran[i])
            Log::error("the start-up order has no place for static initialiser %.*s",
                       static_cast<int>(registered[i].step.size()), registered[i].step.data());
}

void StaticClass::releaseStatics() {
    for (const RefStatic& s : refStatics()) *s.slot = nullptr;
}

void StaticClass::forEachStaticRoot(void (*visit)(Object**, void*), void* context) {
    for (const RefStatic& s : refStatics()) visit(s.slot, context);
}

size_t StaticClass::staticRootCount() { return refStatics().size(); }

void StaticClass::registerRefStatic(uint16_t classId, Object** slot) {
    if (classId >= kClassCount || !slot) registrationFault("reference static of an unknown class", classId);
    for (const RefStatic& s : refStatics())
        if (s.slot == slot) registrationFault("reference static registered twice by class", classId);
    refStatics().push_back({classId, slot});
}

void StaticClass::registerInitializer(const char* step, void (*initializer)()) {
    const std::string_view name = step ? step : "";
    if (name.empty() || !initializer) registrationFault("static initialiser without a name or a function", name);
    for (const Initializer& i : initializers())
        if (i.step == name) registrationFault("static initialiser registered twice", name);
    initializers().push_back({name, initializer});
}

void StaticClass::registerConstantLoader(void (*loader)()) {
    if (g_constantLoader || !loader) registrationFault("constant-pool loader registered twice", 0);
    g_constantLoader = loader;
}

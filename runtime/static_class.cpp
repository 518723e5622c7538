// The start-up table, the registries behind it and the start-up sequence. Registrations run before
// main from any file: every registry is constant-initialised or made on first use.
#include "runtime/static_class.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "runtime/class_record.h"
#include "runtime/log.h"

namespace {

// The order in which the static initialisers run. Each one may rely on everything before it (and
// on the constant pool); later classes insert their steps where their dependencies put them.
constexpr StartupStep kStartupOrder[] = {
    {StaticInit::java_lang_System_clinit, "java_lang_System::clinit"},
    {StaticInit::java_lang_Boolean_clinit, "java_lang_Boolean::clinit"},
    {StaticInit::java_lang_Runtime_clinit, "java_lang_Runtime::clinit"},
    {StaticInit::cGame_drawEffects_clinit, "cGame::initDrawEffects", true},
};
static_assert(std::size(kStartupOrder) == static_cast<size_t>(StaticInit::kCount),
              "every static initialiser has exactly one place in the start-up order");

struct RefStatic {
    uint16_t classId;
    Object** slot;
};

std::vector<RefStatic>& refStatics() {
    static std::vector<RefStatic> statics;
    return statics;
}

void (*g_initializers[static_cast<size_t>(StaticInit::kCount)])() = {};
void (*g_constantLoader)() = nullptr;

[[noreturn]] void registrationFault(const char* what, unsigned value) {
    std::fprintf(stderr, "static registration: %s (%u)\n", what, value);
    std::abort();
}

}  // namespace

void StaticClass::initStatics() {
    for (const RefStatic& s : refStatics()) *s.slot = nullptr;
    (void)ClassTable::records();
    if (g_constantLoader)
        g_constantLoader();
    else
        Log::error("the constant-pool loader is not linked in");
    for (const StartupStep& step : kStartupOrder) {
        void (*initializer)() = g_initializers[static_cast<size_t>(step.step)];
        if (!initializer) {
            if (step.aboveLibrary) continue;
            Log::error("static initialiser %s is not linked in", step.name);
            continue;
        }
        Log::debug("static initialiser %s", step.name);
        initializer();
    }
}

void StaticClass::releaseStatics() {
    for (const RefStatic& s : refStatics()) *s.slot = nullptr;
}

void StaticClass::forEachStaticRoot(void (*visit)(Object**, void*), void* context) {
    for (const RefStatic& s : refStatics()) visit(s.slot, context);
}

std::span<const StartupStep> StaticClass::startupOrder() { return kStartupOrder; }

size_t StaticClass::staticRootCount() { return refStatics().size(); }

void StaticClass::registerRefStatic(uint16_t classId, Object** slot) {
    if (classId >= kClassCount || !slot) registrationFault("reference static of an unknown class", classId);
    for (const RefStatic& s : refStatics())
        if (s.slot == slot) registrationFault("reference static registered twice by class", classId);
    refStatics().push_back({classId, slot});
}

void StaticClass::registerInitializer(StaticInit step, void (*initializer)()) {
    const auto i = static_cast<size_t>(step);
    if (i >= static_cast<size_t>(StaticInit::kCount) || g_initializers[i] || !initializer)
        registrationFault("static initialiser registered twice or unknown", static_cast<unsigned>(i));
    g_initializers[i] = initializer;
}

void StaticClass::registerConstantLoader(void (*loader)()) {
    if (g_constantLoader || !loader) registrationFault("constant-pool loader registered twice", 0);
    g_constantLoader = loader;
}

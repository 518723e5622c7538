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
// The game's steps: the actor tables first (their update orders, then the actor statics, the
// fixed-point constants the tuning values are shifted by), cGame's statics, whose angle constants
// the behaviour tables and the actor timing read, the draw-effect table right after them (cGame's
// statics start it empty), then the promotion screen and the sprite statics
// after the library classes they use, and the type-to-sprite map last. The sprite layer's steps (the
// bitmap font's counters, the animation player's constants and spare arrays, the draw-effect table,
// ASprite's statics) keep the places the game's order gives them.
constexpr StartupStep kStartupOrder[] = {
    {StaticInit::Z_buildUpdateOrderPairs, "Z::buildUpdateOrderPairs", StartupLayer::Game},
    {StaticInit::BitmapFont_statics, "BitmapFont statics", StartupLayer::Sprites},
    {StaticInit::cActor_staticInit, "cActor::staticInit", StartupLayer::Game},
    {StaticInit::cActor_constants, "cActor constants", StartupLayer::Game},
    {StaticInit::Z_setFixedPointConstants, "Z::setFixedPointConstants", StartupLayer::Game},
    {StaticInit::Z_buildTuningConstants, "Z::buildTuningConstants", StartupLayer::Game},
    {StaticInit::BXLibPlayer_constants, "BXLibPlayer constants", StartupLayer::Sprites},
    {StaticInit::cGame_initStaticFields, "cGame::initStaticFields", StartupLayer::Game},
    {StaticInit::cGame_drawEffects_clinit, "cGame::initDrawEffects", StartupLayer::Sprites},
    {StaticInit::Z_copyAngleConstants, "Z::copyAngleConstants", StartupLayer::Game},
    {StaticInit::Z_buildBehaviourTables, "Z::buildBehaviourTables", StartupLayer::Game},
    {StaticInit::Z_buildEnemyParamTables, "Z::buildEnemyParamTables", StartupLayer::Game},
    {StaticInit::cActor_timingStatics, "cActor timing statics", StartupLayer::Game},
    {StaticInit::BXLibPlayer_arrays, "BXLibPlayer arrays", StartupLayer::Sprites},
    {StaticInit::java_lang_System_clinit, "java_lang_System::clinit", StartupLayer::Library},
    {StaticInit::java_lang_Boolean_clinit, "java_lang_Boolean::clinit", StartupLayer::Library},
    {StaticInit::IGP_staticInit, "IGP::staticInit", StartupLayer::Game},
    {StaticInit::ASprite_staticInit, "ASprite::staticInit", StartupLayer::Sprites},
    {StaticInit::java_lang_Runtime_clinit, "java_lang_Runtime::clinit", StartupLayer::Library},
    {StaticInit::Z_buildTypeSpriteMap, "Z::buildTypeSpriteMap", StartupLayer::Game},
};
static_assert(std::size(kStartupOrder) == static_cast<size_t>(StaticInit::kCount),
              "every static initialiser has exactly one place in the start-up order");

constexpr bool tableFollowsTheEnum() {
    for (size_t i = 0; i < std::size(kStartupOrder); ++i)
        if (static_cast<size_t>(kStartupOrder[i].step) != i) return false;
    return true;
}
static_assert(tableFollowsTheEnum(), "the start-up table lists the steps in the enum's order");

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
    bool layerLinked[static_cast<size_t>(StartupLayer::kCount)] = {};
    for (const StartupStep& step : kStartupOrder)
        if (g_initializers[static_cast<size_t>(step.step)]) layerLinked[static_cast<size_t>(step.layer)] = true;
    for (const StartupStep& step : kStartupOrder) {
        void (*initializer)() = g_initializers[static_cast<size_t>(step.step)];
        if (!initializer) {
            if (step.layer == StartupLayer::Library || layerLinked[static_cast<size_t>(step.layer)])
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

// StaticClass: the statics of every class and the start-up sequence that prepares them. A class
// registers its reference statics next to their definitions; those registrations are the
// collector's static roots, marked by every collection (no list of addresses is kept by hand).
// Static initialisers run only from initStatics, once per start-up, in the one start-up table's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "runtime/object.h"

// Every static initialiser the start-up table knows. A class that gains an initialiser adds its
// step here and places it in the table in static_class.cpp.
enum class StaticInit : uint8_t {
    java_lang_System_clinit,
    java_lang_Boolean_clinit,
    java_lang_Runtime_clinit,
    cGame_drawEffects_clinit,
    kCount
};

struct StartupStep {
    StaticInit step;
    const char* name;
    // A step of a layer above the class library (sprites, game): programs that do not link that
    // layer (the library's own tests, the tools) skip it quietly.
    bool aboveLibrary = false;
};

struct StaticClass {
    // The start-up sequence, on the main thread before any other application thread exists:
    //   1. every registered reference static set to null;
    //   2. the class table built;
    //   3. the constant pool loaded (the registered loader);
    //   4. the static initialisers, in startupOrder(); a step whose initialiser is not linked in is
    //      logged as an error and skipped (quietly for a step above the library).
    // The static roots need no step of their own: the registrations are the table.
    static void initStatics();
    // Application::close, before the final collection: every reference static set to null.
    static void releaseStatics();

    // The fixed order of the static initialisers.
    [[nodiscard]] static std::span<const StartupStep> startupOrder();
    // Every registered reference static, for the collector's root marking (null slots included).
    static void forEachStaticRoot(void (*visit)(Object** slot, void* context), void* context);
    [[nodiscard]] static size_t staticRootCount();

    static void registerRefStatic(uint16_t classId, Object** slot);
    static void registerInitializer(StaticInit step, void (*initializer)());
    static void registerConstantLoader(void (*loader)());
};

// A reference static as the root slot it is: T must be a class of the object model.
template <class T>
[[nodiscard]] Object** staticRootSlot(T** slot) {
    static_assert(std::is_base_of_v<Object, T>, "a reference static holds an Object");
    return reinterpret_cast<Object**>(slot);
}

// Next to a class's static definitions:
//     java_lang_Boolean* java_lang_Boolean::TRUE = nullptr;
//     static const StaticRefRegistration kStatics(CID_java_lang_Boolean, &java_lang_Boolean::TRUE, ...);
struct StaticRefRegistration {
    template <class... T>
    explicit StaticRefRegistration(uint16_t classId, T**... slots) {
        (StaticClass::registerRefStatic(classId, staticRootSlot(slots)), ...);
    }
};

//     static const StaticInitRegistration kInit(StaticInit::java_lang_Boolean_clinit, &java_lang_Boolean::clinit);
struct StaticInitRegistration {
    StaticInitRegistration(StaticInit step, void (*initializer)()) {
        StaticClass::registerInitializer(step, initializer);
    }
};

struct ConstantLoaderRegistration {
    explicit ConstantLoaderRegistration(void (*loader)()) { StaticClass::registerConstantLoader(loader); }
};

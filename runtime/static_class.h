// StaticClass: the statics of every class and the start-up sequence that prepares them. A class
// registers its reference statics next to their definitions; those registrations are the
// collector's static roots, marked by every collection (no list of addresses is kept by hand).
// Static initialisers run only from initStatics, once per start-up, in the order its caller gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "runtime/object.h"

// The order in which the static initialisers run: step names, each naming the initialiser a class
// registered for it. The program's top layer, which knows every layer, gives it; the runtime only
// follows it.
using StartupOrder = std::span<const std::string_view>;

struct StaticClass {
    // The start-up sequence, on the main thread before any other application thread exists:
    //   1. every registered reference static set to null;
    //   2. the class table built;
    //   3. the constant pool loaded (the registered loader);
    //   4. the static initialisers, in `order`: a step whose class is not in this build is skipped
    //      quietly, a step named twice runs once, and a registered initialiser the order does not
    //      name is logged as an error and never runs (it has no safe place).
    // The static roots need no step of their own: the registrations are the table.
    static void initStatics(StartupOrder order);
    // Application::close, before the final collection: every reference static set to null.
    static void releaseStatics();

    // Every registered reference static, for the collector's root marking (null slots included).
    static void forEachStaticRoot(void (*visit)(Object** slot, void* context), void* context);
    [[nodiscard]] static size_t staticRootCount();

    static void registerRefStatic(uint16_t classId, Object** slot);
    // `step` is a literal that lives as long as the program.
    static void registerInitializer(const char* step, void (*initializer)());
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

//     static const StaticInitRegistration kInit("C::clinit", &C::clinit);
struct StaticInitRegistration {
    StaticInitRegistration(const char* step, void (*initializer)()) {
        StaticClass::registerInitializer(step, initializer);
    }
};

struct ConstantLoaderRegistration {
    explicit ConstantLoaderRegistration(void (*loader)()) { StaticClass::registerConstantLoader(loader); }
};

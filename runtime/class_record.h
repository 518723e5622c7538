// ClassRecord: one per class id, in id order; a pointer to one is what the program hands out as a
// java_lang_Class. Records are never collected and not registered: class id 1, collectable 0.
// Reference-field lists are built statically per class (own fields registered by the class's file,
// flattened with the superclass chain once), so the collector never depends on creation order.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/object.h"

class ClassRecord : public Object {
public:
    ClassRecord() {
        setClassId(CID_Class);
        setCollectable(false);
    }

    [[nodiscard]] const char* name() const { return m_name; }
    [[nodiscard]] uint32_t id() const { return m_classId; }
    [[nodiscard]] uint32_t superclassId() const { return m_superclassId; }
    // Byte offsets, from the object's start, of every reference field the class and its
    // superclasses declare.
    [[nodiscard]] const uint32_t* refFieldOffsets() const { return m_refOffsets; }
    [[nodiscard]] uint32_t refFieldCount() const { return m_refCount; }

private:
    friend struct ClassTable;
    const char* m_name = nullptr;
    uint32_t m_classId = 0;
    uint32_t m_superclassId = kNoSuperclass;
    const uint32_t* m_refOffsets = nullptr;
    uint32_t m_refCount = 0;
};

// The table of the 134 records, built on first use from the class-id tables and the registered
// reference fields.
struct ClassTable {
    [[nodiscard]] static ClassRecord* records();
    // Registers a class's own reference fields (not its superclass's). Called once per class from
    // a static registration object in the class's file, before main.
    static void registerOwnRefFields(uint16_t classId, const uint32_t* offsets, uint32_t count);
};

// Static registration of a class's own reference fields:
//     static const uint32_t kRefs[] = {BX_REF_FIELD(java_lang_Thread, m_target)};
//     static const RefFieldRegistration kRefsReg(CID_java_lang_Thread, kRefs);
struct RefFieldRegistration {
    template <size_t N>
    RefFieldRegistration(uint16_t classId, const uint32_t (&offsets)[N]) {
        ClassTable::registerOwnRefFields(classId, offsets, static_cast<uint32_t>(N));
    }
};
#define BX_REF_FIELD(Class, field) static_cast<uint32_t>(offsetof(Class, field))

// The class natives.
struct Class {
    // The record of classId, null for an id no record holds.
    [[nodiscard]] static ClassRecord* forId(jint classId);
    [[nodiscard]] static ClassRecord* forObject(Object* object);
    // '.' read as '_' ("java.lang.String" finds "java_lang_String"); null when no record has the name.
    [[nodiscard]] static ClassRecord* forName(String* name);
    // A new String of the record's (underscored) name.
    [[nodiscard]] static String* getName(ClassRecord* record);
    // 1 when a is b or b is on a's superclass chain.
    [[nodiscard]] static bool isSubclassOf(const ClassRecord* a, const ClassRecord* b);
    [[nodiscard]] static bool isInstance(const ClassRecord* record, Object* object);
};

namespace Runtime {

// instanceof: null and collected objects answer false; an interface answers through slot 5; a
// class through the superclass chain.
[[nodiscard]] bool instanceOf(Object* object, jint classId);
// checkcast: logs "check cast" with the trace on failure, raises nothing, answers the object.
Object* checkCast(Object* object, jint classId);
// Debug check for constructors: the fields a constructor names must be the static list of its class.
// Answers false (and logs) on a mismatch.
bool registerRefFields(Object* object, void* const* fieldAddresses, uint32_t count);

}  // namespace Runtime

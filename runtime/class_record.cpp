// Class table and the type tests. The table is built once (thread-safe static) after every
// registration object has run, which C++ guarantees for uses from main onward.
#include "runtime/class_record.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

namespace {

struct OwnRefFields {
    const uint32_t* offsets;
    uint32_t count;
    bool registered;
};
// Constant-initialised, so registrations from any file's static initialisers may write it.
OwnRefFields g_ownRefFields[kClassCount];

struct BuiltTable {
    ClassRecord records[kClassCount];
    std::vector<uint32_t> refLists[kClassCount];
};

void appendRefFields(std::vector<uint32_t>& out, uint32_t classId, int depth) {
    if (classId >= static_cast<uint32_t>(kClassCount) || depth > kClassCount) return;
    appendRefFields(out, kSuperclassIds[classId], depth + 1);
    const OwnRefFields& own = g_ownRefFields[classId];
    out.insert(out.end(), own.offsets, own.offsets + own.count);
}

}  // namespace

void ClassTable::registerOwnRefFields(uint16_t classId, const uint32_t* offsets, uint32_t count) {
    if (classId >= kClassCount || g_ownRefFields[classId].registered) {
        std::fprintf(stderr, "reference fields of class %u registered twice or out of range\n", classId);
        std::abort();
    }
    g_ownRefFields[classId] = {offsets, count, true};
}

ClassRecord* ClassTable::records() {
    static BuiltTable* table = [] {
        auto* t = new BuiltTable();  // lives for the program; records are handed out as Class objects
        for (uint32_t id = 0; id < static_cast<uint32_t>(kClassCount); ++id) {
            ClassRecord& r = t->records[id];
            r.m_name = kClassNames[id];
            r.m_classId = id;
            r.m_superclassId = kSuperclassIds[id];
            appendRefFields(t->refLists[id], id, 0);
            r.m_refOffsets = t->refLists[id].empty() ? nullptr : t->refLists[id].data();
            r.m_refCount = static_cast<uint32_t>(t->refLists[id].size());
        }
        return t;
    }();
    return table->records;
}

ClassRecord* Class::forId(jint classId) {
    if (classId < 0 || classId >= kClassCount) return nullptr;
    return &ClassTable::records()[classId];
}

ClassRecord* Class::forObject(Object* object) {
    if (!object) {
        Runtime::nullPointer();
        return nullptr;
    }
    return forId(object->classId());
}

ClassRecord* Class::forName(String* name) {
    if (!name) {
        Runtime::nullPointer();
        return nullptr;
    }
    std::string wanted;
    const jint length = name->length();
    for (jint i = 0; i < length; ++i) {
        const jchar c = name->charAt(i);
        if (c == 0 || c > 0x7F) return nullptr;  // class names are ASCII
        wanted += c == '.' ? '_' : static_cast<char>(c);
    }
    ClassRecord* records = ClassTable::records();
    for (int id = 0; id < kClassCount; ++id) {
        if (wanted == records[id].name()) return &records[id];
    }
    // Object, Class, String and StringBuffer carry bare names in the table; their Java names find
    // them too, as Class.forName("java.lang.String") does on any Java platform.
    static constexpr std::string_view kJavaLang = "java_lang_";
    if (wanted.starts_with(kJavaLang)) {
        const std::string bare = wanted.substr(kJavaLang.size());
        for (int id = CID_Object; id <= CID_StringBuffer; ++id) {
            if (bare == records[id].name()) return &records[id];
        }
    }
    return nullptr;
}

String* Class::getName(ClassRecord* record) {
    if (!record) {
        Runtime::nullPointer();
        return nullptr;
    }
    return String::fromCString(record->name());
}

bool Class::isSubclassOf(const ClassRecord* a, const ClassRecord* b) {
    if (!a || !b) return false;
    if (a->id() == b->id()) return true;
    // The chain is at most kClassCount long; the bound guards against a cycle.
    uint32_t id = a->superclassId();
    for (int steps = 0; id != kNoSuperclass && steps < kClassCount; ++steps) {
        const ClassRecord* r = forId(static_cast<jint>(id));
        if (!r) return false;
        if (r->id() == b->id()) return true;
        id = r->superclassId();
    }
    return false;
}

bool Class::isInstance(const ClassRecord* record, Object* object) {
    if (!record) {
        Runtime::nullPointer();
        return false;
    }
    return Runtime::instanceOf(object, static_cast<jint>(record->id()));
}

namespace Runtime {

bool instanceOf(Object* object, jint classId) {
    // A swept object's table may already be overwritten: never call through it.
    if (!object || object->classId() == kCollectedClassId) return false;
    if (object->getInterface(classId) != nullptr) return true;
    return Class::isSubclassOf(Class::forObject(object), Class::forId(classId));
}

Object* checkCast(Object* object, jint classId) {
    if (object && !instanceOf(object, classId)) {
        traceLog("check cast");
        printStackTrace();
    }
    return object;
}

bool registerRefFields(Object* object, void* const* fieldAddresses, uint32_t count) {
    if (!object) return false;
    const ClassRecord* record = Class::forObject(object);
    if (!record) return false;
    std::vector<uint32_t> given;
    for (uint32_t i = 0; i < count; ++i)
        given.push_back(static_cast<uint32_t>(reinterpret_cast<const uint8_t*>(fieldAddresses[i]) -
                                              reinterpret_cast<const uint8_t*>(object)));
    std::vector<uint32_t> known(record->refFieldOffsets(), record->refFieldOffsets() + record->refFieldCount());
    std::sort(given.begin(), given.end());
    std::sort(known.begin(), known.end());
    if (given == known) return true;
    Log::error("reference fields of %s differ from its static list (%u given, %u listed)", record->name(), count,
               record->refFieldCount());
    return false;
}

}  // namespace Runtime

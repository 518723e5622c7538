#include <gtest/gtest.h>

#include <cinttypes>
#include <string>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/string.h"
#include "runtime_fixture.h"

namespace {

std::string narrow(String* s) {
    std::string out;
    for (jint i = 0; s && i < s->length(); ++i) out += static_cast<char>(s->charAt(i));
    return out;
}

// Stand-ins with the ids of the actor classes: cActor carries the constant interfaces IActorType,
// IConst and IDef as bytes after the header; cHero keeps IDef's byte after its own fields.
class FakeActor : public Object {
public:
    FakeActor() { setClassId(CID_cActor); }
    void* getInterface(jint id) override {
        switch (id) {
            case CID_IActorType: return &m_iActorType;
            case CID_IConst: return &m_iConst;
            case CID_IDef: return &m_iDef;
            default: return nullptr;
        }
    }
    uint8_t m_iActorType, m_iConst, m_iDef;
    Object* m_target;
    jint m_x;
};
class FakeHero : public FakeActor {
public:
    FakeHero() { setClassId(CID_cHero); }
    void* getInterface(jint id) override { return id == CID_IDef ? &m_iDefHero : FakeActor::getInterface(id); }
    String* m_name;
    jint m_lives;
    Object* m_weapon;
    uint8_t m_iDefHero;
};
// Registered in the "wrong" order (subclass first) on purpose: lists must not depend on it.
const uint32_t kHeroRefs[] = {BX_REF_FIELD(FakeHero, m_name), BX_REF_FIELD(FakeHero, m_weapon)};
const RefFieldRegistration kHeroRefsReg(CID_cHero, kHeroRefs);
const uint32_t kActorRefs[] = {BX_REF_FIELD(FakeActor, m_target)};
const RefFieldRegistration kActorRefsReg(CID_cActor, kActorRefs);

class CountingRegistry : public ObjectRegistry {
public:
    void registerObject(Object* object, size_t) override {
        ++count;
        last = object;
    }
    int count = 0;
    Object* last = nullptr;
};

using ObjectModelTest = RuntimeTest;

TEST(ClassTableTest, RecordsFollowTheNameAndSuperclassTables) {
    struct Case {
        jint id;
        const char* name;
        uint32_t super;
    };
    const Case cases[] = {
        {0, "Object", kNoSuperclass},
        {1, "Class", 0},
        {12, "DoubleArray", 0},
        {13, "com_samsung_util_AudioClip", 0},
        {45, "java_lang_NumberFormatException", 37},
        {51, "java_lang_Thread", 0},
        {68, "java_util_TimerThread", 51},
        {114, "javax_microedition_rms_RecordStoreNotOpenException", 111},
        {120, "cGame", 83},
        {127, "VorpaZQTI", 103},
        {133, "Z", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClassRecord* r = Class::forId(c.id);
        ASSERT_NE(r, nullptr);
        EXPECT_STREQ(r->name(), c.name);
        EXPECT_EQ(r->id(), static_cast<uint32_t>(c.id));
        EXPECT_EQ(r->superclassId(), c.super);
    }
    EXPECT_EQ(Class::forId(134), nullptr);
    EXPECT_EQ(Class::forId(-1), nullptr);
}

TEST(ClassTableTest, ReferenceFieldListsIncludeInheritedFieldsWhateverTheRegistrationOrder) {
    const ClassRecord* actor = Class::forId(CID_cActor);
    ASSERT_EQ(actor->refFieldCount(), 1u);
    EXPECT_EQ(actor->refFieldOffsets()[0], offsetof(FakeActor, m_target));
    const ClassRecord* hero = Class::forId(CID_cHero);
    ASSERT_EQ(hero->refFieldCount(), 3u);
    EXPECT_EQ(hero->refFieldOffsets()[0], offsetof(FakeHero, m_target));
    EXPECT_EQ(hero->refFieldOffsets()[1], offsetof(FakeHero, m_name));
    EXPECT_EQ(hero->refFieldOffsets()[2], offsetof(FakeHero, m_weapon));
    EXPECT_EQ(Class::forId(CID_String)->refFieldCount(), 0u);
}

TEST(ClassTableTest, ClassRecordIsAUsableNonCollectableObject) {
    ClassRecord* r = Class::forId(CID_java_lang_Thread);
    EXPECT_EQ(r->classId(), CID_Class);
    EXPECT_FALSE(r->isCollectable());
    // Virtual calls through the record's table are safe.
    EXPECT_TRUE(r->equals(r));
    EXPECT_EQ(r->getInterface(CID_java_lang_Runnable), nullptr);
    EXPECT_TRUE(Runtime::instanceOf(r, CID_Class));
}

TEST_F(ObjectModelTest, HeaderConstructorStampsTheMostDerivedIdAndRegisters) {
    CountingRegistry registry;
    Runtime::setObjectRegistry(&registry);
    auto* hero = new FakeHero();
    Runtime::setObjectRegistry(nullptr);
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->classId(), CID_cHero);
    EXPECT_TRUE(hero->isCollectable());
    EXPECT_EQ(hero->markBits(), 1);
    EXPECT_EQ(hero->m_target, nullptr);  // zeroed by the allocator
    EXPECT_EQ(hero->m_lives, 0);
    EXPECT_EQ(registry.count, 1);
    EXPECT_EQ(registry.last, hero);
}

TEST_F(ObjectModelTest, InstanceOfFollowsSuperclassChainsAndInterfaces) {
    auto* hero = new FakeHero();
    auto* actor = new FakeActor();
    auto* plain = new Object();
    auto* stale = new FakeHero();
    stale->stampCollected();
    struct Case {
        const char* what;
        Object* object;
        jint classId;
        bool want;
    };
    const Case cases[] = {
        {"hero is a cActor (superclass)", hero, CID_cActor, true},
        {"hero is a cHero", hero, CID_cHero, true},
        {"hero is an Object", hero, CID_Object, true},
        {"hero is an IDef (its own byte)", hero, CID_IDef, true},
        {"hero is an IConst (inherited)", hero, CID_IConst, true},
        {"hero is not a Throwable", hero, CID_java_lang_Throwable, false},
        {"actor is not a cHero", actor, CID_cHero, false},
        {"actor is an IActorType", actor, CID_IActorType, true},
        {"Object is not an IDef", plain, CID_IDef, false},
        {"null is nothing", nullptr, CID_Object, false},
        {"a collected object is nothing", stale, CID_Object, false},
        {"an unknown class id", hero, 500, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Runtime::instanceOf(c.object, c.classId), c.want);
    }
    EXPECT_EQ(hero->getInterface(CID_IDef), &hero->m_iDefHero);
    EXPECT_TRUE(Class::isInstance(Class::forId(CID_cActor), hero));
    EXPECT_FALSE(Class::isInstance(Class::forId(CID_cHero), actor));
}

TEST(ClassTableTest, IsSubclassOfWalksTheChain) {
    struct Case {
        jint a, b;
        bool want;
    };
    const Case cases[] = {
        {CID_java_io_EOFException, CID_java_lang_Exception, true},  // 20 -> 22 -> 35
        {CID_java_io_EOFException, CID_java_lang_Throwable, true},
        {CID_java_lang_NumberFormatException, CID_java_lang_RuntimeException, true},  // 45 -> 37 -> 48
        {CID_java_lang_Exception, CID_java_io_IOException, false},
        {CID_javax_microedition_rms_RecordStoreNotFoundException, CID_javax_microedition_rms_InvalidRecordIDException,
         false},
        {CID_cGame, CID_javax_microedition_lcdui_Displayable, true},  // 120 -> 83 -> 87
        {CID_Object, CID_Object, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " < " + std::to_string(c.b));
        EXPECT_EQ(Class::isSubclassOf(Class::forId(c.a), Class::forId(c.b)), c.want);
    }
    EXPECT_FALSE(Class::isSubclassOf(nullptr, Class::forId(0)));
}

TEST_F(ObjectModelTest, ForNameAndGetNameUseTheUnderscoredForm) {
    ClassRecord* r = Class::forName(String::fromCString("java.lang.String"));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->id(), static_cast<uint32_t>(CID_String));
    EXPECT_EQ(narrow(Class::getName(r)), "String");  // the table's own name
    EXPECT_EQ(Class::forName(String::fromCString("String")), r);
    EXPECT_EQ(Class::forName(String::fromCString("java.lang.Thread")), Class::forId(CID_java_lang_Thread));
    EXPECT_EQ(narrow(Class::getName(Class::forId(CID_java_lang_Thread))), "java_lang_Thread");
    EXPECT_EQ(Class::forName(String::fromCString("java_util_Vector")), Class::forId(CID_java_util_Vector));
    EXPECT_EQ(Class::forName(String::fromCString("java.lang.Nothing")), nullptr);
    EXPECT_EQ(Class::forName(String::fromCString("")), nullptr);
}

TEST_F(ObjectModelTest, ObjectSlotsBehaveAsTheRootClass) {
    LogCapture log;
    auto* a = new FakeActor();
    auto* b = new FakeActor();
    EXPECT_TRUE(a->equals(a));
    EXPECT_FALSE(a->equals(b));
    EXPECT_FALSE(a->equals(nullptr));
    EXPECT_EQ(a->hashCode(), static_cast<jint>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(a))));
    EXPECT_EQ(a->clone(), nullptr);
    EXPECT_TRUE(log.contains("clone"));
    char want[64];
    std::snprintf(want, sizeof want, "Object_id=118 @0x%" PRIxPTR, reinterpret_cast<uintptr_t>(a));
    EXPECT_EQ(narrow(a->toString()), want);
}

TEST_F(ObjectModelTest, CheckCastLogsButNeverStops) {
    LogCapture log;
    auto* actor = new FakeActor();
    EXPECT_EQ(Runtime::checkCast(actor, CID_cActor), actor);
    EXPECT_FALSE(log.contains("check cast"));
    EXPECT_EQ(Runtime::checkCast(actor, CID_cHero), actor);
    EXPECT_TRUE(log.contains("check cast"));
}

TEST_F(ObjectModelTest, RegisterRefFieldsChecksAgainstTheStaticList) {
    LogCapture log;
    auto* hero = new FakeHero();
    void* const right[] = {&hero->m_weapon, &hero->m_target, &hero->m_name};
    EXPECT_TRUE(Runtime::registerRefFields(hero, right, 3));
    void* const missing[] = {&hero->m_target};
    EXPECT_FALSE(Runtime::registerRefFields(hero, missing, 1));
    EXPECT_TRUE(log.contains("cHero"));
}

TEST_F(ObjectModelTest, ExhaustedObjectHeapYieldsNullAndRegistersNothing) {
    objectManager().setAbortOnExhaustion(false);  // exhausted on purpose
    CountingRegistry registry;
    Runtime::setObjectRegistry(&registry);
    int made = 0;
    while (new FakeHero() != nullptr) ++made;
    Runtime::setObjectRegistry(nullptr);
    EXPECT_GT(made, 1000);
    EXPECT_EQ(registry.count, made);
}

}  // namespace

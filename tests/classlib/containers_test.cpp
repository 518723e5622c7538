// Hashtable, Vector, Stack and Random beyond the JVM transcript: the growth points, the failure
// paths with their exceptions and messages, and the places where we differ from the JVM.
#include <gtest/gtest.h>

#include <string>

#include "../runtime/runtime_fixture.h"
#include "../runtime/text_helpers.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/java_util/java_util_random.h"
#include "classlib/java_util/java_util_stack.h"
#include "pool_helpers.h"
#include "runtime/clock.h"
#include "runtime/exceptions.h"
#include "runtime/java_lang_throwable.h"

namespace {

java_lang_Integer* integer(jint v) {
    auto* i = new java_lang_Integer();
    i->init(v);
    return i;
}

class ContainersTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        installContainerLiterals();
    }
    void TearDown() override {
        Runtime::clearPendingException();
        Runtime::setConstantPool(nullptr);
        RuntimeTest::TearDown();
    }
    // The pending exception's class id and message, cleared; "none" when nothing is pending.
    static std::string takePending() {
        Object* e = Runtime::getPendingException();
        if (!e) return "none";
        Runtime::clearPendingException();
        auto* t = static_cast<java_lang_Throwable*>(e);
        return std::string(kClassNames[e->classId()]) + ": " + narrow(t->getMessage());
    }
    static java_util_Hashtable* table() {
        auto* h = new java_util_Hashtable();
        h->init();
        return h;
    }
};

TEST_F(ContainersTest, HashtableGrowsOnlyWhenANewKeyMeetsTheThreshold) {
    java_util_Hashtable* h = table();
    for (jint i = 0; i < 8; ++i) h->put(integer(i), integer(i));
    EXPECT_EQ(h->table->length, 11);
    h->put(integer(3), integer(33));  // a present key replaces even at the threshold
    EXPECT_EQ(h->table->length, 11);
    h->put(integer(8), integer(8));
    EXPECT_EQ(h->table->length, 23);
    EXPECT_EQ(h->threshold, 17);
    EXPECT_EQ(h->size(), 9);

    auto* tiny = new java_util_Hashtable();
    tiny->init(0);
    EXPECT_EQ(tiny->table->length, 1);
    EXPECT_EQ(tiny->threshold, 0);
    tiny->put(integer(1), integer(1));
    EXPECT_EQ(tiny->table->length, 3);
    EXPECT_EQ(tiny->threshold, 2);

    auto* negative = new java_util_Hashtable();
    negative->init(-1);
    EXPECT_EQ(takePending(), "java_lang_IllegalArgumentException: <null>");
}

TEST_F(ContainersTest, HashtableBucketIsTheLow31BitsOfTheHashModCapacity) {
    java_util_Hashtable* h = table();
    h->put(integer(static_cast<jint>(0x80000005u)), integer(1));
    auto* entry = static_cast<java_util_HashtableEntry*>(h->table->get(5));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->hash, static_cast<jint>(0x80000005u));
}

TEST_F(ContainersTest, HashtableRefusesNullValuesAndKeysWithNullPointerException) {
    java_util_Hashtable* h = table();
    h->put(integer(1), integer(10));
    struct Case {
        const char* what;
        void (*call)(java_util_Hashtable*);
    };
    const Case cases[] = {
        {"put null value", [](java_util_Hashtable* t) { EXPECT_EQ(t->put(integer(2), nullptr), nullptr); }},
        {"put null key", [](java_util_Hashtable* t) { EXPECT_EQ(t->put(nullptr, integer(2)), nullptr); }},
        {"get null key", [](java_util_Hashtable* t) { EXPECT_EQ(t->get(nullptr), nullptr); }},
        {"remove null key", [](java_util_Hashtable* t) { EXPECT_EQ(t->remove(nullptr), nullptr); }},
        {"containsKey null", [](java_util_Hashtable* t) { EXPECT_FALSE(t->containsKey(nullptr)); }},
        {"contains null", [](java_util_Hashtable* t) { EXPECT_FALSE(t->contains(nullptr)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.call(h);
        EXPECT_EQ(takePending(), "java_lang_NullPointerException: ");
        EXPECT_EQ(h->size(), 1);
    }
    EXPECT_TRUE(h->contains(integer(10)));
    EXPECT_EQ(h->remove(integer(7)), nullptr);
    EXPECT_EQ(h->size(), 1);
}

TEST_F(ContainersTest, ExhaustedEnumerationRaisesNoSuchElementAndStaysExhausted) {
    java_util_Hashtable* h = table();
    h->put(str("a"), str("1"));
    java_util_Hashtable_HashtableEnumerator* keys = h->keys();
    EXPECT_EQ(narrow(static_cast<String*>(keys->nextElement())), "a");
    EXPECT_FALSE(keys->hasMoreElements());
    EXPECT_EQ(keys->nextElement(), nullptr);
    EXPECT_EQ(takePending(), "java_util_NoSuchElementException: Hashtable Enumerator");
    EXPECT_FALSE(keys->hasMoreElements());

    h->clear();
    EXPECT_EQ(h->table->length, 11);
    EXPECT_EQ(h->size(), 0);
    EXPECT_FALSE(h->keys()->hasMoreElements());
}

TEST_F(ContainersTest, EnumeratorMadeBeforeARehashWalksTheOldBuckets) {
    java_util_Hashtable* h = table();
    for (jint i = 0; i < 8; ++i) h->put(integer(i), integer(i));
    java_util_Hashtable_HashtableEnumerator* before = h->elements();
    ObjectArray* oldBuckets = h->table;
    h->put(integer(100), integer(100));
    EXPECT_NE(h->table, oldBuckets);
    EXPECT_EQ(before->table, oldBuckets);
    std::string seen;
    while (before->hasMoreElements()) seen += std::to_string(static_cast<java_lang_Integer*>(before->nextElement())->value);
    // Every key of the old array is still in its old bucket (each now a chain of one), the new key
    // is not.
    EXPECT_EQ(seen, "76543210");
}

TEST_F(ContainersTest, HashtableToStringOfEmptyAndOfOneEntry) {
    java_util_Hashtable* h = table();
    EXPECT_EQ(narrow(h->toString()), "{}");
    h->put(str("key"), integer(-7));
    EXPECT_EQ(narrow(h->toString()), "{key=-7}");
}

java_util_Vector* vectorOf(std::initializer_list<const char*> texts) {
    auto* v = new java_util_Vector();
    v->init();
    for (const char* t : texts) v->addElement(t ? str(t) : nullptr);
    return v;
}

std::string contents(java_util_Vector* v) {
    std::string out;
    for (jint i = 0; i < v->size(); ++i) out += (i ? "," : "") + narrow(static_cast<String*>(v->elementAt(i)));
    return out;
}

TEST_F(ContainersTest, VectorIndexErrorsRaiseWithTheIndexAndChangeNothing) {
    struct Case {
        const char* what;
        void (*call)(java_util_Vector*);
        const char* message;
    };
    const Case cases[] = {
        {"elementAt(size)", [](java_util_Vector* v) { EXPECT_EQ(v->elementAt(3), nullptr); }, "3"},
        {"elementAt(-1)", [](java_util_Vector* v) { EXPECT_EQ(v->elementAt(-1), nullptr); }, "-1"},
        {"setElementAt(-2)", [](java_util_Vector* v) { v->setElementAt(str("x"), -2); }, "-2"},
        {"removeElementAt(3)", [](java_util_Vector* v) { v->removeElementAt(3); }, "3"},
        {"insertElementAt(size + 1)", [](java_util_Vector* v) { v->insertElementAt(str("x"), 4); }, "4"},
        {"insertElementAt(-1)", [](java_util_Vector* v) { v->insertElementAt(str("x"), -1); }, "-1"},
        {"setSize(-1)", [](java_util_Vector* v) { v->setSize(-1); }, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        java_util_Vector* v = vectorOf({"a", "b", "c"});
        c.call(v);
        EXPECT_EQ(takePending(),
                  std::string("java_lang_ArrayIndexOutOfBoundsException: Array index out of range: ") + c.message);
        EXPECT_EQ(contents(v), "a,b,c");
    }
    java_util_Vector* v = vectorOf({"a", "b", "c"});
    EXPECT_EQ(v->lastIndexOf(str("a"), 3), -1);
    EXPECT_EQ(takePending(), "java_lang_IndexOutOfBoundsException: 3");
    auto* bad = new java_util_Vector();
    bad->init(-1);
    EXPECT_EQ(takePending(), "java_lang_IllegalArgumentException: Illegal capacity");
}

TEST_F(ContainersTest, VectorInsertsRemovesAndSearches) {
    java_util_Vector* v = vectorOf({"a", nullptr, "b"});
    v->insertElementAt(str("end"), 3);
    v->insertElementAt(str("start"), 0);
    EXPECT_EQ(contents(v), "start,a,<null>,b,end");
    EXPECT_EQ(v->indexOf(nullptr), 2);
    EXPECT_TRUE(v->contains(str("b")));  // equal, not the same object
    EXPECT_EQ(v->lastIndexOf(str("a")), 1);
    EXPECT_TRUE(v->removeElement(str("a")));
    EXPECT_FALSE(v->removeElement(str("zzz")));
    v->removeElementAt(0);
    EXPECT_EQ(contents(v), "<null>,b,end");
    EXPECT_EQ(v->elementData->get(3), nullptr);  // freed slots hold null
    EXPECT_EQ(v->elementData->get(4), nullptr);
    EXPECT_EQ(takePending(), "none");

    auto* empty = new java_util_Vector();
    empty->init();
    EXPECT_EQ(empty->firstElement(), nullptr);
    EXPECT_EQ(empty->lastElement(), nullptr);
    EXPECT_EQ(takePending(), "none");
}

TEST_F(ContainersTest, StackPopsLastInFirstOutAndSearchesFromTheTop) {
    auto* s = new java_util_Stack();
    s->init();
    EXPECT_EQ(s->pop(), nullptr);
    EXPECT_EQ(takePending(), "java_util_EmptyStackException: ");
    EXPECT_EQ(s->classId(), CID_java_util_Stack);
    String* a = str("a");
    s->push(a);
    s->push(str("b"));
    s->push(str("c"));
    EXPECT_EQ(s->search(str("c")), 1);
    EXPECT_EQ(s->search(a), 3);
    EXPECT_EQ(s->search(str("d")), -1);
    EXPECT_EQ(narrow(static_cast<String*>(s->pop())), "c");
    EXPECT_EQ(narrow(static_cast<String*>(s->peek())), "b");
    EXPECT_EQ(s->size(), 2);
    EXPECT_FALSE(s->empty());
}

TEST_F(ContainersTest, RandomSeedsFromTheClockAndRefusesBoundsBelowOne) {
    auto* zero = new java_util_Random();
    zero->init(0);
    EXPECT_EQ(zero->state(), 0x5DEECE66Du);

    ManualClock clock;
    clock.advance(0x1'2345'6789);
    Runtime::setClock(&clock);
    auto* timed = new java_util_Random();
    timed->init();
    Runtime::setClock(nullptr);
    EXPECT_EQ(timed->seedLow, 0x23456789u ^ 0xDEECE66Du);
    EXPECT_EQ(timed->seedHigh, 5u);

    for (jint n : {0, -5}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(zero->nextInt(n), 0);
        EXPECT_EQ(takePending(), "java_lang_IllegalArgumentException: n must be positive");
    }
}

TEST_F(ContainersTest, NextFloatDividesTheTop24BitsBy16777220) {
    auto* r = new java_util_Random();
    r->init(42);
    auto* twin = new java_util_Random();
    twin->init(42);
    for (int i = 0; i < 4; ++i) {
        const auto top24 = static_cast<uint32_t>(twin->nextInt()) >> 8;
        EXPECT_EQ(r->nextFloat(), static_cast<float>(top24) / 16777220.0f);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/thread_state.h"

namespace {

std::string narrow(String* s) {
    std::string out;
    for (jint i = 0; s && i < s->length(); ++i) out += static_cast<char>(s->charAt(i));
    return out;
}

class ExceptionsTest : public RuntimeTest {
protected:
    void TearDown() override {
        Runtime::clearPendingException();
        Runtime::setConstantPool(nullptr);
        RuntimeTest::TearDown();
    }
};

// A throwable that also answers for an interface id, as a class with an interface sub-object does.
class RunnableThrowable : public java_lang_Throwable {
public:
    void* getInterface(jint id) override { return id == CID_java_lang_Runnable ? &m_runnable : nullptr; }
    uint64_t m_runnable;
};

TEST_F(ExceptionsTest, EveryClassCarriesItsIdAndTheTableSuperclass) {
    struct Case {
        Object* object;
        ClassId id;
    };
    const Case cases[] = {
        {new java_lang_Exception(), CID_java_lang_Exception},
        {new java_io_EOFException(), CID_java_io_EOFException},
        {new java_lang_NumberFormatException(), CID_java_lang_NumberFormatException},
        {new java_lang_ArrayIndexOutOfBoundsException(), CID_java_lang_ArrayIndexOutOfBoundsException},
        {new javax_microedition_rms_RecordStoreNotOpenException(),
         CID_javax_microedition_rms_RecordStoreNotOpenException},
        {new javax_microedition_io_ConnectionNotFoundException(), CID_javax_microedition_io_ConnectionNotFoundException},
        {new java_lang_Error(), CID_java_lang_Error},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kClassNames[c.id]);
        ASSERT_NE(c.object, nullptr);
        EXPECT_EQ(c.object->classId(), c.id);
        EXPECT_TRUE(Runtime::instanceOf(c.object, CID_java_lang_Throwable));
        EXPECT_TRUE(Runtime::instanceOf(c.object, static_cast<jint>(kSuperclassIds[c.id])));
    }
}

TEST_F(ExceptionsTest, MessageIsTheStringItselfOrPoolStringOne) {
    ObjectArray* pool = Runtime::newObjectArray(CID_String, 2);
    ASSERT_NE(pool, nullptr);
    pool->set(1, String::fromCString("unknown"));
    Runtime::setConstantPool(pool);

    String* abc = String::fromCString("abc");
    auto* withMessage = Runtime::make<java_lang_IllegalStateException>(abc);
    EXPECT_EQ(withMessage->toString(), abc);  // the same object, no class name
    EXPECT_EQ(withMessage->getMessage(), abc);
    auto* plain = Runtime::make<java_util_EmptyStackException>();
    EXPECT_EQ(plain->toString(), pool->get(1));
    auto* nullMessage = Runtime::make<java_lang_Exception>(nullptr);
    EXPECT_EQ(nullMessage->toString(), nullptr);
}

TEST_F(ExceptionsTest, ThrowStoresTheTraceAndMakesThePendingException) {
    Runtime::MethodTraceScope outer("cGame::run");
    Runtime::MethodTraceScope inner("cGame::load");
    auto* e = Runtime::make<java_io_EOFException>(nullptr);
    EXPECT_FALSE(Runtime::checkPendingException(3));
    Runtime::throwException(e);
    EXPECT_EQ(Runtime::getPendingException(), e);
    EXPECT_EQ(narrow(e->m_trace), "stacktrace:\ncGame::load\ncGame::run\n");
    EXPECT_TRUE(Runtime::checkPendingException(3));
}

// Made and thrown in a frame that is gone by the collection: only the pending slot holds it.
[[gnu::noinline]] void throwWithAFreshMessage() {
    Runtime::raise<java_lang_IllegalStateException>(String::fromCString("kept by the pending slot"));
}

TEST_F(ExceptionsTest, APendingExceptionSurvivesACollectionWithItsMessage) {
    throwWithAFreshMessage();
    objectManager().gc(0);
    auto* e = static_cast<java_lang_Throwable*>(Runtime::getPendingException());
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(objectManager().isRegistered(e));
    EXPECT_TRUE(objectManager().isRegistered(e->m_message));
    EXPECT_EQ(narrow(e->getMessage()), "kept by the pending slot");
    Runtime::clearPendingException();
}

TEST_F(ExceptionsTest, HandlerMatchingFollowsRangesClassesAndTableOrder) {
    const TryEntry exceptionOverOne[] = {{CID_java_lang_Exception, 1, 2}, {0, 0, 0}};
    const TryEntry rmsPair[] = {{CID_javax_microedition_rms_InvalidRecordIDException, 0, 5},
                                {CID_javax_microedition_rms_RecordStoreException, 0, 5},
                                {0, 0, 0}};
    const TryEntry ioThenAny[] = {{CID_java_io_IOException, 0, 4}, {CID_java_lang_Exception, 2, 4}, {0, 0, 0}};
    const TryEntry runnable[] = {{CID_java_lang_Runnable, 0, 9}, {0, 0, 0}};
    const TryEntry empty[] = {{0, 0, 0}};
    struct Case {
        const char* what;
        Object* thrown;
        const TryEntry* table;
        jint site;
        jint want;
    };
    const Case cases[] = {
        {"site at the start of the range", new java_io_EOFException(), exceptionOverOne, 1, 0},
        {"site at the (exclusive) end", new java_io_EOFException(), exceptionOverOne, 2, -1},
        {"site before the range", new java_io_EOFException(), exceptionOverOne, 0, -1},
        {"the first of two matching entries", new javax_microedition_rms_InvalidRecordIDException(), rmsPair, 3, 0},
        {"a sibling reaches the second entry", new javax_microedition_rms_RecordStoreNotFoundException(), rmsPair, 3,
         1},
        {"superclass chain: RecordStoreFull is a RecordStoreException", new javax_microedition_rms_RecordStoreFullException(),
         rmsPair, 0, 1},
        {"RecordStoreFull is no IOException but is an Exception", new javax_microedition_rms_RecordStoreFullException(),
         ioThenAny, 2, 1},
        {"RecordStoreFull outside the Exception range", new javax_microedition_rms_RecordStoreFullException(),
         ioThenAny, 1, -1},
        {"an Error is no Exception", new java_lang_Error(), ioThenAny, 3, -1},
        {"through getInterface", new RunnableThrowable(), runnable, 4, 0},
        {"empty table", new java_lang_Exception(), empty, 0, -1},
        {"no table", new java_lang_Exception(), nullptr, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.thrown, nullptr);
        Runtime::throwException(c.thrown);
        ASSERT_TRUE(Runtime::checkPendingException(c.site));
        EXPECT_EQ(Runtime::findExceptionHandler(c.table), c.want);
        // Taken: cleared. Not taken: left for the caller's check.
        EXPECT_EQ(Runtime::getPendingException(), c.want >= 0 ? nullptr : c.thrown);
        Runtime::clearPendingException();
    }
    EXPECT_EQ(Runtime::findExceptionHandler(exceptionOverOne), -1);  // nothing pending
}

TEST_F(ExceptionsTest, EachThreadHasItsOwnPendingExceptionAndItsEndClearsIt) {
    LogCapture log;
    auto* here = Runtime::make<java_lang_Exception>(nullptr);
    Runtime::throwException(here);
    Object* seenByOther = here;
    std::thread other([&] {
        seenByOther = Runtime::getPendingException();
        // Left uncaught: logged when the thread ends.
        Runtime::raise<java_lang_IllegalArgumentException>(nullptr);
    });
    // Blocked in join, this thread is parked: the other thread's collections may scan it.
    Runtime::runParked([](void* t) { static_cast<std::thread*>(t)->join(); }, &other);
    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(Runtime::getPendingException(), here);
    EXPECT_TRUE(log.contains("uncaught java_lang_IllegalArgumentException left pending"));
}

class RecordingOutput : public ThrowableOutput {
public:
    void print(String* text) override { written += narrow(text); }
    void write(jint byte) override {
        written += static_cast<char>(byte);
        if (failWrite) Runtime::raise<java_io_IOException>(nullptr);
    }
    std::string written;
    bool failWrite = false;
};

TEST_F(ExceptionsTest, PrintStackTraceWritesTheTraceAndANewlineAndIgnoresItsIOException) {
    RecordingOutput out;
    Runtime::setThrowableOutput(&out);
    Runtime::MethodTraceScope scope("cGame::save");
    auto* e = Runtime::make<java_lang_Exception>(nullptr);
    Runtime::throwException(e);
    Runtime::clearPendingException();
    e->printStackTrace();
    EXPECT_EQ(out.written, "stacktrace:\ncGame::save\n\n");

    out.written.clear();
    out.failWrite = true;
    e->printStackTrace();
    EXPECT_EQ(out.written, "stacktrace:\ncGame::save\n\n");
    EXPECT_EQ(Runtime::getPendingException(), nullptr);  // caught by the method's own table
    Runtime::setThrowableOutput(nullptr);
}

TEST_F(ExceptionsTest, FactoryServesRegisteredIdsOnly) {
    struct Case {
        jint id;
        bool made;
    };
    const Case cases[] = {
        {CID_Object, true},
        {CID_String, true},
        {CID_java_io_EOFException, true},
        {CID_javax_microedition_rms_RecordStoreNotFoundException, true},
        {CID_java_util_EmptyStackException, true},
        {CID_StringBuffer, true},
        {CID_java_lang_Boolean, true},
        {CID_java_lang_Integer, true},
        {CID_java_lang_Thread, true},
        {CID_Class, false},
        {CID_ObjectArray, false},
        {CID_java_io_IOException, false},  // always made elsewhere
        {CID_java_lang_Throwable, false},
        {CID_Z, false},
        {200, false},
        {-1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        Object* o = NewInstanceFactory::newInstance(c.id);
        EXPECT_EQ(o != nullptr, c.made);
        if (!o) continue;
        EXPECT_EQ(o->classId(), c.id);
        EXPECT_TRUE(objectManager().isRegistered(o));
        EXPECT_EQ(o->isCollectable(), c.id != CID_java_lang_Thread);  // a Thread is never collected
        if (Runtime::instanceOf(o, CID_java_lang_Throwable)) {
            EXPECT_EQ(static_cast<java_lang_Throwable*>(o)->m_message, nullptr);  // no constructor body ran
        }
    }
}

}  // namespace

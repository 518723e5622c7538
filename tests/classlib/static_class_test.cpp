// The start-up sequence over the shipped constants: the library's static initialisers run once, in
// the order the caller gives, after the pool is loaded, and what they make survives collections
// because the registered statics are roots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/java_io/java_io_print_stream.h"
#include "classlib/java_lang/java_lang_boolean.h"
#include "classlib/java_lang/java_lang_runtime.h"
#include "classlib/java_lang/java_lang_system_statics.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "runtime/constant_pool.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/static_class.h"
#include "runtime/system_natives.h"
#include "tests/classlib/shipped_constants.h"
#include "tests/classlib/startup_fixture.h"
#include "tools/bar_writer.h"

namespace {

using StaticClassTest = StartupTest;

TEST_F(StaticClassTest, InitialisersRunOnceInTheOrderTheCallerGives) {
    // The library alone under the program's order: the other layers' steps are skipped quietly.
    const std::string_view noBoolean[] = {"java_lang_Runtime::clinit", "java_lang_System::clinit"};
    const std::string_view shuffled[] = {"java_lang_Runtime::clinit", "no such step", "java_lang_System::clinit",
                                         "java_lang_Boolean::clinit", "java_lang_System::clinit"};
    struct Case {
        const char* what;
        StartupOrder order;
        std::vector<std::string> ran;
        const char* error;  // the one error line expected, or null
    };
    const Case cases[] = {
        {"the program's order", kStartupOrder,
         {"java_lang_System::clinit", "java_lang_Boolean::clinit", "java_lang_Runtime::clinit"}, nullptr},
        {"an unknown step and a repeated one", shuffled,
         {"java_lang_Runtime::clinit", "java_lang_System::clinit", "java_lang_Boolean::clinit"}, nullptr},
        {"a registered step left out", noBoolean, {"java_lang_Runtime::clinit", "java_lang_System::clinit"},
         "the start-up order has no place for static initialiser java_lang_Boolean::clinit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        StaticClass::initStatics(c.order);
        EXPECT_EQ(stepsRan(log), c.ran);
        std::vector<std::string> errors;
        for (const std::string& line : log.lines)
            if (line.find("no place") != std::string::npos || line.find("not linked") != std::string::npos)
                errors.push_back(line);
        EXPECT_EQ(errors, c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{});
        EXPECT_EQ(java_lang_Boolean::TRUE != nullptr, c.error == nullptr);  // left out: never run
        EXPECT_FALSE(log.contains("constants.bin"));
        StaticClass::releaseStatics();
    }
}

TEST_F(StaticClassTest, StaticsSurviveCollectionsAndSeeTheShippedLiterals) {
    StaticClass::initStatics(kStartupOrder);
    objectManager().gc(1);
    objectManager().gc(1);
    ASSERT_NE(java_lang_Boolean::TRUE, nullptr);
    EXPECT_TRUE(objectManager().isRegistered(java_lang_Boolean::TRUE));
    EXPECT_TRUE(java_lang_Boolean::TRUE->booleanValue());
    EXPECT_FALSE(java_lang_Boolean::FALSE->booleanValue());
    EXPECT_TRUE(objectManager().isRegistered(java_lang_Runtime::getRuntime()));
    ASSERT_NE(java_lang_SystemStatics::out, nullptr);
    EXPECT_EQ(java_lang_SystemStatics::err, java_lang_SystemStatics::out);
    EXPECT_TRUE(objectManager().isRegistered(java_lang_SystemStatics::out->out));
    EXPECT_NE(Runtime::throwableOutput(), nullptr);
    ASSERT_NE(java_lang_SystemStatics::properties, nullptr);
    EXPECT_EQ(java_lang_SystemStatics::properties->size(), 1);
    EXPECT_EQ(narrow(java_lang_System::getProperty(String::fromCString("com.sun.cldc.i18n.uclc"))),
              "com.sun.cldc.i18n.uclc.DefaultCaseConverter");

    struct Case {
        jint index;
        const char* text;
    };
    const Case literals[] = {{1, ""},      {14, "="},     {71, ", "},   {193, ","},
                             {236, "{"},   {237, "}"},    {260, "Array index out of range: "},
                             {261, "Thread["}, {262, "]"}, {265, "Float"}, {271, "true"},
                             {272, "false"}, {216, "Illegal DST savings"}, {218, "GMT"},
                             {228, "Illegal end day "}, {229, "UTC"}, {239, "Thu Jan 01 00:00:00 UTC 1970"},
                             {240, "Jan"}, {251, "Dec"}, {252, "Sun"}, {258, "Sat"},
                             {259, "0000 00 00 00 00 00 +0000"}};
    for (const Case& c : literals) {
        SCOPED_TRACE(c.index);
        String* s = Runtime::ldcString(c.index);
        EXPECT_EQ(narrow(s), c.text);
        EXPECT_FALSE(s->isCollectable());
        EXPECT_EQ(Runtime::ldcString(c.index), s);
    }

    // A second start-up (a new application in the same process) starts from null statics.
    java_lang_Boolean* before = java_lang_Boolean::TRUE;
    StaticClass::initStatics(kStartupOrder);
    EXPECT_NE(java_lang_Boolean::TRUE, before);
    StaticClass::releaseStatics();
    EXPECT_EQ(java_lang_Boolean::TRUE, nullptr);
    EXPECT_EQ(java_lang_Runtime::getRuntime(), nullptr);
}

}  // namespace

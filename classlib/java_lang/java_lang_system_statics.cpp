// java_lang_System's static initialiser: its shared out/err stream, the error-stream output of
// stack traces, and the property lookup it installs for getProperty.
#include "classlib/java_lang/java_lang_system_statics.h"

#include "classlib/java_io/java_io_console_output_stream.h"
#include "classlib/java_io/java_io_print_stream.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "runtime/constant_pool.h"
#include "runtime/java_lang_throwable.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/system_natives.h"

java_io_PrintStream* java_lang_SystemStatics::out = nullptr;
java_io_PrintStream* java_lang_SystemStatics::err = nullptr;
java_util_Hashtable* java_lang_SystemStatics::properties = nullptr;

namespace {

const StaticRefRegistration kSystemStatics(CID_java_lang_System, &java_lang_SystemStatics::out,
                                           &java_lang_SystemStatics::err, &java_lang_SystemStatics::properties);
const StaticInitRegistration kSystemInit("java_lang_System::clinit", &java_lang_SystemStatics::clinit);

constexpr jint kPropertyKeyLiteral = 263;
constexpr jint kPropertyValueLiteral = 264;

String* lookupProperty(String* key) {
    java_util_Hashtable* table = java_lang_SystemStatics::properties;
    if (!table) return nullptr;
    Object* value = table->get(key);
    return value && value->classId() == CID_String ? static_cast<String*>(value) : nullptr;
}

// Throwable.printStackTrace writes to System.err; with none (after shutdown) the text is dropped.
class ErrorStreamOutput final : public ThrowableOutput {
public:
    void print(String* text) override {
        if (java_io_PrintStream* err = java_lang_SystemStatics::err) err->print(text);
    }
    void write(jint byte) override {
        if (java_io_PrintStream* err = java_lang_SystemStatics::err) err->write(byte);
    }
};
ErrorStreamOutput g_errorStreamOutput;

}  // namespace

void java_lang_SystemStatics::clinit() {
    auto* console = new java_io_ConsoleOutputStream();
    out = err = java_io_PrintStream::over(console);
    Runtime::setThrowableOutput(&g_errorStreamOutput);
    auto* table = new java_util_Hashtable();
    if (!table) return;
    properties = table;
    table->init(11);
    table->put(Runtime::ldcString(kPropertyKeyLiteral), Runtime::ldcString(kPropertyValueLiteral));
    java_lang_System::setPropertyLookup(&lookupProperty);
}

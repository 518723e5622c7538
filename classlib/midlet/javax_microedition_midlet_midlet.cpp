// MIDlet: the application descriptor read into the property table, getAppProperty, and the
// registration of the application's MIDlet class.
#include "classlib/midlet/javax_microedition_midlet_midlet.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "classlib/application.h"
#include "classlib/java_io/java_io_input_stream.h"
#include "classlib/java_lang/java_lang_class.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

namespace {

using MIDlet = javax_microedition_midlet_MIDlet;

const uint32_t kMIDletRefs[] = {BX_REF_FIELD(javax_microedition_midlet_MIDlet, m_properties)};
const RefFieldRegistration kMIDletRefsReg(CID_javax_microedition_midlet_MIDlet, kMIDletRefs);

constexpr jint kPropertyBuckets = 11;

MIDletClass g_midletClass{};

}  // namespace

void MIDlet::init() {
    auto* table = Runtime::make<java_util_Hashtable>(kPropertyBuckets);
    if (!table) return;
    m_properties = table;
    String* text = readAppDescriptor();
    if (text && text->length() > 0) parseAppDescriptor(text, m_properties);
}

String* MIDlet::readAppDescriptor() {
    java_io_InputStream* in = java_lang_Class::getResourceAsStream(String::fromCString("app.jad"));
    if (!in) return nullptr;
    ByteArray* bytes = Runtime::readStreamFully(in);
    in->close();
    if (Runtime::pending() || !bytes) {
        Runtime::clearPendingException();
        return nullptr;
    }
    auto* text = new String();
    if (text) text->initFromByteArray(bytes);
    return text;
}

void MIDlet::parseAppDescriptor(String* text, java_util_Hashtable* properties) {
    if (!text || !properties) return Runtime::nullPointer();
    const jint length = text->length();
    jint pos = 0;
    while (pos < length) {
        jint end = text->indexOf('\n', pos);
        if (end < 0) end = length;
        const jint colon = text->indexOf(':', pos);
        if (colon < 0) break;
        const jint valueEnd = end > 0 && text->charAt(end - 1) == '\r' ? end - 1 : end;
        // A line without ':' before its end gives a reversed value range: substring answers "".
        String* key = text->substring(pos, colon);
        String* value = text->substring(colon + 1, valueEnd);
        if (key && value) properties->put(key->trim(), value->trim());
        pos = end + 1;
    }
}

String* MIDlet::getAppProperty(String* key) {
    Object* value = m_properties && key ? m_properties->get(key) : nullptr;
    if (value && value->classId() == CID_String) return static_cast<String*>(value);
    return String::fromCString("PROPERTY VALUE EMPTY");
}

jboolean MIDlet::platformRequest(String* url) {
    if (!url) {
        Runtime::nullPointer();
        return 0;
    }
    // The whole URL is handed on (the phone's 256-unit copy would cut a long one into another).
    std::u16string text(static_cast<size_t>(url->length()), u'\0');
    for (jint i = 0; i < url->length(); ++i) text[static_cast<size_t>(i)] = url->charAt(i);
    Application* app = Application::getApplication();
    if (MIDletHost* host = app ? app->midletHost() : nullptr) (void)host->platformRequest(text);
    return 0;
}

void MIDlet::notifyDestroyed() {
    Application* app = Application::getApplication();
    if (MIDletHost* host = app ? app->midletHost() : nullptr) host->notifyDestroyed();
}

const MIDletClass* applicationMIDletClass() { return g_midletClass.allocate ? &g_midletClass : nullptr; }

MIDletRegistration::MIDletRegistration(uint16_t classId, MIDletClass midletClass) {
    if (classId != CID_VorpaZQTI || g_midletClass.allocate || !midletClass.allocate || !midletClass.construct) {
        std::fprintf(stderr, "MIDlet class %u registered twice or not the application's\n", classId);
        std::abort();
    }
    g_midletClass = midletClass;
}

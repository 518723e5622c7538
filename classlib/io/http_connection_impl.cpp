// HttpConnectionImpl: the url's pieces, the lazy request (parked while the client blocks, with the
// connecting indicator running beside it) and the answers from the client's response.
#include "classlib/io/http_connection_impl.h"

#include <algorithm>
#include <string>

#include "classlib/blocking_io.h"
#include "classlib/io/connecting_indicator.h"
#include "classlib/io/win_inet_http_client.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_CONNECTION_REF_FIELDS(HttpConnectionImpl), BX_REF_FIELD(HttpConnectionImpl, method)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_io_HttpConnection, kRefs);

constexpr size_t kMaxMessageUnits = 1024;
constexpr size_t kMaxHeaderUnits = 8192;

// A String's units as C++ text (empty for null); copied at once, the units may move later.
std::u16string unitsOf(String* s) {
    if (!s || s->length() == 0) return {};
    const auto* units = reinterpret_cast<const char16_t*>(s->chars);
    return std::u16string(units, static_cast<size_t>(s->length()));
}

// A String's UTF-8 bytes as C++ text (empty for null).
std::string utf8Of(String* s) {
    ByteArray* bytes = s ? s->encodeUtf8() : nullptr;
    if (!bytes || bytes->length <= 0) return {};
    return std::string(static_cast<const char*>(bytes->data), static_cast<size_t>(bytes->length));
}

String* stringOf(const std::u16string& text, size_t maxUnits) {
    const size_t n = std::min(text.size(), maxUnits);
    return String::fromUnits(reinterpret_cast<const jchar*>(text.data()), static_cast<jint>(n));
}

}  // namespace

void HttpConnectionImpl::init(String* connectionUrl, jint accessMode, jboolean withTimeouts) {
    initFields(connectionUrl, accessMode, withTimeouts);
    method = String::fromCString("GET");
    requestSent = 0;
    client = new WinInetHttpClient();
    (void)client->Connect(unitsOf(connectionUrl));
}

void HttpConnectionImpl::destroy() {
    close();
    delete client;
    client = nullptr;
    Object::destroy();
}

void* HttpConnectionImpl::getInterface(jint classId) {
    auto* in = static_cast<javax_microedition_io_HttpConnection*>(this);
    switch (classId) {
        case CID_javax_microedition_io_Connection:
            return static_cast<javax_microedition_io_Connection*>(in);
        case CID_javax_microedition_io_InputConnection:
            return static_cast<javax_microedition_io_InputConnection*>(in);
        case CID_javax_microedition_io_ContentConnection:
            return static_cast<javax_microedition_io_ContentConnection*>(in);
        case CID_javax_microedition_io_HttpConnection:
            return in;
        case CID_javax_microedition_io_OutputConnection:
            return static_cast<javax_microedition_io_OutputConnection*>(this);
        default:
            return nullptr;
    }
}

void HttpConnectionImpl::sendRequest() {
    if (requestSent || !client) return;
    if (!method || !method->equalsIgnoreCaseCString("GET")) return;
    const std::string file = utf8Of(path);
    const std::string question = utf8Of(query);
    WinInetHttpClient* http = client;
    runBlockingIo([&] {
        ConnectingIndicator indicator;
        indicator.start();
        (void)http->SendByGet(file, question);
        indicator.stop();
    });
    requestSent = 1;
}

void HttpConnectionImpl::close() {
    if (client) client->close();
}

java_io_InputStream* HttpConnectionImpl::openInputStream() {
    sendRequest();
    BX_RETURN_IF_PENDING(nullptr);
    const size_t length = client ? client->bodyLength() : 0;
    if (!client || client->statusCode() != HTTP_OK || length == 0 || length > INT32_MAX) {
        Runtime::raise<java_io_IOException>();
        return nullptr;
    }
    ByteArray* body = Runtime::newByteArray(static_cast<jint>(length));
    if (!body || body->length != static_cast<jint>(length)) {
        Runtime::raise<java_io_IOException>();
        return nullptr;
    }
    (void)client->bodyBytes(static_cast<uint8_t*>(body->data), length);
    return java_io_ByteArrayInputStream::over(body);
}

java_io_DataInputStream* HttpConnectionImpl::openDataInputStream() {
    java_io_InputStream* in = openInputStream();
    BX_RETURN_IF_PENDING(nullptr);
    return java_io_DataInputStream::over(in);
}

java_io_DataOutputStream* HttpConnectionImpl::openDataOutputStream() { return java_io_DataOutputStream::over(nullptr); }

String* HttpConnectionImpl::getType() {
    sendRequest();
    const auto type = client ? client->responseHeader(u"content-type") : std::nullopt;
    return type ? stringOf(*type, kMaxHeaderUnits) : nullptr;
}

jlong HttpConnectionImpl::getLength() {
    sendRequest();
    return client ? static_cast<jlong>(client->bodyLength()) : 0;
}

String* HttpConnectionImpl::getProtocol() { return String::fromCString("http"); }

void HttpConnectionImpl::setRequestMethod(String* newMethod) {
    BX_RETURN_IF_NULL(newMethod);
    method = newMethod;
    requestSent = 0;
}

void HttpConnectionImpl::setRequestProperty(String* key, String* value) {
    if (client) client->addRequestHeader(unitsOf(key), unitsOf(value));
    requestSent = 0;
}

jint HttpConnectionImpl::getResponseCode() {
    sendRequest();
    return client ? client->statusCode() : -1;
}

String* HttpConnectionImpl::getResponseMessage() {
    sendRequest();
    const std::u16string* text = client ? client->statusText() : nullptr;
    if (!text) {
        Runtime::raise<java_io_IOException>();
        return nullptr;
    }
    return stringOf(*text, kMaxMessageUnits);
}

String* HttpConnectionImpl::getHeaderField(String* name) {
    sendRequest();
    BX_RETURN_IF_NULL(name, nullptr);
    const auto value = client ? client->responseHeader(unitsOf(name)) : std::nullopt;
    if (!value) {
        Runtime::raise<java_io_IOException>();
        return nullptr;
    }
    return stringOf(*value, kMaxHeaderUnits);
}

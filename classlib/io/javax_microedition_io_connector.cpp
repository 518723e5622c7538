// Connector: the scheme test on the url's first units, then the connection's views.
#include "classlib/io/javax_microedition_io_connector.h"

#include <cstring>

#include "classlib/io/http_connection_impl.h"
#include "classlib/io/socket_connection_impl.h"
#include "runtime/compiled.h"
#include "runtime/string.h"

namespace {

bool startsWithAscii(String* text, const char* prefix) {
    const auto n = static_cast<jint>(std::strlen(prefix));
    if (text->length() < n) return false;
    for (jint i = 0; i < n; ++i) {
        if (text->charAt(i) != static_cast<jchar>(prefix[i])) return false;
    }
    return true;
}

}  // namespace

Object* javax_microedition_io_Connector::open(String* url, jint mode, jboolean timeouts) {
    BX_RETURN_IF_NULL(url, nullptr);
    if (startsWithAscii(url, "http")) return Runtime::make<HttpConnectionImpl>(url, mode, timeouts);
    if (startsWithAscii(url, "socket")) return Runtime::make<SocketConnectionImpl>(url, mode, timeouts);
    return nullptr;
}

java_io_InputStream* javax_microedition_io_Connector::openInputStream(String* url) {
    Object* connection = open(url, READ, 0);
    BX_RETURN_IF_PENDING(nullptr);
    javax_microedition_io_InputConnection* in = Runtime::asInputConnection(connection);
    BX_RETURN_IF_NULL(in, nullptr);
    java_io_InputStream* stream = in->openInputStream();
    Runtime::keepAlive(connection);  // `in` points inside it; the stream's allocation may collect
    return stream;
}

java_io_OutputStream* javax_microedition_io_Connector::openOutputStream(String* url) {
    Object* connection = open(url, WRITE, 0);
    BX_RETURN_IF_PENDING(nullptr);
    javax_microedition_io_OutputConnection* out = Runtime::asOutputConnection(connection);
    BX_RETURN_IF_NULL(out, nullptr);
    java_io_OutputStream* stream = out->openOutputStream();
    Runtime::keepAlive(connection);  // `out` points inside it; the stream's allocation may collect
    return stream;
}

// javax_microedition_io_Connector (class id 74): opens connections by the url's scheme: "http..."
// (so also "https") an HttpConnectionImpl, "socket..." a SocketConnectionImpl, anything else null
// with nothing raised. The stream forms open the connection and ask the matching view.
#pragma once

#include "runtime/object.h"

class String;
class java_io_InputStream;
class java_io_OutputStream;

class javax_microedition_io_Connector {
public:
    static constexpr jint READ = 1, WRITE = 2, READ_WRITE = 3;

    [[nodiscard]] static Object* open(String* url, jint mode, jboolean timeouts);
    [[nodiscard]] static Object* open(String* url, jint mode) { return open(url, mode, 0); }
    [[nodiscard]] static java_io_InputStream* openInputStream(String* url);
    [[nodiscard]] static java_io_OutputStream* openOutputStream(String* url);
    // What openInputStream / openOutputStream return.
    [[nodiscard]] static java_io_InputStream* openDataInputStream(String* url) { return openInputStream(url); }
    [[nodiscard]] static java_io_OutputStream* openDataOutputStream(String* url) { return openOutputStream(url); }
};

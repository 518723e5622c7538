// SocketConnectionImpl (header class id 81): a "socket" connection, connected to the url's host and
// port when made. It holds its WinSocketClient (shared with the streams it opens, each of which is
// new per call). getInterface answers the input side for 72, 78, 81, 82 and the output side for 79.
#pragma once

#include "classlib/io/connection_fields.h"
#include "classlib/io/javax_microedition_io_connection.h"

class WinSocketClient;

class SocketConnectionImpl final : public ConnectionFields,
                                   public javax_microedition_io_SocketConnection,
                                   public javax_microedition_io_OutputConnection {
public:
    SocketConnectionImpl() { setClassId(CID_javax_microedition_io_SocketConnection); }
    void init(String* url, jint mode, jboolean timeouts);

    void destroy() override;
    void* getInterface(jint classId) override;

    void close() override;
    java_io_InputStream* openInputStream() override;
    java_io_DataInputStream* openDataInputStream() override;
    java_io_OutputStream* openOutputStream() override;
    java_io_DataOutputStream* openDataOutputStream() override;
    void setSocketOption(jbyte, jint) override {}
    jint getSocketOption(jbyte) override { return 0; }
    String* getLocalAddress() override { return nullptr; }
    jint getLocalPort() override { return 0; }
    String* getAddress() override { return nullptr; }
    jint getPort() override { return port; }

    WinSocketClient* client;
};

// The connection interfaces (class ids 72, 75, 77, 78, 79, 81, 82) with their operations in slot
// order. A connection object answers getInterface with one of two sub-objects: its input side
// (Connection, InputConnection, ContentConnection, HttpConnection, SocketConnection,
// StreamConnection: each a prefix of the widest table) or its output side (OutputConnection).
// References always hold the connection object itself.
#pragma once

#include "runtime/object.h"

class String;
class java_io_InputStream;
class java_io_OutputStream;
class java_io_DataInputStream;
class java_io_DataOutputStream;

class javax_microedition_io_Connection {
public:
    virtual void close() = 0;  // slot 0

protected:
    ~javax_microedition_io_Connection() = default;
};

class javax_microedition_io_InputConnection : public javax_microedition_io_Connection {
public:
    virtual java_io_InputStream* openInputStream() = 0;           // slot 1
    virtual java_io_DataInputStream* openDataInputStream() = 0;   // slot 2

protected:
    ~javax_microedition_io_InputConnection() = default;
};

class javax_microedition_io_OutputConnection : public javax_microedition_io_Connection {
public:
    virtual java_io_OutputStream* openOutputStream() = 0;          // slot 1
    virtual java_io_DataOutputStream* openDataOutputStream() = 0;  // slot 2

protected:
    ~javax_microedition_io_OutputConnection() = default;
};

// The input side of a socket: the stream connection adds no operation.
class javax_microedition_io_StreamConnection : public javax_microedition_io_InputConnection {
protected:
    ~javax_microedition_io_StreamConnection() = default;
};

class javax_microedition_io_SocketConnection : public javax_microedition_io_StreamConnection {
public:
    virtual void setSocketOption(jbyte option, jint value) = 0;  // slot 3
    virtual jint getSocketOption(jbyte option) = 0;              // slot 4
    virtual String* getLocalAddress() = 0;                       // slot 5
    virtual jint getLocalPort() = 0;                             // slot 6
    virtual String* getAddress() = 0;                            // slot 7
    virtual jint getPort() = 0;                                  // slot 8

protected:
    ~javax_microedition_io_SocketConnection() = default;
};

class javax_microedition_io_ContentConnection : public javax_microedition_io_InputConnection {
public:
    virtual String* getType() = 0;      // slot 3
    virtual String* getEncoding() = 0;  // slot 4
    virtual jlong getLength() = 0;      // slot 5

protected:
    ~javax_microedition_io_ContentConnection() = default;
};

class javax_microedition_io_HttpConnection : public javax_microedition_io_ContentConnection {
public:
    static constexpr jint HTTP_OK = 200;

    virtual String* getURL() = 0;                                       // slot 6
    virtual String* getProtocol() = 0;                                  // slot 7
    virtual String* getHost() = 0;                                      // slot 8
    virtual String* getFile() = 0;                                      // slot 9
    virtual String* getRef() = 0;                                       // slot 10
    virtual String* getQuery() = 0;                                     // slot 11
    virtual jint getPort() = 0;                                         // slot 12
    virtual String* getRequestMethod() = 0;                             // slot 13
    virtual void setRequestMethod(String* method) = 0;                  // slot 14
    virtual String* getRequestProperty(String* key) = 0;                // slot 15
    virtual void setRequestProperty(String* key, String* value) = 0;    // slot 16
    virtual jint getResponseCode() = 0;                                 // slot 17
    virtual String* getResponseMessage() = 0;                           // slot 18
    virtual jlong getExpiration() = 0;                                  // slot 19
    virtual jlong getDate() = 0;                                        // slot 20
    virtual jlong getLastModified() = 0;                                // slot 21
    virtual String* getHeaderFieldAt(jint index) = 0;                   // slot 22
    virtual String* getHeaderField(String* name) = 0;                   // slot 23
    virtual jint getHeaderFieldInt(String* name, jint def) = 0;         // slot 24
    virtual jlong getHeaderFieldDate(String* name, jlong def) = 0;      // slot 25
    virtual String* getHeaderFieldKey(jint index) = 0;                  // slot 26

protected:
    ~javax_microedition_io_HttpConnection() = default;
};

namespace Runtime {

template <class I>
[[nodiscard]] inline I* connectionView(Object* connection, jint classId) {
    return connection ? static_cast<I*>(connection->getInterface(classId)) : nullptr;
}
[[nodiscard]] inline javax_microedition_io_Connection* asConnection(Object* c) {
    return connectionView<javax_microedition_io_Connection>(c, CID_javax_microedition_io_Connection);
}
[[nodiscard]] inline javax_microedition_io_InputConnection* asInputConnection(Object* c) {
    return connectionView<javax_microedition_io_InputConnection>(c, CID_javax_microedition_io_InputConnection);
}
[[nodiscard]] inline javax_microedition_io_OutputConnection* asOutputConnection(Object* c) {
    return connectionView<javax_microedition_io_OutputConnection>(c, CID_javax_microedition_io_OutputConnection);
}
[[nodiscard]] inline javax_microedition_io_HttpConnection* asHttpConnection(Object* c) {
    return connectionView<javax_microedition_io_HttpConnection>(c, CID_javax_microedition_io_HttpConnection);
}
[[nodiscard]] inline javax_microedition_io_SocketConnection* asSocketConnection(Object* c) {
    return connectionView<javax_microedition_io_SocketConnection>(c, CID_javax_microedition_io_SocketConnection);
}

}  // namespace Runtime

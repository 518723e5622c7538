// HttpConnectionImpl (header class id 77): an "http" connection. The request is sent lazily, at the
// first question about the response, once (until the method or a request property changes), and
// only for the method GET. It owns its WinInetHttpClient. getInterface answers the input side for
// 72, 75, 77, 78 and the output side for 79. Invariant: `client` is never null after init.
#pragma once

#include "classlib/io/connection_fields.h"
#include "classlib/io/javax_microedition_io_connection.h"

class WinInetHttpClient;

class HttpConnectionImpl final : public ConnectionFields,
                                 public javax_microedition_io_HttpConnection,
                                 public javax_microedition_io_OutputConnection {
public:
    HttpConnectionImpl() { setClassId(CID_javax_microedition_io_HttpConnection); }
    void init(String* url, jint mode, jboolean timeouts);

    void destroy() override;
    void* getInterface(jint classId) override;
    // Own slot 6.
    virtual void sendRequest();

    void close() override;
    java_io_InputStream* openInputStream() override;
    java_io_DataInputStream* openDataInputStream() override;
    java_io_OutputStream* openOutputStream() override { return nullptr; }
    java_io_DataOutputStream* openDataOutputStream() override;
    String* getType() override;
    String* getEncoding() override { return nullptr; }
    jlong getLength() override;
    String* getURL() override { return url; }
    String* getProtocol() override;
    String* getHost() override { return host; }
    String* getFile() override { return path; }
    String* getRef() override { return ref; }
    String* getQuery() override { return query; }
    jint getPort() override { return port; }
    String* getRequestMethod() override { return method; }
    void setRequestMethod(String* newMethod) override;
    String* getRequestProperty(String*) override { return nullptr; }
    void setRequestProperty(String* key, String* value) override;
    jint getResponseCode() override;
    String* getResponseMessage() override;
    jlong getExpiration() override { return 0; }
    jlong getDate() override { return 0; }
    jlong getLastModified() override { return 0; }
    String* getHeaderFieldAt(jint) override { return nullptr; }
    String* getHeaderField(String* name) override;
    jint getHeaderFieldInt(String*, jint) override { return 0; }
    jlong getHeaderFieldDate(String*, jlong) override { return 0; }
    String* getHeaderFieldKey(jint) override { return nullptr; }

    WinInetHttpClient* client;
    String* method;
    jboolean requestSent;
};

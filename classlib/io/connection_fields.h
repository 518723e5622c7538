// ConnectionFields: what the HTTP and socket connections share, in order: the url, the access
// mode, the timeouts flag, two words kept 0, and the url's pieces as ParseConnectionURL splits them
// (plus one word, the ref, always null). Each connection lists these among its reference fields.
#pragma once

#include "runtime/object.h"

class String;

class ConnectionFields : public Object {
public:
    // Stores url, mode and timeouts and splits the url; a url that does not split leaves the pieces
    // null and the port 0.
    void initFields(String* connectionUrl, jint accessMode, jboolean withTimeouts);

    String* url;
    jint mode;
    jboolean timeouts;
    jint reserved0;
    jint reserved1;
    String* scheme;
    String* host;
    jint port;
    String* path;
    String* query;
    String* ref;
};

// The offsets of ConnectionFields' references within a connection class C.
#define BX_CONNECTION_REF_FIELDS(C)                                                                   \
    BX_REF_FIELD(C, url), BX_REF_FIELD(C, scheme), BX_REF_FIELD(C, host), BX_REF_FIELD(C, path), \
        BX_REF_FIELD(C, query), BX_REF_FIELD(C, ref)

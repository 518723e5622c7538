// ConnectionFields: the url split once, when the connection is made.
#include "classlib/io/connection_fields.h"

#include "runtime/connection_url.h"

void ConnectionFields::initFields(String* connectionUrl, jint accessMode, jboolean withTimeouts) {
    url = connectionUrl;
    mode = accessMode;
    timeouts = withTimeouts;
    ConnectionURL parts;
    (void)ParseConnectionURL(connectionUrl, parts);
    scheme = parts.scheme;
    host = parts.host;
    port = parts.port;
    path = parts.path;
    query = parts.query;
}

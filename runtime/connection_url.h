// ParseConnectionURL: a connection URL ("scheme://host[:port][/path][?query]") split into its
// pieces, for the HTTP and socket connections. Only a ':' between the host and the first '/' after
// it separates a port; a URL without "://" is refused with every piece cleared.
#pragma once

#include "runtime/jtypes.h"

class String;

struct ConnectionURL {
    String* scheme = nullptr;
    String* host = nullptr;
    jint port = 0;          // 0 when the URL names none
    String* path = nullptr;  // with its leading '/'; empty when the URL has no path
    String* query = nullptr; // with its '?'; null when the URL has none
};

// False (pieces null, port 0) for a null URL or one without "://". The pieces are new Strings; the
// caller keeps `out` where the collector sees it (its stack).
[[nodiscard]] bool ParseConnectionURL(String* url, ConnectionURL& out);

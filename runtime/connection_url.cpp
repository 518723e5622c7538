// ParseConnectionURL. A ':' after the first '/' belongs to the path or query, never to the port.
#include "runtime/connection_url.h"

#include <string>

#include "runtime/number_format.h"
#include "runtime/string.h"

bool ParseConnectionURL(String* url, ConnectionURL& out) {
    out = ConnectionURL{};
    if (!url) return false;
    String* separator = String::fromCString("://");
    const jint i = separator ? url->indexOfString(separator) : -1;
    if (i < 0) return false;
    const jint s = i + 3;
    jint slash = url->indexOf('/', s);
    if (slash < 0) slash = url->length();
    jint colon = url->indexOf(':', s);
    if (colon >= slash) colon = -1;

    jint hostEnd = slash;
    if (colon >= 0) {
        hostEnd = colon;
        String* digits = url->substring(colon + 1, slash);
        out.port = digits ? NumberFormat::parseInt(digits->toCString().c_str()) : 0;
    }
    const jint q = url->indexOf('?', slash + 1);
    const jint pathEnd = q >= 0 ? q : url->length();

    out.scheme = url->substring(0, i);
    out.host = url->substring(s, hostEnd);
    out.path = url->substring(slash, pathEnd);
    out.query = q >= 0 ? url->substringFrom(q) : nullptr;
    return true;
}

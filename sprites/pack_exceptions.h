// The pack code's one exception rule: what a stream call raised is swallowed when it is a
// java_lang_Exception (the stream simply delivers nothing more); anything else stays pending for the
// caller to pass on.
#pragma once

#include "runtime/class_ids.h"
#include "runtime/compiled.h"

namespace packs {

// True when the call just made raised. Call site 0 of a one-entry try table catching Exception.
[[nodiscard]] inline bool callRaised() {
    static const TryEntry kCatchException[] = {{CID_java_lang_Exception, 0, 1}, {0, 0, 0}};
    if (!Runtime::checkPendingException(0)) return false;
    (void)Runtime::findExceptionHandler(kCatchException);
    return true;
}

}  // namespace packs

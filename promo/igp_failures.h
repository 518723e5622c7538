// What the promotion's readers share about failures: exceptions of class Exception are caught
// where the screen's code catches them, and a read past its entry is remembered so a caller can
// refuse a table that was cut short.
#pragma once

namespace igp {

// Clears a pending exception of class Exception (or a subclass) and answers true; anything else
// stays pending and answers false.
bool catchException();

void noteShortRead();
[[nodiscard]] bool shortRead();
void clearShortRead();

}  // namespace igp

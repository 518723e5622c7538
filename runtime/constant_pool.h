// The constant pool: the ObjectArray of every String literal of the compiled code, literal i at
// index i. The same index always yields the same String object. The pool is a collector root; its
// strings are made non-collectable by whoever loads it. An index the pool lacks answers the pool's
// own empty String (logged), never a read outside the array.
#pragma once

#include "runtime/jtypes.h"

class ObjectArray;
class String;

namespace Runtime {

// Installs the loaded pool (null: none) and makes the empty String that stands in for missing
// literals.
void setConstantPool(ObjectArray* pool);
[[nodiscard]] ObjectArray* constantPool();
// Literal `index`. With no pool: "NullPointer" to the debug log with the trace, and null. An index
// outside the pool, or a literal the constants file did not deliver: an error logged and the empty
// String (the same object every time).
[[nodiscard]] String* ldcString(jint index);

}  // namespace Runtime

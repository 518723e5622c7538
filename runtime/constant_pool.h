// The constant pool: the ObjectArray of every String literal of the compiled code, literal i at
// index i. The same index always yields the same String object. The pool is a collector root; its
// strings are made non-collectable by whoever loads it.
#pragma once

#include "runtime/jtypes.h"

class ObjectArray;
class String;

namespace Runtime {

// Installs the loaded pool (null: none).
void setConstantPool(ObjectArray* pool);
[[nodiscard]] ObjectArray* constantPool();
// Literal `index`; with no pool, or an index outside it, a null reference (logged).
[[nodiscard]] String* ldcString(jint index);

}  // namespace Runtime

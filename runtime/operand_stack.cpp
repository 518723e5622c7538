// The operand-stack operations. Each is a few loads and stores on the caller's frame; those that
// reach objects apply the null policy (log, skip, default value) and check array indices.
#include "runtime/operand_stack.h"

#include <bit>
#include <cinttypes>
#include <string>

#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"

namespace {

constexpr int kMaxDimensions = 255;

Array* asArray(Object* ref) {
    if (!ref) {
        Runtime::nullPointer();
        return nullptr;
    }
    const uint16_t id = ref->classId();
    if (id < CID_ObjectArray || id > CID_DoubleArray) {
        Log::error("array operation on an object of class %u", id);
        return nullptr;
    }
    return static_cast<Array*>(ref);
}

}  // namespace

void OperandStack::init(uint64_t* valueBuffer, uint8_t* tagBuffer, int capacity) {
    m_valueBase = m_valueTop = valueBuffer;
    m_tagBase = m_tagTop = tagBuffer;
    m_capacity = capacity;
}

uint8_t OperandStack::tagAt(int depthFromTop) const {
    return depthFromTop >= 0 && depthFromTop < depth() ? m_tagTop[-1 - depthFromTop] : kScalar;
}

uint64_t OperandStack::slotAt(int depthFromTop) const {
    return depthFromTop >= 0 && depthFromTop < depth() ? m_valueTop[-1 - depthFromTop] : 0;
}

void OperandStack::push(uint64_t value, uint8_t tag) {
    if (depth() >= m_capacity) {
        Log::error("operand stack overflow (capacity %d)", m_capacity);
        return;
    }
    *m_valueTop++ = value;
    *m_tagTop++ = tag;
}

uint64_t OperandStack::pop() {
    if (depth() <= 0) {
        Log::error("operand stack underflow");
        return 0;
    }
    --m_tagTop;
    return *--m_valueTop;
}

void OperandStack::pushFloat(jfloat value) { push(std::bit_cast<uint32_t>(value), kScalar); }

void OperandStack::pushLong(jlong value) {
    const auto bits = static_cast<uint64_t>(value);
    push(bits & 0xFFFFFFFFu, kWide);
    push(bits >> 32, kWide);
}

void OperandStack::pushDouble(jdouble value) { pushLong(std::bit_cast<jlong>(value)); }

void OperandStack::pushRef(Object* ref) {
    push(reinterpret_cast<uintptr_t>(ref), ref ? kReference : kScalar);
}

void OperandStack::pushRefDup(Object* ref) {
    pushRef(ref);
    pushRef(ref);
}

void OperandStack::pushIntDup(jint value) {
    pushInt(value);
    pushInt(value);
}

void OperandStack::pushConstString(jint index) { pushRef(Runtime::ldcString(index)); }

jfloat OperandStack::popFloat() { return std::bit_cast<jfloat>(static_cast<uint32_t>(pop())); }

jlong OperandStack::popLong() {
    const uint64_t high = pop() & 0xFFFFFFFFu;
    const uint64_t low = pop() & 0xFFFFFFFFu;
    return static_cast<jlong>((high << 32) | low);
}

jdouble OperandStack::popDouble() { return std::bit_cast<jdouble>(popLong()); }

void OperandStack::dup2() {
    if (depth() < 2) return (void)Log::error("operand stack underflow in dup2");
    const uint64_t b = slotAt(1), a = slotAt(0);
    const uint8_t tb = tagAt(1), ta = tagAt(0);
    push(b, tb);
    push(a, ta);
}

void OperandStack::dup2_x1() {
    if (depth() < 3 || depth() + 2 > m_capacity) return (void)Log::error("operand stack fault in dup2_x1");
    const uint64_t c = slotAt(2), b = slotAt(1), a = slotAt(0);
    const uint8_t tb = tagAt(1), ta = tagAt(0);
    uint64_t* base = m_valueTop - 3;
    base[0] = b;
    base[1] = a;
    base[2] = c;
    m_valueTop[0] = b;
    m_valueTop[1] = a;
    m_valueTop += 2;
    // The three old slots keep their tag bytes; the new two copy the old top two.
    m_tagTop[0] = tb;
    m_tagTop[1] = ta;
    m_tagTop += 2;
}

void OperandStack::dup_x2() {
    if (depth() < 3 || depth() + 1 > m_capacity) return (void)Log::error("operand stack fault in dup_x2");
    const uint64_t c = slotAt(2), b = slotAt(1), a = slotAt(0);
    const uint8_t ta = tagAt(0);
    uint64_t* base = m_valueTop - 3;
    base[0] = a;
    base[1] = c;
    base[2] = b;
    *m_valueTop++ = a;
    *m_tagTop++ = ta;
}

int64_t OperandStack::peekWide(int depthFromTop) const {
    if (depthFromTop < 0 || depthFromTop >= depth()) {
        Log::error("peekWide below the bottom of the operand stack");
        return 0;
    }
    const uint64_t slot = slotAt(depthFromTop);
    if (tagAt(depthFromTop) == kWide) {
        const uint64_t low = slotAt(depthFromTop + 1) & 0xFFFFFFFFu;
        return static_cast<int64_t>(((slot & 0xFFFFFFFFu) << 32) | low);
    }
    if (tagAt(depthFromTop) == kReference) return static_cast<int64_t>(slot);
    return static_cast<int64_t>(static_cast<jint>(static_cast<uint32_t>(slot)));
}

// ---- arrays ----

void OperandStack::iastore() {
    const uint64_t value = pop();
    const jint index = popInt();
    Array* array = asArray(popRef());
    if (!array) return;
    if (array->classId() == CID_ObjectArray) {
        static_cast<ObjectArray*>(array)->set(index, reinterpret_cast<Object*>(static_cast<uintptr_t>(value)));
    } else {
        Array::setInt32(array, index, static_cast<jint>(static_cast<uint32_t>(value)));
    }
}

void OperandStack::sastore() {
    const jint value = popInt();
    const jint index = popInt();
    if (Array* array = asArray(popRef())) Array::setShort(array, index, value);
}

void OperandStack::aaload() {
    const jint index = popInt();
    Array* array = asArray(popRef());
    if (array && array->classId() != CID_ObjectArray) {
        Log::error("aaload from an array of class %u", array->classId());
        array = nullptr;
    }
    pushRef(array ? static_cast<ObjectArray*>(array)->get(index) : nullptr);
}

void OperandStack::iaload() {
    const jint index = popInt();
    Array* array = asArray(popRef());
    pushInt(array ? Array::getInt32(array, index) : 0);
}

void OperandStack::saload() {
    const jint index = popInt();
    Array* array = asArray(popRef());
    pushInt(array ? Array::getShort(array, index) : 0);
}

void OperandStack::caload() {
    const jint index = popInt();
    Array* array = asArray(popRef());
    pushInt(array ? (Array::getShort(array, index) & 0xFFFF) : 0);
}

void OperandStack::baload() {
    const jint index = popInt();
    Array* array = asArray(popRef());
    pushInt(array ? Array::getByte(array, index) : 0);
}

void OperandStack::arrayLength() {
    Array* array = asArray(popRef());
    pushInt(array ? array->length : 0);
}

// ---- fields ----

void OperandStack::putfieldInt(void* fieldAddress) {
    const jint value = popInt();
    Object* object = popRef();
    if (!object) return Runtime::nullPointer();
    *static_cast<jint*>(fieldAddress) = value;
}

void OperandStack::putfieldBoolean(void* fieldAddress) {
    const jint value = popInt();
    Object* object = popRef();
    if (!object) return Runtime::nullPointer();
    *static_cast<jboolean*>(fieldAddress) = value != 0 ? 1 : 0;
}

void OperandStack::putstaticBoolean(void* staticAddress) {
    *static_cast<jboolean*>(staticAddress) = popInt() != 0 ? 1 : 0;
}

// ---- comparisons ----

void OperandStack::popPair(jint& a, jint& b) {
    b = popInt();
    a = popInt();
}

bool OperandStack::icmpEQ() { jint a, b; popPair(a, b); return a == b; }
bool OperandStack::icmpNE() { jint a, b; popPair(a, b); return a != b; }
bool OperandStack::icmpLT() { jint a, b; popPair(a, b); return a < b; }
bool OperandStack::icmpLE() { jint a, b; popPair(a, b); return a <= b; }
bool OperandStack::icmpGT() { jint a, b; popPair(a, b); return a > b; }
bool OperandStack::icmpGE() { jint a, b; popPair(a, b); return a >= b; }

void OperandStack::fcmpl() {
    const jfloat b = popFloat();
    const jfloat a = popFloat();
    // Compared directly rather than through a - b, so that equal infinities give 0 as in Java.
    pushInt(a > b ? 1 : (a == b ? 0 : -1));
}

// ---- objects ----

void OperandStack::multiANewArray(const char* descriptor, int dimensions) {
    if (dimensions < 1 || dimensions > kMaxDimensions || dimensions > depth()) {
        Log::error("multianewarray with %d dimensions", dimensions);
        pushRef(nullptr);
        return;
    }
    jint lengths[kMaxDimensions];
    for (int i = dimensions - 1; i >= 0; --i) lengths[i] = popInt();
    pushRef(Runtime::multiANewArray(descriptor, lengths, dimensions));
}

void OperandStack::newInstance(jint classId) { pushRef(NewInstanceFactory::newInstance(classId)); }

void OperandStack::instanceOf(jint classId) { pushInt(Runtime::instanceOf(popRef(), classId) ? 1 : 0); }

void OperandStack::checkcast(jint classId) {
    (void)Runtime::checkCast(reinterpret_cast<Object*>(static_cast<uintptr_t>(slotAt(0))), classId);
}

void OperandStack::athrow() { Runtime::throwException(popRef()); }

void OperandStack::dump() const {
    std::string text = "OperandStack dump:\n";
    for (int i = 0; i < depth(); ++i) {
        const uint64_t value = slotAt(i);
        const char* name = "";
        if (tagAt(i) == kReference) {
            const ClassRecord* record =
                Class::forId(reinterpret_cast<Object*>(static_cast<uintptr_t>(value))->classId());
            name = record ? record->name() : "?";
        }
        text += Log::format("\t%d value=0x%" PRIx64 " class=%s\n", i, value, name);
    }
    Log::write(LogLevel::Debug, text);
}

// OperandStack: the shadow stack of a compiled method's stack-machine form, living in the method's
// native frame (so references on it are seen by the collector's stack scan). Slots are 64 bits, so
// a reference takes one; a long or double takes two slots of 32 bits each, low word in the lower
// slot, both tagged kWide. Tags are advisory: the collector never reads them.
// Invariant: valueTop - valueBase == tagTop - tagBase, and never more than the frame's capacity.
#pragma once

#include <cstdint>

#include "runtime/jtypes.h"

class Object;

class OperandStack {
public:
    // Tags: a scalar or null reference, a non-null reference, one half of a wide value.
    static constexpr uint8_t kScalar = 0;
    static constexpr uint8_t kReference = 1;
    static constexpr uint8_t kWide = 2;

    void init(uint64_t* valueBuffer, uint8_t* tagBuffer, int capacity);

    [[nodiscard]] int depth() const { return static_cast<int>(m_valueTop - m_valueBase); }
    [[nodiscard]] uint8_t tagAt(int depthFromTop) const;
    [[nodiscard]] uint64_t slotAt(int depthFromTop) const;

    // Pushes and pops. Overflow and underflow are compiled-code faults: logged, the push dropped,
    // the pop answering 0.
    void push(uint64_t value, uint8_t tag);
    void pushInt(jint value) { push(static_cast<uint64_t>(static_cast<int64_t>(value)), kScalar); }
    void pushFloat(jfloat value);
    void pushLong(jlong value);
    void pushDouble(jdouble value);
    void pushRef(Object* ref);
    void pushRefDup(Object* ref);   // new-then-dup
    void pushIntDup(jint value);
    void pushConstString(jint index);
    uint64_t pop();
    [[nodiscard]] jint popInt() { return static_cast<jint>(static_cast<uint32_t>(pop())); }
    [[nodiscard]] jfloat popFloat();
    [[nodiscard]] jlong popLong();
    [[nodiscard]] jdouble popDouble();
    [[nodiscard]] Object* popRef() { return reinterpret_cast<Object*>(static_cast<uintptr_t>(pop())); }

    void dup2();      // ..., b, a -> ..., b, a, b, a
    void dup2_x1();   // ..., c, b, a -> ..., b, a, c, b, a  (old slots keep their tags)
    void dup_x2();    // ..., c, b, a -> ..., a, c, b, a
    // No pop: the wide value whose upper half is `depth` below the top when that slot is tagged
    // kWide, else that slot's value (32-bit scalars sign-extended, references whole).
    [[nodiscard]] int64_t peekWide(int depth) const;

    // Array elements. A null array is a null reference; an index outside is logged and skipped.
    void iastore();   // int, float and reference arrays
    void sastore();   // short and char arrays: the low 16 bits
    void aaload();
    void iaload();
    void saload();
    void caload();
    void baload();
    void arrayLength();

    // Fields: the object under the value is tested for null first.
    void putfieldInt(void* fieldAddress);
    void putfieldBoolean(void* fieldAddress);
    void putstaticBoolean(void* staticAddress);

    // Pop b, then a; answer the comparison of a with b. Nothing is pushed.
    [[nodiscard]] bool icmpEQ();
    [[nodiscard]] bool icmpNE();
    [[nodiscard]] bool icmpLT();
    [[nodiscard]] bool icmpLE();
    [[nodiscard]] bool icmpGT();
    [[nodiscard]] bool icmpGE();
    // Pop b, then a; push 1, 0 or -1 for a > b, a == b, otherwise (NaN gives -1).
    void fcmpl();

    // Pops `dimensions` lengths (the last dimension on top) and pushes the new array.
    void multiANewArray(const char* descriptor, int dimensions);
    void newInstance(jint classId);
    void instanceOf(jint classId);
    void checkcast(jint classId);
    void athrow();
    // "OperandStack dump:" and one line per entry, top first, to the debug log.
    void dump() const;

private:
    void popPair(jint& a, jint& b);

    uint64_t* m_valueBase = nullptr;
    uint64_t* m_valueTop = nullptr;
    uint8_t* m_tagBase = nullptr;
    uint8_t* m_tagTop = nullptr;
    int m_capacity = 0;
};

// A method's frame: the stack and its buffers, sized for the method's deepest stack.
template <int Capacity>
class OperandFrame : public OperandStack {
public:
    OperandFrame() { init(m_values, m_tags, Capacity); }

private:
    uint64_t m_values[Capacity];
    uint8_t m_tags[Capacity];
};

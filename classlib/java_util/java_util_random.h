// java_util_Random (class id 63): the 48-bit linear congruential generator of java.util.Random
// (multiplier 0x5DEECE66D, addend 0xB), its state kept in two words. Invariant: seedHigh < 2^16.
#pragma once

#include "runtime/object.h"

class java_util_Random : public Object {
public:
    java_util_Random() { setClassId(CID_java_util_Random); }

    // Random(): seeded from the low 32 bits of currentTimeMillis.
    void init();
    // Random(long).
    void init(jlong seed);

    void setSeed(jlong seed);
    jint nextInt();
    // IllegalArgumentException (literal 235) for n < 1.
    jint nextInt(jint n);
    jlong nextLong();
    // next(24) / 16777220.0f: the platform's divisor, not 2^24.
    jfloat nextFloat();

    // The 48-bit state, for tests and the debugger.
    [[nodiscard]] uint64_t state() const { return (static_cast<uint64_t>(seedHigh) << 32) | seedLow; }

    uint32_t seedLow;
    uint32_t seedHigh;

protected:
    // Advances the state once; the top `bits` bits of the new state.
    jint next(jint bits);
};

// Random: seeding and the state step on two words, and the derived draws. The state changes only
// under the generator's lock, so one generator may be shared by threads.
#include "classlib/java_util/java_util_random.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/monitor.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/new_instance_factory.h"
#include "runtime/system_natives.h"

namespace {

const NewInstanceRegistration kRandomNew(CID_java_util_Random, &newInstanceOf<java_util_Random>);

constexpr uint32_t kMultiplierLow = 0xDEECE66D;  // 0x5DEECE66D = 5 * 2^32 + this
constexpr uint32_t kMultiplierHigh = 5;
constexpr uint32_t kAddend = 0xB;
constexpr jint kBoundLiteral = 235;

}  // namespace

void java_util_Random::init() {
    MonitorLock lock(this);
    seedLow = static_cast<uint32_t>(java_lang_System::currentTimeMillis()) ^ kMultiplierLow;
    seedHigh = kMultiplierHigh;
}

void java_util_Random::init(jlong seed) {
    seedLow = 0;
    seedHigh = 0;
    setSeed(seed);
}

void java_util_Random::setSeed(jlong seed) {
    MonitorLock lock(this);
    const auto bits = static_cast<uint64_t>(seed);
    seedLow = static_cast<uint32_t>(bits) ^ kMultiplierLow;
    seedHigh = (static_cast<uint32_t>(bits >> 32) ^ kMultiplierHigh) & 0xFFFF;
}

jint java_util_Random::next(jint bits) {
    MonitorLock lock(this);
    // low·multiplierLow in full, then the cross terms in the upper word: state·0x5DEECE66D + 0xB
    // taken mod 2^48.
    uint64_t sum = static_cast<uint64_t>(seedLow) * kMultiplierLow + kAddend;
    sum += static_cast<uint64_t>(seedLow * kMultiplierHigh + seedHigh * kMultiplierLow) << 32;
    seedLow = static_cast<uint32_t>(sum);
    seedHigh = static_cast<uint32_t>(sum >> 32) & 0xFFFF;
    return static_cast<jint>(static_cast<uint32_t>(state() >> (48 - bits)));
}

jint java_util_Random::nextInt() { return next(32); }

jint java_util_Random::nextInt(jint n) {
    if (n < 1) {
        Runtime::raise<java_lang_IllegalArgumentException>(Runtime::ldcString(kBoundLiteral));
        return 0;
    }
    if ((n & -n) == n) return static_cast<jint>((static_cast<jlong>(n) * next(31)) >> 31);
    jint bits = 0;
    jint val = 0;
    do {
        bits = next(31);
        val = bits % n;
    } while (jt::add(jt::sub(bits, val), n - 1) < 0);
    return val;
}

jlong java_util_Random::nextLong() {
    const jlong high = next(32);
    const jlong low = next(32);
    return jt::add(jt::shl(high, 32), low);
}

jfloat java_util_Random::nextFloat() { return static_cast<jfloat>(next(24)) / 16777220.0f; }

// containers_bench: Hashtable put/get/remove with Integer and String keys, Vector add/get/remove
// and Random.nextInt, timed on the runtime with its collector. bench/jvm/ContainersBench.java does
// the same work on the JVM; bench/run_jvm_bench.sh containers runs both and prints the ratio. Both
// take the same rounds per part (the first argument, default kRounds: enough for the JVM's time to
// stop falling) and report the median of each part's second half. Both print the same check
// values, so the two sides provably did the same work, and one `part NAME MS` line a part, whose
// ratios the script reports beside the total's.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_hashtable.h"
#include "classlib/java_util/java_util_random.h"
#include "classlib/java_util/java_util_vector.h"
#include "runtime/array.h"
#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"

namespace {

constexpr jint kKeys = 20000;
constexpr jint kFrontRemovals = 1000;
constexpr jint kDraws = 200000;
constexpr int kRounds = 40;

struct Check {
    jlong sum = 0;
};

java_lang_Integer* integer(jint v) {
    auto* i = new java_lang_Integer();
    i->init(v);
    return i;
}

void integerTable(Check& check) {
    auto* h = new java_util_Hashtable();
    h->init();
    for (jint i = 0; i < kKeys; ++i) h->put(integer(i * 7), integer(i));
    for (jint i = 0; i < kKeys; ++i) check.sum += static_cast<java_lang_Integer*>(h->get(integer(i * 7)))->value;
    for (jint i = 0; i < kKeys; i += 2) h->remove(integer(i * 7));
    check.sum += h->size();
}

// keys and probes: equal texts, distinct objects.
void stringTable(Check& check, ObjectArray* keys, ObjectArray* probes) {
    auto* h = new java_util_Hashtable();
    h->init();
    for (jint i = 0; i < kKeys; ++i) h->put(keys->get(i), integer(i));
    for (jint i = 0; i < kKeys; ++i) check.sum += static_cast<java_lang_Integer*>(h->get(probes->get(i)))->value;
    for (jint i = 0; i < kKeys; i += 2) h->remove(probes->get(i));
    check.sum += h->size();
}

void vector(Check& check) {
    auto* v = new java_util_Vector();
    v->init();
    for (jint i = 0; i < kKeys; ++i) v->addElement(integer(i));
    for (jint i = 0; i < kKeys; ++i) check.sum += static_cast<java_lang_Integer*>(v->elementAt(i))->value;
    for (jint i = 0; i < kFrontRemovals; ++i) v->removeElementAt(0);
    while (v->size() > kKeys / 2) v->removeElementAt(v->size() - 1);
    check.sum += v->size() + static_cast<java_lang_Integer*>(v->firstElement())->value;
}

void random(Check& check) {
    auto* r = new java_util_Random();
    r->init(42);
    for (jint i = 0; i < kDraws; ++i) check.sum += r->nextInt(1000);
    check.sum += r->nextInt();
}

int g_rounds = kRounds;

// The median of the second half of the rounds: the JVM has compiled the work by then.
template <class Work>
double steady(const Work& work) {
    std::vector<double> times;
    for (int round = 0; round < g_rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        times.push_back(elapsed.count());
    }
    std::sort(times.begin() + g_rounds / 2, times.end());
    return times[g_rounds / 2 + (g_rounds - g_rounds / 2) / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_rounds = std::max(2, std::atoi(argv[1]));
    if (!Runtime::initHeaps()) {
        std::fputs("containers_bench: cannot create the heaps\n", stderr);
        return 1;
    }
    {
        ObjectManager collector;
        ObjectArray* keys = Runtime::newObjectArray(CID_String, kKeys);
        ObjectArray* probes = Runtime::newObjectArray(CID_String, kKeys);
        collector.addRoot(reinterpret_cast<Object**>(&keys));
        collector.addRoot(reinterpret_cast<Object**>(&probes));
        for (jint i = 0; i < kKeys; ++i) {
            const std::string text = "key-" + std::to_string(i);
            keys->set(i, String::fromCString(text.c_str()));
            probes->set(i, String::fromCString(text.c_str()));
        }

        Check check;
        const double integers = steady([&] { integerTable(check); });
        const double strings = steady([&] { stringTable(check, keys, probes); });
        const double vectors = steady([&] { vector(check); });
        const double randoms = steady([&] { random(check); });
        std::printf("check sum=%lld\n", static_cast<long long>(check.sum));
        std::printf("  hashtable Integer keys %.2f ms, String keys %.2f ms, vector %.2f ms, random %.2f ms\n", integers,
                    strings, vectors, randoms);
        // One line a part, which bench/run_jvm_bench.sh pairs with the JVM's for each part's ratio.
        std::printf("part hashtable_integer_keys %.4f\npart hashtable_string_keys %.4f\npart vector %.4f\npart random %.4f\n",
                    integers, strings, vectors, randoms);
        std::printf("collections %llu\n", static_cast<unsigned long long>(collector.statistics().collections));
        std::printf("brindlex: %.2f ms per round (median of rounds %d-%d per part)\n",
                    integers + strings + vectors + randoms, g_rounds / 2 + 1, g_rounds);
        collector.removeRoot(reinterpret_cast<Object**>(&keys));
        collector.removeRoot(reinterpret_cast<Object**>(&probes));
        Runtime::destroyHeaps();
    }
    return 0;
}

// strings_bench: the string work of compiled code (concatenation through StringBuffer, appends of
// ints and strings, hashCode, indexOf) timed on the runtime with its collector installed, as the
// program runs it: every object is registered, and the garbage is found and freed by the collections
// an exhausted heap starts. bench/jvm/StringsBench.java does the same work on the JVM;
// bench/run_jvm_bench.sh strings runs both and prints the ratio. Both take the same rounds (the
// first argument, default kRounds: enough for the JVM's time to stop falling) and report the median
// of the second half, collections included. Both print the same check values (our hash is 31 times
// Java's), so the two sides provably did the same work.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/object_manager.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

constexpr int kIterations = 200000;
constexpr int kRounds = 30;

struct Totals {
    long long lengths = 0;
    jint hashes = 0;
};

Totals runRound(String* item, String* name, String* suffix, String* comma, String* needle) {
    Totals totals;
    for (int i = 0; i < kIterations; ++i) {
        // "item" + i + ':' + name, as compiled code builds it.
        auto* sb = new StringBuffer();
        sb->initWithCapacity(16);
        sb->appendString(item)->appendInt(i)->appendChar(':')->appendString(name);
        String* s = sb->toString();
        String* t = s->concat(suffix);

        auto* big = new StringBuffer();
        big->initWithCapacity(16);
        for (int k = 0; k < 8; ++k) big->appendInt(i + k)->appendString(comma);
        String* u = big->toString();

        totals.hashes = jt::add(totals.hashes, jt::add(t->hashCode(), u->hashCode()));
        totals.lengths += t->length() + u->length() + t->indexOf(':') + u->indexOfString(needle);

    }
    return totals;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : kRounds;
    if (!Runtime::initHeaps()) {
        std::fputs("strings_bench: cannot create the heaps\n", stderr);
        return 1;
    }
    std::vector<double> times;
    Totals totals;
    {
        ObjectManager collector;
        String* item = String::fromCString("item");
        String* name = String::fromCString("brindlex-player");
        String* suffix = String::fromCString("/suffix");
        String* comma = String::fromCString(",");
        String* needle = String::fromCString(",1");
        for (String** root : {&item, &name, &suffix, &comma, &needle}) collector.addRoot(reinterpret_cast<Object**>(root));

        for (int round = 0; round < rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            totals = runRound(item, name, suffix, comma, needle);
            const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
            times.push_back(elapsed.count());
        }
        std::printf("collections %llu\n", static_cast<unsigned long long>(collector.statistics().collections));
        for (String** root : {&item, &name, &suffix, &comma, &needle}) collector.removeRoot(reinterpret_cast<Object**>(root));
        Runtime::destroyHeaps();
    }
    std::printf("rounds ms:");
    for (const double t : times) std::printf(" %.1f", t);
    std::printf("\n");
    std::sort(times.begin() + rounds / 2, times.end());
    const double median = times[rounds / 2 + (rounds - rounds / 2) / 2];
    std::printf("check lengths=%lld hash31=%d\n", totals.lengths, totals.hashes);
    std::printf("brindlex: %.2f ms per round of %d iterations (median of rounds %d-%d)\n", median, kIterations,
                rounds / 2 + 1, rounds);
    return 0;
}

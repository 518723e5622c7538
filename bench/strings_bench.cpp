// strings_bench: the string work of compiled code (concatenation through StringBuffer, appends of
// ints and strings, hashCode, indexOf) timed on the runtime. bench/jvm/StringsBench.java does the
// same work on the JVM; bench/run_jvm_bench.sh strings runs both and prints the ratio. Both print the
// same check values (our hash is 31 times Java's), so the two sides provably did the same work.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "runtime/heaps.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

constexpr int kIterations = 200000;
constexpr int kRounds = 7;

struct Totals {
    long long lengths = 0;
    jint hashes = 0;
};

// There is no collector here: each iteration gives its objects back as a collection would.
void release(Object* object) {
    object->destroy();
    Runtime::freeBlock(object);
}

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

        release(sb);
        release(big);
        release(s);
        release(t);
        release(u);
    }
    return totals;
}

}  // namespace

int main() {
    if (!Runtime::initHeaps()) {
        std::fputs("strings_bench: cannot create the heaps\n", stderr);
        return 1;
    }
    String* item = String::fromCString("item");
    String* name = String::fromCString("brindlex-player");
    String* suffix = String::fromCString("/suffix");
    String* comma = String::fromCString(",");
    String* needle = String::fromCString(",1");

    double best = 1e300;
    Totals totals;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        totals = runRound(item, name, suffix, comma, needle);
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    std::printf("check lengths=%lld hash31=%d\n", totals.lengths, totals.hashes);
    std::printf("brindlex: %.2f ms per round of %d iterations (best of %d)\n", best, kIterations, kRounds);
    Runtime::destroyHeaps();
    return 0;
}

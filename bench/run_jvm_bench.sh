#!/bin/sh
# Runs one of our benchmarks and its JVM twin as alternating pairs, each side pinned to a core of
# its own, and prints every pair's times and ratio, then the median ratio last as "ratio: X".
# Usage: bench/run_jvm_bench.sh NAME [path/to/NAME_bench]  with NAME strings or containers:
# bench/NAME_bench.cpp against bench/jvm/<Name>Bench.java (default binary: the release build, made
# if missing). Needs javac and java (OpenJDK 17) on the PATH, and taskset.
# Environment: PAIRS (default 5), ROUNDS (both sides; default: each bench's own), OURS_CPU and
# JVM_CPU (default 2 and 3: distinct cores, so neither side's threads steal from the other).
# Odd pairs run ours first, even pairs the JVM first, so a drift in the machine's load hits both.
# A bench that prints `part NAME MS` lines (both sides the same names) also gets each part's median
# ratio, as "part NAME ratio: X", before the total's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
name=${1:?usage: run_jvm_bench.sh NAME [path/to/NAME_bench]}
bench=${2:-$root/build/release/bench/${name}_bench}
class=$(echo "$name" | awk '{ print toupper(substr($0, 1, 1)) substr($0, 2) }')Bench
pairs=${PAIRS:-5}
rounds=${ROUNDS:-}
ours_cpu=${OURS_CPU:-2}
jvm_cpu=${JVM_CPU:-3}
if [ "$ours_cpu" = "$jvm_cpu" ]; then
    echo "OURS_CPU and JVM_CPU must differ" >&2
    exit 2
fi
if [ ! -x "$bench" ]; then
    (cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target "${name}_bench" >/dev/null)
fi
classes=$(mktemp -d)
trap 'rm -rf "$classes"' EXIT
javac -nowarn -d "$classes" "$here/jvm/$class.java"

run_ours() { taskset -c "$ours_cpu" "$bench" $rounds; }
run_theirs() { taskset -c "$jvm_cpu" java -cp "$classes" "$class" $rounds; }

ratios=""
part_ratios=""
pair=1
while [ "$pair" -le "$pairs" ]; do
    if [ $((pair % 2)) -eq 1 ]; then
        ours=$(run_ours)
        theirs=$(run_theirs)
    else
        theirs=$(run_theirs)
        ours=$(run_ours)
    fi
    check_ours=$(echo "$ours" | grep '^check')
    check_theirs=$(echo "$theirs" | grep '^check')
    if [ "$check_ours" != "$check_theirs" ]; then
        echo "the two sides did different work: '$check_ours' vs '$check_theirs'" >&2
        exit 1
    fi
    ms_ours=$(echo "$ours" | sed -n 's/^brindlex: \([0-9.]*\) ms.*/\1/p')
    ms_theirs=$(echo "$theirs" | sed -n 's/^jvm: \([0-9.]*\) ms.*/\1/p')
    ratio=$(awk -v a="$ms_ours" -v b="$ms_theirs" 'BEGIN { printf "%.3f", a / b }')
    echo "pair $pair: brindlex $ms_ours ms (cpu $ours_cpu), jvm $ms_theirs ms (cpu $jvm_cpu), ratio $ratio"
    ratios="$ratios $ratio"
    # "NAME RATIO" per part of this pair.
    part_ratios="$part_ratios
$( (echo "$ours" | sed -n 's/^part \([^ ]*\) \([0-9.]*\)$/ours \1 \2/p'
    echo "$theirs" | sed -n 's/^part \([^ ]*\) \([0-9.]*\)$/theirs \1 \2/p') |
   awk '$1 == "ours" { o[$2] = $3 } $1 == "theirs" { t[$2] = $3 }
        END { for (n in o) if (n in t && t[n] > 0) printf "%s %.3f\n", n, o[n] / t[n] }')"
    pair=$((pair + 1))
done
echo "$ours" | grep -v '^brindlex:' | grep -v '^part '
echo "$theirs" | grep -v '^jvm:' | grep -v '^part '
echo "$part_ratios" | grep . | sort -k1,1 -k2,2n |
    awk '{ if ($1 != name) { if (name != "") report(); name = $1; n = 0 } r[++n] = $2 }
         function report() { m = (n % 2) ? r[(n + 1) / 2] : (r[n / 2] + r[n / 2 + 1]) / 2
                             printf "part %s ratio: %.2f (brindlex/jvm, median of %d pairs)\n", name, m, n }
         END { if (name != "") report() }'
# Below 1: faster than the JVM.
echo "$ratios" | tr ' ' '\n' | grep . | sort -n |
    awk '{ r[NR] = $1 } END { m = (NR % 2) ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2;
                             printf "ratio: %.2f (brindlex/jvm, median of %d pairs, min %.2f, max %.2f)\n", m, NR, r[1], r[NR] }'

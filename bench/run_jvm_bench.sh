#!/bin/sh
# Runs one of our benchmarks and its JVM twin one after the other and prints both times and the
# ratio. Usage: bench/run_jvm_bench.sh NAME [path/to/NAME_bench]  with NAME strings or containers:
# bench/NAME_bench.cpp against bench/jvm/<Name>Bench.java (default binary: the release build, made
# if missing). Needs javac and java (OpenJDK 17) on the PATH.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
name=${1:?usage: run_jvm_bench.sh NAME [path/to/NAME_bench]}
bench=${2:-$root/build/release/bench/${name}_bench}
class=$(echo "$name" | awk '{ print toupper(substr($0, 1, 1)) substr($0, 2) }')Bench
if [ ! -x "$bench" ]; then
    (cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target "${name}_bench" >/dev/null)
fi
classes=$(mktemp -d)
trap 'rm -rf "$classes"' EXIT
javac -nowarn -d "$classes" "$here/jvm/$class.java"

ours=$("$bench")
theirs=$(java -cp "$classes" "$class")
echo "$ours"
echo "$theirs"

check_ours=$(echo "$ours" | grep '^check')
check_theirs=$(echo "$theirs" | grep '^check')
if [ "$check_ours" != "$check_theirs" ]; then
    echo "the two sides did different work: '$check_ours' vs '$check_theirs'" >&2
    exit 1
fi
ms_ours=$(echo "$ours" | sed -n 's/^brindlex: \([0-9.]*\) ms.*/\1/p')
ms_theirs=$(echo "$theirs" | sed -n 's/^jvm: \([0-9.]*\) ms.*/\1/p')
awk -v a="$ms_ours" -v b="$ms_theirs" 'BEGIN { printf "ratio brindlex/jvm: %.2f (below 1: faster than the JVM)\n", a / b }'

#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan, UBSan, libFuzzer) and runs each for
# the given number of seconds on a copy of its seed corpus.
# Usage: scripts/fuzz.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLON_FUZZ=ON -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF >/dev/null

for corpus in fuzz/corpus/*/; do
    name=$(basename "$corpus")
    target="${name}_fuzzer"
    cmake --build "$build" --target "$target"
    work="$build/corpus/$name"
    mkdir -p "$work"
    cp -n "$corpus"* "$work"/ 2>/dev/null || true
    echo "== $target for ${seconds}s"
    # Small allocation limit: the reader must never allocate beyond what its input holds.
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$build/bin/$target" -max_total_time="$seconds" -malloc_limit_mb=64 -rss_limit_mb=2048 \
        -artifact_prefix="$build/" -print_final_stats=1 "$work"
done

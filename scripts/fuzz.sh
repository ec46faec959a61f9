#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time over its seed corpus.
# Usage: scripts/fuzz.sh [SECONDS per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPONDREL_FUZZ=ON -DPONDREL_WERROR=OFF -DPONDREL_BUILD_UI=OFF -DPONDREL_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target pondrel_fuzzers
found=0
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    found=1
    name=$(basename "$target")
    work="build/fuzz/corpus-$name"
    mkdir -p "$work"
    # Patient files are fuzzed up to their size limit, where slow readings would show.
    extra=()
    case "$name" in
        fuzz_patient_reader | fuzz_version300) extra=(-max_len=400000) ;;
    esac
    echo "-- $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "${extra[@]}" "$work" "fuzz/corpus/$name" 2>&1 | tail -n 12
done
[ "$found" = 1 ] || echo "no fuzz targets"

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time over its seed corpus,
# as many at once as there are cores (each target runs on one core).
# Usage: scripts/fuzz.sh [SECONDS per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
lanes=${PONDREL_FUZZ_JOBS:-$(nproc)}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPONDREL_FUZZ=ON -DPONDREL_WERROR=OFF -DPONDREL_BUILD_UI=OFF -DPONDREL_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target pondrel_fuzzers
targets=()
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] && targets+=("$target")
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz targets"
    exit 0
fi

# Runs one target and prints the end of its output in one piece; fails when the target failed.
fuzz_one() {
    local target=$1 name work log status=0
    name=$(basename "$target")
    work="build/fuzz/corpus-$name"
    log="build/fuzz/$name.log"
    mkdir -p "$work"
    # Patient files are fuzzed up to their size limit, where slow readings would show.
    local extra=()
    case "$name" in
        fuzz_patient_reader | fuzz_version300) extra=(-max_len=400000) ;;
    esac
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "${extra[@]}" "$work" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    printf -- '-- %s for %ss%s\n%s\n' "$name" "$seconds" \
        "$([ "$status" -eq 0 ] || echo " FAILED (exit $status)")" "$(tail -n 12 "$log")"
    return "$status"
}

# Lane i runs targets i, i+lanes, ... one after the other; a lane fails when one of its targets did.
pids=()
for ((lane = 0; lane < lanes; lane++)); do
    (
        failed=0
        for ((i = lane; i < ${#targets[@]}; i += lanes)); do
            fuzz_one "${targets[i]}" || failed=1
        done
        exit "$failed"
    ) &
    pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
if [ "$failed" -ne 0 ]; then
    echo "scripts/fuzz.sh: a fuzz target failed (its whole output is in build/fuzz/<target>.log)" >&2
    exit 1
fi

#!/usr/bin/env bash
# Builds Pondrel and runs every test: a normal build (warnings are errors), the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# The normal build is the Release build that scripts/run.sh makes (same build type and options),
# with warnings as errors, so a warning that would stop the run command stops the tests first.
echo "== Build (Release, as scripts/run.sh builds) and test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DPONDREL_WERROR=ON
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPONDREL_SANITIZE=ON \
      -DPONDREL_BUILD_BENCH=OFF
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"

# Ten targets at 15 s each, two at once on CI's two cores: 150 s of fuzzing in 75 s.
echo "== Fuzz"
scripts/fuzz.sh "${PONDREL_FUZZ_SECONDS:-15}"

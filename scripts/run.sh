#!/usr/bin/env bash
# Builds Pondrel and starts it on the default device folder, preparing that folder on first use.
# Extra arguments go to the program (for example --zoom 2).
# The build does not treat compiler warnings as errors (a newer compiler may warn where ours does
# not); the test command does.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/release
log="$PWD/$build/run-build.log"

fail() {
    echo "scripts/run.sh: $1 failed; its output is in $log" >&2
    [ -f "$log" ] && tail -n 20 "$log" >&2
    exit 1
}

if ! scripts/install-deps.sh; then
    echo "scripts/run.sh: installing the Debian packages failed (see the lines above)" >&2
    exit 1
fi
mkdir -p "$build"
: >"$log"
echo "Building Pondrel (Release) in $build; log: $log"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPONDREL_WERROR=OFF \
    -DPONDREL_BUILD_BENCH=OFF >>"$log" 2>&1 || fail "configuring the build"
cmake --build "$build" -j "$(nproc)" --target pondrel pondrel-tool pondrel_factory >>"$log" 2>&1 ||
    fail "building the program"
device=${PONDREL_DEVICE:-${XDG_DATA_HOME:-$HOME/.local/share}/pondrel/device}
if [ ! -d "$device" ]; then
    "$build/src/tool/pondrel-tool" init-device --resources "$PWD/$build/factory" "$device" \
        >>"$log" 2>&1 || fail "preparing the device folder $device"
    # A newcomer sees a living ward: twenty fictional patients.
    "$build/src/tool/pondrel-tool" demo "$device" --patients 20 --date "$(date +%Y-%m-%d)" \
        >>"$log" 2>&1 || fail "adding the demonstration patients to $device"
fi
exec "$build/src/ui/pondrel" --device "$device" "$@"

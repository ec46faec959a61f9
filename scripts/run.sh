#!/usr/bin/env bash
# Builds Pondrel and starts it on the default device folder, preparing that folder on first use.
# Extra arguments go to the program (for example --zoom 2).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPONDREL_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target pondrel pondrel-tool
device=${PONDREL_DEVICE:-${XDG_DATA_HOME:-$HOME/.local/share}/pondrel/device}
if [ ! -d "$device" ]; then
    build/release/src/tool/pondrel-tool init-device --resources "$PWD/resources" "$device"
    # A newcomer sees a living ward: twenty fictional patients.
    build/release/src/tool/pondrel-tool demo "$device" --patients 20 \
        --date "$(date +%Y-%m-%d)" >/dev/null
fi
exec build/release/src/ui/pondrel --device "$device" "$@"

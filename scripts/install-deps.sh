#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Pondrel (when some are missing).
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev lld qt6-base-dev qt6-base-dev-tools
          libgl1-mesa-dev libgtest-dev libgmock-dev libbenchmark-dev
          libasio-dev libsqlite3-dev libsodium-dev libssl-dev python3 libreoffice-writer-nogui
          libreoffice-calc-nogui unicode-data cmark lintian desktop-file-utils appstream
          libpq-dev postgresql)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

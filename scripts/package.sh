#!/usr/bin/env bash
# Sets up, builds the release tree and makes the Debian package
# build/package/korvani_<version>_<architecture>.deb. Install it with
#     sudo apt install ./build/package/korvani_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)" --target korvani korvani-chart korvani-dist

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cpack --config build/release/CPackConfig.cmake -B build/package >"$log" 2>&1; then
    cat "$log"
    echo "The package could not be built."
    exit 1
fi
rm -rf build/package/_CPack_Packages
ls -1 build/package/*.deb

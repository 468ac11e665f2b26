#!/usr/bin/env bash
# Sets up, builds with warnings as errors and runs every test; then builds a second tree with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
runtime_dir=$(mktemp -d)
chmod 0700 "$runtime_dir"
trap 'rm -rf "$runtime_dir"' EXIT
export XDG_RUNTIME_DIR="$runtime_dir" KORVANI_LOCK_DIR="$runtime_dir"
export QT_QPA_PLATFORM=offscreen

run_tree() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DKORVANI_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

echo "== Build and test (warnings as errors)"
run_tree build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_tree build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKORVANI_SANITIZE=ON -DKORVANI_BUILD_BENCH=OFF

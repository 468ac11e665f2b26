#!/usr/bin/env bash
# The first thing a packager types: CMake's default generator (Unix Makefiles), no build type,
# tests and benchmarks off, then the packaging target and an install. The tree must build
# optimised (Release), create every folder it writes into, and install the two programs, the
# icons, the man pages, the desktop entry and the metainfo.
# Usage: CheckPlainBuild.sh SOURCE_DIR WORK_DIR [CMAKE]
set -euo pipefail

source_dir=$1
work=$2
cmake=${3:-cmake}

rm -rf "$work"
mkdir -p "$work"
build="$work/build"
root="$work/root"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

echo "== Configure with Unix Makefiles and no build type"
"$cmake" -S "$source_dir" -B "$build" -G "Unix Makefiles" -DBUILD_TESTING=OFF \
    -DKORVANI_BUILD_BENCH=OFF >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; echo "FAILED: configure"; exit 1; }
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$build_type" = Release ] || fail "the build type is \"$build_type\", expected Release"

echo "== Build the packaging target"
"$cmake" --build "$build" --target package -j "$(nproc)" >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log"; echo "FAILED: build"; exit 1; }
debs=("$build"/*.deb)
[ -f "${debs[0]}" ] || fail "the packaging target made no .deb"

echo "== Install"
"$cmake" --install "$build" --prefix "$root" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAILED: install"; exit 1; }
expected=(bin/korvani bin/korvani-chart share/man/man1/korvani.1.gz
          share/man/man1/korvani-chart.1.gz)
for path in "${expected[@]}"; do
    [ -f "$root/$path" ] || fail "no $path"
done
for pattern in 'share/applications/*.desktop' 'share/metainfo/*.metainfo.xml' \
               'share/icons/hicolor/scalable/apps/*.svg' 'share/icons/hicolor/48x48/apps/*.png' \
               'share/icons/hicolor/64x64/apps/*.png' 'share/icons/hicolor/128x128/apps/*.png' \
               'share/icons/hicolor/256x256/apps/*.png'; do
    matches=($root/$pattern)
    [ -f "${matches[0]}" ] || fail "nothing installed as $pattern"
done
"$root/bin/korvani-chart" --date 1990-08-15 --time 10:30 --lon 077:13E --lat 28:39N --zone 34 |
    grep -q '^Sun ' || fail "the installed korvani-chart computes no Sun row"

[ "$failures" -eq 0 ] || exit 1
rm -rf "$work"
echo "The plain build is sound"

#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: lintian reports no error and no
# missing hardening, it holds every file a plain install puts down (and Debian's copyright and
# changelog besides), and its unpacked programs run: korvani-chart computes the New Delhi chart
# exactly as the build tree's does, and korvani prints its version. Installs nothing on the system.
# Usage: CheckPackage.sh BUILD_DIR VERSION BUILT_KORVANI_CHART [CMAKE CPACK]
set -euo pipefail

build_dir=$1
version=$2
built_chart=$3
cmake=${4:-cmake}
cpack=${5:-cpack}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

echo "== Building the package"
"$cpack" --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAILED: cpack"; exit 1; }
deb="$work/out/korvani_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
    ls -l "$work/out"
    echo "FAILED: no package named $(basename "$deb")"
    exit 1
fi
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Package Version Architecture Section Maintainer Depends

echo "== lintian"
# lintian exits non-zero when it reports an error or cannot check the package at all.
# Its information tags show missing hardening (fortify, stack protector, relro, bindnow).
if ! lintian --allow-root --display-info "$deb" >"$work/lintian.log" 2>&1 ||
    grep -q '^E:' "$work/lintian.log"; then
    fail "lintian reports errors or could not check the package"
fi
if grep -q ' hardening-' "$work/lintian.log"; then
    fail "lintian reports missing hardening"
fi
cat "$work/lintian.log"

echo "== Package contents against a plain install"
"$cmake" --install "$build_dir" --prefix "$work/root/usr" >/dev/null
(cd "$work/root" && find . ! -type d | sort) >"$work/installed"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$work/packaged"
# The package alone carries Debian's own files.
printf '%s\n' ./usr/share/doc/korvani/changelog.gz ./usr/share/doc/korvani/copyright |
    sort >"$work/debian-only"
sort -m "$work/installed" "$work/debian-only" >"$work/expected"
if diff -u "$work/expected" "$work/packaged"; then
    echo "$(wc -l <"$work/installed") installed files, all in the package"
else
    fail "the package does not hold exactly the installed files"
fi

echo "== Desktop menu entry"
dpkg-deb -x "$deb" "$work/unpacked"
share="$work/unpacked/usr/share"
entries=("$share"/applications/*.desktop)
if [ ${#entries[@]} -ne 1 ] || [ ! -f "${entries[0]}" ]; then
    fail "the package holds ${#entries[@]} desktop entries, expected one"
else
    id=$(basename "${entries[0]}" .desktop)
    # The menu shows the entry's icon from the hicolor theme and starts its Exec program.
    icon=$(sed -n 's/^Icon=//p' "${entries[0]}")
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "${entries[0]}")
    [ "$icon" = "$id" ] || fail "the entry's icon \"$icon\" is not named after the ID $id"
    for size in 48x48 64x64 128x128 256x256; do
        [ -f "$share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon $icon.png"
    done
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    [ -x "$work/unpacked/usr/bin/$program" ] || fail "the entry starts \"$program\", not in usr/bin"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
        "$share/metainfo/$id.metainfo.xml" || fail "the metainfo does not launch $id.desktop"
    echo "$id: icon $icon, starts $program"
fi

echo "== Unpacked programs"
delhi=(--date 1990-08-15 --time 10:30 --lon 077:13E --lat 28:39N --zone 34)
"$built_chart" "${delhi[@]}" >"$work/chart-built"
if ! "$work/unpacked/usr/bin/korvani-chart" "${delhi[@]}" >"$work/chart-unpacked"; then
    fail "the unpacked korvani-chart failed"
elif ! diff -u "$work/chart-built" "$work/chart-unpacked"; then
    fail "the unpacked korvani-chart computes another chart"
elif ! grep -q '^Sun ' "$work/chart-unpacked"; then
    fail "the New Delhi chart has no Sun row"
fi
version_line=$("$work/unpacked/usr/bin/korvani" --version | head -n 1)
if [ "$version_line" != "korvani $version" ]; then
    fail "korvani --version printed \"$version_line\", expected \"korvani $version\""
fi
echo "korvani --version: $version_line"

[ "$failures" -eq 0 ] || exit 1
echo "The package is sound"

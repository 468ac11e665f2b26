#!/bin/sh
# Runs a test program on a private X server (Xvfb) managed by the openbox window manager, so that
# windows are placed and framed as on a desktop. Exits 77 (skipped) only when Xvfb or openbox is
# not installed; scripts/setup.sh installs both.
set -eu

for tool in Xvfb openbox; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb=""
wm=""
finish() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT INT TERM

# Xvfb picks a free display and writes its number once it accepts connections.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r number <"$work/display"
export DISPLAY=":$number"

# openbox with its default settings, away from the user's own.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
# openbox runs the start-up command once it manages the screen; the script waits for that.
mkfifo "$work/managing"
openbox --sm-disable --startup "sh -c 'echo >\"$work/managing\"'" >"$work/openbox.log" 2>&1 &
wm=$!
read -r _ <"$work/managing"

# Under AddressSanitizer: the X keyboard library reads a name with strndup past the end of a
# buffer that is not closed by a zero, a read the sanitizer's strict string checks refuse.
# The session bus library, which Qt's accessibility bridge loads on X, keeps a buffer until the
# process ends.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
    echo "leak:libdbus-1.so" >"$work/leaks.supp"
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$work/leaks.supp"
fi
QT_QPA_PLATFORM=xcb KORVANI_LOCK_DIR="$work" "$@"

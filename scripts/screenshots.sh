#!/usr/bin/env bash
# Renews the README's pictures docs/input-window.png, docs/result-window.png and
# docs/exit-window.png: runs the program on a virtual screen with a window manager, types the
# New Delhi birth into the input window, and photographs each window with its frame.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --on-virtual-screen ]; then
    bash scripts/setup.sh xvfb xauth openbox imagemagick x11-utils xdotool
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/release -j "$(nproc)" --target korvani
    exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
        bash "$0" --on-virtual-screen
fi

runtime_dir=$(mktemp -d)
chmod 0700 "$runtime_dir"
export XDG_RUNTIME_DIR=$runtime_dir
# A lock of its own, so that a copy the user already runs does not stop the pictures.
export KORVANI_LOCK_DIR=$runtime_dir
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$runtime_dir"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
pids+=($!)
build/release/app/korvani -style fusion &
pids+=($!)

# Waits until a window of the program with this title is mapped and drawn, and gives its id.
visible_window() {
    local id
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | tail -n 1)
    [ -n "$id" ] || { echo "No window titled $1 appeared" >&2; exit 1; }
    sleep 1
    echo "$id"
}

# Waits until a window is no longer shown (closed or hidden), for at most a minute.
gone() {
    local tries=0
    while xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
        tries=$((tries + 1))
        [ "$tries" -le 300 ] || { echo "Window $1 is still shown" >&2; exit 1; }
        sleep 0.2
    done
}

# Photographs a window with the frame the window manager drew around it.
photograph() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
    sleep 0.5
    import -silent -frame -window "$1" "$2"
    echo "$2: $(identify -format '%wx%h' "$2")"
}

keys() {
    xdotool key --delay 60 "$@"
}

typed() {
    xdotool type --delay 60 "$1"
}

title="^Korvani v1.20$"
input=$(visible_window "$title")
xdotool windowactivate --sync "$input"

# The New Delhi birth of 15 August 1990 at 10:30, fields in tab order.
typed "Asha"
keys Tab; typed "Aug"
keys Tab; typed "15"
keys Tab; typed "1990"
keys Tab; typed "10"
keys Tab; typed "30"
keys Tab
keys Tab; typed "77"
keys Tab; typed "13"
keys Tab
keys Tab; typed "28"
keys Tab; typed "39"
keys Tab
keys Tab; typed "Indian"
keys Tab
keys Tab; typed "New Delhi"
keys Tab
keys Tab; typed "India"
photograph "$input" docs/input-window.png

# Get My Vedic Astrology Decanates: the result window replaces the input window.
keys Tab Tab space
gone "$input"
result=$(visible_window "$title")
photograph "$result" docs/result-window.png

# Exit (Alt+E) closes the result window and shows the exit window.
keys alt+e
gone "$result"
exit_window=$(visible_window "$title")
photograph "$exit_window" docs/exit-window.png

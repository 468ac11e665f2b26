#!/bin/sh
# Runs a checker that says nothing about a sound file: passes only when it exits 0 and writes
# nothing. With --warnings-on-stderr first, only standard error counts (for a checker such as
# man, whose standard output is the formatted page).
if [ "$1" = --warnings-on-stderr ]; then
    shift
    complaints=$("$@" 2>&1 >/dev/null)
else
    complaints=$("$@" 2>&1)
fi
status=$?
[ -n "$complaints" ] && printf '%s\n' "$complaints"
[ "$status" -eq 0 ] && [ -z "$complaints" ]

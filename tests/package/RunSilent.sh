#!/bin/sh
# Runs a checker that says nothing about a sound file: passes only when it exits 0 and writes
# nothing to standard error (its standard output, such as a formatted man page, is dropped).
complaints=$("$@" 2>&1 >/dev/null)
status=$?
[ -n "$complaints" ] && printf '%s\n' "$complaints"
[ "$status" -eq 0 ] && [ -z "$complaints" ]

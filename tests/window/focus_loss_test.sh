#!/usr/bin/env bash
# Runs the focus-loss test in a virtual X display of its own, never on the desktop it was
# started from: it moves the input focus between windows.
#   focus_loss_test.sh TEST_PROGRAM
set -uo pipefail
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool missing"; exit 0; }
command -v xmessage >/dev/null || { echo "SKIP: xmessage missing"; exit 0; }
export SDL_AUDIODRIVER=dummy
# In sanitizer builds, the X and D-Bus client libraries keep allocations to the end of the
# process; our own code's leaks are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
exec xvfb-run -a -s "-screen 0 800x600x24" "$1"

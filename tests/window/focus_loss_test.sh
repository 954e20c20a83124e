#!/usr/bin/env bash
# Runs the focus-loss test in a virtual X display of its own, never on the desktop it was
# started from: it moves the input focus between windows.
#   focus_loss_test.sh TEST_PROGRAM
set -uo pipefail
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool missing"; exit 0; }
command -v xmessage >/dev/null || { echo "SKIP: xmessage missing"; exit 0; }
export SDL_AUDIODRIVER=dummy
# In sanitizer builds the D-Bus client library keeps its connection to the end of the
# process; only that is forgiven (every other leak fails the test).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/../sanitizers/real_window.supp"
exec "$(cd "$(dirname "$0")" && pwd)/../lib/xvfb_run.sh" -s "-screen 0 800x600x24" "$1"

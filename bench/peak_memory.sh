#!/usr/bin/env bash
# Peak resident memory of the real game through a scripted two-player game of MINUTES
# minutes (default 10), in a virtual X display: the menu, the start button clicked with
# the mouse, then keys for both players, both wells begun again every 15 s so that the game
# goes on. The budget is 80 MB.
#   bench/peak_memory.sh [BUILD] [MINUTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/real_game.sh"
in_xvfb 800x600x24 "$0" "$@"
build=${1:-build}
minutes=${2:-10}
game_copy "$build" "Multiplayer=-1"
start_game
menu_kb=$(peak_kb)
click_start
play_keys $((minutes * 60)) 15
end_kb=$(awk '/^VmRSS:/{print $2}' "/proc/$GAME_PID/status")
peak=$(peak_kb)
# /proc counts in KiB; the budget is in MB (10^6 bytes).
awk -v m="$menu_kb" -v e="$end_kb" -v p="$peak" -v min="$minutes" -v r="$(renderer_of)" 'BEGIN {
  mb = 1024 / 1e6
  printf "%d-minute game (%s renderer): peak resident %.1f MB (budget 80 MB); %.1f MB on the menu, %.1f MB at the end\n",
    min, r, p * mb, m * mb, e * mb
  printf "bench-result: peak_mb %.2f\n", p * mb }'
end_game_from_play

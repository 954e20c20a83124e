#!/usr/bin/env bash
# CPU time the real game uses during a scripted two-player game, in a virtual X display:
# the mouse clicks the start button, then both players press keys for SECONDS. The
# process's own CPU time per second of real time; the budget is 15 %.
#   bench/play_cpu.sh [BUILD] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/real_game.sh"
in_xvfb 800x600x24 "$0" "$@"
build=${1:-build}
seconds=${2:-20}
game_copy "$build" "Multiplayer=-1"
start_game
click_start
hz=$(getconf CLK_TCK)
t0=$(cpu_ticks); s0=$(date +%s.%N)
play_keys "$seconds"
t1=$(cpu_ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v r="$(renderer_of)" 'BEGIN {
  cpu = (b - a) / hz; wall = s1 - s0;
  printf "two-player game (%s renderer): %.2f s CPU in %.2f s = %.2f %% of one core (budget 15 %%)\n", r, cpu, wall, 100 * cpu / wall }'
end_game_from_play

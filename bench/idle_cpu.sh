#!/usr/bin/env bash
# CPU time the real game uses on its idle menu per second of real time, in a virtual X
# display (the process's own CPU time; the X server's is not counted). A frame loop that
# spun would use a whole core (100 %); the budget is 5 %.
#   bench/idle_cpu.sh [BUILD] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/real_game.sh"
in_xvfb 800x600x24 "$0" "$@"
build=${1:-build}
seconds=${2:-10}
game_copy "$build"
start_game
hz=$(getconf CLK_TCK)
t0=$(cpu_ticks); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(cpu_ticks); s1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v r="$(renderer_of)" 'BEGIN {
  cpu = (b - a) / hz; wall = s1 - s0;
  printf "idle menu (%s renderer): %.2f s CPU in %.2f s = %.2f %% of one core (budget 5 %%)\n", r, cpu, wall, 100 * cpu / wall }'

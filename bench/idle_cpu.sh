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
cpu_share cpu_idle "idle menu" 5 sleep "$seconds"

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
cpu_share cpu_play "two-player game" 15 play_keys "$seconds"
end_game_from_play

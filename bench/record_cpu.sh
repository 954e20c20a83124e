#!/usr/bin/env bash
# What recording costs a played game: the real game's own CPU share during a scripted
# two-player game of SECONDS, without and with --record, in ROUNDS pairs taken back to back
# (so that other work on the machine weighs on both alike), with the size of each recording.
#   bench/record_cpu.sh [BUILD] [SECONDS] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/real_game.sh"
in_xvfb 800x600x24 "$0" "$@"
build=${1:-build}
seconds=${2:-20}
rounds=${3:-3}
game_copy "$build" "Multiplayer=-1"
for round in $(seq "$rounds"); do
  for mode in plain recorded; do
    rm -f "$GAME_DIR/game.rec"
    if [ $mode = recorded ]; then start_game --record "$GAME_DIR/game.rec"; else start_game; fi
    click_start
    cpu_share "record_$mode" "round $round, $mode" 15 play_keys "$seconds" 5
    end_game_from_play
    if [ $mode = recorded ]; then
      size=$(stat -c %s "$GAME_DIR/game.rec")
      echo "  recording: $size bytes for $seconds s, $((size * 600 / seconds)) bytes per ten minutes"
    fi
  done
done

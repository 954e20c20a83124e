#!/usr/bin/env bash
# The size of the recording of a scripted two-player game of SECONDS (ten minutes unless
# told), and that brikka-sim replays it to the state the game ended in.
#   bench/record_size.sh [BUILD] [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/real_game.sh"
in_xvfb 800x600x24 "$0" "$@"
build=${1:-build}
seconds=${2:-600}
game_copy "$build" "Multiplayer=-1"
start_game --record "$GAME_DIR/game.rec"
click_start
play_keys "$seconds" 15
end_game_from_play
echo "a $seconds s two-player recording: $(stat -c %s "$GAME_DIR/game.rec") bytes," \
  "$(grep -c '^p ' "$GAME_DIR/game.rec") passes;" \
  "gzip -9 makes it $(gzip -9c "$GAME_DIR/game.rec" | wc -c) bytes"
start=$(date +%s.%N)
"$build/bin/brikka-sim" "$GAME_DIR/game.rec" >/dev/null
echo "replayed by brikka-sim to the recorded end state in" \
  "$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }') s"

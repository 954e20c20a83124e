#!/usr/bin/env bash
# Runs inside a virtual X display as the player: starts the installed game, switches the
# right well's grid on the menu (a write of Data.ini) and, with `play`, also loses a game
# and saves a nickname (a write of the highscore file), then quits with Escape.
#   play_installed.sh GAME settings|play DATA_FOLDER
set -uo pipefail
game=$1 mode=$2 data=$3
export SDL_AUDIODRIVER=dummy
"$game" 2>"$HOME/game.stderr" &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Brikka$' 2>/dev/null | head -n1)
  [ -n "$window" ] && break
  kill -0 $pid 2>/dev/null || { echo "the game ended at start: $(cat "$HOME/game.stderr")"; exit 90; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no game window"; kill $pid; exit 90; }
xdotool windowfocus --sync "$window" 2>/dev/null
sleep 1
# The cursor starts at (0, 0) and moves twice the mouse's step: (474, 332) is on the right
# grid's button, (474, 482) on the start button.
xdotool mousemove_relative --sync 237 166 click 1
sleep 0.5
if [ "$mode" = play ]; then
  xdotool mousemove_relative --sync 0 75 click 1
  sleep 0.5
  # Every piece dropped straight down stacks up in the middle until the well is full; the
  # score then asks for a nickname, which "A" and Enter give.
  xdotool keydown Down
  for _ in $(seq 90); do
    sleep 1
    [ -e "$data/brikka_highscores.ini" ] && break
    xdotool key a Return
  done
  xdotool keyup Down
fi
xdotool key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "the game did not end"; kill -9 $pid; exit 93; fi
wait $pid

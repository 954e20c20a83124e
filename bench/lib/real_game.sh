# Shared by the whole-process benchmarks of the real game (sourced, not run on its own).
# Each benchmark ends with a line "bench-result: KEY VALUE" that bench/table.py reads.
# The game runs from a private copy of the program beside links to its assets, so its
# settings file is the benchmark's own and never the build's. Scripted play is real input:
# xdotool moves the mouse and presses keys in the virtual X display, as a player would.
# BRIKKA_TRACE=1 makes the game name its renderer and time its first presented frame on
# standard error; nothing else in the game changes with it.

GAME_PID=""
GAME_DIR=""

# Re-runs the calling script inside a fresh virtual display of the given screen unless it
# already runs in one.   in_xvfb SCREEN "$0" "$@"
in_xvfb() {
  local screen=$1; shift
  [ -n "${BRIKKA_BENCH_XVFB:-}" ] && return 0
  command -v Xvfb >/dev/null || { echo "Xvfb missing" >&2; exit 1; }
  command -v xdotool >/dev/null || { echo "xdotool missing" >&2; exit 1; }
  BRIKKA_BENCH_XVFB=1 exec "$(dirname "${BASH_SOURCE[0]}")/../../tests/lib/xvfb_run.sh" \
    -s "-screen 0 $screen" "$@"
}

# game_copy BUILD [INI-LINE...]: the game in a fresh folder GAME_DIR, its Data.ini holding
# the lines given; the game is stopped and the folder removed when the script exits.
game_copy() {
  local build=$1; shift
  [ -x "$build/bin/brikka" ] || { echo "$build/bin/brikka not built" >&2; exit 1; }
  GAME_DIR=$(mktemp -d)
  trap 'stop_game; rm -rf "$GAME_DIR"' EXIT
  cp "$build/bin/brikka" "$GAME_DIR/"
  for asset in Texs Sounds bck.mid; do
    ln -s "$(cd "$build/bin" && pwd)/$asset" "$GAME_DIR/$asset"
  done
  { echo "[Menu]"; for line in "$@"; do echo "$line"; done; } >"$GAME_DIR/Data.ini"
}

# start_game [OPTION...]: starts the copy with tracing on (standard error in
# GAME_DIR/stderr.log); sets GAME_PID and GAME_WINDOW.
start_game() {
  BRIKKA_TRACE=1 SDL_AUDIODRIVER=dummy "$GAME_DIR/brikka" "$@" 2>"$GAME_DIR/stderr.log" &
  GAME_PID=$!
  GAME_WINDOW=""
  for _ in $(seq 100); do
    GAME_WINDOW=$(xdotool search --name '^Brikka$' 2>/dev/null | head -n1 || true)
    [ -n "$GAME_WINDOW" ] && break
    sleep 0.1
  done
  [ -n "$GAME_WINDOW" ] || { echo "the game opened no window" >&2; cat "$GAME_DIR/stderr.log" >&2; exit 1; }
  xdotool windowfocus --sync "$GAME_WINDOW" 2>/dev/null || true
  sleep 1
}

# CPU time (user + system) of the game so far, in clock ticks; its peak resident memory.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }
peak_kb() { awk '/^VmHWM:/{print $2}' "/proc/$GAME_PID/status"; }

# cpu_share KEY WHAT BUDGET COMMAND...: runs COMMAND and prints the game's own CPU time over
# it as a share of one core (the X server's is not counted), and the result line for KEY.
cpu_share() {
  local key=$1 what=$2 budget=$3 t0 t1 s0 s1
  shift 3
  t0=$(cpu_ticks); s0=$(date +%s.%N)
  "$@"
  t1=$(cpu_ticks); s1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v hz="$(getconf CLK_TCK)" -v s0="$s0" -v s1="$s1" \
      -v what="$what" -v budget="$budget" -v r="$(renderer_of)" -v key="$key" 'BEGIN {
    cpu = (b - a) / hz; wall = s1 - s0;
    printf "%s (%s renderer): %.2f s CPU in %.2f s = %.2f %% of one core (budget %s %%)\n",
      what, r, cpu, wall, 100 * cpu / wall, budget
    printf "bench-result: %s %.3f\n", key, 100 * cpu / wall }'
}

# The cursor starts at (0, 0) and moves twice the mouse's step: (474, 482) is inside the
# start button.
click_start() { xdotool mousemove_relative --sync 237 241 click 1; sleep 0.5; }

# Two players at the keys for SECONDS: each turn, each player moves the piece a few
# columns one way or the other and sometimes turns it, and now and then both drop theirs
# for a moment; every RESTART seconds (0: never) F1 and F2 begin both wells again, so that
# a long run keeps playing instead of ending on full wells.
play_keys() {
  local seconds=$1 restart=${2:-0} start=$SECONDS last=$SECONDS keys side n
  while [ $((SECONDS - start)) -lt "$seconds" ]; do
    keys=()
    for side in "Left Right Up" "a d w"; do
      set -- $side
      n=$((RANDOM % 4))
      if [ $((RANDOM % 2)) -eq 0 ]; then side=$1; else side=$2; fi
      for _ in $(seq $n); do keys+=("$side"); done
      [ $((RANDOM % 3)) -eq 0 ] && keys+=("$3")
    done
    [ ${#keys[@]} -gt 0 ] && xdotool key --delay 30 "${keys[@]}"
    if [ $((RANDOM % 20)) -eq 0 ]; then
      xdotool keydown Down keydown s; sleep 0.2; xdotool keyup Down keyup s
    fi
    if [ "$restart" -gt 0 ] && [ $((SECONDS - last)) -ge "$restart" ]; then
      xdotool key F1 F2
      last=$SECONDS
    fi
    sleep 0.3
  done
}

# Escape from the play screen returns to the menu and a second one ends the game: proof
# that the scripted game was still being played when measured. Fails when it was not.
end_game_from_play() {
  xdotool key Escape; sleep 0.5
  kill -0 "$GAME_PID" 2>/dev/null || { echo "the game was not on the play screen" >&2; return 1; }
  xdotool key Escape
  for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  stop_game
}

stop_game() {
  [ -n "$GAME_PID" ] || return 0
  kill "$GAME_PID" 2>/dev/null || true
  wait "$GAME_PID" 2>/dev/null || true
}

renderer_of() { sed -n 's/^brikka-trace: renderer //p' "${1:-$GAME_DIR/stderr.log}" | head -n1; }

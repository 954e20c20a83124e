#!/usr/bin/env bash
# Real games recorded and replayed. In a virtual X display, with real mouse and keys:
#  - one player: the music switched off and on from the menu, the start button, a few keys,
#    a pause whose screen is kept, a focus loss, a loss, a nickname typed and entered;
#  - a two-player battle: the music switch, a focus loss, both players at the keys until a
#    removed row has reached the other well.
# Each recording is replayed twice by brikka-sim: both replays end in the state the game
# dumped at its end, field by field. The paused screen's wells and panels equal the replay's
# shot at the same pass. A recording garbled by hand is refused naming its line (exit 2).
#   real_game_replay_test.sh BRIKKA BRIKKA_SIM
set -uo pipefail
game=$1 sim=$2
check=$(cd "$(dirname "$0")" && pwd)/replay_check.py
fail() { echo "FAIL: $*"; exit 1; }
# In sanitizer builds the D-Bus client library keeps its connection to the end of the
# process; only that is forgiven (every other leak fails the test).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/../sanitizers/real_window.supp"
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool missing"; exit 0; }
command -v xmessage >/dev/null || { echo "SKIP: xmessage missing"; exit 0; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/game" "$work/fb"
cp "$game" "$work/game/"
for asset in Texs Sounds bck.mid; do ln -s "$(cd "$(dirname "$game")" && pwd)/$asset" "$work/game/$asset"; done
# Scores below zero: any finished game makes the table.
{ echo "[highscores]"; for r in $(seq 50); do echo "Nickname$r=Low$r"; echo "Score$r=-$r"; done; } \
  >"$work/game/brikka_highscores.ini"

cat >"$work/play.sh" <<'INNER'
#!/usr/bin/env bash
# Runs inside the virtual display: plays one recorded game (one | battle).
set -u
work=$1 sim=$2 mode=$3
export SDL_AUDIODRIVER=dummy
rec=$work/$mode.rec
if [ "$mode" = battle ]; then printf '[Menu]\nMultiplayer=-1\nBattle=-1\n'; else printf '[Menu]\n'; fi \
  >"$work/game/Data.ini"
"$work/game/brikka" --record "$rec" 2>"$work/$mode.err" &
pid=$!
w=""
for _ in $(seq 100); do
  w=$(xdotool search --name '^Brikka$' 2>/dev/null | head -n1); [ -n "$w" ] && break; sleep 0.1
done
[ -n "$w" ] || { echo "no game window"; kill $pid; exit 90; }
xdotool windowfocus --sync "$w"; sleep 1
# The replayed state so far, from what the recording holds yet (written every 2 s).
so_far() { "$sim" "$rec" 2>/dev/null >"$work/so_far.out"; python3 "$CHECK" field "$work/so_far.out" "$1"; }
until_field() {  # FIELD VALUE: waits up to about 20 s for the recording to show it
  for _ in $(seq 40); do [ "$(so_far "$1")" = "$2" ] && return 0; sleep 0.5; done
  return 1
}
# The cursor starts at (0, 0) and moves twice the mouse's step: the music button at
# (324, 262) clicked twice, then the start button at (474, 482).
xdotool mousemove_relative --sync 162 131 click 1; sleep 0.3
xdotool click 1; sleep 0.3
xdotool mousemove_relative --sync 75 110 click 1; sleep 0.5
# Another window takes the input focus for a second, then the game gets it back.
lose_focus() {
  xmessage -name elsewhere "elsewhere" & local other=$! o=""
  for _ in $(seq 50); do o=$(xdotool search --name '^elsewhere$' 2>/dev/null | head -n1); [ -n "$o" ] && break; sleep 0.1; done
  xdotool windowfocus --sync "$o"; sleep 1
  xdotool windowfocus --sync "$w"; sleep 0.5
  kill $other
}
if [ "$mode" = one ]; then
  xdotool key --delay 80 Left Left Up Right; sleep 0.5
  xdotool key p; sleep 1.5
  cp "$work/fb/Xvfb_screen0" "$work/paused.xwd"
  xdotool key p
  lose_focus
  xdotool key p   # the lost device paused the well
  echo "$mode: $SECONDS s, dropping to the end"
  xdotool keydown Down
  for _ in $(seq 60); do [ "$(so_far screen)" = 3 ] && break; sleep 1; done
  xdotool keyup Down
  # Held, the arrow key repeated into the nickname as '(': erase it all, then type. Each
  # step waits until the recording shows it, however far behind a busy game is.
  echo "$mode: $SECONDS s, typing the nickname"
  for _ in $(seq 5); do
    typed=$(so_far highscores.nickname)
    [ -z "$typed" ] && break
    xdotool key --delay 20 $(for _ in $(seq $((${#typed} + 5))); do echo BackSpace; done)
    until_field highscores.nickname "" && break
  done
  xdotool type --delay 100 "ACEX"
  until_field highscores.nickname ACEX || { echo "typed ACEX, the game has '$(so_far highscores.nickname)'"; exit 91; }
  xdotool key BackSpace
  until_field highscores.nickname ACE || { echo "erased X, the game has '$(so_far highscores.nickname)'"; exit 91; }
  xdotool key Return; sleep 0.5
else
  lose_focus
  xdotool key p   # both wells paused by the lost device: one key resumes both
  # Player 1 puts each piece where it fills rows best, seen in the recording so far. Both
  # wells are paused while the test looks (P pauses both in battle), so however slowly the
  # recording is written (every 2 s) and replayed, the piece is where the plan saw it. Then
  # one turn, one move (moves are polled every 45 ms, so a key is held) or a drop. Player 2
  # now and then moves or turns. Until a removed row has been sent to the other well.
  field() { python3 "$CHECK" field "$work/so_far.out" "$1"; }
  echo "$mode: $SECONDS s, the bot starts"
  : >"$work/bot.log"
  for _ in $(seq 150); do
    [ $SECONDS -gt 420 ] && break
    xdotool key p
    # The replay shows the pause, or a lost well that P leaves alone.
    for _ in $(seq 30); do
      size=$(stat -c %s "$rec")
      for _ in $(seq 50); do sleep 0.1; [ "$(stat -c %s "$rec")" != "$size" ] && break; done
      "$sim" "$rec" >"$work/so_far.out" 2>/dev/null
      [ "$(field right.Paused)" = True ] || [ "$(field right.GameOver)" = True ] ||
        [ "$(field left.GameOver)" = True ] && break
    done
    [ $(($(field right.Lines) + $(field left.Lines))) -gt 0 ] && break
    if [ "$(field right.GameOver)" = True ] || [ "$(field left.GameOver)" = True ]; then
      [ "$(field right.Paused)" = True ] && xdotool key p
      xdotool key F3; continue
    fi
    read -r n drop turns < <(python3 "$CHECK" plan "$work/so_far.out" right)
    echo "at $(field time) ms: turns $turns, shift $n, drop $drop s" >>"$work/bot.log"
    [ "$(field right.Paused)" = True ] && xdotool key p
    [ $((RANDOM % 3)) = 0 ] && xdotool key "$(echo a d w | cut -d' ' -f$((RANDOM % 3 + 1)))"
    if [ "$turns" != 0 ]; then
      xdotool key Up
    elif [ "$n" = 0 ]; then
      xdotool keydown Down; sleep "$drop"; xdotool keyup Down
    else
      # Held a little under n polls: a busy game may see one poll fewer, never one more,
      # so the next look finishes the move rather than undoing it.
      key=Right; [ "$n" -lt 0 ] && key=Left
      xdotool keydown $key; sleep "$(awk -v n="${n#-}" 'BEGIN { print (n - 0.6) * 0.045 }')"; xdotool keyup $key
    fi
  done
  echo "$mode: $SECONDS s, the bot is done"
  xdotool key Escape; sleep 0.5
fi
xdotool key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { echo "the game did not end"; kill -9 $pid; exit 93; }
wait $pid
INNER
chmod +x "$work/play.sh"

for mode in one battle; do
  CHECK=$check "$(dirname "$check")/../lib/xvfb_run.sh" -s "-screen 0 800x600x24 -fbdir $work/fb" "$work/play.sh" "$work" "$sim" $mode
  status=$?
  [ $status -eq 0 ] || fail "$mode: the game's exit status $status; $(cat "$work/$mode.err")"
  rec=$work/$mode.rec
  for run in 1 2; do
    "$sim" "$rec" >"$work/$mode.$run.out" 2>"$work/$mode.$run.err" ||
      fail "$mode: replay $run: $(cat "$work/$mode.$run.err")"
  done
  python3 "$check" dumps "$rec" "$work/$mode.1.out" "$work/$mode.2.out" || fail "$mode: the replays differ"
done

# What the recordings must have held.
one=$work/one.1.out battle=$work/battle.1.out
[ "$(python3 "$check" field "$one" right.HighscoreRank)" = 1 ] || fail "no highscore"
first=$(python3 "$check" field "$one" 'highscores.table[0][0]')
[ "$first" = ACE ] || fail "the nickname typed was not entered: the first row holds '$first'"
[ "$(python3 "$check" field "$one" music.starts)" -ge 2 ] || fail "the music was not switched off and on"
lines=$(( $(python3 "$check" field "$battle" right.Lines) + $(python3 "$check" field "$battle" left.Lines) ))
[ "$lines" -gt 0 ] ||
  fail "no row was removed in the battle, so none reached the other well; the bot's last looks:
$(tail -n 20 "$work/bot.log")"
grep -q '^p [0-9]* .*d-2005530520' "$work/one.rec" || fail "the focus loss is not in the recording"

# The paused frame against the replay's shot a little after the pause.
pause=$(python3 "$check" pass-of-key "$work/one.rec" 80) || fail "no pause in the recording"
printf 'replay %s\nframes %d\nshot %s\n' "$work/one.rec" $((pause + 20)) "$work/shot.png" >"$work/shot.sim"
"$sim" "$work/shot.sim" || fail "the replay's shot"
python3 "$check" frame "$work/paused.xwd" "$work/shot.png" || fail "the screen and the replay's shot differ"

# Garbled by hand in the middle (the other damages are the recording unit tests'): refused
# naming its line.
middle=$(( $(wc -l <"$work/one.rec") / 2 ))
sed "${middle}s/ t[^ ]*/ tX/" "$work/one.rec" >"$work/garbled.rec"
"$sim" "$work/garbled.rec" >/dev/null 2>"$work/bad.err"
status=$?
[ $status -eq 2 ] || fail "garbled: exit status $status, expected 2"
grep -qF "line $middle: expected a whole number" "$work/bad.err" || fail "garbled: $(cat "$work/bad.err")"
echo "PASS"

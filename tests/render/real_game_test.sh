#!/usr/bin/env bash
# The real game in a virtual X display:
#  - its command line: --help lists the options, an unknown option or a malformed server for
#    --sync-highscores exits with 64 and names it;
#  - at 800 x 600 the real mouse moved onto the start button's edge pixel clicks nothing:
#    neither starts a game nor quits, so one Escape ends the game with status 0 (a click
#    on a button is the recorded games' part: replay/real_game_replay_test.sh);
#  - a 1024 x 768 desktop in 16 bits shows the game full screen, --windowed in an 800 x 600
#    window;
#  - on a 640 x 480 screen it shows the display-mode message, then the start-up failure
#    message, and ends with a non-zero status once both are closed.
#   real_game_test.sh BRIKKA
set -uo pipefail
game=$1
fail() { echo "FAIL: $*"; exit 1; }
# In sanitizer builds the D-Bus client library keeps its connection to the end of the
# process; only that is forgiven (every other leak fails the test).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/../sanitizers/real_window.supp"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
inner=$work/inner.sh

"$game" --help >help.out 2>&1 || fail "--help: exit status $?"
grep -q -- "--windowed" help.out && grep -q -- "--sync-highscores HOST\[:PORT\]" help.out ||
  fail "--help does not list --windowed and --sync-highscores: $(cat help.out)"
for args in --no-such-option "--sync-highscores|bad host" "--sync-highscores|127.0.0.1:0" \
  "--sync-highscores|127.0.0.1:ftp" "--sync-highscores|:21"; do
  IFS='|' read -r -a argv <<<"$args"
  "$game" "${argv[@]}" >/dev/null 2>bad.err
  status=$?
  [ $status -eq 64 ] || fail "$args: exit status $status, expected 64"
  grep -qF -- "${argv[-1]}" bad.err || fail "$args: not named: $(cat bad.err)"
done

command -v Xvfb >/dev/null || { echo "SKIP: Xvfb missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool missing"; exit 0; }

cat >"$inner" <<'INNER'
#!/usr/bin/env bash
# Runs inside the virtual display: start the game, act on its windows, report its status.
game=$1; mode=$2; shift 2
export SDL_AUDIODRIVER=dummy
"$game" "$@" 2>stderr.log &
pid=$!
find_window() {  # name, seconds
  for _ in $(seq $(( $2 * 10 ))); do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}' | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 $pid 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
}
press() {  # window, key
  focus "$1"
  xdotool key --clearmodifiers "$2"
}
alive() { sleep 0.5; kill -0 $pid 2>/dev/null; }
case $mode in
  click)
    w=$(find_window Brikka 20) || { echo "no game window"; kill $pid; exit 90; }
    sleep 1
    focus "$w"
    # The cursor starts at (0, 0) and moves twice the mouse's step. (400, 480) is the start
    # button's left edge and the quit button's right edge: neither is hit.
    xdotool mousemove_relative --sync 200 240 click 1
    alive || { echo "a click on the edge pixel ended the game"; exit 94; }
    press "$w" Escape  # still on the menu: the game ends
    ;;
  window)  # its size, and whether it has a fixed one (a window that cannot be resized)
    w=$(find_window Brikka 20) || { echo "no game window"; kill $pid; exit 90; }
    sleep 1
    xwininfo -id "$w" | awk '/Width:/{w=$2} /Height:/{h=$2} END{printf "%sx%s", w, h}' >window.out
    xprop -id "$w" WM_NORMAL_HINTS | grep -q "maximum size" && echo " fixed" >>window.out
    press "$w" Escape
    ;;
  small)
    w=$(find_window Error 20) || { echo "no display-mode message"; kill $pid; exit 91; }
    press "$w" Return
    w=$(find_window 'Directx Intialisation Error!' 20) || { echo "no failure message"; kill $pid; exit 92; }
    press "$w" Return
    ;;
esac
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "the game did not end"; kill -9 $pid; exit 93; fi
wait $pid
INNER
chmod +x "$inner"
xvfb_run=$(cd "$(dirname "$0")" && pwd)/../lib/xvfb_run.sh

"$xvfb_run" -s "-screen 0 800x600x24" "$inner" "$game" click
status=$?
[ $status -eq 0 ] || fail "800x600, clicks: exit status $status; $(cat stderr.log)"

# Without a window manager the full-screen window keeps its first size: only that the game
# runs at all on this desktop is checked here.
"$xvfb_run" -s "-screen 0 1024x768x16" "$inner" "$game" window
status=$?
[ $status -eq 0 ] || fail "1024x768x16: exit status $status; $(cat stderr.log)"

"$xvfb_run" -s "-screen 0 1024x768x24" "$inner" "$game" window --windowed
status=$?
[ $status -eq 0 ] || fail "--windowed: exit status $status; $(cat stderr.log)"
[ "$(cat window.out)" = 800x600 ] || fail "--windowed: a window of $(cat window.out)"

"$xvfb_run" -s "-screen 0 640x480x24" "$inner" "$game" small
status=$?
[ $status -ne 0 ] && [ $status -lt 90 ] || fail "640x480: exit status $status; $(cat stderr.log)"
grep -q "Your hardware does not appear to support 640x480" stderr.log || fail "no mode message on stderr"
grep -q "Couldn't intialise Directx !" stderr.log || fail "no failure message on stderr"
echo "PASS"

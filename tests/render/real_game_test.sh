#!/usr/bin/env bash
# The real game in a virtual X display: it opens its window and ends on Escape; on a screen
# without an 800 x 600 mode it shows the display-mode message, then the start-up failure
# message, and ends with a non-zero status once both are closed.
#   real_game_test.sh BRIKKA
set -uo pipefail
game=$1
fail() { echo "FAIL: $*"; exit 1; }
command -v xvfb-run >/dev/null || { echo "SKIP: xvfb-run missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP: xdotool missing"; exit 0; }

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
#!/usr/bin/env bash
# Runs inside the virtual display: start the game, act on its windows, report its status.
game=$1; mode=$2
export SDL_AUDIODRIVER=dummy
# In sanitizer builds, the X and D-Bus client libraries keep allocations to the end of the
# process; our own code's leaks are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$game" 2>stderr.log &
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
press() {  # window, key
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
  sleep 0.3
  xdotool key --clearmodifiers "$2"
}
if [ "$mode" = ok ]; then
  w=$(find_window Brikka 20) || { echo "no game window"; kill $pid; exit 90; }
  sleep 1
  press "$w" Escape
else
  w=$(find_window Error 20) || { echo "no display-mode message"; kill $pid; exit 91; }
  press "$w" Return
  w=$(find_window 'Directx Intialisation Error!' 20) || { echo "no failure message"; kill $pid; exit 92; }
  press "$w" Return
fi
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "the game did not end"; kill -9 $pid; exit 93; fi
wait $pid
INNER
chmod +x "$inner"
work=$(mktemp -d)
cd "$work" || exit 1

xvfb-run -a -s "-screen 0 800x600x24" "$inner" "$game" ok
status=$?
[ $status -eq 0 ] || fail "800x600: exit status $status; $(cat stderr.log)"

xvfb-run -a -s "-screen 0 640x480x24" "$inner" "$game" small
status=$?
[ $status -ne 0 ] && [ $status -lt 90 ] || fail "640x480: exit status $status; $(cat stderr.log)"
grep -q "Your hardware does not appear to support 640x480" stderr.log || fail "no mode message on stderr"
grep -q "Couldn't intialise Directx !" stderr.log || fail "no failure message on stderr"
rm -rf "$work"
echo "PASS"

#!/usr/bin/env bash
# CPU time the game's idle frame loop uses per second of real time, measured on the real game
# in a virtual X display. A frame loop that spins would use a whole core (100 %).
#   bench/idle_cpu.sh [BUILD] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-10}
game="$build/bin/brikka"
[ -x "$game" ] || { echo "idle_cpu: $game not built" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "idle_cpu: xvfb-run missing" >&2; exit 1; }

log=$(mktemp)
trap 'rm -f "$log"' EXIT
xvfb-run -a -s "-screen 0 800x600x24" env SDL_AUDIODRIVER=dummy "$game" >"$log" 2>&1 &
runner=$!
pid=""
for _ in $(seq 50); do
  pid=$(pgrep -n -f "^$game$" || true)
  [ -n "$pid" ] && break
  sleep 0.2
done
[ -n "$pid" ] || { echo "idle_cpu: the game did not start"; cat "$log"; exit 1; }
sleep 2  # let start-up finish
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$seconds"
t1=$(ticks); s1=$(date +%s.%N)
kill -TERM "$pid" 2>/dev/null || true
wait "$runner" 2>/dev/null || true
awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" 'BEGIN {
  cpu = (b - a) / hz; wall = s1 - s0;
  printf "idle frame loop: %.3f s CPU in %.2f s real = %.2f %% of one core\n", cpu, wall, 100 * cpu / wall }'

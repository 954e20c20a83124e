#!/usr/bin/env bash
# Runs COMMAND in a virtual X display of its own, as `xvfb-run -a -s ARGS` does, but lets the
# server pick a free display itself (-displayfd) instead of guessing one from lock files:
# two displays started at once, or one started while the last is still going away, never
# share a number. The server is gone when this returns; the status is COMMAND's.
#   xvfb_run.sh -s "SERVER ARGS" COMMAND [ARGS...]
set -u
[ "${1:-}" = -s ] && [ $# -ge 3 ] || { echo "usage: $0 -s 'SERVER ARGS' COMMAND..." >&2; exit 2; }
server_args=$2
shift 2
dir=$(mktemp -d)
# shellcheck disable=SC2086  # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3>"$dir/display" 2>"$dir/log" &
server=$!
display=""
for _ in $(seq 200); do
  display=$(head -n1 "$dir/display")
  [ -n "$display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$display" ]; then
  echo "no virtual display: $(cat "$dir/log")" >&2
  kill "$server" 2>/dev/null
  rm -rf "$dir"
  exit 1
fi
DISPLAY=":$display" "$@"
status=$?
if kill -0 "$server" 2>/dev/null; then
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
else
  # The server went away under the command, whose X clients only saw a broken connection:
  # say how. Xvfb exits 0 when someone stops it with SIGTERM; above 128 it crashed.
  wait "$server"
  echo "the virtual display :$display ended during the command (status $?): $(cat "$dir/log")" >&2
fi
rm -rf "$dir"
exit $status

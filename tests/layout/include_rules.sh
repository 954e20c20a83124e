#!/usr/bin/env bash
# Checks who may include what under SRC (default: the repository's src/):
#   SDL and fontconfig headers only in platform/sdl/ and platform/headless/;
#   Asio headers only in platform/net/;
#   nothing in platform/sdl/ includes a file of platform/headless/ (the real machine never
#   depends on the scripted one).
# Prints every offending line and exits 1 when there is one.
#   include_rules.sh [SRC]
set -uo pipefail
src=${1:-"$(dirname "$0")/../../src"}
cd "$src" || { echo "no source folder: $src"; exit 2; }

status=0
offend() {  # rule, grep output lines
  [ -z "$2" ] && return
  while IFS= read -r line; do printf '%s: %s\n' "$1" "$line"; done <<<"$2"
  status=1
}
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]'
sources() { find . \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.c' \) "$@" -print0; }

offend "SDL or fontconfig outside platform/sdl and platform/headless" "$(
  sources -not -path './platform/sdl/*' -not -path './platform/headless/*' |
    xargs -0 -r grep -HnE "${include}(SDL2?/|SDL[_.]|fontconfig/)")"
offend "Asio outside platform/net" "$(
  sources -not -path './platform/net/*' | xargs -0 -r grep -HnE "${include}asio([./])")"
offend "platform/sdl includes platform/headless" "$(
  find ./platform/sdl \( -name '*.h' -o -name '*.cpp' \) -print0 2>/dev/null |
    xargs -0 -r grep -HnE "${include}platform/headless/")"
exit $status

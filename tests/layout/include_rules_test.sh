#!/usr/bin/env bash
# The include rules hold for the repository, and each rule fails on a tree that breaks it.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check=$here/include_rules.sh
src=$here/../../src
fail() { echo "FAIL: $*"; exit 1; }

out=$("$check" "$src") || fail "the source tree breaks the include rules:"$'\n'"$out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
broken() {  # file relative to src, line to add: the check must now fail and name the file
  rm -rf "$work/src" && cp -r "$src" "$work/src"
  mkdir -p "$(dirname "$work/src/$1")"
  printf '%s\n' "$2" >>"$work/src/$1"
  out=$("$check" "$work/src") && fail "not caught: '$2' in $1"
  grep -qF "$1" <<<"$out" || fail "report does not name $1: $out"
}
broken game/gravity.cpp '#include <SDL.h>'
broken render/quad.cpp '#include <SDL2/SDL_render.h>'
broken menu/settings.cpp '  #  include "SDL_ttf.h"'
broken sim/dump.cpp '#include <fontconfig/fontconfig.h>'
broken platform/files.cpp '#include <SDL_image.h>'
broken net/csocket.cpp '#include <asio.hpp>'
broken platform/sdl/sdl_pump.cpp '#include <asio/io_context.hpp>'
broken platform/sdl/sdl_input.h '#include "platform/headless/headless.h"'
echo PASS

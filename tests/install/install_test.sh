#!/usr/bin/env bash
# `cmake --install` into a fresh prefix gives a game that runs from there:
#  - bin/brikka (a relative link into the program folder) and bin/brikka-ftp run;
#  - the program folder holds the generated assets and no settings or highscores;
#  - the desktop entry is valid and starts bin/brikka; the icon is there in every size;
#  - a player who may write the program folder keeps Data.ini there, as a game built in
#    place does; one who may not (nobody, when the test runs as root: root may write
#    anywhere) keeps Data.ini and the highscore file in ~/.local/share/brikka.
#   install_test.sh BUILD_DIR [CMAKE]
set -uo pipefail
build=$1 cmake=${2:-cmake}
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*"; exit 1; }
# In sanitizer builds the D-Bus client library keeps its connection to the end of the
# process; only that is forgiven (every other leak fails the test).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$here/../sanitizers/real_window.supp"

work=$(mktemp -d)
app=""
cleanup() {
  [ -n "$app" ] && chmod u+w "$app" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$work/install.log")"

link=$(readlink "$prefix/bin/brikka") || fail "bin/brikka is not a link"
[ "${link#/}" = "$link" ] || fail "bin/brikka links to an absolute path: $link"
game=$(readlink -f "$prefix/bin/brikka")
app=$(dirname "$game")
[ "${app#"$prefix"/}" != "$app" ] || fail "the game is outside the prefix: $game"
"$prefix/bin/brikka" --help >/dev/null || fail "bin/brikka --help: exit status $?"
"$prefix/bin/brikka-ftp" --no-such-option >/dev/null 2>&1
[ $? -eq 64 ] || fail "bin/brikka-ftp does not run"

for asset in bck.mid Texs/Block.tga Texs/cursor.tga Sounds/coll.wav Sounds/lvl.wav; do
  cmp -s "$build/bin/$asset" "$app/$asset" || fail "$asset is not installed as built"
done
[ "$(ls "$app/Texs" | wc -l)" -eq "$(ls "$build/bin/Texs" | wc -l)" ] || fail "textures missing"
ls "$app" | grep -qi -e '\.ini$' && fail "settings or highscores installed: $(ls "$app")"

entry=$prefix/share/applications/brikka.desktop
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
grep -qx "Exec=\"$prefix/bin/brikka\"" "$entry" || fail "the entry starts $(grep ^Exec= "$entry")"
grep -qx "Icon=brikka" "$entry" || fail "the entry names no icon"
for n in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${n}x$n/apps/brikka.png
  [ -f "$png" ] || fail "no ${n}x$n icon"
  # The PNG signature, then the header's width, height, bit depth and colour type (RGBA).
  head=$(od -An -tx1 -N26 "$png" | tr -d ' \n')
  want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x0806' "$n" "$n")
  [ "$head" = "$want" ] || fail "the ${n}x$n icon is not an RGBA PNG of that size"
done

command -v Xvfb >/dev/null || { echo "SKIP (files): Xvfb missing"; exit 0; }
command -v xdotool >/dev/null || { echo "SKIP (files): xdotool missing"; exit 0; }
play() {  # HOME MODE [setpriv options...]: the game as its player in a virtual display
  local home=$1 mode=$2
  shift 2
  "$@" env -u XDG_DATA_HOME HOME="$home" "$here/../lib/xvfb_run.sh" -s "-screen 0 800x600x24" \
    "$here/play_installed.sh" "$game" "$mode" "$home/.local/share/brikka" ||
    fail "the game as $(id -un) ($mode): status $?"
}

# A program folder the player may write: nothing changes.
mkdir -p "$work/owner/.local/share/brikka"
play "$work/owner" settings
grep -q "^rgrid=-1" "$app/Data.ini" || fail "Data.ini not beside the writable game"
[ -z "$(ls -A "$work/owner/.local/share/brikka")" ] || fail "files went to the user's folder"
rm "$app/Data.ini"

# A program folder the player may not write.
player=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$work"
  mkdir -p "$work/player" /tmp/.X11-unix
  chown nobody "$work/player"
  chmod 1777 /tmp/.X11-unix
  player=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
else
  mkdir -p "$work/player"
  chmod a-w "$app"
fi
play "$work/player" play "${player[@]}"
data=$work/player/.local/share/brikka
grep -q "^rgrid=-1" "$data/Data.ini" || fail "no Data.ini in the user's data folder"
grep -q "^Nickname1=" "$data/brikka_highscores.ini" || fail "no highscores in the user's folder"
ls "$app" | grep -qi -e '\.ini$' && fail "a file beside the read-only game: $(ls "$app")"
echo "PASS"

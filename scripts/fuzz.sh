#!/usr/bin/env bash
# Fuzzes every parser of bytes from outside (FTP replies and listings, INI files, brikka-sim
# scripts, the highscore file, game recordings) with libFuzzer under ASan and UBSan for a
# bounded time each, and prints each target's executions and coverage. Any input that breaks
# one is copied into tests/fuzz/regressions/<target>/, where the unit tests replay it from
# then on.
#   FUZZ_SECONDS  seconds per target (default 60)
#   FUZZ_TARGETS  targets to run (default: all of them)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}
targets=${FUZZ_TARGETS:-reply listing ini script highscores tape}
cxx=${CXX:-clang++}
found=0

sources() {  # target: the code it reaches
  case $1 in
    reply) echo net/ftp_reply.cpp ;;
    listing) echo net/ftp_listing.cpp ;;
    ini) echo platform/ini.cpp platform/files.cpp ;;
    script) echo sim/script.cpp net/host_port.cpp platform/numbers.cpp platform/keycodes.cpp ;;
    highscores) echo highscores/highscore_file.cpp menu/ini.cpp platform/ini.cpp platform/files.cpp ;;
    tape) echo platform/recording/tape_line.cpp platform/recording/tape_tokens.cpp ;;
    *) echo "fuzz: no target '$1'" >&2; exit 2 ;;
  esac
}

build() {  # target
  local files=()
  for f in $(sources "$1"); do files+=("$root/src/$f"); done
  "$cxx" -std=c++20 -DBRIKKA_FUZZER -fsanitize=fuzzer,address,undefined,float-cast-overflow \
    -fno-sanitize-recover=all -g -O1 -I"$root/src" "$root/tests/fuzz/fuzz_$1.cpp" "${files[@]}" \
    -o "$out/fuzz_$1"
}

run() {  # target
  local corpus=$out/corpus/$1 artifacts=$out/artifacts/$1 log=$out/fuzz_$1.log
  mkdir -p "$corpus" "$artifacts"
  rm -f "$artifacts"/*  # what earlier runs found is in tests/fuzz/regressions/ already
  echo "fuzz: $1 for ${seconds}s"
  # The committed seeds are read only; what the fuzzer learns stays in build-fuzz/.
  local status=0
  "$out/fuzz_$1" -max_len=4096 -timeout=10 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "$root/tests/fuzz/corpus/$1" >"$log" 2>&1 ||
    status=$?
  grep -E '^stat::number_of_executed_units' "$log" | sed "s/^stat::/fuzz: $1 /" || true
  grep -E '^#[0-9]+.*cov: ' "$log" | tail -n1 | sed "s/^/fuzz: $1 last: /" || true
  local kept=0
  for f in "$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*; do
    [ -e "$f" ] || continue
    mkdir -p "$root/tests/fuzz/regressions/$1"
    cp "$f" "$root/tests/fuzz/regressions/$1/"
    echo "fuzz: $1 found $(basename "$f"), kept in tests/fuzz/regressions/$1/"
    kept=1
  done
  if [ "$status" -ne 0 ] || [ "$kept" -ne 0 ]; then
    echo "fuzz: $1 failed (exit $status); see $log"
    found=1
  fi
}

mkdir -p "$out"
for t in $targets; do
  build "$t"
  run "$t"
done
exit $found

#!/usr/bin/env bash
# Fuzzes the pure FTP parsers (reply scanner, listing parser) with libFuzzer under ASan and
# UBSan for a bounded time each. Any input that crashes one is copied into
# tests/fuzz/regressions/<target>/, where the unit tests replay it from then on.
#   FUZZ_SECONDS  seconds per target (default 60)
#   FUZZ_TARGETS  targets to run (default "reply listing")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}
targets=${FUZZ_TARGETS:-reply listing}
cxx=${CXX:-clang++}
found=0

build() {  # target
  "$cxx" -std=c++20 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -g -O1 -I"$root/src" "$root/tests/fuzz/fuzz_$1.cpp" "$root/src/net/ftp_$1.cpp" \
    -o "$out/fuzz_$1"
}

run() {  # target
  local corpus=$out/corpus/$1 artifacts=$out/artifacts/$1 log=$out/fuzz_$1.log
  mkdir -p "$corpus" "$artifacts"
  echo "fuzz: $1 for ${seconds}s"
  # The committed seeds are read only; what the fuzzer learns stays in build-fuzz/.
  local status=0
  "$out/fuzz_$1" -max_len=4096 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "$root/tests/fuzz/corpus/$1" >"$log" 2>&1 ||
    status=$?
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)|^Done' "$log" || true
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

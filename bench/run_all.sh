#!/usr/bin/env bash
# Runs every benchmark: the Google Benchmark programs built into <build>/bench, then the
# whole-process benchmark scripts beside this file.
#   usage: bench/run_all.sh [BUILD_DIR]   (default: build)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
[[ $build = /* ]] || build=$here/../$build
status=0
for exe in "$build"/bench/*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$exe" || status=1
done
for script in "$here"/*.sh; do
  [ "$(basename "$script")" = run_all.sh ] && continue
  echo "== $(basename "$script")"
  "$script" "$build" || status=1
done
exit $status

#!/usr/bin/env bash
# Runs every benchmark, then prints one table of the figures against their budgets
# (bench/table.py). Each benchmark's own output goes to BUILD/bench-results/NAME.log (Google
# Benchmark's also to NAME.json); the table says where. About 14 minutes, ten of them the
# scripted game whose peak memory is measured; BENCH_QUICK=1 plays it one minute instead.
#   usage: bench/run_all.sh [BUILD_DIR]   (default: build)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
[[ $build = /* ]] || build=$here/../$build
results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"
minutes=10
[ -n "${BENCH_QUICK:-}" ] && minutes=1

run() {  # NAME COMMAND...: the command's output to the log, a line on the terminal
  local name=$1 start=$SECONDS
  shift
  printf '%-20s' "$name"
  if "$@" >"$results/$name.log" 2>&1; then
    echo "done in $((SECONDS - start)) s"
  else
    # Its figures do not count: the table reads only NAME.log.
    mv "$results/$name.log" "$results/$name.failed"
    echo "FAILED after $((SECONDS - start)) s (see $results/$name.failed)"
  fi
}

# CPU time rather than wall time: the machine may be running other work.
run rules_frame "$build/bench/rules_frame" --benchmark_filter=Frame --benchmark_min_time=0.2 \
  --benchmark_repetitions=3 --benchmark_out="$results/rules_frame.json" --benchmark_out_format=json
run play_screen_frame "$build/bench/play_screen_frame" --benchmark_repetitions=5 \
  --benchmark_out="$results/play_screen_frame.json" --benchmark_out_format=json
run idle_cpu "$here/idle_cpu.sh" "$build" 10
run play_cpu "$here/play_cpu.sh" "$build" 20
run first_frame "$here/first_frame.sh" "$build" 9
run peak_memory "$here/peak_memory.sh" "$build" "$minutes"
run ftp_throughput "$here/ftp_throughput.sh" "$build"

echo
/usr/bin/python3 "$here/table.py" "$results"
status=$?
echo "(each benchmark's own output: $results)"
exit $status

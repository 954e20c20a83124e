#!/usr/bin/python3
"""The one table of `make bench`: every figure beside its budget, and its ratio to a peer.

usage: table.py RESULTS_DIR

Reads what bench/run_all.sh left in RESULTS_DIR: Google Benchmark JSON (NAME.json) and the
scripts' logs (NAME.log), whose lines "bench-result: KEY VALUE [PEER]" carry their figures.
A figure that is missing (its benchmark failed or was skipped) shows as such. Exits 1 when
a figure misses its budget or is missing.
"""
import glob
import json
import os
import statistics
import sys


def gbench(results, program, prefixes):
    """The slowest, over the benchmarks whose names start with one of `prefixes`, of their
    median CPU time in microseconds over the repetitions."""
    try:
        with open(os.path.join(results, program + ".json")) as f:
            runs = json.load(f)["benchmarks"]
    except (OSError, ValueError, KeyError):
        return None
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
    times = {}
    for b in runs:
        name = b.get("run_name", b["name"])
        if b.get("run_type") != "aggregate" and name.startswith(prefixes):
            times.setdefault(name, []).append(b["cpu_time"] * scale[b["time_unit"]])
    return max(statistics.median(t) for t in times.values()) if times else None


def script_results(results):
    found = {}
    for log in glob.glob(os.path.join(results, "*.log")):
        with open(log, errors="replace") as f:
            for line in f:
                if line.startswith("bench-result: "):
                    words = line.split()[1:]
                    found[words[0]] = [float(w) for w in words[1:]]
    return found


def main():
    results = sys.argv[1]
    r = script_results(results)
    # Every fill level of both wells, in play and in battle.
    rules = gbench(results, "rules_frame", ("BM_RulesFrame/", "BM_BattleFrame/"))
    # Steady, and with the score changing every frame.
    screen = gbench(results, "play_screen_frame",
                    ("BM_PlayScreenFrame", "BM_PlayScreenFrameScoreChanging"))

    def one(key):
        return r[key][0] if key in r else None

    def peer(key):
        return tuple(r[key][:2]) if key in r and len(r[key]) == 2 else None

    # figure, value, unit, "max" or "min", budget, peer value (a ratio's budget when named)
    rows = [
        ("rules per frame, two wells, slowest fill (CPU)", rules, "µs", "max", 20, None),
        ("play screen per frame, software renderer (CPU)",
         screen / 1000 if screen is not None else None, "ms", "max", 4, None),
        ("CPU share of one core, idle menu", one("cpu_idle"), "%", "max", 5, None),
        ("CPU share of one core, two-player game", one("cpu_play"), "%", "max", 15, None),
        ("start-up, exec to first menu frame (median)", one("startup_ms"), "ms", "max", 300,
         None),
        ("  the same in the game's CPU time (median)", one("startup_cpu_ms"), "ms", "max", 300,
         None),
        ("peak memory, ten-minute two-player game", one("peak_mb"), "MB", "max", 80, None),
        ("FTP download vs curl (median of 3)", peer("ftp_download"), "MiB/s", "min", 0.9, "curl"),
        ("FTP upload vs curl (median of 3)", peer("ftp_upload"), "MiB/s", "min", 0.9, "curl"),
    ]
    head = f"{'figure':48} {'measured':>12} {'budget':>14} {'peer':>15} {'ratio':>6}  verdict"
    print(head)
    print("-" * len(head))
    failed = False
    for name, value, unit, sense, budget, peer_name in rows:
        if value is None:
            print(f"{name:48} {'missing':>12}")
            failed = True
            continue
        if peer_name:
            ours, theirs = value
            ratio = ours / theirs
            judged, shown = ratio, f"{ours:.0f} {unit}"
            budget_text = f">= {budget} x {peer_name}"
            peer_text, ratio_text = f"{theirs:.0f} {unit}", f"{ratio:.2f}"
        else:
            judged, shown = value, f"{value:.3g} {unit}"
            budget_text = f"{'<=' if sense == 'max' else '>='} {budget} {unit}"
            peer_text = ratio_text = ""
        ok = judged <= budget if sense == "max" else judged >= budget
        failed |= not ok
        print(f"{name:48} {shown:>12} {budget_text:>14} {peer_text:>15} {ratio_text:>6}  "
              f"{'ok' if ok else 'OVER BUDGET'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

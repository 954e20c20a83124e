#!/usr/bin/python3
"""Runs one brikka-sim script in a fresh data folder and checks its dumps.

usage: run_scenario.py SIM SCRIPT EXPECT

EXPECT holds one JSON object per dump line the script prints, in order. Each is matched as a
subset: every key it names must be present with an equal value (objects recursively, lists
element by element and of equal length). A line "*" skips one dump. The script must exit 0
unless EXPECT's first line is {"exit": N}.
"""
import json
import subprocess
import sys
import tempfile


def match(want, got, path="$"):
    if isinstance(want, dict):
        if not isinstance(got, dict):
            return f"{path}: expected an object, got {got!r}"
        for k, v in want.items():
            if k not in got:
                return f"{path}.{k}: missing"
            err = match(v, got[k], f"{path}.{k}")
            if err:
                return err
        return None
    if isinstance(want, list):
        if not isinstance(got, list) or len(want) != len(got):
            return f"{path}: expected {want!r}, got {got!r}"
        for i, (w, g) in enumerate(zip(want, got)):
            err = match(w, g, f"{path}[{i}]")
            if err:
                return err
        return None
    if isinstance(want, float) or isinstance(got, float):
        ok = isinstance(got, (int, float)) and not isinstance(got, bool) and abs(want - got) < 1e-9
    else:
        ok = type(want) is type(got) and want == got
    return None if ok else f"{path}: expected {want!r}, got {got!r}"


def main():
    sim, script, expect = sys.argv[1:4]
    with open(expect) as f:
        wants = [line.strip() for line in f if line.strip() and not line.startswith("//")]
    want_exit = 0
    if wants and wants[0].startswith('{"exit"'):
        want_exit = json.loads(wants.pop(0))["exit"]
    with tempfile.TemporaryDirectory() as data:
        run = subprocess.run([sim, "--data-dir", data, script], capture_output=True, text=True,
                             timeout=300)
    if run.returncode != want_exit:
        print(f"exit status {run.returncode}, expected {want_exit}\n{run.stderr}")
        return 1
    dumps = [line for line in run.stdout.splitlines() if line.startswith("{")]
    if len(dumps) != len(wants):
        print(f"{len(dumps)} dumps, expected {len(wants)}\n{run.stdout}{run.stderr}")
        return 1
    for n, (w, d) in enumerate(zip(wants, dumps), 1):
        if w == "*":
            continue
        err = match(json.loads(w), json.loads(d))
        if err:
            print(f"dump {n}: {err}\n{d}")
            return 1
    print(f"{len(dumps)} dumps match")
    return 0


if __name__ == "__main__":
    sys.exit(main())

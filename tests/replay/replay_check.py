#!/usr/bin/env python3
"""Checks on recorded games and their replays, for real_game_replay_test.sh.

  replay_check.py dumps RECORDING OUT...   each OUT (brikka-sim's output) ends in the state
                                           the recording ends in, compared field by field
  replay_check.py field OUT PATH           prints a field of the last dump of OUT ("right.Lines")
  replay_check.py pass-of-key RECORDING K  the first pass whose pump delivered key code K
  replay_check.py frame XWD PNG            the wells and panels of a screen dump (Xvfb's frame
                                           buffer) equal those of a shot
  replay_check.py plan OUT SIDE            the moves (-n left, n right) that put SIDE's falling
                                           piece where it fills rows best, turned as it is, and
                                           how long to hold the soft drop to land it there
"""
import json
import re
import struct
import sys
import zlib

# The wells and the panels beside them, as left, top, right, bottom.
REGIONS = {"left well": (50, 100, 250, 500), "middle panel": (250, 100, 450, 500),
           "right well": (450, 100, 650, 500), "right panel": (650, 100, 800, 500)}


def flatten(value, path=""):
    if isinstance(value, dict):
        for k, v in value.items():
            yield from flatten(v, f"{path}.{k}" if path else k)
    elif isinstance(value, list):
        for i, v in enumerate(value):
            yield from flatten(v, f"{path}[{i}]")
    else:
        yield path, value


def last_dump(path):
    lines = [l for l in open(path) if l.startswith("{")]
    if not lines:
        sys.exit(f"{path}: no dump")
    return json.loads(lines[-1])


def dumps(recording, outs):
    recorded = [l[5:] for l in open(recording) if l.startswith("dump ")]
    if len(recorded) != 1:
        sys.exit(f"{recording}: {len(recorded)} final dumps")
    want = dict(flatten(json.loads(recorded[0])))
    failed = False
    for out in outs:
        got = dict(flatten(last_dump(out)))
        for key in sorted(set(want) | set(got)):
            if want.get(key, "(missing)") != got.get(key, "(missing)"):
                print(f"{out}: {key}: recorded {want.get(key, '(missing)')!r}, "
                      f"replayed {got.get(key, '(missing)')!r}")
                failed = True
    sys.exit(1 if failed else 0)


def field(out, path):
    print(dict(flatten(last_dump(out)))[path])


def pass_of_key(recording, code):
    for line in open(recording):
        m = re.match(r"p (\d+) .*\be[^ ]*K%s\." % code, line)
        if m:
            print(m.group(1))
            return
    sys.exit(f"{recording}: key {code} was never delivered")


def read_xwd(path):
    data = open(path, "rb").read()
    h = struct.unpack(">25I", data[:100])
    size, width, height, order, bpp, stride, ncolors = h[0], h[4], h[5], h[7], h[11], h[12], h[19]
    if bpp != 32:
        sys.exit(f"{path}: {bpp} bits per pixel, 32 expected")
    pixels = data[size + ncolors * 12:]
    def rgb(x, y):
        p = pixels[y * stride + x * 4: y * stride + x * 4 + 4]
        b, g, r = (p[0], p[1], p[2]) if order == 0 else (p[3], p[2], p[1])
        return r, g, b
    return width, height, rgb


def read_png(path):
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, ctype = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if depth != 8 or ctype not in (2, 6):
        sys.exit(f"{path}: colour type {ctype} at depth {depth}")
    n = 4 if ctype == 6 else 3
    raw, stride = zlib.decompress(idat), width * n
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - n] if i >= n else 0
            b, c = prev[i], prev[i - n] if i >= n else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, lambda x, y: tuple(rows[y][x * n:x * n + 3])


def frame(xwd, png):
    sw, sh, screen = read_xwd(xwd)
    w, h, shot = read_png(png)
    if (sw, sh) != (w, h):
        sys.exit(f"the screen is {sw}x{sh}, the shot {w}x{h}")
    failed = False
    for name, (l, t, r, b) in REGIONS.items():
        bad = [(x, y) for y in range(t, b) for x in range(l, r) if screen(x, y) != shot(x, y)]
        if bad:
            x, y = bad[0]
            print(f"{name}: {len(bad)} pixels differ, first at ({x}, {y}): "
                  f"screen {screen(x, y)}, shot {shot(x, y)}")
            failed = True
    sys.exit(1 if failed else 0)


def plan(out, side):
    """The next step for the piece of `side`: "SHIFT DROP TURNS". TURNS > 0 asks for a turn
    first (the turn's direction and pivot are the game's: the next look plans again from the
    piece as it then is); else SHIFT columns, then a soft drop of DROP seconds."""
    d = last_dump(out)
    g, f = d["geometry"], d[side]
    left = g["RStartX"] if side == "right" else g["LStartX"]
    size, bottom = g["sizex"], g["EndY"]
    col = lambda x: round((x - left - size / 2) / size)
    row = lambda y: round((bottom - y - size / 2) / size)
    filled = {(col(x), row(y)) for x, y, _ in f["Blocks"]}
    piece = [(col(x), row(y)) for x, y in f["Shape"]["blocks"]]
    if not piece:
        print(0, 0.1, 0)
        return
    low, first = min(r for _, r in piece), min(c for c, _ in piece)
    height = lambda c: 1 + max([r for cc, r in filled if cc == c], default=-1)
    best = None
    for turns in range(4):
        cells = [(c, r - low) for c, r in piece]
        for _ in range(turns):
            cells = [(r, -c) for c, r in cells]
        # Where the turned piece would be: its lowest row and leftmost column kept.
        c0, r0 = min(c for c, _ in cells), min(r for _, r in cells)
        cells = [(c - c0 + first, r - r0) for c, r in cells]
        for shift in range(-9, 10):
            moved = [(c + shift, h) for c, h in cells]
            if any(c < 0 or c > 9 for c, _ in moved):
                continue
            base = max(height(c) - h for c, h in moved)
            after = filled | {(c, base + h) for c, h in moved}
            full = sum(all((c, r) in after for c in range(10)) for r in range(22))
            tops = [1 + max([r for cc, r in after if cc == c], default=-1) for c in range(10)]
            holes = sum(1 for c in range(10) for r in range(tops[c]) if (c, r) not in after)
            bumps = sum(abs(tops[c] - tops[c + 1]) for c in range(9))
            # The usual weights of a greedy player: rows made, and a low, flat stack without
            # holes; of equal places, the one fewest turns and moves away.
            score = (0.76 * full - 0.51 * sum(tops) - 0.36 * holes - 0.18 * bumps,
                     -turns, -abs(shift), shift, low - base)
            best = max(best or score, score)
    # A soft drop falls 625 pixels a second; held a little longer it would carry on into the
    # next piece once this one has settled (300 ms later).
    turns, shift, rows = -best[1], best[3], best[4]
    print(shift, round(max(rows, 0) * size / 625 + 0.1, 2), turns)


if __name__ == "__main__":
    cmd, args = sys.argv[1], sys.argv[2:]
    {"dumps": lambda: dumps(args[0], args[1:]), "field": lambda: field(*args),
     "pass-of-key": lambda: pass_of_key(*args), "frame": lambda: frame(*args),
     "plan": lambda: plan(*args)}[cmd]()

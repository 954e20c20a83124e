#!/usr/bin/env bash
# Counts, under callgrind, the calls that open fonts and rasterise strings while the play
# screen benchmark draws its fixed 300 busy frames: they happen while the first frame is made
# and never again, though every frame remakes the hint font twice and writes 20 texts.
#   bench/play_screen_profile.sh [BUILD]
set -euo pipefail
build=${1:-build}
bench="$build/bench/play_screen_frame"
[ -x "$bench" ] || { echo "play_screen_profile: $bench not built" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "play_screen_profile: valgrind missing" >&2; exit 1; }

out=$(mktemp)
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" "$bench" \
  --benchmark_filter='BM_PlayScreenFrame/profile' >/dev/null 2>&1

/usr/bin/python3 - "$out" <<'PY'
import collections, re, sys
names, calls, callee = {}, collections.Counter(), None
for line in open(sys.argv[1]):
    m = re.match(r"(c?fn)=\((\d+)\)(?: (.*))?", line)
    if m:
        if m.group(3):
            names[m.group(2)] = m.group(3)
        callee = names.get(m.group(2)) if m.group(1) == "cfn" else None
    elif line.startswith("calls=") and callee:
        calls[callee] += int(line[6:].split()[0])
        callee = None
def count(pattern):
    return sum(c for n, c in calls.items() if re.fullmatch(pattern, n))
rows = [
    ("frames drawn (frmMain::Render)", r"brikka::frmMain::Render\(\)"),
    ("texts written (cText::Render)", r"brikka::cText::Render\(.*"),
    ("fonts asked for (Device::CreateFont)", r"platform::SdlDevice::CreateFont\(.*"),
    ("font files matched (FcFontMatch)", r"FcFontMatch"),
    ("font files opened (TTF_OpenFontDPI)", r"TTF_OpenFontDPI"),
    ("strings rasterised (TTF_RenderUTF8_Blended)", r"TTF_RenderUTF8_Blended"),
]
for label, pattern in rows:
    print(f"{count(pattern):8d}  {label}")
PY

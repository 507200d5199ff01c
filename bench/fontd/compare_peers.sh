#!/bin/sh
# The font core of pointillo-fontd side by side with the peers that do the same job from the
# same 223 glyph BMPs (the peer baseline in /work/shared/peer-bench, or $PEER_BENCH).
#
#   bench/fontd/compare_peers.sh [--build DIR] [--work DIR] [--runs N] [--jp] [--with-fontforge]
#                                [--before DIR]
#
# Generates the BMPs with the peers' gen_bmps.py and a character table of the same dots, runs
# bench_fontcore in process, checks our fonts with the peers' verify_font.py (grid480 mapping,
# descent 160), then times whole processes with hyperfine: our Western job and
# `pointillo-fontd --build` of the table against fontTools' exact polygons and rectangles and,
# with --jp,
# our 7000-glyph Japanese job against fontTools' --jp 7000 (which traces in Python: about
# 1.5 minutes a run).  The FontForge peers run only with --with-fontforge; otherwise their
# ratios use the figures recorded in the peers' README, marked [README].  --before names the
# build folder of an earlier version, whose `pointillo-fontd --build` of the same table runs in
# the same measurement (the figures before and after a change, in one run).
# Builds a Release tree with the benchmarks (build/bench) when --build names none.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$ROOT/build/bench
W=${TMPDIR:-/tmp}/pointillo-peers
RUNS=5
WITH_FF=no
JP=no
BEFORE=
while [ $# -gt 0 ]; do
    case "$1" in
        --build) BUILD=$2; shift 2 ;;
        --work) W=$2; shift 2 ;;
        --runs) RUNS=$2; shift 2 ;;
        --jp) JP=yes; shift ;;
        --with-fontforge) WITH_FF=yes; shift ;;
        --before) BEFORE=$(cd "$2" && pwd); shift 2 ;;
        *) echo "usage: $0 [--build DIR] [--work DIR] [--runs N] [--jp] [--with-fontforge] [--before DIR]" >&2
           exit 2 ;;
    esac
done
PEERS=${PEER_BENCH:-/work/shared/peer-bench}
PY=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1

if [ ! -x "$BUILD/bin/bench_fontcore" ] || [ ! -x "$BUILD/bin/pointillo-fontd" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$BUILD" --target bench_fontcore pointillo-fontd -j"$(nproc)" >/dev/null
fi
BENCH=$(cd "$BUILD" && pwd)/bin/bench_fontcore
FONTD=$(cd "$BUILD" && pwd)/bin/pointillo-fontd
mkdir -p "$W"
cd "$W"

$PY "$PEERS/gen_bmps.py" bmps
echo "BMPs: $(ls bmps/*.bmp | wc -l) files in $W/bmps"
# The same dots as a character table: each code's dots in the top-left of its 32 x 32 cell,
# black on white, one bit per pixel.
$PY - bmps/dots.txt table.bmp <<'PYEOF'
import struct, sys
rows = [bytearray(b"\xff" * 64) for _ in range(512)]  # palette entry 1, white
for line in open(sys.argv[1]):
    if line.startswith("#"):
        continue
    code, *dots = line.split()
    cx, cy = int(code) % 16 * 32, int(code) // 16 * 32
    for y, row in enumerate(dots):
        for x, bit in enumerate(row):
            if bit == "1":
                rows[cy + y][(cx + x) // 8] &= ~(0x80 >> ((cx + x) % 8)) & 0xFF
pixels = b"".join(bytes(rows[y]) for y in range(511, -1, -1))
with open(sys.argv[2], "wb") as f:
    f.write(struct.pack("<2sIHHI", b"BM", 62 + len(pixels), 0, 0, 62))
    f.write(struct.pack("<IiiHHIIiiII", 40, 512, 512, 1, 1, 0, len(pixels), 0, 0, 2, 0))
    f.write(bytes([0, 0, 0, 0, 255, 255, 255, 0]) + pixels)
PYEOF
BUILDCMD="$FONTD --build table.bmp --dots 12x20 --square -o pointillo_build.ttf"
echo
echo "== pointillo font core, in process"
"$BENCH" --bmps bmps --runs "$RUNS" --out pointillo.ttf
echo
echo "== our font, checked by the peers' verifier"
$PY "$PEERS/verify_font.py" pointillo.ttf --dots bmps/dots.txt --map grid480 --descent 160 \
    | tail -4 || true
echo
echo "== pointillo-fontd --build of the table, checked by the peers' verifier (structure only:"
echo "   a font of square dots puts its glyph box, not the 480-pixel square, at x = 0)"
$BUILDCMD
$PY "$PEERS/verify_font.py" pointillo_build.ttf | tail -4 || true
echo
echo "== whole processes, 223 glyphs: median of 30 (ours) and of $RUNS (peers) (hyperfine)"
# Ours take milliseconds: more runs for a steady median, in the same run as the peers.
set --
if [ -n "$BEFORE" ]; then
    set -- -n "pointillo-fontd --build, before (table to .ttf)" \
        "$BEFORE/bin/pointillo-fontd --build table.bmp --dots 12x20 --square -o pointillo_before.ttf"
fi
hyperfine -N --warmup 3 --runs 30 --export-json western_ours.json \
    -n "pointillo-fontd --build (table to .ttf)" "$BUILDCMD" "$@" \
    -n "pointillo Western job (223 BMP files)" "$BENCH --job bmps pointillo_job.ttf" \
    -n "pointillo-fontd starting alone (--help)" "$FONTD --help" >/dev/null
set -- -n "fontTools exact polygons" "$PY $PEERS/peer_fonttools.py bmps ft_merged.ttf --mode merged" \
    -n "fontTools rectangles" "$PY $PEERS/peer_fonttools.py bmps ft_rects.ttf --mode rects"
if [ "$WITH_FF" = yes ]; then
    set -- "$@" \
        -n "FontForge importOutlines+autoTrace" \
        "$PY $PEERS/peer_fontforge.py bmps ff_trace.ttf --mode trace" \
        -n "FontForge exact polygons (pen)" \
        "$PY $PEERS/peer_fontforge.py bmps ff_merged.ttf --mode merged" \
        -n "FontForge rects+removeOverlap" \
        "$PY $PEERS/peer_fontforge.py bmps ff_boxes.ttf --mode boxes"
fi
hyperfine -N --warmup 1 --runs "$RUNS" --export-json western.json "$@" >/dev/null
set -- -n "pointillo Japanese job (traces, then saves)" "$BENCH --jp-job pointillo_jp.ttf"
if [ "$JP" = yes ]; then
    echo "== whole processes, 7000 Japanese glyphs: median of 3 (hyperfine)"
    set -- "$@" -n "fontTools JP 7000" "$PY $PEERS/peer_fonttools.py --jp 7000 ft_jp.ttf"
    if [ "$WITH_FF" = yes ]; then
        set -- "$@" -n "FontForge JP 7000" \
            "$PY $PEERS/peer_fontforge.py --jp 7000 ff_jp.ttf --mode merged"
    fi
    hyperfine -N --warmup 1 --runs 3 --export-json japanese.json "$@" >/dev/null
else
    hyperfine -N --warmup 1 --runs "$RUNS" --export-json japanese.json "$@" >/dev/null
fi
echo

$PY - western.json japanese.json "$WITH_FF" <<'PYEOF'
import json, sys
# Figures recorded in the peers' README (same machine class), for the peers not run here.
# Their Japanese figures are build + save in memory, without tracing.
readme = {"western.json": {"FontForge importOutlines+autoTrace": 2.53,
                           "FontForge exact polygons (pen)": 1.78,
                           "FontForge rects+removeOverlap": 1.01},
          "japanese.json": {"fontTools JP 7000 (build 1.97 + save 2.25)": 4.22,
                            "FontForge JP 7000 (generate)": 0.446}}
for path in sys.argv[1:3]:
    results = json.load(open(path))["results"]
    if path == "western.json":
        results = json.load(open("western_ours.json"))["results"] + results
    medians = {r["command"]: r["median"] for r in results}
    # CPU time, which other work on the machine stretches less than the wall-clock time.
    cpu = {r["command"]: r["user"] + r["system"] for r in results}
    measured = set(medians)
    for name, value in readme.get(path, {}).items():
        if not any(k in (name, name.split(" (")[0]) for k in medians):
            medians[name + " [README]"] = value
    # Ratios against the headless build where it ran, else against our first figure.
    ours = next((k for k in medians if k.startswith("pointillo-fontd --build")),
                next(k for k in medians if k.startswith("pointillo")))
    print(path.replace(".json", "") + " (ratios against: %s)" % ours)
    for name, value in medians.items():
        ratio = "" if name == ours else "  %6.2f x" % (value / medians[ours])
        used = "  (CPU %.4f s)" % cpu[name] if name in cpu else ""
        print("  %-46s %8.4f s%s%s" % (name, value, ratio, used))
    peers = {k: v for k, v in medians.items() if k in measured and not k.startswith("pointillo")}
    if peers:
        fastest = min(peers, key=peers.get)
        print("  fastest peer run here: %s, %.1f x the time of %s"
              % (fastest, peers[fastest] / medians[ours], ours))
PYEOF

#!/bin/sh
# The batch run beside the peers that build a font from the same 223 glyphs (the peer baseline
# in /work/shared/peer-bench, or $PEER_BENCH), in one run:
#
#   bench/app/batch_vs_peers.sh [--build DIR] [--work DIR] [--runs N]
#
# The peers' gen_bmps.py writes the glyphs and their dots; bench_batch puts the same dots into
# the character table and runs A.Scan over 32..255 against the real server on a private bus,
# then saves (12 x 20 dots, 24-pixel pitch, 100 %: the very BMPs the peers read); the peers'
# verify_font.py checks our font.  The peers run as whole processes under hyperfine: fontTools'
# exact polygons, and FontForge's exact polygons and autotrace where python3-fontforge (and
# potrace) are installed, otherwise their figures from the peers' README, marked [README].
# Ratios are the peers' times over our batch plus save.  Builds build/bench when --build names
# no tree with bench_batch.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$ROOT/build/bench
W=${TMPDIR:-/tmp}/pointillo-batch-peers
RUNS=5
while [ $# -gt 0 ]; do
    case "$1" in
        --build) BUILD=$2; shift 2 ;;
        --work) W=$2; shift 2 ;;
        --runs) RUNS=$2; shift 2 ;;
        *) echo "usage: $0 [--build DIR] [--work DIR] [--runs N]" >&2; exit 2 ;;
    esac
done
PEERS=${PEER_BENCH:-/work/shared/peer-bench}
PY=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1

if [ ! -x "$BUILD/bin/bench_batch" ] || [ ! -x "$BUILD/bin/pointillo-fontd" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$BUILD" --target bench_batch pointillo-fontd -j"$(nproc)" >/dev/null
fi
BUILD=$(cd "$BUILD" && pwd)
mkdir -p "$W"
cd "$W"

$PY "$PEERS/gen_bmps.py" bmps >/dev/null
echo "== pointillo: A.Scan over 32..255 and the save, against pointillo-fontd on a private bus"
XDG_DATA_DIRS="$BUILD/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
    dbus-run-session -- "$BUILD/bin/bench_batch" --dots bmps/dots.txt --runs $((RUNS * 4 + 1)) \
    --out pointillo_batch.ttf 2>/dev/null | tee batch.txt
echo
echo "== our font, checked by the peers' verifier (structure only: the batch tells the server the"
echo "   dot grid, so the glyphs sit on whole dots of 48 units, not on the 480-pixel square)"
$PY "$PEERS/verify_font.py" pointillo_batch.ttf | tail -3 || true
# The dots themselves, on that grid: each glyph's outline sampled at the dot centres.
$PY - pointillo_batch.ttf bmps/dots.txt <<'PYEOF'
import sys
from fontTools.pens.pointInsidePen import PointInsidePen
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1])
glyphs, cmap, top = font.getGlyphSet(), font["cmap"].getcmap(3, 1).cmap, font["hhea"].ascent
wrong, unmapped = 0, 0
for line in open(sys.argv[2]):
    if line.startswith("#"):
        continue
    code, *rows = line.split()
    name = cmap.get(ord(bytes([int(code)]).decode("cp1252", "replace")))
    if name is None:  # the five codes that code page 1252 leaves undefined
        unmapped += 1
        continue
    pitch = font["hmtx"][name][0] / len(rows[0])
    for y, row in enumerate(rows):
        for x, bit in enumerate(row):
            pen = PointInsidePen(glyphs, ((x + 0.5) * pitch, top - (y + 0.5) * pitch))
            glyphs[name].draw(pen)
            wrong += pen.getResult() != (bit == "1")
print(("OK  " if wrong == 0 else "FAIL") + f"  dots on the whole-dot grid: {wrong} wrong"
      f" ({unmapped} codes without a Unicode character not checked)")
PYEOF
echo
echo "== the peers, whole processes from the same BMPs: median of $RUNS (hyperfine)"
set -- -n "fontTools exact polygons" "$PY $PEERS/peer_fonttools.py bmps ft_merged.ttf --mode merged"
if $PY -c 'import fontforge' 2>/dev/null; then
    set -- "$@" -n "FontForge exact polygons (pen)" \
        "$PY $PEERS/peer_fontforge.py bmps ff_merged.ttf --mode merged"
    # Without potrace FontForge's autotrace draws nothing, and quickly.
    if command -v potrace >/dev/null; then
        set -- "$@" -n "FontForge importOutlines+autoTrace" \
            "$PY $PEERS/peer_fontforge.py bmps ff_trace.ttf --mode trace"
    fi
fi
hyperfine -N --warmup 1 --runs "$RUNS" --export-json peers.json "$@" >/dev/null
echo

ours=$(sed -n 's/^batch+save median \([0-9.]*\) s$/\1/p' batch.txt)
$PY - peers.json "$ours" <<'PYEOF'
import json, sys
medians = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
# FontForge's figures from the peers' README where it is not installed here.
for name, value in {"FontForge exact polygons (pen)": 1.78,
                    "FontForge importOutlines+autoTrace": 2.53}.items():
    if name not in medians:
        medians[name + " [README]"] = value
ours = float(sys.argv[2])
print("  %-46s %8.3f s" % ("pointillo batch 32..255 + save", ours))
for name, value in medians.items():
    print("  %-46s %8.3f s  %6.1f x ours" % (name, value, value / ours))
PYEOF

#!/bin/sh
# pointillo-fontd --build of a whole Japanese bitmap font beside the programs that turn the same
# BDF font into an sfnt font, in the same run, as whole processes (hyperfine): the 6879 glyphs of
# the 16-dot JIS X 0208 font of Debian's xfonts-intl-japanese (j90-16.pcf.gz), written as BDF by
# bench_fontreader.  Ours traces every glyph into exact outlines and adds the bitmap strike;
# FontForge (opening the BDF, generating a TrueType font) and fonttosfnt (xfonts-utils) write
# bitmaps only.  Prints the median, the fastest run and the CPU time of each, and each one's
# time over ours.
#
#   bench/fontd/build_vs_peers.sh [--build DIR] [--work DIR] [--runs N] [--font FONT]
#
# FontForge runs when it is installed (Debian: fontforge-nox).  Builds a Release tree with the
# benchmarks (build/bench) when --build names none.  Other work on the machine stretches the
# wall-clock times: compare figures of one run, and the CPU times.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$ROOT/build/bench
W=${TMPDIR:-/tmp}/pointillo-build-peers
RUNS=10
FONT=/usr/share/fonts/X11/misc/j90-16.pcf.gz
while [ $# -gt 0 ]; do
    case "$1" in
        --build) BUILD=$2; shift 2 ;;
        --work) W=$2; shift 2 ;;
        --runs) RUNS=$2; shift 2 ;;
        --font) FONT=$2; shift 2 ;;
        *) echo "usage: $0 [--build DIR] [--work DIR] [--runs N] [--font FONT]" >&2; exit 2 ;;
    esac
done
PY=/usr/bin/python3

if [ ! -x "$BUILD/bin/bench_fontreader" ] || [ ! -x "$BUILD/bin/pointillo-fontd" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DPOINTILLO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$BUILD" --target bench_fontreader pointillo-fontd -j2 >/dev/null
fi
FONTD=$(cd "$BUILD" && pwd)/bin/pointillo-fontd
mkdir -p "$W"
cd "$W"

"$BUILD/bin/bench_fontreader" --font "$FONT" --write-bdf jis.bdf
echo
echo "== our fonts"
"$FONTD" --build jis.bdf -o ours.ttf
"$FONTD" --build "$FONT" -o ours_pcf.ttf
cmp -s ours.ttf ours_pcf.ttf || echo "(the BDF and the PCF build differ only by their dates and names)"

set -- -n "pointillo-fontd --build (BDF)" "$FONTD --build jis.bdf -o ours.ttf" \
    -n "pointillo-fontd --build (PCF, gzipped)" "$FONTD --build $FONT -o ours_pcf.ttf" \
    -n "pointillo-fontd starting alone (--help)" "$FONTD --help"
if command -v fonttosfnt >/dev/null; then
    set -- "$@" -n "fonttosfnt (BDF, bitmaps only)" "fonttosfnt -o fonttosfnt.otb jis.bdf"
else
    echo "fonttosfnt is not installed (Debian: xfonts-utils): left out"
fi
if command -v fontforge >/dev/null; then
    set -- "$@" -n "FontForge: open BDF, generate (bitmaps only)" \
        "fontforge -quiet -lang=ff -c 'Open(\$1); Generate(\$2, \"ttf\")' jis.bdf fontforge.ttf"
else
    echo "FontForge is not installed (Debian: fontforge-nox): left out"
fi
echo
echo "== whole processes, 6879 glyphs: $RUNS runs each (hyperfine)"
hyperfine -N --warmup 2 --runs "$RUNS" --export-json build_vs_peers.json "$@" >/dev/null
ls -l ours.ttf fonttosfnt.otb fontforge.ttf 2>/dev/null | awk '{print "  " $5 " bytes  " $9}'
echo
$PY - build_vs_peers.json <<'PYEOF'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
ours = results[0]["command"]
base = results[0]
print("%-46s %10s %10s %10s   %s" % ("", "median", "fastest", "CPU", "over ours (median, fastest)"))
for r in results:
    cpu = r["user"] + r["system"]
    ratio = "" if r["command"] == ours else "%6.2f x  %6.2f x" % (
        r["median"] / base["median"], r["min"] / base["min"])
    print("%-46s %7.1f ms %7.1f ms %7.1f ms   %s"
          % (r["command"], 1000 * r["median"], 1000 * r["min"], 1000 * cpu, ratio))
PYEOF

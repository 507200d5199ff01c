#!/bin/sh
# The whole job as a user does it, with the installed programs.  Pointillo, installed into a
# temporary prefix, runs on Xvfb with the xcb platform, on a private session bus that knows
# only the installed service file, so that the bus itself starts the installed
# pointillo-fontd.  Real keys answer the start-up questions (make a font: Yes; Western: Yes);
# real mouse events paint a glyph at 0x21 and, after Ctrl+N, another at 0x22; Ctrl+T exports
# each.  The font, saved over the bus, is read back by FreeType dot for dot and passes
# ots-sanitize; File > exit ends Pointillo.
#   installed_session.sh <build-dir>              installed into a temporary prefix
#   installed_session.sh --installed <prefix>     as a package installed them (run it as a
#                                                 user who cannot write there)
set -eu
. "$(dirname "$0")/xvfb_lib.sh"

if [ -z "${POINTILLO_XVFB:-}" ]; then
    require_x_tools
    work=$(mktemp -d)
    if [ "${1:-}" = --installed ]; then
        prefix="${2:?usage: installed_session.sh --installed <prefix>}"
    else
        prefix="$work/prefix"
        cmake --install "${1:?usage: installed_session.sh <build-dir>}" --prefix "$prefix" \
            >"$work/install.log" 2>&1 ||
            { cat "$work/install.log" >&2; rm -rf "$work"; fail "cmake --install"; }
        chmod a-w "$prefix/bin"
    fi
    # The bus reads its service files from here: the installed one, and no build tree's.
    export XDG_DATA_DIRS="$prefix/share:/usr/share"
    # The bus passes this on: the server it starts has no window to cover the editor with.
    export QT_QPA_PLATFORM=offscreen
    run_under_xvfb "$prefix" "$work"
fi

prefix="$1"
work="$2"
bin="$prefix/bin"
font_dots="${POINTILLO_BIN_DIR:?POINTILLO_BIN_DIR is not set}/font_dots"
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail_logs="$work/log"
mkdir -p "$work/cwd" "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
# A first start: no settings kept from an earlier run of this test.
export HOME="$work/home"

# Users cannot write an installed program's folder: the glyph file goes to their runtime
# folder.  Root writes anyway, and the file stays beside the program: not in a package's.
dots="$XDG_RUNTIME_DIR/pointillo/ptl_dots.bmp"
if [ -w "$bin" ]; then
    [ "$prefix" = "$work/prefix" ] || fail "run this as a user who cannot write $bin"
    dots="$bin/ptl_dots.bmp"
fi

# Started from another folder, as a menu does: nothing may land in the current one.
(cd "$work/cwd" && QT_QPA_PLATFORM=xcb exec "$bin/pointillo") >"$work/log" 2>&1 &
pid=$!

# No font is open: Yes makes one, and Yes again makes it Western.
answer_box y
answer_box y
font_open() { document=$(call_app ActiveDocument | object_path) && [ "${document:-/}" != / ]; }
within 150 font_open || fail "no font after the start-up questions"
server=$(busctl --user call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
    GetConnectionUnixProcessID s TTEdit.Application | sed -n 's/^u //p')
[ "$(readlink "/proc/$server/exe")" = "$prefix/libexec/pointillo/pointillo-fontd" ] ||
    fail "the font server is $(readlink "/proc/$server/exe"), not the installed one"
# The bus tells a program it started so in its environment.
tr '\0' '\n' <"/proc/$server/environ" | grep -qx 'DBUS_STARTER_BUS_TYPE=session' ||
    fail "pointillo-fontd was not started by the bus"

wid=$(wait_window main)
eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 584 - 20)) # the client area lies between the menu bar and the status bar
# Window position of the centre of dot column $1, dot row $1: 12 x 20 square dots of 24
# pixels, the first at (96, 0) of the grid canvas, which sits at (8, 80) of the client area.
dot_x() { echo $((8 + 96 + 24 * $1 + 12)); }
dot_y() { echo $((menu + 80 + 24 * $1 + 12)); }
expect_glyphs() { within 150 glyphs_are "$1" || fail "glyphs $(call_doc "$document" GlyphCodes)"; }

# 0x21: a left-button drag along row 2 from dot 1 to dot 6.
xdotool mousemove --window "$wid" "$(dot_x 1)" "$(dot_y 2)"
sleep 0.2
xdotool mousedown 1
for x in 2 3 4 5 6; do
    xdotool mousemove --window "$wid" "$(dot_x $x)" "$(dot_y 2)"
    sleep 0.05
done
xdotool mouseup 1
expect_pixel "$(dot_x 6)" "$(dot_y 2)" "0,0,0" "the drag's last dot"
keys ctrl+t
expect_glyphs "ai 1 33"

# 0x22: a click on dot (0, 0) and a Ctrl+click, the 3 x 3 brush, on dot (5, 10).
keys ctrl+n
click "$(dot_x 0)" "$(dot_y 0)" 1
xdotool mousemove --window "$wid" "$(dot_x 5)" "$(dot_y 10)"
sleep 0.2
xdotool keydown ctrl click 1 keyup ctrl
expect_pixel "$(dot_x 4)" "$(dot_y 9)" "0,0,0" "the brush's corner dot"
keys ctrl+t
expect_glyphs "ai 2 33 34"
# What both programs have loaded by now (libraries, plugins, fonts), for the package check.
[ -z "${POINTILLO_MAPS:-}" ] || cat "/proc/$pid/maps" "/proc/$server/maps" >"$POINTILLO_MAPS"
[ -s "$dots" ] || fail "no glyph file at $dots"
[ ! -e "$work/cwd/ptl_dots.bmp" ] || fail "the glyph file went to the current folder"

# The font as the user keeps it, read by tools nobody here wrote.
ttf="$work/job.ttf"
call_doc "$document" SaveAs s "$ttf" >/dev/null || fail "SaveAs"
/usr/bin/python3 -c 'import sys; from fontTools.ttLib import TTFont
sys.exit(TTFont(sys.argv[1])["cmap"].getcmap(3, 2) is not None)' "$ttf" || fail "not a Western font"
# The rows font_dots prints for a 12 x 20 glyph whose set dots are the "x,y" arguments.
rows() {
    awk -v set="$*" 'BEGIN { n = split(set, d, " "); for (k = 1; k <= n; k++) on[d[k]] = 1
        for (y = 0; y < 20; y++) { r = ""; for (x = 0; x < 12; x++) r = r (((x "," y) in on) ? "#" : ".")
        print r } }'
}
check_glyph() {
    code=$1
    shift
    # Square dots sit on whole dots: canvas point (96, 408), the box's left edge on its
    # baseline, is the font's origin, which font_dots takes for (0, 400); dot (0, 0)'s centre
    # (108, 12) is then (12, 4).
    "$font_dots" "$ttf" "$code" 12 4 24 24 12 20 >"$work/seen" || fail "FreeType cannot read $code"
    rows "$@" >"$work/want"
    diff "$work/want" "$work/seen" >&2 || fail "glyph $code differs from the dots painted"
}
check_glyph 0x21 1,2 2,2 3,2 4,2 5,2 6,2
check_glyph 0x22 0,0 4,9 5,9 6,9 4,10 5,10 6,10 4,11 5,11 6,11
ots-sanitize "$ttf" >"$work/ots" 2>&1 || { cat "$work/ots" >&2; fail "ots-sanitize refuses the font"; }

# File > exit: the menu by its mnemonic, exit is its last item.
keys alt+f
sleep 0.3
xdotool key Up Return
wait_pointillo_gone 0
# AutoSave kept the table in the user's own folder, not in the one the program started in.
[ -s "${XDG_DATA_HOME:-$HOME/.local/share}/pointillo/ptl_buf.bmp" ] || fail "no table in the data folder"
[ ! -e "$work/cwd/ptl_buf.bmp" ] || fail "the table file went to the current folder"
echo "PASS: installed, activated, two glyphs painted, exported, saved and checked"

#!/bin/sh
# The real program on a real X server: Xvfb with Qt's xcb platform, on a private session bus
# where pointillo-fontd runs with a font open.  The main window "Pointillo" must appear at its
# full size with its icon, show the dot grid, take a real mouse click on the grid, send the
# glyph to the font server with the TTEdit button, take real undo and redo keys, take typed
# codes after a click on a slider's groove, stay the one copy when started again, and end when
# told to.
#   xvfb_smoke.sh <bin-dir>
set -eu
. "$(dirname "$0")/xvfb_lib.sh"
run_under_xvfb "$@"

bin="${1:-${POINTILLO_BIN_DIR:-}}"
[ -x "$bin/pointillo" ] || fail "no pointillo in '$bin'"
work="$(mktemp -d)"
pid=""
server=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail_logs="$work/fontd.log $work/log"

# The font server without a window of its own, so that nothing covers the editor, with a
# Western font open: the editor attaches to it and asks nothing.
"$bin/pointillo-fontd" --headless >"$work/fontd.log" 2>&1 &
server=$!
wait_for_name 100 || fail "no font server"
document="$(new_file 1)"
[ -n "$document" ] || fail "NewFile gave no document"

# The editor writes its glyph file beside itself: a copy in the work folder keeps the build's
# bin folder clean.
cp "$bin/pointillo" "$work/pointillo"
QT_QPA_PLATFORM=xcb "$work/pointillo" >"$work/log" 2>&1 &
pid=$!

wid=$(wait_window main)
echo "window $wid: $(xdotool getwindowname "$wid")"

xprop -id "$wid" _NET_WM_ICON | grep -q 'Icon (' || fail "the window has no icon"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "size ${WIDTH}x${HEIGHT}"
menu=$((HEIGHT - 584 - 20)) # the client area lies between the menu bar and the status bar
[ "$menu" -gt 0 ] && [ "$menu" -lt 80 ] || fail "window height $HEIGHT leaves no menu bar"

# The grid canvas sits at (8, 80) of the client area.  With 12 x 20 square dots the first
# grid line is canvas column 95, and dot (0, 0) starts at column 96.
expect_pixel $((8 + 95)) $((menu + 80 + 10)) "200,200,200" "grid line pixel"
dotx=$((8 + 96 + 12))
doty=$((menu + 80 + 12))
expect_pixel $dotx $doty "255,255,255" "empty dot pixel"

# A real left click on dot (0, 0) sets it.
click $dotx $doty 1
expect_pixel $dotx $doty "0,0,0" "dot after a click"

# The TTEdit button sends the glyph of code 33 to the font; the grid comes back after it.
click $((136 + 36)) $((menu + 56 + 8)) 1
within 150 glyphs_are "ai 1 33" || fail "glyph codes $(call_doc "$document" GlyphCodes 2>&1)"
[ -s "$work/ptl_dots.bmp" ] || fail "no ptl_dots.bmp beside the program"
expect_pixel $((8 + 95)) $((menu + 80 + 10)) "200,200,200" "grid line pixel after the export"

# Right button clears the dot again.
click $dotx $doty 3
expect_pixel $dotx $doty "255,255,255" "dot after a right click"

# Real undo and redo keys.  Ctrl+Z takes the right click back.  In the code box Ctrl+Y is the
# box's own, even where the desktop's redo key for text is another; on the canvas, off the
# grid, it makes the right click again.
keys ctrl+z
expect_pixel $dotx $doty "0,0,0" "dot after Ctrl+Z"
click $((32 + 20)) $((menu + 56 + 9)) 1
keys ctrl+y
sleep 0.5
expect_pixel $dotx $doty "0,0,0" "dot after Ctrl+Y in the code box"
click $((8 + 20)) $((menu + 80 + 200)) 1
keys ctrl+y
expect_pixel $dotx $doty "255,255,255" "dot after Ctrl+Y on the canvas"

# One click on the groove of the X slider, right of its handle, then typing into the code box
# as a new user does: the code follows the keys (21, then 2, then 25), and so does the export.
click $((24 + 240)) $((menu + 8)) 1
click $((32 + 20)) $((menu + 56 + 9)) 1
keys --delay 300 End BackSpace 5
click $((136 + 36)) $((menu + 56 + 8)) 1
within 150 glyphs_are "ai 2 33 37" ||
    fail "typing after a click on the groove: glyph codes $(call_doc "$document" GlyphCodes 2>&1)"

# Started again, the program ends at once and leaves this copy, its one window, running.
"$work/pointillo" >"$work/second.log" 2>&1 &
second=$!
wait_gone "$second" 100 || fail "the second copy did not end"
status=0
wait "$second" || status=$?
[ "$status" = 0 ] || fail "the second copy ended with status $status"
no_sanitizer_report "$work/second.log"
alive "$pid" || fail "the first copy ended"
[ "$(xdotool search --onlyvisible --name '^Pointillo$' | wc -l)" = 1 ] || fail "a second window"

kill "$pid"
wait_pointillo_gone
echo "the window came up, painted, sent a glyph to the font server, undid and redid, stayed one"
echo "copy and ended"
